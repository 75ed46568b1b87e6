// The Hungarian EOV grid: the projection stage against the defining point and the IOGP
// GIGS 5105 rows (HD72 geographic), and the whole chain with and without a datum shift.
#include <gtest/gtest.h>

#include <cmath>

#include "kelvane/eov.h"
#include "national_grids/eov_internal.h"
#include "support/test_support.h"

namespace {

using ktest::kDeg;
using namespace kelvane::eov;

constexpr double kEarthRadius = 6378000.0;

// Negated EPSG 1448 "HD72 to WGS 84 (3)": the shift from WGS84 to HD72.
struct Params {
    double dx, dy, dz, rx, ry, rz, ds;
};
constexpr Params kHd72 = {-52.684, 71.194, 13.975, -0.312, -0.1063, -0.3729, -1.0191};
constexpr Params kZero = {0, 0, 0, 0, 0, 0, 0};
constexpr Params kNegatedHd72 = {52.684, -71.194, -13.975, 0.312, 0.1063, 0.3729, 1.0191};

int forward(const Params& s, double lat, double lon, double h, double& y, double& x, double& hOut)
{
    return latLongWGS84ToXY_EOV(lat, lon, h, s.dx, s.dy, s.dz, s.rx, s.ry, s.rz, s.ds, &y, &x, &hOut);
}

int inverse(const Params& s, double y, double x, double h, double& lat, double& lon, double& hOut)
{
    return EOV_XYToLatLongWGS84(y, x, h, s.dx, s.dy, s.dz, s.rx, s.ry, s.rz, s.ds, &lat, &lon, &hOut);
}

// IOGP GIGS 5105 part two (HD72 / EOV), both directions for every row (5105-27 is the
// defining point). The published values carry an offset of about a centimetre against the
// Hungarian series: 0.02 m.
TEST(EovProjection, Gigs5105Rows)
{
    struct Row {
        const char* point;
        double latDeg, lonDeg, Y, X;
    };
    const Row rows[] = {
        {"5105-24", 48.5, 16, 424714.235, 355124.6},
        {"5105-26", 47.63613472, 17.58265056, 539847.765, 255701.086},
        {"5105-27", 47.14439361, 19.04857167, 650000, 200000},
        {"5105-28", 46.87566833, 19.22342944, 663329.053, 170142.318},
        {"5105-29", 46.37030111, 20.13574056, 733651.455, 114532.099},
        {"5105-32", 48.48997472, 21.29419861, 815999.993, 351999.998},
        {"5105-35", 45.5, 16.36, 439836.709, 20816.456},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.point);
        double Y = 0, X = 0;
        projectToEov(r.latDeg * kDeg, r.lonDeg * kDeg, Y, X);
        EXPECT_NEAR(Y, r.Y, 0.02);
        EXPECT_NEAR(X, r.X, 0.02);
        double phi = 0, lambda = 0;
        unprojectFromEov(r.Y, r.X, phi, lambda);
        EXPECT_NEAR((phi - r.latDeg * kDeg) * kEarthRadius, 0.0, 0.02);
        EXPECT_NEAR((lambda - r.lonDeg * kDeg) * kEarthRadius * std::cos(phi), 0.0, 0.02);
    }
    EXPECT_EQ(sphereLatitude(kPhi0), kPhiS0);
}

// The defining centre given on the WGS84 ellipsoid (same geocentric point), zero shift.
TEST(EovChain, DefiningCentreWithoutShift)
{
    double y = 0, x = 0, h = 0;
    ASSERT_EQ(forward(kZero, 47.1443865613 * kDeg, 19.0485717778 * kDeg, 22.5717, y, x, h), 0);
    EXPECT_NEAR(y, 650000.0000, 0.002);
    EXPECT_NEAR(x, 199999.9988, 0.002);
    EXPECT_NEAR(h, 0.0, 0.001);
}

