// The SPCS 27 zone table and its lookups.
#include "state_plane/spc27_zones.h"

namespace kelvane {

zoneconstant27 spc27Zones[spc27::kZoneCount];

namespace {

// Linear scan of the table in row order; -1 when no row carries the code. A row that
// init27ZoneConstants has not filled yet carries code 0 and never matches, so before the
// table is built no code at all is found (0 included).
int findRow(int zoneCode)
{
    if (zoneCode == 0) return -1;
    for (int i = 0; i < spc27::kZoneCount; ++i) {
        if (spc27Zones[i].zoneCode == zoneCode) return i;
    }
    return -1;
}

} // namespace

} // namespace kelvane

using kelvane::spc27Zones;

void init27ZoneConstants(void)
{
    for (int i = 0; i < kelvane::spc27::kZoneCount; ++i) {
        const kelvane::spc27::ZoneRow& row = kelvane::spc27::kZoneRows[i];
        zoneconstant27& zone = spc27Zones[i];
        zone.projection = row.kind;
        zone.zoneCode = row.code;
        for (int p = 0; p < 11; ++p) zone.param[p] = row.param[p];
    }
}

int initSPC27Zone(int zoneCode, zoneconstant27* zone)
{
    const int i = kelvane::findRow(zoneCode);
    if (i < 0 || zone == nullptr) return 1;
    *zone = spc27Zones[i];
    return 0;
}

int getSPC27ZoneIndex(int zoneCode, int* index)
{
    const int i = kelvane::findRow(zoneCode);
    if (i < 0 || index == nullptr) return 1;
    *index = i;
    return 0;
}
