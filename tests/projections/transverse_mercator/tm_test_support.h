// Helpers shared by the Transverse Mercator and UTM tests: angles, the ellipsoids of the
// published examples, and points in geographic or grid form.
#ifndef KELVANE_TESTS_TM_TEST_SUPPORT_H
#define KELVANE_TESTS_TM_TEST_SUPPORT_H

#include <cmath>

#include "kelvane/kelvane.h"

namespace tm_test {

const double kDeg = 4.0 * std::atan(1.0) / 180.0;
const double kArcSecond = kDeg / 3600.0;

inline double dms(double d, double m, double s) { return (d + m / 60.0 + s / 3600.0) * kDeg; }

inline ellipsoid makeEllipsoid(double a, double f)
{
    ellipsoid e{};
    initEllipsoid(&e, a, f);
    return e;
}

inline ellipsoid grs80() { return makeEllipsoid(6378137.0, 0.0033528106811836675); }
inline ellipsoid wgs84() { return makeEllipsoid(6378137.0, 1.0 / 298.257223563); }
inline ellipsoid airy1830() { return makeEllipsoid(6377563.396, 1.0 / 299.3249646); }
inline ellipsoid international1924() { return makeEllipsoid(6378388.0, 1.0 / 297.0); }
// Clarke 1866 is defined by its two axes.
inline ellipsoid clarke1866() { return makeEllipsoid(6378206.4, (6378206.4 - 6356583.8) / 6378206.4); }

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

} // namespace tm_test

#endif
