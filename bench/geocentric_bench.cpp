// Geocentric conversions, nanoseconds per point (counter "time_per_point"): ecef2lat over a
// batch of 4096 points spread over the globe from 100 m below the ellipsoid to 10 km
// above it, lat2ecef on the same points, and the rotation into the local frame.
//
// With PROJ available, PROJ's "+proj=cart +ellps=GRS80" inverse (proj_trans) converts the
// same points in the same program; with GeographicLib, Geocentric::Reverse on GRS80 does.
// Each peer's benchmark times the peer over the batch in every iteration and, between
// iterations, ecef2lat over the same batch, and reports "ratio_kelvane_over_peer" (this
// library's CPU time over the peer's: below 1 is faster), with the largest difference in
// latitude ("max_dlat_rad") and height ("max_dh_m") from ecef2lat's results.
#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>
#include <vector>

#include "bench/point_batch.h"
#include "bench/support/peer_comparison.h"
#include "kelvane/kelvane.h"
#ifdef KELVANE_BENCH_WITH_GEOGRAPHICLIB
#include <GeographicLib/Geocentric.hpp>
#endif

namespace {

using kelvane::bench::runBatch;

const double kPi = 4.0 * std::atan(1.0);

struct EcefPoint {
    double lat, lon, h; // radians, metres
    double X, Y, Z;
};

struct Geodetic {
    double lat, lon, h;
};

const std::vector<EcefPoint>& batch()
{
    static const std::vector<EcefPoint> points = [] {
        const auto box = kelvane::bench::pointsInBox(-kPi / 2, kPi / 2, -kPi, kPi);
        std::vector<EcefPoint> v(box.size());
        for (std::size_t i = 0; i < box.size(); ++i) {
            EcefPoint& p = v[i];
            p.lat = box[i].lat;
            p.lon = box[i].lon;
            p.h = -100.0 + 10100.0 * static_cast<double>(i % 101) / 100.0;
            lat2ecef(&p.X, &p.Y, &p.Z, p.lat, p.lon, p.h);
        }
        return v;
    }();
    return points;
}

Geodetic ours(const EcefPoint& p)
{
    Geodetic g;
    ecef2lat(p.X, p.Y, p.Z, &g.lat, &g.lon, &g.h);
    return g;
}

void BM_Ecef2Lat(benchmark::State& state) { runBatch(state, batch(), ours); }
BENCHMARK(BM_Ecef2Lat);

void BM_Lat2Ecef(benchmark::State& state)
{
    runBatch(state, batch(), [](const EcefPoint& p) {
        double xyz[3];
        lat2ecef(&xyz[0], &xyz[1], &xyz[2], p.lat, p.lon, p.h);
        return xyz[0] + xyz[1] + xyz[2];
    });
}
BENCHMARK(BM_Lat2Ecef);

void BM_LocalToLocalGeodetic(benchmark::State& state)
{
    runBatch(state, batch(), [](const EcefPoint& p) {
        double enu[3];
        localToLocalGeodetic(p.lat, p.lon, 12.5, -3.0, 7.0, &enu[0], &enu[1], &enu[2]);
        return enu[0] + enu[1] + enu[2];
    });
}
BENCHMARK(BM_LocalToLocalGeodetic);

#if defined(KELVANE_BENCH_WITH_PROJ) || defined(KELVANE_BENCH_WITH_GEOGRAPHICLIB)

// CPU seconds of convert over the whole batch.
template <typename Convert>
double batchSeconds(Convert convert)
{
    const std::clock_t start = std::clock();
    for (const EcefPoint& p : batch()) benchmark::DoNotOptimize(convert(p));
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

// Times the peer (a function of a point giving a Geodetic in radians) over the batch in
// each iteration and ecef2lat in turn between iterations, so both see the same load.
template <typename Peer>
void againstPeer(benchmark::State& state, Peer peer)
{
    const auto [peerSeconds, oursSeconds] = kelvane_bench::secondsInTurn(
        state, [&] { return batchSeconds(peer); }, [] { return batchSeconds(ours); });
    const double converted = static_cast<double>(state.iterations()) * static_cast<double>(batch().size());
    state.counters["time_per_point"] =
        benchmark::Counter(converted, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    if (peerSeconds > 0.0) state.counters["ratio_kelvane_over_peer"] = oursSeconds / peerSeconds;
    double dlat = 0.0, dh = 0.0;
    for (const EcefPoint& p : batch()) {
        const Geodetic a = ours(p), b = peer(p);
        dlat = std::fmax(dlat, std::fabs(a.lat - b.lat));
        dh = std::fmax(dh, std::fabs(a.h - b.h));
    }
    state.counters["max_dlat_rad"] = dlat;
    state.counters["max_dh_m"] = dh;
}

#endif

#ifdef KELVANE_BENCH_WITH_PROJ

void BM_PROJ_cart_inverse(benchmark::State& state)
{
    static const kelvane_bench::ProjPipeline cart("+proj=cart +ellps=GRS80");
    if (!cart.get()) {
        state.SkipWithError("PROJ could not create +proj=cart");
        return;
    }
    againstPeer(state, [](const EcefPoint& p) {
        const PJ_COORD g = proj_trans(cart.get(), PJ_INV, proj_coord(p.X, p.Y, p.Z, 0.0));
        return Geodetic{g.lpz.phi, g.lpz.lam, g.lpz.z};
    });
}
BENCHMARK(BM_PROJ_cart_inverse);

#endif

#ifdef KELVANE_BENCH_WITH_GEOGRAPHICLIB

void BM_GeographicLib_Geocentric_Reverse(benchmark::State& state)
{
    const GeographicLib::Geocentric grs80(6378137.0, 1.0 / 298.257222101);
    againstPeer(state, [&grs80](const EcefPoint& p) {
        Geodetic g;
        grs80.Reverse(p.X, p.Y, p.Z, g.lat, g.lon, g.h);
        return Geodetic{g.lat * kPi / 180.0, g.lon * kPi / 180.0, g.h};
    });
}
BENCHMARK(BM_GeographicLib_Geocentric_Reverse);

#endif

} // namespace
