/* Hotine oblique Mercator on zone constants (state plane 1983 zone 5001, Alaska Zone 1).
 *
 * The zone record supplies originLat and originLon (the projection centre, longitude
 * positive WEST), centralMeridian (the azimuth of the central line at the centre,
 * clockwise from north), scaleFactor (on the central line), falseNorthing and
 * falseEasting. Point longitudes are positive WEST. Angles in radians, lengths in metres. */
#ifndef KELVANE_OBLIQUE_MERCATOR_H
#define KELVANE_OBLIQUE_MERCATOR_H

#include "kelvane/core.h"

KELVANE_C_BEGIN

/* Geographic (lat, lon) to grid: writes northing, easting, gridScale and convergence.
 * Returns 1 without writing anything when the ellipsoid's semiMinor or semiMajor is 0
 * (or for a null pointer).
 * Points where the projection is undefined (the poles, 90 degrees of aposphere longitude
 * from the natural origin) give infinities or NaN, with status 0. */
KELVANE_API int geod2OM(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt);

/* Grid (northing, easting) to geographic: writes lat, lon, gridScale and convergence.
 * Returns 0 (1 only for a null pointer). */
KELVANE_API int OM2Geod(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt);

/* Arc-to-chord correction T (rad) of the line from p1 to p2, at p1, from the points' lat
 * and lon (positive west). Returns 0, or 1 without writing *result for a null pointer. */
KELVANE_API int omArcToChord(ellipsoid* ell, zoneCnstnt* zone, geodCoord* p1, geodCoord* p2, double* result);

KELVANE_C_END

#endif /* KELVANE_OBLIQUE_MERCATOR_H */
