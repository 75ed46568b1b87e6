/* Core records shared by every family: a point, an ellipsoid, the constants of one
 * projection zone, and the ellipsoid set-up.
 *
 * Units: angles in radians, lengths in metres. Which sign a longitude carries depends
 * on the operation: the projection routines on zone records take longitudes positive
 * WEST, the UTM and state plane 1983 wrappers positive EAST (see each family header).
 *
 * Status codes: 0 success, 1 failure, unless a family says otherwise. */
#ifndef KELVANE_CORE_H
#define KELVANE_CORE_H

#include <stdint.h>

#include "kelvane/export.h"

/* One point, in geographic and in grid (or Earth-centred Cartesian) form at once. */
typedef struct geodCoord {
    double lat;         /* latitude, rad, positive north */
    double lon;         /* longitude, rad, sign as the operation states */
    double northing;    /* grid northing, m; Cartesian Y in the geocentric conversions */
    double easting;     /* grid easting, m; Cartesian X in the geocentric conversions */
    double elev;        /* ellipsoidal height, m; Cartesian Z in the geocentric conversions */
    double gridScale;   /* point scale factor k */
    double convergence; /* meridian convergence, rad */
    int32_t spare;      /* never read or written by the library: the caller's own */
    int32_t utmZone;    /* UTM zone code written by UTMGeod2Grid */
} geodCoord;

/* Reference ellipsoid. The library reads semiMajor, semiMinor and ecc (and the
 * Cassini-Soldner routines flattening); eccSq and invFlattening are for callers. */
typedef struct ellipsoid {
    double semiMajor;     /* a, m */
    double semiMinor;     /* b = a - f*a, m */
    double flattening;    /* f */
    double ecc;           /* e = sqrt(2f - f^2) */
    double eccSq;         /* e*e */
    double invFlattening; /* 1/f */
    double reserved[8];   /* never read or written by the library: the caller's own */
} ellipsoid;

/* Projection selector of a zone record: any other value is refused by the dispatchers. */
typedef int32_t ProjectionKind;
enum {
    kvTransverseMercator = 0,
    kvLambertConformalConic = 1,
    kvHotineObliqueMercator = 2
};

/* Constants of one projection zone. Central meridians and centre longitudes are stored
 * positive WEST. The leading storage, the spare integer and the trailing double are
 * never read or written by the library; whatever the caller keeps there stays there. */
typedef struct zoneCnstnt {
    unsigned char reserved[64];
    ProjectionKind projection; /* 0 Transverse Mercator, 1 Lambert, 2 oblique Mercator */
    int32_t spare;
    int32_t zoneCode;          /* state plane zone code, e.g. 101, 401, 5001 */
    double centralMeridian;    /* TM: central meridian (west); OM: azimuth of the central line */
    double scaleFactor;        /* k0 on the central meridian / central line */
    double northParallel;      /* Lambert: northern standard parallel */
    double southParallel;      /* Lambert: southern standard parallel */
    double falseNorthing;      /* m */
    double falseEasting;       /* m */
    double calcOriginLat;      /* grid origin latitude used by lambert_calc only */
    double originLat;          /* latitude of the grid origin / projection centre */
    double originLon;          /* Lambert: central meridian (west); OM: centre longitude (west) */
    double trailing;
} zoneCnstnt;

KELVANE_C_BEGIN

/* Fills the first six fields of ell from the semi-major axis a (m) and flattening f.
 * Returns 0; the values are not checked (f = 0 gives an infinite invFlattening). Only a
 * null ell is refused, with 1. */
KELVANE_API int initEllipsoid(ellipsoid* ell, double a, double f);

/* Leftovers of the project template, of no use to a host: they do no coordinate work.
 * They stay because they are part of the exported surface, so a host that was linked
 * against them, or looks them up by name, still loads. fnKelvane returns 42; nKelvane
 * is an integer, 0 at load, that the library never reads or writes. */
KELVANE_API int fnKelvane(void);
KELVANE_API extern int nKelvane;

KELVANE_C_END

#ifdef __cplusplus
/* The third template leftover: an empty class with nothing to do, exported (and so
 * kept) only because it always has been. */
class KELVANE_API CKelvane {
public:
    CKelvane();
    CKelvane& operator=(const CKelvane&) = default;
};
#endif

#ifdef __cplusplus
/* The records cross the library boundary by pointer and by value: their layout is fixed. */
#include <cstddef>
static_assert(sizeof(geodCoord) == 64, "geodCoord is 64 bytes");
static_assert(offsetof(geodCoord, lat) == 0 && offsetof(geodCoord, lon) == 8 &&
              offsetof(geodCoord, northing) == 16 && offsetof(geodCoord, easting) == 24 &&
              offsetof(geodCoord, elev) == 32 && offsetof(geodCoord, gridScale) == 40 &&
              offsetof(geodCoord, convergence) == 48 && offsetof(geodCoord, spare) == 56 &&
              offsetof(geodCoord, utmZone) == 60, "geodCoord field offsets");
static_assert(sizeof(ellipsoid) == 112, "ellipsoid is 14 doubles");
static_assert(offsetof(ellipsoid, semiMajor) == 0 && offsetof(ellipsoid, semiMinor) == 8 &&
              offsetof(ellipsoid, flattening) == 16 && offsetof(ellipsoid, ecc) == 24 &&
              offsetof(ellipsoid, eccSq) == 32 && offsetof(ellipsoid, invFlattening) == 40 &&
              offsetof(ellipsoid, reserved) == 48, "ellipsoid field offsets");
static_assert(sizeof(ProjectionKind) == 4, "ProjectionKind is a 32-bit integer");
static_assert(sizeof(zoneCnstnt) == 160, "zoneCnstnt is 160 bytes");
static_assert(offsetof(zoneCnstnt, projection) == 64 && offsetof(zoneCnstnt, spare) == 68 &&
              offsetof(zoneCnstnt, zoneCode) == 72 && offsetof(zoneCnstnt, centralMeridian) == 80 &&
              offsetof(zoneCnstnt, scaleFactor) == 88 && offsetof(zoneCnstnt, northParallel) == 96 &&
              offsetof(zoneCnstnt, southParallel) == 104 && offsetof(zoneCnstnt, falseNorthing) == 112 &&
              offsetof(zoneCnstnt, falseEasting) == 120 && offsetof(zoneCnstnt, calcOriginLat) == 128 &&
              offsetof(zoneCnstnt, originLat) == 136 && offsetof(zoneCnstnt, originLon) == 144 &&
              offsetof(zoneCnstnt, trailing) == 152, "zoneCnstnt field offsets");
#endif

#endif /* KELVANE_CORE_H */
