// Reading geoid text grid files: the line and number rules, the header, the nodes.
#include "geoid/geoid_grid.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <new>
#include <system_error>

namespace kelvane {

namespace {

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

} // namespace

GeoidGrid* readTextGrid(std::FILE* file, int lonIntervals, int latIntervals, double west,
                        double south, double lonStep, double latStep,
                        GeoidProgressCallback progress, const char* scratchFolder)
{
    if (file == nullptr) return nullptr;
    GeoidGrid* grid = createGeoidGrid(west, south, lonStep, latStep, lonIntervals, latIntervals, 1,
                                      scratchFolder);
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

GridFileStatus readGridFileHeader(std::FILE* file, long long fileSize, GridFileHeader* header)
{
    // south, west, north, east, E, F
    double h[6];
    const int got = readGridHeader(file, h, 6);
    if (got < 6) return (got == 0 && std::ferror(file)) ? GridFileStatus::unreadable : GridFileStatus::badHeader;
    const double south = h[0], west = h[1], north = h[2], east = h[3];
    const double e = h[4], f = h[5];
    const double maxCount = static_cast<double>(kGeoidMaxNodes);
    if (!(e >= 0.0 && e < maxCount && f >= 0.0 && f < maxCount)) return GridFileStatus::badHeader;
    const long long nodes = nodeCountOf(static_cast<long long>(e), static_cast<long long>(f));
    const long long textBytes = fileSize - static_cast<long long>(std::ftell(file));
    if (nodes > kGeoidMaxNodes || (nodes > kGeoidNodesWithoutText && nodes > (textBytes + 1) / 2))
        return GridFileStatus::badHeader;
    header->west = west;
    header->south = south;
    header->lonStep = (east - west) / e;
    header->latStep = (north - south) / f;
    header->lonIntervals = static_cast<int>(e);
    header->latIntervals = static_cast<int>(f);
    return GridFileStatus::ok;
}

} // namespace kelvane
