/* Krovak oblique conformal conic (the Czech and Slovak S-JTSK grid), in its basic
 * orientation: the Krovak X axis points south and the Y axis west.
 *
 * Every constant comes from a caller-filled zoneCnstntKrovakObliqueConic; the library
 * holds no Krovak constants of its own. Longitudes are positive EAST, and the point's
 * longitude and the record's originLon must share one prime meridian (both Greenwich or
 * both Ferro). Angles in radians, lengths in metres.
 *
 * Axis assignment: the Krovak Y (westing, r*sin(theta)) goes to the point's northing field
 * and the Krovak X (southing, r*cos(theta)) to its easting field, each plus its false
 * value. Both functions are re-entrant. */
#ifndef KELVANE_KROVAK_H
#define KELVANE_KROVAK_H

#include "kelvane/core.h"

typedef struct zoneCnstntKrovakObliqueConic {
    double reserved0;           /* never read: the caller's own */
    double centreLat;           /* latitude of the projection centre */
    double originLon;           /* longitude of the origin, positive east */
    double coneAxisColat;       /* co-latitude of the cone axis */
    double pseudoParallelLat;   /* latitude of the pseudo standard parallel */
    double pseudoParallelScale; /* scale factor on the pseudo standard parallel */
    double falseNorthing;       /* added to the Krovak Y stored in northing */
    double falseEasting;        /* added to the Krovak X stored in easting */
    double reserved1[2];        /* never read: the caller's own */
    ellipsoid ellipsoidDef;     /* only semiMajor and ecc are read */
} zoneCnstntKrovakObliqueConic;

KELVANE_C_BEGIN

/* Geographic (lat, lon) to Krovak grid: writes northing (Y + falseNorthing) and easting
 * (X + falseEasting) and nothing else (gridScale and convergence are left as they were).
 * Returns 0. Returns 1 and writes nothing for a null pointer, a latitude that is not a
 * number within -pi/2..pi/2, a longitude that is not a number within -2pi..2pi, a record
 * that describes no Krovak projection (semi-major axis not positive, eccentricity outside
 * 0..1, centre latitude not strictly between the poles, pseudo standard parallel not
 * strictly between the equator and the pole, scale not positive, anything not finite),
 * or a point the projection cannot map. */
KELVANE_API int latLong2XY_KrovakObliqueConic(zoneCnstntKrovakObliqueConic* zone, geodCoord* point);

/* Krovak grid (northing = Y, easting = X, with their false values) to geographic: writes
 * lat and lon and nothing else. The latitude comes from exactly three fixed-point passes
 * started at the centre latitude, good to about a centimetre on the ground within two
 * degrees of latitude of the centre. Returns 0; returns 1 and writes nothing for a null
 * pointer, a record refused as above, grid coordinates that are not finite numbers, or
 * coordinates with no geographic position. */
KELVANE_API int XY2latLong_KrovakObliqueConic(zoneCnstntKrovakObliqueConic* zone, geodCoord* point);

KELVANE_C_END

#ifdef __cplusplus
#include <cstddef>
static_assert(sizeof(zoneCnstntKrovakObliqueConic) == 192, "zoneCnstntKrovakObliqueConic is 192 bytes");
static_assert(offsetof(zoneCnstntKrovakObliqueConic, reserved0) == 0 &&
              offsetof(zoneCnstntKrovakObliqueConic, centreLat) == 8 &&
              offsetof(zoneCnstntKrovakObliqueConic, originLon) == 16 &&
              offsetof(zoneCnstntKrovakObliqueConic, coneAxisColat) == 24 &&
              offsetof(zoneCnstntKrovakObliqueConic, pseudoParallelLat) == 32 &&
              offsetof(zoneCnstntKrovakObliqueConic, pseudoParallelScale) == 40 &&
              offsetof(zoneCnstntKrovakObliqueConic, falseNorthing) == 48 &&
              offsetof(zoneCnstntKrovakObliqueConic, falseEasting) == 56 &&
              offsetof(zoneCnstntKrovakObliqueConic, reserved1) == 64 &&
              offsetof(zoneCnstntKrovakObliqueConic, ellipsoidDef) == 80,
              "zoneCnstntKrovakObliqueConic field offsets");
#endif

#endif /* KELVANE_KROVAK_H */
