// kelvane geoid end to end, on a synthetic model folder.
#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

#include "geoid/geoid_test_files.h"
#include "support/cli_runner.h"

namespace {

using geoid_test::ScratchFolder;
using kelvane_test::lines;
using kelvane_test::runCli;

double plane(double lon, double lat)
{
    return 10.0 + 0.01 * lon + 0.1 * lat;
}

// An EGM96 folder holding a global plane on a 30-degree grid, with no data north of 60.
class CliGeoid : public ::testing::Test {
protected:
    ScratchFolder dir{"cli"};
    void SetUp() override
    {
        geoid_test::writeGridFile(dir.file("egm96.grd"), -90, 0, 90, 360, 12, 6, [](int c, int r) {
            return r == 6 ? std::string("N") : geoid_test::number(plane(c * 30.0, r * 30.0 - 90));
        });
    }
    std::string geoid(const std::string& options) { return "geoid --dir \"" + dir.bare() + "\" " + options; }
};

TEST_F(CliGeoid, ConvertsEveryGoodLineAndNamesTheBadOnes)
{
    const auto r = runCli(geoid("--model 4"),
                          "45 10\n"
                          "# a comment\n"
                          "-30 -120\n"
                          "80 10\n"     // no data near the pole
                          "45\n"        // one number
                          "nan 10\n"
                          "-45.5 359.9\n");
    EXPECT_EQ(r.status, 1);
    // 10 + 0.1 + 4.5; 10 + 2.4 - 3.0; 10 + 3.599 - 4.55
    EXPECT_EQ(r.out, "14.6000\n9.4000\n*\n*\n*\n9.0490\n");
    const auto err = lines(r.err);
    ASSERT_EQ(err.size(), 3u);
    EXPECT_NE(err[0].find("line 4"), std::string::npos);
    EXPECT_NE(err[0].find("code -5"), std::string::npos);
    EXPECT_NE(err[1].find("line 5"), std::string::npos);
    EXPECT_NE(err[2].find("line 6"), std::string::npos);
}

TEST_F(CliGeoid, TheFolderWorksWithOrWithoutItsSeparatorAndByModelName)
{
    const std::string in = "0 90\n";
    const auto bare = runCli(geoid("--model 4"), in);
    const auto slash = runCli("geoid --dir \"" + dir.path() + "\" --model EGM96", in);
    EXPECT_EQ(bare.status, 0) << bare.err;
    EXPECT_EQ(slash.status, 0) << slash.err;
    EXPECT_EQ(bare.out, "10.9000\n");
    EXPECT_EQ(slash.out, bare.out);
}

TEST_F(CliGeoid, PointsOutsideATiledModelAreReportedWithTheirCode)
{
    geoid_test::writeConstantGrid(dir.file("france.grd"), 42, -5.5, 51.5, 8.5, 14, 19, 50.25);
    // West of Greenwich lies outside the box (-1) before a file is loaded, and outside the
    // loaded grid (-5) afterwards.
    const auto r = runCli(geoid("--model 15"), "46 -2\n46 2\n46 -2\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "*\n50.2500\n*\n");
    const auto err = lines(r.err);
    ASSERT_EQ(err.size(), 2u);
    EXPECT_NE(err[0].find("line 1"), std::string::npos);
    EXPECT_NE(err[0].find("code -1"), std::string::npos);
    EXPECT_NE(err[1].find("line 3"), std::string::npos);
    EXPECT_NE(err[1].find("code -5"), std::string::npos);
}

TEST_F(CliGeoid, LoadFailuresSayWhatIsWrongWithTheFile)
{
    // A header that promises a million nodes in a 20-byte file, and a pipe named as a tile.
    { std::ofstream(dir.file("osu91a.grd")) << "0\n0\n10\n10\n999\n999\n"; }
    const auto header = runCli(geoid("--model 5"), "5 5\n");
    EXPECT_EQ(header.status, 1);
    EXPECT_NE(header.err.find("header is invalid"), std::string::npos) << header.err;
    EXPECT_NE(header.err.find("code -4"), std::string::npos) << header.err;

    geoid_test::writeConstantGrid(dir.file("carib97e.grd"), 9, 288, 28, 302, 14, 19, 5.0);
    ASSERT_EQ(::mkfifo(dir.file("carib97w.grd").c_str(), 0600), 0);
    const auto pipe = runCli(geoid("--model 12"), "18 -77\n18 -66\n");
    EXPECT_EQ(pipe.status, 1);
    EXPECT_EQ(pipe.out, "*\n5.0000\n");
    EXPECT_NE(pipe.err.find("no regular file"), std::string::npos) << pipe.err;
    EXPECT_NE(pipe.err.find("code -2"), std::string::npos) << pipe.err;
}

TEST_F(CliGeoid, ListsAllThirtyNineModels)
{
    const auto out = lines(runCli("geoid --list").out);
    ASSERT_EQ(out.size(), 39u);
    EXPECT_EQ(out[3], " 4  EGM96");
    EXPECT_EQ(out[35], "36  Spain (EGM08 Canarias)");
}

TEST_F(CliGeoid, UsageErrors)
{
    EXPECT_EQ(runCli("geoid --model 4", "0 0\n").status, 2);               // no folder
    EXPECT_EQ(runCli(geoid(""), "0 0\n").status, 2);                        // no model
    EXPECT_EQ(runCli(geoid("--model 40"), "0 0\n").status, 2);
    EXPECT_EQ(runCli(geoid("--model nosuch"), "0 0\n").status, 2);
    EXPECT_EQ(runCli(geoid("--model 5"), "0 0\n").status, 2);               // no osu91a.grd
    EXPECT_EQ(runCli(geoid("--model 4 --input /nonexistent/points"), "").status, 2);
    const auto tooLong = runCli("geoid --model 4 --dir " + std::string(300, 'd'), "0 0\n");
    EXPECT_EQ(tooLong.status, 2);
    EXPECT_NE(tooLong.err.find("259"), std::string::npos);
    EXPECT_EQ(tooLong.out, "");
}

} // namespace
