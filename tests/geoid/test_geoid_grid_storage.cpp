// The two storage modes: a grid in a scratch file must read and write exactly as the
// same grid in memory, across the boundaries of its windows, and leave no file behind.
#include "geoid/geoid_grid.h"
#include "geoid_grid_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace kelvane;

GeoidGridCell cellWithValue(double v)
{
    GeoidGridCell c = emptyGridCell();
    c.value = v;
    c.valid = '1';
    return c;
}

bool sameCell(const GeoidGridCell& a, const GeoidGridCell& b)
{
    return a.value == b.value && a.valid == b.valid && a.spareFlag == b.spareFlag && a.spare == b.spare;
}

// A small deterministic generator, so failures repeat.
struct Lcg {
    std::uint64_t s;
    int below(int n)
    {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((s >> 33) % static_cast<std::uint64_t>(n));
    }
};

class ScratchGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = grid_test::folder("scratch");
        ASSERT_EQ(setGeoidScratchFolder(dir.c_str()), 0);
    }
    void TearDown() override { EXPECT_TRUE(grid_test::filesWithPrefix(dir, "grd").empty()); }
    std::string dir;
};

TEST(GridModes, SmallProductStaysInMemoryEvenWhenScratchIsAsked)
{
    // E * F = 35,999 < 36,000
    GeoidGrid* g = createGeoidGrid(0, 0, 1, 1, 35999, 1, 0);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->inMemory, 1);
    destroyGeoidGrid(&g);
}

TEST_F(ScratchGrid, ReadsAndWritesLikeMemory)
{
    // 301 x 201 = 60,501 nodes: E * F = 60,000, several windows long.
    const int e = 300, f = 200;
    GeoidGrid* scratch = createGeoidGrid(10, 20, 0.25, 0.25, e, f, 0);
    GeoidGrid* memory = createGeoidGrid(10, 20, 0.25, 0.25, e, f, 1);
    ASSERT_NE(scratch, nullptr);
    ASSERT_NE(memory, nullptr);
    ASSERT_EQ(scratch->inMemory, 0);
    ASSERT_EQ(memory->inMemory, 1);
    EXPECT_EQ(std::string(scratch->scratchPath).rfind(dir + "grd", 0), 0u) << scratch->scratchPath;
    EXPECT_EQ(grid_test::filesWithPrefix(dir, "grd").size(), 1u);
    const int n = gridNodeCount(scratch);
    ASSERT_EQ(n, 60501);

    // A new scratch grid has no data anywhere.
    for (int k : {0, 1, 6999, 7000, 13999, 14000, 27999, 28000, n - 1}) EXPECT_EQ(getGridCell(scratch, k).valid, '0');

    // Fill in file order, as the reader does (every third node without data).
    for (int k = 0; k < n; ++k) {
        const GeoidGridCell c = (k % 3 == 0) ? emptyGridCell() : cellWithValue(k * 0.001 - 20.0);
        setGridCell(scratch, k, c);
        setGridCell(memory, k, c);
    }
    for (int k = 0; k < n; ++k) ASSERT_TRUE(sameCell(getGridCell(scratch, k), getGridCell(memory, k))) << k;

    // Reads and writes in scattered order: every window is repositioned over and over,
    // and written cells must be seen by later reads wherever the windows stand.
    Lcg rng{12345};
    for (int step = 0; step < 40000; ++step) {
        const int k = rng.below(n);
        if (rng.below(3) == 0) {
            const GeoidGridCell c = cellWithValue(step + 0.5);
            setGridCell(scratch, k, c);
            setGridCell(memory, k, c);
        } else {
            ASSERT_TRUE(sameCell(getGridCell(scratch, k), getGridCell(memory, k))) << "step " << step << " node " << k;
        }
    }
    // The 4x4 neighbourhood of an interpolation: two rows apart, around window edges.
    for (int k : {0, 7000, 13999, 14000, 14001, 28000, 41999, n - 302, n - 1}) {
        for (int row = -1; row <= 2; ++row)
            for (int col = -1; col <= 2; ++col) {
                const int j = k + row * (e + 1) + col;
                if (j >= 0 && j < n) {
                    ASSERT_TRUE(sameCell(getGridCell(scratch, j), getGridCell(memory, j))) << j;
                }
            }
    }
    flushWriteWindow(scratch);
    EXPECT_EQ(scratch->writeCount, -1);
    for (int k = 0; k < n; k += 97) ASSERT_TRUE(sameCell(getGridCell(scratch, k), getGridCell(memory, k))) << k;

    // The scratch file holds 16-byte cells addressable by node index.
    std::FILE* file = std::fopen(scratch->scratchPath, "rb");
    ASSERT_NE(file, nullptr);
    std::fseek(file, 0, SEEK_END);
    EXPECT_EQ(std::ftell(file), static_cast<long>(n) * 16);
    std::fclose(file);

    destroyGeoidGrid(&scratch);
    destroyGeoidGrid(&memory);
    EXPECT_EQ(scratch, nullptr);
}

