// kelvane grid convert, end to end: synthetic big-endian GTX files in, text grid files
// out, loaded back with the library's own reader.
#include "geoid/geoid_context.h"
#include "geoid/geoid_test_files.h"
#include "support/cli_runner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using kelvane_test::lines;
using kelvane_test::readWholeFile;
using kelvane_test::runCli;
using kelvane_test::scratchPath;

bool exists(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (f) std::fclose(f);
    return f != nullptr;
}

void putBigEndian(std::string& out, std::uint64_t bits, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((bits >> (8 * i)) & 0xff);
}

// The bytes of v, most significant first.
template <typename T, typename Bits>
void put(std::string& out, T v)
{
    Bits bits;
    std::memcpy(&bits, &v, sizeof bits);
    putBigEndian(out, bits, sizeof bits);
}

void putFloat(std::string& out, float v) { put<float, std::uint32_t>(out, v); }

std::string gtxHeader(double south, double west, double latStep, double lonStep, std::int32_t rows, std::int32_t cols)
{
    std::string s;
    for (double v : {south, west, latStep, lonStep}) put<double, std::uint64_t>(s, v);
    for (std::int32_t v : {rows, cols}) put<std::int32_t, std::uint32_t>(s, v);
    return s;
}

// Value of GTX node (row, column) in the synthetic files; (2, 1) has no data.
float synthetic(int r, int c) { return (r == 2 && c == 1) ? -88.8888f : static_cast<float>(10 * r + c) + 0.125f; }

class GridConvert : public ::testing::Test {
protected:
    void TearDown() override { kelvane::releaseGeoidGrid(); }

    // Writes a GTX file whose value at (row, column) is value(row, column), converts it
    // into out.grd and loads that; the grid, or null.
    kelvane::GeoidGrid* convert(double south, double west, double latStep, double lonStep, int rows, int cols,
                                const std::function<float(int, int)>& value, const std::string& options = "--no-overlap")
    {
        std::string s = gtxHeader(south, west, latStep, lonStep, rows, cols);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) putFloat(s, value(r, c));
        std::ofstream(dir.file("in.gtx"), std::ios::binary) << s;
        result = runCli("grid convert " + options + " \"" + dir.file("in.gtx") + "\" \"" + grd() + "\"");
        EXPECT_EQ(result.status, 0) << result.err;
        text = lines(readWholeFile(grd()));
        return kelvane::loadGeoidGridFile(grd().c_str()) == 0 ? kelvane::geoidContextGrid() : nullptr;
    }
    std::string grd() const { return dir.file("out.grd"); }
    static double value(kelvane::GeoidGrid* g, int c, int r)
    {
        return kelvane::getGridCell(g, kelvane::gridNodeIndex(g, c, r)).value;
    }

    geoid_test::ScratchFolder dir{"gtx"};
    kelvane_test::CliResult result;
    std::vector<std::string> text; // the lines of out.grd
};

TEST_F(GridConvert, GlobalGridFromMinus180IsRewrappedAndClosedAt360)
{
    // 5 rows (-90 to 90 by 45) x 6 columns (-180 to 120 by 60).
    kelvane::GeoidGrid* g = convert(-90, -180, 45, 60, 5, 6, synthetic);
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(text.size(), 6u + 5 * 7);
    EXPECT_EQ(std::vector<std::string>(text.begin(), text.begin() + 6),
              (std::vector<std::string>{"-90", "0", "90", "360", "6", "4"}));
    for (int r = 0; r <= 4; ++r) {
        for (int c = 0; c <= 6; ++c) {
            const int k = kelvane::gridNodeIndex(g, c, r);
            EXPECT_DOUBLE_EQ(kelvane::gridNodeLongitude(g, k), 60.0 * c);
            EXPECT_DOUBLE_EQ(kelvane::gridNodeLatitude(g, k), -90.0 + 45.0 * r);
            // The GTX column at this longitude: lon 0 is column 3, lon 360 column 3 again.
            const int source = (c + 3) % 6;
            const kelvane::GeoidGridCell cell = kelvane::getGridCell(g, k);
            EXPECT_EQ(cell.valid, (r == 2 && source == 1) ? '0' : '1') << "row " << r << " column " << c;
            if (cell.valid == '1') {
                EXPECT_DOUBLE_EQ(cell.value, 10 * r + source + 0.125) << "row " << r << " column " << c;
            }
        }
    }
    EXPECT_EQ(text[6 + 2 * 7 + 4], "N"); // (2, 1) lies at -120 = 240, text column 4
}

TEST_F(GridConvert, ByDefaultColumnsAreAddedBeyondEachEnd)
{
    kelvane::GeoidGrid* g = convert(-90, -180, 45, 60, 5, 6, synthetic, "");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->lonIntervals, 9); // -60 to 480: a point at 360 has two nodes east of it
    EXPECT_DOUBLE_EQ(g->west, -60.0);
    for (int c = 0; c <= 9; ++c) EXPECT_EQ(value(g, c, 4), 40 + (c + 2) % 6 + 0.125) << c; // -60 is GTX column 2
}

TEST_F(GridConvert, RepeatedEastColumnIsNotDoubled)
{
    // 7 columns from -180 to 180: the last repeats the first.
    kelvane::GeoidGrid* g = convert(-90, -180, 45, 60, 5, 7, [](int r, int c) { return synthetic(r, c % 6); });
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->lonIntervals, 6);
    EXPECT_EQ(value(g, 0, 1), 13.125);
    EXPECT_EQ(value(g, 6, 1), 13.125);
    EXPECT_EQ(value(g, 5, 1), 12.125);
}