// WGS84 points computed from the GIGS HD72 points with EPSG 1448: through the shift.
TEST(EovChain, Epsg1448ShiftOfGigsPoints)
{
    struct Row {
        double lat, lon, h, libraryY, libraryX, gigsY, gigsX;
    };
    const Row rows[] = {
        {46.8754016691, 19.2223135880, 36.8464, 663329.044, 170142.304, 663329.053, 170142.318},
        {48.4897236919, 21.2930414428, 33.9724, 815999.985, 351999.988, 815999.993, 351999.998},
    };
    for (const Row& r : rows) {
        double y = 0, x = 0, h = 0;
        ASSERT_EQ(forward(kHd72, r.lat * kDeg, r.lon * kDeg, r.h, y, x, h), 0);
        EXPECT_NEAR(y, r.libraryY, 0.002);
        EXPECT_NEAR(x, r.libraryX, 0.002);
        EXPECT_NEAR(y, r.gigsY, 0.02);
        EXPECT_NEAR(x, r.gigsX, 0.02);
        EXPECT_NEAR(h, 0.0, 0.002);
        // The wrong sign moves the point by tens to hundreds of metres.
        double yWrong = 0, xWrong = 0, hWrong = 0;
        ASSERT_EQ(forward(kNegatedHd72, r.lat * kDeg, r.lon * kDeg, r.h, yWrong, xWrong, hWrong), 0);
        EXPECT_GT(std::hypot(yWrong - y, xWrong - x), 100.0);
    }
}

// Forward then inverse with the same seven values returns the point (the two latitude
// series and the two WGS84 constant sets leave under a millimetre): the inverse negates
// them itself. Handing it the negated set instead shifts twice.
TEST(EovChain, RoundTripsAndTheInverseSign)
{
    const double points[][3] = {{47.5, 19.0, 150.0}, {46.0, 16.2, 0.0}, {48.5, 22.8, 1000.0}};
    for (const Params& s : {kZero, kHd72}) {
        for (const auto& p : points) {
            double y = 0, x = 0, h = 0, lat = 0, lon = 0, hBack = 0;
            ASSERT_EQ(forward(s, p[0] * kDeg, p[1] * kDeg, p[2], y, x, h), 0);
            ASSERT_EQ(inverse(s, y, x, h, lat, lon, hBack), 0);
            EXPECT_NEAR((lat - p[0] * kDeg) * kEarthRadius, 0.0, 0.002);
            EXPECT_NEAR((lon - p[1] * kDeg) * kEarthRadius * std::cos(lat), 0.0, 0.002);
            EXPECT_NEAR(hBack, p[2], 0.001);
            if (s.dx != 0) {
                ASSERT_EQ(inverse(kNegatedHd72, y, x, h, lat, lon, hBack), 0);
                EXPECT_GT(std::hypot((lat - p[0] * kDeg) * kEarthRadius,
                                     (lon - p[1] * kDeg) * kEarthRadius * std::cos(lat)),
                          100.0);
            }
        }
    }
}

TEST(EovChain, BadInputIsRefusedWithOutputsUntouched)
{
    const double nan = std::nan(""), inf = HUGE_VAL;
    struct Case {
        double a, b, h;
        Params s;
    };
    const Case forwardCases[] = {
        {nan, 0.33, 0, kZero},        {0.82, inf, 0, kZero},         {0.82, 0.33, nan, kZero},
        {2.0, 0.33, 0, kZero},        {0.82, 3.0, 0, kZero},         {0.82, 0.33, 0, {nan, 0, 0, 0, 0, 0, 0}},
        {0.82, 0.33, 0, {0, 0, 0, 0, 0, 0, 1e300}}, {0.82, 0.33, 0, {0, 0, 0, 0, 0, 0, -1e6}},
    };
    for (const Case& c : forwardCases) {
        double y = 1, x = 2, h = 3;
        EXPECT_EQ(forward(c.s, c.a, c.b, c.h, y, x, h), 1) << c.a << " " << c.b << " " << c.h;
        EXPECT_EQ(y, 1);
        EXPECT_EQ(x, 2);
        EXPECT_EQ(h, 3);
    }
    const Case inverseCases[] = {
        {nan, 200000, 0, kZero},
        {650000, inf, 0, kZero},
        {650000, 200000, 0, {0, 0, 0, 0, 0, 0, 1e300}},
        {650000, 200000, 0, {-1e300, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : inverseCases) {
        double lat = 1, lon = 2, h = 3;
        EXPECT_EQ(inverse(c.s, c.a, c.b, c.h, lat, lon, h), 1) << c.a << " " << c.b;
        EXPECT_EQ(lat, 1);
        EXPECT_EQ(lon, 2);
        EXPECT_EQ(h, 3);
    }
    double y = 0, x = 0;
    EXPECT_EQ(latLongWGS84ToXY_EOV(0.82, 0.33, 0, 0, 0, 0, 0, 0, 0, 0, &y, &x, nullptr), 1);
}

} // namespace
