// The process-wide geoid context: model names, opening a folder, the query's state table
// and tile changes, on synthetic model folders.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <limits>
#include <string>

#if !defined(_WIN32)
#include <sys/stat.h> // mkfifo, for the pipe case
#endif

#include "geoid/geoid_context.h"
#include "geoid/geoid_interpolation.h"
#include "geoid/geoid_tiles.h"
#include "geoid_test_files.h"
#include "kelvane/geoid.h"

namespace {

using kelvane::geoid::geoidContext;
using kelvane::geoid::kGeoidClosed;
using kelvane::geoid::kGeoidLoaded;
using kelvane::geoid::kGeoidOpened;
using geoid_test::ScratchFolder;

const char* const kNames[39] = {
    "GEOID99", "GEOID03", "GEOID09", "EGM96", "OSU91A", "AUSGeoid98", "Belgium03", "CGG2000",
    "Canada HT2", "Canada HT1", "Canada GSD95", "CARIB97", "Finland 2000", "Finland 2005",
    "FRANCE-RAF98", "French Guyana", "Germany GCG05", "OSGM02_GB", "OSGM02_ROI", "OSGM02_NI",
    "Israel", "Latvia 98", "Lithuania (GMATAS)", "Netherlands 2004", "Netherlands 2008",
    "New Caledonia-RANC00", "New Zealand 2005", "New Zealand 2009", "Norway 2007", "Norway 2008",
    "Poland", "Portugal 2008", "Spain (CAT10060)", "Spain (CAT70260)", "Spain (EGM08)",
    "Spain (EGM08 Canarias)", "Sweden05-RH70", "Sweden05-RH2000", "Swiss 2004"};

TEST(GeoidNames, AllThirtyNineAndNoneOutside)
{
    std::size_t longest = 0;
    for (int id = 1; id <= 39; ++id) {
        char name[64];
        std::memset(name, '#', sizeof name);
        get_geoid_name(id, name);
        EXPECT_STREQ(name, kNames[id - 1]) << "model " << id;
        longest = std::max(longest, std::strlen(name) + 1);
    }
    EXPECT_EQ(longest, static_cast<std::size_t>(kvGeoidNameSize));
    for (int id : {0, 40, -1, INT_MIN, INT_MAX}) {
        char name[kvGeoidNameSize] = "x";
        get_geoid_name(id, name);
        EXPECT_STREQ(name, "NONE") << "model " << id;
    }
}

// Null pointers and absent grids, across the header and the internal grid calls: a clean
// status, nothing written, nothing changed.
TEST(GeoidContract, NullsAreRefusedAndOutputsUntouched)
{
    using namespace kelvane;
    closeGeoidGrid();
    double h = 123.0;
    EXPECT_EQ(getGeoidElev(41.0, 12.0, &h), kvGeoidNoData); // no grid loaded
    EXPECT_EQ(h, 123.0);
    EXPECT_EQ(getGeoidElev(41.0, 12.0, nullptr), kvGeoidNoFile);
    EXPECT_EQ(getElevFromGeoidGrid(45.0, 10.0, nullptr), kvGeoidNoFile);
    EXPECT_EQ(openGeoidGrid(nullptr, 4), 1);
    EXPECT_EQ(geoidContext().state, kGeoidClosed);
    get_geoid_name(4, nullptr);
    EXPECT_EQ(loadGeoidGridFile(nullptr), kvGeoidNoFile);
    EXPECT_EQ(geoidContextGrid(), nullptr);

    EXPECT_EQ(gridNodeCount(nullptr), -1);
    EXPECT_EQ(gridNodeIndex(nullptr, 0, 0), -1);
    EXPECT_EQ(gridNodeLongitude(nullptr, 0), kGeoidNoPosition);
    EXPECT_EQ(gridNodeLatitude(nullptr, 0), kGeoidNoPosition);
    for (auto neighbour : {gridEastNeighbour, gridNorthNeighbour, gridWestNeighbour, gridSouthNeighbour})
        EXPECT_EQ(neighbour(nullptr, 5), -1);
    EXPECT_EQ(getGridCell(nullptr, 0).valid, '0');
    setGridCell(nullptr, 0, emptyGridCell());
    flushWriteWindow(nullptr);
    destroyGeoidGrid(nullptr);
    releaseGeoidGrid();
    EXPECT_EQ(geoid::interpolateGeoidBicubic(12.0, 41.0, nullptr), kGeoidNoData);
    EXPECT_EQ(geoid::interpolateGeoidCell(12.0, 41.0, nullptr), kGeoidNoData);
}

// Every test starts and ends with the context closed.
class GeoidContextTest : public ::testing::Test {
protected:
    void SetUp() override { closeGeoidGrid(); }
    void TearDown() override { closeGeoidGrid(); }

