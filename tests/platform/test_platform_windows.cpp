// Windows paths as hosts write them: geoid folders with backslashes, drive letters and
// either separator, file names in any case, and scratch files that go when closed.
#if defined(_WIN32)

#include <gtest/gtest.h>

#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

// The names of the scratch files in a folder ("grd" and six letters or digits).
std::vector<std::string> scratchNames(const ScratchFolder& dir)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.bare())) {
        const std::string name = e.path().filename().string();
        if (name.rfind("grd", 0) == 0 && name.size() == 9) names.push_back(name);
    }
    return names;
}

TEST(WindowsScratchFile, UniqueFilesInEitherFolderFormGoWhenClosed)
{
    ScratchFolder dir("win_scratch");
    const std::string back = windowsPath(dir);
    std::vector<std::FILE*> files;
    // Without its trailing separator, with backslashes or slashes, many at once: all
    // distinct although Windows ignores case, and all in the folder.
    files.push_back(kelvane::platform::createScratchFile(back.substr(0, back.size() - 1).c_str(), "grd"));
    files.push_back(kelvane::platform::createScratchFile(withSlashes(back).c_str(), "grd"));
    for (int k = 0; k < 100; ++k) files.push_back(kelvane::platform::createScratchFile(back.c_str(), "grd"));
    for (std::FILE* f : files) ASSERT_NE(f, nullptr);
    EXPECT_EQ(scratchNames(dir).size(), files.size());
    EXPECT_EQ(dir.entryCount(), static_cast<int>(files.size()));

    for (std::FILE* f : files) std::fclose(f);
    EXPECT_EQ(dir.entryCount(), 0);
    EXPECT_EQ(kelvane::platform::createScratchFile((back + "missing\\").c_str(), "grd"), nullptr);
}

TEST(WindowsRegularFile, DevicesPipesAndFoldersAreRefused)
{
    ScratchFolder dir("win_regular");
    const std::string back = windowsPath(dir);
    std::ofstream(dir.file("grid.grd"), std::ios::binary) << "x\n";
    kelvane::platform::FileStamp stamp{-1, -1};
    std::FILE* f = kelvane::platform::openRegularFile((back + "GRID.GRD").c_str(), &stamp);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(stamp.size, 2);
    std::fclose(f);

    for (const std::string& name : {back, back + "missing.grd", std::string("NUL"), std::string("CON"),
                                    std::string("\\\\.\\pipe\\kelvane_no_such_pipe")}) {
        kelvane::platform::FileStamp untouched{7, 7};
        EXPECT_EQ(kelvane::platform::openRegularFile(name.c_str(), &untouched), nullptr) << name;
        EXPECT_EQ(untouched.size, 7) << name;
    }
}

} // namespace

#endif
