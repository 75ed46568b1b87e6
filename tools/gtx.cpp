#include "gtx.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace kelvane::gtx {

namespace {

// The most nodes the library loads from one text grid (2^25); a larger header is
// refused here rather than by the loader after the whole file has been written.
constexpr long long kMaxNodes = 33554432;

std::uint64_t bigEndian(const unsigned char* p, int bytes)
{
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | p[i];
    return v;
}

double bigEndianDouble(const unsigned char* p)
{
    const std::uint64_t bits = bigEndian(p, 8);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

float bigEndianFloat(const unsigned char* p)
{
    const std::uint32_t bits = static_cast<std::uint32_t>(bigEndian(p, 4));
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

std::int32_t bigEndianInt(const unsigned char* p)
{
    const std::uint32_t bits = static_cast<std::uint32_t>(bigEndian(p, 4));
    std::int32_t v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

Header decodeHeader(const unsigned char* bytes)
{
    Header h;
    h.south = bigEndianDouble(bytes);
    h.west = bigEndianDouble(bytes + 8);
    h.latStep = bigEndianDouble(bytes + 16);
    h.lonStep = bigEndianDouble(bytes + 24);
    h.rows = bigEndianInt(bytes + 32);
    h.columns = bigEndianInt(bytes + 36);
    return h;
}

// Tolerance for "this longitude span is 360 degrees" and for edges that sit on 0.
double angleTolerance(const Header& h) { return 1e-6 * h.lonStep; }

} // namespace

// Plans the text columns. A global grid has columns x step = 360 or, when it already
// repeats its first column at the end, (columns - 1) x step = 360; the repeated column
// is dropped and written again at the end. Its text columns start at the first node
// at or east of 0 (0 itself for the usual grids); a grid whose nodes do not fall on 0
// gets one more column just west of 0, so that 0 is still inside it. With overlap,
// columns are added beyond each end so that the 4 x 4 neighbourhood of the cubic
// interpolation is complete across 0/360 as well (otherwise the points in the first
// and last cell get the interpolation within their cell): one west, and east as many
// as put two nodes east of the node at or just west of 360, since a query at exactly
// 360 (or a tiny negative longitude, shifted by 360) lies in the cell that begins there.
Layout planLayout(const Header& h, bool overlap)
{
    Layout l;
    const double tol = angleTolerance(h);
    const double span = h.columns * h.lonStep;
    int distinct = 0;
    if (std::fabs(span - 360.0) < tol * h.columns) distinct = h.columns;
    else if (std::fabs(span - h.lonStep - 360.0) < tol * h.columns) distinct = h.columns - 1;

    if (distinct > 0) {
        l.global = true;
        l.sourceColumns = distinct;
        double offset = std::fmod(h.west, h.lonStep);
        if (offset < 0.0) offset += h.lonStep;
        if (offset < tol || h.lonStep - offset < tol) offset = 0.0;
        const int extraWest = (offset > 0.0 ? 1 : 0) + (overlap ? 1 : 0);
        const int extraEast = overlap ? (offset > 0.0 ? 1 : 2) : 0;
        // The GTX column at longitude offset (modulo 360), then extraWest columns back.
        const long long k = std::llround((offset - h.west) / h.lonStep) - extraWest;
        l.firstSource = static_cast<int>(((k % distinct) + distinct) % distinct);
        l.west = offset - extraWest * h.lonStep;
        l.columns = extraWest + distinct + 1 + extraEast;
        return l;
    }

    l.sourceColumns = h.columns;
    l.columns = h.columns;
    l.firstSource = 0;
    double west = h.west;
    if (west < -tol) west += 360.0;
    else if (west >= 360.0 - tol) west -= 360.0;
    if (std::fabs(west) < tol) west = 0.0;
    const double east = west + (h.columns - 1) * h.lonStep;
    if (east > 360.0 + tol) {
        west -= 360.0;
        l.straddlesZero = true;
    }
    l.west = west;
    return l;
}

std::optional<std::string> checkHeader(const Header& h, long long fileBytes)
{
    if (!(std::isfinite(h.south) && std::isfinite(h.west) && std::isfinite(h.latStep) && std::isfinite(h.lonStep)))
        return std::string("header holds a value that is not a number");
    if (!(h.latStep > 0.0 && h.lonStep > 0.0))
        return "header steps must be positive (latitude step " + std::to_string(h.latStep) +
               ", longitude step " + std::to_string(h.lonStep) + ")";
    if (h.rows < 2 || h.columns < 2)
        return "header gives " + std::to_string(h.rows) + " rows and " + std::to_string(h.columns) +
               " columns; a grid needs at least 2 of each";
    const long long nodes = static_cast<long long>(h.rows) * h.columns;
    // The text grid may get up to four more columns than the GTX file has.
    if (static_cast<long long>(h.rows) * (static_cast<long long>(h.columns) + 4) > kMaxNodes)
        return "header gives " + std::to_string(h.rows) + " x " + std::to_string(h.columns) + " = " +
               std::to_string(nodes) + " nodes, more than the " + std::to_string(kMaxNodes) +
               " the library loads";
    const double north = h.south + (h.rows - 1) * h.latStep;
    const double tol = 1e-6 * h.latStep;
    if (h.south < -90.0 - tol || north > 90.0 + tol)
        return "latitudes run from " + std::to_string(h.south) + " to " + std::to_string(north) +
               ", outside -90 to 90";
    if ((h.columns - 1) * h.lonStep > 360.0 + angleTolerance(h) * h.columns)
        return "longitudes span " + std::to_string((h.columns - 1) * h.lonStep) + " degrees, more than 360";
    if (h.west < -360.0 || h.west > 360.0)
        return "west edge " + std::to_string(h.west) + " is outside -360 to 360";
    const long long needed = kHeaderBytes + nodes * 4;
    if (fileBytes < needed)
        return "file is truncated: " + std::to_string(h.rows) + " x " + std::to_string(h.columns) +
               " values need " + std::to_string(needed) + " bytes, the file has " + std::to_string(fileBytes);
    return std::nullopt;
}

namespace {

// Longest text of one node line: "%.6f" of the largest float takes 47 characters.
constexpr std::size_t kValueTextBytes = 64;

// One node value as a text line into out (kValueTextBytes long); no data is written as
// "N". The no-data mark is matched within 0.1 mm, about ten float steps at that size,
// so that it is found however it was rounded to a float, while real heights (EGM96
// reaches -107 m) are not taken for it. Returns the number of characters written.
int formatValue(char* out, std::size_t size, float v)
{
    if (!std::isfinite(v) || std::fabs(static_cast<double>(v) - kNoData) < 1e-4) return std::snprintf(out, size, "N\n");
    return std::snprintf(out, size, "%.6f\n", static_cast<double>(v));
}

long long fileSize(std::FILE* f)
{
    if (std::fseek(f, 0, SEEK_END) != 0) return -1;
    const long long size = std::ftell(f);
    if (std::fseek(f, 0, SEEK_SET) != 0) return -1;
    return size;
}

std::optional<std::string> writeGrid(std::FILE* in, std::FILE* out, const Header& h, const Layout& l)
{
    const double north = h.south + (h.rows - 1) * h.latStep;
    const double east = l.west + (l.columns - 1) * h.lonStep;
    std::fprintf(out, "%.15g\n%.15g\n%.15g\n%.15g\n%d\n%d\n", h.south, l.west, north, east, l.columns - 1, h.rows - 1);

    // The text goes out in pieces of at most kChunkValues lines, so that a grid of very
    // long rows needs no text buffer many times the size of the row.
    constexpr std::size_t kChunkValues = 4096;
    std::vector<unsigned char> row(static_cast<std::size_t>(h.columns) * 4);
    std::vector<char> text(kChunkValues * kValueTextBytes);
    std::size_t used = 0;
    const auto flush = [&] {
        const bool ok = std::fwrite(text.data(), 1, used, out) == used;
        used = 0;
        return ok;
    };
    for (int r = 0; r < h.rows; ++r) {
        if (std::fread(row.data(), 1, row.size(), in) != row.size())
            return "cannot read row " + std::to_string(r + 1) + " of the GTX file";
        for (int j = 0; j < l.columns; ++j) {
            if (text.size() - used < kValueTextBytes && !flush()) return std::string("cannot write the grid file");
            const int source = (l.firstSource + j) % l.sourceColumns;
            const int n = formatValue(text.data() + used, kValueTextBytes, bigEndianFloat(row.data() + 4 * source));
            if (n <= 0 || static_cast<std::size_t>(n) >= kValueTextBytes) return std::string("cannot format a node value");
            used += static_cast<std::size_t>(n);
        }
    }
    if (!flush()) return std::string("cannot write the grid file");
    return std::nullopt;
}

} // namespace

std::optional<std::string> convertGtxToGrid(const std::string& inPath, const std::string& outPath,
                                            Summary* summary, bool overlap)
{
    // Named for what it is rather than read: a folder would read as an empty file, and a
    // pipe or a device would block or never end.
    std::error_code ec;
    const std::filesystem::file_status st = std::filesystem::status(inPath, ec);
    if (std::filesystem::is_directory(st)) return inPath + ": is a folder, not a GTX file";
    if (std::filesystem::exists(st) && !std::filesystem::is_regular_file(st))
        return inPath + ": is not a regular file (a pipe or a device?)";
    std::FILE* in = std::fopen(inPath.c_str(), "rb");
    if (in == nullptr) return "cannot open " + inPath;
    const long long size = fileSize(in);
    unsigned char bytes[kHeaderBytes];
    if (size < kHeaderBytes || std::fread(bytes, 1, sizeof bytes, in) != sizeof bytes) {
        std::fclose(in);
        return inPath + ": not a GTX file: shorter than its 40-byte header";
    }
    const Header h = decodeHeader(bytes);
    if (auto why = checkHeader(h, size)) {
        std::fclose(in);
        return inPath + ": " + *why;
    }
    const Layout l = planLayout(h, overlap);

    const std::string partial = outPath + ".partial";
    std::FILE* out = std::fopen(partial.c_str(), "w");
    if (out == nullptr) {
        std::fclose(in);
        return "cannot create " + partial;
    }
    std::setvbuf(out, nullptr, _IOFBF, 1 << 20);
    std::optional<std::string> failure = writeGrid(in, out, h, l);
    std::fclose(in);
    if (std::fclose(out) != 0 && !failure) failure = "cannot write " + partial;
    if (!failure && std::rename(partial.c_str(), outPath.c_str()) != 0) {
        // Some systems refuse to rename over an existing file.
        std::remove(outPath.c_str());
        if (std::rename(partial.c_str(), outPath.c_str()) != 0) failure = "cannot rename " + partial + " to " + outPath;
    }
    if (failure) {
        std::remove(partial.c_str());
        return failure;
    }
    if (summary) {
        summary->header = h;
        summary->layout = l;
        summary->warning.clear();
        if (l.straddlesZero)
            summary->warning = "the grid straddles longitude 0; queries reach it east of 0 only, since their "
                               "longitudes are taken from 0 to 360";
    }
    return std::nullopt;
}

} // namespace kelvane::gtx
