// The storage of a geoid grid: all nodes in memory, or an anonymous scratch file of
// 16-byte cells behind a write window and a read window.
#include "geoid/geoid_grid_storage.h"

#include "platform/platform.h"

#include <cmath>
#include <cstring>
#include <new>

namespace kelvane {

int gGeoidAllocationsToFail = 0;

namespace {

// Cells (or 4-byte nodes) from the heap, or null when the heap (or the test limit)
// refuses them.
template <typename Node = GeoidGridCell>
Node* allocateCells(std::size_t count)
{
    if (gGeoidAllocationsToFail > 0) {
        --gGeoidAllocationsToFail;
        return nullptr;
    }
    return new (std::nothrow) Node[count];
}

bool windowHolds(int start, int count, int index)
{
    return start >= 0 && count > 0 && index >= start && index - start < count;
}

long byteOffset(int index)
{
    return static_cast<long>(index) * static_cast<long>(sizeof(GeoidGridCell));
}

// Reads up to maxCells cells starting at node index first from the scratch file into
// cells; returns the number read, or -1 when the file cannot be read there.
int readScratchCells(const GeoidGrid* grid, int first, int maxCells, GeoidGridCell* cells)
{
    if (grid->scratchFile == nullptr || std::fseek(grid->scratchFile, byteOffset(first), SEEK_SET) != 0) return -1;
    return static_cast<int>(std::fread(cells, sizeof(GeoidGridCell), static_cast<std::size_t>(maxCells), grid->scratchFile));
}

void fillEmpty(GeoidGridCell* cells, int from, int to)
{
    for (int i = from; i < to; ++i) cells[i] = emptyGridCell();
}

void freeCellRows(GeoidGrid* grid)
{
    if (grid->rows == nullptr) return;
    for (int r = 0; r <= grid->latIntervals; ++r) delete[] grid->rows[r];
    delete[] grid->rows;
    grid->rows = nullptr;
}

// Frees the nodes of memory mode, in either form.
void freeRows(GeoidGrid* grid)
{
    delete[] grid->compactNodes;
    grid->compactNodes = nullptr;
    freeCellRows(grid);
}

// Allocates F + 1 rows of E + 1 cells; on any failure frees what was allocated.
bool allocateRows(GeoidGrid* grid)
{
    const int rowCount = grid->latIntervals + 1;
    const int rowLength = grid->lonIntervals + 1;
    grid->rows = new (std::nothrow) GeoidGridCell*[static_cast<std::size_t>(rowCount)]();
    if (grid->rows == nullptr) return false;
    for (int r = 0; r < rowCount; ++r) {
        grid->rows[r] = allocateCells(static_cast<std::size_t>(rowLength));
        if (grid->rows[r] == nullptr) {
            freeCellRows(grid);
            return false;
        }
    }
    return true;
}

int columnOf(const GeoidGrid* grid, int index) { return index % (grid->lonIntervals + 1); }
int rowOf(const GeoidGrid* grid, int index) { return index / (grid->lonIntervals + 1); }

// The node at index as a cell, from the 4-byte nodes; the empty cell when there are none.
GeoidGridCell compactCell(const GeoidGrid* grid, int index)
{
    if (grid->compactNodes == nullptr) return emptyGridCell();
    return decodeCompactNode(grid->compactNodes[index]);
}

// Sets up scratch mode: an anonymous scratch file in scratchFolder and the two windows,
// every node written as an empty cell, or as the 4-byte nodes held it when a grid leaves
// memory (they are then freed). False when it cannot be set up (the caller destroys the
// grid, which closes and so deletes the file, or takes the grid back to its 4-byte nodes).
bool setUpScratch(GeoidGrid* grid, const char* scratchFolder)
{
    grid->scratchFile = platform::createScratchFile(scratchFolder, "grd");
    if (grid->scratchFile == nullptr) return false;
    grid->writeWindow = allocateCells(kGeoidWriteWindowCells);
    grid->readWindow = allocateCells(kGeoidReadWindowCells);
    if (grid->writeWindow == nullptr || grid->readWindow == nullptr) return false;
    grid->inMemory = 0;
    const int count = gridNodeCount(grid);
    for (int k = 0; k < count && !grid->scratchFailed; ++k) setGridCell(grid, k, compactCell(grid, k));
    flushWriteWindow(grid);
    if (grid->scratchFailed) return false;
    freeRows(grid);
    return true;
}

// Turns a grid of 4-byte nodes into one of 16-byte cells, in memory when they can be
// allocated (for a moment both are held: 20 bytes a node), else in a scratch file of
// the folder the grid was created with. False when neither can be had; the grid then
// keeps its 4-byte nodes and the caller notes the failure.
bool widenRows(GeoidGrid* grid)
{
    if (allocateRows(grid)) {
        const int rowCount = grid->latIntervals + 1;
        const int rowLength = grid->lonIntervals + 1;
        for (int r = 0; r < rowCount; ++r) {
            for (int c = 0; c < rowLength; ++c) grid->rows[r][c] = decodeCompactNode(grid->compactNodes[r * rowLength + c]);
        }
        delete[] grid->compactNodes;
        grid->compactNodes = nullptr;
        return true;
    }
    if (grid->scratchFolder[0] != '\0' && setUpScratch(grid, grid->scratchFolder)) return true;
    // Back to memory mode with the 4-byte nodes still intact.
    grid->writeStart = grid->writeCount = grid->readStart = -1;
    grid->readCount = 0;
    if (grid->scratchFile != nullptr) std::fclose(grid->scratchFile);
    grid->scratchFile = nullptr;
    delete[] grid->writeWindow;
    delete[] grid->readWindow;
    grid->writeWindow = grid->readWindow = nullptr;
    grid->inMemory = 1;
    return false;
}

void setScratchCell(GeoidGrid* grid, int index, const GeoidGridCell& cell)
{
    if (windowHolds(grid->readStart, grid->readCount, index)) grid->readWindow[index - grid->readStart] = cell;

    if (grid->writeCount > 0) {
        const int i = index - grid->writeStart;
        if (i >= 0 && i < grid->writeCount) {
            grid->writeWindow[i] = cell;
            return;
        }
        if (i >= grid->writeCount && i < kGeoidWriteWindowCells) {
            fillEmpty(grid->writeWindow, grid->writeCount, i);
            grid->writeWindow[i] = cell;
            grid->writeCount = i + 1;
            return;
        }
        flushWriteWindow(grid);
    }

    // The window is empty: place it 7000 cells before the index and fill it from the
    // read window when that covers it, else from the file.
    grid->writeStart = index - kGeoidWriteWindowCells / 2;
    if (grid->writeStart < 0) grid->writeStart = 0;
    if (grid->readStart >= 0 && grid->writeStart >= grid->readStart &&
        grid->writeStart - grid->readStart + kGeoidWriteWindowCells <= grid->readCount) {
        std::memcpy(grid->writeWindow, grid->readWindow + (grid->writeStart - grid->readStart),
                    sizeof(GeoidGridCell) * kGeoidWriteWindowCells);
        grid->writeCount = kGeoidWriteWindowCells;
    } else {
        const int n = readScratchCells(grid, grid->writeStart, kGeoidWriteWindowCells, grid->writeWindow);
        grid->writeCount = n < 0 ? 0 : n;
    }
    const int i = index - grid->writeStart;
    if (i >= grid->writeCount) {
        fillEmpty(grid->writeWindow, grid->writeCount, i);
        grid->writeCount = i + 1;
    }
    grid->writeWindow[i] = cell;
}

GeoidGridCell getScratchCell(GeoidGrid* grid, int index)
{
    if (windowHolds(grid->readStart, grid->readCount, index)) return grid->readWindow[index - grid->readStart];
    if (windowHolds(grid->writeStart, grid->writeCount, index))
        return grid->writeWindow[index - grid->writeStart];

    // Reposition the read window 14,000 cells before the index, so that the rows on
    // both sides of it come with one file read.
    int start = index - kGeoidWriteWindowCells;
    if (start < 0) start = 0;
    const int n = readScratchCells(grid, start, kGeoidReadWindowCells, grid->readWindow);
    if (n < 0) return emptyGridCell();
    grid->readStart = start;
    grid->readCount = n;

    // The unflushed cells of the write window are newer than the file.
    if (grid->writeCount > 0) {
        const int from = grid->writeStart > start ? grid->writeStart : start;
        const int writeEnd = grid->writeStart + grid->writeCount;
        const int readEnd = start + n;
        const int to = writeEnd < readEnd ? writeEnd : readEnd;
        if (from < to)
            std::memcpy(grid->readWindow + (from - start), grid->writeWindow + (from - grid->writeStart),
                        sizeof(GeoidGridCell) * static_cast<std::size_t>(to - from));
    }
    if (windowHolds(grid->readStart, grid->readCount, index)) return grid->readWindow[index - grid->readStart];
    return emptyGridCell();
}

bool indexInGrid(const GeoidGrid* grid, int index)
{
    return grid != nullptr && index >= 0 && index < gridNodeCount(grid);
}

} // namespace

bool encodeCompactNode(const GeoidGridCell& cell, GeoidCompactNode* node)
{
    if (cell.spareFlag != '0' || cell.reserved[0] != '\0' || cell.reserved[1] != '\0' || cell.spare != 0)
        return false;
    const double v = cell.value;
    if (cell.valid == '0') {
        if (v == 0.0 && !std::signbit(v)) *node = kCompactEmpty;
        else if (v == kGeoidNoData) *node = kCompactNoDataMark;
        else return false;
        return true;
    }
    if (cell.valid != '1') return false;
    if (v == 0.0 && std::signbit(v)) {
        *node = kCompactNegativeZero;
        return true;
    }
    const double scaled = v * kCompactScale;
    if (!(std::fabs(scaled) < 2147483648.0)) return false; // NaN and infinities too
    const long long n = std::llround(scaled);
    if (n <= kCompactLastReserved || n > INT32_MAX || compactValue(static_cast<GeoidCompactNode>(n)) != v)
        return false;
    *node = static_cast<GeoidCompactNode>(n);
    return true;
}

GeoidGridCell decodeCompactNode(GeoidCompactNode node)
{
    GeoidGridCell cell = emptyGridCell();
    if (node == kCompactEmpty) return cell;
    if (node == kCompactNoDataMark) {
        cell.value = kGeoidNoData;
        return cell;
    }
    cell.value = node == kCompactNegativeZero ? -0.0 : compactValue(node);
    cell.valid = '1';
    return cell;
}

GeoidGridCell emptyGridCell()
{
    GeoidGridCell cell;
    cell.value = 0.0;
    cell.valid = '0';
    cell.spareFlag = '0';
    cell.reserved[0] = '\0';
    cell.reserved[1] = '\0';
    cell.spare = 0;
    return cell;
}

GeoidGrid* createGeoidGrid(double west, double south, double lonStep, double latStep,
                           int lonIntervals, int latIntervals, int forceMemory,
                           const char* scratchFolder)
{
    if (lonIntervals < 0 || latIntervals < 0) return nullptr;
    if (nodeCountOf(lonIntervals, latIntervals) > kGeoidMaxNodes) return nullptr;

    GeoidGrid* grid = new (std::nothrow) GeoidGrid();
    if (grid == nullptr) return nullptr;
    grid->west = west;
    grid->south = south;
    grid->lonStep = lonStep;
    grid->latStep = latStep;
    grid->lonIntervals = lonIntervals;
    grid->latIntervals = latIntervals;
    grid->inMemory = 1;
    grid->scratchFile = nullptr;
    grid->scratchFailed = 0;
    grid->writeStart = -1;
    grid->writeCount = -1;
    grid->readStart = -1;
    grid->readCount = 0;
    if (scratchFolder != nullptr && std::strlen(scratchFolder) < sizeof grid->scratchFolder)
        std::strcpy(grid->scratchFolder, scratchFolder);

    const long long product = static_cast<long long>(lonIntervals) * latIntervals;
    if (product < kGeoidScratchThreshold || forceMemory == 1) {
        grid->compactNodes = allocateCells<GeoidCompactNode>(static_cast<std::size_t>(gridNodeCount(grid)));
        if (grid->compactNodes != nullptr) return grid;
    }

    if (!setUpScratch(grid, scratchFolder)) {
        destroyGeoidGrid(&grid);
        return nullptr;
    }
    return grid;
}

int gridNodeCount(const GeoidGrid* grid)
{
    if (grid == nullptr) return -1;
    return static_cast<int>(nodeCountOf(grid->lonIntervals, grid->latIntervals));
}

void setGridCell(GeoidGrid* grid, int index, const GeoidGridCell& cell)
{
    if (!indexInGrid(grid, index)) return;
    if (grid->inMemory && grid->compactNodes != nullptr) {
        GeoidCompactNode node;
        if (encodeCompactNode(cell, &node)) {
            grid->compactNodes[index] = node;
            return;
        }
        if (!widenRows(grid)) {
            grid->scratchFailed = 1; // the reader gives up on the grid: no space for it
            return;
        }
    }
    if (grid->inMemory)
        grid->rows[rowOf(grid, index)][columnOf(grid, index)] = cell;
    else
        setScratchCell(grid, index, cell);
}

GeoidGridCell getGridCell(GeoidGrid* grid, int index)
{
    if (!indexInGrid(grid, index)) return emptyGridCell();
    if (grid->inMemory && grid->compactNodes != nullptr) return compactCell(grid, index);
    if (grid->inMemory) return grid->rows[rowOf(grid, index)][columnOf(grid, index)];
    return getScratchCell(grid, index);
}

// A column or row outside the grid gives -1 as well: (E + 1)*row + column would
// otherwise name a node of another row.
int gridNodeIndex(const GeoidGrid* grid, int column, int row)
{
    if (grid == nullptr || column < 0 || column > grid->lonIntervals || row < 0 || row > grid->latIntervals)
        return -1;
    return (grid->lonIntervals + 1) * row + column;
}

double gridNodeLongitude(const GeoidGrid* grid, int index)
{
    if (!indexInGrid(grid, index) || grid->lonIntervals == 0 || grid->lonStep == 0.0) return kGeoidNoPosition;
    return grid->west + columnOf(grid, index) * grid->lonStep;
}

double gridNodeLatitude(const GeoidGrid* grid, int index)
{
    if (!indexInGrid(grid, index) || grid->lonIntervals == 0 || grid->latStep == 0.0) return kGeoidNoPosition;
    return grid->south + rowOf(grid, index) * grid->latStep;
}

int gridEastNeighbour(const GeoidGrid* grid, int index)
{
    if (!indexInGrid(grid, index) || columnOf(grid, index) == grid->lonIntervals) return -1;
    return index + 1;
}

int gridNorthNeighbour(const GeoidGrid* grid, int index)
{
    if (!indexInGrid(grid, index) || rowOf(grid, index) == grid->latIntervals) return -1;
    return index + grid->lonIntervals + 1;
}

int gridWestNeighbour(const GeoidGrid* grid, int index)
{
    if (!indexInGrid(grid, index) || columnOf(grid, index) == 0) return -1;
    return index - 1;
}

int gridSouthNeighbour(const GeoidGrid* grid, int index)
{
    if (!indexInGrid(grid, index) || rowOf(grid, index) == 0) return -1;
    return index - grid->lonIntervals - 1;
}

void flushWriteWindow(GeoidGrid* grid)
{
    if (grid == nullptr || grid->inMemory || grid->writeCount <= 0) return;
    const std::size_t count = static_cast<std::size_t>(grid->writeCount);
    if (grid->scratchFile == nullptr || std::fseek(grid->scratchFile, byteOffset(grid->writeStart), SEEK_SET) != 0 ||
        std::fwrite(grid->writeWindow, sizeof(GeoidGridCell), count, grid->scratchFile) != count ||
        std::fflush(grid->scratchFile) != 0)
        grid->scratchFailed = 1;
    grid->writeStart = -1;
    grid->writeCount = -1;
}

void destroyGeoidGrid(GeoidGrid** grid)
{
    if (grid == nullptr || *grid == nullptr) return;
    GeoidGrid* g = *grid;
    // The write window is not flushed first: closing the anonymous file deletes it.
    if (g->scratchFile != nullptr) std::fclose(g->scratchFile);
    delete[] g->writeWindow;
    delete[] g->readWindow;
    freeRows(g);
    delete g;
    *grid = nullptr;
}

} // namespace kelvane
