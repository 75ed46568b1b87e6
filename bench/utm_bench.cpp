// UTM forward and inverse, nanoseconds per point over a batch of 4096 varied points
// (every zone of both hemispheres, 80 S to 84 N, up to 3.5 degrees from the central
// meridian). Each benchmark iteration converts the whole batch; the counter
// "time_per_point" is the CPU time per point (e.g. "58.2n" is 58.2 ns). With PROJ
// available, proj_trans on "+proj=utm" runs over the same points in the same program, so
// the ratio is read off one run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "bench/point_batch.h"
#include "kelvane/kelvane.h"

#ifdef KELVANE_BENCH_WITH_PROJ
#include <proj.h>
#include <string>
#endif

namespace {

constexpr std::size_t kBatch = 4096;
const double kDeg = 4.0 * std::atan(1.0) / 180.0;

struct UtmPoint {
    int zone;                     // code 1..120
    double lat, lon;              // radians, positive east
    double northing, easting;     // the point's UTM coordinates in its zone
};

using kelvane::bench::grs80;

// The batch, the same on every run: a small linear congruential generator.
const std::vector<UtmPoint>& batch()
{
    static const std::vector<UtmPoint> points = [] {
        std::vector<UtmPoint> v(kBatch);
        std::uint64_t state = 0x2545F4914F6CDD1DULL;
        auto uniform = [&state] {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            return static_cast<double>(state >> 11) / 9007199254740992.0; // [0, 1)
        };
        ellipsoid ell = grs80();
        for (std::size_t i = 0; i < kBatch; ++i) {
            UtmPoint& p = v[i];
            const int zone = 1 + static_cast<int>(i % 60);
            const bool south = (i / 60) % 2 == 1;
            const double latDeg = south ? -80.0 * uniform() : 84.0 * uniform();
            const double lonDeg = -183.0 + 6.0 * zone + (uniform() * 7.0 - 3.5);
            p.zone = south ? zone + 60 : zone;
            p.lat = latDeg * kDeg;
            p.lon = lonDeg * kDeg;
            geodCoord g{};
            g.lat = p.lat;
            g.lon = p.lon;
            UTMGeod2Grid(p.zone, &ell, &g);
            p.northing = g.northing;
            p.easting = g.easting;
        }
        return v;
    }();
    return points;
}

// Converts the whole batch with convert(point) in every iteration and reports the time
// per point.
template <typename Convert>
void runBatch(benchmark::State& state, Convert convert)
{
    const std::vector<UtmPoint>& points = batch();
    for (auto _ : state) {
        for (const UtmPoint& p : points) benchmark::DoNotOptimize(convert(p));
    }
    const double converted = static_cast<double>(state.iterations()) * static_cast<double>(kBatch);
    state.SetItemsProcessed(static_cast<std::int64_t>(converted));
    state.counters["time_per_point"] =
        benchmark::Counter(converted, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Forward in the point's zone, or (automatic) with the zone chosen from its position.
void utmForward(benchmark::State& state, bool automatic)
{
    ellipsoid ell = grs80();
    runBatch(state, [&ell, automatic](const UtmPoint& p) {
        geodCoord g{};
        g.lat = p.lat;
        g.lon = p.lon;
        UTMGeod2Grid(automatic ? 0 : p.zone, &ell, &g);
        return g;
    });
}

void BM_UTMGeod2Grid(benchmark::State& state) { utmForward(state, false); }
BENCHMARK(BM_UTMGeod2Grid);

void BM_UTMGeod2Grid_AutoZone(benchmark::State& state) { utmForward(state, true); }
BENCHMARK(BM_UTMGeod2Grid_AutoZone);

void BM_UTMGrid2Geod(benchmark::State& state)
{
    ellipsoid ell = grs80();
    runBatch(state, [&ell](const UtmPoint& p) {
        geodCoord g{};
        g.northing = p.northing;
        g.easting = p.easting;
        UTMGrid2Geod(p.zone, &ell, &g);
        return g;
    });
}
BENCHMARK(BM_UTMGrid2Geod);

#ifdef KELVANE_BENCH_WITH_PROJ

// One PROJ transformation per zone code, made before timing starts.
class ProjZones {
public:
    ProjZones() : ctx_(proj_context_create())
    {
        for (int code = 1; code <= 120; ++code) {
            const int zone = code > 60 ? code - 60 : code;
            const std::string def = "+proj=utm +zone=" + std::to_string(zone) + (code > 60 ? " +south" : "") +
                                    " +ellps=GRS80";
            pj_[code] = proj_create(ctx_, def.c_str());
        }
    }
    ~ProjZones()
    {
        for (PJ* p : pj_) {
            if (p) proj_destroy(p);
        }
        proj_context_destroy(ctx_);
    }
    ProjZones(const ProjZones&) = delete;
    ProjZones& operator=(const ProjZones&) = delete;

    PJ* operator[](int code) const { return pj_[code]; }
    bool ok() const
    {
        for (int code = 1; code <= 120; ++code) {
            if (!pj_[code]) return false;
        }
        return true;
    }

private:
    PJ_CONTEXT* ctx_;
    PJ* pj_[121] = {};
};

const ProjZones& projZones()
{
    static const ProjZones zones;
    return zones;
}

// Largest distance between PROJ's and this library's grid coordinates over the batch, so
// that the two timings are known to do the same work.
double largestDifferenceFromProj()
{
    const ProjZones& zones = projZones();
    double worst = 0.0;
    for (const UtmPoint& p : batch()) {
        const PJ_COORD in = proj_coord(p.lon, p.lat, 0.0, 0.0);
        const PJ_COORD out = proj_trans(zones[p.zone], PJ_FWD, in);
        worst = std::fmax(worst, std::hypot(out.xy.x - p.easting, out.xy.y - p.northing));
    }
    return worst;
}

// PROJ in the point's zone, in either direction (radians in, metres out, or back).
void projUtm(benchmark::State& state, PJ_DIRECTION direction)
{
    const ProjZones& zones = projZones();
    if (!zones.ok()) {
        state.SkipWithError("PROJ could not create the UTM transformations");
        return;
    }
    runBatch(state, [&zones, direction](const UtmPoint& p) {
        const PJ_COORD in = direction == PJ_FWD ? proj_coord(p.lon, p.lat, 0.0, 0.0)
                                                : proj_coord(p.easting, p.northing, 0.0, 0.0);
        return proj_trans(zones[p.zone], direction, in);
    });
}

void BM_PROJ_utm_forward(benchmark::State& state)
{
    projUtm(state, PJ_FWD);
    state.counters["max_diff_m"] = largestDifferenceFromProj();
}
BENCHMARK(BM_PROJ_utm_forward);

void BM_PROJ_utm_inverse(benchmark::State& state) { projUtm(state, PJ_INV); }
BENCHMARK(BM_PROJ_utm_inverse);

#endif // KELVANE_BENCH_WITH_PROJ

} // namespace
