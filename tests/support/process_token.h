// A token that tells apart test processes running at the same time (ctest -j runs the
// cases of one program in parallel processes), for names of scratch files and folders.
// Standard C++ only, so the helpers build on every platform.
#ifndef KELVANE_TESTS_SUPPORT_PROCESS_TOKEN_H
#define KELVANE_TESTS_SUPPORT_PROCESS_TOKEN_H

#include <chrono>
#include <cstdint>
#include <random>
#include <string>

namespace kelvane_test {

// Twelve hexadecimal digits, drawn once per process.
inline const std::string& processToken()
{
    static const std::string token = [] {
        std::random_device device;
        std::uint64_t bits = (static_cast<std::uint64_t>(device()) << 32) ^ device();
        bits ^= static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        static const char digits[] = "0123456789abcdef";
        std::string s;
        for (int k = 0; k < 12; ++k, bits >>= 4) s += digits[bits & 0xf];
        return s;
    }();
    return token;
}

} // namespace kelvane_test

#endif
