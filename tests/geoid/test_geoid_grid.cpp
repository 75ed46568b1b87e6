// Text grid files: node positions and values, the no-data rules, short files, truncated
// counts, neighbours, the progress report, and hostile files that must end in a clean
// status or in nodes without data.
#include "geoid/geoid_context.h"
#include "geoid_test_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace kelvane;
using geoid_test::writeLines;
using geoid_test::writeText;

class GridFile : public ::testing::Test {
protected:
    void TearDown() override { releaseGeoidGrid(); }

    // Loads a file into the context; its grid, or null on failure.
    static GeoidGrid* load(const std::string& file)
    {
        return loadGeoidGridFile(file.c_str()) == 0 ? geoidContextGrid() : nullptr;
    }
    static int loadCounts(const std::string& e, const std::string& f)
    {
        return loadGeoidGridFile(writeLines("counts.grd", {"0", "0", "1", "1", e, f}, {"1", "2"}).c_str());
    }
    static GeoidGridCell cell(int k) { return getGridCell(geoidContextGrid(), k); }
};

TEST_F(GridFile, NodesLieInFileOrderFromTheSouthWestCornerWithTheirNeighbours)
{
    // 4 columns (E = 3) by 3 rows (F = 2), 0.5 degrees apart from (20 S, 10 E).
    std::vector<std::string> nodes;
    for (int k = 0; k < 12; ++k) nodes.push_back(std::to_string(100 * (k / 4) + k % 4) + ".25");
    GeoidGrid* g = load(writeLines("small.grd", {"-20", "10", "-19", "11.5", "3", "2"}, nodes));
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(gridNodeCount(g), 12);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            const int k = gridNodeIndex(g, c, r);
            EXPECT_EQ(k, 4 * r + c);
            EXPECT_DOUBLE_EQ(gridNodeLongitude(g, k), 10.0 + 0.5 * c);
            EXPECT_DOUBLE_EQ(gridNodeLatitude(g, k), -20.0 + 0.5 * r);
            EXPECT_EQ(cell(k).value, 100 * r + c + 0.25);
            EXPECT_EQ(cell(k).valid, '1');
        }
    }
    EXPECT_EQ(cell(-1).valid, '0');
    EXPECT_EQ(cell(12).valid, '0');
    EXPECT_EQ(gridNodeIndex(g, 4, 0), -1);
    EXPECT_EQ(gridNodeIndex(g, -1, 1), -1);
    // node: east, north, west and south neighbours
    const int table[][5] = {
        {0, 1, 4, -1, -1},   {3, -1, 7, 2, -1},    {5, 6, 9, 4, 1}, {8, 9, -1, -1, 4},
        {11, -1, -1, 10, 7}, {-1, -1, -1, -1, -1}, {12, -1, -1, -1, -1},
    };
    for (const auto& t : table) {
        EXPECT_EQ(gridEastNeighbour(g, t[0]), t[1]) << t[0];
        EXPECT_EQ(gridNorthNeighbour(g, t[0]), t[2]) << t[0];
        EXPECT_EQ(gridWestNeighbour(g, t[0]), t[3]) << t[0];
        EXPECT_EQ(gridSouthNeighbour(g, t[0]), t[4]) << t[0];
    }
}

