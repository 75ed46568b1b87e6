// The polynomial stage of the Danish grids: UTM zone 32 / ED50 grid coordinates <->
// the local grids System 34 Jylland, System 34 Sjaelland and System 45 Bornholm, and
// the correction of UTM zone 32 / ED50 itself. Internal to the library.
#ifndef KELVANE_NATIONAL_GRIDS_DANISH_GRID_H
#define KELVANE_NATIONAL_GRIDS_DANISH_GRID_H

#include "national_grids/danish_tables.h"

namespace kelvane::danish {

// The grid systems of the polynomial stage. Letter codes name them too: 'J'/'j',
// 'S'/'s', 'B'/'b' and 'U'/'u'.
enum DanishGridSystem { kSystemJylland = 1, kSystemSjaelland = 2, kSystemBornholm = 3, kSystemUtm32Ed50 = 4 };

// Results of the stage (0 converted).
constexpr int kOutsidePolygon = -1;
constexpr int kBackTransformationFailed = -2;
constexpr int kOutsideRectangle = -3;

// How far (m, on each coordinate) the back-transformation through the opposite table
// may miss the input.
constexpr double kBackTransformationTolerance = 0.04;

// The system a code names (1 to 4, or a letter code), 0 for any other code.
int danishSystemFromCode(int code);

// Evaluates a table at the inputs (p, q): u = p - u0, w = q - w0; the first output is
// the sum of c*u^i*w^j over the first coefficient run, the second the sum of
// c*w^i*u^j over the second run, each by a nested Horner scheme. Returns false, writing
// nothing, when the table's size does not match its degree.
bool evaluatePolynomialTable(const PolynomialTable& table, double p, double q, double& first,
                             double& second);

// Even-odd test of the point (*first, *second) against a polygon table: the vertex count
// followed by the vertices as (first, second) pairs; a last vertex that repeats the first
// is ignored. 1 inside, -1 outside, 0 on the boundary (on a vertex, or on an edge within a
// relative 2^-34 of the edge's cross-product terms). The table must hold as many vertices
// as its count says; a count below 3 (or not a number), a null pointer or a coordinate that
// is not finite gives -1.
int pointInPolygon(const double* polygon, const double* first, const double* second);

// The polynomial stage. Direction +1 takes UTM zone 32 / ED50 (first input the northing,
// second the easting) to the local grid (first output x, growing north; second output y,
// growing west) or, for system 4, to the corrected northing and easting; direction -1
// comes back. Any other positive direction counts as +1 and any negative one as -1.
//
// Results: 0 converted; -3 outside the system's validity rectangle (nothing written);
// -1 outside its validity polygon and -2 when the back-transformation through the
// opposite table misses an input by more than 0.04 m (both with the outputs written, so
// a caller can see where the point went). System 4 never refuses: a point outside its
// region's rectangle or polygon (or in the east region's gap, eastings 775000 to 800000)
// is copied through with 0. An unknown system or direction 0 copies the inputs to the
// outputs and returns 0. Null output pointers: 1, nothing written. The two trailing
// arguments are always 0 and have no effect.
int transformDanishGrid(double first, double second, double* firstOut, double* secondOut, int system,
                        int direction, int unused1, int unused2);

} // namespace kelvane::danish

#endif
