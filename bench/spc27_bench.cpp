// State plane 1927: time per point of the forward and inverse conversion, one zone of
// each kind (0101 TM, 4204 Lambert, 5001 Alaska oblique Mercator, 5005 Alaska TM). With
// PROJ available, BM_Spc27VsProj times PROJ's projection of the same zone (Clarke 1866, US
// survey feet) on the same point in the same run, alternating with this library, and
// reports "ratio_kelvane_over_proj" and the largest difference ("max_diff_ft"; the
// published machine formulas and PROJ's exact projection differ by hundredths of a foot).
#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>
#include <string>

#include "kelvane/spc27.h"

#ifdef KELVANE_BENCH_WITH_PROJ
#include <proj.h>
#endif

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

#ifdef KELVANE_BENCH_WITH_PROJ

// The zones of kSamples as PROJ defines them (longitudes positive east).
const char* const kProjDefinitions[] = {
    "+proj=tmerc +lat_0=30.5 +lon_0=-85.83333333333333 +k=0.99996 +x_0=152400.3048006096 +y_0=0 +ellps=clrk66 "
    "+units=us-ft",
    "+proj=lcc +lat_1=28.38333333333333 +lat_2=30.28333333333333 +lat_0=27.83333333333333 +lon_0=-99 "
    "+x_0=609601.2192024384 +y_0=0 +ellps=clrk66 +units=us-ft",
    "+proj=omerc +lat_0=57 +lonc=-133.6666666666667 +alpha=323.1301023611111 +gamma=323.1301023611111 +k=0.9999 "
    "+x_0=5000000.001016002 +y_0=-5000000.001016002 +no_uoff +ellps=clrk66 +units=us-ft",
    "+proj=tmerc +lat_0=54 +lon_0=-154 +k=0.9999 +x_0=152400.3048006096 +y_0=0 +ellps=clrk66 +units=us-ft",
};

constexpr int kRepeat = 1024; // conversions per timed round

// Forward conversion of the sample point of kind state.range(0): each iteration times
// kRepeat conversions by this library, then (outside the benchmark's timing) kRepeat by PROJ.
void BM_Spc27VsProj(benchmark::State& state)
{
    const Sample& s = kSamples[state.range(0)];
    zoneconstant27 z = zoneOf(s);
    const geodCoord ours = pointOf(z, s);
    PJ* pj = proj_create(PJ_DEFAULT_CTX, kProjDefinitions[state.range(0)]);
    if (!pj) {
        state.SkipWithError("PROJ could not create the projection");
        return;
    }
    const PJ_COORD in = proj_coord(-s.lonWestDeg * kRadPerDeg, s.latDeg * kRadPerDeg, 0.0, 0.0);
    double oursSeconds = 0.0, theirsSeconds = 0.0;
    for (auto _ : state) {
        std::clock_t start = std::clock();
        for (int i = 0; i < kRepeat; ++i) {
            geodCoord p = ours;
            geod2SPC27(&z, &p);
            benchmark::DoNotOptimize(p);
        }
        oursSeconds += static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        state.PauseTiming();
        start = std::clock();
        for (int i = 0; i < kRepeat; ++i) benchmark::DoNotOptimize(proj_trans(pj, PJ_FWD, in));
        theirsSeconds += static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        state.ResumeTiming();
    }
    const PJ_COORD out = proj_trans(pj, PJ_FWD, in);
    proj_destroy(pj);
    const double converted = static_cast<double>(state.iterations()) * kRepeat;
    state.counters["time_per_point"] =
        benchmark::Counter(converted, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["proj_per_point"] = theirsSeconds / converted;
    if (theirsSeconds > 0.0) state.counters["ratio_kelvane_over_proj"] = oursSeconds / theirsSeconds;
    state.counters["max_diff_ft"] = std::hypot(out.xy.x - ours.easting, out.xy.y - ours.northing);
    state.SetLabel("zone " + std::to_string(s.code));
}

#endif

} // namespace

BENCHMARK(BM_Spc27Forward)->DenseRange(0, 3);
BENCHMARK(BM_Spc27Inverse)->DenseRange(0, 3);
#ifdef KELVANE_BENCH_WITH_PROJ
BENCHMARK(BM_Spc27VsProj)->DenseRange(0, 3);
#endif
