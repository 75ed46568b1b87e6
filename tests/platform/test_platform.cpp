// The platform services: wild-card matching, directory search, regular files and scratch files.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/process_token.h"

#if !defined(_WIN32)
// Pipes, links and permissions for the POSIX-only cases below.
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using kelvane::platform::anyFileMatches;
using kelvane::platform::createScratchFile;
using kelvane::platform::FileStamp;
using kelvane::platform::openRegularFile;
using kelvane::platform::wildcardMatch;

std::string freshFolder(const std::string& name)
{
    const std::string dir = std::string(KELVANE_TEST_TMPDIR) + "/" + kelvane_test::processToken() + "_" + name + "/";
    std::filesystem::create_directory(dir);
    return dir;
}

void touch(const std::string& path) { std::ofstream(path) << "x\n"; }

TEST(Wildcard, StarAndQuestionMark)
{
    EXPECT_TRUE(wildcardMatch("egm96.grd", "egm96.grd"));
    EXPECT_FALSE(wildcardMatch("egm96.grd", "egm96.grdx"));
    EXPECT_FALSE(wildcardMatch("egm96.grd", "Egm96.grd")); // case counts, as for opening the file
    EXPECT_TRUE(wildcardMatch("g1999*.grd", "g1999u01.grd"));
    EXPECT_TRUE(wildcardMatch("g1999*.grd", "g1999.grd")); // '*' may be empty
    EXPECT_FALSE(wildcardMatch("g1999*.grd", "g1999u01.grdx"));
    EXPECT_TRUE(wildcardMatch("g2003???.grd", "g2003u01.grd"));
    EXPECT_FALSE(wildcardMatch("g2003???.grd", "g2003u1.grd"));   // '?' is exactly one
    EXPECT_FALSE(wildcardMatch("g2003???.grd", "g2003u011.grd"));
    EXPECT_TRUE(wildcardMatch("*", ""));
    EXPECT_FALSE(wildcardMatch("?", ""));
    EXPECT_TRUE(wildcardMatch("a*b*c", "axxbyyc"));
    EXPECT_FALSE(wildcardMatch("a*b*c", "axxbyy"));
    EXPECT_TRUE(wildcardMatch("[x].grd", "[x].grd")); // brackets are plain characters
    EXPECT_FALSE(wildcardMatch(nullptr, "a"));
    EXPECT_FALSE(wildcardMatch("a", nullptr));
}

TEST(Wildcard, ManyStarsStayFast)
{
    // A backtracking matcher without care takes exponential time here.
    const std::string name(4000, 'a');
    EXPECT_FALSE(wildcardMatch("*a*a*a*a*a*a*a*a*a*a*a*a*b", name.c_str()));
    EXPECT_TRUE(wildcardMatch("*a*a*a*a*a*a*a*a*a*a*a*a*", name.c_str()));
}

TEST(DirectorySearch, FindsFilesByPattern)
{
    const std::string dir = freshFolder("search");
    touch(dir + "egm96.grd");
    touch(dir + "g2003u01.grd");
    std::filesystem::create_directory(dir + "osu91a.grd"); // a folder is not a file

    EXPECT_TRUE(anyFileMatches((dir + "egm96.grd").c_str()));
    EXPECT_TRUE(anyFileMatches((dir + "g2003???.grd").c_str()));
    EXPECT_TRUE(anyFileMatches((dir + "*.grd").c_str()));
    EXPECT_FALSE(anyFileMatches((dir + "g1999*.grd").c_str()));
    EXPECT_FALSE(anyFileMatches((dir + "g2009???.grd").c_str()));
    EXPECT_FALSE(anyFileMatches((dir + "osu91a.grd").c_str()));
    EXPECT_FALSE(anyFileMatches((dir + "missing/egm96.grd").c_str()));
    EXPECT_FALSE(anyFileMatches(dir.c_str())); // no file name part
    EXPECT_FALSE(anyFileMatches(nullptr));
    // The folder is a bare prefix: without its separator the name is glued to it.
    const std::string noSeparator = dir.substr(0, dir.size() - 1) + "egm96.grd";
    EXPECT_FALSE(anyFileMatches(noSeparator.c_str()));

    std::remove((dir + "egm96.grd").c_str());
    std::remove((dir + "g2003u01.grd").c_str());
    std::filesystem::remove(dir + "osu91a.grd");
    std::filesystem::remove(dir);
}

