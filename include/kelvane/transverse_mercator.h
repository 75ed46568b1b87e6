/* Transverse Mercator on zone constants, the 120 UTM zones, and the stand-alone
 * Transverse Mercator on its own record (zoneCnstntTM).
 *
 * Transverse Mercator (geod2TM, TM2Geod) works on any zone record whose projection is 0.
 * Its longitudes, and the zone's centralMeridian, are positive WEST. The series is the
 * closed NOAA NGS 5 formulation: a rectifying-latitude series for the meridian arc and
 * power series in the longitude difference (forward) or the scaled easting (inverse),
 * truncated after the sixth power of the longitude difference in northing, the seventh
 * in easting. Nothing is iterated and nothing is cached; longitudes are not reduced.
 *
 * UTM zone codes: 1..60 are the northern zones 1..60, 61..120 the southern zones 1..60
 * (code minus 60). The UTM operations take and return longitudes positive EAST.
 * Angles are radians, lengths metres. */
#ifndef KELVANE_TRANSVERSE_MERCATOR_H
#define KELVANE_TRANSVERSE_MERCATOR_H

#include "kelvane/batch.h"
#include "kelvane/core.h"

/* The zone of the stand-alone Transverse Mercator: it carries its own ellipsoid, and its
 * conversions take longitudes positive EAST (the central meridian stays positive WEST). */
typedef struct zoneCnstntTM {
    int32_t hemisphere;     /* 0 northern, any other value southern; read by initUTMZone only */
    int32_t zone;           /* UTM zone number; read by initUTMZone only */
    double centralMeridian; /* rad, positive WEST */
    double scaleFactor;     /* k0 on the central meridian */
    double falseNorthing;   /* N0, m */
    double falseEasting;    /* E0, m */
    double originLat;       /* latitude of the grid origin phi0, rad */
    double spareDouble;     /* set to 0 by initUTMZone, read by nothing */
    int32_t spareInt;       /* set to 0 by initUTMZone, read by nothing */
    ellipsoid ell;          /* the conversions read semiMajor, semiMinor and ecc */
} zoneCnstntTM;

KELVANE_C_BEGIN

/* Forward: reads pt->lat and pt->lon (positive west); writes northing, easting,
 * gridScale and convergence. Returns 0, or 1 without writing anything when
 * ell->semiMinor or ell->semiMajor is 0 (or a pointer is null). */
KELVANE_API int geod2TM(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt);

/* Inverse: reads pt->northing and pt->easting; writes lat, lon (positive west),
 * gridScale and convergence. Returns 0, or 1 without writing anything when the radius
 * of curvature at the footpoint is exactly 0 (or a pointer is null). The ellipsoid is
 * not checked: one with a zero axis gives NaN coordinates with status 0. */
KELVANE_API int TM2Geod(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt);

/* Fills the zone record of UTM zone code `zone`: projection 0, scaleFactor 0.9996,
 * falseNorthing 0, falseEasting 500000, originLat 0, and centralMeridian = originLon =
 * (183 - 6z) degrees positive west, z being the zone within its hemisphere. Other fields
 * are left as they were. The code is not validated (see invalidUTMZone). A null zc is
 * ignored. */
KELVANE_API void UTMInitializeZoneConstants(int zone, zoneCnstnt* zc);

/* Geographic -> UTM. Reads pt->lat, pt->lon (positive east). zone 0 chooses the zone
 * from the position (utmZoneFromPosition). Writes northing, easting, gridScale,
 * convergence and utmZone; lon is left as given. Southern points (even in a northern code)
 * and every point in a southern code get the false northing 10000000. The zone code is
 * not validated: a code outside 1..120 is converted on the central meridian its formula
 * gives and returns 0, as specified (check it with invalidUTMZone first). Returns 0; 1,
 * writing nothing (utmZone included), for a null pointer and for zone 0 when the position
 * has no zone (a NaN or infinite latitude or longitude, or a longitude beyond about 183
 * degrees either way: see utmZoneFromPosition). With an ellipsoid that has a zero axis
 * only utmZone is written. */
KELVANE_API int UTMGeod2Grid(int zone, ellipsoid* ell, geodCoord* pt);

/* UTM -> geographic. Reads pt->northing, pt->easting in zone code 1..120; writes lat,
 * lon (positive east), gridScale and convergence. Southern codes are converted through
 * the mirror point in the northern hemisphere (northing 10000000 - N); its scale factor
 * is the point's and its convergence is the point's with the sign changed, so both are
 * delivered for southern codes as well. Returns 0 (1, writing nothing, for a null
 * pointer). The zone code is not validated, as for UTMGeod2Grid: a code outside 1..120 is
 * converted on the central meridian its formula gives and returns 0 (check it with
 * invalidUTMZone first). */
KELVANE_API int UTMGrid2Geod(int zone, ellipsoid* ell, geodCoord* pt);

/* UTMGeod2Grid for n points (see kelvane/batch.h for columns, status and results). In:
 * lat, lon (rad, positive east). Out: northing, easting, and where not NULL gridScale,
 * convergence and utmZone (an int32 array of n: each point's zone code). zone 0 chooses
 * each point's zone from its position; a point without one (NaN, a longitude beyond about
 * 183 degrees) gets status 1. Refused whole (-1): a zone code outside 0..120, a NULL ell,
 * status or required column, or an ellipsoid with a zero axis. */
KELVANE_API int UTMGeod2GridBatch(int zone, ellipsoid* ell, size_t n, batchIn lat, batchIn lon,
                                  batchOut northing, batchOut easting, batchOut gridScale,
                                  batchOut convergence, int32_t* utmZone, int* status);

