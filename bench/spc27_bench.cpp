// State plane 1927: time per point of the forward and inverse conversion, one zone of
// each kind (0101 TM, 4204 Lambert, 5001 Alaska oblique Mercator, 5005 Alaska TM).
#include <benchmark/benchmark.h>

#include <string>

#include "kelvane/spc27.h"

namespace {

constexpr double kRadPerDeg = 0.0174532925199433;

struct Sample {
    int code;
    double latDeg;
    double lonWestDeg;
};

constexpr Sample kSamples[] = {{101, 32.0, 85.5}, {4204, 28.5, 96.0}, {5001, 57.5, 135.0}, {5005, 62.0, 152.0}};

zoneconstant27 zoneOf(const Sample& s)
{
    init27ZoneConstants();
    zoneconstant27 z{};
    initSPC27Zone(s.code, &z);
    return z;
}

// The sample point with its plane coordinates filled in.
geodCoord pointOf(zoneconstant27& z, const Sample& s)
{
    geodCoord p{};
    p.lat = s.latDeg * kRadPerDeg;
    p.lon = s.lonWestDeg * kRadPerDeg;
    geod2SPC27(&z, &p);
    return p;
}

// Times one conversion of the sample point of kind state.range(0), over and over.
void timeConversion(benchmark::State& state, int (*convert)(zoneconstant27*, geodCoord*))
{
    const Sample& s = kSamples[state.range(0)];
    zoneconstant27 z = zoneOf(s);
    geodCoord p = pointOf(z, s);
    for (auto _ : state) {
        convert(&z, &p);
        benchmark::DoNotOptimize(p);
    }
    state.SetLabel("zone " + std::to_string(s.code));
}

void BM_Spc27Forward(benchmark::State& state) { timeConversion(state, geod2SPC27); }
void BM_Spc27Inverse(benchmark::State& state) { timeConversion(state, SPC272Geod); }

} // namespace

BENCHMARK(BM_Spc27Forward)->DenseRange(0, 3);
BENCHMARK(BM_Spc27Inverse)->DenseRange(0, 3);
