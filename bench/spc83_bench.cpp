// State plane 1983 conversions, ns per point, for one zone of each projection:
// 0101 Alabama East (Transverse Mercator), 4803 Wisconsin South (Lambert) and
// 5001 Alaska Zone 1 (oblique Mercator). Each call includes the zone lookup and the
// per-call derivation of the projection constants, as a host sees it.
#include <benchmark/benchmark.h>

#include <cmath>

#include "kelvane/spc83.h"

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

} // namespace
