/* Zone dispatch: one pair of entry points for every projection kind of a zone record,
 * and the arc-to-chord correction (t - T) of observed horizontal angles. The correction
 * of one line is each projection's own (tmArcToChord, lambertArcToChord, omArcToChord in
 * the family headers).
 *
 * Longitudes are positive WEST, as for the projection routines these call. The
 * arc-to-chord corrections are radians. Every function here returns 1, writing nothing,
 * when given a null pointer. */
#ifndef KELVANE_DISPATCH_H
#define KELVANE_DISPATCH_H

#include "kelvane/core.h"
#include "kelvane/lambert.h"
#include "kelvane/oblique_mercator.h"
#include "kelvane/transverse_mercator.h"

KELVANE_C_BEGIN

/* Geographic to grid by the zone's projection (0 geod2TM, 1 geod2Lambert, 2 geod2OM),
 * returning that routine's status. Any other projection returns 1 and touches nothing. */
KELVANE_API int geod2Grid(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt);

/* Grid to geographic by the zone's projection (0 TM2Geod, 1 Lambert2Geod, 2 OM2Geod).
 * Returns 0 whatever the inverse routine returned; any other projection returns 1 and
 * touches nothing. */
KELVANE_API int grid2Geod(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt);

/* Arc-to-chord correction of the horizontal angle observed at station from backsight to
 * foresight: T(station, foresight) - T(station, backsight), written to *correction.
 * Transverse Mercator zones read the points' northing and easting, Lambert and oblique
 * Mercator zones their lat and lon (positive west): fill both. Returns 0; returns 1
 * without writing *correction for an unknown projection or when the correction cannot be
 * formed (a Lambert zone whose two standard parallels coincide). */
KELVANE_API int getTMT(ellipsoid* ell, zoneCnstnt* zone, geodCoord* station, geodCoord* backsight,
                       geodCoord* foresight, double* correction);

KELVANE_C_END

#endif /* KELVANE_DISPATCH_H */
