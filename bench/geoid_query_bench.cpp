// Geoid height queries on the loaded EGM96 15' grid (1444 x 721 nodes): 2^20 points spread
// over the globe (every query touches memory far from the last) and 2^14 points in one
// small area; counter "time_per_point" is the CPU time per query. The grid is converted
// from the published GTX file into a scratch folder first.
//
// Where the peers are installed they answer the same points in the same run: GeographicLib's
// Geoid class with its cubic interpolation and the whole grid cached in memory (its .pgm
// file is written from the same GTX file: 16-bit steps of 3 mm from -108 m, as its own
// EGM96 data set is quantised), and PROJ's vgridshift on the GTX file (bilinear). Each
// iteration times the peer over the batch and, outside the timing, this library over the
// same batch, so both see the same load on a shared machine; "ratio_kelvane_over_peer" is
// this library's CPU time over the peer's, and "max_diff_mm" the largest difference of
// the heights (different interpolations, and for GeographicLib its quantised grid).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "kelvane/geoid.h"
#include "bench/support/egm96_fixture.h"
#include "bench/support/peer_comparison.h"

#ifdef KELVANE_BENCH_WITH_GEOGRAPHICLIB
#include <GeographicLib/Geoid.hpp>
#endif
#ifdef KELVANE_BENCH_WITH_PROJ
#include <proj.h>
#endif

namespace {

const char* const kGtx = "/usr/share/proj/egm96_15.gtx";

// Opens the EGM96 model once per process and loads its grid.
class Egm96Model {
public:
    static Egm96Model& instance()
    {
        static Egm96Model model;
        return model;
    }
    bool ready() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    ~Egm96Model() { closeGeoidGrid(); }

private:
    Egm96Model()
    {
        const kelvane_bench::Egm96Folder& folder = kelvane_bench::Egm96Folder::instance();
        double h = 0.0;
        if (!folder.ready()) {
            error_ = folder.error();
        } else if (openGeoidGrid(folder.path().c_str(), kvGeoidEGM96) != 0 ||
                   getElevFromGeoidGrid(0.0, 0.0, &h) != kvGeoidOk) {
            error_ = "cannot open the converted EGM96 grid";
        }
    }

