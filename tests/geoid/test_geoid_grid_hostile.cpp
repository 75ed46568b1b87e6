// Hostile grid files: absurd header counts, overflowing node counts, incomplete
// headers, binary garbage. Each must end in a clean status or in nodes without data.
#include "geoid/geoid_grid.h"
#include "geoid_grid_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace kelvane;

class HostileGrid : public ::testing::Test {
protected:
    void TearDown() override { releaseGeoidGrid(); }
};

int loadHeader(const std::string& e, const std::string& f)
{
    return loadGeoidGridFile(grid_test::writeGrid("hostile_header.grd", {"0", "0", "1", "1", e, f}, {"1", "2"}).c_str());
}

TEST_F(HostileGrid, AbsurdCountsAreRefused)
{
    EXPECT_EQ(loadHeader("-1", "10"), -4);
    EXPECT_EQ(loadHeader("10", "-3"), -4);
    EXPECT_EQ(loadHeader("-0.5", "1"), -4);
    EXPECT_EQ(loadHeader("nan", "10"), -4);
    EXPECT_EQ(loadHeader("10", "NaN"), -4);
    EXPECT_EQ(loadHeader("inf", "1"), -4);
    EXPECT_EQ(loadHeader("1e12", "1"), -4);
    EXPECT_EQ(loadHeader("1e999", "1"), -4);
    EXPECT_EQ(loadHeader("2147483647", "0"), -4);
    // (E + 1)(F + 1) = 2^32 overflows an int; 2^31 + 2^16 + ... as well.
    EXPECT_EQ(loadHeader("65535", "65535"), -4);
    EXPECT_EQ(loadHeader("46340", "46341"), -4);
    // One node beyond the largest grid accepted (2^25 nodes).
    EXPECT_EQ(loadHeader("8192", "4095"), -4);
    EXPECT_EQ(geoidContextGrid(), nullptr);
    EXPECT_EQ(createGeoidGrid(0, 0, 1, 1, -1, 5, 1), nullptr);
    EXPECT_EQ(createGeoidGrid(0, 0, 1, 1, 65535, 65535, 1), nullptr);
    EXPECT_EQ(createGeoidGrid(0, 0, 1, 1, 2147483647, 2147483647, 0), nullptr);
}

TEST_F(HostileGrid, ZeroCountsGiveOneNode)
{
    ASSERT_EQ(loadHeader("0", "0"), 0);
    GeoidGrid* g = geoidContextGrid();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(gridNodeCount(g), 1);
    EXPECT_EQ(getGridCell(g, 0).value, 1.0);
    EXPECT_EQ(gridNodeLongitude(g, 0), kGeoidNoPosition);
}

TEST_F(HostileGrid, IncompleteHeaderIsNoGrid)
{
    EXPECT_EQ(loadGeoidGridFile(grid_test::writeFile("empty.grd", "").c_str()), -4);
    EXPECT_EQ(loadGeoidGridFile(grid_test::writeFile("three.grd", "0\n0\n1\n").c_str()), -4);
    EXPECT_EQ(loadGeoidGridFile(grid_test::writeFile("five.grd", "0\n0\n1\n1\n3").c_str()), -4);
    // Six header lines, the last without its newline, no nodes: a grid without data.
    ASSERT_EQ(loadGeoidGridFile(grid_test::writeFile("six.grd", "0\n0\n1\n1\n3\n3").c_str()), 0);
    EXPECT_EQ(getGridCell(geoidContextGrid(), 5).valid, '0');
}

TEST_F(HostileGrid, EndlessLineIsSkippedNotBuffered)
{
    // A node line of a megabyte without a newline: one node, and the file ends there.
    const std::string text = "0\n0\n1\n1\n1\n1\n5.5\n" + std::string(1 << 20, '7');
    ASSERT_EQ(loadGeoidGridFile(grid_test::writeFile("endless.grd", text).c_str()), 0);
    GeoidGrid* g = geoidContextGrid();
    EXPECT_EQ(getGridCell(g, 0).value, 5.5);
    EXPECT_EQ(getGridCell(g, 1).valid, '1'); // the first 127 digits: 7.77...e126
    EXPECT_NEAR(getGridCell(g, 1).value / 7.777777777e126, 1.0, 1e-9);
    EXPECT_EQ(getGridCell(g, 2).valid, '0');
}

std::string garbage(std::uint64_t seed, std::size_t size)
{
    std::string s(size, '\0');
    for (char& c : s) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        c = static_cast<char>(seed >> 56);
    }
    return s;
}

TEST_F(HostileGrid, BinaryGarbageNeverHurts)
{
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        const std::string file = grid_test::writeFile("garbage.grd", garbage(seed, 4096 + 997 * seed));
        const int status = loadGeoidGridFile(file.c_str());
        EXPECT_TRUE(status == 0 || status == -4) << "seed " << seed << " status " << status;
        if (status == 0) {
            GeoidGrid* g = geoidContextGrid();
            ASSERT_NE(g, nullptr);
            for (int k = 0; k < gridNodeCount(g); ++k) {
                const GeoidGridCell c = getGridCell(g, k);
                EXPECT_TRUE(c.valid == '0' || std::isfinite(c.value));
            }
        }
    }
    // A sound header followed by garbage: every node is a finite value or no data.
    const std::string file = grid_test::writeFile("garbage_nodes.grd", "0\n0\n1\n1\n30\n30\n" + garbage(99, 20000));
    ASSERT_EQ(loadGeoidGridFile(file.c_str()), 0);
    GeoidGrid* g = geoidContextGrid();
    for (int k = 0; k < gridNodeCount(g); ++k) {
        const GeoidGridCell c = getGridCell(g, k);
        ASSERT_TRUE(c.valid == '0' || (c.valid == '1' && std::isfinite(c.value))) << k;
    }
}

TEST_F(HostileGrid, NulBytesDoNotShiftTheLines)
{
    // A NUL inside a line ends its number but not the line.
    std::string text = "0\n0\n1\n1\n1\n1\n1.5";
    text += '\0';
    text += "99\n2.5\n3.5\n4.5\n";
    ASSERT_EQ(loadGeoidGridFile(grid_test::writeFile("nul.grd", text).c_str()), 0);
    GeoidGrid* g = geoidContextGrid();
    EXPECT_EQ(getGridCell(g, 0).value, 1.5);
    EXPECT_EQ(getGridCell(g, 1).value, 2.5);
    EXPECT_EQ(getGridCell(g, 3).value, 4.5);
}

TEST_F(HostileGrid, FailedLoadsLeaveNoScratchFile)
{
    const std::string dir = grid_test::folder("hostile_scratch");
    ASSERT_EQ(setGeoidScratchFolder(dir.c_str()), 0);
    EXPECT_EQ(loadHeader("65535", "65535"), -4);
    EXPECT_EQ(loadHeader("nan", "1"), -4);
    EXPECT_EQ(loadGeoidGridFile(grid_test::writeFile("trunc.grd", "0\n0\n").c_str()), -4);
    EXPECT_TRUE(grid_test::filesWithPrefix(dir, "grd").empty());
}

} // namespace
