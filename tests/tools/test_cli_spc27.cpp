// kelvane spc27, end to end.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/cli_runner.h"

namespace {

using kelvane_test::lines;
using kelvane_test::numbers;
using kelvane_test::runCli;


TEST(CliSpc27, ForwardWritesFeetWithScaleAndConvergence)
{
    // Alabama East, on the central meridian (85°50'W) and east of it.
    const auto r = runCli("spc27 --zone 0101", "31.5 -85.83333333333333\n31.5 -85\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], "363717.2559 500000.0000 0.9999600000 0.000000000");
    const auto east = numbers(out[1]);
    ASSERT_EQ(east.size(), 4u);
    EXPECT_GT(east[1], 500000.0);
    EXPECT_GT(east[2], 0.99996);
    EXPECT_GT(east[3], 0.0);
}

TEST(CliSpc27, AleutianPointWestOf180InEitherTurn)
{
    // Zone 5010 (central meridian 176°W) reaches past 180° to 172°E.
    const auto f = runCli("spc27 --zone 5010", "52.8 173.2\n52.8 -186.8\n");
    ASSERT_EQ(f.status, 0) << f.err;
    const auto out = lines(f.out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], out[1]);
    const auto fwd = numbers(out[0]);
    ASSERT_EQ(fwd.size(), 4u);
    EXPECT_NEAR(fwd[1], 619405.27, 0.01); // west of the central meridian's 3000000 ft

    const auto i = runCli("spc27 --zone 5010 --inverse", out[0].substr(0, out[0].find(' ', out[0].find(' ') + 1)));
    ASSERT_EQ(i.status, 0) << i.err;
    const auto inv = numbers(lines(i.out).at(0));
    ASSERT_EQ(inv.size(), 4u);
    EXPECT_NEAR(inv[0], 52.8, 1e-7);
    EXPECT_NEAR(inv[1], 173.2, 1e-7);
}

TEST(CliSpc27, ZoneCodeWithOrWithoutItsLeadingZero)
{
    const auto a = runCli("spc27 --zone 0101", "32 -86\n");
    const auto b = runCli("spc27 --zone=101", "32 -86\n");
    ASSERT_EQ(a.status, 0);
    EXPECT_EQ(a.out, b.out);
}

TEST(CliSpc27, UnknownOrMalformedZoneIsAUsageError)
{
    const auto r = runCli("spc27 --zone 5200", "32 -86\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("5200"), std::string::npos) << r.err;

    const auto bad = runCli("spc27 --zone 01a1", "32 -86\n");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("01a1"), std::string::npos) << bad.err;

    EXPECT_EQ(runCli("spc27", "32 -86\n").status, 2);
    EXPECT_EQ(runCli("spc27 --zone 0101 --bogus", "32 -86\n").status, 2);
}

TEST(CliSpc27, MalformedLinesAreNamedAndTheRestConverted)
{
    const auto r = runCli("spc27 --zone 5001", "57 -133.66666666666667\nnot a point\n# comment\n\n58 -135 1\n59 -136\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(lines(r.out).size(), 2u);
    EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 5"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("line 6"), std::string::npos) << r.err;

    const auto nan = runCli("spc27 --zone 0101 --inverse", "nan 500000\n100000 inf\n");
    EXPECT_EQ(nan.status, 1);
    EXPECT_TRUE(nan.out.empty());
}

TEST(CliSpc27, ReadsAnInputFile)
{
    const std::string path = kelvane_test::scratchPath("spc27_points.txt");
    {
        std::ofstream f(path);
        f << "62 -150\n62 -148\n";
    }
    const auto r = runCli("spc27 --zone 5005 --input \"" + path + "\"");
    std::remove(path.c_str());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines(r.out).size(), 2u);
    EXPECT_EQ(runCli("spc27 --zone 5005 --input \"" + path + "\"").status, 2);
}

TEST(CliSpc27, ListsEveryZoneInTableOrderWithItsKind)
{
    const auto r = runCli("spc27 --list");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 130u);
    EXPECT_EQ(out[0].substr(0, 7), "0101 0 ");
    EXPECT_EQ(out[2].substr(0, 7), "5001 2 ");
    EXPECT_EQ(out[3].substr(0, 7), "5002 3 ");
    EXPECT_EQ(out[11].substr(0, 7), "5010 1 ");
    EXPECT_EQ(out[129].substr(0, 7), "4904 0 ");
}

TEST(CliSpc27, Help)
{
    const auto r = runCli("spc27 --help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("--zone"), std::string::npos);
    EXPECT_NE(r.out.find("--inverse"), std::string::npos);
    EXPECT_NE(r.out.find("--list"), std::string::npos);
}

} // namespace