    std::string error_;
};

struct Point {
    double lat, lon;
};

// Deterministic points: latitude in [south, south + dLat), longitude in [west, west + dLon).
std::vector<Point> points(std::size_t count, double south, double dLat, double west, double dLon)
{
    std::vector<Point> p(count);
    std::uint64_t s = 0x9e3779b97f4a7c15ULL;
    auto next = [&s] {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return static_cast<double>(s >> 11) / 9007199254740992.0;
    };
    for (Point& q : p) {
        q.lat = south + dLat * next();
        q.lon = west + dLon * next();
    }
    return p;
}

// Every latitude and longitude (west longitudes included, as hosts pass them).
const std::vector<Point>& globe()
{
    static const std::vector<Point> p = points(std::size_t{1} << 20, -89.9, 179.8, -180.0, 360.0);
    return p;
}

// One 0.5 by 0.5 degree area (a survey project), inside the 16-node interpolation's reach.
const std::vector<Point>& smallArea()
{
    static const std::vector<Point> p = points(std::size_t{1} << 14, 46.5, 0.5, 7.0, 0.5);
    return p;
}

double ours(const Point& p)
{
    double h = 0.0;
    if (getElevFromGeoidGrid(p.lat, p.lon, &h) != kvGeoidOk) return NAN;
    return h;
}

void setTimePerPoint(benchmark::State& state, std::size_t batch)
{
    const double converted = static_cast<double>(state.iterations()) * static_cast<double>(batch);
    state.SetItemsProcessed(static_cast<std::int64_t>(converted));
    state.counters["time_per_point"] =
        benchmark::Counter(converted, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void runQueries(benchmark::State& state, const std::vector<Point>& p)
{
    Egm96Model& model = Egm96Model::instance();
    if (!model.ready()) {
        state.SkipWithError(model.error().c_str());
        return;
    }
    bool failed = false;
    for (auto _ : state) {
        for (const Point& q : p) {
            const double h = ours(q);
            failed = failed || std::isnan(h);
            benchmark::DoNotOptimize(h);
        }
    }
    if (failed) state.SkipWithError("a query found no height");
    setTimePerPoint(state, p.size());
}

void BM_GeoidQueryGlobe(benchmark::State& state) { runQueries(state, globe()); }
BENCHMARK(BM_GeoidQueryGlobe)->Unit(benchmark::kMillisecond);

void BM_GeoidQuerySmallArea(benchmark::State& state) { runQueries(state, smallArea()); }
BENCHMARK(BM_GeoidQuerySmallArea);

#if defined(KELVANE_BENCH_WITH_GEOGRAPHICLIB) || defined(KELVANE_BENCH_WITH_PROJ)

// CPU seconds of height(point) over the whole batch.
template <typename Height>
double cpuSeconds(const std::vector<Point>& p, Height height)
{
    const std::clock_t start = std::clock();
    for (const Point& q : p) benchmark::DoNotOptimize(height(q));
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

// Times the peer's height(point) over the batch against this library's, in turn.
template <typename Height>
void comparePeer(benchmark::State& state, const std::vector<Point>& p, Height theirs)
{
    if (!Egm96Model::instance().ready()) {
        state.SkipWithError(Egm96Model::instance().error().c_str());
        return;
    }
    const auto [theirsSeconds, oursSeconds] =
        kelvane_bench::secondsInTurn(state, [&] { return cpuSeconds(p, theirs); }, [&] { return cpuSeconds(p, ours); });
    setTimePerPoint(state, p.size());
    double worst = 0.0;
    for (const Point& q : p) worst = std::fmax(worst, std::fabs(theirs(q) - ours(q)));
    state.counters["max_diff_mm"] = 1000.0 * worst;
    if (theirsSeconds > 0.0) state.counters["ratio_kelvane_over_peer"] = oursSeconds / theirsSeconds;
}

#endif

#ifdef KELVANE_BENCH_WITH_GEOGRAPHICLIB

std::uint64_t bigEndian(const unsigned char* b, int bytes)
{
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | b[i];
    return v;
}

// Writes GeographicLib's EGM96 15' data set (egm96-15.pgm: 1440 columns from longitude 0
// eastwards, 721 rows from latitude 90 southwards, heights as offset + scale x pixel) into
// folder from the GTX grid (721 rows from the south, 1440 columns from -180). False when
// the GTX file is not that grid.
bool writeEgm96Pgm(const std::string& folder)
{
    std::FILE* in = std::fopen(kGtx, "rb");
    if (in == nullptr) return false;
    unsigned char head[40];
    std::vector<unsigned char> data(721 * 1440 * 4);
    const bool read = std::fread(head, 1, sizeof head, in) == sizeof head &&
                      std::fread(data.data(), 1, data.size(), in) == data.size();
    std::fclose(in);
    if (!read || bigEndian(head + 32, 4) != 721 || bigEndian(head + 36, 4) != 1440) return false;
    const double offset = -108.0, scale = 0.003;
    std::FILE* out = std::fopen((folder + "egm96-15.pgm").c_str(), "wb");
    if (out == nullptr) return false;
    std::fprintf(out, "P5\n# Description EGM96 15' from %s\n# Offset %g\n# Scale %g\n1440 721\n65535\n", kGtx,
                 offset, scale);
    std::vector<unsigned char> row(1440 * 2);
    for (int i = 0; i < 721; ++i) {
        const int r = 720 - i; // GTX row of latitude 90 - i/4
        for (int j = 0; j < 1440; ++j) {
            const int c = (j + 720) % 1440; // GTX column of longitude j/4
            const std::uint32_t bits = static_cast<std::uint32_t>(bigEndian(&data[4 * (r * 1440 + c)], 4));
            float v;
            std::memcpy(&v, &bits, sizeof v);
            const long pixel = std::lround((v - offset) / scale);
            const unsigned value = static_cast<unsigned>(pixel < 0 ? 0 : pixel > 65535 ? 65535 : pixel);
            row[2 * j] = static_cast<unsigned char>(value >> 8);
            row[2 * j + 1] = static_cast<unsigned char>(value & 0xff);
        }
        std::fwrite(row.data(), 1, row.size(), out);
    }
    return std::fclose(out) == 0;
}

// GeographicLib's cubic geoid on the same grid, everything cached, made once.
const GeographicLib::Geoid* geographicLibGeoid()
{
    static const GeographicLib::Geoid* geoid = []() -> const GeographicLib::Geoid* {
        const kelvane_bench::Egm96Folder& folder = kelvane_bench::Egm96Folder::instance();
        if (!folder.ready() || !writeEgm96Pgm(folder.path())) return nullptr;
        try {
            static const GeographicLib::Geoid g("egm96-15", folder.path(), true);
            g.CacheAll();
            return &g;
        } catch (const std::exception&) {
            return nullptr;
        }
    }();
    return geoid;
}

void geographicLib(benchmark::State& state, const std::vector<Point>& p)
{
    const GeographicLib::Geoid* geoid = geographicLibGeoid();
    if (geoid == nullptr) {
        state.SkipWithError("GeographicLib cannot load the EGM96 grid");
        return;
    }
    comparePeer(state, p, [geoid](const Point& q) { return (*geoid)(q.lat, q.lon); });
}

void BM_GeographicLib_GeoidQueryGlobe(benchmark::State& state) { geographicLib(state, globe()); }
BENCHMARK(BM_GeographicLib_GeoidQueryGlobe)->Unit(benchmark::kMillisecond);

void BM_GeographicLib_GeoidQuerySmallArea(benchmark::State& state) { geographicLib(state, smallArea()); }
BENCHMARK(BM_GeographicLib_GeoidQuerySmallArea);

#endif // KELVANE_BENCH_WITH_GEOGRAPHICLIB

#ifdef KELVANE_BENCH_WITH_PROJ


void proj(benchmark::State& state, const std::vector<Point>& p)
{
    // PROJ's vertical grid shift on the GTX file: the geoid height is the height it adds.
    static const kelvane_bench::ProjPipeline geoid((std::string("+proj=vgridshift +multiplier=1 +grids=") + kGtx).c_str());
    if (!geoid.get()) {
        state.SkipWithError("PROJ cannot open the EGM96 GTX grid");
        return;
    }
    const double deg = std::atan(1.0) / 45.0;
    comparePeer(state, p, [&](const Point& q) {
        return proj_trans(geoid.get(), PJ_FWD, proj_coord(q.lon * deg, q.lat * deg, 0.0, 0.0)).lpz.z;
    });
}

void BM_PROJ_GeoidQueryGlobe(benchmark::State& state) { proj(state, globe()); }
BENCHMARK(BM_PROJ_GeoidQueryGlobe)->Unit(benchmark::kMillisecond);

void BM_PROJ_GeoidQuerySmallArea(benchmark::State& state) { proj(state, smallArea()); }
BENCHMARK(BM_PROJ_GeoidQuerySmallArea);

#endif // KELVANE_BENCH_WITH_PROJ

} // namespace
