// The command line's input line reader, in-process, with the shapes of every subcommand's
// lines: the first two bytes choose one to four quantities (latitude, longitude, angle,
// length, scale, arc seconds, count), whether an ID comes first and whether the line is
// the file's first; the rest is the line. Every number accepted must be finite, one per
// quantity, and the reader must never read outside the line.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "line_input.h"

using kelvane::cli::InputLine;
using kelvane::cli::Quantity;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    static const Quantity kKinds[] = {Quantity::Latitude, Quantity::Longitude, Quantity::Angle, Quantity::Length,
                                      Quantity::Scale,    Quantity::ArcSeconds, Quantity::Count};
    std::vector<Quantity> kinds;
    const unsigned shape = static_cast<unsigned>(data[0]) | static_cast<unsigned>(data[1]) << 8;
    const unsigned count = 1 + (shape & 3);
    for (unsigned i = 0; i < count; ++i) kinds.push_back(kKinds[((shape >> (2 + 3 * i)) & 7) % 7]);
    const bool idFirst = (shape >> 14) & 1;
    const bool firstLine = (shape >> 15) & 1;

    // A copy of exactly the line's bytes, so that the sanitizer sees any read past its end.
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    InputLine line;
    const auto problem = kelvane::cli::parseInputLine(std::string_view(text), kinds, idFirst, firstLine, line);
    if (!problem && !line.empty) {
        if (line.values.size() != kinds.size()) __builtin_trap();
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            const double v = line.values[i];
            if (!std::isfinite(v)) __builtin_trap();
        }
    }
    (void)kelvane::cli::splitLine(std::string_view(text), firstLine);
    return 0;
}
