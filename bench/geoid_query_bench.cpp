// Geoid height queries on the loaded EGM96 15' grid (1441 x 721 nodes): points spread over
// the globe (every query touches memory far from the last) and points in one small area.
// The grid is converted from the published GTX file into a scratch folder first.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "kelvane/geoid.h"
#include "bench/support/egm96_fixture.h"

namespace {

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
std::vector<Point> points(double south, double dLat, double west, double dLon)
{
    std::vector<Point> p(1 << 14);
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

void runQueries(benchmark::State& state, const std::vector<Point>& p)
{
    Egm96Model& model = Egm96Model::instance();
    if (!model.ready()) {
        state.SkipWithError(model.error().c_str());
        return;
    }
    std::size_t i = 0;
    int failed = 0;
    for (auto _ : state) {
        double h;
        failed += getElevFromGeoidGrid(p[i].lat, p[i].lon, &h) != kvGeoidOk;
        benchmark::DoNotOptimize(h);
        i = (i + 1) & (p.size() - 1);
    }
    if (failed) state.SkipWithError("a query found no height");
    state.SetItemsProcessed(state.iterations());
}

// Every latitude and longitude (west longitudes included, as hosts pass them).
void BM_GeoidQueryGlobe(benchmark::State& state)
{
    static const std::vector<Point> p = points(-89.9, 179.8, -180.0, 360.0);
    runQueries(state, p);
}
BENCHMARK(BM_GeoidQueryGlobe);

// One 0.5 by 0.5 degree area (a survey project), inside the 16-node interpolation's reach.
void BM_GeoidQuerySmallArea(benchmark::State& state)
{
    static const std::vector<Point> p = points(46.5, 0.5, 7.0, 0.5);
    runQueries(state, p);
}
BENCHMARK(BM_GeoidQuerySmallArea);

} // namespace
