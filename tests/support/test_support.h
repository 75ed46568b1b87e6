// Helpers shared by the test programs: angles in degrees, the named ellipsoids of the
// published examples, points in geographic or grid form, and round trips measured on the
// ground.
#ifndef KELVANE_TESTS_SUPPORT_TEST_SUPPORT_H
#define KELVANE_TESTS_SUPPORT_TEST_SUPPORT_H

#include <cmath>
#include <limits>

#include "kelvane/kelvane.h"

namespace ktest {

const double kPi = 4.0 * std::atan(1.0);
const double kDeg = kPi / 180.0;
const double kArcSecond = kDeg / 3600.0;

// Degrees (and minutes, seconds) to radians; a southern or western angle negates all three.
inline double deg(double d, double m = 0.0, double s = 0.0) { return (d + m / 60.0 + s / 3600.0) * kDeg; }
inline double dms(double d, double m, double s) { return deg(d, m, s); }
inline double toDeg(double rad) { return rad / kDeg; }
const double kFtUS = 1200.0 / 3937.0; // the US survey foot, m

inline ellipsoid makeEllipsoid(double a, double f)
{
    ellipsoid e{};
    initEllipsoid(&e, a, f);
    return e;
}

// The library's named ellipsoids (an unknown name gives an all-zero record).
inline ellipsoid named(const char* name)
{
    ellipsoid e{};
    initNamedEllipsoid(&e, name);
    return e;
}

inline ellipsoid grs80() { return named("grs80"); }
inline ellipsoid wgs84() { return named("wgs84"); }
inline ellipsoid airy1830() { return named("airy1830"); }
inline ellipsoid international1924() { return named("intl1924"); }
inline ellipsoid clarke1866() { return named("clarke1866"); }

// A point in geographic form (the longitude in the sign convention of the call).
inline geodCoord geographic(double lat, double lon)
{
    geodCoord p{};
    p.lat = lat;
    p.lon = lon;
    return p;
}

inline geodCoord grid(double northing, double easting)
{
    geodCoord p{};
    p.northing = northing;
    p.easting = easting;
    return p;
}

// Ground distance (m) between two nearby positions, on a sphere of the GRS 80 radius.
inline double groundDistance(double lat1, double lon1, double lat2, double lon2)
{
    return 6378137.0 * std::hypot(lat2 - lat1, (lon2 - lon1) * std::cos(lat1));
}

// Geographic -> grid -> geographic: the ground distance (m) between the point and its
// image, infinite when either direction fails or yields a non-number. forward and inverse
// take a geodCoord& and return a status (0 success).
template <class Forward, class Inverse>
double geographicRoundTrip(const geodCoord& start, Forward forward, Inverse inverse)
{
    geodCoord p = start;
    if (forward(p) != 0) return std::numeric_limits<double>::infinity();
    geodCoord q = grid(p.northing, p.easting);
    if (inverse(q) != 0) return std::numeric_limits<double>::infinity();
    const double d = groundDistance(start.lat, start.lon, q.lat, q.lon);
    return std::isnan(d) ? std::numeric_limits<double>::infinity() : d;
}

} // namespace ktest

#endif
