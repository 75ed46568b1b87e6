// kelvane eov, end to end: the shift it names, both directions, refused lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/cli_runner.h"

using kelvane_test::lines;
using kelvane_test::numbers;
using kelvane_test::runCli;

// GIGS 5105-28 and -32 given in WGS84 (EPSG 1448 from the HD72 points): the default
// shift is that set, named on stderr; the printed digits come back to the input.
TEST(CliEov, DefaultShiftBothWays)
{
    const std::string points = "46.8754016691 19.2223135880 36.8464\n48.4897236919,21.2930414428,33.9724\n";
    auto fwd = runCli("eov", points);
    ASSERT_EQ(fwd.status, 0) << fwd.err;
    EXPECT_NE(fwd.err.find("-52.684,71.194,13.975,-0.312,-0.1063,-0.3729,-1.0191"), std::string::npos) << fwd.err;
    const auto out = lines(fwd.out);
    ASSERT_EQ(out.size(), 2u);
    const double expected[2][2] = {{663329.053, 170142.318}, {815999.993, 351999.998}};
    for (int i = 0; i < 2; ++i) {
        const std::vector<double> v = numbers(out[i]);
        ASSERT_EQ(v.size(), 3u);
        EXPECT_NEAR(v[0], expected[i][0], 0.02);
        EXPECT_NEAR(v[1], expected[i][1], 0.02);
        EXPECT_NEAR(v[2], 0.0, 0.002);
    }
    auto inv = runCli("eov --inverse --shift=-52.684,71.194,13.975,-0.312,-0.1063,-0.3729,-1.0191", fwd.out);
    ASSERT_EQ(inv.status, 0) << inv.err;
    EXPECT_EQ(inv.err, "");
    const auto back = lines(inv.out);
    ASSERT_EQ(back.size(), 2u);
    const double original[2][3] = {{46.8754016691, 19.2223135880, 36.8464}, {48.4897236919, 21.2930414428, 33.9724}};
    for (int i = 0; i < 2; ++i) {
        const std::vector<double> v = numbers(back[i]);
        EXPECT_NEAR(v[0], original[i][0], 2e-8);
        EXPECT_NEAR(v[1], original[i][1], 2e-8);
        EXPECT_NEAR(v[2], original[i][2], 0.001);
    }
}

TEST(CliEov, ZeroShiftAndRefusedLines)
{
    auto r = runCli("eov --shift zero", "47.1443865613 19.0485717778 22.5717\nno numbers here\n47 120 0\n");
    EXPECT_EQ(r.status, 1);
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 3u); // the refused lines keep their places with placeholders
    EXPECT_EQ(out[1].rfind("*", 0), 0u) << out[1];
    EXPECT_EQ(out[2].rfind("*", 0), 0u) << out[2];
    const std::vector<double> v = numbers(out[0]);
    EXPECT_NEAR(v[0], 650000.0, 0.002);
    EXPECT_NEAR(v[1], 199999.9988, 0.002);
    EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("line 3: cannot be converted"), std::string::npos) << r.err;

    r = runCli("eov --shift 1,2,3");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("seven numbers"), std::string::npos) << r.err;
    r = runCli("eov --help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("--shift"), std::string::npos);
}
