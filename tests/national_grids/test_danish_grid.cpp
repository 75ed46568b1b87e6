// The polynomial stage of the Danish grids: the tables, the polygon test and the
// refusals and pass-throughs of transformDanishGrid.
#include <gtest/gtest.h>

#include <cmath>

#include "national_grids/danish_grid.h"
#include "national_grids/danish_internal.h"

namespace {

using namespace kelvane::danish;

// Degree, origins and constant terms of each table as the grids define them.
struct TableRow {
    Region region;
    TableDirection direction;
    int degree;
    double u0, w0, firstConstant, secondConstant;
};

constexpr TableRow kTableRows[] = {
    {kJylland, kForward, 13, 6208030.167965, 533649.794619, 176325.2943, 262190.50871},
    {kJylland, kBack, 13, 176325.080506, 262188.742761, 6208029.9895, 533651.56389},
    {kSjaelland, kForward, 9, 6142519.77241, 680161.119096, 107907.33557, 116967.18747},
    {kSjaelland, kBack, 9, 107905.132295, 116964.303712, 6142517.626, 680164.04556},
    {kBornholm, kForward, 6, 6125305.175366, 878354.943082, 51779.004699, 47022.495967},
    {kBornholm, kBack, 6, 51779.260103, 47022.563745, 6125305.4245, 878354.85387},
    {kUtm32East, kForward, 4, 6125810.306769, 877605.269066, 6125811.2678, 877605.74982},
    {kUtm32East, kBack, 4, 6125811.281773, 877605.760036, 6125810.3208, 877605.27928},
    {kUtm32West, kForward, 15, 6194672.40413, 570523.00409, 6194672.3158, 570523.09162},
    {kUtm32West, kBack, 15, 6194672.368029, 570522.986054, 6194672.4564, 570522.89852},
};

TEST(DanishPolynomialTables, EachTableGivesItsConstantTermsAtItsOrigin)
{
    for (const TableRow& row : kTableRows) {
        const PolynomialTable& t = kPolynomialTables[row.region][row.direction];
        const std::size_t n = static_cast<std::size_t>(row.degree + 1) * (row.degree + 2) / 2;
        SCOPED_TRACE(testing::Message() << "region " << row.region << " direction " << row.direction);
        ASSERT_EQ(t.size, 2 * n + 3);
        EXPECT_EQ(t.values[0], row.degree);
        EXPECT_EQ(t.values[n + 1], row.u0);
        EXPECT_EQ(t.values[2 * n + 2], row.w0);
        double first = 0, second = 0;
        ASSERT_TRUE(evaluatePolynomialTable(t, row.u0, row.w0, first, second));
        EXPECT_EQ(first, row.firstConstant);
        EXPECT_EQ(second, row.secondConstant);
    }
}

// Horner's scheme against the plain sum of c*u^i*w^j in the stored order, off the origin,
// with the linear coefficients the Jylland forward table is known by.
TEST(DanishPolynomialTables, HornerAgreesWithThePlainSumInTheStoredOrder)
{
    const PolynomialTable& t = kPolynomialTables[kJylland][kForward];
    const int d = 13;
    const std::size_t n = 105;
    EXPECT_EQ(t.values[2], 1.0001388938);                // first output, u
    EXPECT_EQ(t.values[1 + (d + 1)], -0.019979019458);   // first output, w
    EXPECT_EQ(t.values[n + 2 + 1], -1.0001375777);       // second output, w
    EXPECT_EQ(t.values[n + 2 + (d + 1)], -0.019979871258); // second output, u

    for (const TableRow& row : kTableRows) {
        const PolynomialTable& tab = kPolynomialTables[row.region][row.direction];
        const int deg = row.degree;
        const std::size_t m = static_cast<std::size_t>(deg + 1) * (deg + 2) / 2;
        const double u = 23456.7, w = -15432.1;
        double sum1 = 0, sum2 = 0;
        std::size_t k = 0;
        for (int j = 0; j <= deg; ++j)
            for (int i = 0; i <= deg - j; ++i, ++k) {
                sum1 += tab.values[1 + k] * std::pow(u, i) * std::pow(w, j);
                sum2 += tab.values[m + 2 + k] * std::pow(w, i) * std::pow(u, j);
            }
        double first = 0, second = 0;
        ASSERT_TRUE(evaluatePolynomialTable(tab, row.u0 + u, row.w0 + w, first, second));
        EXPECT_NEAR(first, sum1, 1e-6 * (1 + std::fabs(sum1)));
        EXPECT_NEAR(second, sum2, 1e-6 * (1 + std::fabs(sum2)));
    }
    const double bad[] = {13.0, 1.0, 2.0};
    double first = 7, second = 8;
    EXPECT_FALSE(evaluatePolynomialTable({bad, 3}, 0, 0, first, second));
    EXPECT_EQ(first, 7);
    EXPECT_EQ(second, 8);
}

TEST(DanishPointInPolygon, EdgesVerticesInsideAndOutside)
{
    // An L-shaped (concave) polygon, once open and once with the first vertex repeated.
    const double open[] = {6, 0, 0, 4, 0, 4, 2, 2, 2, 2, 4, 0, 4};
    const double closed[] = {7, 0, 0, 4, 0, 4, 2, 2, 2, 2, 4, 0, 4, 0, 0};
    struct Case {
        double x, y;
        int expected;
    };
    const Case cases[] = {
        {1, 1, 1},     {3, 1, 1},    {1, 3, 1},      // inside, both arms
        {3, 3, -1},    {5, 1, -1},   {-1, 1, -1},    // the notch and beyond
        {0, 0, 0},     {2, 2, 0},    {0, 4, 0},      // vertices (the closing one too)
        {2, 0, 0},     {4, 1, 0},    {0, 2.5, 0},    // edges
        {3, 2, 0},     {2, 3, 0},    {1e-9, 2, 1},   // inner edges; just inside the left edge
        {-1e-9, 2, -1}, {6, 0, -1},  {2, -1e-9, -1}, // just outside; in line with an edge
    };
    for (const double* polygon : {open, closed}) {
        for (const Case& c : cases) {
            EXPECT_EQ(pointInPolygon(polygon, &c.x, &c.y), c.expected)
                << "(" << c.x << ", " << c.y << ") with " << polygon[0] << " vertices";
        }
    }
    const double nan = std::nan(""), one = 1;
    EXPECT_EQ(pointInPolygon(open, &nan, &one), -1);
    const double degenerate[] = {2, 0, 0, 1, 1};
    EXPECT_EQ(pointInPolygon(degenerate, &one, &one), -1);
    EXPECT_EQ(pointInPolygon(nullptr, &one, &one), -1);
}

// A point of each region inside its polygon: forward, then back, lands within a
// millimetre of where it started, and the letter code gives the same numbers.
TEST(DanishGridStage, RoundTripsInsideEachRegion)
{
    struct Case {
        int system, letter;
        double northing, easting;
    };
    const Case cases[] = {
        {1, 'J', 6200000, 520000}, {1, 'j', 6350000, 540000}, {2, 'S', 6170000, 690000},
        {2, 's', 6240000, 640000}, {3, 'B', 6130000, 880000}, {3, 'b', 6120000, 870000},
        {4, 'U', 6200000, 550000}, {4, 'u', 6130000, 880000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "system " << c.system << " at " << c.northing << ", " << c.easting);
        double x = 0, y = 0, xl = 0, yl = 0, n = 0, e = 0;
        ASSERT_EQ(transformDanishGrid(c.northing, c.easting, &x, &y, c.system, 1, 0, 0), 0);
        ASSERT_EQ(transformDanishGrid(c.northing, c.easting, &xl, &yl, c.letter, 1, 0, 0), 0);
        EXPECT_EQ(x, xl);
        EXPECT_EQ(y, yl);
        ASSERT_EQ(transformDanishGrid(x, y, &n, &e, c.system, -1, 0, 0), 0);
        EXPECT_NEAR(n, c.northing, 1e-3);
        EXPECT_NEAR(e, c.easting, 1e-3);
        // x grows northward; y grows westward (the local grids) or eastward (system 4).
        double xNorth = 0, yNorth = 0, xEast = 0, yEast = 0;
        ASSERT_EQ(transformDanishGrid(c.northing + 1000, c.easting, &xNorth, &yNorth, c.system, 1, 0, 0), 0);
        ASSERT_EQ(transformDanishGrid(c.northing, c.easting + 1000, &xEast, &yEast, c.system, 1, 0, 0), 0);
        EXPECT_NEAR(xNorth - x, 1000, 30);
        EXPECT_NEAR(yEast - y, c.system == 4 ? 1000 : -1000, 30);
    }
}

TEST(DanishGridStage, RefusalsPassThroughsAndTheVertexCase)
{
    double a = 11, b = 12;
    // Jylland: just below the UTM rectangle; inside the rectangle but outside the polygon.
    EXPECT_EQ(transformDanishGrid(5999999, 500000, &a, &b, 1, 1, 0, 0), kOutsideRectangle);
    EXPECT_EQ(a, 11);
    EXPECT_EQ(b, 12);
    EXPECT_EQ(transformDanishGrid(6050000, 480000, &a, &b, 1, 1, 0, 0), kOutsidePolygon);
    EXPECT_EQ(transformDanishGrid(-50000, 200000, &a, &b, 'S', -1, 0, 0), kOutsideRectangle);
    EXPECT_EQ(transformDanishGrid(std::nan(""), 880000, &a, &b, 3, 1, 0, 0), kOutsideRectangle);
    // A vertex of the Jylland UTM polygon counts as inside.
    EXPECT_EQ(transformDanishGrid(6130000, 435000, &a, &b, 1, 1, 0, 0), 0);

    struct PassCase {
        double p, q;
        int system, direction;
    };
    const PassCase passes[] = {
        {6130000, 780000, 4, 1},  // east region, below its corrected eastings
        {6130000, 780000, 'u', -1},
        {6450000, 320000, 4, 1},  // west region, outside its polygon
        {5000000, 500000, 4, -1}, // outside the rectangle
        {6200000, 520000, 7, 1},  // unknown system
        {6200000, 520000, 'x', -1},
        {6200000, 520000, 1, 0},  // direction 0
    };
    for (const PassCase& c : passes) {
        double p = 0, q = 0;
        EXPECT_EQ(transformDanishGrid(c.p, c.q, &p, &q, c.system, c.direction, 0, 0), 0);
        EXPECT_EQ(p, c.p);
        EXPECT_EQ(q, c.q);
    }
    EXPECT_EQ(transformDanishGrid(6200000, 520000, nullptr, &b, 1, 1, 0, 0), 1);
}

// The back-transformation check: far outside the polygon (but inside the rectangle) the
// two tables no longer invert each other.
TEST(DanishGridStage, BackTransformationCheckFailsFarFromTheTables)
{
    double x = 0, y = 0;
    EXPECT_EQ(transformDanishGrid(6490000, 310000, &x, &y, 1, 1, 0, 0), kBackTransformationFailed);
}

TEST(DanishDatumStage, SevenParameterStepsUndoEachOther)
{
    geodCoord wgs{};
    wgs.easting = 3512345.678;
    wgs.northing = 623456.789;
    wgs.elev = 5248765.432;
    geodCoord ed50{}, back{};
    ASSERT_EQ(wgs84ToEd50Geocentric(wgs, &ed50), 0);
    // The two parameter sets are not exact inverses: a fifth of a millimetre apart.
    // ED50 lies about 80-120 m away from WGS84 in each axis over Denmark.
    EXPECT_NEAR(ed50.easting - wgs.easting, 85, 15);
    EXPECT_NEAR(ed50.northing - wgs.northing, 95, 15);
    EXPECT_NEAR(ed50.elev - wgs.elev, 120, 15);
    ASSERT_EQ(ed50ToWgs84Geocentric(ed50, &back), 0);
    EXPECT_NEAR(back.easting, wgs.easting, 1e-3);
    EXPECT_NEAR(back.northing, wgs.northing, 1e-3);
    EXPECT_NEAR(back.elev, wgs.elev, 1e-3);
    EXPECT_EQ(wgs84ToEd50Geocentric(wgs, nullptr), 1);
}

} // namespace
