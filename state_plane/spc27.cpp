// The exported SPCS 27 conversions: dispatch on the zone's kind to its routine pair.
#include <cstdint>

#include "kelvane/spc27.h"
#include "state_plane/spc27_alaska.h"
#include "state_plane/spc27_lambert.h"
#include "state_plane/spc27_oblique.h"
#include "state_plane/spc27_tm.h"

namespace {

// Kinds 0 to 3 are known; the unsigned comparison refuses negative kinds as well. A null
// zone or point is refused too, so a careless caller gets a failure rather than a crash.
bool convertible(const zoneconstant27* zone, const geodCoord* point)
{
    return zone != nullptr && point != nullptr && static_cast<uint32_t>(zone->projection) <= 3u;
}

} // namespace

int geod2SPC27(zoneconstant27* zone, geodCoord* point)
{
    if (!convertible(zone, point)) return 1;
    switch (zone->projection) {
    case 0: kelvane::geod2SPC27TM(zone, point); break;
    case 1: kelvane::geod2SPC27Lambert(zone, point); break;
    case 2: kelvane::geod2SPC27OM(point); break;
    default: kelvane::geod2SPC27Alaska(zone, point); break;
    }
    return 0;
}

int SPC272Geod(zoneconstant27* zone, geodCoord* point)
{
    if (!convertible(zone, point)) return 1;
    switch (zone->projection) {
    case 0: kelvane::SPC27TM2Geod(zone, point); break;
    case 1: kelvane::SPC27Lambert2Geod(zone, point); break;
    case 2: kelvane::SPC27OM2Geod(point); break;
    default: kelvane::SPC27Alaska2Geod(zone, point); break;
    }
    return 0;
}
