// Transverse Mercator on zone constants: the quantities derived from the ellipsoid and
// the zone, shared by the forward and inverse series (and by anything else that needs
// the meridian arc of the same formulation).
#ifndef KELVANE_PROJECTIONS_TRANSVERSE_MERCATOR_H
#define KELVANE_PROJECTIONS_TRANSVERSE_MERCATOR_H

#include "kelvane/transverse_mercator.h"

namespace kelvane::tm {

// Everything the series needs that depends on the ellipsoid and the zone alone. Derived
// afresh for every point: nothing is cached between calls.
struct SeriesConstants {
    double ePrimeSq;       // e'^2 = (a^2 - b^2) / b^2, second eccentricity squared
    double eSq;            // e^2, the ellipsoid's ecc squared
    double n;              // (a - b) / (a + b), third flattening
    double r;              // rectifying radius
    double P0, P2, P4, P6; // rectifying-latitude (meridian arc) coefficients
    double H0, H2, H4, H6; // footpoint-latitude coefficients
    double S0;             // k0 * r * omega(phi0): scaled meridian arc to the grid origin
};

// Derives the constants from a, b, e of ell and k0, phi0 of zone. The caller has made
// sure a and b are non-zero if it needs finite values.
SeriesConstants seriesConstants(const ellipsoid& ell, const zoneCnstnt& zone);

// omega(phi): the rectifying latitude of phi, radians.
double rectifyingLatitude(double phi, const SeriesConstants& c);

// phi_f(omega): the footpoint latitude of the rectifying latitude omega, radians.
double footpointLatitude(double omega, const SeriesConstants& c);

} // namespace kelvane::tm

#endif
