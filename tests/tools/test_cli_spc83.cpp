// kelvane spc83 end to end: forward, inverse, arc-to-chord corrections, the zone list
// and the handling of bad zones and bad lines.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/cli_runner.h"

namespace {

using kelvane_test::lines;
using kelvane_test::numbers;
using kelvane_test::runCli;


TEST(CliSpc83, ForwardMatchesReferencePointsWithEitherCodeSpelling)
{
    for (const char* code : {"0101", "101"}) {
        const auto r = runCli(std::string("spc83 --zone ") + code, "32 -85\n33.5,-86.5\n");
        ASSERT_EQ(r.status, 0) << r.err;
        const auto out = lines(r.out);
        ASSERT_EQ(out.size(), 2u);
        const auto a = numbers(out[0]);
        ASSERT_EQ(a.size(), 4u);
        EXPECT_NEAR(a[0], 166607.5100, 0.0002);
        EXPECT_NEAR(a[1], 278742.3617, 0.0002);
        EXPECT_NEAR(a[2], 1.0000364372, 1e-10);
        EXPECT_NEAR(a[3], (26 * 60 + 29.840) / 3600.0, 1e-6);
        const auto b = numbers(out[1]);
        EXPECT_NEAR(b[0], 332846.3800, 0.0002);
        EXPECT_NEAR(b[1], 138053.5648, 0.0002);
    }
}

TEST(CliSpc83, LambertAndObliqueZonesBothWays)
{
    const std::string in = kelvane_test::scratchPath("spc83_points.txt");
    {
        std::ofstream f(in);
        f << "# Wisconsin South, NGS traverse Point 1\n42.5500031944 -89.2656238611\n";
    }
    auto r = runCli("spc83 --zone 4803 --input \"" + in + "\"");
    std::remove(in.c_str());
    ASSERT_EQ(r.status, 0) << r.err;
    auto v = numbers(r.out);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_NEAR(v[0], 61367.006, 0.001);
    EXPECT_NEAR(v[1], 660318.626, 0.001);

    r = runCli("spc83 --zone 5001 --inverse", "575097.6886 818676.7336\n");
    ASSERT_EQ(r.status, 0) << r.err;
    v = numbers(r.out);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_NEAR(v[0], 57.0, 1e-8);
    EXPECT_NEAR(v[1], -(133 + 40 / 60.0), 1e-8);
    EXPECT_NEAR(v[2], 0.9999, 1e-10);
    EXPECT_NEAR(v[3], 0.0, 1e-8);
}

TEST(CliSpc83, BadLinesAreReportedAndTheRestConverted)
{
    const auto r = runCli("spc83 --zone 101", "32 -85\n32 east\n95 -85\n32 -95\n32 275\n");
    EXPECT_EQ(r.status, 1);
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 2u); // line 5 is line 1 given as 0..360
    EXPECT_EQ(out[0], out[1]);
    EXPECT_NE(r.err.find("line 2"), std::string::npos);
    EXPECT_NE(r.err.find("line 3"), std::string::npos);
    EXPECT_NE(r.err.find("line 4"), std::string::npos);
    EXPECT_EQ(r.err.find("line 1:"), std::string::npos);
}

TEST(CliSpc83, UnknownZoneIsAClearError)
{
    for (const char* code : {"0999", "5011", "abc"}) {
        const auto r = runCli(std::string("spc83 --zone ") + code, "32 -85\n");
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find(std::string("'") + code + "'"), std::string::npos) << r.err;
    }
    EXPECT_EQ(runCli("spc83", "").status, 2);
    EXPECT_EQ(runCli("spc83 --zone 101 --tt 101", "").status, 2);
}

TEST(CliSpc83, ArcToChordCorrections)
{
    const auto r = runCli("spc83 --tt 0101",
                          "100000 250000 100000 250000 110000 250000\n"
                          "100000 250000 120000 260000 120000 260000\n"
                          "100000 250000 100000 250000\n");
    EXPECT_EQ(r.status, 1);
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_LT(numbers(out[0])[0], -0.5); // northward line east of the central meridian
    EXPECT_EQ(out[1], "0.0000");         // backsight and foresight the same point
    EXPECT_NE(r.err.find("line 3"), std::string::npos);
}

TEST(CliSpc83, ListAndHelp)
{
    auto r = runCli("spc83 --list");
    ASSERT_EQ(r.status, 0);
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 124u);
    EXPECT_EQ(out.front(), "0101 Alabama East");
    EXPECT_EQ(out.back(), "5200 Puerto Rico");
    EXPECT_EQ(r.out.size(), 2411u);

    r = runCli("spc83 --help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("usage: kelvane spc83"), std::string::npos);
}

} // namespace
