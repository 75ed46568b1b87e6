// A batch of points spread over a box, and the loop that converts the whole batch in every
// benchmark iteration and reports the CPU time per point (counter "time_per_point").
#ifndef KELVANE_BENCH_POINT_BATCH_H
#define KELVANE_BENCH_POINT_BATCH_H

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "kelvane/ellipsoids.h"
#include "kelvane/oblique_mercator.h"

namespace kelvane::bench {

constexpr std::size_t kBatch = 4096;

// GRS 80 from the library's table of named ellipsoids.
inline ellipsoid grs80()
{
    ellipsoid e{};
    initNamedEllipsoid(&e, "grs80");
    return e;
}

// Timbalai 1948 / RSO Borneo, the projection-centre oblique Mercator of the benchmarks.
inline zoneCnstntObliqueMerc rsoBorneo()
{
    const double deg = 4.0 * std::atan(1.0) / 180.0;
    zoneCnstntObliqueMerc z{};
    initEllipsoid(&z.ell, 6377298.556, 1.0 / 300.8017);
    z.centreLat = 4.0 * deg;
    z.centreLon = 115.0 * deg;
    z.azimuth = (53.0 + 18.0 / 60.0 + 56.9537 / 3600.0) * deg;
    z.rectifiedGridAngle = (53.0 + 7.0 / 60.0 + 48.3685 / 3600.0) * deg;
    z.scaleFactor = 0.99984;
    z.falseEasting = 590476.87;
    z.falseNorthing = 442857.65;
    return z;
}

struct BoxPoint {
    double lat, lon;          // radians
    double northing, easting; // filled by the benchmark's own forward projection
};

// kBatch points uniformly over [lat0, lat1] x [lon0, lon1] (radians), the same on every run.
inline std::vector<BoxPoint> pointsInBox(double lat0, double lat1, double lon0, double lon1)
{
    std::vector<BoxPoint> v(kBatch);
    std::uint64_t state = 0x2545F4914F6CDD1DULL;
    auto uniform = [&state] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) / 9007199254740992.0; // [0, 1)
    };
    for (BoxPoint& p : v) {
        p.lat = lat0 + (lat1 - lat0) * uniform();
        p.lon = lon0 + (lon1 - lon0) * uniform();
        p.northing = p.easting = 0.0;
    }
    return v;
}

template <typename Point, typename Convert>
void runBatch(benchmark::State& state, const std::vector<Point>& points, Convert convert)
{
    for (auto _ : state) {
        for (const Point& p : points) benchmark::DoNotOptimize(convert(p));
    }
    const double converted = static_cast<double>(state.iterations()) * static_cast<double>(points.size());
    state.SetItemsProcessed(static_cast<std::int64_t>(converted));
    state.counters["time_per_point"] =
        benchmark::Counter(converted, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace kelvane::bench

#endif
