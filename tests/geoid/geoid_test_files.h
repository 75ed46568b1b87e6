// Synthetic geoid grid files and model folders written by the tests themselves.
#ifndef KELVANE_TESTS_GEOID_GEOID_TEST_FILES_H
#define KELVANE_TESTS_GEOID_GEOID_TEST_FILES_H

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/process_token.h"

namespace geoid_test {

// A fresh folder below the build tree's test scratch area, removed with its contents at
// the end of the scope. path() ends with the separator, as the library wants it.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
    {
        static std::atomic<int> serial{0};
        dir_ = std::string(KELVANE_TEST_TMPDIR) + "/geoid_" + kelvane_test::processToken() + "_" +
               std::to_string(serial++) + "_" + name;
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    ~ScratchFolder() { std::filesystem::remove_all(dir_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string path() const { return dir_ + "/"; }
    std::string bare() const { return dir_; }
    std::string file(const std::string& name) const { return dir_ + "/" + name; }
    // Number of entries in the folder (to see that no scratch file is left behind).
    int entryCount() const
    {
        int n = 0;
        for (const auto& e : std::filesystem::directory_iterator(dir_)) {
            (void)e;
            ++n;
        }
        return n;
    }

private:
    std::string dir_;
};

// A folder shared by every test of the program, removed when the program ends.
inline const ScratchFolder& sharedFolder()
{
    static const ScratchFolder folder("files");
    return folder;
}

// Writes text as it stands (no newline added) to a file of the shared folder; its path.
inline std::string writeText(const std::string& name, const std::string& text)
{
    const std::string path = sharedFolder().file(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// A file of the shared folder from its header lines and node lines, each line ended by a
// newline; its path.
inline std::string writeLines(const std::string& name, const std::vector<std::string>& header,
                              const std::vector<std::string>& nodes)
{
    std::string text;
    for (const auto& l : header) text += l + "\n";
    for (const auto& l : nodes) text += l + "\n";
    return writeText(name, text);
}

inline std::string number(double v)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

// Node text of column c, row r ("N" for a node without data).
using NodeText = std::function<std::string(int c, int r)>;

// Writes a text grid: south, west, north, east, E, F, then (E + 1)(F + 1) node lines,
// rows from the south, columns from the west.
inline void writeGridFile(const std::string& path, double south, double west, double north,
                          double east, int E, int F, const NodeText& node)
{
    std::ofstream f(path);
    f << number(south) << '\n' << number(west) << '\n' << number(north) << '\n'
      << number(east) << '\n' << E << '\n' << F << '\n';
    for (int r = 0; r <= F; ++r) {
        for (int c = 0; c <= E; ++c) f << node(c, r) << '\n';
    }
}

// A grid whose node values are f(longitude, latitude).
inline void writeSurfaceGrid(const std::string& path, double south, double west, double north,
                             double east, int E, int F,
                             const std::function<double(double lon, double lat)>& f)
{
    const double dLon = (east - west) / E;
    const double dLat = (north - south) / F;
    writeGridFile(path, south, west, north, east, E, F, [&](int c, int r) {
        return number(f(west + c * dLon, south + r * dLat));
    });
}

// A grid holding one value at every node.
inline void writeConstantGrid(const std::string& path, double south, double west, double north,
                              double east, int E, int F, double value)
{
    writeGridFile(path, south, west, north, east, E, F, [&](int, int) { return number(value); });
}

} // namespace geoid_test

#endif
