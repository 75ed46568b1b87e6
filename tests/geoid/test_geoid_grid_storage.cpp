// The storage: a grid in a scratch file must read and write exactly as the same grid in
// memory, across the boundaries of its windows, and leave no file behind; a grid in
// memory holds its nodes in 4 bytes or, when a value needs it, in 16-byte cells.
#include "geoid/geoid_context.h"
#include "geoid_test_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// Every test makes its scratch files in a folder of its own, which must end up empty.
class ScratchGrid : public ::testing::Test {
protected:
    const char* folder() const { return path_.c_str(); }
    void TearDown() override
    {
        releaseGeoidGrid();
        EXPECT_EQ(dir.entryCount(), 0);
    }
    geoid_test::ScratchFolder dir{"scratch"};
    std::string path_ = dir.path();
};

TEST_F(ScratchGrid, ScratchModeOnlyForAProductOfAtLeast36000WhenMemoryIsNotForced)
{
    GeoidGrid* small = createGeoidGrid(0, 0, 1, 1, 35999, 1, 0, folder());
    GeoidGrid* forced = createGeoidGrid(0, 0, 1, 1, 36000, 1, 1, folder());
    GeoidGrid* scratch = createGeoidGrid(0, 0, 1, 1, 36000, 1, 0, folder());
    ASSERT_TRUE(small && forced && scratch);
    EXPECT_EQ(small->inMemory, 1);
    EXPECT_EQ(forced->inMemory, 1);
    EXPECT_EQ(scratch->inMemory, 0);
    EXPECT_NE(scratch->scratchFile, nullptr);
#if !defined(_WIN32) // on Windows the file is seen until it is closed, which deletes it
    EXPECT_EQ(dir.entryCount(), 0); // anonymous: nothing in the folder even while in use
#endif
    for (GeoidGrid** g : {&small, &forced, &scratch}) destroyGeoidGrid(g);
}

TEST_F(ScratchGrid, ReadsAndWritesLikeMemory)
{
    // 301 x 201 = 60,501 nodes: several windows long.
    const int e = 300, f = 200;
    GeoidGrid* scratch = createGeoidGrid(10, 20, 0.25, 0.25, e, f, 0, folder());
    GeoidGrid* memory = createGeoidGrid(10, 20, 0.25, 0.25, e, f, 1, folder());
    ASSERT_NE(scratch, nullptr);
    ASSERT_NE(memory, nullptr);
    ASSERT_EQ(scratch->inMemory, 0);
    const int n = gridNodeCount(scratch);
    ASSERT_EQ(n, 60501);
    // A new scratch grid has no data anywhere.
    for (int k : {0, 6999, 7000, 13999, 14000, 27999, 28000, n - 1}) EXPECT_EQ(getGridCell(scratch, k).valid, '0');

    // Fill in file order, as the reader does (every third node without data).
    for (int k = 0; k < n; ++k) {
        const GeoidGridCell c = (k % 3 == 0) ? emptyGridCell() : cellWithValue(k * 0.001 - 20.0);
        setGridCell(scratch, k, c);
        setGridCell(memory, k, c);
    }
    for (int k = 0; k < n; ++k) ASSERT_TRUE(sameCell(getGridCell(scratch, k), getGridCell(memory, k))) << k;

    // Scattered reads and writes reposition every window over and over; a written cell
    // must be seen by later reads wherever the windows stand.
    std::uint64_t s = 12345;
    const auto below = [&s](int m) {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((s >> 33) % static_cast<std::uint64_t>(m));
    };
    for (int step = 0; step < 40000; ++step) {
        const int k = below(n);
        if (below(3) == 0) {
            setGridCell(scratch, k, cellWithValue(step + 0.5));
            setGridCell(memory, k, cellWithValue(step + 0.5));
        } else {
            ASSERT_TRUE(sameCell(getGridCell(scratch, k), getGridCell(memory, k))) << "step " << step << " node " << k;
        }
    }
    flushWriteWindow(scratch);
    EXPECT_EQ(scratch->writeCount, -1);
    for (int k = 0; k < n; k += 97) ASSERT_TRUE(sameCell(getGridCell(scratch, k), getGridCell(memory, k))) << k;
    // The scratch file holds 16-byte cells addressable by node index.
    ASSERT_EQ(std::fseek(scratch->scratchFile, 0, SEEK_END), 0);
    EXPECT_EQ(std::ftell(scratch->scratchFile), static_cast<long>(n) * 16);

    destroyGeoidGrid(&scratch);
    destroyGeoidGrid(&memory);
    EXPECT_EQ(scratch, nullptr);
}

