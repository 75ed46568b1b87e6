// The 16-node cubic interpolation, the cell fallback and the query on the loaded grid.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "geoid/geoid_context.h"
#include "geoid/geoid_interpolation.h"
#include "geoid_test_files.h"
#include "kelvane/geoid.h"

namespace {

using kelvane::GeoidGrid;
using kelvane::GeoidGridCell;
using kelvane::kGeoidNoData;
using kelvane::geoid::interpolateGeoidBicubic;
using kelvane::geoid::interpolateGeoidCell;

using Surface = std::function<double(double lon, double lat)>;

// An in-memory grid with west 10, south 40, 0.5 by 0.25 degree steps, E = 12, F = 10,
// whose nodes hold surface(lon, lat).
class SurfaceGrid {
public:
    static constexpr double kWest = 10.0, kSouth = 40.0, kDLon = 0.5, kDLat = 0.25;
    static constexpr int kE = 12, kF = 10;

    // In memory, or in a scratch file of folder when the memory is made to fail.
    explicit SurfaceGrid(const Surface& f, const char* folder = nullptr)
        : grid_((kelvane::gGeoidAllocationsToFail = folder ? 1 : 0,
                 kelvane::createGeoidGrid(kWest, kSouth, kDLon, kDLat, kE, kF, 1, folder ? folder : "")))
    {
        for (int r = 0; r <= kF; ++r) {
            for (int c = 0; c <= kE; ++c) {
                GeoidGridCell cell = kelvane::emptyGridCell();
                cell.value = f(lon(c), lat(r));
                cell.valid = '1';
                set(c, r, cell);
            }
        }
    }
    ~SurfaceGrid() { kelvane::destroyGeoidGrid(&grid_); }
    SurfaceGrid(const SurfaceGrid&) = delete;
    SurfaceGrid& operator=(const SurfaceGrid&) = delete;

