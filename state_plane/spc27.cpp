// The exported SPCS 27 conversions: dispatch on the zone's kind to its routine pair.
#include <cstdint>

#include "core/batch.h"
#include "kelvane/spc27.h"
#include "state_plane/spc27_alaska.h"
#include "state_plane/spc27_lambert.h"
#include "state_plane/spc27_oblique.h"
#include "state_plane/spc27_tm.h"

namespace {

using Routine = void (*)(const zoneconstant27*, geodCoord*);

// Indexed by kind: 0 TM, 1 Lambert, 2 Alaska zone 1 (its constants are literals, so it
// takes only the point), 3 Alaska zones 2 to 9.
constexpr Routine kForward[4] = {
    kelvane::geod2SPC27TM, kelvane::geod2SPC27Lambert,
    [](const zoneconstant27*, geodCoord* point) { kelvane::geod2SPC27OM(point); }, kelvane::geod2SPC27Alaska};
constexpr Routine kInverse[4] = {
    kelvane::SPC27TM2Geod, kelvane::SPC27Lambert2Geod,
    [](const zoneconstant27*, geodCoord* point) { kelvane::SPC27OM2Geod(point); }, kelvane::SPC27Alaska2Geod};

// Kinds 0 to 3 are known; the unsigned comparison refuses negative kinds as well. A null
// zone or point is refused too, so a careless caller gets a failure rather than a crash.
int run(const Routine (&routines)[4], const zoneconstant27* zone, geodCoord* point)
{
    if (zone == nullptr || point == nullptr) return 1;
    const uint32_t kind = static_cast<uint32_t>(zone->projection);
    if (kind > 3u) return 1;
    routines[kind](zone, point);
    return 0;
}

} // namespace

int geod2SPC27(zoneconstant27* zone, geodCoord* point)
{
    return run(kForward, zone, point);
}

int SPC272Geod(zoneconstant27* zone, geodCoord* point)
{
    return run(kInverse, zone, point);
}

// The batches check the zone's kind once and run its routine for every point; the
// routines use nothing but the record's constants and never fail. A Transverse Mercator
// zone, and a Lambert zone's inverse, convert two points at a time side by side, bit for
// bit as one at a time.
namespace {

bool knownKind(const zoneconstant27* zone) { return zone && static_cast<uint32_t>(zone->projection) <= 3u; }

using PairRoutine = void (*)(const zoneconstant27*, geodCoord*);

// Indexed by kind as above; the Alaska zones go one point at a time, and so does the Lambert
// forward, a chain too short to gain from a second beside it (34 ns a point either way).
constexpr PairRoutine kForwardPair[4] = {kelvane::geod2SPC27TMPair, nullptr, nullptr, nullptr};
constexpr PairRoutine kInversePair[4] = {kelvane::SPC27TM2GeodPair, kelvane::SPC27Lambert2GeodPair, nullptr,
                                         nullptr};

// Batches over a routine and, where the kind has one, its two-point form.
template <class Points, class... Columns>
int convertAll(const zoneconstant27* zone, Routine one, PairRoutine pair, Points points, size_t n, int* status,
               Columns... columns)
{
    const auto single = [&](geodCoord& pt, std::size_t) {
        one(zone, &pt);
        return 0;
    };
    if (!pair) return points(n, status, columns..., single);
    return points(n, status, columns...,
                  [&](geodCoord* pts, int* s, std::size_t) {
                      pair(zone, pts);
                      s[0] = s[1] = 0;
                  },
                  single);
}

} // namespace

int geod2SPC27Batch(const zoneconstant27* zone, size_t n, batchIn lat, batchIn lon, batchOut northing,
                    batchOut easting, batchOut gridScale, batchOut convergence, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    if (!knownKind(zone)) return kvBatchRefused;
    return convertAll(
        zone, kForward[zone->projection], kForwardPair[zone->projection],
        [](auto&&... a) { return kelvane::batch::forwardPoints(a...); }, n, status, lat, lon, northing, easting,
        gridScale, convergence);
}

int SPC272GeodBatch(const zoneconstant27* zone, size_t n, batchIn northing, batchIn easting, batchOut lat,
                    batchOut lon, batchOut gridScale, batchOut convergence, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    if (!knownKind(zone)) return kvBatchRefused;
    return convertAll(
        zone, kInverse[zone->projection], kInversePair[zone->projection],
        [](auto&&... a) { return kelvane::batch::inversePoints(a...); }, n, status, northing, easting, lat, lon,
        gridScale, convergence);
}
