// National grids, nanoseconds per point (counter "time_per_point") over batches of 4096
// varied points: the Hungarian EOV grid both ways over Hungary with the HD72 shift.
// With PROJ available, a PROJ pipeline doing the same work (geocentric, coordinate-frame
// Helmert, geographic, projection) runs on the same points in the same program; its
// benchmark reports the largest difference from this library ("max_diff_mm", millimetres) and the
// ratio of PROJ's time to this library's ("ratio_proj_over_kelvane", measured in the
// same benchmark over the same batch).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

#include "kelvane/kelvane.h"

#ifdef KELVANE_BENCH_WITH_PROJ
#include <proj.h>
#endif

namespace {

constexpr std::size_t kBatch = 4096;
const double kDeg = 4.0 * std::atan(1.0) / 180.0;

// A point given geographically (radians, east positive, metres) and on its grid.
struct GridPoint {
    double lat, lon, h;
    double first, second, gridH; // the grid's own coordinates as the library's exports give them
};

// Uniform numbers in [0, 1), the same on every run.
class Uniform {
public:
    double operator()()
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state_ >> 11) / 9007199254740992.0;
    }

private:
    std::uint64_t state_ = 0x2545F4914F6CDD1DULL;
};

// Times convert(point) over the whole batch in every iteration.
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

// Seconds per point of convert over the batch, best of five passes (for the ratio).
template <typename Convert>
double secondsPerPoint(const std::vector<GridPoint>& points, Convert convert)
{
    double best = 1e300;
    for (int pass = 0; pass < 5; ++pass) {
        const auto start = std::chrono::steady_clock::now();
        for (const GridPoint& p : points) benchmark::DoNotOptimize(convert(p));
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::fmin(best, elapsed.count() / static_cast<double>(points.size()));
    }
    return best;
}

struct Triple {
    double a, b, c;
    int status;
};

// ---- Hungarian EOV ----

// WGS84 -> HD72 (the negated EPSG 1448 set): m, arc-seconds, ppm.
constexpr double kHd72[7] = {-52.684, 71.194, 13.975, -0.312, -0.1063, -0.3729, -1.0191};

Triple eovForward(const GridPoint& p)
{
    Triple t{};
    t.status = latLongWGS84ToXY_EOV(p.lat, p.lon, p.h, kHd72[0], kHd72[1], kHd72[2], kHd72[3], kHd72[4],
                                    kHd72[5], kHd72[6], &t.a, &t.b, &t.c);
    return t;
}

Triple eovInverse(const GridPoint& p)
{
    Triple t{};
    t.status = EOV_XYToLatLongWGS84(p.first, p.second, p.gridH, kHd72[0], kHd72[1], kHd72[2], kHd72[3],
                                    kHd72[4], kHd72[5], kHd72[6], &t.a, &t.b, &t.c);
    return t;
}

// Over Hungary: 45.8 to 48.5 N, 16.2 to 22.8 E, heights 0 to 1000 m.
const std::vector<GridPoint>& eovBatch()
{
    static const std::vector<GridPoint> points = [] {
        std::vector<GridPoint> v(kBatch);
        Uniform uniform;
        for (GridPoint& p : v) {
            p.lat = (45.8 + 2.7 * uniform()) * kDeg;
            p.lon = (16.2 + 6.6 * uniform()) * kDeg;
            p.h = 1000.0 * uniform();
            const Triple t = eovForward(p);
            p.first = t.a;
            p.second = t.b;
            p.gridH = t.c;
        }
        return v;
    }();
    return points;
}

void BM_EOV_forward(benchmark::State& state) { runBatch(state, eovBatch(), eovForward); }
BENCHMARK(BM_EOV_forward);

void BM_EOV_inverse(benchmark::State& state) { runBatch(state, eovBatch(), eovInverse); }
BENCHMARK(BM_EOV_inverse);

#ifdef KELVANE_BENCH_WITH_PROJ

// A PROJ pipeline made once, destroyed at exit.
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
    PJ* get() const { return pj_; }

private:
    PJ_CONTEXT* ctx_;
    PJ* pj_;
};

// Times the pipeline forward over the batch; reports the largest planar difference from
// the library's (first, second) = (easting, northing) of each point and the time ratio.
template <typename Convert>
void projForward(benchmark::State& state, const ProjPipeline& pipeline, const std::vector<GridPoint>& points,
                 Convert ours, bool firstIsEasting)
{
    if (!pipeline.get()) {
        state.SkipWithError("PROJ could not create the pipeline");
        return;
    }
    auto theirs = [&pipeline](const GridPoint& p) {
        return proj_trans(pipeline.get(), PJ_FWD, proj_coord(p.lon, p.lat, p.h, 0.0));
    };
    runBatch(state, points, theirs);
    double worst = 0.0;
    for (const GridPoint& p : points) {
        const PJ_COORD out = theirs(p);
        const double e = firstIsEasting ? p.first : p.second;
        const double n = firstIsEasting ? p.second : p.first;
        worst = std::fmax(worst, std::hypot(out.xy.x - e, out.xy.y - n));
    }
    state.counters["max_diff_mm"] = 1000.0 * worst;
    state.counters["ratio_proj_over_kelvane"] = secondsPerPoint(points, theirs) / secondsPerPoint(points, ours);
}

void BM_PROJ_EOV_forward(benchmark::State& state)
{
    static const ProjPipeline pipeline(
        "+proj=pipeline +step +proj=cart +ellps=WGS84 "
        "+step +proj=helmert +x=-52.684 +y=71.194 +z=13.975 +rx=-0.312 +ry=-0.1063 +rz=-0.3729 +s=-1.0191 "
        "+convention=coordinate_frame +step +inv +proj=cart +ellps=GRS67 "
        "+step +proj=somerc +lat_0=47.14439372222222 +lon_0=19.04857177777778 +k_0=0.99993 +x_0=650000 "
        "+y_0=200000 +ellps=GRS67");
    projForward(state, pipeline, eovBatch(), eovForward, true);
}
BENCHMARK(BM_PROJ_EOV_forward);

#endif // KELVANE_BENCH_WITH_PROJ

} // namespace
