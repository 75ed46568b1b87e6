// The process-wide geoid context: which model and folder the host opened, and whether a
// grid has been selected. The grid itself and the scratch folder are kept beside the
// grid storage (geoidContextGrid, geoidScratchFolder). No lock: the host serialises
// every geoid call.
#ifndef KELVANE_GEOID_GEOID_CONTEXT_H
#define KELVANE_GEOID_GEOID_CONTEXT_H

#include "geoid/geoid_tiles.h"

namespace kelvane::geoid {

enum GeoidContextState : int {
    kGeoidClosed = 0, // no model
    kGeoidOpened = 1, // model and folder chosen, nothing selected yet
    kGeoidLoaded = 2  // a grid has been selected at least once
};

// Room for a folder string of at most 259 characters and its terminator, and more.
constexpr std::size_t kGeoidFolderSize = 264;

struct GeoidContext {
    int state;                        // GeoidContextState
    int model;                        // 1 to 39, 0 when closed
    char folder[kGeoidFolderSize];    // prefix of every file name, empty when closed
    char loadedPath[kGeoidPathSize];  // file of the grid selected last, empty when none
};

// The context as it stands (for inspection; the exported functions change it).
const GeoidContext& geoidContext();

// Whether a query that finds no value on the loaded grid chooses and loads the tile of
// the point instead: the models whose files are tiles of one area.
bool changesTileOnMiss(int model);

} // namespace kelvane::geoid

#endif
