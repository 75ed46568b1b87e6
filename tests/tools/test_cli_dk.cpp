// kelvane dk, end to end: each system both ways, the letter forms, refusals in words.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/cli_runner.h"

using kelvane_test::lines;
using kelvane_test::numbers;
using kelvane_test::runCli;

// A point of each grid out and back through the printed digits (0.1 mm): back within
// 1e-8 degrees (2e-8 on Bornholm, six degrees from zone 32's central meridian).
TEST(CliDk, EachSystemBothWays)
{
    struct Case {
        const char* system;
        const char* point;
        double latDeg, lonDeg, h;
    };
    const Case cases[] = {
        {"jylland", "56.2 9.5 40", 56.2, 9.5, 40},
        {"Sjaelland", "55.5,11.8,60", 55.5, 11.8, 60},
        {"b", "55.1 14.9 80", 55.1, 14.9, 80},
        {"utm32ed50", "56.0 9.0 40", 56.0, 9.0, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.system);
        auto fwd = runCli(std::string("dk --system ") + c.system, std::string(c.point) + "\n");
        ASSERT_EQ(fwd.status, 0) << fwd.err;
        const std::vector<double> grid = numbers(fwd.out);
        ASSERT_EQ(grid.size(), 3u);
        EXPECT_NEAR(grid[2], c.h - 36, 10); // ED50 heights lie some 30-40 m below WGS84 ones here
        auto inv = runCli(std::string("dk --inverse --system ") + c.system, fwd.out);
        ASSERT_EQ(inv.status, 0) << inv.err;
        const std::vector<double> back = numbers(inv.out);
        ASSERT_EQ(back.size(), 3u);
        const double tolerance = c.lonDeg > 14 ? 2e-8 : 1e-8;
        EXPECT_NEAR(back[0], c.latDeg, tolerance);
        EXPECT_NEAR(back[1], c.lonDeg, tolerance);
        EXPECT_NEAR(back[2], c.h, 1e-3);
    }
    // Local grids write x (north) before y (west); UTM northing before easting.
    const std::vector<double> local = numbers(runCli("dk --system j", "56.2 9.5 40\n").out);
    ASSERT_EQ(local.size(), 3u);
    EXPECT_NEAR(local[0], 197000, 2000);
    EXPECT_NEAR(local[1], 264000, 2000);
    const std::vector<double> utm = numbers(runCli("dk --system u", "56.0 9.0 40\n").out);
    ASSERT_EQ(utm.size(), 3u);
    EXPECT_NEAR(utm[0], 6207000, 3000);
    EXPECT_NEAR(utm[1], 500000, 1000);
}

// Each refusal is named in words with its line number; the other lines are converted.
TEST(CliDk, RefusedLinesInWords)
{
    auto r = runCli("dk --system jylland", "56.2 9.5 40\n54 9 0\n56.2 9.5\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("line 2: outside the validity area"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 3:"), std::string::npos) << r.err;
    EXPECT_EQ(numbers(lines(r.out).at(0)).size(), 3u);

    // Bornholm, 2 km west of its polygon (inside the rectangle); the local grid of
    // Jylland far in its rectangle's corner, where the two polynomials no longer agree.
    r = runCli("dk --system bornholm --inverse", "50000 72000 0\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("line 1: outside the polygon"), std::string::npos) << r.err;
    r = runCli("dk --system jylland --inverse", "460000 100000 0\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("line 1: back-transformation check failed"), std::string::npos) << r.err;

    r = runCli("dk --system fyn", "56 10 0\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("unknown --system"), std::string::npos) << r.err;
    r = runCli("dk", "56 10 0\n");
    EXPECT_EQ(r.status, 2);
}
