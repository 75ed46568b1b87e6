// Lambert conformal conic with two standard parallels: the zone constants shared by the
// forward and inverse projections and by the Lambert arc-to-chord correction.
#ifndef KELVANE_PROJECTIONS_LAMBERT_LAMBERT_H
#define KELVANE_PROJECTIONS_LAMBERT_LAMBERT_H

#include <cmath>

#include "core/ellipsoid_terms.h"
#include "kelvane/core.h"

namespace kelvane {

struct LambertConstants {
    double e;  // first eccentricity
    double e2; // e squared
    double n;  // cone constant, the sine of the central parallel phi0
    double K;  // mapping constant
    double Rb; // mapping radius of the grid origin
};

// Derives the constants of a Lambert zone. Returns false, leaving c untouched, when the
// two standard parallels have the same isometric latitude (a tangent cone, which this
// two-parallel form cannot handle).
//
// A grid origin at the pole has an infinite isometric latitude; it is replaced by 1e99
// when sin(phib) is within 1e-15 of 1, so Rb comes out exactly 0 and northings are
// measured from the pole. Both directions share the substitution so that they agree
// even where sin(phib) rounds just below 1.
inline bool lambertConstants(const ellipsoid& ell, const zoneCnstnt& zone, LambertConstants& c)
{
    const double e = ell.ecc;
    const double e2 = eSqOfEcc(e);
    const double phiS = zone.southParallel;
    const double phiN = zone.northParallel;
    const double qS = isometricLatitude(phiS, e);
    const double qN = isometricLatitude(phiN, e);
    if (qN == qS) return false;

    const double wS = W(e2, phiS);
    const double wN = W(e2, phiN);
    // n = sin(phi0), phi0 being the asin of this quotient: the quotient is taken as it
    // stands, which differs from sin(asin(x)) by an ulp at most.
    const double n = std::log((wN * std::cos(phiS)) / (wS * std::cos(phiN))) / (qN - qS);
    const double K = ell.semiMajor * std::cos(phiS) * std::exp(n * qS) / (wS * n);
    const double sinPhib = std::sin(zone.originLat);
    const double qb = std::fabs(sinPhib - 1.0) < 1e-15 ? 1e99 : isometricLatitudeOfSine(sinPhib, e);

    c.e = e;
    c.e2 = e2;
    c.n = n;
    c.K = K;
    c.Rb = K / std::exp(n * qb);
    return true;
}

// The constants of a zone from this thread's memo of the last few zones, keyed by the
// exact bits of everything they depend on (e, a, the two parallels and the origin
// latitude): bit for bit what lambertConstants gives, or nullptr where it refuses.
const LambertConstants* cachedLambertConstants(const ellipsoid& ell, const zoneCnstnt& zone);

// The projection on constants derived once (lambertConstants): forward from pt.lat and
// pt.lon (positive west) into northing, easting, gridScale and convergence, and inverse
// from northing and easting into lat, lon, gridScale and convergence. a is the ellipsoid's
// semi-major axis; the zone supplies its false origin and central meridian (originLon).
// The forms on four points compute them side by side, each bit for bit as the one-point form.
void lambertForward(const LambertConstants& c, double a, const zoneCnstnt& zone, geodCoord& pt);
void lambertForward(const LambertConstants& c, double a, const zoneCnstnt& zone, geodCoord (&pts)[4]);
void lambertInverse(const LambertConstants& c, double a, const zoneCnstnt& zone, geodCoord& pt);
void lambertInverse(const LambertConstants& c, double a, const zoneCnstnt& zone, geodCoord (&pts)[4]);

} // namespace kelvane

#endif
