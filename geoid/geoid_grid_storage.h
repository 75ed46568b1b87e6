// The grid object a geoid grid file is loaded into, and its two storage modes.
//
// A grid keeps its nodes either all in memory or in a binary scratch file of 16-byte
// cells, reached through a 14,000-cell write window and a 28,000-cell read window. Text
// files are always loaded in memory mode; scratch mode is the fallback when the nodes
// cannot be allocated. The scratch file is anonymous
// (see platform::createScratchFile): it exists only as long as the grid holds it open.
//
// In memory a node takes 4 bytes while every value of the grid allows it: the value in
// millionths of the file's unit (micrometres for a grid in metres) as an int32, with a
// few reserved codes for the nodes without data. A grid file writes its heights with a
// handful of decimals (the published grids have at most six), and for such a value the
// quotient n / 1e6 of two exact doubles is the correctly rounded value of the decimal,
// the very double the text conversion gave, so queries return what the 16-byte cells
// returned, bit for bit. The first node whose value (or flags) the 4 bytes cannot hold
// exactly (more than six decimals, beyond +-2147 units, a spare field set by hand)
// turns the whole grid to 16-byte cells for good: slower, four times the memory, but
// every value exactly as read. If even those cannot be allocated, the grid moves to
// scratch mode.
//
// None of this is exported; the grid file reader, the geoid context and the
// interpolation build on it.
#ifndef KELVANE_GEOID_GEOID_GRID_STORAGE_H
#define KELVANE_GEOID_GEOID_GRID_STORAGE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace kelvane {

// The no-data value of node files and interpolations.
constexpr double kGeoidNoData = -98765432.1;
// What the node position functions return when a position cannot be given.
constexpr double kGeoidNoPosition = 98765432.1;

// Window sizes of scratch mode, in cells.
constexpr int kGeoidWriteWindowCells = 14000;
constexpr int kGeoidReadWindowCells = 28000;

// Grids whose product of interval counts E*F stays below this are kept in memory
// even when the caller asks for scratch mode.
constexpr long long kGeoidScratchThreshold = 36000;

// The largest node count (E + 1)(F + 1) a grid may have: 2^25 = 33,554,432 nodes,
// 512 MiB of cells. A header that promises more is refused (no grid), so a tiny
// hostile file cannot make the library allocate gigabytes or overflow an int. This
// admits every regional grid and global grids down to a 3' spacing (7201 x 3601 =
// 25.9 million nodes); the EGM96 15' grid has 1,038,961. A global 1' grid (233 million
// nodes, 3.7 GB of cells, a text file of several GB) is refused: it does not fit a
// host process sensibly in either storage mode, and should be cut into regional grids.
constexpr long long kGeoidMaxNodes = 33554432;

// (E + 1)(F + 1) without overflow for any counts up to the range of an int.
constexpr long long nodeCountOf(long long lonIntervals, long long latIntervals)
{
    return (lonIntervals + 1) * (latIntervals + 1);
}

// One node: the unit of the scratch file. valid is '1' when the node has data and '0'
// when it has none (anything but '1' counts as none); the spare fields are always
// '0' and 0. An empty cell is value 0.0 with both flags '0'.
struct GeoidGridCell {
    double value;
    char valid;
    char spareFlag;
    char reserved[2];
    std::int32_t spare;
};
static_assert(sizeof(GeoidGridCell) == 16, "GeoidGridCell is a 16-byte record");
static_assert(offsetof(GeoidGridCell, value) == 0, "GeoidGridCell layout");
static_assert(offsetof(GeoidGridCell, valid) == 8, "GeoidGridCell layout");
static_assert(offsetof(GeoidGridCell, spareFlag) == 9, "GeoidGridCell layout");
static_assert(offsetof(GeoidGridCell, reserved) == 10, "GeoidGridCell layout");
static_assert(offsetof(GeoidGridCell, spare) == 12, "GeoidGridCell layout");

// The empty cell: value 0.0, both flags '0'.
GeoidGridCell emptyGridCell();

// A node in memory: the value times 1e6 as an integer, or one of the reserved codes at
// the bottom of the range (they and -0.0, a valid value, are told apart by the few
// nodes that carry them; the interpolation sees a reserved code as "look closer").
using GeoidCompactNode = std::int32_t;
constexpr GeoidCompactNode kCompactEmpty = INT32_MIN;            // the empty cell
constexpr GeoidCompactNode kCompactNoDataMark = INT32_MIN + 1;   // -98765432.1, no data
constexpr GeoidCompactNode kCompactNegativeZero = INT32_MIN + 2; // -0.0 with data
constexpr GeoidCompactNode kCompactLastReserved = kCompactNegativeZero;
constexpr double kCompactScale = 1e6;

