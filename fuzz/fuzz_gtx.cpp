// The GTX converter of the command line ("kelvane grid convert"): the input is written
// as a GTX file and converted into a text grid, which the geoid loader then reads.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "geoid/geoid_context.h"
#include "gtx.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string in = kelvane_fuzz::writeFile("in.gtx", data, size);
    const std::string out = kelvane_fuzz::folder() + "out.grd";
    const bool overlap = size > 0 && (data[size - 1] & 1);
    if (!kelvane::gtx::convertGtxToGrid(in, out, nullptr, overlap)) {
        if (kelvane::loadGeoidGridFile(out.c_str()) != 0) __builtin_trap(); // the converter's output loads
        kelvane::releaseGeoidGrid();
    }
    kelvane_fuzz::removeFile("out.grd");
    return 0;
}
