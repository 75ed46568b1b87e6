// The geoid height at a point of a loaded grid: a 16-node cubic interpolation where the
// whole 4x4 neighbourhood has data, otherwise a fallback on the four nodes of the cell.
// Angles in degrees; the longitude is compared with the grid's as it stands. Both return
// kGeoidNoData where the grid has no value at the point.
#ifndef KELVANE_GEOID_GEOID_INTERPOLATION_H
#define KELVANE_GEOID_GEOID_INTERPOLATION_H

#include "geoid/geoid_grid_storage.h"

namespace kelvane::geoid {

// 16-node cubic on columns c-1 .. c+2 and rows r-1 .. r+2 around the cell (c, r) that
// holds the point; the cell fallback where that neighbourhood is incomplete or lacks data.
double interpolateGeoidBicubic(double lon, double lat, GeoidGrid* grid);

// Fallback on the cell's four corners: inverse distance on the grid's east and north
// border, else a blend of the four cell sides weighted by the inverse distance to each.
double interpolateGeoidCell(double lon, double lat, GeoidGrid* grid);

} // namespace kelvane::geoid

#endif
