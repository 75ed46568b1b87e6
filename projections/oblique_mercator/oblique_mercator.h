// Hotine oblique Mercator on zone constants (the Alaska zone 1 form): the zone constants
// shared by the forward and inverse projections and by the oblique Mercator arc-to-chord
// correction, and the inverse hyperbolic cosine they use.
#ifndef KELVANE_PROJECTIONS_OBLIQUE_MERCATOR_OBLIQUE_MERCATOR_H
#define KELVANE_PROJECTIONS_OBLIQUE_MERCATOR_OBLIQUE_MERCATOR_H

#include <cmath>

#include "core/ellipsoid_terms.h"
#include "core/trig_series.h"
#include "kelvane/core.h"

namespace kelvane {

// acosh(x) = ln(x + sqrt(x^2 - 1)). Nothing is tested: x < 1 gives NaN.
inline double arcCosh(double x)
{
    return std::log(x + std::sqrt(std::pow(x, 2.0) - 1.0));
}

struct ObliqueMercatorConstants {
    double e2;        // e^2 = 2f - f^2 with f = (a - b)/a
    double e;         // eccentricity used for isometric latitudes
    double B;         // aposphere constant
    double A;         // aposphere radius
    double H0;        // isometric-latitude offset of the aposphere
    double D;         // k0*A/B
    double sinAlpha0; // azimuth of the central line where it crosses the aposphere's equator
    double cosAlpha0;
    double F;         // k0*A/a
    double lambda0;   // longitude of the natural origin, positive west
};

// Derives the constants from the ellipsoid's semi-axes and the zone's centre (originLat,
// originLon), azimuth of the central line (centralMeridian) and scale (scaleFactor), with
// e for the isometric latitudes as given. e^2 always comes from the semi-axes.
inline ObliqueMercatorConstants obliqueMercatorConstantsWithEcc(const ellipsoid& ell, const zoneCnstnt& zone,
                                                                double e)
{
    const double a = ell.semiMajor;
    const double b = ell.semiMinor;
    const double phiC = zone.originLat;
    const double alphaC = zone.centralMeridian;
    const double k0 = zone.scaleFactor;

    ObliqueMercatorConstants c;
    const double ePrime2 = ePrimeSqOfAxes(a, b);
    c.e2 = eSqOfFlattening((a - b) / a);
    c.e = e;
    c.B = std::sqrt(1.0 + ePrime2 * std::pow(std::cos(phiC), 4.0));
    const double W0 = W(c.e2, phiC);
    c.A = a * c.B * std::sqrt(1.0 - c.e2) / (W0 * W0);
    const double Q0 = isometricLatitude(phiC, c.e);
    c.H0 = arcCosh(c.B * std::sqrt(1.0 - c.e2) / (W0 * std::cos(phiC))) - c.B * Q0;
    c.D = k0 * c.A / c.B;
    c.sinAlpha0 = a * std::sin(alphaC) * std::cos(phiC) / (c.A * W0);
    c.cosAlpha0 = std::cos(std::asin(c.sinAlpha0));
    c.F = k0 * c.A / a;
    c.lambda0 = zone.originLon + std::asin(std::sinh(c.B * Q0 + c.H0) * c.sinAlpha0 / c.cosAlpha0) / c.B;
    return c;
}

// The forward projection and the arc-to-chord correction take e as the square root of the
// e^2 of the semi-axes; the inverse takes the record's ecc. The two agree to rounding.
inline ObliqueMercatorConstants obliqueMercatorConstantsForward(const ellipsoid& ell, const zoneCnstnt& zone)
{
    const double a = ell.semiMajor;
    return obliqueMercatorConstantsWithEcc(ell, zone, std::sqrt(eSqOfFlattening((a - ell.semiMinor) / a)));
}

inline ObliqueMercatorConstants obliqueMercatorConstantsInverse(const ellipsoid& ell, const zoneCnstnt& zone)
{
    return obliqueMercatorConstantsWithEcc(ell, zone, ell.ecc);
}

// (u, v) of the rectified grid, along and across the central line from the natural origin,
// of a point with S = sinh(B q + H0), T = cosh(B q + H0) and aposphere longitude L.
struct RectifiedUV {
    double u;
    double v;
};

inline RectifiedUV rectifiedUV(const ObliqueMercatorConstants& c, double S, double T, double L)
{
    const double sinL = std::sin(L);
    return {c.D * std::atan((S * c.cosAlpha0 - c.sinAlpha0 * sinL) / std::cos(L)),
            (c.D / 2.0) * std::log((T - c.sinAlpha0 * S - c.cosAlpha0 * sinL) / (T + c.sinAlpha0 * S + c.cosAlpha0 * sinL))};
}

// The projection on constants derived once: forward (constants of
// obliqueMercatorConstantsForward) from pt.lat and pt.lon (positive west) into northing,
// easting, gridScale and convergence; inverse (constants of obliqueMercatorConstantsInverse
// and their conformal-latitude series omConformalSeries) from northing and easting into
// lat, lon, gridScale and convergence.
void omForward(const ObliqueMercatorConstants& c, const zoneCnstnt& zone, geodCoord& pt);
TrigSeries omConformalSeries(const ObliqueMercatorConstants& c);
void omInverse(const ObliqueMercatorConstants& c, const TrigSeries& g, const zoneCnstnt& zone, geodCoord& pt);

// Everything both directions derive from the ellipsoid and the zone: the forward's and the
// inverse's constants and the inverse's conformal-latitude series.
struct ObliqueMercatorZone {
    ObliqueMercatorConstants forward;
    ObliqueMercatorConstants inverse;
    TrigSeries conformal; // conformal latitude -> latitude
};

ObliqueMercatorZone obliqueMercatorZone(const ellipsoid& ell, const zoneCnstnt& zone);

// The same from this thread's memo of the last few zones, keyed by the exact bits of a, b,
// ecc and the zone's centre, azimuth and scale: bit for bit what obliqueMercatorZone gives.
const ObliqueMercatorZone& cachedObliqueMercatorZone(const ellipsoid& ell, const zoneCnstnt& zone);

} // namespace kelvane

#endif