    static double lon(double c) { return kWest + c * kDLon; }
    static double lat(double r) { return kSouth + r * kDLat; }
    GeoidGrid* get() { return grid_; }
    // The two interpolations at column c, row r (fractions between the nodes).
    double cubic(double c, double r) { return interpolateGeoidBicubic(lon(c), lat(r), grid_); }
    double cell(double c, double r) { return interpolateGeoidCell(lon(c), lat(r), grid_); }
    void set(int c, int r, const GeoidGridCell& cell) { kelvane::setGridCell(grid_, kelvane::gridNodeIndex(grid_, c, r), cell); }
    void clear(int c, int r) { set(c, r, kelvane::emptyGridCell()); }

private:
    GeoidGrid* grid_;
};

// A surface of degree three in longitude and in latitude, cross terms included.
double cubicSurface(double lon, double lat)
{
    const double x = lon - 13.0;
    const double y = lat - 41.0;
    return 12.5 + 0.8 * x - 0.3 * y + 0.07 * x * x - 0.11 * x * y + 0.9 * y * y +
           0.013 * x * x * x - 0.4 * y * y * y + 0.05 * x * x * y * y - 0.002 * x * x * x * y * y * y;
}

double plane(double lon, double lat)
{
    return 30.0 + 2.0 * lon - 3.0 * lat;
}

TEST(GeoidBicubic, ReproducesACubicSurfaceEverywhereItsNeighbourhoodIsCompleteInEitherStorage)
{
    geoid_test::ScratchFolder dir("scratch");
    const std::string path = dir.path();
    for (const char* folder : {static_cast<const char*>(nullptr), path.c_str()}) {
        SurfaceGrid g(cubicSurface, folder);
        ASSERT_EQ(g.get()->inMemory, folder ? 0 : 1);
        double worst = 0.0;
        // Cells 1 .. E-2 (columns) and 1 .. F-2 (rows) have a full 4x4 neighbourhood.
        for (double fc = 1.0; fc <= SurfaceGrid::kE - 2; fc += 0.137) {
            for (double fr = 1.0; fr <= SurfaceGrid::kF - 2; fr += 0.173) {
                const double lon = SurfaceGrid::lon(fc);
                const double lat = SurfaceGrid::lat(fr);
                worst = std::max(worst, std::fabs(interpolateGeoidBicubic(lon, lat, g.get()) - cubicSurface(lon, lat)));
            }
        }
        EXPECT_LT(worst, 1e-11);
    }
    EXPECT_EQ(dir.entryCount(), 0);
}

// The cell blend, the side rule and the inverse-distance average of the border cells all
// reproduce a plane: inside cells, on their sides, on the outer edges (where a quarter of
// the way between two nodes takes weights 1/d and 1/(3d)) and on the corner node.
TEST(GeoidCellFallback, ReproducesAPlaneInsideOnTheSidesAndOnTheOuterEdges)
{
    SurfaceGrid g(plane);
    const double E = SurfaceGrid::kE, F = SurfaceGrid::kF;
    const double points[][2] = {{5.3, 4.6}, {0.2, 0.9}, {11.5, 8.5},             // interiors
                                {5.0, 4.6}, {5.3, 4.0}, {6.0, 4.6}, {5.3, 5.0},  // on sides
                                {E, 3.0},   {E, 3.5},   {4.25, F},  {E, F}, {0.0, 2.5}}; // edges
    for (const auto& p : points) {
        const double lon = SurfaceGrid::lon(p[0]);
        const double lat = SurfaceGrid::lat(p[1]);
        EXPECT_NEAR(interpolateGeoidCell(lon, lat, g.get()), plane(lon, lat), 1e-9) << "column " << p[0] << ", row " << p[1];
        if (p[0] == E || p[1] == F) {
            EXPECT_NEAR(interpolateGeoidBicubic(lon, lat, g.get()), plane(lon, lat), 1e-9);
        }
    }
    // Just outside the grid nothing.
    EXPECT_EQ(interpolateGeoidBicubic(SurfaceGrid::lon(E) + 1e-9, SurfaceGrid::lat(3), g.get()), kGeoidNoData);
    EXPECT_EQ(interpolateGeoidBicubic(SurfaceGrid::lon(3), SurfaceGrid::kSouth - 1e-9, g.get()), kGeoidNoData);
}

TEST(GeoidCellFallback, ACornerWithoutDataLeavesOnlyTheNodesAndSidesWithData)
{
    SurfaceGrid g(plane);
    g.clear(6, 5); // north-east corner of cell (5, 4)
    EXPECT_EQ(g.cell(5.5, 4.5), kGeoidNoData);
    // On the south side both corners have data; on the north side one lacks it.
    EXPECT_NEAR(g.cell(5.5, 4.0), plane(SurfaceGrid::lon(5.5), SurfaceGrid::lat(4.0)), 1e-9);
    EXPECT_EQ(interpolateGeoidCell(SurfaceGrid::lon(5.5), SurfaceGrid::lat(5.0) - 1e-7, g.get()), kGeoidNoData);
    // The corner with data at the south-west answers for a point on it.
    EXPECT_EQ(g.cubic(5.0, 4.0), plane(SurfaceGrid::lon(5.0), SurfaceGrid::lat(4.0)));
    // All four corners without data: nothing, even on a corner.
    g.clear(5, 4);
    g.clear(6, 4);
    g.clear(5, 5);
    EXPECT_EQ(g.cubic(5.5, 4.5), kGeoidNoData);
    EXPECT_EQ(g.cell(5.0, 4.0), kGeoidNoData);
}

// A point within 1e-6 degrees of a node with data takes its value whenever the 16-node
// cubic cannot answer: in column 0 (no west neighbour), or next to a node without data,
// which switches the cubic to the cell fallback.
TEST(GeoidCellFallback, PointsWithinAMillionthOfADegreeOfANodeTakeItsValue)
{
    SurfaceGrid g(cubicSurface);
    const double node = cubicSurface(SurfaceGrid::lon(0), SurfaceGrid::lat(3));
    EXPECT_EQ(g.cubic(5e-7 / SurfaceGrid::kDLon, 3 - 6e-7 / SurfaceGrid::kDLat), node);
    EXPECT_NE(g.cubic(3e-6 / SurfaceGrid::kDLon, 3), node); // the side blend answers
    // (7, 3) is in the 4x4 neighbourhood of cell (5, 4) but not one of its corners.
    ASSERT_NEAR(g.cubic(5.3, 4.6), cubicSurface(SurfaceGrid::lon(5.3), SurfaceGrid::lat(4.6)), 1e-11);
    g.clear(7, 3);
    EXPECT_EQ(g.cubic(5.3, 4.6), g.cell(5.3, 4.6));
    EXPECT_GT(std::fabs(g.cubic(5.3, 4.6) - cubicSurface(SurfaceGrid::lon(5.3), SurfaceGrid::lat(4.6))), 1e-6);
    const double near = cubicSurface(SurfaceGrid::lon(6), SurfaceGrid::lat(4));
    EXPECT_EQ(interpolateGeoidBicubic(SurfaceGrid::lon(6) - 9e-7, SurfaceGrid::lat(4) + 9e-7, g.get()), near);
    // Farther than 1e-6 the cell blend answers: close to the node, but not the node.
    const double blend = interpolateGeoidBicubic(SurfaceGrid::lon(6) + 1e-4, SurfaceGrid::lat(4) + 1e-4, g.get());
    EXPECT_NE(blend, near);
    EXPECT_NEAR(blend, near, 1e-2);
}

TEST(GeoidInterpolation, HostilePointsAndGridsGiveNoData)
{
    SurfaceGrid g(plane);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {nan, inf, -inf, 1e308, -1e308}) EXPECT_EQ(interpolateGeoidCell(bad, bad, g.get()), kGeoidNoData);

    // Steps of zero, negative or NaN size never reach a node.
    for (double step : {0.0, -0.5, nan}) {
        GeoidGrid* odd = kelvane::createGeoidGrid(10.0, 40.0, step, step, 4, 4, 1, "");
        if (!odd) continue; // refusing such a grid outright is fine too
        for (double p : {10.0, 10.5, 9.5}) EXPECT_EQ(interpolateGeoidBicubic(p, 40.0 + (p - 10.0), odd), kGeoidNoData);
        kelvane::destroyGeoidGrid(&odd);
    }
}

TEST(GetGeoidElev, NodeValuesThatOverflowTheSumsGiveNoHeight)
{
    double h = 123.0;
    // Node values at the limit of a double overflow the interpolation: no height either.
    const std::string file = geoid_test::writeText("huge_values.grd", "40\n10\n41\n11\n1\n1\n"
                                                                       "1.7e308\n1.7e308\n1.7e308\n1.7e308\n");
    ASSERT_EQ(kelvane::loadGeoidGridFile(file.c_str()), 0);
    EXPECT_EQ(getGeoidElev(40.5, 10.5, &h), kvGeoidNoData);
    EXPECT_EQ(h, 0.0);
    EXPECT_EQ(getGeoidElev(41.0, 11.0, &h), kvGeoidOk); // on a node
    EXPECT_EQ(h, 1.7e308);
    kelvane::releaseGeoidGrid();
}

} // namespace
