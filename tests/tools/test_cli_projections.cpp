// kelvane lcc and omerc, end to end: published examples through each route, round trips
// of the printed digits, and bad lines.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/cli_runner.h"

using kelvane_test::lines;
using kelvane_test::numbers;
using kelvane_test::runCli;

namespace {

// For each output line, whether it is the placeholder written for a refused input line.
inline std::vector<bool> placeholders(const std::string& out)
{
    std::vector<bool> v;
    for (const std::string& l : lines(out)) v.push_back(!l.empty() && l[0] == '*');
    return v;
}

// EPSG Texas South Central (Clarke 1866), printed in US survey feet.
const char* const kTexas = "--lat1 28.3833333333333 --lat2 30.2833333333333 --lat0 27.8333333333333 --lon0 -99 "
                           "--fe 609601.2192 --ellipsoid clarke1866";
// IOGP GIGS 5105, GDM2000 / East Malaysia BRSO as variant B (GRS 1980).
const char* const kBrso = "--latc 4 --lonc 115 --alpha 53.3158099444444 --gamma 53.1301023611111 --k0 0.99984 "
                          "--fe 590521.147 --fn 442890.861";
const double kFtUS = 1200.0 / 3937.0;

TEST(CliLcc, TexasSouthCentralEveryRouteAndBack)
{
    for (const char* route : {"", " --record"}) {
        auto r = runCli(std::string("lcc ") + kTexas + route, "28.5 -96\n");
        ASSERT_EQ(r.status, 0) << r.err;
        const std::vector<double> v = numbers(r.out);
        ASSERT_EQ(v.size(), 4u);
        EXPECT_NEAR(v[0] / kFtUS, 254759.80, 0.01);
        EXPECT_NEAR(v[1] / kFtUS, 2963503.91, 0.01);
        EXPECT_NEAR(v[3], 0.025651765 * 180.0 / (4.0 * std::atan(1.0)), 1e-7);
    }
    auto r = runCli(std::string("lcc --inverse ") + kTexas, "77650.9425 903277.7992\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<double> v = numbers(r.out);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_NEAR(v[0], 28.5, 6e-8); // the iteration's 1e-9 rad
    EXPECT_NEAR(v[1], -96.0, 1e-9);
}

// One parallel and a scale factor: k0 on that parallel, and the printed digits come back.
TEST(CliLcc, OneParallelWithAScaleFactor)
{
    const std::string zone = " --lat1 46.5 --lat0 46.5 --lon0 3 --k0 0.99987742 --fe 600000 --fn 2200000";
    auto fwd = runCli("lcc" + zone, "46.5 3\n");
    ASSERT_EQ(fwd.status, 0) << fwd.err;
    EXPECT_NEAR(numbers(fwd.out).at(2), 0.99987742, 1e-10);
    auto inv = runCli("lcc --inverse" + zone, fwd.out.substr(0, fwd.out.find(' ', fwd.out.find(' ') + 1)) + "\n");
    ASSERT_EQ(inv.status, 0) << inv.err;
    EXPECT_NEAR(numbers(inv.out).at(0), 46.5, 6e-8);
    EXPECT_NEAR(numbers(inv.out).at(1), 3.0, 1e-9);
}

TEST(CliOmerc, GigsRowsThroughFunctionsAndObject)
{
    const std::string points = "12 117\n4 115\n6 123\n6 114\n";
    const double expected[][2] = {{1329535.334, 807919.144}, {442890.861, 590521.147}, {673118.573, 1475669.281},
                                  {663798.63, 479068.802}};
    for (const char* route : {"", " --object"}) {
        auto fwd = runCli(std::string("omerc ") + kBrso + route, points);
        ASSERT_EQ(fwd.status, 0) << fwd.err;
        const auto out = lines(fwd.out);
        ASSERT_EQ(out.size(), 4u);
        std::string grid;
        for (std::size_t i = 0; i < 4; ++i) {
            const std::vector<double> v = numbers(out[i]);
            ASSERT_EQ(v.size(), *route ? 2u : 3u);
            EXPECT_NEAR(v[0], expected[i][0], 0.002);
            EXPECT_NEAR(v[1], expected[i][1], 0.002);
            grid += std::to_string(v[0]) + " " + std::to_string(v[1]) + "\n";
        }
        auto inv = runCli(std::string("omerc --inverse ") + kBrso + route, grid);
        ASSERT_EQ(inv.status, 0) << inv.err;
        const auto back = lines(inv.out), in = lines(points);
        ASSERT_EQ(back.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_NEAR(numbers(back[i])[0], numbers(in[i])[0], 1e-8);
            EXPECT_NEAR(numbers(back[i])[1], numbers(in[i])[1], 1e-8);
        }
    }
    auto centre = runCli(std::string("omerc ") + kBrso, "4 115\n");
    EXPECT_NEAR(numbers(centre.out).at(2), 0.99984, 1e-10);
}

TEST(CliProjections, BadLinesAndBadParameters)
{
    auto r = runCli(std::string("omerc ") + kBrso, "12 117\nfoo bar\n90 10\n95 3\n6 123\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(placeholders(r.out), (std::vector<bool>{false, true, true, true, false}));
    EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 3"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 4"), std::string::npos) << r.err;

    r = runCli(std::string("lcc ") + kTexas, "28.5 -96\n-90 0\n28.5\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(placeholders(r.out), (std::vector<bool>{false, true, true}));
    EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 3"), std::string::npos) << r.err;

    for (const char* args : {"lcc --lat0 10 --lon0 0", "lcc --lat1 30 --lat2 -30 --lat0 0 --lon0 0",
                             "lcc --lat1 90 --lat0 80 --lon0 0", "lcc --lat1 30 --lat0 20 --lon0 0 --k0 0",
                             "lcc --record --lat1 30 --lon0 0", "lcc --lat1 30 --lat0 20 --lon0 0", "omerc --latc 4 --lonc 115",
                             "omerc --latc 0 --lonc 115 --alpha 30", "omerc --latc 4 --lonc 115 --alpha x"}) {
        r = runCli(args, "1 2\n");
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_TRUE(r.out.empty()) << args;
        EXPECT_FALSE(r.err.empty()) << args;
    }
}

} // namespace
