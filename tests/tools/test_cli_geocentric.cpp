// kelvane ecef and kelvane enu, end to end.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/cli_runner.h"

using kelvane_test::lines;
using kelvane_test::numbers;
using kelvane_test::runCli;

// EPSG Guidance Note 7-2 on WGS 84: 53 48 33.820 N, 2 07 46.380 E, 73 m.
TEST(CliEcef, EpsgExampleForwardAndInverse)
{
    auto r = runCli("ecef --ellipsoid wgs84", "53.80939444444 2.12955 73.0\n");
    ASSERT_EQ(r.status, 0) << r.err;
    auto xyz = numbers(lines(r.out).at(0));
    ASSERT_EQ(xyz.size(), 3u);
    EXPECT_NEAR(xyz[0], 3771793.968, 0.001);
    EXPECT_NEAR(xyz[1], 140253.342, 0.001);
    EXPECT_NEAR(xyz[2], 5124304.349, 0.001);

    r = runCli("ecef --inverse --ellipsoid wgs84", "3771793.968 140253.342 5124304.349\n");
    ASSERT_EQ(r.status, 0) << r.err;
    auto geo = numbers(lines(r.out).at(0));
    EXPECT_NEAR(geo[0], 53.80939444444, 0.0002 / 3600);
    EXPECT_NEAR(geo[1], 2.12955, 0.0002 / 3600);
    EXPECT_NEAR(geo[2], 73.0, 0.001);
}

TEST(CliEcef, BadLinesAreReportedAndTheRestConverted)
{
    const auto r = runCli("ecef", "# comment\n52 4.5 20\n\n91 0 0\n52 x 20\n-33.9 18.4 -100\n0 0 1e300\n");
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(lines(r.out).size(), 2u);
    EXPECT_NE(r.err.find("line 4:"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 5:"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 7: the result lies beyond 1e12 m"), std::string::npos) << r.err;
    // What comes out goes back.
    const auto back = runCli("ecef --inverse", r.out);
    ASSERT_EQ(back.status, 0) << back.err;
    const auto b = lines(back.out);
    auto p = numbers(b.at(1));
    EXPECT_NEAR(p[0], -33.9, 1e-9);
    EXPECT_NEAR(p[1], 18.4, 1e-9);
    EXPECT_NEAR(p[2], -100.0, 2e-4);
}

TEST(CliEcef, PolarAxisMeridian180AndTheCentre)
{
    const auto r = runCli("ecef --inverse", "0 0 -6356852.314140\n-6378137 0 0\n0 0 0\n1e308 1e308 0\n");
    EXPECT_EQ(r.status, 1);
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], "-90.0000000000 0.0000000000 100.0000");
    EXPECT_EQ(out[1], "0.0000000000 180.0000000000 0.0000");
    EXPECT_NE(r.err.find("line 3:"), std::string::npos);
    EXPECT_NE(r.err.find("line 4: the result lies beyond"), std::string::npos) << r.err;
}

TEST(CliEcef, OptionsAndHelp)
{
    auto r = runCli("ecef --help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("usage: kelvane ecef"), std::string::npos);
    EXPECT_EQ(runCli("ecef --ellipsoid mars", "0 0 0\n").status, 2);
    EXPECT_EQ(runCli("ecef --frobnicate", "0 0 0\n").status, 2);
    // International 1924 and Clarke 1866 are larger than GRS80 at the equator.
    r = runCli("ecef --ellipsoid intl1924", "0 0 0\n");
    EXPECT_EQ(lines(r.out).at(0), "6378388.0000 0.0000 0.0000");
    r = runCli("ecef --ellipsoid clarke1866", "90 0 0\n");
    EXPECT_EQ(lines(r.out).at(0), "0.0000 0.0000 6356583.8000");

    const std::string path = kelvane_test::scratchPath("ecef_in.txt");
    std::ofstream(path) << "0 90 0\n";
    r = runCli("ecef --input \"" + path + "\"");
    std::remove(path.c_str());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(lines(r.out).at(0), "0.0000 6378137.0000 0.0000");
}

TEST(CliEnu, RotatesIntoTheLocalFrameAndBack)
{
    auto r = runCli("enu --origin 0,0", "1 2 3\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines(r.out).at(0), "2.0000 3.0000 1.0000");

    // At the north pole (longitude 0) up is +Z and north points to -X.
    r = runCli("enu --origin=90,0", "-10 0 5\n1 2\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(lines(r.out).at(0), "0.0000 10.0000 5.0000");
    EXPECT_NE(r.err.find("line 2:"), std::string::npos);

    r = runCli("enu --origin -33.9,18.4", "123.4 -56.7 890.1\n");
    const auto back = runCli("enu --inverse --origin -33.9,18.4", r.out);
    EXPECT_EQ(lines(back.out).at(0), "123.4000 -56.7000 890.1000");
}

TEST(CliEnu, OriginIsRequiredAndChecked)
{
    EXPECT_EQ(runCli("enu", "1 2 3\n").status, 2);
    EXPECT_EQ(runCli("enu --origin 95,0", "1 2 3\n").status, 2);
    EXPECT_EQ(runCli("enu --origin 45", "1 2 3\n").status, 2);
    const auto r = runCli("enu --help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("--origin LAT,LON"), std::string::npos);
}
