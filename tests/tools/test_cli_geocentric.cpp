// kelvane ecef and kelvane enu, end to end.
#include <gtest/gtest.h>

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

TEST(CliEcef, PolarAxisMeridian180AndRefusedPoints)
{
    const auto r = runCli("ecef --inverse", "0 0 -6356852.314140\n-6378137 0 0\n0 0 0\n1e308 1e308 0\n");
    EXPECT_EQ(r.status, 1);
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[0], "-90.0000000000 0.0000000000 100.0000");
    EXPECT_EQ(out[1], "0.0000000000 180.0000000000 0.0000");
    EXPECT_NE(r.err.find("line 3: point lies 0.000 km from the Earth's centre"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 4: the result lies beyond"), std::string::npos) << r.err;
    EXPECT_NE(runCli("ecef", "0 0 1e300\n").err.find("line 1: the result lies beyond 1e12 m"), std::string::npos);
    // International 1924 and Clarke 1866 are larger than GRS80 at the equator.
    EXPECT_EQ(runCli("ecef --ellipsoid intl1924", "0 0 0\n").out, "6378388.0000 0.0000 0.0000\n");
    EXPECT_EQ(runCli("ecef --ellipsoid clarke1866", "90 0 0\n").out, "0.0000 0.0000 6356583.8000\n");
    EXPECT_EQ(runCli("ecef --ellipsoid mars", "0 0 0\n").status, 2);
}

TEST(CliEnu, RotatesIntoTheLocalFrameAndBack)
{
    auto r = runCli("enu --origin 0,0", "1 2 3\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines(r.out).at(0), "2.0000 3.0000 1.0000");

    // At the north pole (longitude 0) up is +Z and north points to -X.
    r = runCli("enu --origin=90,0", "-10 0 5\n");
    EXPECT_EQ(lines(r.out).at(0), "0.0000 10.0000 5.0000");

    r = runCli("enu --origin -33.9,18.4", "123.4 -56.7 890.1\n");
    const auto back = runCli("enu --inverse --origin -33.9,18.4", r.out);
    EXPECT_EQ(lines(back.out).at(0), "123.4000 -56.7000 890.1000");
}

TEST(CliEnu, OriginIsRequiredAndChecked)
{
    for (const char* args : {"enu", "enu --origin 95,0", "enu --origin 45", "enu --origin 45N,4N", "enu --origin 0x10,0"}) {
        EXPECT_EQ(runCli(args, "1 2 3\n").status, 2) << args;
    }
    // Degrees-minutes-seconds with hemisphere letters name the same origin.
    EXPECT_EQ(runCli("enu --origin 33d54'S,18d24'E", "1 2 3\n").out, runCli("enu --origin -33.9,18.4", "1 2 3\n").out);
}