// Nodes are kept in 4 bytes while every value fits exactly; the first that does not turns
// the grid to 16-byte cells. Either way every node reads back as the text conversion
// gives it, bit for bit (-0.0 included), also from the lines that straddle two blocks of
// the reader (some 300 kB of text).
TEST_F(ScratchGrid, CompactNodesReadBackExactlyAndWidenForAValueTheyCannotHold)
{
    const std::vector<std::string> fits = {"-31.624900", "0.000001", "-0.000001", "2147.483647", "-2147.483645",
                                           "107.999999", "-0.000000", "N", "-98765432.1", "12.5 m", "0"};
    std::vector<std::string> lines;
    for (int k = 0; k < 20000; ++k) lines.push_back(std::to_string(k * 7919 % 4000 - 2000) + "." +
                                                    std::to_string(100000 + k * 104729 % 900000));
    for (int k = 0; k < 20000; k += 37) lines[k] = fits[k % fits.size()];
    const auto expectExact = [&lines](GeoidGrid* g) {
        for (int k = 0; k < static_cast<int>(lines.size()); ++k) {
            const GeoidGridCell c = getGridCell(g, k);
            const double v = lines[k][0] == 'N' ? 0.0 : std::strtod(lines[k].c_str(), nullptr);
            EXPECT_EQ(std::memcmp(&c.value, &v, sizeof v), 0) << lines[k];
            EXPECT_EQ(c.valid, lines[k][0] == 'N' || v == kGeoidNoData ? '0' : '1') << lines[k];
        }
    };
    const auto load = [&lines, this] {
        std::FILE* in = std::tmpfile();
        for (const std::string& l : lines) std::fprintf(in, "%s\n", l.c_str());
        std::rewind(in);
        return readTextGrid(in, 199, 99, 0, 0, 1, 1, nullptr, folder()); // 200 x 100 nodes
    };
    GeoidGrid* g = load();
    ASSERT_NE(g, nullptr);
    EXPECT_TRUE(g->compactNodes != nullptr && g->rows == nullptr);
    expectExact(g);
    destroyGeoidGrid(&g);
    for (const char* wide : {"1.2345678", "2147.483648", "-2147.483646", "1e-7", "-1e300", "5e-324"}) {
        const std::string kept = lines[5001];
        lines[5001] = wide;
        g = load();
        ASSERT_NE(g, nullptr);
        EXPECT_TRUE(g->compactNodes == nullptr && g->rows != nullptr) << wide;
        expectExact(g);
        destroyGeoidGrid(&g);
        lines[5001] = kept;
    }
    // Widening without memory for the cells moves the grid to a scratch file, intact.
    g = load();
    gGeoidAllocationsToFail = 1;
    setGridCell(g, 3, cellWithValue(1.2345678));
    EXPECT_EQ(g->inMemory, 0);
    lines[3] = "1.2345678";
    expectExact(g);
    destroyGeoidGrid(&g);
}

TEST(ScratchFolder, UnusableFolderGivesNoGridAndNoFile)
{
    geoid_test::ScratchFolder dir("unusable");
    EXPECT_EQ(createGeoidGrid(0, 0, 1, 1, 400, 100, 0, (dir.path() + "missing/").c_str()), nullptr);
    // A folder that leaves no room for a 255-character scratch name is refused, not cut short.
    const std::string deep = dir.path() + std::string(260 - dir.path().size(), 'd') + "/";
    EXPECT_EQ(createGeoidGrid(0, 0, 1, 1, 400, 100, 0, deep.c_str()), nullptr);
    // A folder where no file can be created (read-only to everyone, root included).
    EXPECT_EQ(createGeoidGrid(0, 0, 1, 1, 400, 100, 0, "/proc/"), nullptr);
    EXPECT_EQ(dir.entryCount(), 0);

    // Folder strings longer than 259 characters are refused and change nothing.
    EXPECT_EQ(setGeoidScratchFolder(std::string(259, 'a').c_str()), 0);
    EXPECT_EQ(setGeoidScratchFolder(std::string(260, 'b').c_str()), 1);
    EXPECT_EQ(setGeoidScratchFolder(nullptr), 1);
    EXPECT_EQ(std::string(geoidScratchFolder()), std::string(259, 'a'));
}

} // namespace
