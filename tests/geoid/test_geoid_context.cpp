// The process-wide geoid context: model names, opening a folder, the query's state table
// and tile changes, on synthetic model folders.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

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

TEST_F(GeoidContextTest, AGlobalModelLoadsOnceServesEveryPointAndClosesToMinus2)
{
    double h;
    EXPECT_EQ(query(45.0, 10.0, h), kvGeoidNoFile); // before any open
    EXPECT_EQ(h, 0.0);
    ScratchFolder dir("egm");
    writeGlobalGrid(dir.file("egm96.grd"));
    ASSERT_EQ(openGeoidGrid(dir.path().c_str(), 4), 0);
    EXPECT_EQ(kelvane::geoidContextGrid(), nullptr); // loaded lazily
    ASSERT_EQ(query(45.0, 10.0, h), kvGeoidOk);
    EXPECT_EQ(state(), kGeoidLoaded);
    EXPECT_NEAR(h, globalPlane(10.0, 45.0), 1e-9);
    const kelvane::GeoidGrid* grid = kelvane::geoidContextGrid();
    // Far away, and west of Greenwich (taken as 360 - 120), from the same grid.
    ASSERT_EQ(query(-60.0, -120.0, h), kvGeoidOk);
    EXPECT_NEAR(h, globalPlane(240.0, -60.0), 1e-9);
    EXPECT_EQ(kelvane::geoidContextGrid(), grid);
    double direct = 0.0;
    EXPECT_EQ(getGeoidElev(-60.0, 240.0, &direct), kvGeoidOk);
    EXPECT_EQ(direct, h);

    closeGeoidGrid();
    EXPECT_EQ(state(), kGeoidClosed);
    EXPECT_EQ(geoidContext().model, 0);
    EXPECT_STREQ(geoidContext().folder, "");
    EXPECT_EQ(kelvane::geoidContextGrid(), nullptr);
    EXPECT_EQ(query(45.0, 10.0, h), kvGeoidNoFile);
    EXPECT_EQ(h, 0.0);

    // The selection releases the loaded grid first, even for a model it refuses.
    using kelvane::geoid::selectGeoidFile;
    EXPECT_EQ(selectGeoidFile(dir.path().c_str(), 4, 10.0, 10.0), kvGeoidOk);
    EXPECT_EQ(selectGeoidFile(dir.path().c_str(), 40, 10.0, 10.0), kvGeoidBadModel);
    EXPECT_EQ(kelvane::geoidContextGrid(), nullptr);
}

TEST_F(GeoidContextTest, OpenNeedsAModelFileInAFolderGivenWithItsSeparatorOf259CharactersAtMost)
{
    ScratchFolder dir("open");
    writeGlobalGrid(dir.file("egm96.grd"));
    std::string longer = dir.path(); // the same folder, past 259 characters with "./"
    while (longer.size() <= 259) longer += "./";
    for (const std::string& folder : {dir.path(), dir.bare(), dir.path() + "absent/", longer, std::string(5000, 'a')}) {
        for (int model : {0, 4, 5, 40}) {
            EXPECT_EQ(openGeoidGrid(folder.c_str(), model), folder == dir.path() && model == 4 ? 0 : 1)
                << folder << " model " << model; // no osu91a.grd for model 5; a bare folder finds "...openegm96.grd"
        }
    }
    // The refused opens after the good one changed nothing.
    EXPECT_EQ(state(), kGeoidOpened);
    EXPECT_EQ(geoidContext().model, 4);
    EXPECT_EQ(dir.path(), geoidContext().folder);
    EXPECT_EQ(dir.path(), kelvane::geoidScratchFolder());
}

