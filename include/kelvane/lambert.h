/* Lambert conformal conic with two standard parallels: on zone constants (geod2Lambert,
 * Lambert2Geod), on a record of its own (latLong2XY_Lambert) and in the t-function form
 * with a scale factor (lambert_calc).
 *
 * On zone constants, the zone record supplies southParallel, northParallel, originLat (latitude of the
 * grid origin), originLon (central meridian, positive WEST), falseNorthing and
 * falseEasting; scaleFactor and centralMeridian are not used. Point longitudes are
 * positive WEST as well. Angles in radians, lengths in metres. Both directions return 1,
 * writing nothing, when given a null pointer. */
#ifndef KELVANE_LAMBERT_H
#define KELVANE_LAMBERT_H

#include "kelvane/batch.h"
#include "kelvane/core.h"

/* A stand-alone Lambert zone carrying its own ellipsoid. The central meridian is stored
 * positive WEST; point longitudes are positive EAST. No operation of the library fills it.
 * The leading and spare storage are never read. */
typedef struct zoneCnstntLambert {
    unsigned char reserved[8];
    double centralMeridian; /* lambda0, rad, positive WEST */
    double falseNorthing;   /* N0, m */
    double falseEasting;    /* E0, m */
    double originLat;       /* latitude of the grid origin, rad */
    double northParallel;   /* northern standard parallel, rad */
    double southParallel;   /* southern standard parallel, rad */
    unsigned char spare[16];
    ellipsoid ell;          /* semiMajor, semiMinor and ecc are read */
} zoneCnstntLambert;

KELVANE_C_BEGIN

/* Geographic (lat, lon) to grid: writes northing, easting, gridScale and convergence.
 * Returns 1 without writing anything when the ellipsoid's semiMinor or semiMajor is 0,
 * or when the two standard parallels coincide (a tangent cone is not supported). */
KELVANE_API int geod2Lambert(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt);

/* Grid (northing, easting) to geographic: writes lat, lon, gridScale and convergence.
 * Returns 1 without writing anything when the two standard parallels coincide. */
KELVANE_API int Lambert2Geod(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt);

/* Geographic to grid on a stand-alone record, the arithmetic of geod2Lambert. In: lat, lon
 * (rad, lon positive EAST and left unchanged). Out: northing, easting, gridScale and
 * convergence. Returns 1, writing nothing, when the ellipsoid's semiMinor or semiMajor is
 * 0 or negative, when the standard parallels are equal (a tangent cone), at a pole or make
 * the cone constant undefined (equal and opposite), when an angle is not finite or a
 * latitude lies beyond a pole, or when any result would not be a finite number (a point
 * at the pole the cone opens away from); otherwise 0. */
KELVANE_API int latLong2XY_Lambert(zoneCnstntLambert* zl, geodCoord* pt);

/* latLong2XY_Lambert for n points (see kelvane/batch.h). In: lat, lon (rad, positive
 * EAST). Out: northing, easting, and where not NULL gridScale and convergence. A point
 * that latLong2XY_Lambert refuses gets status 1. Refused whole (-1): a NULL zl, status or
 * required column, and a record that gives no cone (the record refusals of
 * latLong2XY_Lambert: axes, eccentricity, angles, equal standard parallels). */
KELVANE_API int latLong2XY_LambertBatch(const zoneCnstntLambert* zl, size_t n, batchIn lat, batchIn lon,
                                        batchOut northing, batchOut easting, batchOut gridScale,
                                        batchOut convergence, int* status);

/* Lambert conformal conic in the t-function form, both ways, with a scale factor k0.
 * Reads from zone northParallel, southParallel, calcOriginLat (latitude of the grid
 * origin), centralMeridian (positive EAST here), scaleFactor, falseNorthing and
 * falseEasting, and from ell semiMajor and ecc; projection, originLat and originLon are
 * ignored. Equal standard parallels give the one-parallel cone with n = sin(calcOriginLat).
 *
 * direction 1: y = latitude, x = longitude (rad, positive EAST) -> outX = easting,
 * outY = northing, outScale = scale factor, outConvergence = convergence (rad).
 * Any other direction: y = northing, x = easting -> outX = longitude (positive EAST),
 * outY = latitude, outScale, outConvergence.
 *
 * The inverse latitude is found by fixed-point iteration from the sphere's answer, which
 * stops when a step is below 1e-7 rad (the result is then within about 1e-9 rad) and runs
 * at most 30 steps: when it has not converged by then (only for input far outside the
 * cone), the 30th iterate is returned as it stands. Nothing is checked and there is no
 * status: bad input gives NaN or infinities in the outputs. All four outputs are always
 * written; a null output pointer is skipped, and a null ell or zone writes nothing. */
KELVANE_API void lambert_calc(ellipsoid* ell, zoneCnstnt* zone, double y, double x, double* outX,
                              double* outY, double* outScale, double* outConvergence, int direction);

/* lambert_calc for n points in one direction (see kelvane/batch.h): y and x in, outX and
 * outY out (required), outScale and outConvergence where not NULL. lambert_calc checks
 * nothing, so every status is 0 (bad input gives NaN). Refused whole (-1): a NULL ell,
 * zone, status or required column. */
KELVANE_API int lambert_calcBatch(ellipsoid* ell, zoneCnstnt* zone, size_t n, batchIn y, batchIn x,
                                  batchOut outX, batchOut outY, batchOut outScale, batchOut outConvergence,
                                  int direction, int* status);

/* Arc-to-chord correction T (rad) of the line from p1 to p2, at p1, from the points' lat
 * and lon (positive west). Returns 0, or 1 without writing *result when the standard
 * parallels coincide (or a pointer is null). */
KELVANE_API int lambertArcToChord(ellipsoid* ell, zoneCnstnt* zone, geodCoord* p1, geodCoord* p2,
                                  double* result);

KELVANE_C_END

#ifdef __cplusplus
#include <cstddef>
static_assert(sizeof(zoneCnstntLambert) == 184, "zoneCnstntLambert is 184 bytes");
static_assert(offsetof(zoneCnstntLambert, centralMeridian) == 8 && offsetof(zoneCnstntLambert, falseNorthing) == 16 &&
              offsetof(zoneCnstntLambert, falseEasting) == 24 && offsetof(zoneCnstntLambert, originLat) == 32 &&
              offsetof(zoneCnstntLambert, northParallel) == 40 && offsetof(zoneCnstntLambert, southParallel) == 48 &&
              offsetof(zoneCnstntLambert, spare) == 56 && offsetof(zoneCnstntLambert, ell) == 72,
              "zoneCnstntLambert field offsets");
#endif

#endif /* KELVANE_LAMBERT_H */
