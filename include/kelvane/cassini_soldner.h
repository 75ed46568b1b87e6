/* Cassini-Soldner, ellipsoidal, in the series form of the USGS map projection manual,
 * with range checks on every input and parameter and an error word of bit flags.
 *
 * Longitudes are positive EAST, and so is the central meridian. Angles in radians,
 * lengths in the unit of the semi-major axis (metres, or links for a grid in links).
 * Neither conversion writes a scale factor or a convergence.
 *
 * NOT SAFE FOR CONCURRENT USE: the projection's parameter set is one module-wide
 * instance. latLong2XY_CassiniSoldner and XY2latLong2_CassiniSoldner rebuild it from
 * their record at the start of every call, and cassiniForward and cassiniInverse read
 * whatever cassiniSetup stored last; callers on several threads must serialise all six
 * functions. Sequential calls never depend on each other's records. */
#ifndef KELVANE_CASSINI_SOLDNER_H
#define KELVANE_CASSINI_SOLDNER_H

#include "kelvane/core.h"

typedef struct zoneCnstntCassini {
    double reserved0;       /* never read: the caller's own */
    double falseNorthing;   /* FN */
    double falseEasting;    /* FE */
    double originLat;       /* latitude of origin */
    double centralMeridian; /* positive east */
    double reserved1[2];    /* never read: the caller's own */
    ellipsoid ell;          /* semiMajor and flattening are read (e^2 = 2f - f^2) */
} zoneCnstntCassini;

/* Error word bits; 0 is success. Any bit but the warning means nothing was written. */
enum {
    kvCassiniLatitudeRange = 0x0001,        /* latitude not a number within -pi/2..pi/2 (forward) */
    kvCassiniLongitudeRange = 0x0002,       /* longitude not a number within -pi..2pi (forward) */
    kvCassiniEastingRange = 0x0004,         /* easting not a number within the grid limits (inverse) */
    kvCassiniNorthingRange = 0x0008,        /* northing not a number within the grid limits (inverse) */
    kvCassiniOriginLatRange = 0x0010,       /* origin latitude not a number within -pi/2..pi/2 */
    kvCassiniCentralMeridianRange = 0x0020, /* central meridian not a number within -pi..2pi */
    kvCassiniSemiMajorAxis = 0x0040,        /* semi-major axis not a positive finite number, or no set-up yet */
    kvCassiniFlattening = 0x0080,           /* inverse flattening not within 250..350 */
    kvCassiniFarFromMeridian = 0x0100,      /* warning only: more than 4 degrees of longitude from the
                                               central meridian; the results are written */
    kvCassiniBadArgument = 0x0200           /* a null pointer, or a false easting or northing that is
                                               not a finite number */
};

KELVANE_C_BEGIN

/* Sets up the module-wide parameter set from the record, then converts (lat, lon) to
 * easting and northing. Returns the error word of the set-up if it is not 0, otherwise
 * that of the conversion. */
KELVANE_API int latLong2XY_CassiniSoldner(zoneCnstntCassini* zc, geodCoord* pt);

/* Sets up the module-wide parameter set from the record, then converts (easting,
 * northing) to lat and lon. Error word as above. */
KELVANE_API int XY2latLong2_CassiniSoldner(zoneCnstntCassini* zc, geodCoord* pt);

/* Validates the parameters and, when all pass, replaces the module-wide parameter set
 * (the central meridian folded into -pi..pi, the series coefficients and the grid
 * limits). On any error the previous set stays as it was. */
KELVANE_API int cassiniSetup(double a, double f, double originLat, double centralMeridian, double falseEasting,
                             double falseNorthing);

/* Converts on the parameter set of the last successful cassiniSetup. */
KELVANE_API int cassiniForward(double lat, double lon, double* easting, double* northing);
KELVANE_API int cassiniInverse(double easting, double northing, double* lat, double* lon);

KELVANE_C_END

#ifdef __cplusplus
#include <cstddef>
static_assert(sizeof(zoneCnstntCassini) == 168, "zoneCnstntCassini is 168 bytes");
static_assert(offsetof(zoneCnstntCassini, reserved0) == 0 && offsetof(zoneCnstntCassini, falseNorthing) == 8 &&
              offsetof(zoneCnstntCassini, falseEasting) == 16 && offsetof(zoneCnstntCassini, originLat) == 24 &&
              offsetof(zoneCnstntCassini, centralMeridian) == 32 && offsetof(zoneCnstntCassini, reserved1) == 40 &&
              offsetof(zoneCnstntCassini, ell) == 56, "zoneCnstntCassini field offsets");
#endif

#endif /* KELVANE_CASSINI_SOLDNER_H */
