// kelvane utm, end to end: as a user runs it, through standard input or a file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/cli_runner.h"

using kelvane_test::lines;
using kelvane_test::numbers;
using kelvane_test::runCli;

// DMA Technical Manual 8358.2 (International 1924): 30 N 102 E in zones 47 and 48, and the
// southern inverse row ID 7 (zone 30 south, code 90), printed to 0.01 m, 0.001" and 1e-8.
TEST(CliUtm, PublishedExampleBothWays)
{
    auto r = runCli("utm --zone 47 --ellipsoid intl1924", "30 102\n");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<double> v = numbers(r.out);
    ASSERT_EQ(v.size(), 5u);
    EXPECT_NEAR(v[0], 3322624.35, 0.01);
    EXPECT_NEAR(v[1], 789422.07, 0.01);
    EXPECT_NEAR(v[2], 1.00063354, 1e-8);
    EXPECT_NEAR(v[3], 1.0 + 30.0 / 60.0 + 3.76 / 3600.0, 0.01 / 3600.0);
    EXPECT_EQ(v[4], 47);

    r = runCli("utm --inverse --zone 90 --ellipsoid intl1924", "4000000.00 700000.00\n");
    ASSERT_EQ(r.status, 0) << r.err;
    v = numbers(r.out);
    ASSERT_EQ(v.size(), 5u);
    EXPECT_NEAR(v[0], -(54.0 + 6.0 / 60.0 + 28.992 / 3600.0), 0.001 / 3600.0);
    EXPECT_NEAR(v[1], 3.0 / 60.0 + 33.695 / 3600.0, 0.001 / 3600.0);
    EXPECT_NEAR(v[2], 1.00009080, 1e-8);
    EXPECT_NEAR(v[3], -(2.0 + 28.0 / 60.0 + 45.39 / 3600.0), 0.01 / 3600.0);
    EXPECT_EQ(v[4], 90);
}

TEST(CliUtm, AutomaticZoneChoice)
{
    auto r = runCli("utm --auto", "45 3\n-45 3\n-45 180\n45 357\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 4u);
    const int expected[] = {31, 91, 120, 30};
    for (std::size_t i = 0; i < out.size(); ++i) EXPECT_EQ(numbers(out[i]).at(4), expected[i]) << out[i];
    // A longitude written as 357 E is 3 W: zone 30's central meridian, easting 500000.
    EXPECT_NEAR(numbers(out[3]).at(1), 500000.0, 1e-4);
}

// Lines the conversion refuses get their reason; options the command refuses stop it.
TEST(CliUtm, RefusedLinesAndUsageErrors)
{
    auto r = runCli("utm --zone 31 --skip-bad", "91 3\n45 12\n-33 4\n");
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(lines(r.out).size(), 1u);
    EXPECT_GT(numbers(r.out).at(0), 6000000.0); // southern point in code 31: false northing
    EXPECT_NE(r.err.find("line 1: latitude 91 is outside -90..90"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 2: point lies 9.000 degrees from the central meridian"), std::string::npos) << r.err;
    r = runCli("utm --inverse --zone 31", "1e12 500000\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "* * * * *\n");

    for (const char* args : {"utm", "utm --zone 121", "utm --zone 3.5", "utm --inverse", "utm --zone 31 --auto",
                             "utm --zone 31 --ellipsoid mars", "utm --zone 31 --input /nonexistent/points.txt"}) {
        EXPECT_EQ(runCli(args, "45 3\n").status, 2) << args;
    }
    r = runCli("utm --list");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(lines(r.out).size(), 120u);
    EXPECT_EQ(lines(r.out)[119], "120  Zone 60 - S 180 deg. E To 174 deg. E");
}

// The README's first command: the bundled places, read with --input.
TEST(CliUtm, BundledExamplePlaces)
{
    const std::string path = std::string(KELVANE_SOURCE_DIR) + "/examples/places.txt";
    auto r = runCli("utm --auto --input \"" + path + "\"");
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream f(path);
    std::size_t places = 0;
    for (std::string l; std::getline(f, l);) {
        if (!l.empty() && l[0] != '#') ++places;
    }
    EXPECT_GE(places, 5u);
    EXPECT_EQ(lines(r.out).size(), places);
}
