// kelvane spc27, end to end.
#include <gtest/gtest.h>

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
    EXPECT_GT(east[3], 0.0);
    // In metres: the same point times 1200/3937.
    const auto m = numbers(runCli("spc27 --zone 0101 --units m", "31.5 -85.83333333333333\n").out);
    EXPECT_NEAR(m.at(0), 363717.2559 * 1200.0 / 3937.0, 1e-4);
    EXPECT_EQ(m.at(1), 152400.3048);
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
    EXPECT_NEAR(fwd.at(1), 619405.27, 0.01); // west of the central meridian's 3000000 ft

    const auto i = runCli("spc27 --zone 5010 --inverse", out[0].substr(0, out[0].find(' ', out[0].find(' ') + 1)));
    ASSERT_EQ(i.status, 0) << i.err;
    const auto inv = numbers(lines(i.out).at(0));
    EXPECT_NEAR(inv.at(0), 52.8, 1e-7);
    EXPECT_NEAR(inv.at(1), 173.2, 1e-7);
    // The same grid point given in metres.
    const auto metres = std::to_string(fwd[0] * 1200.0 / 3937.0) + " " + std::to_string(fwd[1] * 1200.0 / 3937.0);
    const auto im = numbers(runCli("spc27 --zone 5010 --inverse --units m", metres + "\n").out);
    EXPECT_NEAR(im.at(0), 52.8, 1e-7);
}

TEST(CliSpc27, ZoneCodesAndList)
{
    EXPECT_EQ(runCli("spc27 --zone 0101", "32 -86\n").out, runCli("spc27 --zone=101", "32 -86\n").out);
    for (const char* args : {"spc27 --zone 5200", "spc27 --zone 01a1", "spc27", "spc27 --zone 0101 --units ft"}) {
        const auto r = runCli(args, "32 -86\n");
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_TRUE(r.out.empty()) << args;
    }
    EXPECT_EQ(runCli("spc27 --list --zone 0101").status, 2);
    const auto list = lines(runCli("spc27 --list").out);
    ASSERT_EQ(list.size(), 130u);
    EXPECT_EQ(list[2].substr(0, 7), "5001 2 ");
    EXPECT_EQ(list[129].substr(0, 7), "4904 0 ");
}

} // namespace
