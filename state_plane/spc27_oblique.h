// SPCS 27 Alaska zone 1 (kind 2): an oblique Mercator whose constants are all literals.
#ifndef KELVANE_STATE_PLANE_SPC27_OBLIQUE_H
#define KELVANE_STATE_PLANE_SPC27_OBLIQUE_H

#include "kelvane/core.h"

namespace kelvane {

// lat, lon (west-positive) -> northing, easting (US survey feet), gridScale, convergence.
void geod2SPC27OM(geodCoord* point);
// northing, easting -> lat, lon (west-positive), gridScale, convergence.
void SPC27OM2Geod(geodCoord* point);

} // namespace kelvane

#endif
