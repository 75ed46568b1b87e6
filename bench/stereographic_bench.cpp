// New Brunswick stereographic forward and inverse, ns per point over 4096 points in
// 44.5-48.1 N, 63.7-69.1 W; with PROJ, "+proj=sterea" on the same points in the same run.
#include "bench/grid_batch.h"
#include "kelvane/stereographic.h"

namespace {

using kelvane::bench::GridPoint;

const std::vector<GridPoint>& batch()
{
    static const std::vector<GridPoint> points =
        kelvane::bench::makeBatch(44.5, 48.1, -69.1, -63.7, [](geodCoord& g) { latLongToXY_newBrunswickStereographic(&g); });
    return points;
}

void BM_NewBrunswick_forward(benchmark::State& state)
{
    kelvane::bench::runBatch(state, batch(), [](const GridPoint& p) {
        geodCoord g = kelvane::bench::geographicOf(p);
        latLongToXY_newBrunswickStereographic(&g);
        return g;
    });
}
BENCHMARK(BM_NewBrunswick_forward);

void BM_NewBrunswick_inverse(benchmark::State& state)
{
    kelvane::bench::runBatch(state, batch(), [](const GridPoint& p) {
        geodCoord g = kelvane::bench::gridOf(p);
        XYToLatLong_newBrunswickStereographic(&g);
        return g;
    });
}
BENCHMARK(BM_NewBrunswick_inverse);

#ifdef KELVANE_BENCH_WITH_PROJ

void projSterea(benchmark::State& state, bool forward)
{
    static const kelvane::bench::ProjPipeline pj(
        "+proj=sterea +ellps=GRS80 +lat_0=46.5 +lon_0=-66.5 +k=0.999912 +x_0=2500000 +y_0=7500000");
    pj.run(state, batch(), forward);
}

void BM_PROJ_sterea_forward(benchmark::State& state) { projSterea(state, true); }
BENCHMARK(BM_PROJ_sterea_forward);
void BM_PROJ_sterea_inverse(benchmark::State& state) { projSterea(state, false); }
BENCHMARK(BM_PROJ_sterea_inverse);

#endif

} // namespace
