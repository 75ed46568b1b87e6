// Windows paths as hosts write them: geoid folders with backslashes, drive letters and
// either separator, file names in any case, and scratch files beside the grid files.
#if defined(_WIN32)

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "geoid/geoid_grid.h"
#include "geoid/geoid_test_files.h"
#include "kelvane/geoid.h"
#include "platform/platform.h"

namespace {

using geoid_test::ScratchFolder;

// The folder as a Windows host names it: absolute, with its drive letter, backslashes
// and the trailing separator ("Z:\work\...\geoid_..._win\").
std::string windowsPath(const ScratchFolder& dir)
{
    return std::filesystem::absolute(dir.bare()).make_preferred().string() + "\\";
}

std::string withSlashes(std::string path)
{
    for (char& c : path) c = c == '\\' ? '/' : c;
    return path;
}

class WindowsGeoidFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        closeGeoidGrid();
        // A global EGM96 file holding 7.5 m everywhere.
        geoid_test::writeConstantGrid(dir.file("egm96.grd"), -90, 0, 90, 360, 12, 6, 7.5);
    }
    void TearDown() override { closeGeoidGrid(); }
    ScratchFolder dir{"win"};
};

TEST_F(WindowsGeoidFolder, EitherSeparatorWithATrailingOneOpensTheModel)
{
    const std::string back = windowsPath(dir);
    ASSERT_EQ(back.find('/'), std::string::npos) << back;
    const std::string mixed = back.substr(0, back.size() - 1) + "/"; // backslashes, then '/'
    for (const std::string& folder : {back, withSlashes(back), mixed}) {
        ASSERT_EQ(openGeoidGrid(folder.c_str(), kvGeoidEGM96), 0) << folder;
        double h = 0.0;
        EXPECT_EQ(getElevFromGeoidGrid(-33.9, 18.4, &h), kvGeoidOk) << folder;
        EXPECT_DOUBLE_EQ(h, 7.5);
        closeGeoidGrid();
    }
    // The folder is a bare prefix: without its separator the file name is glued to the
    // last folder name, on Windows as elsewhere.
    const std::string bare = back.substr(0, back.size() - 1);
    EXPECT_EQ(openGeoidGrid(bare.c_str(), kvGeoidEGM96), 1);
}

TEST_F(WindowsGeoidFolder, FileNamesMatchInAnyCaseAndFoldersNeverMatch)
{
    // Windows opens EGM96.GRD as egm96.grd, so the presence check finds it as well.
    std::filesystem::rename(dir.file("egm96.grd"), dir.file("EGM96.GRD"));
    const std::string back = windowsPath(dir);
    EXPECT_TRUE(kelvane::platform::anyFileMatches((back + "egm96.grd").c_str()));
    EXPECT_TRUE(kelvane::platform::anyFileMatches((back + "Egm9?.g*").c_str()));
    EXPECT_FALSE(kelvane::platform::anyFileMatches((back + "egm96.grd?").c_str())); // '?' is one character
    EXPECT_FALSE(kelvane::platform::anyFileMatches((back + "g2003???.grd").c_str()));
    std::filesystem::create_directory(dir.file("g2003u01.grd"));
    EXPECT_FALSE(kelvane::platform::anyFileMatches((back + "g2003???.grd").c_str()));
    EXPECT_FALSE(kelvane::platform::anyFileMatches(back.c_str()));
    EXPECT_FALSE(kelvane::platform::anyFileMatches((back + "missing\\egm96.grd").c_str()));
    EXPECT_FALSE(kelvane::platform::anyFileMatches((back + "*\\egm96.grd").c_str())); // no wild-cards in folders
    std::filesystem::remove(dir.file("g2003u01.grd"));
}

TEST_F(WindowsGeoidFolder, ScratchFilesLiveInTheGridFolderAndAreDeleted)
{
    const std::string back = windowsPath(dir);
    ASSERT_EQ(openGeoidGrid(back.c_str(), kvGeoidEGM96), 0);
    ASSERT_STREQ(kelvane::geoidScratchFolder(), back.c_str());

    // 36,000 intervals without forced memory: the nodes go to a scratch file.
    kelvane::GeoidGrid* grid = kelvane::createGeoidGrid(0, 0, 1, 1, 36000, 1, 0);
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->inMemory, 0);
    const std::string scratch = grid->scratchPath;
    EXPECT_EQ(scratch.rfind(back + "grd", 0), 0u) << scratch;
    EXPECT_EQ(scratch.size(), back.size() + 3 + 6) << scratch;
    EXPECT_TRUE(std::filesystem::is_regular_file(scratch));
    EXPECT_EQ(dir.entryCount(), 2); // egm96.grd and the scratch file

    kelvane::GeoidGridCell cell = kelvane::emptyGridCell();
    cell.value = -12.25;
    cell.valid = '1';
    kelvane::setGridCell(grid, 36001, cell);
    EXPECT_EQ(kelvane::getGridCell(grid, 36001).value, -12.25);
    kelvane::destroyGeoidGrid(&grid);
    EXPECT_FALSE(std::filesystem::exists(scratch));
    EXPECT_EQ(dir.entryCount(), 1);
}

TEST(WindowsScratchFile, NamesFollowTheFolderAndStayUnique)
{
    ScratchFolder dir("win_temp");
    const std::string back = windowsPath(dir);
    const std::string bare = back.substr(0, back.size() - 1);
    char a[400];
    char b[400];
    // Without its trailing separator the folder gets the kind it uses already.
    ASSERT_EQ(kelvane::platform::createTempFile(bare.c_str(), "grd", a, sizeof a), 0);
    EXPECT_EQ(std::string(a).rfind(back + "grd", 0), 0u) << a;
    const std::string slashes = withSlashes(bare);
    ASSERT_EQ(kelvane::platform::createTempFile(slashes.c_str(), "grd", b, sizeof b), 0);
    EXPECT_EQ(std::string(b).rfind(slashes + "/grd", 0), 0u) << b;

    // Many names in one folder, all distinct although Windows ignores case.
    for (int k = 0; k < 200; ++k) {
        ASSERT_EQ(kelvane::platform::createTempFile(back.c_str(), "grd", a, sizeof a), 0) << k;
    }
    EXPECT_EQ(dir.entryCount(), 202);

    // A buffer one byte short is refused and left as it was.
    std::memset(a, '#', sizeof a);
    EXPECT_EQ(kelvane::platform::createTempFile(back.c_str(), "grd", a, back.size() + 3 + 6), 1);
    EXPECT_EQ(a[0], '#');
    EXPECT_EQ(dir.entryCount(), 202);
}

} // namespace

#endif
