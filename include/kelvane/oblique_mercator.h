/* Hotine oblique Mercator.
 *
 * On zone constants (state plane 1983 zone 5001, Alaska Zone 1): geod2OM and OM2Geod.
 * The zone record supplies originLat and originLon (the projection centre, longitude
 * positive WEST), centralMeridian (the azimuth of the central line at the centre,
 * clockwise from north), scaleFactor (on the central line), falseNorthing and
 * falseEasting. Point longitudes are positive WEST. Angles in radians, lengths in metres.
 *
 * With the grid origin at the projection centre (EPSG Hotine oblique Mercator variant B):
 * the free functions latLong2XY_OMProjCenter / XY2latLong_OMProjCenter, and the object
 * OGCTObliqueMercator with its one-point wrappers latLong2XY_ObliqueMercator /
 * XY2latLong_ObliqueMercator. All of these take longitudes positive EAST. */
#ifndef KELVANE_OBLIQUE_MERCATOR_H
#define KELVANE_OBLIQUE_MERCATOR_H

#include "kelvane/batch.h"
#include "kelvane/core.h"

/* A projection-centre oblique Mercator zone: 24 doubles. The ellipsoid is filled by
 * initEllipsoid; a, ecc and eccSq are read. The reserved doubles are never read. */
typedef struct zoneCnstntObliqueMerc {
    double reserved;
    double falseNorthing;      /* FN, northing of the projection centre, m */
    double falseEasting;       /* FE, easting of the projection centre, m */
    double centreLat;          /* phi_c, latitude of the projection centre, rad */
    double centreLon;          /* lambda_c, longitude of the projection centre, rad, positive EAST */
    double azimuth;            /* alpha_c, azimuth of the central line at the centre, rad, clockwise from north */
    double rectifiedGridAngle; /* gamma_c, from the rectified to the oblique grid, rad */
    double scaleFactor;        /* k0 on the central line at the centre */
    double reservedTail[2];
    ellipsoid ell;
} zoneCnstntObliqueMerc;

KELVANE_C_BEGIN

/* Geographic (lat, lon) to grid: writes northing, easting, gridScale and convergence.
 * Returns 1 without writing anything when the ellipsoid's semiMinor or semiMajor is 0
 * (or for a null pointer).
 * Points where the projection is undefined (the poles, 90 degrees of aposphere longitude
 * from the natural origin) give infinities or NaN, with status 0. */
KELVANE_API int geod2OM(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt);

/* Grid (northing, easting) to geographic: writes lat, lon, gridScale and convergence.
 * Returns 0 (1 only for a null pointer). */
KELVANE_API int OM2Geod(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt);

/* Projection-centre oblique Mercator, geographic to grid. In: lat, lon (positive EAST).
 * Out: northing, easting, gridScale, and convergence set to 0. Returns 0 (1 only for a
 * null point). Nothing is checked: a pole, a point 90 degrees of aposphere longitude from
 * the natural origin, or an unfilled ellipsoid give infinities or NaN with status 0.
 * An azimuth of exactly 90 degrees (a central line running due east at the centre) is
 * supported: the centre maps to (FE, FN) and the grid stays continuous across it. */
KELVANE_API int latLong2XY_OMProjCenter(zoneCnstntObliqueMerc zone, geodCoord* point);

/* Projection-centre oblique Mercator, grid to geographic. In: northing, easting. Out:
 * lat, lon (positive EAST), gridScale, and convergence set to 0. Returns 0 (1 only for a
 * null point); nothing is checked, as for the forward. */
KELVANE_API int XY2latLong_OMProjCenter(zoneCnstntObliqueMerc zone, geodCoord* point);

/* The two projection-centre conversions above for n points (see kelvane/batch.h).
 * Forward: lat, lon (rad, positive EAST) in; northing, easting out, gridScale where not
 * NULL. Inverse: northing, easting in; lat, lon (positive EAST) out, gridScale where not
 * NULL. The convergence is always 0 and has no column. Nothing is checked per point, so
 * every status is 0. Refused whole (-1): a NULL zone, status or required column. */
KELVANE_API int latLong2XY_OMProjCenterBatch(const zoneCnstntObliqueMerc* zone, size_t n, batchIn lat,
                                             batchIn lon, batchOut northing, batchOut easting,
                                             batchOut gridScale, int* status);
KELVANE_API int XY2latLong_OMProjCenterBatch(const zoneCnstntObliqueMerc* zone, size_t n, batchIn northing,
                                             batchIn easting, batchOut lat, batchOut lon, batchOut gridScale,
                                             int* status);