TEST_F(GridFile, NoDataRulesAndNumberReading)
{
    ASSERT_NE(load(writeText("nodata.grd", " 0\r\n0\n1\n1\n11\n0\n"
                                           "N\nNothing 12.5\n-98765432.1\n\n  7.5 metres\r\n+3\n"
                                           "nan\n-inf\n1e999\n1e-400\n\t-2.5\n")),
              nullptr);
    EXPECT_EQ(cell(0).valid, '0');
    EXPECT_EQ(cell(0).value, 0.0);
    EXPECT_EQ(cell(1).valid, '0');          // any line beginning with N
    EXPECT_EQ(cell(2).valid, '0');          // the no-data value ...
    EXPECT_EQ(cell(2).value, kGeoidNoData); // ... is kept as the value
    EXPECT_EQ(cell(3).valid, '1');          // a line without a number reads as 0
    EXPECT_EQ(cell(3).value, 0.0);
    EXPECT_EQ(cell(4).value, 7.5); // blanks before and text after the number
    EXPECT_EQ(cell(5).value, 3.0);
    for (int k = 6; k <= 8; ++k) EXPECT_EQ(cell(k).valid, '0') << k; // not finite
    EXPECT_EQ(cell(9).valid, '1'); // too small to tell from 0, as the C library reads it
    EXPECT_EQ(cell(9).value, 0.0);
    EXPECT_EQ(cell(10).value, -2.5);
    EXPECT_EQ(cell(11).valid, '0'); // beyond the end of the file
}

TEST_F(GridFile, CountsAreTruncatedStepsUseTheValuesAsReadAndOneColumnHasNoPositions)
{
    GeoidGrid* g = load(writeLines("fraction.grd", {"0", "0", "2", "7.2", "3.6", "2.9"}, {}));
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(gridNodeCount(g), 12); // E = 3, F = 2
    EXPECT_DOUBLE_EQ(g->lonStep, 7.2 / 3.6);
    EXPECT_DOUBLE_EQ(g->latStep, 2.0 / 2.9);
    g = load(writeLines("onecolumn.grd", {"0", "5", "2", "5", "0", "2"}, {"1", "2", "3"}));
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(gridNodeCount(g), 3);
    EXPECT_EQ(cell(2).value, 3.0);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(gridNodeLongitude(g, k), kGeoidNoPosition);
        EXPECT_EQ(gridNodeLatitude(g, k), kGeoidNoPosition);
        EXPECT_EQ(gridEastNeighbour(g, k), -1);
    }
    g = load(writeLines("flat.grd", {"3", "0", "3", "2", "2", "1"}, {"1", "2", "3", "4", "5", "6"}));
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(gridNodeLatitude(g, 4), kGeoidNoPosition); // a zero step
    EXPECT_DOUBLE_EQ(gridNodeLongitude(g, 4), 1.0);
    // A header cut short is no grid; six lines, the last without its newline, and no
    // nodes are a grid without data.
    EXPECT_EQ(loadGeoidGridFile(writeText("empty.grd", "").c_str()), -4);
    EXPECT_EQ(loadGeoidGridFile(writeText("five.grd", "0\n0\n1\n1\n3").c_str()), -4);
    ASSERT_EQ(loadGeoidGridFile(writeText("six.grd", "0\n0\n1\n1\n3\n3").c_str()), 0);
    EXPECT_EQ(cell(5).valid, '0');
}

TEST_F(GridFile, EveryLineIsOneNodeWhateverItsLengthOrBytes)
{
    const std::string longLine = "4.5" + std::string(300, ' ') + "17";
    const std::string exact = "6.5" + std::string(123, ' '); // with its newline, 127 characters
    const std::string over = "8.5" + std::string(124, ' ');  // one more
    std::string nul = "1.5";
    nul += '\0';
    nul += "99";
    ASSERT_NE(load(writeLines("long.grd", {"0", "0", "1", "2", "4", "0"}, {longLine, exact, over, nul, "9.5"})),
              nullptr);
    EXPECT_EQ(cell(0).value, 4.5);
    EXPECT_EQ(cell(1).value, 6.5);
    EXPECT_EQ(cell(2).value, 8.5);
    EXPECT_EQ(cell(3).value, 1.5); // a NUL ends the number, not the line
    EXPECT_EQ(cell(4).value, 9.5);

    // A megabyte without a newline: one node, read from its first 127 digits.
    ASSERT_NE(load(writeText("endless.grd", "0\n0\n1\n1\n1\n1\n5.5\n" + std::string(1 << 20, '7'))), nullptr);
    EXPECT_EQ(cell(0).value, 5.5);
    EXPECT_NEAR(cell(1).value / 7.777777777e126, 1.0, 1e-9);
    EXPECT_EQ(cell(2).valid, '0');
}

