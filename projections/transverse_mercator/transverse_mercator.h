// Transverse Mercator inside the library: one series core on plain parameters, which the
// zone-record routines (geod2TM, TM2Geod, the UTM wrappers; longitudes positive west) and
// the stand-alone routines (own record, longitudes positive east) all call, and the
// quantities derived from the ellipsoid and the zone that its directions share.
#ifndef KELVANE_PROJECTIONS_TRANSVERSE_MERCATOR_H
#define KELVANE_PROJECTIONS_TRANSVERSE_MERCATOR_H

#include <cmath>

#include "core/constants_memo.h"
#include "core/ellipsoid_terms.h"
#include "core/lanes.h"
#include "core/math_constants.h"
#include "core/trig_series.h"
#include "kelvane/transverse_mercator.h"

namespace kelvane::tm {

// What the series reads of an ellipsoid and a zone, whichever record they come from.
struct Parameters {
    double a;       // semi-major axis, m
    double b;       // semi-minor axis, m
    double e;       // first eccentricity
    double k0;      // scale factor on the central meridian
    double phi0;    // latitude of the grid origin, rad
    double lambda0; // central meridian, rad, positive WEST
    double N0;      // false northing, m
    double E0;      // false easting, m
};

inline Parameters parametersOf(const ellipsoid& ell, const zoneCnstnt& zone)
{
    return {ell.semiMajor, ell.semiMinor,       ell.ecc,           zone.scaleFactor,
            zone.originLat, zone.centralMeridian, zone.falseNorthing, zone.falseEasting};
}

// Everything the series needs that depends on the ellipsoid and the zone alone: derived
// once per zone (at table build time for the state plane zones, through a per-thread memo
// for other records; see cachedSeriesConstants) rather than for every point.
struct SeriesConstants {
    double ePrimeSq;       // e'^2 = (a^2 - b^2) / b^2, second eccentricity squared
    double eSq;            // e^2, the ellipsoid's ecc squared
    double n;              // (a - b) / (a + b), third flattening
    double r;              // rectifying radius
    double P0, P2, P4, P6; // rectifying-latitude (meridian arc) coefficients
    double H0, H2, H4, H6; // footpoint-latitude coefficients
    double S0;             // k0 * r * omega(phi0): scaled meridian arc to the grid origin
};

// omega(phi): the rectifying latitude of phi, radians.
inline double rectifyingLatitude(double phi, const SeriesConstants& c)
{
    return evaluate(TrigSeries{c.P0, c.P2, c.P4, c.P6}, phi);
}

// Derives the constants; a and b must be non-zero for finite values. Defined here so that
// each direction, inlining it, skips the coefficients it does not use.
inline SeriesConstants seriesConstants(const Parameters& p)
{
    SeriesConstants c;
    c.ePrimeSq = ePrimeSqOfAxes(p.a, p.b);
    c.eSq = eSqOfEcc(p.e);

    const double n = thirdFlattening(p.a, p.b);
    const double n2 = n * n;
    const double n3 = n2 * n;
    const double n4 = n3 * n;
    c.n = n;
    c.r = p.a * (1.0 - n) * (1.0 - n2) * (1.0 + 9.0 * n2 / 4.0 + 225.0 * n4 / 64.0);

    const TrigSeries P = foldSineMultiples(-3.0 * n / 2.0 + 9.0 * n3 / 16.0, 15.0 * n2 / 16.0 - 15.0 * n4 / 32.0,
                                           -35.0 * n3 / 48.0, 315.0 * n4 / 512.0);
    c.P0 = P.c0;
    c.P2 = P.c2;
    c.P4 = P.c4;
    c.P6 = P.c6;
    const TrigSeries H = foldSineMultiples(3.0 * n / 2.0 - 27.0 * n3 / 32.0, 21.0 * n2 / 16.0 - 55.0 * n4 / 32.0,
                                           151.0 * n3 / 96.0, 1097.0 * n4 / 512.0);
    c.H0 = H.c0;
    c.H2 = H.c2;
    c.H4 = H.c4;
    c.H6 = H.c6;

    // omega(0) is exactly 0: zones with their origin on the equator (UTM among them) get
    // the same S0 = 0 without the trigonometry.
    c.S0 = p.phi0 == 0.0 ? 0.0 : p.k0 * c.r * rectifyingLatitude(p.phi0, c);
    return c;
}

// The constants of p, from this thread's memo of the last few zones (keyed by the exact
// bits of a, b, e, k0 and phi0, all that they depend on): bit for bit what
// seriesConstants(p) gives. Inline, so that the usual case, the zone of the last call,
// costs a few comparisons; the derivation itself is not inlined.
SeriesConstants seriesConstantsOutOfLine(const Parameters& p);

inline const SeriesConstants& cachedSeriesConstants(const Parameters& p)
{
    thread_local ConstantsMemo<SeriesConstants, 5> memo;
    const double key[5] = {p.a, p.b, p.e, p.k0, p.phi0};
    return memo.get(key, [&p] { return seriesConstantsOutOfLine(p); });
}

inline const SeriesConstants& seriesConstants(const ellipsoid& ell, const zoneCnstnt& zone)
{
    return cachedSeriesConstants(parametersOf(ell, zone));
}

// What the series core gives, forward (grid coordinates) and inverse (geographic, the
// longitude positive west), for one point (T = double) or two side by side (T = Lanes2).
template <class T>
struct GridOf {
    T northing, easting, gridScale, convergence;
};
template <class T>
struct GeographicOf {
    T lat, lon, gridScale, convergence;
};

// Lane j of a two-point result.
inline GridOf<double> lane(const GridOf<Lanes2>& r, int j)
{
    return {r.northing[j], r.easting[j], r.gridScale[j], r.convergence[j]};
}
inline GeographicOf<double> lane(const GeographicOf<Lanes2>& r, int j)
{
    return {r.lat[j], r.lon[j], r.gridScale[j], r.convergence[j]};
}

// The series core, forward: phi, lambda (positive west) -> out, about the central meridian
// lambda0 (the zone's p.lambda0, or each point's own), with the constants c that
// seriesConstants(p) derived (a batch derives them once for all its points). Returns 1,
// writing nothing, when b or a is 0. Written once for T = double and T = Lanes2: two
// points side by side get bit for bit the results of each alone.
template <class T>
int forward(const Parameters& p, const SeriesConstants& c, T phi, T lambda, T lambda0, GridOf<T>& out);

// The series core, inverse: northing, easting -> out, with c = seriesConstants(p). Returns
// 1, writing nothing, when the footpoint radius is exactly 0 (for two points, when it is
// 0 for either: each must then be converted alone to learn which).
template <class T>
int inverse(const Parameters& p, const SeriesConstants& c, T northing, T easting, T lambda0, GeographicOf<T>& out);

extern template int forward(const Parameters&, const SeriesConstants&, double, double, double, GridOf<double>&);
extern template int forward(const Parameters&, const SeriesConstants&, Lanes2, Lanes2, Lanes2, GridOf<Lanes2>&);
extern template int inverse(const Parameters&, const SeriesConstants&, double, double, double,
                            GeographicOf<double>&);
extern template int inverse(const Parameters&, const SeriesConstants&, Lanes2, Lanes2, Lanes2,
                            GeographicOf<Lanes2>&);

// Whether two points may be converted side by side (no NaN or infinity among the inputs).
using lanes::pairable;

// A result stored in a point record: grid coordinates, or the geographic ones.
inline void store(const GridOf<double>& r, geodCoord& out)
{
    out.northing = r.northing;
    out.easting = r.easting;
    out.gridScale = r.gridScale;
    out.convergence = r.convergence;
}
inline void store(const GeographicOf<double>& r, geodCoord& out)
{
    out.lat = r.lat;
    out.lon = r.lon;
    out.gridScale = r.gridScale;
    out.convergence = r.convergence;
}

// One point about the zone's central meridian, the results written into out (nothing else
// of out is touched, and nothing at all when the series refuses).
inline int forward(const Parameters& p, const SeriesConstants& c, double phi, double lambda, geodCoord& out)
{
    GridOf<double> r;
    const int status = forward(p, c, phi, lambda, p.lambda0, r);
    if (status == 0) store(r, out);
    return status;
}

inline int inverse(const Parameters& p, const SeriesConstants& c, double northing, double easting, geodCoord& out)
{
    GeographicOf<double> r;
    const int status = inverse(p, c, northing, easting, p.lambda0, r);
    if (status == 0) store(r, out);
    return status;
}

// The same for one point, with the constants from this thread's memo. A zero axis is
// refused before any constants are derived from it.
inline int forward(const Parameters& p, double phi, double lambda, geodCoord& out)
{
    if (p.b == 0.0 || p.a == 0.0) return 1;
    return forward(p, cachedSeriesConstants(p), phi, lambda, out);
}

inline int inverse(const Parameters& p, double northing, double easting, geodCoord& out)
{
    return inverse(p, cachedSeriesConstants(p), northing, easting, out);
}

// geod2TM and TM2Geod on references.
inline int forward(const ellipsoid& ell, const zoneCnstnt& zone, geodCoord& pt)
{
    return forward(parametersOf(ell, zone), pt.lat, pt.lon, pt);
}

inline int inverse(const ellipsoid& ell, const zoneCnstnt& zone, geodCoord& pt)
{
    return inverse(parametersOf(ell, zone), pt.northing, pt.easting, pt);
}

// The UTM grid: scale on the central meridian, false easting, and the false northing of
// the southern hemisphere.
constexpr double kUtmScaleFactor = 0.9996;
constexpr double kUtmFalseEasting = 500000.0;
constexpr double kSouthernFalseNorthing = 10000000.0;

// The central meridian of UTM zone z (1..60 within its hemisphere), rad positive WEST:
// 183 - 6z degrees (zone 1 at 177 W, zone 31 at 3 E, zone 60 at 177 E). Worked in double,
// so that no zone number, however wild, overflows an int.
inline double utmCentralMeridianWest(int z)
{
    return (183.0 - 6.0 * static_cast<double>(z)) * degToRad();
}

} // namespace kelvane::tm

#endif