/* One point through a temporary OGCTObliqueMercator: lat, lon (positive EAST) to
 * northing, easting (forward) and back (inverse); gridScale and convergence are not
 * written. Return 0 (1 only for a null pointer). */
KELVANE_API int latLong2XY_ObliqueMercator(zoneCnstntObliqueMerc* zone, geodCoord* point);
KELVANE_API int XY2latLong_ObliqueMercator(zoneCnstntObliqueMerc* zone, geodCoord* point);

/* Arc-to-chord correction T (rad) of the line from p1 to p2, at p1, from the points' lat
 * and lon (positive west). Returns 0, or 1 without writing *result for a null pointer. */
KELVANE_API int omArcToChord(ellipsoid* ell, zoneCnstnt* zone, geodCoord* p1, geodCoord* p2, double* result);

KELVANE_C_END

#ifdef __cplusplus
#include <cstddef>
static_assert(sizeof(zoneCnstntObliqueMerc) == 192, "zoneCnstntObliqueMerc is 24 doubles");
static_assert(offsetof(zoneCnstntObliqueMerc, reserved) == 0 &&
              offsetof(zoneCnstntObliqueMerc, falseNorthing) == 8 &&
              offsetof(zoneCnstntObliqueMerc, falseEasting) == 16 &&
              offsetof(zoneCnstntObliqueMerc, centreLat) == 24 &&
              offsetof(zoneCnstntObliqueMerc, centreLon) == 32 &&
              offsetof(zoneCnstntObliqueMerc, azimuth) == 40 &&
              offsetof(zoneCnstntObliqueMerc, rectifiedGridAngle) == 48 &&
              offsetof(zoneCnstntObliqueMerc, scaleFactor) == 56 &&
              offsetof(zoneCnstntObliqueMerc, reservedTail) == 64 &&
              offsetof(zoneCnstntObliqueMerc, ell) == 80,
              "zoneCnstntObliqueMerc field offsets");

/* The projection-centre oblique Mercator as an object: Init derives the zone constants
 * once, then any number of points convert with TransGeoToMap and TransMapToGeo (longitudes
 * positive EAST; neither writes gridScale or convergence). An initialised object is only
 * read by the transformations, so threads that only transform may share it.
 *
 * Compared with the free functions it wraps a longitude into +-pi of the centre longitude
 * before projecting and corrects the branch of the inverse's arc tangent, so points more
 * than 90 degrees of aposphere longitude east of the natural origin come back right. */
class KELVANE_API OGCTObliqueMercator {
public:
    OGCTObliqueMercator(); // members unset: Init must run before a transformation
    ~OGCTObliqueMercator();
    OGCTObliqueMercator(const OGCTObliqueMercator&) = default;
    OGCTObliqueMercator& operator=(const OGCTObliqueMercator& other);

    /* Derives every member from the record. Returns 1 whatever the record holds; an
     * unfilled ellipsoid or a pole as centre gives NaN in the results. */
    int Init(zoneCnstntObliqueMerc zone);
    /* lat, lon (rad, positive EAST) to northing, easting (m). A null point is ignored. */
    void TransGeoToMap(geodCoord* point);
    /* northing, easting (m) to lat, lon (rad, positive EAST). A null point is ignored. */
    void TransMapToGeo(geodCoord* point);

private:
    /* ln(tan(pi/4 + phi/2) * ((1 - e sin phi)/(1 + e sin phi))^(e/2)) with the member e. */
    double dGetIsometricLat(double phi);
    /* c2 sin 2x + c4 sin 4x + c6 sin 6x + c8 sin 8x. */
    double dTrigSeries2468(double c2, double c4, double c6, double c8, double x);

    double centreLat, centreLon, scaleFactor, falseEasting, falseNorthing, azimuth, rectifiedGridAngle;
    double sinLat0, cosLat0, sinSqLat0, cosSqLat0, cos4Lat0;
    int latSign;
    double w0, bConst, aConst, dConst;
    double t0;
    double pi, twoPi, quarterPi, halfPi;
    double angleTol, gridTol;
    double dSq;
    double fConst, hConst, gConst;
    double gamma0, cosGamma0, sinGamma0;
    double lambda0;
    double vc, uc;
    double cosGammaC, sinGammaC;
    double e, e2, e4, e6, e8;
    double semiMajor;
    double ep2;
};
#endif

#endif /* KELVANE_OBLIQUE_MERCATOR_H */
