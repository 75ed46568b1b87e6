// Geoid text grid files and their storage: all nodes in memory, or a scratch file of
// 16-byte cells behind a write window and a read window.
#include "geoid/geoid_grid.h"

#include "platform/platform.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <new>
#include <system_error>

namespace kelvane {

namespace {

GeoidGrid* gContextGrid = nullptr;
char gScratchFolder[kGeoidFolderMaxLength + 1] = "";

using LineBuffer = char[kGeoidLineBufferSize];

// Reads the next line into buf, at most 127 characters with its newline. The rest of
// a longer line is skipped, so one line of the file is always one header value or one
// node, whatever its length. Returns false at end of file (or on a read error).
bool readLine(std::FILE* file, LineBuffer& buf)
{
    // Cleared first, so the newline search below cannot see a previous line's bytes
    // even when the line holds NUL characters.
    std::memset(buf, 0, sizeof buf);
    if (std::fgets(buf, sizeof buf, file) == nullptr) return false;
    if (std::memchr(buf, '\n', sizeof buf - 1) == nullptr) {
        int c;
        do {
            c = std::getc(file);
        } while (c != EOF && c != '\n');
    }
    return true;
}

// Reads the node lines of a file in large blocks, with the line rule of readLine (at
// most 127 characters of a line kept, the rest skipped), so that a grid of a million
// lines is not read through a million stream calls. Falls back to readLine when the
// block cannot be allocated.
class BlockLineReader {
public:
    explicit BlockLineReader(std::FILE* file) : file_(file), block_(new (std::nothrow) char[kBlockBytes]) {}
    ~BlockLineReader() { delete[] block_; }
    BlockLineReader(const BlockLineReader&) = delete;
    BlockLineReader& operator=(const BlockLineReader&) = delete;

    // The next line into buf, NUL-terminated; false at end of file.
    bool next(LineBuffer& buf)
    {
        if (block_ == nullptr) return readLine(file_, buf);
        if (pos_ == len_ && !refill()) return false;
        std::size_t n = 0;
        for (;;) {
            const char* start = block_ + pos_;
            const std::size_t avail = len_ - pos_;
            const char* newline = static_cast<const char*>(std::memchr(start, '\n', avail));
            const std::size_t take = newline ? static_cast<std::size_t>(newline - start) + 1 : avail;
            const std::size_t room = sizeof buf - 1 - n;
            const std::size_t copy = take < room ? take : room;
            std::memcpy(buf + n, start, copy);
            n += copy;
            pos_ += take;
            if (newline != nullptr || !refill()) break;
        }
        buf[n] = '\0';
        return true;
    }

private:
    static constexpr std::size_t kBlockBytes = 1 << 16;

    bool refill()
    {
        len_ = std::fread(block_, 1, kBlockBytes, file_);
        pos_ = 0;
        return len_ > 0;
    }