// The value of a node that is no reserved code. A division, not a multiplication by
// 1e-6: only the quotient of the two exact doubles is correctly rounded.
inline double compactValue(GeoidCompactNode n)
{
    return static_cast<double>(n) / kCompactScale;
}

// The 4-byte form of cell into *node; false when the cell cannot be held exactly.
bool encodeCompactNode(const GeoidGridCell& cell, GeoidCompactNode* node);
GeoidGridCell decodeCompactNode(GeoidCompactNode node);

// A loaded grid. It owns its nodes, its windows and its scratch file.
struct GeoidGrid {
    double west;      // longitude of column 0, degrees
    double south;     // latitude of row 0, degrees
    double lonStep;   // degrees between columns
    double latStep;   // degrees between rows
    int lonIntervals; // E: columns - 1
    int latIntervals; // F: rows - 1
    int inMemory;     // 1: every node in memory; 0: nodes live in the scratch file
    std::FILE* scratchFile;     // the anonymous scratch file (scratch mode), else null
    GeoidGridCell* writeWindow; // kGeoidWriteWindowCells cells (scratch mode)
    GeoidGridCell* readWindow;  // kGeoidReadWindowCells cells (scratch mode)
    GeoidCompactNode* compactNodes; // every node in file order (memory mode, 4 bytes a node)
    GeoidGridCell** rows;       // F + 1 rows of E + 1 cells (memory mode, once a value needs them)
    int writeStart, writeCount; // first node held by the write window, how many (-1: empty)
    int readStart, readCount;   // first node held by the read window (-1: none), how many
    int scratchFailed;          // 1 once a write to the scratch file has failed (disk full)
    // The folder the grid was created with, for a grid that must leave memory later;
    // empty when none was given or it is too long for a scratch file name anyway.
    char scratchFolder[256];
};

// Builds an empty grid (every node without data). Memory mode when E*F < 36,000 or
// forceMemory is 1 and the nodes can be allocated; otherwise scratch mode, with an
// anonymous scratch file created in scratchFolder (prefix "grd"). Returns null for
// negative counts, a node count above kGeoidMaxNodes, or when neither mode can be set
// up (no scratch file is then left behind).
GeoidGrid* createGeoidGrid(double west, double south, double lonStep, double latStep,
                           int lonIntervals, int latIntervals, int forceMemory,
                           const char* scratchFolder);

// (E + 1)(F + 1), or -1 for no grid.
int gridNodeCount(const GeoidGrid* grid);

// Stores one node; ignored for no grid or an index outside the grid.
void setGridCell(GeoidGrid* grid, int index, const GeoidGridCell& cell);

// Fetches one node; the empty cell for no grid, a negative index or one beyond the grid.
GeoidGridCell getGridCell(GeoidGrid* grid, int index);

// (E + 1)*row + column, or -1 for no grid.
int gridNodeIndex(const GeoidGrid* grid, int column, int row);

// Node position in degrees; kGeoidNoPosition for no grid, for E = 0, or when the step
// is exactly 0.
double gridNodeLongitude(const GeoidGrid* grid, int index);
double gridNodeLatitude(const GeoidGrid* grid, int index);

// The neighbouring node index, or -1 when the node lies in the last column, last row,
// first column or first row respectively, and for no grid.
int gridEastNeighbour(const GeoidGrid* grid, int index);
int gridNorthNeighbour(const GeoidGrid* grid, int index);
int gridWestNeighbour(const GeoidGrid* grid, int index);
int gridSouthNeighbour(const GeoidGrid* grid, int index);

// Writes the unflushed cells of the write window to the scratch file (scratch mode).
void flushWriteWindow(GeoidGrid* grid);

// Frees the grid and closes (so deletes) its scratch file; sets *grid to null. Null is
// ignored.
void destroyGeoidGrid(GeoidGrid** grid);

// Fault injection for the tests: the next this many allocations of nodes (the 4-byte
// block, a row of cells or a window) fail as if the heap were exhausted. 0, the default, fails none; nothing in
// the library sets it.
extern int gGeoidAllocationsToFail;

} // namespace kelvane

#endif
