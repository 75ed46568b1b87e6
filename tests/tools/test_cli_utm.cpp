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

// The printed digits carry points through the forward and back to 1e-9 degrees (0.1 mm
// on the ground), with the forward's scale and convergence.
TEST(CliUtm, PrintedDigitsRoundTrip)
{
    const std::string points = "51.5 2.5\n45 4.2\n0 3\n";
    auto fwd = runCli("utm --zone 31", points);
    ASSERT_EQ(fwd.status, 0) << fwd.err;
    const auto in = lines(points), out = lines(fwd.out);
    std::string grid; // northing and easting as printed
    for (const std::string& l : out) grid += l.substr(0, l.find(' ', l.find(' ') + 1)) + "\n";
    auto inv = runCli("utm --inverse --zone 31", grid);
    ASSERT_EQ(inv.status, 0) << inv.err;
    const auto back = lines(inv.out);
    ASSERT_EQ(back.size(), in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        const std::vector<double> orig = numbers(in[i]), g = numbers(out[i]), geo = numbers(back[i]);
        EXPECT_NEAR(geo[0], orig[0], 1e-9);
        EXPECT_NEAR(geo[1], orig[1], 1e-9);
        EXPECT_NEAR(geo[2], g[2], 1e-8);
        EXPECT_NEAR(geo[3], g[3], 1e-7);
    }
}

TEST(CliUtm, AutomaticZoneChoice)
{
    auto r = runCli("utm --auto", "45 3\n-45 3\n45 -174\n45 -180\n45 180\n-45 180\n0 3\n45 357\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 8u);
    const int expected[] = {31, 91, 2, 1, 60, 120, 31, 30};
    for (std::size_t i = 0; i < out.size(); ++i) EXPECT_EQ(numbers(out[i]).at(4), expected[i]) << out[i];
    // A longitude written as 357 E is 3 W: zone 30's central meridian, easting 500000.
    EXPECT_NEAR(numbers(out[7]).at(1), 500000.0, 1e-4);
}

// A malformed line is reported with its number; the others are still converted and the
// exit status tells that something failed.
TEST(CliUtm, MalformedAndRefusedLines)
{
    const std::string input = "# header comment\n"
                              "45 3\n"
                              "45 three\n"
                              "\n"
                              "91 3\n"
                              "45 12\n"
                              "45\n"
                              "-33 4\n";
    auto r = runCli("utm --zone 31", input);
    EXPECT_EQ(r.status, 1);
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(numbers(out[0]).at(1), 500000.0);
    EXPECT_GT(numbers(out[1]).at(0), 6000000.0); // southern point in code 31: false northing
    const auto err = lines(r.err);
    ASSERT_EQ(err.size(), 4u);
    EXPECT_NE(err[0].find("line 3"), std::string::npos);
    EXPECT_NE(err[1].find("line 5"), std::string::npos);
    EXPECT_NE(err[1].find("latitude"), std::string::npos);
    EXPECT_NE(err[2].find("line 6"), std::string::npos);
    EXPECT_NE(err[2].find("central meridian"), std::string::npos);
    EXPECT_NE(err[3].find("line 7"), std::string::npos);

    r = runCli("utm --inverse --zone 31", "5000000 500000\n1e12 500000\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(lines(r.out).size(), 1u);
    EXPECT_NE(r.err.find("line 2"), std::string::npos);
}

TEST(CliUtm, ZoneList)
{
    auto r = runCli("utm --list");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 120u);
    EXPECT_EQ(out[0], "  1  Zone  1 - N 174 deg. W To 180 deg. W");
    EXPECT_EQ(out[19], " 20  Zone 20 - N  60 deg. W To  77 deg. W");
    EXPECT_EQ(out[79], " 80  Zone 20 - S  60 deg. W To  77 deg. W");
    EXPECT_EQ(out[119], "120  Zone 60 - S 180 deg. E To 174 deg. E");
}

TEST(CliUtm, UsageErrorsAndHelp)
{
    EXPECT_EQ(runCli("utm", "45 3\n").status, 2);
    EXPECT_EQ(runCli("utm --zone 121", "45 3\n").status, 2);
    EXPECT_EQ(runCli("utm --zone 3.5", "45 3\n").status, 2);
    EXPECT_EQ(runCli("utm --inverse", "0 0\n").status, 2);
    EXPECT_EQ(runCli("utm --zone 31 --auto", "45 3\n").status, 2);
    EXPECT_EQ(runCli("utm --zone 31 --ellipsoid mars", "45 3\n").status, 2);
    EXPECT_EQ(runCli("utm --zone 31 --frobnicate", "45 3\n").status, 2);
    EXPECT_EQ(runCli("utm --zone 31 --input /nonexistent/points.txt").status, 2);
    auto help = runCli("utm --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--inverse"), std::string::npos);
    EXPECT_NE(help.out.find("5 degrees"), std::string::npos);
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
