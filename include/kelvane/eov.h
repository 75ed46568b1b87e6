/* The Hungarian national grid EOV: WGS84 geographic coordinates <-> EOV Y (easting,
 * about 650000 at the projection centre) and X (northing, about 200000), an oblique
 * cylindrical conformal projection of the Gauss sphere of the IUGG 1967 ellipsoid (HD72).
 *
 * The datum shift is a seven-parameter similarity transformation whose parameters the
 * caller passes on every call, always as the shift FROM WGS84 TO HD72: translations
 * dx, dy, dz in metres, rotations rx, ry, rz in arc-seconds (coordinate-frame
 * convention), scale ds in parts per million. The inverse takes the same seven values and
 * reverses them itself; passing them negated applies the shift the wrong way. The library
 * holds no default set. (For example, the negated EPSG transformation 1448 "HD72 to WGS 84
 * (3)": dx = -52.684, dy = 71.194, dz = 13.975, rx = -0.312, ry = -0.1063, rz = -0.3729,
 * ds = -1.0191.)
 *
 * Angles are radians, longitudes positive EAST, heights ellipsoidal in metres.
 *
 * Both return 0. They return 1 and write nothing when an output pointer is null, an input
 * is not finite, the latitude lies beyond +-90 degrees, the shifted point lies on the far
 * side of the Earth (longitudes beyond +-90 degrees: the longitude formula cannot tell them
 * from the near side) or a result would not be finite (absurd shift parameters). */
#ifndef KELVANE_EOV_H
#define KELVANE_EOV_H

#include "kelvane/export.h"

KELVANE_C_BEGIN

/* WGS84 lat, lon, h -> EOV y (Y), x (X) and the height above the IUGG 1967 ellipsoid. */
KELVANE_API int latLongWGS84ToXY_EOV(double lat, double lon, double h, double dx, double dy, double dz,
                                     double rx, double ry, double rz, double ds, double* y, double* x,
                                     double* hOut);

/* EOV y (Y), x (X) and the IUGG 1967 height -> WGS84 lat, lon and ellipsoidal height. */
KELVANE_API int EOV_XYToLatLongWGS84(double y, double x, double h, double dx, double dy, double dz,
                                     double rx, double ry, double rz, double ds, double* lat, double* lon,
                                     double* hOut);

KELVANE_C_END

#endif /* KELVANE_EOV_H */
