// Conversion of GTX geoid grids into the library's text grid files (".grd").
//
// A GTX file is a 40-byte big-endian header - south latitude, west longitude,
// latitude step, longitude step (doubles, degrees), rows and columns (32-bit ints) -
// followed by rows x columns big-endian 32-bit floats, from the south-west corner
// row by row northwards, west to east within a row; -88.8888 marks a node without data.
//
// The text grid takes longitudes east-positive from 0 to 360, the form in which the
// library compares every query. A global grid is rewrapped to start at 0 and closed
// with a repeated column at 360, so a point at any longitude has a cell around it. A
// regional grid west of 0 is shifted by 360; one that straddles 0 keeps its negative
// west edge (the library can serve only its part east of 0, and the converter says so).
#ifndef KELVANE_TOOLS_GTX_H
#define KELVANE_TOOLS_GTX_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvane::gtx {

struct Header {
    double south;
    double west;
    double latStep;
    double lonStep;
    std::int32_t rows;
    std::int32_t columns;
};

constexpr long kHeaderBytes = 40;
constexpr double kNoData = -88.8888;

// How the text grid's columns come from the GTX columns.
struct Layout {
    double west = 0.0;         // longitude of the first text column
    int columns = 0;           // text columns (E + 1)
    int firstSource = 0;       // GTX column of the first text column
    int sourceColumns = 0;     // distinct GTX columns the text columns cycle through
    bool global = false;       // rewrapped and closed with a repeated column
    bool straddlesZero = false;
};

// Everything a conversion reports besides success.
struct Summary {
    Header header{};
    Layout layout{};
    std::string warning; // empty when there is nothing to warn about
};

// Plans the text columns (see gtx.cpp); overlap adds the columns the cubic
// interpolation needs across 0/360.
Layout planLayout(const Header& h, bool overlap = false);

// Checks a header against the size of its file; returns the reason it is unusable.
std::optional<std::string> checkHeader(const Header& h, long long fileBytes);

// Converts the GTX file inPath into the text grid outPath. Returns the reason when it
// cannot; outPath is then left as it was (the grid is written beside it first and
// renamed into place only when complete).
std::optional<std::string> convertGtxToGrid(const std::string& inPath, const std::string& outPath,
                                            Summary* summary = nullptr, bool overlap = false);

} // namespace kelvane::gtx

#endif