    std::FILE* file_;
    char* block_;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
};

// The number at the start of a line, as the standard text-to-double conversion reads
// it: leading white space skipped, an optional sign, text after the number ignored,
// 0 when the line holds no number (decimal notation; hexadecimal floats are no grid
// values and read as 0). The conversion is locale-independent on purpose:
// a host that has switched to a decimal-comma locale must not read "12.5" as 12.
// A number too large for a double gives NaN; one too small to tell from 0 reads as 0.
// In a line of at most 127 characters only the exponent can take a number out of
// range, so its sign tells which of the two happened.
double leadingNumber(const char* line)
{
    const char* p = line;
    const char* end = line + std::strlen(line);
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n' || *p == '\v' || *p == '\f'))
        ++p;
    if (p + 1 < end && *p == '+' && *(p + 1) != '-') ++p;
    double v = 0.0;
    const auto r = std::from_chars(p, end, v);
    if (r.ec == std::errc::invalid_argument) return 0.0;
    if (r.ec == std::errc::result_out_of_range) {
        const char* exponent = std::find_if(p, r.ptr, [](char c) { return c == 'e' || c == 'E'; });
        if (exponent + 1 < r.ptr && exponent[1] == '-') return *p == '-' ? -0.0 : 0.0;
        return std::nan("");
    }
    return v;
}

// The node a text line stands for: no data for a line beginning with 'N' or for a
// value that is not finite (NaN or infinity cannot be interpolated); -98765432.1 is
// kept as the value but flagged as no data.
GeoidGridCell cellFromLine(const char* line)
{
    GeoidGridCell cell = emptyGridCell();
    if (line[0] == 'N') return cell;
    const double v = leadingNumber(line);
    if (!std::isfinite(v)) return cell;
    cell.value = v;
    cell.valid = (v == kGeoidNoData) ? '0' : '1';
    return cell;
}

long long nodeCountOf(long long lonIntervals, long long latIntervals)
{
    return (lonIntervals + 1) * (latIntervals + 1);
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

void freeRows(GeoidGrid* grid)
{
    if (grid->rows == nullptr) return;
    for (int r = 0; r <= grid->latIntervals; ++r) delete[] grid->rows[r];
    delete[] grid->rows;
    grid->rows = nullptr;
}

// Allocates F + 1 rows of E + 1 cells; on any failure frees what was allocated.
bool allocateRows(GeoidGrid* grid)
{
    const int rowCount = grid->latIntervals + 1;
    const int rowLength = grid->lonIntervals + 1;
    grid->rows = new (std::nothrow) GeoidGridCell*[static_cast<std::size_t>(rowCount)]();
    if (grid->rows == nullptr) return false;
    for (int r = 0; r < rowCount; ++r) {
        grid->rows[r] = new (std::nothrow) GeoidGridCell[static_cast<std::size_t>(rowLength)];
        if (grid->rows[r] == nullptr) {
            freeRows(grid);
            return false;
        }
    }
    return true;
}

// Sets up scratch mode: an anonymous scratch file in the context's scratch folder and
// the two windows, every node written as an empty cell. False when it cannot be set up
// (the caller destroys the grid, which closes and so deletes the file).
bool setUpScratch(GeoidGrid* grid)
{
    grid->scratchFile = platform::createScratchFile(geoidScratchFolder(), "grd");
    if (grid->scratchFile == nullptr) return false;
    grid->writeWindow = new (std::nothrow) GeoidGridCell[kGeoidWriteWindowCells];
    grid->readWindow = new (std::nothrow) GeoidGridCell[kGeoidReadWindowCells];
    if (grid->writeWindow == nullptr || grid->readWindow == nullptr) return false;
    grid->inMemory = 0;
    const int count = gridNodeCount(grid);
    const GeoidGridCell empty = emptyGridCell();
    for (int k = 0; k < count && !grid->scratchFailed; ++k) setGridCell(grid, k, empty);
    flushWriteWindow(grid);
    return !grid->scratchFailed;
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

int columnOf(const GeoidGrid* grid, int index) { return index % (grid->lonIntervals + 1); }
int rowOf(const GeoidGrid* grid, int index) { return index / (grid->lonIntervals + 1); }

} // namespace

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
                           int lonIntervals, int latIntervals, int forceMemory)
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

    const long long product = static_cast<long long>(lonIntervals) * latIntervals;
    if ((product < kGeoidScratchThreshold || forceMemory == 1) && allocateRows(grid)) return grid;

