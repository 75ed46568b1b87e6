// The state plane 1983 zone catalogue: the published definitions the zone table is built
// from, the zone-name list, the process-wide table and its row setter.
#ifndef KELVANE_STATE_PLANE_SPC83_ZONES_H
#define KELVANE_STATE_PLANE_SPC83_ZONES_H

#include "kelvane/core.h"

namespace kelvane {

constexpr int kSpc83ZoneCount = 124;

// One zone as published: its code, projection kind and the six values of its row, with
// angles in decimal degrees (longitudes positive west), except the oblique zone's
// azimuth, which is given by its tangent.
struct Spc83Definition {
    int zoneCode;
    int kind;
    double d1, d2, d3, d4, d5, d6;
};

extern const Spc83Definition spc83Definitions[kSpc83ZoneCount]; // spc83_zone_table.cpp
extern const char* const spc83ZoneNames[kSpc83ZoneCount];       // spc83_zone_table.cpp

// The zone table, all zero until init83ZoneConstants fills it; read-only afterwards.
extern zoneCnstnt spc83Zones[kSpc83ZoneCount];

// Stores one row of the table (angles in radians). Kinds 0 and 2 take d1 as centralMeridian
// (the azimuth of the central line for kind 2) and d2 as scaleFactor, kind 1 takes them as
// southParallel and northParallel; all three take d3..d6 as falseNorthing, falseEasting,
// originLat and originLon. Any other kind stores only the code and kind. Not exported: the
// table belongs to the library, and hosts only read it through the operations.
void setSPC83ZoneRow(int index, int zoneCode, int kind, double d1, double d2, double d3, double d4, double d5,
                     double d6);

} // namespace kelvane

#endif
