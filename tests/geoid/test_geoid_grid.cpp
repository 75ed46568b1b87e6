// Text grid files: node positions and values, the no-data rules, short files,
// truncated counts, neighbours and the progress report.
#include "geoid/geoid_grid.h"
#include "geoid_grid_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace kelvane;

// The grid files the tests write are removed when the program ends.
::testing::Environment* const kRemoveMadeFiles = ::testing::AddGlobalTestEnvironment(new grid_test::RemoveMadeFiles);

// Loads a file into the context and hands back its grid (null on failure).
GeoidGrid* load(const std::string& file, int* status = nullptr)
{
    const int s = loadGeoidGridFile(file.c_str());
    if (status) *status = s;
    return s == 0 ? geoidContextGrid() : nullptr;
}

class GridFile : public ::testing::Test {
protected:
    void TearDown() override { releaseGeoidGrid(); }
};

// 4 columns (E = 3) by 3 rows (F = 2), 0.5 degrees apart from (20 S, 10 E); node
// value 100 * row + column.
std::string smallGrid()
{
    std::vector<std::string> nodes;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) nodes.push_back(std::to_string(100 * r + c) + ".25");
    return grid_test::writeGrid("small.grd", {"-20", "10", "-19", "11.5", "3", "2"}, nodes);
}

TEST_F(GridFile, NodesLieInFileOrderFromTheSouthWestCorner)
{
    GeoidGrid* g = load(smallGrid());
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->inMemory, 1);
    EXPECT_EQ(g->lonIntervals, 3);
    EXPECT_EQ(g->latIntervals, 2);
    EXPECT_DOUBLE_EQ(g->lonStep, 0.5);
    EXPECT_DOUBLE_EQ(g->latStep, 0.5);
    ASSERT_EQ(gridNodeCount(g), 12);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            const int k = gridNodeIndex(g, c, r);
            EXPECT_EQ(k, 4 * r + c);
            EXPECT_DOUBLE_EQ(gridNodeLongitude(g, k), 10.0 + 0.5 * c);
            EXPECT_DOUBLE_EQ(gridNodeLatitude(g, k), -20.0 + 0.5 * r);
            const GeoidGridCell cell = getGridCell(g, k);
            EXPECT_EQ(cell.value, 100 * r + c + 0.25);
            EXPECT_EQ(cell.valid, '1');
            EXPECT_EQ(cell.spareFlag, '0');
            EXPECT_EQ(cell.spare, 0);
        }
    }
    // Outside the grid: empty cells and no index.
    EXPECT_EQ(getGridCell(g, -1).valid, '0');
    EXPECT_EQ(getGridCell(g, 12).valid, '0');
    EXPECT_EQ(gridNodeIndex(g, 4, 0), -1);
    EXPECT_EQ(gridNodeIndex(g, 0, 3), -1);
    EXPECT_EQ(gridNodeIndex(g, -1, 1), -1);
}

TEST_F(GridFile, NeighboursStopAtEveryEdge)
{
    GeoidGrid* g = load(smallGrid());
    ASSERT_NE(g, nullptr);
    // node: east, north, west and south neighbours (4 columns, 3 rows)
    const int table[][5] = {
        {0, 1, 4, -1, -1},   // south-west corner
        {3, -1, 7, 2, -1},   // south-east corner
        {5, 6, 9, 4, 1},     // inner node
        {8, 9, -1, -1, 4},   // north-west corner
        {11, -1, -1, 10, 7}, // north-east corner
        {-1, -1, -1, -1, -1}, {12, -1, -1, -1, -1}, // no such node
    };
    for (const auto& t : table) {
        EXPECT_EQ(gridEastNeighbour(g, t[0]), t[1]) << t[0];
        EXPECT_EQ(gridNorthNeighbour(g, t[0]), t[2]) << t[0];
        EXPECT_EQ(gridWestNeighbour(g, t[0]), t[3]) << t[0];
        EXPECT_EQ(gridSouthNeighbour(g, t[0]), t[4]) << t[0];
    }
    // no grid
    EXPECT_EQ(gridEastNeighbour(nullptr, 0), -1);
    EXPECT_EQ(gridNorthNeighbour(nullptr, 0), -1);
    EXPECT_EQ(gridWestNeighbour(nullptr, 1), -1);
    EXPECT_EQ(gridSouthNeighbour(nullptr, 5), -1);
}

