// The SPCS 27 zone table: 130 rows in static storage, zero until init27ZoneConstants.
#ifndef KELVANE_STATE_PLANE_SPC27_ZONES_H
#define KELVANE_STATE_PLANE_SPC27_ZONES_H

#include "kelvane/spc27.h"
#include "state_plane/spc27_zone_table.h"

namespace kelvane {

// Row i is the zone whose index getSPC27ZoneIndex reports as i.
extern zoneconstant27 spc27Zones[spc27::kZoneCount];

} // namespace kelvane

#endif
