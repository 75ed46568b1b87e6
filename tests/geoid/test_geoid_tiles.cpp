// Choosing the file (tile) of a model that covers a point.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "geoid/geoid_catalogue.h"
#include "geoid/geoid_tiles.h"
#include "geoid_test_files.h"

namespace {

using kelvane::geoid::chooseGeoidFile;
using kelvane::geoid::eastLongitude;
using kelvane::geoid::kGeoidPathSize;

const char* const kFolder = "/geoid/";

struct Choice {
    int rc;
    std::string file; // without the folder
};

// The file chosen for a point given as the host gives it (a negative longitude is west).
Choice choose(int model, double lat, double lon, const std::string& folder = kFolder)
{
    char path[kGeoidPathSize];
    const int rc = chooseGeoidFile(folder.c_str(), model, lat, eastLongitude(lon), path, sizeof path);
    std::string p = rc == 0 ? path : "";
    if (p.compare(0, folder.size(), folder) == 0) p.erase(0, folder.size());
    return {rc, p};
}

// model, latitude, longitude as the host gives it, the file chosen ("" for -1, no box)
struct TileRow {
    int model;
    double lat, lon;
    const char* file;
};

const TileRow kTileRows[] = {
    // GEOID03: box 2 at 105 W; on latitude 41 box 6 wins, being tested after box 2.
    {2, 45.0, -105.0, "g2003u02.grd"}, {2, 41.0, -105.0, "g2003u06.grd"}, {2, 39.0, -105.0, "g2003u06.grd"},
    // Shared meridians and corners go to the box tested last.
    {1, 45.0, 248.0, "g1999u02.grd"}, {1, 45.0, 265.0, "g1999u03.grd"}, {1, 45.0, 282.0, "g1999u04.grd"},
    {1, 41.0, 282.0, "g1999u08.grd"}, {1, 58.0, 240.0, "g1999u01.grd"}, {1, 24.0, 300.0, "g1999u08.grd"},
    {1, 58.0, 230.0, "g1999a04.grd"}, // Alaska box 12 reaches 49 to 61, 202 to 234
    // The four Alaska boxes overlap: a point in all four takes the fourth.
    {2, 60.5, 203.0, "g2003a04.grd"}, {2, 64.0, -150.0, "g2003a02.grd"}, {2, 65.0, 180.0, "g2003a01.grd"},
    {1, 55.0, 180.0, "g1999a03.grd"}, {2, 21.0, -157.0, "g2003h01.grd"},
    {2, 58.5, 240.0, ""}, {2, 45.0, 229.999, ""}, {2, 0.0, 0.0, ""},
    // Island boxes differ per model: 20 to 26 in GEOID99, 15 to 21 in GEOID03, none in GEOID09.
    {1, 23.0, -66.0, "g1999p01.grd"}, {2, 18.0, -66.0, "g2003p01.grd"}, {1, 18.0, -66.0, ""}, {3, 18.0, -66.0, ""},
    {3, 13.5, 144.8, "g2009g01.grd"}, {3, -14.3, -170.7, "g2009s01.grd"}, {2, -14.3, -170.7, ""},
    {3, 39.0, -105.0, "g2009u06.grd"},
    // CARIB97: the western box is tested last and takes longitude -72 (288).
    {12, 18.0, -72.0, "carib97w.grd"}, {12, 18.0, 288.0, "carib97w.grd"}, {12, 18.0, -71.9, "carib97e.grd"},
    {12, 18.0, -86.0, "carib97w.grd"}, {12, 28.0, -58.0, "carib97e.grd"}, {12, 9.0, -77.0, "carib97w.grd"}, {12, 18.0, -57.9, ""},
    {12, 8.99, -70.0, ""},
    // FRANCE-RAF98: only the part east of the prime meridian is reached (-2 is tested as 358).
    {15, 46.0, 2.0, "france.grd"}, {15, 51.5, 8.5, "france.grd"}, {15, 42.0, 0.0, "france.grd"},
    {15, 46.0, -2.0, ""}, {15, 51.51, 2.0, ""}, {15, 46.0, 8.51, ""},
    // Single-file models name their presence pattern for any point.
    {4, -89.0, 17.0, "egm96.grd"}, {36, 28.0, -16.0, "egm08_rednap_canarias.grd"}, {39, 1000.0, -1000.0, "swiss04.grd"},
};

TEST(TileSelection, EveryModelChoosesTheFileOfItsBoxes)
{
    for (const TileRow& row : kTileRows) {
        const Choice ch = choose(row.model, row.lat, row.lon);
        EXPECT_EQ(ch.rc, row.file[0] ? 0 : -1) << "model " << row.model << " lat " << row.lat << " lon " << row.lon;
        EXPECT_EQ(ch.file, row.file) << "model " << row.model << " lat " << row.lat << " lon " << row.lon;
    }
    EXPECT_EQ(choose(0, 45.0, 10.0).rc, -3);
    EXPECT_EQ(choose(40, 45.0, 10.0).rc, -3);
}

TEST(UnitedStatesTiles, Geoid09FallsBackToTheOlderNamesWhenItsOwnAreAbsent)
{
    geoid_test::ScratchFolder dir("g09");
    EXPECT_EQ(choose(3, 64.0, -150.0, dir.path()).file, "g2009a02.grd");
    geoid_test::writeConstantGrid(dir.file("g2003a02.grd"), 60, 202, 72, 234, 1, 1, 1.0);
    geoid_test::writeConstantGrid(dir.file("g2003h01.grd"), 18, 199, 24, 206, 1, 1, 1.0);
    EXPECT_EQ(choose(3, 64.0, -150.0, dir.path()).file, "g2003a02.grd");
    EXPECT_EQ(choose(3, 21.0, -157.0, dir.path()).file, "g2003h01.grd");
    // Where both exist the GEOID09 file is used.
    geoid_test::writeConstantGrid(dir.file("g2009a02.grd"), 60, 202, 72, 234, 1, 1, 1.0);
    EXPECT_EQ(choose(3, 64.0, -150.0, dir.path()).file, "g2009a02.grd");
}

TEST(TileSelection, HostilePointsAndFoldersAreRefusedCleanly)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(choose(2, nan, -105.0).rc, -1);
    EXPECT_EQ(choose(2, 45.0, nan).rc, -1);
    EXPECT_EQ(choose(12, nan, nan).rc, -1);
    // A folder that leaves no room for the file name is not truncated into another name.
    const std::string longFolder(kGeoidPathSize - 8, 'x');
    EXPECT_EQ(choose(4, 0.0, 0.0, longFolder).rc, -2);
    EXPECT_EQ(choose(2, 45.0, -105.0, longFolder).rc, -2);
    char tiny[4];
    EXPECT_EQ(chooseGeoidFile("/g/", 4, 0.0, 0.0, tiny, sizeof tiny), -2);
    EXPECT_STREQ(tiny, "");
}

