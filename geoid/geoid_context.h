// The process-wide geoid context: the model and folder the host opened, the grid now
// loaded, the folder scratch files go to, and what the last load that failed found. It
// owns the grid: loading a file into it and releasing it go through the functions
// below, which the tile selection and the exported calls use. No lock: the host
// serialises every geoid call.
#ifndef KELVANE_GEOID_GEOID_CONTEXT_H
#define KELVANE_GEOID_GEOID_CONTEXT_H

#include "geoid/geoid_catalogue.h"
#include "geoid/geoid_grid.h"
#include "platform/platform.h"

namespace kelvane::geoid {

enum GeoidContextState : int {
    kGeoidClosed = 0, // no model
    kGeoidOpened = 1, // model and folder chosen, nothing selected yet
    kGeoidLoaded = 2  // a grid has been selected at least once
};

// Room for a folder string of at most 259 characters and its terminator, and more.
constexpr std::size_t kGeoidFolderSize = 264;

struct GeoidContext {
    int state;                                         // GeoidContextState
    int model;                                         // 1 to 39, 0 when closed
    char folder[kGeoidFolderSize];                     // prefix of every file name, empty when closed
    char scratchFolder[kGeoidFolderMaxLength + 1];     // where scratch files go; kept on close
    GeoidGrid* grid;                                   // the grid now loaded, or null
    char loadedPath[kGeoidPathSize];                   // file of the grid selected last, empty when none
    GridFileStatus lastFailure;                        // why the last load failed (ok after a success)
    // A file that could be read but gave no grid (a refused header, no memory or
    // scratch space) is not read again while it keeps its stamp, until the model is
    // opened again or closed: a tiled model whose points alternate between a good tile
    // and a bad one must not rebuild the bad one at every query.
    char failedPath[kGeoidPathSize];
    platform::FileStamp failedStamp;
    GridFileStatus failedStatus;
};

// The context as it stands (for inspection; the functions below and the exported
// functions change it).
const GeoidContext& geoidContext();

// Whether a query that finds no value on the loaded grid chooses and loads the tile of
// the point instead: the models whose files are tiles of one area.
bool changesTileOnMiss(int model);

} // namespace kelvane::geoid

namespace kelvane {

// Loads a text grid file and makes it the grid of the geoid context. Returns 0; -2 when
// the file cannot be opened or read (a missing file, a folder, a pipe, a device); -4
// when no grid can be built: the header is cut short, its counts are negative, not
// finite, too large or promise more nodes than the file can hold, or neither memory nor
// scratch space suffices (geoidContext().lastFailure tells which). The grid the context
// held is released once the header has been accepted, before the nodes are read, so two
// grids never share the memory; on -2 and on a refused header the context's grid is
// left as it was.
int loadGeoidGridFile(const char* path);

// The grid of the geoid context (null when none is loaded). releaseGeoidGrid destroys
// it (its scratch file with it) and sets it back to null.
GeoidGrid* geoidContextGrid();
void releaseGeoidGrid();

// The scratch folder of the geoid context: where scratch files are created. It is a
// second copy of the folder given when a model is opened and is kept after the model
// is closed. setGeoidScratchFolder returns 0, or 1 (folder unchanged) for null or a
// string longer than kGeoidFolderMaxLength characters.
int setGeoidScratchFolder(const char* folder);
const char* geoidScratchFolder();

} // namespace kelvane

#endif
