// The projection benchmarks' batch: points spread over a grid's area with the library's
// forward result, and, where PROJ is available, one PROJ transformation timed on the same
// points in the same run, reporting its largest difference from the library.
#ifndef KELVANE_BENCH_GRID_BATCH_H
#define KELVANE_BENCH_GRID_BATCH_H

#include <cmath>
#include <vector>

#include "bench/point_batch.h"
#include "bench/support/peer_comparison.h"
#include "kelvane/core.h"

#ifdef KELVANE_BENCH_WITH_PROJ
#include <proj.h>
#endif

namespace kelvane::bench {

using GridPoint = BoxPoint;
const double kDeg = 4.0 * std::atan(1.0) / 180.0;

// kBatch points uniform over the area (degrees), each with its grid coordinates from
// forward(geodCoord&).
template <typename Forward>
std::vector<GridPoint> makeBatch(double latMin, double latMax, double lonMin, double lonMax, Forward forward)
{
    std::vector<GridPoint> v = pointsInBox(latMin * kDeg, latMax * kDeg, lonMin * kDeg, lonMax * kDeg);
    for (GridPoint& p : v) {
        geodCoord g{};
        g.lat = p.lat;
        g.lon = p.lon;
        forward(g);
        p.northing = g.northing;
        p.easting = g.easting;
    }
    return v;
}

inline geodCoord geographicOf(const GridPoint& p)
{
    geodCoord g{};
    g.lat = p.lat;
    g.lon = p.lon;
    return g;
}

inline geodCoord gridOf(const GridPoint& p)
{
    geodCoord g{};
    g.northing = p.northing;
    g.easting = p.easting;
    return g;
}

#ifdef KELVANE_BENCH_WITH_PROJ

// One PROJ transformation from a "+proj=..." definition (radians in, metres out).
class ProjPipeline {
public:
    explicit ProjPipeline(const char* definition) : pipeline_(definition) {}

    PJ_COORD forward(const GridPoint& p) const { return proj_trans(pipeline_.get(), PJ_FWD, proj_coord(p.lon, p.lat, 0, 0)); }
    PJ_COORD inverse(double x, double y) const { return proj_trans(pipeline_.get(), PJ_INV, proj_coord(x, y, 0, 0)); }

    // Times forward (or inverse from the x, y that grid(p) gives) over the batch, and
    // reports the largest difference from the library's grid coordinates, where mapped(p)
    // turns PROJ's output into the library's (northing, easting).
    template <typename ToProjXY, typename FromProjXY>
    void run(benchmark::State& state, const std::vector<GridPoint>& points, bool forwardDirection, ToProjXY toProj,
             FromProjXY fromProj) const
    {
        if (!pipeline_.get()) {
            state.SkipWithError("PROJ could not create the transformation");
            return;
        }
        if (forwardDirection) {
            runBatch(state, points, [this](const GridPoint& p) { return forward(p); });
            double worst = 0.0;
            for (const GridPoint& p : points) {
                double northing = 0.0, easting = 0.0;
                fromProj(forward(p), northing, easting);
                worst = std::fmax(worst, std::hypot(northing - p.northing, easting - p.easting));
            }
            state.counters["max_diff_m"] = worst;
        } else {
            runBatch(state, points, [this, &toProj](const GridPoint& p) {
                double x = 0.0, y = 0.0;
                toProj(p, x, y);
                return inverse(x, y);
            });
        }
    }

    // The same for a projection whose x is the easting and y the northing.
    void run(benchmark::State& state, const std::vector<GridPoint>& points, bool forwardDirection) const
    {
        run(
            state, points, forwardDirection,
            [](const GridPoint& p, double& x, double& y) {
                x = p.easting;
                y = p.northing;
            },
            [](const PJ_COORD& c, double& northing, double& easting) {
                northing = c.xy.y;
                easting = c.xy.x;
            });
    }

private:
    kelvane_bench::ProjPipeline pipeline_;
};

#endif // KELVANE_BENCH_WITH_PROJ

} // namespace kelvane::bench

#endif
