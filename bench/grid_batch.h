// Shared pieces of the per-point projection benchmarks: a fixed batch of points spread
// over a grid's area (the same on every run), a loop that converts the whole batch per
// iteration and reports the CPU time per point ("time_per_point", e.g. "58.2n"), and,
// where PROJ is available, one PROJ transformation timed on the same points.
#ifndef KELVANE_BENCH_GRID_BATCH_H
#define KELVANE_BENCH_GRID_BATCH_H

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "kelvane/core.h"

#ifdef KELVANE_BENCH_WITH_PROJ
#include <proj.h>
#endif

namespace kelvane_bench {

constexpr std::size_t kBatch = 4096;
const double kDeg = 4.0 * std::atan(1.0) / 180.0;

struct GridPoint {
    double lat, lon;          // radians, positive east
    double northing, easting; // the library's forward result
};

// kBatch points uniform over the area (degrees), each with its grid coordinates from
// forward(geodCoord&).
template <typename Forward>
std::vector<GridPoint> makeBatch(double latMin, double latMax, double lonMin, double lonMax, Forward forward)
{
    std::vector<GridPoint> v(kBatch);
    std::uint64_t state = 0x2545F4914F6CDD1DULL;
    auto uniform = [&state] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) / 9007199254740992.0; // [0, 1)
    };
    for (GridPoint& p : v) {
        geodCoord g{};
        g.lat = (latMin + (latMax - latMin) * uniform()) * kDeg;
        g.lon = (lonMin + (lonMax - lonMin) * uniform()) * kDeg;
        forward(g);
        p = GridPoint{g.lat, g.lon, g.northing, g.easting};
    }
    return v;
}

template <typename Convert>
void runBatch(benchmark::State& state, const std::vector<GridPoint>& points, Convert convert)
{
    for (auto _ : state) {
        for (const GridPoint& p : points) benchmark::DoNotOptimize(convert(p));
    }
    const double converted = static_cast<double>(state.iterations()) * static_cast<double>(points.size());
    state.SetItemsProcessed(static_cast<std::int64_t>(converted));
    state.counters["time_per_point"] =
        benchmark::Counter(converted, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

inline geodCoord geographicOf(const GridPoint& p)
{
    geodCoord g{};
    g.lat = p.lat;
    g.lon = p.lon;
    return g;
}

inline geodCoord gridOf(const GridPoint& p)
{
    geodCoord g{};
    g.northing = p.northing;
    g.easting = p.easting;
    return g;
}

#ifdef KELVANE_BENCH_WITH_PROJ

// One PROJ transformation from a "+proj=..." definition (radians in, metres out).
class ProjPipeline {
public:
    explicit ProjPipeline(const char* definition)
        : ctx_(proj_context_create()), pj_(proj_create(ctx_, definition))
    {
    }
    ~ProjPipeline()
    {
        if (pj_) proj_destroy(pj_);
        proj_context_destroy(ctx_);
    }
    ProjPipeline(const ProjPipeline&) = delete;
    ProjPipeline& operator=(const ProjPipeline&) = delete;

    PJ_COORD forward(const GridPoint& p) const { return proj_trans(pj_, PJ_FWD, proj_coord(p.lon, p.lat, 0, 0)); }
    PJ_COORD inverse(double x, double y) const { return proj_trans(pj_, PJ_INV, proj_coord(x, y, 0, 0)); }

    // Times forward (or inverse from the x, y that grid(p) gives) over the batch, and
    // reports the largest difference from the library's grid coordinates, where mapped(p)
    // turns PROJ's output into the library's (northing, easting).
    template <typename ToProjXY, typename FromProjXY>
    void run(benchmark::State& state, const std::vector<GridPoint>& points, bool forwardDirection, ToProjXY toProj,
             FromProjXY fromProj) const
    {
        if (!pj_) {
            state.SkipWithError("PROJ could not create the transformation");
            return;
        }
        if (forwardDirection) {
            runBatch(state, points, [this](const GridPoint& p) { return forward(p); });
            double worst = 0.0;
            for (const GridPoint& p : points) {
                double northing = 0.0, easting = 0.0;
                fromProj(forward(p), northing, easting);
                worst = std::fmax(worst, std::hypot(northing - p.northing, easting - p.easting));
            }
            state.counters["max_diff_m"] = worst;
        } else {
            runBatch(state, points, [this, &toProj](const GridPoint& p) {
                double x = 0.0, y = 0.0;
                toProj(p, x, y);
                return inverse(x, y);
            });
        }
    }

    // The same for a projection whose x is the easting and y the northing.
    void run(benchmark::State& state, const std::vector<GridPoint>& points, bool forwardDirection) const
    {
        run(
            state, points, forwardDirection,
            [](const GridPoint& p, double& x, double& y) {
                x = p.easting;
                y = p.northing;
            },
            [](const PJ_COORD& c, double& northing, double& easting) {
                northing = c.xy.y;
                easting = c.xy.x;
            });
    }

private:
    PJ_CONTEXT* ctx_;
    PJ* pj_;
};

#endif // KELVANE_BENCH_WITH_PROJ

} // namespace kelvane_bench

#endif