    static int query(double lat, double lon, double& h)
    {
        h = 999.0;
        return getElevFromGeoidGrid(lat, lon, &h);
    }
    static int state() { return geoidContext().state; }
};

// A global model file: a plane in latitude and longitude on a 30-degree grid.
double globalPlane(double lon, double lat)
{
    return 10.0 + 0.01 * lon + 0.1 * lat;
}

void writeGlobalGrid(const std::string& path)
{
    geoid_test::writeSurfaceGrid(path, -90, 0, 90, 360, 12, 6, globalPlane);
}

TEST_F(GeoidContextTest, QueriesBeforeOpeningOrAfterClosingReturnMinus2AndZero)
{
    double h;
    EXPECT_EQ(query(45.0, 10.0, h), kvGeoidNoFile);
    EXPECT_EQ(h, 0.0);

    ScratchFolder dir("closed");
    writeGlobalGrid(dir.file("egm96.grd"));
    ASSERT_EQ(openGeoidGrid(dir.path().c_str(), 4), 0);
    ASSERT_EQ(query(45.0, 10.0, h), kvGeoidOk);
    closeGeoidGrid();
    EXPECT_EQ(state(), kGeoidClosed);
    EXPECT_EQ(geoidContext().model, 0);
    EXPECT_STREQ(geoidContext().folder, "");
    EXPECT_EQ(kelvane::geoidContextGrid(), nullptr);
    EXPECT_EQ(query(45.0, 10.0, h), kvGeoidNoFile);
    EXPECT_EQ(h, 0.0);
}

TEST_F(GeoidContextTest, OpenNeedsAModelFileInTheFolderGivenWithItsSeparator)
{
    ScratchFolder dir("open");
    writeGlobalGrid(dir.file("egm96.grd"));
    EXPECT_EQ(openGeoidGrid(dir.path().c_str(), 0), 1);
    EXPECT_EQ(openGeoidGrid(dir.path().c_str(), 40), 1);
    EXPECT_EQ(openGeoidGrid(dir.path().c_str(), 5), 1);   // no osu91a.grd
    EXPECT_EQ(openGeoidGrid(dir.bare().c_str(), 4), 1);   // "...openegm96.grd"
    EXPECT_EQ(openGeoidGrid((dir.path() + "absent/").c_str(), 4), 1);
    EXPECT_EQ(state(), kGeoidClosed);

    EXPECT_EQ(openGeoidGrid(dir.path().c_str(), 4), 0);
    EXPECT_EQ(state(), kGeoidOpened);
    EXPECT_EQ(geoidContext().model, 4);
    EXPECT_EQ(dir.path(), geoidContext().folder);
    EXPECT_EQ(dir.path(), kelvane::geoidScratchFolder());
}

TEST_F(GeoidContextTest, AFolderLongerThan259CharactersIsRefusedNotTruncated)
{
    ScratchFolder dir("long");
    if (dir.path().size() > 250) GTEST_SKIP() << "the build folder is too deep for this test";
    writeGlobalGrid(dir.file("egm96.grd"));
    ASSERT_EQ(openGeoidGrid(dir.path().c_str(), 4), 0);

    // The same folder reached through enough "./" to pass 259 characters.
    std::string longer = dir.path();
    while (longer.size() <= 259) longer += "./";
    EXPECT_EQ(openGeoidGrid(longer.c_str(), 4), 1);
    // The refused string changed nothing: model, folder and state stay as they were.
    EXPECT_EQ(openGeoidGrid(std::string(5000, 'a').c_str(), 4), 1);
    EXPECT_EQ(geoidContext().model, 4);
    EXPECT_EQ(dir.path(), geoidContext().folder);
    double h;
    EXPECT_EQ(query(30.0, 60.0, h), kvGeoidOk);
    EXPECT_NEAR(h, globalPlane(60.0, 30.0), 1e-9);
}

TEST_F(GeoidContextTest, AGlobalModelLoadsOnceAndServesEveryPoint)
{
    ScratchFolder dir("egm");
    writeGlobalGrid(dir.file("egm96.grd"));
    ASSERT_EQ(openGeoidGrid(dir.path().c_str(), 4), 0);
    EXPECT_EQ(kelvane::geoidContextGrid(), nullptr); // loaded lazily
    double h;
    ASSERT_EQ(query(45.0, 10.0, h), kvGeoidOk);
    EXPECT_EQ(state(), kGeoidLoaded);
    EXPECT_NEAR(h, globalPlane(10.0, 45.0), 1e-9);
    const kelvane::GeoidGrid* grid = kelvane::geoidContextGrid();
    ASSERT_NE(grid, nullptr);
    // Far away, and west of Greenwich (taken as 360 - 120).
    ASSERT_EQ(query(-60.0, -120.0, h), kvGeoidOk);
    EXPECT_NEAR(h, globalPlane(240.0, -60.0), 1e-9);
    EXPECT_EQ(kelvane::geoidContextGrid(), grid);
    double direct = 0.0;
    EXPECT_EQ(getGeoidElev(-60.0, 240.0, &direct), kvGeoidOk);
    EXPECT_EQ(direct, h);
}

TEST_F(GeoidContextTest, NoDataAtThePointGivesMinus5AndZero)
{
    ScratchFolder dir("nodata");
    // Nodes east of 180 have no data.
    geoid_test::writeGridFile(dir.file("egm96.grd"), -90, 0, 90, 360, 12, 6, [](int c, int r) {
        return c > 6 ? std::string("N") : geoid_test::number(globalPlane(c * 30.0, r * 30.0 - 90));
    });
    ASSERT_EQ(openGeoidGrid(dir.path().c_str(), 4), 0);
    double h;
    EXPECT_EQ(query(10.0, 270.0, h), kvGeoidNoData);
    EXPECT_EQ(h, 0.0);
    EXPECT_EQ(state(), kGeoidLoaded);
    EXPECT_EQ(query(10.0, 90.0, h), kvGeoidOk);
    // Hostile points answer cleanly.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {nan, inf, -inf, 1e300, -1e300, 90.5, -400.0}) {
        EXPECT_EQ(query(bad, 10.0, h), kvGeoidNoData) << bad;
        EXPECT_EQ(h, 0.0);
    }
    for (double bad : {nan, inf, -inf, 1e300, -1e300, 360.5, -400.0}) {
        EXPECT_EQ(query(10.0, bad, h), kvGeoidNoData) << bad;
        EXPECT_EQ(h, 0.0);
    }
}

