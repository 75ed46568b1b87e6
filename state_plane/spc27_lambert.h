// SPCS 27 Lambert conformal conic zones (kind 1), Clarke 1866, US survey feet.
#ifndef KELVANE_STATE_PLANE_SPC27_LAMBERT_H
#define KELVANE_STATE_PLANE_SPC27_LAMBERT_H

#include "kelvane/spc27.h"

namespace kelvane {

// lat, lon (west-positive) -> northing, easting, gridScale, convergence.
void geod2SPC27Lambert(const zoneconstant27* zone, geodCoord* point);
// northing, easting -> lat, lon (west-positive), gridScale, convergence.
void SPC27Lambert2Geod(const zoneconstant27* zone, geodCoord* point);
// The inverse for two points pts[0], pts[1], side by side, bit for bit as each alone.
void SPC27Lambert2GeodPair(const zoneconstant27* zone, geodCoord* pts);

} // namespace kelvane

#endif
