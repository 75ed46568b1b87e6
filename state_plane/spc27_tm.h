// SPCS 27 Transverse Mercator zones (kind 0), Clarke 1866, US survey feet.
#ifndef KELVANE_STATE_PLANE_SPC27_TM_H
#define KELVANE_STATE_PLANE_SPC27_TM_H

#include "kelvane/spc27.h"

namespace kelvane {

// lat, lon (west-positive) -> northing, easting, gridScale, convergence.
void geod2SPC27TM(const zoneconstant27* zone, geodCoord* point);
// northing, easting -> lat, lon (west-positive), gridScale, convergence.
void SPC27TM2Geod(const zoneconstant27* zone, geodCoord* point);
// The same for two points pts[0], pts[1], side by side, bit for bit as each alone.
void geod2SPC27TMPair(const zoneconstant27* zone, geodCoord* pts);
void SPC27TM2GeodPair(const zoneconstant27* zone, geodCoord* pts);

} // namespace kelvane

#endif
