// Helpers for the grid tests: text grid files and scratch folders made by the tests.
#ifndef KELVANE_TESTS_GEOID_GEOID_GRID_FILES_H
#define KELVANE_TESTS_GEOID_GEOID_GRID_FILES_H

#include <cstdio>
#include <gtest/gtest.h>
#include <fstream>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace grid_test {

// A path below the build tree's test folder, unique to this process.
inline std::string path(const std::string& name)
{
    return std::string(KELVANE_TEST_TMPDIR) + "/" + std::to_string(::getpid()) + "_" + name;
}

// Every file and folder the helpers made, removed when the test program ends.
inline std::vector<std::string>& made()
{
    static std::vector<std::string> paths;
    return paths;
}

class RemoveMadeFiles : public ::testing::Environment {
public:
    void TearDown() override
    {
        // Files first, then the (by then empty) folders, newest first.
        for (auto it = made().rbegin(); it != made().rend(); ++it) std::remove(it->c_str());
        made().clear();
    }
};

// A folder (with its trailing separator) for scratch files, created empty.
inline std::string folder(const std::string& name)
{
    const std::string dir = path(name) + "/";
    if (::mkdir(dir.c_str(), 0755) == 0) made().insert(made().begin(), dir);
    return dir;
}

// Writes text to a file as it stands (no newline is added).
inline std::string writeFile(const std::string& name, const std::string& text)
{
    const std::string p = path(name);
    std::ofstream(p, std::ios::binary) << text;
    made().push_back(p);
    return p;
}

// A grid file from its six header lines and node lines, each line ended by a newline.
inline std::string writeGrid(const std::string& name, const std::vector<std::string>& header,
                             const std::vector<std::string>& nodes)
{
    std::string text;
    for (const auto& l : header) text += l + "\n";
    for (const auto& l : nodes) text += l + "\n";
    return writeFile(name, text);
}

// Names of the files in a folder that begin with prefix.
inline std::vector<std::string> filesWithPrefix(const std::string& dir, const std::string& prefix)
{
    std::vector<std::string> found;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d))
            if (std::string(e->d_name).rfind(prefix, 0) == 0) found.push_back(e->d_name);
        ::closedir(d);
    }
    return found;
}

} // namespace grid_test

#endif
