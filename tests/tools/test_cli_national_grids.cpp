// kelvane krovak, cassini and nbstereo, end to end: published points both ways, the
// per-line reports (the Cassini warning does not fail a run), and refused parameters.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/cli_runner.h"

using kelvane_test::lines;
using kelvane_test::numbers;
using kelvane_test::runCli;

namespace {

const double kArcSecond = 1.0 / 3600.0;

std::string point(double lat, double lon)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.10f %.10f\n", lat, lon);
    return text;
}

// EPSG S-JTSK (the command's default parameters): 50 12' 32.442" N, 16 50' 59.179" E.
TEST(CliKrovak, SjtskExampleBothWaysAndRefusedLines)
{
    const double lat = 50.0 + 12.0 / 60.0 + 32.442 * kArcSecond;
    const double lon = 16.0 + 50.0 / 60.0 + 59.179 * kArcSecond;
    auto r = runCli("krovak", point(lat, lon) + "# comment\n91 15\n");
    EXPECT_EQ(r.status, 1);
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 2u) << r.err;
    EXPECT_EQ(out[1], "* *"); // the refused line keeps its place
    EXPECT_NEAR(numbers(out[0]).at(0), 568991.00, 0.015); // Y
    EXPECT_NEAR(numbers(out[0]).at(1), 1050538.64, 0.015); // X
    EXPECT_NE(r.err.find("line 3: latitude 91"), std::string::npos) << r.err;

    r = runCli("krovak --inverse", "568991.00 1050538.64\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<double> v = numbers(r.out);
    EXPECT_NEAR(v.at(0), lat, 0.001 * kArcSecond);
    EXPECT_NEAR(v.at(1), lon, 0.001 * kArcSecond);

    // Ferro longitudes with the origin 42 30' east of Ferro give the same grid point.
    r = runCli("krovak --lon-origin 42.5", point(lat, lon + 17.0 + 40.0 / 60.0));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NEAR(numbers(r.out).at(0), 568991.00, 0.015);

    r = runCli("krovak --lat-pseudo 0", "50 15\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("no Krovak projection"), std::string::npos) << r.err;
}

// USGS Clarke 1866 example, and the IOGP Johor rows on each side of the 4 degree warning.
TEST(CliCassini, WorkedExamplesWarningsAndErrorsInWords)
{
    auto r = runCli("cassini --lat0 40 --lon0 -75 --ellipsoid clarke1866", "43 -73\n43 287\n");
    ASSERT_EQ(r.status, 0) << r.err;
    for (const std::string& l : lines(r.out)) {
        EXPECT_NEAR(numbers(l).at(0), 335127.6, 0.06);
        EXPECT_NEAR(numbers(l).at(1), 163071.1, 0.06);
    }
    EXPECT_EQ(r.err, "");

    const std::string johor = "cassini --lat0 2.121679744 --lon0 103.427936236 --false-easting -14810.562 "
                              "--false-northing 8758.32";
    r = runCli(johor, "5 107\n5 108\n5 109\n");
    EXPECT_EQ(r.status, 0) << r.err; // the warning does not fail the run
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_NEAR(numbers(out[1]).at(1), 492221.308, 0.05);
    EXPECT_EQ(r.err.find("line 1"), std::string::npos);
    EXPECT_NE(r.err.find("line 2: warning: point more than 4 degrees"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 3: warning"), std::string::npos) << r.err;

    r = runCli(johor + " --inverse", "328807.336 492221.308\n0 40000000\n");
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(lines(r.out).size(), 2u);
    EXPECT_EQ(lines(r.out)[1], "* *");
    EXPECT_NEAR(numbers(r.out).at(1), 108.0, 0.05 / 111000.0);
    EXPECT_NE(r.err.find("line 1: warning"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 2: easting outside the grid limits"), std::string::npos) << r.err;

    r = runCli("cassini --lat0 95 --lon0 400 --ellipsoid grs80", "1 1\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("origin latitude outside -90..90; central meridian outside"), std::string::npos) << r.err;
    EXPECT_EQ(runCli("cassini --lon0 10", "1 1\n").status, 2);
}

TEST(CliNbstereo, DefinitionPointsBothWays)
{
    auto r = runCli("nbstereo", "46.5 -66.5\n46 -66\n47 292.5\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], "7500000.0000 2500000.0000 0.9999120000 0.0000000000");
    EXPECT_EQ(out[1], "7444548.5102 2538728.8375 0.9999401070 0.3611865848");
    EXPECT_NEAR(numbers(out[2]).at(0), 7556061.8482, 1e-4);
    EXPECT_NEAR(numbers(out[2]).at(1), 2423950.3906, 1e-4);

    r = runCli("nbstereo --inverse", "7444548.5102 2538728.8375\nx y\n");
    EXPECT_EQ(r.status, 1);
    const std::vector<double> v = numbers(r.out);
    EXPECT_NEAR(v.at(0), 46.0, 1e-9);
    EXPECT_NEAR(v.at(1), -66.0, 1e-9);
    EXPECT_NEAR(v.at(2), 0.9999401070, 1e-10);
    EXPECT_NE(r.err.find("line 2:"), std::string::npos) << r.err;
}

} // namespace