TEST_F(GeoidContextTest, AFileThatCannotBeLoadedKeepsTheContextOpened)
{
    ScratchFolder dir("broken");
    {
        std::ofstream f(dir.file("egm96.grd"));
        f << "-90\n0\n90\n360\n-12\n6\n1\n"; // a negative interval count: no grid
    }
    ASSERT_EQ(openGeoidGrid(dir.path().c_str(), 4), 0);
    double h;
    EXPECT_EQ(query(10.0, 20.0, h), kvGeoidNoMemory);
    EXPECT_EQ(h, 0.0);
    EXPECT_EQ(state(), kGeoidOpened); // the next query tries again
    writeGlobalGrid(dir.file("egm96.grd"));
    EXPECT_EQ(query(10.0, 20.0, h), kvGeoidOk);
    EXPECT_EQ(state(), kGeoidLoaded);
    // The file vanishing later does not matter: the loaded grid keeps serving.
    std::filesystem::remove(dir.file("egm96.grd"));
    EXPECT_EQ(query(-10.0, 200.0, h), kvGeoidOk);
}

TEST_F(GeoidContextTest, MissingTilesAndPointsOutsideTheTiles)
{
    ScratchFolder dir("carib");
    geoid_test::writeConstantGrid(dir.file("carib97e.grd"), 9, 288, 28, 302, 14, 19, 5.0);
    ASSERT_EQ(openGeoidGrid(dir.path().c_str(), 12), 0);
    double h;
    EXPECT_EQ(query(18.0, -77.0, h), kvGeoidNoFile); // carib97w.grd is missing
    EXPECT_EQ(state(), kGeoidOpened);
    EXPECT_EQ(query(40.0, -77.0, h), kvGeoidOutsideTiles);
    EXPECT_EQ(h, 0.0);
    EXPECT_EQ(query(18.0, -66.0, h), kvGeoidOk);
    EXPECT_EQ(h, 5.0);
    EXPECT_EQ(state(), kGeoidLoaded);

    // CARIB97 opens only with its eastern tile present.
    ScratchFolder west("caribw");
    geoid_test::writeConstantGrid(west.file("carib97w.grd"), 9, 274, 28, 288, 14, 19, 5.0);
    EXPECT_EQ(openGeoidGrid(west.path().c_str(), 12), 1);
}

