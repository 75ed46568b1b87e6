// Geoid text grid files: reading their header and their node lines into a grid.
//
// A text grid file (".grd") holds six header lines (south, west, north, east, then E
// and F, the numbers of intervals in longitude and latitude) and one node value per
// line, rows from the south edge northwards and, within a row, columns from the west
// edge eastwards. A node line that begins with 'N', a value of -98765432.1, or a line
// past the end of the file means "no data".
//
// The reader only parses: opening the file and keeping the grid are the geoid
// context's (geoid_context.h), storing the nodes is the grid storage's
// (geoid_grid_storage.h). None of this is exported.
#ifndef KELVANE_GEOID_GEOID_GRID_H
#define KELVANE_GEOID_GEOID_GRID_H

#include <cstddef>
#include <cstdio>

#include "geoid_grid_storage.h" // beside this header (the tools reach it by a relative path)

namespace kelvane {

// Folder strings (the scratch folder of the geoid context) hold at most this many
// characters; longer ones are refused, never truncated.
constexpr std::size_t kGeoidFolderMaxLength = 259;

// Length of the buffer each text line is read into (127 characters and the terminator).
constexpr std::size_t kGeoidLineBufferSize = 128;

// A header may promise up to this many nodes whatever the size of the file (a short
// file loads, its missing nodes without data); beyond it every node needs at least two
// bytes of text (a digit and a newline) after the header, so a file can never make the
// loader build a grid much larger than itself. 4096 nodes are 64 KiB of cells.
constexpr long long kGeoidNodesWithoutText = 4096;

// Why a grid file gives no grid.
enum class GridFileStatus {
    ok,         // header accepted, or grid read
    unreadable, // the file cannot be opened or read
    badHeader,  // the header is cut short, its counts are negative, not finite or too
                // large, or it promises more nodes than the file can hold
    noSpace     // neither memory nor scratch space for the grid
};

// The header of a grid file as the grid is built from it: the counts truncated, the
// steps computed from the counts as read (720.9 intervals give a step of span/720.9).
struct GridFileHeader {
    double west, south, lonStep, latStep;
    int lonIntervals, latIntervals;
};

// Called with progress text while a file is read; the library itself never passes one.
using GeoidProgressCallback = void (*)(const char* text);

// Reads the next count header lines of an open grid file as numbers into values, with
// the line and number rules of the node lines. Returns how many lines there were
// (fewer than count at the end of the file; the rest of values is then untouched).
int readGridHeader(std::FILE* file, double* values, int count);

// Reads and checks the six header lines of file, an open grid file of fileSize bytes
// positioned at its start, into *header. On ok the file stands at the first node line;
// otherwise *header is untouched. The counts are checked before any conversion to int.
GridFileStatus readGridFileHeader(std::FILE* file, long long fileSize, GridFileHeader* header);

// Reads the node lines of file (positioned just after its six header lines) into a new
// grid (memory mode, scratch mode in scratchFolder when memory is short) and closes
// file, also when no grid can be built (returns null then).
GeoidGrid* readTextGrid(std::FILE* file, int lonIntervals, int latIntervals, double west,
                        double south, double lonStep, double latStep,
                        GeoidProgressCallback progress, const char* scratchFolder);

} // namespace kelvane

#endif
