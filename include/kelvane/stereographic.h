/* Oblique (double) stereographic projection through a Gauss conformal sphere, on any
 * zone record, and the New Brunswick grid built on it.
 *
 * The ellipsoid is mapped conformally onto a sphere of radius R, the geometric mean
 * radius at the projection centre, which is then projected stereographically from the
 * point opposite the centre. Longitudes are positive EAST, and so is the central meridian
 * (New Brunswick: -66.5 degrees). Angles in radians, lengths in metres. All four
 * functions are re-entrant. */
#ifndef KELVANE_STEREOGRAPHIC_H
#define KELVANE_STEREOGRAPHIC_H

#include "kelvane/core.h"

KELVANE_C_BEGIN

/* Reads semiMajor and ecc of ell, and originLat (the projection centre), centralMeridian
 * (its longitude, positive east), scaleFactor, falseNorthing and falseEasting of zone.
 * direction != 0: forward, reads lat and lon; direction == 0: inverse, reads northing and
 * easting. Either way the other pair, convergence and gridScale are written.
 *
 * With no status to return, a point the projection cannot map (a coordinate or constant
 * that is not a finite number, a latitude beyond a pole, the point opposite the centre)
 * comes back with NaN in all four fields that the direction writes, so it can never pass
 * for a converted point. Null pointers make the call do nothing. */
KELVANE_API void stereographic_calc(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt, int direction);

/* Writes the New Brunswick centralMeridian (-66.5 degrees), originLat (46.5 degrees),
 * scaleFactor (0.999912), falseNorthing (7500000) and falseEasting (2500000) into zone,
 * leaving its other fields as they were, and fills ell with GRS80. */
KELVANE_API void initNewBrunswickParams(ellipsoid* ell, zoneCnstnt* zone);

/* New Brunswick grid conversions of one point, as stereographic_calc forward / inverse. */
KELVANE_API void latLongToXY_newBrunswickStereographic(geodCoord* pt);
KELVANE_API void XYToLatLong_newBrunswickStereographic(geodCoord* pt);

KELVANE_C_END

#endif /* KELVANE_STEREOGRAPHIC_H */