/* UTMGrid2Geod for n points in zone code 1..120 (see kelvane/batch.h). In: northing,
 * easting. Out: lat, lon (rad, positive east), and where not NULL gridScale and
 * convergence. Refused whole (-1): a zone code outside 1..120, a NULL ell, status or
 * required column, or an ellipsoid with a zero axis. */
KELVANE_API int UTMGrid2GeodBatch(int zone, ellipsoid* ell, size_t n, batchIn northing, batchIn easting,
                                  batchOut lat, batchOut lon, batchOut gridScale, batchOut convergence,
                                  int* status);

/* 1 when zone is not a UTM zone code (below 1 or above 120), else 0. */
KELVANE_API int invalidUTMZone(int zone);

/* Writes the 120 zone names, each followed by a newline, into buf (NUL-terminated).
 * Returns 0 when every name fitted, 1 when it stopped early for want of room (buf then
 * holds the names that fitted). The whole list needs size > sum of name lengths + 120. */
KELVANE_API int UTMGetZoneLstS(char* buf, int size);

/* The UTM zone code of a position (radians, longitude positive east): southern
 * latitudes get codes 61..120; a zone boundary belongs to the zone to its east, and 180
 * degrees east is kept in zone 60 (120). 0, which is no zone code, when the position has
 * no zone: a NaN or infinite latitude or longitude, or a longitude whose zone would lie
 * outside its hemisphere's 1..60 (beyond about 183 degrees either way; longitudes are
 * not reduced). */
KELVANE_API int utmZoneFromPosition(double lat, double lon);

/* The rounding of the zone choice: the integer part of x (truncated toward zero), plus 1
 * when the magnitude of the fraction is at least 0.5 (negative x included, so -0.7 gives 1).
 * NaN gives 0; values beyond the int range are clamped to it. */
KELVANE_API int roundHalfUp(double x);

/* Arc-to-chord correction T (rad) of the line from p1 to p2, at p1, from the points'
 * northing and easting. Returns 0, or 1 without writing *result for a null pointer. */
KELVANE_API int tmArcToChord(ellipsoid* ell, zoneCnstnt* zone, geodCoord* p1, geodCoord* p2, double* result);

/* Fills *zc for UTM zone 1..60: hemisphere and zone as given, scaleFactor 0.9996,
 * falseNorthing 0 (hemisphere 0) or 10000000 (any other), falseEasting 500000, originLat 0,
 * the two spare fields 0, a copy of ell, and centralMeridian (183 - 6 zone) degrees
 * positive west. Returns 1 and writes nothing for a zone outside 1..60 or a null zc. */
KELVANE_API int initUTMZone(int zone, int hemisphere, ellipsoid ell, zoneCnstntTM* zc);

/* Forward on the series of geod2TM: reads pt->lat, pt->lon (positive EAST); writes
 * northing, easting, gridScale and convergence, and leaves lon as it was. A southern zone
 * is plain Transverse Mercator with its false northing. Returns 0; returns 1 and writes
 * nothing when pt is null, when the record's semiMinor or semiMajor is 0, and (beyond
 * geod2TM) for anything that cannot give a finite answer: a non-finite input, a latitude
 * beyond +-90 degrees, an axis or scale factor that is not positive, a record field that
 * is not finite, or a result that comes out non-finite. */
KELVANE_API int latLong2XY_TransverseMercator(zoneCnstntTM zc, geodCoord* pt);

/* Inverse on the series of TM2Geod: reads pt->northing, pt->easting; writes lat, lon
 * (positive EAST), gridScale and convergence. Returns 0; returns 1 and writes nothing when
 * the footpoint radius is exactly 0, and for the bad input and non-finite results of the
 * forward direction. */
KELVANE_API int XY_TransverseMercator2latLong(zoneCnstntTM zc, geodCoord* pt);

/* The two conversions above for n points (see kelvane/batch.h). Forward: lat, lon (rad,
 * positive EAST) in; northing, easting out, gridScale and convergence where not NULL.
 * Inverse: northing, easting in; lat, lon (positive EAST) out, gridScale and convergence
 * where not NULL. A point the one-point function refuses gets status 1. Refused whole
 * (-1): a NULL zc, status or required column, and a record the conversions refuse
 * whatever the point (an axis or scale factor that is not positive, a field that is not
 * finite). */
KELVANE_API int latLong2XY_TransverseMercatorBatch(const zoneCnstntTM* zc, size_t n, batchIn lat, batchIn lon,
                                                   batchOut northing, batchOut easting, batchOut gridScale,
                                                   batchOut convergence, int* status);
KELVANE_API int XY_TransverseMercator2latLongBatch(const zoneCnstntTM* zc, size_t n, batchIn northing,
                                                   batchIn easting, batchOut lat, batchOut lon,
                                                   batchOut gridScale, batchOut convergence, int* status);

KELVANE_C_END

#ifdef __cplusplus
#include <cstddef>
static_assert(sizeof(zoneCnstntTM) == 176, "zoneCnstntTM is 176 bytes");
static_assert(offsetof(zoneCnstntTM, hemisphere) == 0 && offsetof(zoneCnstntTM, zone) == 4 &&
              offsetof(zoneCnstntTM, centralMeridian) == 8 && offsetof(zoneCnstntTM, scaleFactor) == 16 &&
              offsetof(zoneCnstntTM, falseNorthing) == 24 && offsetof(zoneCnstntTM, falseEasting) == 32 &&
              offsetof(zoneCnstntTM, originLat) == 40 && offsetof(zoneCnstntTM, spareDouble) == 48 &&
              offsetof(zoneCnstntTM, spareInt) == 56 && offsetof(zoneCnstntTM, ell) == 64,
              "zoneCnstntTM field offsets");
#endif

#endif /* KELVANE_TRANSVERSE_MERCATOR_H */
