// The geoid grid reader through the public calls: the input is written as a model's grid
// file (the first byte chooses which) and queried at points inside, on the edges of and
// outside the grid it describes, then the model is closed.
//   byte 0 mod 3 = 0: EGM96, one global file
//                  1: GEOID03, the Colorado tile, with queries that change tiles
//                  2: AUSGeoid98, a tile found by the header scan of every tile name
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "kelvane/geoid.h"

namespace {

struct Scenario {
    int model;
    const char* file;
    double points[6][2]; // latitude, longitude
};

const Scenario kScenarios[] = {
    {4, "egm96.grd", {{0, 0}, {45, 10}, {-90, 359.99}, {90, -180}, {1e-300, 1e300}, {-30, -120}}},
    {2, "g2003u06.grd", {{39, -105}, {64, -150}, {39, -105}, {24, 248}, {41, 265}, {40, -100}}},
    {6, "au_sc49.grd", {{-27, 142}, {0, 0}, {-27, 142}, {-30, 140}, {-90, 0}, {-25, 145}}},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const Scenario& s = kScenarios[data[0] % 3];
    kelvane_fuzz::writeFile(s.file, data + 1, size - 1);
    if (openGeoidGrid(kelvane_fuzz::folder().c_str(), s.model) == 0) {
        for (const auto& p : s.points) {
            double h = 0.0;
            const int rc = getElevFromGeoidGrid(p[0], p[1], &h);
            if (rc < -5 || rc > 0 || (rc != 0 && h != 0.0)) __builtin_trap();
        }
        closeGeoidGrid();
    }
    kelvane_fuzz::removeFile(s.file);
    return 0;
}