TEST_F(GeoidContextTest, NoDataAtThePointOrAHostilePointGivesMinus5AndZero)
{
    ScratchFolder dir("nodata");
    // Nodes east of 180 have no data.
    geoid_test::writeGridFile(dir.file("egm96.grd"), -90, 0, 90, 360, 12, 6, [](int c, int r) {
        return c > 6 ? std::string("N") : geoid_test::number(globalPlane(c * 30.0, r * 30.0 - 90));
    });
    ASSERT_EQ(openGeoidGrid(dir.path().c_str(), 4), 0);
    double h;
    EXPECT_EQ(query(10.0, 90.0, h), kvGeoidOk);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {nan, inf, -inf, 1e300, -1e300, 90.5, 360.5, -400.0}) {
        EXPECT_EQ(query(bad, 10.0, h), kvGeoidNoData) << bad;
        EXPECT_EQ(query(10.0, bad == 90.5 ? 270.0 : bad, h), kvGeoidNoData) << bad;
        EXPECT_EQ(h, 0.0);
    }
    EXPECT_EQ(state(), kGeoidLoaded);
}

// A tile of a synthetic model folder, nodes one degree apart: one value at every node,
// except no data west of column noDataWest.
struct Tile {
    const char* file;
    double south, west, north, east;
    double value;
    int noDataWest;
};

// One query: the point as the host gives it, the status, the height, the state after it,
// and whether the tile files are removed first (a grid that is kept needs none).
struct Step {
    double lat, lon;
    int rc;
    double h;
    int state;
    bool removeTiles;
};

struct Scenario {
    const char* what;
    int model;
    std::vector<Tile> tiles;
    std::vector<Step> steps;
};

const int kOk = kvGeoidOk, kNoFile = kvGeoidNoFile, kOutside = kvGeoidOutsideTiles, kNoData = kvGeoidNoData;

const Scenario kScenarios[] = {
    {"CARIB97, western tile missing", 12, {{"carib97e.grd", 9, 288, 28, 302, 5.0, 0}},
     {{18.0, -77.0, kNoFile, 0, kGeoidOpened, false}, {40.0, -77.0, kOutside, 0, kGeoidOpened, false},
      {18.0, -66.0, kOk, 5.0, kGeoidLoaded, false}}},
    {"CARIB97 changes tiles", 12, {{"carib97e.grd", 9, 288, 28, 302, 5.0, 0}, {"carib97w.grd", 9, 274, 28, 288, 7.0, 0}},
     {{18.0, -66.0, kOk, 5.0, kGeoidLoaded, false}, {18.0, -77.0, kOk, 7.0, kGeoidLoaded, false}}},
    // A failed tile change leaves state 2 without a grid; the next query selects again.
    {"GEOID03 from Colorado to Alaska", 2, {{"g2003u06.grd", 24, 248, 41, 265, -17.0, 0}, {"g2003a02.grd", 60, 202, 72, 234, 12.0, 0}},
     {{39.0, -105.0, kOk, -17.0, kGeoidLoaded, false}, {64.0, -150.0, kOk, 12.0, kGeoidLoaded, false},
      {30.0, -90.0, kNoFile, 0, kGeoidLoaded, false}, {0.0, 0.0, kOutside, 0, kGeoidLoaded, false},
      {39.0, -105.0, kOk, -17.0, kGeoidLoaded, false}}},
    {"GEOID99, a miss within the loaded tile keeps it", 1, {{"g1999u06.grd", 24, 248, 41, 265, -20.5, 9}},
     {{30.0, -100.0, kOk, -20.5, kGeoidLoaded, false}, {30.0, -110.0, kNoData, 0, kGeoidLoaded, true},
      {30.0, -99.0, kOk, -20.5, kGeoidLoaded, false}}},
    {"GEOID09 with the older Hawaii file name", 3, {{"g2009u06.grd", 24, 248, 41, 265, -17.0, 0}, {"g2003h01.grd", 18, 199, 24, 206, 3.0, 0}},
     {{39.0, -105.0, kOk, -17.0, kGeoidLoaded, false}, {21.0, -157.0, kOk, 3.0, kGeoidLoaded, false}}},
    // On the shared edge the loaded eastern tile still answers (its grid includes 145);
    // with no tile loaded, the edge selects nothing and most tile files are missing.
    {"AUSGeoid98", 6, {{"au_sd50.grd", -30, 140, -25, 145, 1.5, 0}, {"au_se50.grd", -30, 145, -25, 150, 2.5, 0}},
     {{-27.0, 142.0, kOk, 1.5, kGeoidLoaded, false}, {-27.0, 147.0, kOk, 2.5, kGeoidLoaded, false},
      {-27.0, 145.0, kOk, 2.5, kGeoidLoaded, false}, {-40.0, 145.0, kNoFile, 0, kGeoidLoaded, false},
      {-27.0, 145.0, kNoFile, 0, kGeoidLoaded, false}}},
};

