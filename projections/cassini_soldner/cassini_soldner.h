// Cassini-Soldner: the module-wide parameter set and the projection on it without the
// false origin, shared by the forward, the inverse and the grid limits.
#ifndef KELVANE_PROJECTIONS_CASSINI_SOLDNER_CASSINI_SOLDNER_H
#define KELVANE_PROJECTIONS_CASSINI_SOLDNER_CASSINI_SOLDNER_H

namespace kelvane {

struct CassiniParameters {
    double given[6];        // the set-up's arguments as given, to recognise a repeated set-up
    double a, f;
    double phi0, lambda0;   // origin; lambda0 folded into -pi..pi
    double FE, FN;
    double e2, e4, e6, oneMinusE2;
    double c0, c1, c2, c3;  // meridian-arc coefficients
    double M0;              // meridian arc of the origin
    double j1, j2, j3, j4;  // footpoint-latitude coefficients
    double minEasting, maxEasting, minNorthing, maxNorthing; // without the false origin
};

// The parameter set of the last successful set-up (all zero before the first one).
const CassiniParameters& cassiniParameters();

// Easting and northing from the origin (no false origin) of latitude phi at dlambda from
// the central meridian.
void cassiniProject(const CassiniParameters& p, double phi, double dlambda, double& x, double& y);

} // namespace kelvane

#endif