TEST_F(GridFile, LoadingReplacesTheContextGridAndFailuresAreClean)
{
    ASSERT_NE(load(writeLines("first.grd", {"0", "0", "1", "1", "1", "1"}, {"1", "2", "3", "4"})), nullptr);
    GeoidGrid* second = load(writeLines("second.grd", {"0", "0", "1", "1", "2", "1"}, {}));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(geoidContextGrid(), second);
    EXPECT_EQ(gridNodeCount(second), 6);

    // A file that cannot be opened, or a folder, changes nothing.
    EXPECT_EQ(loadGeoidGridFile(geoid_test::sharedFolder().file("no_such_file.grd").c_str()), -2);
    EXPECT_EQ(loadGeoidGridFile(geoid_test::sharedFolder().bare().c_str()), -2);
    EXPECT_EQ(geoidContextGrid(), second);
}

TEST_F(GridFile, AbsurdCountsAreRefused)
{
    for (const auto& [e, f] : std::vector<std::pair<std::string, std::string>>{
             {"-1", "10"}, {"10", "-3"}, {"-0.5", "1"}, {"nan", "10"}, {"10", "NaN"}, {"inf", "1"},
             {"1e12", "1"}, {"1e999", "1"}, {"2147483647", "0"},
             {"65535", "65535"}, {"46340", "46341"}, // (E + 1)(F + 1) overflows an int
             {"8192", "4095"}}) {                    // one node beyond the largest grid, 2^25
        EXPECT_EQ(loadCounts(e, f), -4) << e << " " << f;
    }
    EXPECT_EQ(geoidContextGrid(), nullptr);
    EXPECT_EQ(createGeoidGrid(0, 0, 1, 1, -1, 5, 1, ""), nullptr);
    EXPECT_EQ(createGeoidGrid(0, 0, 1, 1, 2147483647, 2147483647, 0, ""), nullptr);
    // Past 4096 nodes, every node needs two bytes of text after the header: a short file
    // loads while its size can back the count, and is refused when it cannot.
    const std::string header = "0\n0\n1\n1\n99\n99\n"; // 10,000 nodes
    std::string wide, narrow;
    for (int k = 0; k < 2000; ++k) wide += "1.2345678\n"; // 2,000 nodes in 20,000 bytes
    for (int k = 0; k < 9999; ++k) narrow += "1\n";       // 9,999 nodes in 19,998 bytes
    EXPECT_EQ(loadGeoidGridFile(writeText("wide.grd", header + wide).c_str()), 0);
    EXPECT_EQ(cell(1999).valid, '1');
    EXPECT_EQ(cell(2000).valid, '0');
    EXPECT_EQ(loadGeoidGridFile(writeText("narrow.grd", header + narrow).c_str()), -4);
    EXPECT_EQ(loadGeoidGridFile(writeText("full.grd", header + narrow + "1").c_str()), 0);
    releaseGeoidGrid();
    // Zero counts give one node.
    ASSERT_EQ(loadCounts("0", "0"), 0);
    EXPECT_EQ(gridNodeCount(geoidContextGrid()), 1);
    EXPECT_EQ(cell(0).value, 1.0);
}

std::vector<std::string> gProgress;
void recordProgress(const char* text) { gProgress.emplace_back(text); }

TEST(GridProgress, ReportsEvery5000Nodes)
{
    std::FILE* f = std::fopen(writeText("progress.grd", "1\n2\n3\n").c_str(), "r");
    ASSERT_NE(f, nullptr);
    gProgress.clear();
    // 101 x 120 = 12,120 nodes, of which the file holds three.
    GeoidGrid* g = readTextGrid(f, 100, 119, 0.0, 0.0, 0.1, 0.1, recordProgress, "");
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