TEST_F(GridConvert, GlobalGridOffZeroGetsAColumnWestOfZero)
{
    // Nodes at -150, -90, ..., 150: the text grid runs from -30 to 390 so 0 and 360 are inside.
    kelvane::GeoidGrid* g = convert(-90, -150, 45, 60, 5, 6, synthetic);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->lonIntervals, 7);
    EXPECT_DOUBLE_EQ(g->west, -30.0);
    // -30 is GTX column 2, 30 column 3, 330 column 2 again.
    EXPECT_EQ(value(g, 0, 0), 2.125);
    EXPECT_EQ(value(g, 1, 0), 3.125);
    EXPECT_EQ(value(g, 6, 0), 2.125);
    EXPECT_EQ(value(g, 7, 0), 3.125);
}

TEST_F(GridConvert, RegionalGridWestOfZeroIsShiftedBy360)
{
    // Node (0, 0) holds a real height 0.2 mm from the no-data mark.
    kelvane::GeoidGrid* g = convert(30, -100, 0.5, 0.25, 3, 4, [](int r, int c) {
        return (r == 0 && c == 0) ? -88.8890f : synthetic(r, c);
    });
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(std::vector<std::string>(text.begin(), text.begin() + 6),
              (std::vector<std::string>{"30", "260", "31", "260.75", "3", "2"}));
    EXPECT_EQ(value(g, 3, 1), 13.125);
    EXPECT_EQ(kelvane::getGridCell(g, kelvane::gridNodeIndex(g, 1, 2)).valid, '0');
    EXPECT_EQ(text[6], "-88.889000");
}

TEST_F(GridConvert, GridAcrossZeroKeepsItsWestEdgeAndWarns)
{
    ASSERT_NE(convert(42, -5.5, 0.5, 0.5, 3, 29, synthetic, ""), nullptr);
    EXPECT_NE(result.err.find("warning"), std::string::npos) << result.err;
    EXPECT_EQ(text[1], "-5.5");
    EXPECT_EQ(text[3], "8.5");
}

TEST(GridConvertHostile, BadFilesAreRefusedAndLeaveTheOutputAlone)
{
    const std::string grd = scratchPath("hostile_out.grd");
    std::ofstream(grd) << "precious\n";
    struct Case {
        std::string name;
        std::string bytes;
        std::string message;
    };
    std::string truncated = gtxHeader(-90, -180, 45, 60, 5, 6);
    for (int i = 0; i < 29; ++i) putFloat(truncated, 1.0f); // 30 values promised
    const std::vector<Case> cases = {
        {"empty", "", "40-byte header"},
        {"short", std::string(39, '\0'), "40-byte header"},
        {"truncated", truncated, "truncated"},
        {"negative", gtxHeader(-90, -180, 45, 60, -5, 6), "rows"},
        {"one_row", gtxHeader(-90, -180, 45, 60, 1, 6), "at least 2"},
        {"huge", gtxHeader(-90, -180, 45, 60, 2147483647, 2147483647), "nodes"},
        {"overflow", gtxHeader(-90, -180, 45, 60, 65536, 65536), "nodes"},
        {"nan_step", gtxHeader(-90, -180, std::nan(""), 60, 5, 6), "not a number"},
        {"zero_step", gtxHeader(-90, -180, 45, 0, 5, 6), "positive"},
        {"negative_step", gtxHeader(-90, -180, -45, 60, 5, 6), "positive"},
        {"beyond_pole", gtxHeader(-90, -180, 50, 60, 5, 6), "outside -90 to 90"},
        {"too_wide", gtxHeader(-90, -180, 45, 60, 5, 8), "more than 360"},
        {"far_west", gtxHeader(-90, -1000, 45, 60, 5, 6), "outside -360 to 360"},
    };
    for (const auto& c : cases) {
        const std::string gtx = scratchPath(c.name + ".gtx");
        std::ofstream(gtx, std::ios::binary) << c.bytes;
        const auto r = runCli("grid convert \"" + gtx + "\" \"" + grd + "\"");
        EXPECT_EQ(r.status, 2) << c.name;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
        EXPECT_EQ(readWholeFile(grd), "precious\n") << c.name;
        EXPECT_FALSE(exists(grd + ".partial")) << c.name;
        std::remove(gtx.c_str());
    }
    std::remove(grd.c_str());
}

TEST(GridConvertUsage, Mistakes)
{
    EXPECT_EQ(runCli("grid convert --help").status, 0);
    EXPECT_EQ(runCli("grid").status, 2);
    EXPECT_EQ(runCli("grid flip a b").status, 2);
    EXPECT_EQ(runCli("grid convert only_one.gtx").status, 2);
    EXPECT_EQ(runCli("grid convert a.gtx b.grd --fast").status, 2);
    EXPECT_EQ(runCli("grid convert --overlap --no-overlap a.gtx b.grd").status, 2);
    const auto missing = runCli("grid convert \"" + scratchPath("missing.gtx") + "\" \"" + scratchPath("x.grd") + "\"");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("cannot open"), std::string::npos) << missing.err;
    const auto folder = runCli("grid convert \"" + std::string(KELVANE_TEST_TMPDIR) + "\" \"" + scratchPath("x.grd") + "\"");
    EXPECT_EQ(folder.status, 2);
    EXPECT_NE(folder.err.find("is a folder"), std::string::npos) << folder.err;
}

} // namespace