TEST(GridWithoutGrid, EveryAccessorAnswersSafely)
{
    EXPECT_EQ(gridNodeCount(nullptr), -1);
    EXPECT_EQ(gridNodeIndex(nullptr, 0, 0), -1);
    EXPECT_EQ(gridNodeLongitude(nullptr, 0), kGeoidNoPosition);
    EXPECT_EQ(gridNodeLatitude(nullptr, 0), kGeoidNoPosition);
    EXPECT_EQ(getGridCell(nullptr, 0).valid, '0');
    setGridCell(nullptr, 0, emptyGridCell());
    flushWriteWindow(nullptr);
    destroyGeoidGrid(nullptr);
    GeoidGrid* none = nullptr;
    destroyGeoidGrid(&none);
    releaseGeoidGrid();
    EXPECT_EQ(geoidContextGrid(), nullptr);
}

TEST_F(GridFile, NoDataRules)
{
    const std::string file = grid_test::writeGrid(
        "nodata.grd", {"0", "0", "1", "1", "2", "1"},
        {"N", "Nothing 12.5", "-98765432.1", "", "  7.5 metres", "+3", "nan", "-inf"});
    GeoidGrid* g = load(file);
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(gridNodeCount(g), 6);
    const GeoidGridCell n = getGridCell(g, 0);
    EXPECT_EQ(n.valid, '0');
    EXPECT_EQ(n.value, 0.0);
    EXPECT_EQ(getGridCell(g, 1).valid, '0'); // any line beginning with N
    const GeoidGridCell flagged = getGridCell(g, 2);
    EXPECT_EQ(flagged.valid, '0');          // the no-data value ...
    EXPECT_EQ(flagged.value, kGeoidNoData); // ... is kept as the value
    const GeoidGridCell blank = getGridCell(g, 3);
    EXPECT_EQ(blank.valid, '1'); // a line without a number reads as 0
    EXPECT_EQ(blank.value, 0.0);
    EXPECT_EQ(getGridCell(g, 4).value, 7.5); // blanks before and text after the number
    EXPECT_EQ(getGridCell(g, 5).value, 3.0);
    // The two remaining lines ("nan", "-inf") are beyond the six nodes.
}

TEST_F(GridFile, ValuesThatCannotBeInterpolatedHaveNoData)
{
    const std::string file =
        grid_test::writeGrid("nonfinite.grd", {"0", "0", "1", "1", "1", "1"}, {"nan", "-inf", "1e999", "2.5"});
    GeoidGrid* g = load(file);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(getGridCell(g, 0).valid, '0');
    EXPECT_EQ(getGridCell(g, 1).valid, '0');
    EXPECT_EQ(getGridCell(g, 2).valid, '0');
    EXPECT_EQ(getGridCell(g, 3).value, 2.5);
}

TEST_F(GridFile, OneColumnGridHasNoNodePositions)
{
    GeoidGrid* g = load(grid_test::writeGrid("onecolumn.grd", {"0", "5", "2", "5", "0", "2"}, {"1", "2", "3"}));
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(gridNodeCount(g), 3);
    EXPECT_EQ(getGridCell(g, 2).value, 3.0);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(gridNodeLongitude(g, k), kGeoidNoPosition);
        EXPECT_EQ(gridNodeLatitude(g, k), kGeoidNoPosition);
        EXPECT_EQ(gridEastNeighbour(g, k), -1);
        EXPECT_EQ(gridWestNeighbour(g, k), -1);
    }
}

TEST_F(GridFile, ZeroStepGivesNoPosition)
{
    GeoidGrid* g = load(grid_test::writeGrid("flat.grd", {"3", "0", "3", "2", "2", "1"}, {"1", "2", "3", "4", "5", "6"}));
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(gridNodeLatitude(g, 4), kGeoidNoPosition);
    EXPECT_DOUBLE_EQ(gridNodeLongitude(g, 4), 1.0);
}

TEST_F(GridFile, ShortFileLeavesTheMissingNodesWithoutData)
{
    // Twelve nodes promised, three given, the last without its newline.
    GeoidGrid* g = load(grid_test::writeFile("short.grd", "-20\n10\n-19\n11.5\n3\n2\n1.5\n2.5\n3.5"));
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(gridNodeCount(g), 12);
    EXPECT_EQ(getGridCell(g, 2).value, 3.5);
    EXPECT_EQ(getGridCell(g, 2).valid, '1');
    for (int k = 3; k < 12; ++k) EXPECT_EQ(getGridCell(g, k).valid, '0') << k;
}