TEST_F(ScratchGrid, ReloadedTextGridMatchesMemory)
{
    // A text grid read through both modes gives the same nodes.
    const int e = 200, f = 199; // E * F = 39,800
    std::string text;
    for (int k = 0; k < (e + 1) * (f + 1); ++k) text += (k % 11 == 0) ? "N\n" : std::to_string(k % 997) + ".125\n";
    const std::string file = grid_test::writeFile("scratch_text.grd", text);
    std::FILE* in = std::fopen(file.c_str(), "r");
    ASSERT_NE(in, nullptr);
    GeoidGrid* memory = readTextGrid(in, e, f, 0, 0, 1, 1, nullptr);
    ASSERT_NE(memory, nullptr);
    GeoidGrid* scratch = createGeoidGrid(0, 0, 1, 1, e, f, 0);
    ASSERT_NE(scratch, nullptr);
    for (int k = 0; k < gridNodeCount(memory); ++k) setGridCell(scratch, k, getGridCell(memory, k));
    for (int k = gridNodeCount(memory) - 1; k >= 0; --k)
        ASSERT_TRUE(sameCell(getGridCell(scratch, k), getGridCell(memory, k))) << k;
    destroyGeoidGrid(&scratch);
    destroyGeoidGrid(&memory);
}

TEST_F(ScratchGrid, LostScratchFileGivesNoDataNotACrash)
{
    GeoidGrid* g = createGeoidGrid(0, 0, 1, 1, 400, 100, 0);
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->inMemory, 0);
    for (int k = 0; k < gridNodeCount(g); ++k) setGridCell(g, k, cellWithValue(1.0));
    flushWriteWindow(g);
    std::remove(g->scratchPath);
    EXPECT_EQ(getGridCell(g, 20000).valid, '0');
    EXPECT_EQ(getGridCell(g, 0).valid, '0');
    destroyGeoidGrid(&g);
}

TEST_F(ScratchGrid, OutOfRangeIndicesAreIgnored)
{
    GeoidGrid* g = createGeoidGrid(0, 0, 1, 1, 400, 100, 0);
    ASSERT_NE(g, nullptr);
    const int n = gridNodeCount(g);
    setGridCell(g, -1, cellWithValue(5));
    setGridCell(g, n, cellWithValue(5));
    EXPECT_EQ(getGridCell(g, -1).valid, '0');
    EXPECT_EQ(getGridCell(g, n).valid, '0');
    EXPECT_EQ(getGridCell(g, n - 1).valid, '0');
    destroyGeoidGrid(&g);
}

TEST(ScratchFolder, UnusableFolderGivesNoGridAndNoFile)
{
    const std::string dir = grid_test::folder("scratch_missing");
    ASSERT_EQ(setGeoidScratchFolder((dir + "missing/").c_str()), 0);
    EXPECT_EQ(createGeoidGrid(0, 0, 1, 1, 400, 100, 0), nullptr);

    // A folder that leaves no room in the 256-byte scratch path is refused, not cut short.
    const std::string deep = dir + std::string(252 - dir.size(), 'd') + "/"; // 253 characters
    ASSERT_EQ(deep.size(), 253u);
    ASSERT_EQ(setGeoidScratchFolder(deep.c_str()), 0);
    EXPECT_EQ(createGeoidGrid(0, 0, 1, 1, 400, 100, 0), nullptr);
    EXPECT_TRUE(grid_test::filesWithPrefix(dir, "grd").empty());
    EXPECT_TRUE(grid_test::filesWithPrefix(dir, "dd").empty());
}

TEST(ScratchFolder, TooLongFolderIsRefused)
{
    ASSERT_EQ(setGeoidScratchFolder("/tmp/"), 0);
    EXPECT_EQ(setGeoidScratchFolder(std::string(259, 'a').c_str()), 0);
    EXPECT_EQ(setGeoidScratchFolder(std::string(260, 'b').c_str()), 1);
    EXPECT_EQ(std::string(geoidScratchFolder()), std::string(259, 'a'));
    EXPECT_EQ(setGeoidScratchFolder(nullptr), 1);
    EXPECT_EQ(setGeoidScratchFolder(""), 0);
}

} // namespace
