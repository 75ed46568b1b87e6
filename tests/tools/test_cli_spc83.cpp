// kelvane spc83 end to end: forward, inverse, arc-to-chord corrections, units and the
// handling of bad zones.
#include <gtest/gtest.h>

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
        EXPECT_NEAR(numbers(out[1]).at(0), 332846.3800, 0.0002); // read from a comma-separated line
    }
}

// The inverse of the Alaska oblique zone's centre, and the zone's point given in any turn.
TEST(CliSpc83, InverseAndLongitudeTurns)
{
    auto r = runCli("spc83 --zone 5001 --inverse", "575097.6886 818676.7336\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto v = numbers(r.out);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_NEAR(v[0], 57.0, 1e-8);
    EXPECT_NEAR(v[1], -(133 + 40 / 60.0), 1e-8);
    EXPECT_NEAR(v[2], 0.9999, 1e-10);
    r = runCli("spc83 --zone 101", "32 -85\n32 275\n32 -95\n");
    EXPECT_EQ(r.status, 1);
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], out[1]);
    EXPECT_EQ(out[2], "* * * *");
    EXPECT_NE(r.err.find("line 3: point lies"), std::string::npos) << r.err;
}

// IOGP Guidance Note 7-2 test data, Utah North (zone 4301) in US survey feet: point 5103-34
// and the inverse of point 5103-35, to 0.1 ftUS.
TEST(CliSpc83, UnitsBothWays)
{
    auto r = runCli("spc83 --zone 4301 --units us-ft", "43 -110\n");
    ASSERT_EQ(r.status, 0) << r.err;
    auto v = numbers(r.out);
    EXPECT_NEAR(v.at(0), 4256081.225, 0.1);
    EXPECT_NEAR(v.at(1), 2041850.997, 0.1);
    r = runCli("spc83 --zone 4301 --units us-ft --inverse", "3527295.672 2054432.46\n");
    ASSERT_EQ(r.status, 0) << r.err;
    v = numbers(r.out);
    EXPECT_NEAR(v.at(0), 41.0, 1e-6);
    EXPECT_NEAR(v.at(1), -110.0, 1e-6);
    // International feet are 2 ppm longer than US survey feet: 0.0001 m in 50 km.
    const auto m = numbers(runCli("spc83 --zone 4301", "43 -110\n").out);
    const auto ft = numbers(runCli("spc83 --zone 4301 --units ft", "43 -110\n").out);
    EXPECT_NEAR(ft.at(0) * 0.3048, m.at(0), 1e-4);
    EXPECT_NEAR(ft.at(1) * 0.3048, m.at(1), 1e-4);
    EXPECT_EQ(runCli("spc83 --zone 4301 --units yd", "43 -110\n").status, 2);
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
    const auto list = lines(runCli("spc83 --list").out);
    ASSERT_EQ(list.size(), 124u);
    EXPECT_EQ(list.back(), "5200 Puerto Rico");
}

TEST(CliSpc83, ArcToChordCorrections)
{
    const auto r = runCli("spc83 --tt 0101",
                          "100000 250000 100000 250000 110000 250000\n"
                          "100000 250000 120000 260000 120000 260000\n");
    EXPECT_EQ(r.status, 0);
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_LT(numbers(out[0])[0], -0.5); // northward line east of the central meridian
    EXPECT_EQ(out[1], "0.0000");         // backsight and foresight the same point
}

} // namespace
