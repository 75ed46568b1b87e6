// SPCS 27 Alaska zones 2 to 9 (kind 3): Transverse Mercator series with the latitude of
// origin 54° and k0 = 0.9999 built in, Clarke 1866, US survey feet.
#ifndef KELVANE_STATE_PLANE_SPC27_ALASKA_H
#define KELVANE_STATE_PLANE_SPC27_ALASKA_H

#include "kelvane/spc27.h"

namespace kelvane {

// lat, lon (west-positive) -> northing, easting, gridScale, convergence.
void geod2SPC27Alaska(const zoneconstant27* zone, geodCoord* point);
// northing, easting -> lat, lon (west-positive), gridScale, convergence.
void SPC27Alaska2Geod(const zoneconstant27* zone, geodCoord* point);

} // namespace kelvane

#endif