TEST_F(GridFile, CountsAreTruncatedButStepsUseTheValueAsRead)
{
    GeoidGrid* g = load(grid_test::writeGrid("fraction.grd", {"0", "0", "2", "7.2", "3.6", "2.9"}, {}));
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->lonIntervals, 3);
    EXPECT_EQ(g->latIntervals, 2);
    EXPECT_EQ(gridNodeCount(g), 12);
    EXPECT_DOUBLE_EQ(g->lonStep, 7.2 / 3.6);
    EXPECT_DOUBLE_EQ(g->latStep, 2.0 / 2.9);
}

TEST_F(GridFile, LongLinesCountAsOneNodeEach)
{
    // A node line far longer than the 128-byte line buffer still stands for one node.
    const std::string longLine = "4.5" + std::string(300, ' ') + "17";
    const std::string exact = "6.5" + std::string(123, ' ');  // 126 characters and the newline fill the buffer
    const std::string over = "8.5" + std::string(124, ' ');   // one character more
    GeoidGrid* g = load(grid_test::writeGrid("long.grd", {"0", "0", "1", "2", "3", "0"}, {longLine, exact, over, "9.5"}));
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(getGridCell(g, 0).value, 4.5);
    EXPECT_EQ(getGridCell(g, 1).value, 6.5);
    EXPECT_EQ(getGridCell(g, 2).value, 8.5);
    EXPECT_EQ(getGridCell(g, 3).value, 9.5);
}

TEST_F(GridFile, WindowsLineEndingsAndLeadingBlanks)
{
    GeoidGrid* g = load(grid_test::writeFile("crlf.grd", " 0\r\n 0\r\n 1\r\n 1\r\n 1\r\n 1\r\n1.25\r\n-2.5\r\nN\r\n\t3\r\n"));
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(getGridCell(g, 0).value, 1.25);
    EXPECT_EQ(getGridCell(g, 1).value, -2.5);
    EXPECT_EQ(getGridCell(g, 2).valid, '0');
    EXPECT_EQ(getGridCell(g, 3).value, 3.0);
}

TEST_F(GridFile, LoadingReplacesAndReleaseClearsTheContextGrid)
{
    ASSERT_NE(load(smallGrid()), nullptr);
    GeoidGrid* second = load(grid_test::writeGrid("second.grd", {"0", "0", "1", "1", "1", "1"}, {"1", "2", "3", "4"}));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(geoidContextGrid(), second);
    EXPECT_EQ(gridNodeCount(second), 4);
    releaseGeoidGrid();
    EXPECT_EQ(geoidContextGrid(), nullptr);
    releaseGeoidGrid(); // twice is harmless
}

TEST_F(GridFile, MissingFileCannotBeOpened)
{
    EXPECT_EQ(loadGeoidGridFile(grid_test::path("no_such_file.grd").c_str()), -2);
    EXPECT_EQ(loadGeoidGridFile(nullptr), -2);
    EXPECT_EQ(loadGeoidGridFile(KELVANE_TEST_TMPDIR), -2); // a folder
    EXPECT_EQ(geoidContextGrid(), nullptr);
}

std::vector<std::string> gProgress;
void recordProgress(const char* text) { gProgress.emplace_back(text); }

TEST(GridProgress, ReportsEvery5000Nodes)
{
    const std::string file = grid_test::writeFile("progress.grd", "1\n2\n3\n");
    std::FILE* f = std::fopen(file.c_str(), "r");
    ASSERT_NE(f, nullptr);
    gProgress.clear();
    // 101 x 120 = 12,120 nodes, of which the file holds three.
    GeoidGrid* g = readTextGrid(f, 100, 119, 0.0, 0.0, 0.1, 0.1, recordProgress);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(getGridCell(g, 2).value, 3.0);
    EXPECT_EQ(getGridCell(g, 3).valid, '0');
    const std::vector<std::string> expected = {"\nReading Cell ...    ", "\rReading cell> 0    ",
                                               "\rReading cell> 5000    ", "\rReading cell> 10000    ",
                                               "\rReading cell> 12120    \n"};
    EXPECT_EQ(gProgress, expected);
    destroyGeoidGrid(&g);
    EXPECT_EQ(g, nullptr);
}

} // namespace
