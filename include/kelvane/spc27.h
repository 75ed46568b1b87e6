/* State plane coordinates of 1927: the 130 zones, in US survey feet.
 *
 * Points are on NAD 27 (Clarke 1866). Every Clarke 1866 quantity is a literal of the
 * formulas, so this family takes no ellipsoid record. Units of a geodCoord here:
 *   lat, lon     radians, longitude positive WEST (no sign change anywhere in this family:
 *                the caller passes and receives west-positive longitudes);
 *   northing,    US survey feet;
 *   easting
 *   gridScale    point scale factor;
 *   convergence  meridian convergence, radians, positive east of the central meridian.
 *
 * The zone table is empty until init27ZoneConstants has run: until then no zone code is
 * found. The conversions use only the record the caller passes and work without it. */
#ifndef KELVANE_SPC27_H
#define KELVANE_SPC27_H

#include "kelvane/batch.h"
#include "kelvane/core.h"

/* Constants of one SPCS 27 zone, in the form of the USC&GS machine-computation tables.
 * param[0] .. param[10] hold the constants numbered 1 to 11:
 *
 *   no.  kind 0 (TM)                  kind 1 (Lambert)                    kind 3 (Alaska 2-9)
 *    1   X0 false easting, ft         X0 false easting, ft                X0 false easting, ft
 *    2   L0 central meridian, arc-s   L0 central meridian, arc-s          L0 central meridian, arc-s
 *    3   M0 whole minutes of the      R0 mapping radius of the central    -
 *        origin's rectifying lat.        parallel, ft
 *    4   S0 seconds part of it        Rb mapping radius at y = 0, ft      -
 *    5   k0 on the central meridian   k0 on the central parallel          -
 *    6   Rx cubic easting coefficient l cone constant (sin of central     -
 *                                        parallel)
 *    7   -                            M0 whole minutes of the central     -
 *                                        parallel's rectifying latitude
 *    8   -                            S0 seconds part of it               -
 *    9   -                            L1 radius-series coefficient        -
 *   10   -                            L2 radius-series coefficient        -
 *   11   -                            L3 radius-series coefficient        -
 *
 * Central meridians are in arc-seconds positive west. Unused entries are zero. Kind 2
 * (Alaska zone 1, oblique Mercator) carries no constants: they are literals of its routines. */
typedef struct zoneconstant27 {
    int32_t projection; /* 0 TM, 1 Lambert, 2 Alaska zone 1 oblique Mercator, 3 Alaska zones 2-9 */
    int32_t zoneCode;   /* SPCS 27 zone code, e.g. 101 for zone 0101 */
    double param[11];   /* the zone constants numbered 1 to 11, see above */
} zoneconstant27;

KELVANE_C_BEGIN

/* Fills the 130-row zone table. Must run before any lookup; running it again rewrites
 * the same values. Finish it before other threads look zones up. */
KELVANE_API void init27ZoneConstants(void);

/* Copies the row carrying zoneCode (e.g. 101 for zone 0101) into *zone and returns 0;
 * returns 1 and leaves *zone untouched when no row carries the code (or zone is null). */
KELVANE_API int initSPC27Zone(int zoneCode, zoneconstant27* zone);

/* Writes the table position (0 to 129) of the row carrying zoneCode and returns 0;
 * returns 1 and leaves *index untouched when no row carries the code (or index is null). */
KELVANE_API int getSPC27ZoneIndex(int zoneCode, int* index);

/* Geographic to plane: reads lat and lon (radians, longitude positive west), writes
 * northing and easting (US survey feet), gridScale and convergence. Returns 1 and leaves
 * the point untouched when the zone's kind is not 0 to 3 (negative kinds included) or
 * when zone or point is null. */
KELVANE_API int geod2SPC27(zoneconstant27* zone, geodCoord* point);

/* Plane to geographic: reads northing and easting (US survey feet), writes lat and lon
 * (radians, longitude positive west), gridScale and convergence. Refuses kinds outside
 * 0 to 3 (and null pointers) with 1 and leaves the point untouched. */
KELVANE_API int SPC272Geod(zoneconstant27* zone, geodCoord* point);

/* geod2SPC27 and SPC272Geod for n points of one zone (see kelvane/batch.h), in the units
 * above (longitudes positive WEST, US survey feet). Forward: lat, lon in; northing,
 * easting out, gridScale and convergence where not NULL. Inverse: northing, easting in;
 * lat, lon out, gridScale and convergence where not NULL. The conversions check nothing
 * per point, so every status is 0. Refused whole (-1): a NULL zone, a kind outside 0 to 3,
 * a NULL status or required column. */
KELVANE_API int geod2SPC27Batch(const zoneconstant27* zone, size_t n, batchIn lat, batchIn lon, batchOut northing,
                                batchOut easting, batchOut gridScale, batchOut convergence, int* status);
KELVANE_API int SPC272GeodBatch(const zoneconstant27* zone, size_t n, batchIn northing, batchIn easting,
                                batchOut lat, batchOut lon, batchOut gridScale, batchOut convergence, int* status);

KELVANE_C_END

#ifdef __cplusplus
#include <cstddef>
static_assert(sizeof(zoneconstant27) == 96, "zoneconstant27 is two ints and 11 doubles");
static_assert(offsetof(zoneconstant27, projection) == 0 && offsetof(zoneconstant27, zoneCode) == 4 &&
              offsetof(zoneconstant27, param) == 8, "zoneconstant27 field offsets");
#endif

#endif /* KELVANE_SPC27_H */
