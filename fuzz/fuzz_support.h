// Shared by the fuzz targets: one scratch folder per process, and writing an input to a
// file of it.
#ifndef KELVANE_FUZZ_FUZZ_SUPPORT_H
#define KELVANE_FUZZ_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace kelvane_fuzz {

// A folder below the system's temporary folder, made once per process; ends with '/'.
inline const std::string& folder()
{
    static const std::string dir = [] {
        std::error_code ec;
        const auto base =
            std::filesystem::temp_directory_path(ec) / ("kelvane_fuzz_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(base, ec);
        return base.string() + "/";
    }();
    return dir;
}

// Writes size bytes to folder() + name, replacing the file; its path.
inline std::string writeFile(const std::string& name, const std::uint8_t* data, std::size_t size)
{
    const std::string path = folder() + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f != nullptr) {
        if (size > 0) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}

inline void removeFile(const std::string& name)
{
    std::error_code ec;
    std::filesystem::remove(folder() + name, ec);
}

} // namespace kelvane_fuzz

#endif