TEST_F(GeoidContextTest, Geoid03ChangesFromTheColoradoTileToTheAlaskaTile)
{
    ScratchFolder dir("g03");
    geoid_test::writeConstantGrid(dir.file("g2003u06.grd"), 24, 248, 41, 265, 17, 17, -17.0);
    geoid_test::writeConstantGrid(dir.file("g2003a02.grd"), 60, 202, 72, 234, 16, 12, 12.0);
    ASSERT_EQ(openGeoidGrid(dir.path().c_str(), 2), 0);
    double h;
    ASSERT_EQ(query(39.0, -105.0, h), kvGeoidOk); // Colorado
    EXPECT_EQ(h, -17.0);
    EXPECT_EQ(dir.file("g2003u06.grd"), geoidContext().loadedPath);
    ASSERT_EQ(query(64.0, -150.0, h), kvGeoidOk); // Alaska
    EXPECT_EQ(h, 12.0);
    EXPECT_EQ(dir.file("g2003a02.grd"), geoidContext().loadedPath);
    EXPECT_EQ(state(), kGeoidLoaded);

    // A tile change that fails leaves state 2 without a grid; the next query recovers.
    EXPECT_EQ(query(30.0, -90.0, h), kvGeoidNoFile); // box 7, g2003u07.grd missing
    EXPECT_EQ(state(), kGeoidLoaded);
    EXPECT_EQ(kelvane::geoidContextGrid(), nullptr);
    EXPECT_EQ(query(0.0, 0.0, h), kvGeoidOutsideTiles);
    ASSERT_EQ(query(39.0, -105.0, h), kvGeoidOk);
    EXPECT_EQ(h, -17.0);
}

TEST_F(GeoidContextTest, AMissWithinTheLoadedTileKeepsTheTile)
{
    ScratchFolder dir("g99");
    // A tile with no data in its western half.
    geoid_test::writeGridFile(dir.file("g1999u06.grd"), 24, 248, 41, 265, 17, 17, [](int c, int) {
        return c < 9 ? std::string("N") : std::string("-20.5");
    });
    ASSERT_EQ(openGeoidGrid(dir.path().c_str(), 1), 0);
    double h;
    ASSERT_EQ(query(30.0, -100.0, h), kvGeoidOk);
    const kelvane::GeoidGrid* grid = kelvane::geoidContextGrid();
    EXPECT_EQ(query(30.0, -110.0, h), kvGeoidNoData);
    EXPECT_EQ(h, 0.0);
    EXPECT_EQ(kelvane::geoidContextGrid(), grid);
    EXPECT_EQ(query(30.0, -99.0, h), kvGeoidOk);
    EXPECT_EQ(h, -20.5);
}

