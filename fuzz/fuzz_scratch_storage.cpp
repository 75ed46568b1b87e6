// The scratch-file storage of a geoid grid against a plain array: the input is a series
// of operations (store a cell, fetch a cell, flush the write window) on a grid large
// enough for scratch mode; every fetch must give what the array holds.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "geoid/geoid_grid_storage.h"

using kelvane::GeoidGrid;
using kelvane::GeoidGridCell;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    // 180 to 243 columns by 200 rows: 36,000 to 48,800 nodes, several windows long.
    const int e = 180 + data[0] % 64;
    const int f = 200;
    GeoidGrid* grid = kelvane::createGeoidGrid(0, 0, 1, 1, e, f, 0, kelvane_fuzz::folder().c_str());
    if (grid == nullptr || grid->inMemory) __builtin_trap();
    const int n = kelvane::gridNodeCount(grid);
    std::vector<GeoidGridCell> model(static_cast<std::size_t>(n), kelvane::emptyGridCell());
    for (std::size_t i = 1; i + 4 <= size; i += 4) {
        // Indices reach a little past both ends of the grid.
        const int index = static_cast<int>((data[i + 1] << 16 | data[i + 2] << 8 | data[i + 3]) % (n + 64)) - 32;
        const bool inside = index >= 0 && index < n;
        switch (data[i] % 4) {
        case 0:
        case 1: {
            GeoidGridCell c = kelvane::emptyGridCell();
            c.value = data[i] * 0.5 - index;
            c.valid = (data[i] & 8) ? '1' : '0';
            kelvane::setGridCell(grid, index, c);
            if (inside) model[static_cast<std::size_t>(index)] = c;
            break;
        }
        case 2: {
            const GeoidGridCell got = kelvane::getGridCell(grid, index);
            const GeoidGridCell want = inside ? model[static_cast<std::size_t>(index)] : kelvane::emptyGridCell();
            if (got.value != want.value || got.valid != want.valid) __builtin_trap();
            break;
        }
        default: kelvane::flushWriteWindow(grid); break;
        }
    }
    if (grid->scratchFailed) __builtin_trap();
    kelvane::destroyGeoidGrid(&grid);
    return 0;
}