TEST_F(GeoidContextTest, TiledModelsChangeTilesAsTheirPointsRequire)
{
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.what);
        ScratchFolder dir("tiles");
        for (const Tile& t : s.tiles) {
            const int E = static_cast<int>(t.east - t.west), F = static_cast<int>(t.north - t.south); // 1 degree
            geoid_test::writeGridFile(dir.file(t.file), t.south, t.west, t.north, t.east, E, F, [&t](int c, int) {
                return c < t.noDataWest ? std::string("N") : geoid_test::number(t.value);
            });
        }
        ASSERT_EQ(openGeoidGrid(dir.path().c_str(), s.model), 0);
        for (const Step& step : s.steps) {
            for (const Tile& t : s.tiles) {
                if (step.removeTiles) std::filesystem::remove(dir.file(t.file));
            }
            double h;
            EXPECT_EQ(query(step.lat, step.lon, h), step.rc) << step.lat << " " << step.lon;
            EXPECT_NEAR(h, step.h, 1e-12) << step.lat << " " << step.lon;
            EXPECT_EQ(state(), step.state) << step.lat << " " << step.lon;
        }
    }
    // CARIB97 opens only with its eastern tile present.
    ScratchFolder west("caribw");
    geoid_test::writeConstantGrid(west.file("carib97w.grd"), 9, 274, 28, 288, 14, 19, 5.0);
    EXPECT_EQ(openGeoidGrid(west.path().c_str(), 12), 1);
}

// Hostile files and a hostile environment: every case ends in a clean status, no hang,
// and no file left in the grid folder.
TEST_F(GeoidContextTest, HostileFilesAndFaultsGiveCleanStatuses)
{
    ScratchFolder dir("hostile");
    double h;
    // A 20-byte file promising 33 million nodes is refused before anything is allocated.
    geoid_test::writeGridFile(dir.file("egm96.grd"), 0, 0, 10, 10, 0, 0, [](int, int) { return "1"; });
    ASSERT_EQ(openGeoidGrid(dir.path().c_str(), 4), 0);
    { std::ofstream(dir.file("egm96.grd")) << "0\n0\n10\n10\n5791\n5791\n"; }
    EXPECT_EQ(query(5.0, 5.0, h), kvGeoidNoMemory);
    EXPECT_EQ(h, 0.0);
    EXPECT_EQ(getGeoidLoadFailure(), kvGeoidLoadBadHeader);
    EXPECT_EQ(state(), kGeoidOpened); // the next query tries again, but an unchanged file is not read again
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

    // Memory for the nodes lacking: the grid goes to a scratch file and answers the same.
    writeGlobalGrid(dir.file("egm96.grd"));
    kelvane::gGeoidAllocationsToFail = 1; // the node block
    ASSERT_EQ(query(45.0, 10.0, h), kvGeoidOk);
    EXPECT_EQ(kelvane::geoidContextGrid()->inMemory, 0);
    EXPECT_EQ(state(), kGeoidLoaded);
    EXPECT_NEAR(h, globalPlane(10.0, 45.0), 1e-9);
    std::filesystem::remove(dir.file("egm96.grd")); // the loaded grid needs its file no more
    EXPECT_EQ(query(-10.0, 200.0, h), kvGeoidOk);
    writeGlobalGrid(dir.file("egm96.grd"));
#if !defined(_WIN32) // on Windows the scratch file is seen until it is closed
    EXPECT_EQ(dir.entryCount(), 1); // the scratch file has no name in the folder
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
    EXPECT_EQ(dir.entryCount(), 1);
    // Reopening forgets the failure; the folder removed after opening gives -2.
    ASSERT_EQ(openGeoidGrid(dir.path().c_str(), 4), 0);
    std::filesystem::remove_all(dir.bare());
    EXPECT_EQ(query(45.0, 10.0, h), kvGeoidNoFile);
    EXPECT_EQ(h, 0.0);
    std::filesystem::create_directories(dir.bare());
}

} // namespace