// GEOID09 and CARIB97 change tiles like GEOID99, GEOID03 and AUSGeoid98.
TEST_F(GeoidContextTest, Geoid09AndCarib97ChangeTilesToo)
{
    ScratchFolder g09("g09");
    geoid_test::writeConstantGrid(g09.file("g2009u06.grd"), 24, 248, 41, 265, 17, 17, -17.0);
    geoid_test::writeConstantGrid(g09.file("g2003h01.grd"), 18, 199, 24, 206, 7, 6, 3.0);
    ASSERT_EQ(openGeoidGrid(g09.path().c_str(), 3), 0);
    double h;
    ASSERT_EQ(query(39.0, -105.0, h), kvGeoidOk);
    EXPECT_EQ(h, -17.0);
    ASSERT_EQ(query(21.0, -157.0, h), kvGeoidOk); // Hawaii, older file name
    EXPECT_EQ(h, 3.0);

    ScratchFolder carib("carib2");
    geoid_test::writeConstantGrid(carib.file("carib97e.grd"), 9, 288, 28, 302, 14, 19, 5.0);
    geoid_test::writeConstantGrid(carib.file("carib97w.grd"), 9, 274, 28, 288, 14, 19, 7.0);
    ASSERT_EQ(openGeoidGrid(carib.path().c_str(), 12), 0);
    EXPECT_EQ(state(), kGeoidOpened); // the GEOID09 grid stays until the next selection
    EXPECT_NE(kelvane::geoidContextGrid(), nullptr);
    ASSERT_EQ(query(18.0, -66.0, h), kvGeoidOk);
    EXPECT_EQ(h, 5.0);
    ASSERT_EQ(query(18.0, -77.0, h), kvGeoidOk);
    EXPECT_EQ(h, 7.0);
}

TEST_F(GeoidContextTest, AusGeoid98ChangesTilesAndRefusesSharedEdges)
{
    ScratchFolder dir("aus");
    geoid_test::writeConstantGrid(dir.file("au_sd50.grd"), -30, 140, -25, 145, 5, 5, 1.5);
    geoid_test::writeConstantGrid(dir.file("au_se50.grd"), -30, 145, -25, 150, 5, 5, 2.5);
    ASSERT_EQ(openGeoidGrid(dir.path().c_str(), 6), 0);
    double h;
    ASSERT_EQ(query(-27.0, 142.0, h), kvGeoidOk);
    EXPECT_EQ(h, 1.5);
    ASSERT_EQ(query(-27.0, 147.0, h), kvGeoidOk);
    EXPECT_EQ(h, 2.5);
    // On the shared edge the loaded eastern tile still answers (its grid includes 145);
    // once no tile is loaded, the edge selects nothing and most tile files are missing.
    EXPECT_EQ(query(-27.0, 145.0, h), kvGeoidOk);
    EXPECT_EQ(query(-40.0, 145.0, h), kvGeoidNoFile);
    EXPECT_EQ(query(-27.0, 145.0, h), kvGeoidNoFile);
}

TEST_F(GeoidContextTest, SelectionRefusesModelsOutsideTheCatalogue)
{
    ScratchFolder dir("sel");
    writeGlobalGrid(dir.file("egm96.grd"));
    EXPECT_EQ(kelvane::geoid::selectGeoidFile(dir.path().c_str(), 0, 10.0, 10.0), kvGeoidBadModel);
    EXPECT_EQ(kelvane::geoid::selectGeoidFile(dir.path().c_str(), 40, 10.0, 10.0), kvGeoidBadModel);
    EXPECT_EQ(kelvane::geoid::selectGeoidFile(dir.path().c_str(), 4, 10.0, 10.0), kvGeoidOk);
    EXPECT_NE(kelvane::geoidContextGrid(), nullptr);
    // The loaded grid is released first, even when the model is refused.
    EXPECT_EQ(kelvane::geoid::selectGeoidFile(dir.path().c_str(), 41, 10.0, 10.0), kvGeoidBadModel);
    EXPECT_EQ(kelvane::geoidContextGrid(), nullptr);
}

