// EGM96 from the real 15' grid: the published GTX file is converted with
// "kelvane grid convert" into model folders, opened as model 4 and queried at the points
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
    bool seam;        // in the first or last column of cells of a grid from 0 to 360
};

// NGA's program uses a 4x4 spline window, a different interpolant on the same grid, so the
// 16-node cubic agrees with it to about a centimetre. The last two points lie next to the
// 0/360 seam: on a grid that ends there their 4x4 neighbourhood would leave the grid, so
// the cell fallback answers, to within 6 cm. The converter therefore adds one overlapping
// column on either side by default, which lets the cubic answer there too.
const Egm96Point kPoints[] = {
    {38.6281550, 269.7791550, -31.628, -31.6249, false},
    {-14.6212170, 305.0211140, -2.969, -2.9678, false},
    {46.8743190, 102.4487290, -43.575, -43.5824, false},
    {-23.6174460, 133.8747120, 15.871, 15.8797, false},
    {38.6254730, 359.9995000, 50.066, 50.0612, true},
    {-0.4667440, 0.0023000, 17.329, 17.3304, true},
};

// One converted model folder per form of the grid, made once for all tests.
struct ConvertedGrid {
    std::unique_ptr<geoid_test::ScratchFolder> folder;
    int status = -1;
    std::string error;

    void convert(const std::string& name, const std::string& options)
    {
        folder = std::make_unique<geoid_test::ScratchFolder>(name);
        const auto r = kelvane_test::runCli("grid convert " + options + " \"" + kGtx + "\" \"" +
                                            folder->file("egm96.grd") + "\"");
        status = r.status;
        error = r.err;
    }
};

class Egm96 : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!std::filesystem::exists(kGtx)) return;
        strict_.convert("egm96", "--no-overlap");
        default_.convert("egm96_overlap", "");
    }
    static void TearDownTestSuite()
    {
        closeGeoidGrid();
        strict_.folder.reset();
        default_.folder.reset();
    }
    void SetUp() override
    {
        if (!strict_.folder) {
            GTEST_SKIP() << kGtx << " is not installed (Debian package proj-data); "
                         << "the EGM96 integration test needs it";
        }
    }
    static void open(const ConvertedGrid& grid)
    {
        ASSERT_EQ(grid.status, 0) << "kelvane grid convert failed: " << grid.error;
        ASSERT_EQ(openGeoidGrid(grid.folder->path().c_str(), kvGeoidEGM96), 0);
    }

    static ConvertedGrid strict_;
    static ConvertedGrid default_;
};

ConvertedGrid Egm96::strict_;
ConvertedGrid Egm96::default_;

TEST_F(Egm96, DefaultConversionMatchesNgaSampleOutputEverywhere)
{
    ASSERT_NO_FATAL_FAILURE(open(default_));
    for (const Egm96Point& p : kPoints) {
        double n = 0.0;
        ASSERT_EQ(getElevFromGeoidGrid(p.lat, p.lon, &n), kvGeoidOk) << p.lat << " " << p.lon;
        EXPECT_NEAR(n, p.published, 0.02) << p.lat << " " << p.lon;
        EXPECT_NEAR(n, p.cubic, 0.0005) << p.lat << " " << p.lon;
    }
}

TEST_F(Egm96, WithoutOverlapTheSeamFallsBackToTheCell)
{
    ASSERT_NO_FATAL_FAILURE(open(strict_));
    for (const Egm96Point& p : kPoints) {
        double n = 0.0;
        ASSERT_EQ(getElevFromGeoidGrid(p.lat, p.lon, &n), kvGeoidOk) << p.lat << " " << p.lon;
        EXPECT_NEAR(n, p.published, p.seam ? 0.06 : 0.02) << p.lat << " " << p.lon;
        if (!p.seam) {
            EXPECT_NEAR(n, p.cubic, 0.0005) << p.lat << " " << p.lon;
        }
    }
}

TEST_F(Egm96, WestLongitudesAreTakenModulo360)
{
    for (const ConvertedGrid* grid : {&strict_, &default_}) {
        ASSERT_NO_FATAL_FAILURE(open(*grid));
        double east = 0.0;
        double west = 1.0;
        ASSERT_EQ(getElevFromGeoidGrid(38.6254730, 359.9995, &east), kvGeoidOk);
        ASSERT_EQ(getElevFromGeoidGrid(38.6254730, -0.0005, &west), kvGeoidOk);
        EXPECT_EQ(east, west);
        ASSERT_EQ(getElevFromGeoidGrid(38.6281550, 269.7791550 - 360.0, &west), kvGeoidOk);
        EXPECT_NEAR(west, -31.628, 0.02);
    }
}

TEST_F(Egm96, ThePolesAndTheClosingMeridianAnswer)
{
    ASSERT_NO_FATAL_FAILURE(open(strict_));
    double n = 0.0;
    for (double lon : {0.0, 90.0, 180.0, 360.0}) {
        ASSERT_EQ(getElevFromGeoidGrid(90.0, lon, &n), kvGeoidOk);
        EXPECT_NEAR(n, 13.606, 0.001); // the north pole node
        ASSERT_EQ(getElevFromGeoidGrid(-90.0, lon, &n), kvGeoidOk);
        EXPECT_NEAR(n, -29.534, 0.001); // the south pole node
    }
    double at0 = 0.0;
    double at360 = 1.0;
    ASSERT_EQ(getElevFromGeoidGrid(12.3, 0.0, &at0), kvGeoidOk);
    ASSERT_EQ(getElevFromGeoidGrid(12.3, 360.0, &at360), kvGeoidOk);
    EXPECT_NEAR(at0, at360, 1e-9);
}

} // namespace
