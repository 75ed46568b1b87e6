/* The Danish grids: WGS84 geographic coordinates <-> System 34 Jylland, System 34
 * Sjaelland, System 45 Bornholm, and a corrected UTM zone 32 on ED50.
 *
 * Each conversion has two stages: a seven-parameter datum shift between WGS84 and ED50
 * (International 1924) on geocentric coordinates with the Transverse Mercator projection
 * to UTM zone 32, and a polynomial transformation between UTM zone 32 / ED50 and the local
 * grid, guarded by a validity rectangle, a validity polygon and a back-transformation
 * check through the opposite polynomial.
 *
 * Geographic values are radians, longitudes positive EAST, heights ellipsoidal in metres.
 * The local grids' y grows westward and x northward; the exports take and give (y, x) in
 * that order. The ED50 height is the height above the International ellipsoid.
 *
 * Results (the outputs are written only with 0):
 *    0  converted
 *   -1  outside the validity polygon (Jylland, Sjaelland, Bornholm)
 *   -2  the back-transformation misses the input by more than 0.04 m on a coordinate
 *   -3  outside the validity rectangle (Jylland, Sjaelland, Bornholm); for every grid also
 *       an input that is not finite or a latitude beyond +-90 degrees
 *    1  a null output pointer
 * The corrected UTM zone 32 never refuses a finite point: outside the corrected area
 * (its two regions' rectangles and polygons, and eastings from 775000 up to 800000) it
 * gives the plain UTM zone 32 / ED50 coordinates. */
#ifndef KELVANE_DANISH_H
#define KELVANE_DANISH_H

#include "kelvane/export.h"

KELVANE_C_BEGIN

/* WGS84 latitude, longitude, height -> y, x, ED50 height. */
KELVANE_API int latlongWGS84ToXYSys34Jylland(double lat, double lon, double h, double* y, double* x,
                                             double* hEd50);
KELVANE_API int latlongWGS84ToXYSys34Sjlland(double lat, double lon, double h, double* y, double* x,
                                             double* hEd50);
KELVANE_API int latlongWGS84ToXYSys45Bornholm(double lat, double lon, double h, double* y, double* x,
                                              double* hEd50);
/* WGS84 latitude, longitude, height -> corrected easting, northing, ED50 height. */
KELVANE_API int latlongWGS84ToXYSys34UTM32ED50(double lat, double lon, double h, double* easting,
                                               double* northing, double* hEd50);

/* y, x, ED50 height -> WGS84 latitude, longitude, height. Bornholm is System 45 in both
 * directions, whatever the name says. */
KELVANE_API int XYSys34Jylland2latlongWGS84(double y, double x, double hEd50, double* lat, double* lon,
                                            double* h);
KELVANE_API int XYSys34Sjlland2latlongWGS84(double y, double x, double hEd50, double* lat, double* lon,
                                            double* h);
KELVANE_API int XYSys34Bornholm2latlongWGS84(double y, double x, double hEd50, double* lat, double* lon,
                                             double* h);
/* Corrected easting, northing, ED50 height -> WGS84 latitude, longitude, height. */
KELVANE_API int XYSys34UTM32ED502latlongWGS84(double easting, double northing, double hEd50, double* lat,
                                              double* lon, double* h);

KELVANE_C_END

#endif /* KELVANE_DANISH_H */
