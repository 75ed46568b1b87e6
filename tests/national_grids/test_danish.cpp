// The eight Danish exports: WGS84 <-> the local grids through both stages.
#include <gtest/gtest.h>

#include <cmath>

#include "kelvane/danish.h"
#include "national_grids/danish_grid.h"
#include "national_grids/danish_internal.h"
#include "support/test_support.h"

namespace {

using ktest::kDeg;
using namespace kelvane::danish;

constexpr double kEarthRadius = 6378000.0;

using ToGrid = int (*)(double, double, double, double*, double*, double*);
using FromGrid = int (*)(double, double, double, double*, double*, double*);

struct System {
    const char* name;
    ToGrid to;
    FromGrid from;
};

const System kJylland = {"Jylland", latlongWGS84ToXYSys34Jylland, XYSys34Jylland2latlongWGS84};
const System kSjaelland = {"Sjaelland", latlongWGS84ToXYSys34Sjlland, XYSys34Sjlland2latlongWGS84};
const System kBornholm = {"Bornholm", latlongWGS84ToXYSys45Bornholm, XYSys34Bornholm2latlongWGS84};
const System kUtm32 = {"UTM32/ED50", latlongWGS84ToXYSys34UTM32ED50, XYSys34UTM32ED502latlongWGS84};

// WGS84 -> local -> WGS84 for points inside each polygon, heights -50 to 1800 m: half a
// millimetre in position and height (the two datum-shift sets are not exact inverses:
// 0.3 mm), two millimetres on Bornholm, where zone 32's Transverse Mercator series, six
// degrees from its central meridian, no longer inverts itself to better than 1.3 mm.
TEST(DanishExports, RoundTripsInsideEachGrid)
{
    struct Case {
        const System* system;
        double latDeg, lonDeg, h;
    };
    const Case cases[] = {
        {&kJylland, 56.2, 9.5, 40},     {&kJylland, 57.3, 10.0, -50},  {&kJylland, 55.2, 9.0, 1800},
        {&kSjaelland, 55.5, 11.8, 60},  {&kSjaelland, 55.7, 12.5, 0},  {&kSjaelland, 54.9, 11.9, 300},
        {&kBornholm, 55.1, 14.9, 80},   {&kBornholm, 55.25, 14.8, 0},  {&kUtm32, 56.0, 9.0, 40},
        {&kUtm32, 55.5, 12.0, 10},      {&kUtm32, 55.1, 14.9, 80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.system->name << " " << c.latDeg << " " << c.lonDeg);
        const double lat = c.latDeg * kDeg, lon = c.lonDeg * kDeg;
        double a = 0, b = 0, hEd50 = 0, latBack = 0, lonBack = 0, hBack = 0;
        ASSERT_EQ(c.system->to(lat, lon, c.h, &a, &b, &hEd50), 0);
        ASSERT_EQ(c.system->from(a, b, hEd50, &latBack, &lonBack, &hBack), 0);
        const double tolerance = c.lonDeg > 14 ? 2e-3 : 5e-4;
        EXPECT_NEAR((latBack - lat) * kEarthRadius, 0.0, tolerance);
        EXPECT_NEAR((lonBack - lon) * kEarthRadius * std::cos(lat), 0.0, tolerance);
        EXPECT_NEAR(hBack, c.h, 5e-4);
        // ED50 heights over Denmark lie within a few tens of metres of WGS84 ones.
        EXPECT_NEAR(hEd50, c.h, 60.0);
    }
}

// WGS84 coordinates of a UTM zone 32 / ED50 grid point.
void wgs84Of(double easting, double northing, double& lat, double& lon)
{
    geodCoord g{};
    ASSERT_EQ(utm32Ed50ToWgs84(easting, northing, 0.0, &g), 0);
    lat = g.lat;
    lon = g.lon;
}

TEST(DanishExports, RefusalsLeaveTheOutputsUntouched)
{
    struct Case {
        const System* system;
        double easting, northing;
        int expected;
    };
    const Case cases[] = {
        {&kJylland, 500000, 5999000, kOutsideRectangle}, // south of the rectangle
        {&kJylland, 600000, 6040000, kOutsidePolygon},   // inside it, south of the polygon
        {&kSjaelland, 700000, 6400000, kOutsideRectangle},
        {&kBornholm, 880000, 6152000, kOutsidePolygon},
    };
    for (const Case& c : cases) {
        double lat = 0, lon = 0;
        wgs84Of(c.easting, c.northing, lat, lon);
        double a = 1, b = 2, h = 3;
        EXPECT_EQ(c.system->to(lat, lon, 0.0, &a, &b, &h), c.expected) << c.system->name;
        EXPECT_EQ(a, 1);
        EXPECT_EQ(b, 2);
        EXPECT_EQ(h, 3);
    }
    // The same refusals coming back from the local grid.
    double lat = 1, lon = 2, h = 3;
    EXPECT_EQ(XYSys34Jylland2latlongWGS84(200000, 500000, 0, &lat, &lon, &h), kOutsideRectangle);
    EXPECT_EQ(XYSys34Bornholm2latlongWGS84(50000, 20000, 0, &lat, &lon, &h), kOutsidePolygon);
    EXPECT_EQ(lat, 1);
    EXPECT_EQ(lon, 2);
    EXPECT_EQ(h, 3);

    // Not a point at all, for every grid; a null output.
    const double nan = std::nan("");
    for (const System* s : {&kJylland, &kSjaelland, &kBornholm, &kUtm32}) {
        EXPECT_EQ(s->to(nan, 0.17, 0, &lat, &lon, &h), kOutsideRectangle) << s->name;
        EXPECT_EQ(s->to(0.97, HUGE_VAL, 0, &lat, &lon, &h), kOutsideRectangle) << s->name;
        EXPECT_EQ(s->to(2.0, 0.17, 0, &lat, &lon, &h), kOutsideRectangle) << s->name;
        EXPECT_EQ(s->from(nan, 6200000, 0, &lat, &lon, &h), kOutsideRectangle) << s->name;
        EXPECT_EQ(s->from(500000, 6200000, -HUGE_VAL, &lat, &lon, &h), kOutsideRectangle) << s->name;
        EXPECT_EQ(s->to(0.97, 0.17, 0, nullptr, &lon, &h), 1) << s->name;
        EXPECT_EQ(lat, 1);
        EXPECT_EQ(lon, 2);
        EXPECT_EQ(h, 3);
    }
    EXPECT_EQ(wgs84ToUtm32Ed50(0.98, 0.17, 0, nullptr), 1);
}

// A vertex of the local Jylland polygon counts as inside, coming back from the grid.
TEST(DanishExports, PolygonVertexCountsAsInside)
{
    double lat = 0, lon = 0, h = 0;
    EXPECT_EQ(XYSys34Jylland2latlongWGS84(362414.7, 100249.6, 0, &lat, &lon, &h), 0);
    EXPECT_NEAR(lat / kDeg, 55.3, 0.1);
    EXPECT_NEAR(lon / kDeg, 8.0, 0.1);
}

// The UTM zone 32 / ED50 correction passes points it has no correction for straight
// through the polynomial stage: the result is the plain first stage.
TEST(DanishExports, Utm32PassThroughOutsideTheCorrectedArea)
{
    const double points[][2] = {{780000, 6130000}, {320000, 6450000}, {500000, 5800000}};
    for (const auto& p : points) {
        geodCoord g{};
        ASSERT_EQ(utm32Ed50ToWgs84(p[0], p[1], 12.0, &g), 0);
        double lat = 0, lon = 0, h = 0;
        ASSERT_EQ(XYSys34UTM32ED502latlongWGS84(p[0], p[1], 12.0, &lat, &lon, &h), 0);
        EXPECT_EQ(lat, g.lat);
        EXPECT_EQ(lon, g.lon);
        EXPECT_EQ(h, g.elev);
        double e = 0, n = 0, hEd50 = 0;
        ASSERT_EQ(latlongWGS84ToXYSys34UTM32ED50(g.lat, g.lon, g.elev, &e, &n, &hEd50), 0);
        EXPECT_NEAR(e, p[0], 5e-4);
        EXPECT_NEAR(n, p[1], 5e-4);
    }
    // Inside the corrected area the correction is a metre or so.
    geodCoord g{};
    ASSERT_EQ(utm32Ed50ToWgs84(550000, 6200000, 0.0, &g), 0);
    double e = 0, n = 0, hEd50 = 0;
    ASSERT_EQ(latlongWGS84ToXYSys34UTM32ED50(g.lat, g.lon, 0.0, &e, &n, &hEd50), 0);
    const double shift = std::hypot(e - 550000, n - 6200000);
    EXPECT_GT(shift, 0.01);
    EXPECT_LT(shift, 10.0);
}

} // namespace
