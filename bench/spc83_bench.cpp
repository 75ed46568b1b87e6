// State plane 1983 conversions, ns per point, for one zone of each projection:
// 0101 Alabama East (Transverse Mercator), 4803 Wisconsin South (Lambert) and
// 5001 Alaska Zone 1 (oblique Mercator). Each call includes the zone lookup, as a host
// sees it. With PROJ available, zone 4803 is also converted over 4096 points of the zone
// by this library and by PROJ's "+proj=lcc" alternately in the same benchmark loop, which
// reports both CPU times per point and their ratio (counters "kelvane_ns", "proj_ns",
// "ratio").
#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>
#include <string>

#include "bench/point_batch.h"
#include "kelvane/spc83.h"

#ifdef KELVANE_BENCH_WITH_PROJ
#include <proj.h>
#endif

namespace {

struct Spc83Point {
    int zone;
    double latDeg, lonDeg; // east positive
};

const Spc83Point kPoints[] = {
    {101, 32.0, -85.0},
    {4803, 42.55, -89.27},
    {5001, 57.5, -134.0},
};

geodCoord geographic(const Spc83Point& p)
{
    const double deg = 4.0 * std::atan(1.0) / 180.0;
    geodCoord g{};
    g.lat = p.latDeg * deg;
    g.lon = p.lonDeg * deg;
    return g;
}

void BM_SPC83Geod2Grid(benchmark::State& state)
{
    init83ZoneConstants();
    const Spc83Point& p = kPoints[state.range(0)];
    geodCoord g = geographic(p);
    for (auto _ : state) {
        SPC83Geod2Grid(p.zone, &g);
        benchmark::DoNotOptimize(g);
    }
    state.SetLabel("zone " + std::to_string(p.zone));
}

void BM_SPC83Grid2Geod(benchmark::State& state)
{
    init83ZoneConstants();
    const Spc83Point& p = kPoints[state.range(0)];
    geodCoord g = geographic(p);
    SPC83Geod2Grid(p.zone, &g);
    for (auto _ : state) {
        SPC83Grid2Geod(p.zone, &g);
        benchmark::DoNotOptimize(g);
    }
    state.SetLabel("zone " + std::to_string(p.zone));
}

BENCHMARK(BM_SPC83Geod2Grid)->DenseRange(0, 2);
BENCHMARK(BM_SPC83Grid2Geod)->DenseRange(0, 2);

#ifdef KELVANE_BENCH_WITH_PROJ

using kelvane::bench::BoxPoint;

// Zone 4803: points over the zone (42.3 to 44.3 N, 92.9 to 86.8 W) with their grid
// coordinates, and PROJ's definition of the same zone.
const std::vector<BoxPoint>& zone4803Points()
{
    static const std::vector<BoxPoint> points = [] {
        const double deg = 4.0 * std::atan(1.0) / 180.0;
        std::vector<BoxPoint> v = kelvane::bench::pointsInBox(42.3 * deg, 44.3 * deg, -92.9 * deg, -86.8 * deg);
        init83ZoneConstants();
        for (BoxPoint& p : v) {
            geodCoord g{};
            g.lat = p.lat;
            g.lon = p.lon;
            SPC83Geod2Grid(4803, &g);
            p.northing = g.northing;
            p.easting = g.easting;
        }
        return v;
    }();
    return points;
}

PJ* proj4803()
{
    static PJ* pj = proj_create(PJ_DEFAULT_CTX, "+proj=lcc +lat_1=42.733333333333334 +lat_2=44.06666666666667 "
                                                "+lat_0=42 +lon_0=-90 +x_0=600000 +y_0=0 +ellps=GRS80");
    return pj;
}

// CPU seconds spent by convert over the whole batch.
template <typename Convert>
double cpuSeconds(const std::vector<BoxPoint>& points, Convert convert)
{
    const std::clock_t start = std::clock();
    for (const BoxPoint& p : points) benchmark::DoNotOptimize(convert(p));
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

void zone4803AgainstProj(benchmark::State& state, PJ_DIRECTION direction)
{
    PJ* pj = proj4803();
    if (!pj) {
        state.SkipWithError("PROJ could not create the transformation");
        return;
    }
    const std::vector<BoxPoint>& points = zone4803Points();
    double ours = 0.0, theirs = 0.0, worst = 0.0;
    for (auto _ : state) {
        ours += cpuSeconds(points, [direction](const BoxPoint& p) {
            geodCoord g{};
            g.lat = p.lat, g.lon = p.lon, g.northing = p.northing, g.easting = p.easting;
            direction == PJ_FWD ? SPC83Geod2Grid(4803, &g) : SPC83Grid2Geod(4803, &g);
            return g;
        });
        theirs += cpuSeconds(points, [pj, direction](const BoxPoint& p) {
            return proj_trans(pj, direction, direction == PJ_FWD ? proj_coord(p.lon, p.lat, 0.0, 0.0)
                                                                   : proj_coord(p.easting, p.northing, 0.0, 0.0));
        });
    }
    for (const BoxPoint& p : points) { // the two do the same work: largest difference, metres
        const PJ_COORD out = proj_trans(pj, PJ_FWD, proj_coord(p.lon, p.lat, 0.0, 0.0));
        worst = std::fmax(worst, std::hypot(out.xy.x - p.easting, out.xy.y - p.northing));
    }
    const double n = static_cast<double>(state.iterations()) * static_cast<double>(points.size());
    state.counters["kelvane_ns"] = ours / n * 1e9;
    state.counters["proj_ns"] = theirs / n * 1e9;
    state.counters["ratio"] = ours / theirs;
    state.counters["max_diff_m"] = worst;
}

void BM_SPC83_4803_vs_PROJ_lcc_forward(benchmark::State& state) { zone4803AgainstProj(state, PJ_FWD); }
BENCHMARK(BM_SPC83_4803_vs_PROJ_lcc_forward);
void BM_SPC83_4803_vs_PROJ_lcc_inverse(benchmark::State& state) { zone4803AgainstProj(state, PJ_INV); }
BENCHMARK(BM_SPC83_4803_vs_PROJ_lcc_inverse);

#endif

} // namespace
