// The platform services: wild-card matching, directory search and temporary files.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/process_token.h"

namespace {

using kelvane::platform::anyFileMatches;
using kelvane::platform::createTempFile;
using kelvane::platform::wildcardMatch;

std::string freshFolder(const std::string& name)
{
    const std::string dir = std::string(KELVANE_TEST_TMPDIR) + "/" + kelvane_test::processToken() + "_" + name + "/";
    std::filesystem::create_directory(dir);
    return dir;
}

void touch(const std::string& path) { std::ofstream(path) << "x\n"; }

bool exists(const std::string& path) { return std::filesystem::exists(path); }

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

TEST(TemporaryFile, UniqueFilesInTheFolder)
{
    const std::string dir = freshFolder("temp");
    char a[256];
    char b[256];
    ASSERT_EQ(createTempFile(dir.c_str(), "grd", a, sizeof a), 0);
    ASSERT_EQ(createTempFile(dir.c_str(), "grd", b, sizeof b), 0);
    EXPECT_STRNE(a, b);
    EXPECT_EQ(std::string(a).rfind(dir + "grd", 0), 0u) << a;
    EXPECT_TRUE(exists(a));
    EXPECT_TRUE(exists(b));
    std::remove(a);
    std::remove(b);

    // The folder may come without its trailing separator.
    const std::string bare = dir.substr(0, dir.size() - 1);
    ASSERT_EQ(createTempFile(bare.c_str(), "grd", a, sizeof a), 0);
    EXPECT_EQ(std::string(a).rfind(dir + "grd", 0), 0u) << a;
    std::remove(a);
    std::filesystem::remove(dir);
}

TEST(TemporaryFile, RefusesWhatDoesNotFit)
{
    const std::string dir = freshFolder("temp_small");
    // The path needs the folder, "grd", six unique characters and the terminator.
    const std::size_t needed = dir.size() + 3 + 6 + 1;
    char buf[512];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(createTempFile(dir.c_str(), "grd", buf, needed - 1), 1);
    EXPECT_EQ(buf[0], '#'); // untouched, not truncated
    ASSERT_EQ(createTempFile(dir.c_str(), "grd", buf, needed), 0);
    EXPECT_EQ(std::strlen(buf), needed - 1);
    std::remove(buf);

    EXPECT_EQ(createTempFile((dir + "missing/").c_str(), "grd", buf, sizeof buf), 1);
    EXPECT_EQ(createTempFile(nullptr, "grd", buf, sizeof buf), 1);
    EXPECT_EQ(createTempFile(dir.c_str(), "grd", nullptr, 10), 1);
    std::filesystem::remove(dir);
}

} // namespace
