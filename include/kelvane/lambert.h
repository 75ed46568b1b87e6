/* Lambert conformal conic with two standard parallels, on zone constants.
 *
 * The zone record supplies southParallel, northParallel, originLat (latitude of the
 * grid origin), originLon (central meridian, positive WEST), falseNorthing and
 * falseEasting; scaleFactor and centralMeridian are not used. Point longitudes are
 * positive WEST as well. Angles in radians, lengths in metres. Both directions return 1,
 * writing nothing, when given a null pointer. */
#ifndef KELVANE_LAMBERT_H
#define KELVANE_LAMBERT_H

#include "kelvane/core.h"

KELVANE_C_BEGIN

/* Geographic (lat, lon) to grid: writes northing, easting, gridScale and convergence.
 * Returns 1 without writing anything when the ellipsoid's semiMinor or semiMajor is 0,
 * or when the two standard parallels coincide (a tangent cone is not supported). */
KELVANE_API int geod2Lambert(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt);

/* Grid (northing, easting) to geographic: writes lat, lon, gridScale and convergence.
 * Returns 1 without writing anything when the two standard parallels coincide. */
KELVANE_API int Lambert2Geod(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt);

/* Arc-to-chord correction T (rad) of the line from p1 to p2, at p1, from the points' lat
 * and lon (positive west). Returns 0, or 1 without writing *result when the standard
 * parallels coincide (or a pointer is null). */
KELVANE_API int lambertArcToChord(ellipsoid* ell, zoneCnstnt* zone, geodCoord* p1, geodCoord* p2,
                                  double* result);

KELVANE_C_END

#endif /* KELVANE_LAMBERT_H */
