// Krovak (S-JTSK on Bessel 1841) forward and inverse, ns per point over 4096 points in
// 47.5-51.5 N, 12-23 E; with PROJ, "+proj=krovak" on the same points in the same run.
#include "bench/grid_batch.h"
#include "kelvane/krovak.h"

namespace {

using kelvane::bench::GridPoint;
using kelvane::bench::kDeg;

zoneCnstntKrovakObliqueConic sjtsk()
{
    zoneCnstntKrovakObliqueConic z{};
    initEllipsoid(&z.ellipsoidDef, 6377397.155, 1.0 / 299.15281);
    z.centreLat = 49.5 * kDeg;
    z.originLon = (24.0 + 50.0 / 60.0) * kDeg;
    z.coneAxisColat = (30.0 + 17.0 / 60.0 + 17.30311 / 3600.0) * kDeg;
    z.pseudoParallelLat = 78.5 * kDeg;
    z.pseudoParallelScale = 0.9999;
    return z;
}

const std::vector<GridPoint>& batch()
{
    static const std::vector<GridPoint> points = kelvane::bench::makeBatch(47.5, 51.5, 12.0, 23.0, [](geodCoord& g) {
        zoneCnstntKrovakObliqueConic z = sjtsk();
        latLong2XY_KrovakObliqueConic(&z, &g);
    });
    return points;
}

void BM_Krovak_forward(benchmark::State& state)
{
    zoneCnstntKrovakObliqueConic z = sjtsk();
    kelvane::bench::runBatch(state, batch(), [&z](const GridPoint& p) {
        geodCoord g = kelvane::bench::geographicOf(p);
        latLong2XY_KrovakObliqueConic(&z, &g);
        return g;
    });
}
BENCHMARK(BM_Krovak_forward);

void BM_Krovak_inverse(benchmark::State& state)
{
    zoneCnstntKrovakObliqueConic z = sjtsk();
    kelvane::bench::runBatch(state, batch(), [&z](const GridPoint& p) {
        geodCoord g = kelvane::bench::gridOf(p);
        XY2latLong_KrovakObliqueConic(&z, &g);
        return g;
    });
}
BENCHMARK(BM_Krovak_inverse);

#ifdef KELVANE_BENCH_WITH_PROJ

// PROJ's Krovak gives the basic orientation with both axes negated (x = -Y, y = -X).
void projKrovak(benchmark::State& state, bool forward)
{
    static const kelvane::bench::ProjPipeline pj(
        "+proj=krovak +ellps=bessel +lat_0=49.5 +lon_0=24.83333333333333 +alpha=30.28813975277778 +k=0.9999 "
        "+x_0=0 +y_0=0");
    pj.run(
        state, batch(), forward,
        [](const GridPoint& p, double& x, double& y) {
            x = -p.northing;
            y = -p.easting;
        },
        [](const PJ_COORD& c, double& northing, double& easting) {
            northing = -c.xy.x;
            easting = -c.xy.y;
        });
}

void BM_PROJ_krovak_forward(benchmark::State& state) { projKrovak(state, true); }
BENCHMARK(BM_PROJ_krovak_forward);
void BM_PROJ_krovak_inverse(benchmark::State& state) { projKrovak(state, false); }
BENCHMARK(BM_PROJ_krovak_inverse);

#endif

} // namespace
