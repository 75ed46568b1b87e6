// Transverse Mercator on zone constants, inside the library: the quantities derived from
// the ellipsoid and the zone that the forward and inverse series share, and the two
// directions on references (the exported geod2TM and TM2Geod, and the UTM wrappers,
// call these, so calls within the library stay direct).
#ifndef KELVANE_PROJECTIONS_TRANSVERSE_MERCATOR_H
#define KELVANE_PROJECTIONS_TRANSVERSE_MERCATOR_H

#include <cmath>

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

// x + sin x cos x (c0 + c2 cos^2 x + c4 cos^4 x + c6 cos^6 x): the common shape of the
// rectifying-latitude and footpoint-latitude series.
inline double sinCosSeries(double x, double sinX, double cosX, double c0, double c2, double c4, double c6)
{
    const double cos2 = cosX * cosX;
    const double cos4 = cos2 * cos2;
    const double cos6 = cos4 * cos2;
    return x + sinX * cosX * (c0 + c2 * cos2 + c4 * cos4 + c6 * cos6);
}

// omega(phi): the rectifying latitude of phi, radians.
inline double rectifyingLatitude(double phi, double P0, double P2, double P4, double P6)
{
    return sinCosSeries(phi, std::sin(phi), std::cos(phi), P0, P2, P4, P6);
}

// Derives the constants from a, b, e of ell and k0, phi0 of zone; a and b must be
// non-zero for finite values. Defined here so that each direction, inlining it, skips
// the coefficients it does not use.
inline SeriesConstants seriesConstants(const ellipsoid& ell, const zoneCnstnt& zone)
{
    const double a = ell.semiMajor;
    const double b = ell.semiMinor;
    SeriesConstants c;
    c.ePrimeSq = (std::pow(a, 2.0) - std::pow(b, 2.0)) / std::pow(b, 2.0);
    c.eSq = std::pow(ell.ecc, 2.0);

    const double n = (a - b) / (a + b);
    const double n2 = n * n;
    const double n3 = n2 * n;
    const double n4 = n3 * n;
    c.n = n;
    c.r = a * (1.0 - n) * (1.0 - n2) * (1.0 + 9.0 * n2 / 4.0 + 225.0 * n4 / 64.0);

    const double U2 = -3.0 * n / 2.0 + 9.0 * n3 / 16.0;
    const double U4 = 15.0 * n2 / 16.0 - 15.0 * n4 / 32.0;
    const double U6 = -35.0 * n3 / 48.0;
    const double U8 = 315.0 * n4 / 512.0;
    c.P0 = 2.0 * (U2 - 2.0 * U4 + 3.0 * U6 - 4.0 * U8);
    c.P2 = 8.0 * (U4 - 4.0 * U6 + 10.0 * U8);
    c.P4 = 32.0 * (U6 - 6.0 * U8);
    c.P6 = 128.0 * U8;

    const double V2 = 3.0 * n / 2.0 - 27.0 * n3 / 32.0;
    const double V4 = 21.0 * n2 / 16.0 - 55.0 * n4 / 32.0;
    const double V6 = 151.0 * n3 / 96.0;
    const double V8 = 1097.0 * n4 / 512.0;
    c.H0 = 2.0 * (V2 - 2.0 * V4 + 3.0 * V6 - 4.0 * V8);
    c.H2 = 8.0 * (V4 - 4.0 * V6 + 10.0 * V8);
    c.H4 = 32.0 * (V6 - 6.0 * V8);
    c.H6 = 128.0 * V8;

    // omega(0) is exactly 0: zones with their origin on the equator (UTM among them) get
    // the same S0 = 0 without the trigonometry.
    c.S0 = zone.originLat == 0.0
               ? 0.0
               : zone.scaleFactor * c.r * rectifyingLatitude(zone.originLat, c.P0, c.P2, c.P4, c.P6);
    return c;
}

// geod2TM on references: lat, lon (positive west) -> northing, easting, gridScale,
// convergence. Returns 1, writing nothing, when b or a is 0.
int forward(const ellipsoid& ell, const zoneCnstnt& zone, geodCoord& pt);

// TM2Geod on references: northing, easting -> lat, lon (positive west), gridScale,
// convergence. Returns 1, writing nothing, when the footpoint radius is exactly 0.
int inverse(const ellipsoid& ell, const zoneCnstnt& zone, geodCoord& pt);

} // namespace kelvane::tm

#endif
