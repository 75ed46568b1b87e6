// Choosing the grid file (tile) of a model that covers a point, and loading it.
// Angles in degrees, longitudes east-positive in [0, 360).
#ifndef KELVANE_GEOID_GEOID_TILES_H
#define KELVANE_GEOID_GEOID_TILES_H

#include <cstddef>
#include <vector>

#include "geoid/geoid_catalogue.h"

namespace kelvane::geoid {

// One closed latitude/longitude box and the file that serves it: pattern formatted with
// the folder and number. For the GEOID09 tiles outside the conterminous states,
// altPattern is the older file name tried when the first one is absent (see the table).
struct GeoidTileBox {
    double south, north, west, east;
    const char* pattern;
    int number;
    const char* altPattern;
};

// The boxes of a box-tiled model (GEOID99, GEOID03, GEOID09, CARIB97, FRANCE-RAF98) in
// the order they are tested; empty for every other model.
const std::vector<GeoidTileBox>& geoidTileBoxes(int model);

// A negative longitude plus 360 (applied once; any other value is left as it is).
double eastLongitude(double lon);

// Finds the file that serves (lat, lon) for the model and writes its name into path.
// Returns 0; -1 when the point lies in no box or tile; -2 for AUSGeoid98 when no tile
// covered the point and a tile file could not be opened, and for a name that does not
// fit into path; -3 for a model outside 1 to 39. lon must already be east-positive.
int chooseGeoidFile(const char* folder, int model, double lat, double lon, char* path,
                    std::size_t size);

// Releases the loaded grid, chooses the file for the point and loads it as the grid of
// the geoid context. Returns 0, -1, -2, -3 as chooseGeoidFile, or the loader's -2/-4.
// When loadedPath is given it receives the name of the file loaded (empty on failure).
int selectGeoidFile(const char* folder, int model, double lat, double lon,
                    char* loadedPath = nullptr, std::size_t size = 0);

} // namespace kelvane::geoid

#endif
