// Cassini-Soldner (the Johor grid on GRS80) forward and inverse, ns per point over 4096
// points within 3.5 degrees of the central meridian, 1 S to 7 N; each call includes the
// set-up of the module-wide parameter set, as a host sees it. With PROJ, "+proj=cass" on
// the same points in the same run.
#include "bench/grid_batch.h"
#include "kelvane/cassini_soldner.h"

namespace {

using kelvane::bench::GridPoint;
using kelvane::bench::kDeg;

const double kLat0 = 2.0 + 7.0 / 60.0 + 18.04708 / 3600.0;
const double kLon0 = 103.0 + 25.0 / 60.0 + 40.57045 / 3600.0;

zoneCnstntCassini johor()
{
    zoneCnstntCassini z{};
    initEllipsoid(&z.ell, 6378137.0, 0.0033528106811836675);
    z.originLat = kLat0 * kDeg;
    z.centralMeridian = kLon0 * kDeg;
    z.falseEasting = -14810.562;
    z.falseNorthing = 8758.32;
    return z;
}

const std::vector<GridPoint>& batch()
{
    static const std::vector<GridPoint> points =
        kelvane::bench::makeBatch(-1.0, 7.0, kLon0 - 3.5, kLon0 + 3.5, [](geodCoord& g) {
            zoneCnstntCassini z = johor();
            latLong2XY_CassiniSoldner(&z, &g);
        });
    return points;
}

void BM_Cassini_forward(benchmark::State& state)
{
    zoneCnstntCassini z = johor();
    kelvane::bench::runBatch(state, batch(), [&z](const GridPoint& p) {
        geodCoord g = kelvane::bench::geographicOf(p);
        latLong2XY_CassiniSoldner(&z, &g);
        return g;
    });
}
BENCHMARK(BM_Cassini_forward);

void BM_Cassini_inverse(benchmark::State& state)
{
    zoneCnstntCassini z = johor();
    kelvane::bench::runBatch(state, batch(), [&z](const GridPoint& p) {
        geodCoord g = kelvane::bench::gridOf(p);
        XY2latLong2_CassiniSoldner(&z, &g);
        return g;
    });
}
BENCHMARK(BM_Cassini_inverse);

#ifdef KELVANE_BENCH_WITH_PROJ

void projCassini(benchmark::State& state, bool forward)
{
    static const kelvane::bench::ProjPipeline pj(
        "+proj=cass +ellps=GRS80 +lat_0=2.121679744444444 +lon_0=103.4279362361111 +x_0=-14810.562 +y_0=8758.32");
    pj.run(state, batch(), forward);
}

void BM_PROJ_cass_forward(benchmark::State& state) { projCassini(state, true); }
BENCHMARK(BM_PROJ_cass_forward);
void BM_PROJ_cass_inverse(benchmark::State& state) { projCassini(state, false); }
BENCHMARK(BM_PROJ_cass_inverse);

#endif

} // namespace