int entryCount(const std::string& dir)
{
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) n += e.path().filename() != "." ? 1 : 0;
    return n;
}

#if !defined(_WIN32) // Windows has its own cases for devices and pipes
TEST(RegularFile, OpensFilesAndRefusesEverythingElseWithoutBlocking)
{
    const std::string dir = freshFolder("regular");
    touch(dir + "grid.grd");
    ::mkfifo((dir + "fifo.grd").c_str(), 0600); // no writer: a blocking open would wait for ever
    ::symlink("/dev/zero", (dir + "zero.grd").c_str());
    ::symlink((dir + "grid.grd").c_str(), (dir + "link.grd").c_str());

    FileStamp stamp{-1, -1};
    std::FILE* f = openRegularFile((dir + "grid.grd").c_str(), &stamp);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(stamp.size, 2);
    char text[8] = {};
    EXPECT_EQ(std::fread(text, 1, sizeof text, f), 2u);
    std::fclose(f);
    f = openRegularFile((dir + "link.grd").c_str(), nullptr); // a link to a regular file is one
    ASSERT_NE(f, nullptr);
    std::fclose(f);

    for (const std::string name : {"fifo.grd", "zero.grd", "", "missing.grd"}) {
        FileStamp untouched{7, 7};
        EXPECT_EQ(openRegularFile((dir + name).c_str(), &untouched), nullptr) << name;
        EXPECT_EQ(untouched.size, 7) << name;
    }
    EXPECT_EQ(openRegularFile(nullptr, nullptr), nullptr);
    // The presence check counts regular files only.
    EXPECT_FALSE(anyFileMatches((dir + "fifo.grd").c_str()));
    EXPECT_FALSE(anyFileMatches((dir + "zero.grd").c_str()));
    EXPECT_TRUE(anyFileMatches((dir + "link.grd").c_str()));

    // A rewrite changes the stamp.
    FileStamp again{};
    std::fclose(openRegularFile((dir + "grid.grd").c_str(), &again));
    EXPECT_TRUE(again == stamp);
    std::ofstream(dir + "grid.grd") << "longer\n";
    std::fclose(openRegularFile((dir + "grid.grd").c_str(), &again));
    EXPECT_FALSE(again == stamp);
    std::filesystem::remove_all(dir);
}

#endif

TEST(ScratchFile, AnonymousFilesThatReadBackWhatWasWritten)
{
    const std::string dir = freshFolder("scratch");
    std::FILE* a = createScratchFile(dir.c_str(), "grd");
    std::FILE* b = createScratchFile(dir.substr(0, dir.size() - 1).c_str(), "grd"); // without separator
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
#if !defined(_WIN32) // on Windows the files are seen until they are closed, which deletes them
    EXPECT_EQ(entryCount(dir), 0); // nothing to leave behind, even if the process dies now
#endif
    const char text[] = "sixteen bytes!!";
    ASSERT_EQ(std::fwrite(text, 1, sizeof text, a), sizeof text);
    ASSERT_EQ(std::fseek(a, 0, SEEK_SET), 0);
    char back[sizeof text] = {};
    ASSERT_EQ(std::fread(back, 1, sizeof back, a), sizeof back);
    EXPECT_STREQ(back, text);
    std::fclose(a);
    std::fclose(b);

    // Refused: null arguments, a missing or read-only folder, a name longer than 255.
    EXPECT_EQ(createScratchFile(nullptr, "grd"), nullptr);
    EXPECT_EQ(createScratchFile(dir.c_str(), nullptr), nullptr);
    EXPECT_EQ(createScratchFile((dir + "missing/").c_str(), "grd"), nullptr);
    EXPECT_EQ(createScratchFile(dir.c_str(), std::string(256, 'p').c_str()), nullptr);
#if !defined(_WIN32)
    ::chmod(dir.c_str(), 0500);
    if (::geteuid() != 0) {
        EXPECT_EQ(createScratchFile(dir.c_str(), "grd"), nullptr);
    }
    ::chmod(dir.c_str(), 0700);
#endif
    EXPECT_EQ(entryCount(dir), 0);
    std::filesystem::remove_all(dir);
}

} // namespace
