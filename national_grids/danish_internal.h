// The datum stage of the Danish grids: WGS84 <-> ED50 (International 1924) by a
// seven-parameter similarity transformation on geocentric coordinates, and WGS84
// geographic <-> UTM zone 32 / ED50 grid coordinates. Internal to the library.
#ifndef KELVANE_NATIONAL_GRIDS_DANISH_INTERNAL_H
#define KELVANE_NATIONAL_GRIDS_DANISH_INTERNAL_H

#include "kelvane/core.h"

namespace kelvane::danish {

// The ellipsoids of the two datums.
constexpr double kWgs84A = 6378137.0;
constexpr double kWgs84F = 0.0033528106811836675;
constexpr double kEd50A = 6378388.0;
constexpr double kEd50F = 0.003367003367003367;

// Geocentric X, Y, Z (in easting, northing, elev) from WGS84 to ED50, and back. Each
// direction has its own parameter set (the two are not exact inverses): the translation
// is removed first, then the inverse of the rotation R = Rz*Ry*Rx is applied and the
// result scaled. Returns 0; 1 (nothing written) for a null out.
int wgs84ToEd50Geocentric(geodCoord in, geodCoord* out);
int ed50ToWgs84Geocentric(geodCoord in, geodCoord* out);

// WGS84 lat, lon (rad, east positive), h -> UTM zone 32 north on ED50: out receives the
// ED50 lat, lon and height and the zone's northing, easting, grid scale and convergence.
// 0, or the first non-zero status of a step (1 for a null out), with out untouched.
int wgs84ToUtm32Ed50(double lat, double lon, double h, geodCoord* out);

// UTM zone 32 north on ED50 (easting, northing) and the ED50 height -> WGS84: out
// receives lat, lon and height (easting, northing keep the geocentric X, Y). 0, or the
// first non-zero status of a step (1 for a null out), with out untouched.
int utm32Ed50ToWgs84(double easting, double northing, double h, geodCoord* out);

} // namespace kelvane::danish

#endif
