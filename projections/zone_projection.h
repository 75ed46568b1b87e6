// A zone record's projection with its constants derived once: many points then convert as
// geod2Grid and grid2Geod convert each of them, bit for bit, without deriving the zone's
// constants again for every point.
#ifndef KELVANE_PROJECTIONS_ZONE_PROJECTION_H
#define KELVANE_PROJECTIONS_ZONE_PROJECTION_H

#include "kelvane/core.h"
#include "projections/lambert/lambert.h"
#include "projections/oblique_mercator/oblique_mercator.h"
#include "projections/transverse_mercator/transverse_mercator.h"

namespace kelvane {

struct ZoneProjection {
    ellipsoid ell;
    zoneCnstnt zone;
    tm::Parameters tmP; // Transverse Mercator
    tm::SeriesConstants tmC;
    bool cone;          // Lambert: the standard parallels give a cone (lcc is set)
    LambertConstants lcc;
    ObliqueMercatorConstants omForward, omInverse; // oblique Mercator, per direction
    TrigSeries omSeries;
};

// Derives the constants of the zone's projection kind (an unknown kind derives none).
ZoneProjection zoneProjection(const ellipsoid& ell, const zoneCnstnt& zone);

// geod2Grid and the inverse routine that grid2Geod calls, on the derived constants: each
// returns the projection routine's status (1, writing nothing, for an unknown kind and
// wherever the routine itself refuses).
int zoneForward(const ZoneProjection& z, geodCoord& pt);
int zoneInverse(const ZoneProjection& z, geodCoord& pt);

// The same for four points, each with its status, bit for bit as one at a time: a Lambert
// zone converts the four side by side, a Transverse Mercator zone as two pairs side by
// side, the other kinds one at a time.
void zoneForwardGroup(const ZoneProjection& z, geodCoord (&pts)[4], int (&status)[4]);
void zoneInverseGroup(const ZoneProjection& z, geodCoord (&pts)[4], int (&status)[4]);

} // namespace kelvane

#endif
