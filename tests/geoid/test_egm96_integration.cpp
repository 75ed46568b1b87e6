// EGM96 from the real 15' grid: the published GTX file is converted with
// "kelvane grid convert" into a model folder, opened as model 4 and queried at the points
// of NGA's sample output for its EGM96 interpolation program.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "geoid_test_files.h"
#include "kelvane/geoid.h"
#include "support/cli_runner.h"

namespace {

const char* const kGtx = "/usr/share/proj/egm96_15.gtx";

struct Egm96Point {
    double lat, lon;
    double published; // NGA sample output, metres
    double cubic;     // the same 16-node Lagrange cubic evaluated independently (computed)
    bool cubicPath;   // false where the point's 4x4 neighbourhood leaves the grid
};

// NGA's program uses a 4x4 spline window, a different interpolant on the same grid, so the
// cubic agrees with it to about a centimetre. The last two points lie in the first and the
// last column of cells, where the 4x4 neighbourhood would leave the grid (the text grid
// runs from 0 to 360), so the cell fallback answers there, to within 6 cm.
const Egm96Point kPoints[] = {
    {38.6281550, 269.7791550, -31.628, -31.6249, true},
    {-14.6212170, 305.0211140, -2.969, -2.9678, true},
    {46.8743190, 102.4487290, -43.575, -43.5824, true},
    {-23.6174460, 133.8747120, 15.871, 15.8797, true},
    {38.6254730, 359.9995000, 50.066, 0.0, false},
    {-0.4667440, 0.0023000, 17.329, 0.0, false},
};

class Egm96 : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!std::filesystem::exists(kGtx)) return;
        folder_ = std::make_unique<geoid_test::ScratchFolder>("egm96");
        const auto r = kelvane_test::runCli(std::string("grid convert \"") + kGtx + "\" \"" +
                                            folder_->file("egm96.grd") + "\"");
        convertStatus_ = r.status;
        convertError_ = r.err;
    }
    static void TearDownTestSuite()
    {
        closeGeoidGrid();
        folder_.reset();
    }
    void SetUp() override
    {
        if (!folder_) {
            GTEST_SKIP() << kGtx << " is not installed (Debian package proj-data); "
                         << "the EGM96 integration test needs it";
        }
        ASSERT_EQ(convertStatus_, 0) << "kelvane grid convert failed: " << convertError_;
        ASSERT_EQ(openGeoidGrid(folder_->path().c_str(), kvGeoidEGM96), 0);
    }

    static std::unique_ptr<geoid_test::ScratchFolder> folder_;
    static int convertStatus_;
    static std::string convertError_;
};

std::unique_ptr<geoid_test::ScratchFolder> Egm96::folder_;
int Egm96::convertStatus_ = -1;
std::string Egm96::convertError_;

TEST_F(Egm96, MatchesNgaSampleOutput)
{
    for (const Egm96Point& p : kPoints) {
        double n = 0.0;
        ASSERT_EQ(getElevFromGeoidGrid(p.lat, p.lon, &n), kvGeoidOk) << p.lat << " " << p.lon;
        EXPECT_NEAR(n, p.published, p.cubicPath ? 0.02 : 0.06) << p.lat << " " << p.lon;
        if (p.cubicPath) {
            EXPECT_NEAR(n, p.cubic, 0.0005) << p.lat << " " << p.lon;
        }
    }
}

TEST_F(Egm96, WestLongitudesAreTakenModulo360)
{
    double east = 0.0;
    double west = 1.0;
    ASSERT_EQ(getElevFromGeoidGrid(38.6254730, 359.9995, &east), kvGeoidOk);
    ASSERT_EQ(getElevFromGeoidGrid(38.6254730, -0.0005, &west), kvGeoidOk);
    EXPECT_EQ(east, west);
    ASSERT_EQ(getElevFromGeoidGrid(38.6281550, 269.7791550 - 360.0, &west), kvGeoidOk);
    EXPECT_NEAR(west, -31.628, 0.02);
}

TEST_F(Egm96, ThePolesAndTheClosingMeridianAnswer)
{
    double n = 0.0;
    for (double lon : {0.0, 90.0, 180.0, 360.0}) {
        ASSERT_EQ(getElevFromGeoidGrid(90.0, lon, &n), kvGeoidOk);
        EXPECT_NEAR(n, 13.6, 0.1); // EGM96 at the north pole: 13.606 m
        ASSERT_EQ(getElevFromGeoidGrid(-90.0, lon, &n), kvGeoidOk);
        EXPECT_NEAR(n, -29.53, 0.1); // south pole: -29.534 m
    }
    double at0 = 0.0;
    double at360 = 1.0;
    ASSERT_EQ(getElevFromGeoidGrid(12.3, 0.0, &at0), kvGeoidOk);
    ASSERT_EQ(getElevFromGeoidGrid(12.3, 360.0, &at360), kvGeoidOk);
    EXPECT_NEAR(at0, at360, 1e-9);
}

} // namespace