    if (!setUpScratch(grid)) {
        destroyGeoidGrid(&grid);
        return nullptr;
    }
    return grid;
}

GeoidGrid* readTextGrid(std::FILE* file, int lonIntervals, int latIntervals, double west,
                        double south, double lonStep, double latStep,
                        GeoidProgressCallback progress)
{
    if (file == nullptr) return nullptr;
    GeoidGrid* grid = createGeoidGrid(west, south, lonStep, latStep, lonIntervals, latIntervals, 1);
    if (grid == nullptr) {
        std::fclose(file);
        return nullptr;
    }
    const int count = gridNodeCount(grid);
    char message[64];
    if (progress) progress("\nReading Cell ...    ");
    LineBuffer line;
    BlockLineReader reader(file);
    bool atEnd = false;
    for (int k = 0; k < count; ++k) {
        // A file that ends early leaves its remaining nodes without data.
        if (!atEnd) atEnd = !reader.next(line);
        setGridCell(grid, k, atEnd ? emptyGridCell() : cellFromLine(line));
        if (progress && k % 5000 == 0) {
            std::snprintf(message, sizeof message, "\rReading cell> %ld    ", static_cast<long>(k));
            progress(message);
        }
    }
    if (progress) {
        std::snprintf(message, sizeof message, "\rReading cell> %ld    \n", static_cast<long>(count));
        progress(message);
    }
    std::fclose(file);
    if (grid->scratchFailed) destroyGeoidGrid(&grid); // the scratch folder ran out of space
    return grid;
}

int readGridHeader(std::FILE* file, double* values, int count)
{
    LineBuffer line;
    for (int i = 0; i < count; ++i) {
        if (!readLine(file, line)) return i;
        values[i] = leadingNumber(line);
    }
    return count;
}

int loadGeoidGridFile(const char* path)
{
    if (path == nullptr) return -2;
    std::FILE* file = platform::openRegularFile(path, nullptr);
    if (file == nullptr) return -2;

    // south, west, north, east, E, F
    double header[6];
    const int got = readGridHeader(file, header, 6);
    if (got < 6) {
        // Nothing readable at all (a folder, say) is a file that cannot be opened; a
        // file that ends within its header is no grid.
        const int status = (got == 0 && std::ferror(file)) ? -2 : -4;
        std::fclose(file);
        return status;
    }
    const double south = header[0], west = header[1], north = header[2], east = header[3];
    const double e = header[4], f = header[5];
    // The counts must be finite, not negative and small enough that the node count
    // (E + 1)(F + 1) stays within kGeoidMaxNodes; checked before any conversion to int.
    const double maxCount = static_cast<double>(kGeoidMaxNodes);
    if (!(e >= 0.0 && e < maxCount && f >= 0.0 && f < maxCount) ||
        nodeCountOf(static_cast<long long>(e), static_cast<long long>(f)) > kGeoidMaxNodes) {
        std::fclose(file);
        return -4;
    }
    // The steps use the counts as read (720.9 intervals give a step of span/720.9),
    // the node counts their truncation.
    const double lonStep = (east - west) / e;
    const double latStep = (north - south) / f;

    releaseGeoidGrid();
    GeoidGrid* grid = readTextGrid(file, static_cast<int>(e), static_cast<int>(f), west, south, lonStep,
                                   latStep, nullptr);
    if (grid == nullptr) return -4;
    gContextGrid = grid;
    return 0;
}

int gridNodeCount(const GeoidGrid* grid)
{
    if (grid == nullptr) return -1;
    return static_cast<int>(nodeCountOf(grid->lonIntervals, grid->latIntervals));
}

void setGridCell(GeoidGrid* grid, int index, const GeoidGridCell& cell)
{
    if (!indexInGrid(grid, index)) return;
    if (grid->inMemory)
        grid->rows[rowOf(grid, index)][columnOf(grid, index)] = cell;
    else
        setScratchCell(grid, index, cell);
}

GeoidGridCell getGridCell(GeoidGrid* grid, int index)
{
    if (!indexInGrid(grid, index)) return emptyGridCell();
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

GeoidGrid* geoidContextGrid() { return gContextGrid; }

void releaseGeoidGrid() { destroyGeoidGrid(&gContextGrid); }

int setGeoidScratchFolder(const char* folder)
{
    if (folder == nullptr || std::strlen(folder) > kGeoidFolderMaxLength) return 1;
    std::memcpy(gScratchFolder, folder, std::strlen(folder) + 1);
    return 0;
}

const char* geoidScratchFolder() { return gScratchFolder; }

} // namespace kelvane
