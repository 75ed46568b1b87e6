// National grids, nanoseconds per point (counter "time_per_point") over batches of 4096
// varied points: each Danish grid both ways over its own area, and the Hungarian EOV grid
// both ways over Hungary with the HD72 shift.
// With PROJ available, a PROJ pipeline (geocentric, Helmert, geographic, projection) runs
// on the same points in the same program: for EOV the same work, for the Danish grids the
// first stage only (PROJ has no Danish grid polynomials). Its benchmark reports the
// largest difference from this library ("max_diff_mm", millimetres) and the ratio of
// PROJ's CPU time to this library's ("ratio_proj_over_kelvane", both timed in turn over
// the same batch in the same benchmark).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <ctime>
#include <vector>

#include "bench/support/peer_comparison.h"
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

// CPU seconds of convert over the whole batch.
template <typename Convert>
double cpuSeconds(const std::vector<GridPoint>& points, Convert convert)
{
    const std::clock_t start = std::clock();
    for (const GridPoint& p : points) benchmark::DoNotOptimize(convert(p));
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

struct Triple {
    double a, b, c;
    int status;
};

// ---- Danish grids ----

using DanishExport = int (*)(double, double, double, double*, double*, double*);

struct DanishGrid {
    DanishExport forward, inverse;
    double latMin, latMax, lonMin, lonMax; // degrees: an area well inside the grid's polygon
};

const DanishGrid kJylland = {latlongWGS84ToXYSys34Jylland, XYSys34Jylland2latlongWGS84, 55.3, 57.2, 8.6, 10.2};
const DanishGrid kSjaelland = {latlongWGS84ToXYSys34Sjlland, XYSys34Sjlland2latlongWGS84, 55.0, 56.0, 11.2, 12.4};
const DanishGrid kBornholm = {latlongWGS84ToXYSys45Bornholm, XYSys34Bornholm2latlongWGS84, 55.02, 55.25, 14.75, 15.1};
const DanishGrid kUtm32 = {latlongWGS84ToXYSys34UTM32ED50, XYSys34UTM32ED502latlongWGS84, 55.3, 57.2, 8.6, 10.2};

Triple danishForward(const DanishGrid& g, const GridPoint& p)
{
    Triple t{};
    t.status = g.forward(p.lat, p.lon, p.h, &t.a, &t.b, &t.c);
    return t;
}

// The batch of a grid: points of its area that it converts (the few refused near the
// polygon's edge are drawn again).
std::vector<GridPoint> danishBatch(const DanishGrid& g)
{
    std::vector<GridPoint> v;
    Uniform uniform;
    while (v.size() < kBatch) {
        GridPoint p{};
        p.lat = (g.latMin + (g.latMax - g.latMin) * uniform()) * kDeg;
        p.lon = (g.lonMin + (g.lonMax - g.lonMin) * uniform()) * kDeg;
        p.h = 100.0 * uniform();
        const Triple t = danishForward(g, p);
        if (t.status != 0) continue;
        p.first = t.a;
        p.second = t.b;
        p.gridH = t.c;
        v.push_back(p);
    }
    return v;
}

void danishBenchmark(benchmark::State& state, const DanishGrid& g, bool inverse)
{
    const std::vector<GridPoint> points = danishBatch(g);
    runBatch(state, points, [&g, inverse](const GridPoint& p) {
        if (!inverse) return danishForward(g, p);
        Triple t{};
        t.status = g.inverse(p.first, p.second, p.gridH, &t.a, &t.b, &t.c);
        return t;
    });
}

BENCHMARK_CAPTURE(danishBenchmark, Jylland_forward, kJylland, false);
BENCHMARK_CAPTURE(danishBenchmark, Jylland_inverse, kJylland, true);
BENCHMARK_CAPTURE(danishBenchmark, Sjaelland_forward, kSjaelland, false);
BENCHMARK_CAPTURE(danishBenchmark, Sjaelland_inverse, kSjaelland, true);
BENCHMARK_CAPTURE(danishBenchmark, Bornholm_forward, kBornholm, false);
BENCHMARK_CAPTURE(danishBenchmark, Bornholm_inverse, kBornholm, true);
BENCHMARK_CAPTURE(danishBenchmark, UTM32ED50_forward, kUtm32, false);
BENCHMARK_CAPTURE(danishBenchmark, UTM32ED50_inverse, kUtm32, true);

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

using kelvane_bench::ProjPipeline;

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
    // Each iteration times PROJ over the batch; between iterations (outside the timing)
    // this library converts the same batch, so both see the same load on the machine.
    const auto [theirsSeconds, oursSeconds] = kelvane_bench::secondsInTurn(
        state, [&] { return cpuSeconds(points, theirs); }, [&] { return cpuSeconds(points, ours); });
    const double converted = static_cast<double>(state.iterations()) * static_cast<double>(points.size());
    state.counters["time_per_point"] =
        benchmark::Counter(converted, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    double worst = 0.0;
    for (const GridPoint& p : points) {
        const PJ_COORD out = theirs(p);
        const double e = firstIsEasting ? p.first : p.second;
        const double n = firstIsEasting ? p.second : p.first;
        worst = std::fmax(worst, std::hypot(out.xy.x - e, out.xy.y - n));
    }
    state.counters["max_diff_mm"] = 1000.0 * worst;
    if (oursSeconds > 0.0) state.counters["ratio_proj_over_kelvane"] = theirsSeconds / oursSeconds;
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

// PROJ has no Danish local grid polynomials; what it can do is the first stage: the same
// shift to ED50 (its own parameters, position-vector form of the library's inverse
// rotation) and UTM zone 32. Compared with the corrected UTM 32 / ED50 export, whose
// polynomial correction moves points by up to a metre or so ("max_diff_mm").
void BM_PROJ_UTM32ED50_forward(benchmark::State& state)
{
    static const ProjPipeline pipeline(
        "+proj=pipeline +step +proj=cart +ellps=WGS84 "
        "+step +proj=helmert +x=81.0703 +y=89.3603 +z=115.7526 +rx=-0.48488 +ry=-0.02436 +rz=-0.41321 "
        "+s=0.5406452923 +convention=position_vector +step +inv +proj=cart +ellps=intl "
        "+step +proj=utm +zone=32 +ellps=intl");
    static const std::vector<GridPoint> points = danishBatch(kUtm32);
    projForward(state, pipeline, points, [](const GridPoint& p) { return danishForward(kUtm32, p); }, true);
}
BENCHMARK(BM_PROJ_UTM32ED50_forward);

#endif // KELVANE_BENCH_WITH_PROJ

} // namespace
