// kelvane tm, end to end: the EPSG British National Grid example both ways, UTM zones
// through the stand-alone record agreeing with kelvane utm digit for digit, and refused
// lines and options.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/cli_runner.h"

using kelvane_test::lines;
using kelvane_test::numbers;
using kelvane_test::runCli;

namespace {

const char* const kBritishNationalGrid =
    "--lat0 49 --lon0 -2 --k0 0.9996012717 --fe 400000 --fn -100000 --ellipsoid airy1830";

TEST(CliTm, BritishNationalGridBothWays)
{
    auto r = runCli(std::string("tm ") + kBritishNationalGrid, "50.5 0.5\n");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<double> v = numbers(r.out);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_NEAR(v[0], 69740.50, 0.015);
    EXPECT_NEAR(v[1], 577274.99, 0.015);
    EXPECT_NEAR(v[2], 0.999987287, 1e-9);
    EXPECT_NEAR(v[3], 1.92956086, 1e-8);

    r = runCli(std::string("tm --inverse ") + kBritishNationalGrid, "69740.4923 577274.9838\n");
    ASSERT_EQ(r.status, 0) << r.err;
    v = numbers(r.out);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_NEAR(v[0], 50.5, 1e-8);
    EXPECT_NEAR(v[1], 0.5, 1e-8);
}

// The stand-alone record on a UTM zone is the UTM conversion: the same digits both ways.
TEST(CliTm, UtmZonesAgreeWithTheUtmCommand)
{
    struct Case {
        const char* tm;
        const char* utm;
        const char* points;
        const char* grid;
    } const cases[] = {
        {"tm --zone 34 --south", "utm --zone 94", "-33.9 18.4\n-1 22\n", "6250000 270000\n9990000 700000\n"},
    };
    for (const Case& c : cases) {
        for (bool inverse : {false, true}) {
            const std::string flag = inverse ? " --inverse" : "";
            const auto tm = runCli(c.tm + flag, inverse ? c.grid : c.points);
            const auto utm = runCli(c.utm + flag, inverse ? c.grid : c.points);
            ASSERT_EQ(tm.status, 0) << tm.err;
            const auto a = lines(tm.out), b = lines(utm.out);
            ASSERT_EQ(a.size(), b.size());
            for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i] + " ", b[i].substr(0, a[i].size() + 1)) << c.tm;
        }
    }
}

TEST(CliTm, Refusals)
{
    auto r = runCli("tm --zone 31", "51.5 2.5\n51.5 12\nx y\n95 3\n45 4.2\n");
    EXPECT_EQ(r.status, 1);
    const auto out = lines(r.out); // a placeholder line stands for each refused line
    ASSERT_EQ(out.size(), 5u);
    for (std::size_t i = 0; i < out.size(); ++i) EXPECT_EQ(out[i][0] == '*', i >= 1 && i <= 3) << out[i];
    for (const char* l : {"line 2", "line 3", "line 4"}) EXPECT_NE(r.err.find(l), std::string::npos) << r.err;

    for (const char* args : {"tm", "tm --zone 61", "tm --zone 31 --lon0 3", "tm --south --lon0 3",
                             "tm --lon0 3 --k0 -1", "tm --lon0 500", "tm --zone 31 --ellipsoid nowhere"}) {
        r = runCli(args, "1 2\n");
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_TRUE(r.out.empty()) << args;
    }
}

} // namespace
