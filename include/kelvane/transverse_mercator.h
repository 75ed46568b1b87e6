/* Transverse Mercator on zone constants and the 120 UTM zones.
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

#include "kelvane/core.h"

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
 * not validated. Returns 0 (1, writing nothing, for a null pointer); with an ellipsoid
 * that has a zero axis only utmZone is written. */
KELVANE_API int UTMGeod2Grid(int zone, ellipsoid* ell, geodCoord* pt);

/* UTM -> geographic. Reads pt->northing, pt->easting in zone code 1..120; writes lat,
 * lon (positive east), gridScale and convergence. Southern codes are converted through
 * the mirror point in the northern hemisphere (northing 10000000 - N); its scale factor
 * is the point's and its convergence is the point's with the sign changed, so both are
 * delivered for southern codes as well. Returns 0 (1, writing nothing, for a null
 * pointer). */
KELVANE_API int UTMGrid2Geod(int zone, ellipsoid* ell, geodCoord* pt);

/* 1 when zone is not a UTM zone code (below 1 or above 120), else 0. */
KELVANE_API int invalidUTMZone(int zone);

/* Writes the 120 zone names, each followed by a newline, into buf (NUL-terminated).
 * Returns 0 when every name fitted, 1 when it stopped early for want of room (buf then
 * holds the names that fitted). The whole list needs size > sum of name lengths + 120. */
KELVANE_API int UTMGetZoneLstS(char* buf, int size);

/* The UTM zone code of a position (radians, longitude positive east): southern
 * latitudes get codes 61..120; a zone boundary belongs to the zone to its east. */
KELVANE_API int utmZoneFromPosition(double lat, double lon);

/* The rounding of the zone choice: the integer part of x (truncated toward zero), plus 1
 * when the magnitude of the fraction is at least 0.5 (negative x included, so -0.7 gives 1).
 * NaN gives 0; values beyond the int range are clamped to it. */
KELVANE_API int roundHalfUp(double x);

/* Arc-to-chord correction T (rad) of the line from p1 to p2, at p1, from the points'
 * northing and easting. Returns 0, or 1 without writing *result for a null pointer. */
KELVANE_API int tmArcToChord(ellipsoid* ell, zoneCnstnt* zone, geodCoord* p1, geodCoord* p2, double* result);

KELVANE_C_END

#endif /* KELVANE_TRANSVERSE_MERCATOR_H */