// Hostile files and a hostile environment: every case ends in a clean status, no hang,
// and no file left in the grid folder.
TEST_F(GeoidContextTest, HostileFilesAndFaultsGiveCleanStatuses)
{
    ScratchFolder dir("hostile");
    const auto entries = [&] { return dir.entryCount(); };
    double h;
    // A 20-byte file promising 33 million nodes is refused before anything is allocated.
    geoid_test::writeGridFile(dir.file("egm96.grd"), 0, 0, 10, 10, 0, 0, [](int, int) { return "1"; });
    ASSERT_EQ(openGeoidGrid(dir.path().c_str(), 4), 0);
    { std::ofstream(dir.file("egm96.grd")) << "0\n0\n10\n10\n5791\n5791\n"; }
    EXPECT_EQ(query(5.0, 5.0, h), kvGeoidNoMemory);
    EXPECT_EQ(getGeoidLoadFailure(), kvGeoidLoadBadHeader);
    // ... and remembered: the same unchanged file is not read again.
    EXPECT_EQ(dir.file("egm96.grd"), geoidContext().failedPath);
    EXPECT_EQ(query(5.0, 5.0, h), kvGeoidNoMemory);
    // Emptied (truncated after the presence check): still a bad header, not "no memory".
    { std::ofstream(dir.file("egm96.grd")); }
    EXPECT_EQ(query(5.0, 5.0, h), kvGeoidNoMemory);
    EXPECT_EQ(getGeoidLoadFailure(), kvGeoidLoadBadHeader);
#if !defined(_WIN32) // Windows has its own device and pipe cases
    // A pipe or a device named as the file: refused at once, never waited on.
    std::filesystem::remove(dir.file("egm96.grd"));
    ASSERT_EQ(::mkfifo(dir.file("egm96.grd").c_str(), 0600), 0);
    EXPECT_EQ(query(5.0, 5.0, h), kvGeoidNoFile);
    EXPECT_EQ(getGeoidLoadFailure(), kvGeoidLoadUnreadable);
    std::filesystem::remove(dir.file("egm96.grd"));
    std::filesystem::create_symlink("/dev/zero", dir.file("egm96.grd"));
    EXPECT_EQ(query(5.0, 5.0, h), kvGeoidNoFile);
#endif
    std::filesystem::remove(dir.file("egm96.grd"));

    // Memory for the rows lacking: the grid goes to a scratch file and answers the same.
    writeGlobalGrid(dir.file("egm96.grd"));
    kelvane::gGeoidAllocationsToFail = 1; // the first row
    ASSERT_EQ(query(45.0, 10.0, h), kvGeoidOk);
    EXPECT_EQ(kelvane::geoidContextGrid()->inMemory, 0);
    EXPECT_NEAR(h, globalPlane(10.0, 45.0), 1e-9);
#if !defined(_WIN32) // on Windows the scratch file is seen until it is closed
    EXPECT_EQ(entries(), 1); // the scratch file has no name in the folder
#endif
    closeGeoidGrid();
    // No memory at all, or a folder that takes no scratch file: -4, nothing left behind.
    ASSERT_EQ(openGeoidGrid(dir.path().c_str(), 4), 0);
    kelvane::gGeoidAllocationsToFail = 1000;
    EXPECT_EQ(query(45.0, 10.0, h), kvGeoidNoMemory);
    EXPECT_EQ(getGeoidLoadFailure(), kvGeoidLoadNoSpace);
    ASSERT_EQ(openGeoidGrid(dir.path().c_str(), 4), 0);
    ASSERT_EQ(kelvane::setGeoidScratchFolder("/proc/"), 0); // no file can be created there
    kelvane::gGeoidAllocationsToFail = 1;
    EXPECT_EQ(query(45.0, 10.0, h), kvGeoidNoMemory);
    kelvane::gGeoidAllocationsToFail = 0;
    EXPECT_EQ(entries(), 1);
    // Reopening forgets the failure; the folder removed after opening gives -2.
    ASSERT_EQ(openGeoidGrid(dir.path().c_str(), 4), 0);
    std::filesystem::remove_all(dir.bare());
    EXPECT_EQ(query(45.0, 10.0, h), kvGeoidNoFile);
    EXPECT_EQ(h, 0.0);
    std::filesystem::create_directories(dir.bare());
}

} // namespace