// AUSGeoid98: tiles are found by their headers, sheet 49 to 57 outside, letter c to l inside.
class AusGeoidTiles : public ::testing::Test {
protected:
    geoid_test::ScratchFolder dir{"aus"};
    void tile(const std::string& name, double south, double west, double north, double east)
    {
        geoid_test::writeConstantGrid(dir.file(name), south, west, north, east, 2, 2, 1.0);
    }
    // Every one of the 90 tile files, far away from the test points.
    void allOtherTiles()
    {
        for (int sheet = 49; sheet <= 57; ++sheet) {
            for (char letter = 'c'; letter <= 'l'; ++letter) {
                const std::string name = std::string("au_s") + letter + std::to_string(sheet) + ".grd";
                if (!std::filesystem::exists(dir.file(name))) tile(name, 10, 10, 11, 11);
            }
        }
    }
    Choice at(double lat, double lon) { return choose(6, lat, lon, dir.path()); }
};

TEST_F(AusGeoidTiles, APointInsideATileFindsItAndASharedEdgeBelongsToNoTile)
{
    tile("au_sd50.grd", -30, 140, -25, 145);
    tile("au_se50.grd", -30, 145, -25, 150);
    EXPECT_EQ(at(-27.0, 142.0).file, "au_sd50.grd");
    EXPECT_EQ(at(-27.0, 145.0).rc, -2); // no tile, and most tile files are missing
    EXPECT_EQ(at(-30.0, 142.0).rc, -2);
    allOtherTiles();
    EXPECT_EQ(at(-27.0, 145.0).rc, -1); // no tile, and none missing
    EXPECT_EQ(at(-25.0, 147.0).rc, -1);
    EXPECT_EQ(at(-27.0, 147.0).file, "au_se50.grd");
}

// The lower sheet number is searched first; headers are read as the loader reads them (a
// first line longer than the 128-byte buffer is one value), and hostile ones never match.
TEST_F(AusGeoidTiles, SearchOrderAndHeaders)
{
    tile("au_sl49.grd", -30, 140, -25, 145);
    tile("au_sc50.grd", -30, 140, -25, 145);
    EXPECT_EQ(at(-27.0, 142.0).file, "au_sl49.grd");
    std::ofstream(dir.file("au_sd49.grd")) << "-30" << std::string(200, ' ') << "\n140\n-25\n145\n2\n2\n";
    EXPECT_EQ(at(-27.0, 142.0).file, "au_sd49.grd");
    std::ofstream(dir.file("au_sc49.grd")) << std::string(500, '9') << "\n-1e999\nnan\n"; // long, infinite, short
    std::ofstream bytes(dir.file("au_se49.grd"), std::ios::binary);
    for (int i = 0; i < 300; ++i) bytes << static_cast<char>(i * 37);
    bytes.close();
    EXPECT_EQ(at(-27.0, 142.0).file, "au_sd49.grd");
    EXPECT_EQ(at(std::numeric_limits<double>::quiet_NaN(), 142.0).rc, -2);
}

} // namespace
