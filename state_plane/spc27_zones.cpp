// The SPCS 27 zone table and its lookups.
#include "state_plane/spc27_zones.h"

#include <cstdint>

namespace kelvane {

zoneconstant27 spc27Zones[spc27::kZoneCount];

namespace {

// Row index + 1 by zone code (0: no such zone), filled with the table; codes run from 101
// to 5105.
constexpr int kMaxCode = 5105;
std::uint8_t rowOfCode[kMaxCode + 1];

// The row of a zone code in one look, or -1. Before init27ZoneConstants has built the
// table the index is empty, so no code at all is found (0 included).
int findRow(int zoneCode)
{
    if (zoneCode <= 0 || zoneCode > kMaxCode) return -1;
    return rowOfCode[zoneCode] - 1;
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
    // Codes are unique; should one repeat, the first row keeps it, as a scan in row order finds it.
    for (int i = kelvane::spc27::kZoneCount - 1; i >= 0; --i) {
        const int code = spc27Zones[i].zoneCode;
        if (code > 0 && code <= kelvane::kMaxCode) kelvane::rowOfCode[code] = static_cast<std::uint8_t>(i + 1);
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
