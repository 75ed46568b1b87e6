/* Geographic <-> Earth-centred Cartesian coordinates and local east/north/up frames.
 *
 * Angles are radians, longitudes positive EAST (X lies in the plane of longitude 0, Y in
 * the plane of longitude +90 degrees). Lengths are in the unit of the ellipsoid's
 * semi-major axis (metres for every ellipsoid of the library). A caller holding a
 * west-positive longitude negates it before calling.
 *
 * Two families:
 * - ecef2lat / lat2ecef take bare doubles and always use GRS80;
 * - latLongElev2XYZ_EC / XYZ_EC2latLongElev take an ellipsoid and work in place on a
 *   geodCoord whose planar fields then carry Cartesian values: X in easting, Y in
 *   northing and Z in elev (the forward conversion reads the height from elev and
 *   overwrites it with Z; the inverse reads Z from elev and puts the height back).
 *
 * The inverse conversions iterate on latitude and height until the height changes by
 * less than 0.1 mm and the latitude by less than 1e-10 rad. Points near the Earth's
 * surface converge in a handful of passes; the loop is capped (at a pass count far beyond
 * what any converging point needs), so no input, NaN and infinity included, can keep the
 * caller waiting. The height on each pass is taken from the distance to the axis near the
 * equator and from Z towards the poles (two equivalent forms), so it stays exact to the
 * tolerance even centimetres from the polar axis.
 *
 * Points the iteration formulas cannot take are answered as a user expects:
 * - on the polar axis (X = Y = 0): latitude +pi/2 (or -pi/2 when Z < 0), longitude 0 and
 *   height |Z| - b; the Earth's centre (0, 0, 0) counts as on the axis, giving +pi/2 and
 *   height -b;
 * - on the 180-degree meridian (Y = 0, X < 0): longitude +pi (the half-angle formula
 *   would divide 0 by 0 there).
 * A NaN in any input gives NaN latitude, longitude and height. The ellipsoid is not
 * checked either: these conversions have no failure status for a bad ellipsoid, so one
 * with a zero axis (a record left zeroed) gives NaN outputs with status 0. Fill it with
 * initEllipsoid or initNamedEllipsoid.
 *
 * A null pointer is refused without writing anything: the functions with a status then
 * return 1, the two without one return at once. */
#ifndef KELVANE_GEOCENTRIC_H
#define KELVANE_GEOCENTRIC_H

#include "kelvane/batch.h"
#include "kelvane/core.h"

KELVANE_C_BEGIN

/* Geocentric x, y, z (GRS80) -> latitude, longitude, ellipsoidal height. */
KELVANE_API void ecef2lat(double x, double y, double z, double* lat, double* lon, double* h);

/* Latitude, longitude, ellipsoidal height (GRS80) -> geocentric x, y, z. Note the order:
 * the three outputs come before the three inputs. */
KELVANE_API void lat2ecef(double* x, double* y, double* z, double lat, double lon, double h);

/* In place: reads lat, lon and the height from elev; writes X to easting, Y to northing
 * and Z to elev. Uses the ellipsoid's semiMajor and semiMinor. Returns 0 (1 for a null
 * pt). */
KELVANE_API int latLongElev2XYZ_EC(ellipsoid ell, geodCoord* pt);

/* In place: reads X from easting, Y from northing and Z from elev; writes lat, lon and
 * the height to elev (easting and northing keep X and Y). Uses semiMajor, semiMinor and
 * ecc. Returns 0 (1 for a null pt). */
KELVANE_API int XYZ_EC2latLongElev(ellipsoid ell, geodCoord* pt);

/* latLongElev2XYZ_EC and XYZ_EC2latLongElev for n points (see kelvane/batch.h), with
 * the geocentric coordinates in columns of their own. Forward: lat, lon (rad, positive
 * east), elev (height) in; X, Y, Z out. Inverse: X, Y, Z in; lat, lon, elev (height) out.
 * All six columns are required. Neither conversion fails for a point, so every status is
 * 0. Refused whole (-1): a NULL ell, status or column. */
KELVANE_API int latLongElev2XYZ_ECBatch(const ellipsoid* ell, size_t n, batchIn lat, batchIn lon, batchIn elev,
                                        batchOut X, batchOut Y, batchOut Z, int* status);
KELVANE_API int XYZ_EC2latLongElevBatch(const ellipsoid* ell, size_t n, batchIn X, batchIn Y, batchIn Z,
                                        batchOut lat, batchOut lon, batchOut elev, int* status);

/* Rotates a geocentric difference vector (dX, dY, dZ) into the local east/north/up frame
 * of the origin (lat, lon). Returns 0 (1 for a null output). */
KELVANE_API int localToLocalGeodetic(double lat, double lon, double dX, double dY, double dZ,
                                     double* east, double* north, double* up);

/* The inverse rotation: local east/north/up at the origin (lat, lon) back to a geocentric
 * difference vector, written through dX, dY, dZ (the transpose of the rotation of
 * localToLocalGeodetic). Returns 0 (1 for a null output). */
KELVANE_API int localGeodeticToLocal(double lat, double lon, double east, double north, double up,
                                     double* dX, double* dY, double* dZ);

KELVANE_C_END

#endif /* KELVANE_GEOCENTRIC_H */
