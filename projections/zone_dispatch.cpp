// Routes a zone record to the projection its kind names. A null pointer is refused with 1,
// like an unknown kind, before anything is read or written.
#include "kelvane/dispatch.h"

#include "kelvane/lambert.h"
#include "kelvane/oblique_mercator.h"
#include "kelvane/transverse_mercator.h"
#include "projections/zone_projection.h"

int geod2Grid(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt)
{
    if (!ell || !zone || !pt) return 1;
    switch (zone->projection) {
    case kvTransverseMercator: return geod2TM(ell, zone, pt);
    case kvLambertConformalConic: return geod2Lambert(ell, zone, pt);
    case kvHotineObliqueMercator: return geod2OM(ell, zone, pt);
    default: return 1;
    }
}

// The inverse routines' own failures (a degenerate ellipsoid or cone) are not passed on:
// a known projection always reports 0.
int grid2Geod(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt)
{
    if (!ell || !zone || !pt) return 1;
    switch (zone->projection) {
    case kvTransverseMercator: TM2Geod(ell, zone, pt); return 0;
    case kvLambertConformalConic: Lambert2Geod(ell, zone, pt); return 0;
    case kvHotineObliqueMercator: OM2Geod(ell, zone, pt); return 0;
    default: return 1;
    }
}

int getTMT(ellipsoid* ell, zoneCnstnt* zone, geodCoord* station, geodCoord* backsight, geodCoord* foresight,
           double* correction)
{
    if (!ell || !zone || !station || !backsight || !foresight || !correction) return 1;
    int (*arcToChord)(ellipsoid*, zoneCnstnt*, geodCoord*, geodCoord*, double*) = nullptr;
    switch (zone->projection) {
    case kvTransverseMercator: arcToChord = tmArcToChord; break;
    case kvLambertConformalConic: arcToChord = lambertArcToChord; break;
    case kvHotineObliqueMercator: arcToChord = omArcToChord; break;
    default: return 1;
    }
    double toBacksight = 0.0;
    double toForesight = 0.0;
    if (arcToChord(ell, zone, station, backsight, &toBacksight) != 0) return 1;
    if (arcToChord(ell, zone, station, foresight, &toForesight) != 0) return 1;
    *correction = toForesight - toBacksight;
    return 0;
}

namespace kelvane {

ZoneProjection zoneProjection(const ellipsoid& ell, const zoneCnstnt& zone)
{
    ZoneProjection z{};
    z.ell = ell;
    z.zone = zone;
    switch (zone.projection) {
    case kvTransverseMercator:
        z.tmP = tm::parametersOf(ell, zone);
        z.tmC = tm::seriesConstants(z.tmP);
        break;
    case kvLambertConformalConic: z.cone = lambertConstants(ell, zone, z.lcc); break;
    case kvHotineObliqueMercator:
        z.omForward = obliqueMercatorConstantsForward(ell, zone);
        z.omInverse = obliqueMercatorConstantsInverse(ell, zone);
        z.omSeries = omConformalSeries(z.omInverse);
        break;
    default: break;
    }
    return z;
}

int zoneForward(const ZoneProjection& z, geodCoord& pt)
{
    const bool zeroAxis = z.ell.semiMinor == 0.0 || z.ell.semiMajor == 0.0;
    switch (z.zone.projection) {
    case kvTransverseMercator: return tm::forward(z.tmP, z.tmC, pt.lat, pt.lon, pt);
    case kvLambertConformalConic:
        if (zeroAxis || !z.cone) return 1;
        lambertForward(z.lcc, z.ell.semiMajor, z.zone, pt);
        return 0;
    case kvHotineObliqueMercator:
        if (zeroAxis) return 1;
        omForward(z.omForward, z.zone, pt);
        return 0;
    default: return 1;
    }
}

int zoneInverse(const ZoneProjection& z, geodCoord& pt)
{
    switch (z.zone.projection) {
    case kvTransverseMercator: return tm::inverse(z.tmP, z.tmC, pt.northing, pt.easting, pt);
    case kvLambertConformalConic:
        if (!z.cone) return 1;
        lambertInverse(z.lcc, z.ell.semiMajor, z.zone, pt);
        return 0;
    case kvHotineObliqueMercator: omInverse(z.omInverse, z.omSeries, z.zone, pt); return 0;
    default: return 1;
    }
}

namespace {

// Two points, pts[0] and pts[1]: a Transverse Mercator zone converts them side by side.
void zoneForwardPair(const ZoneProjection& z, geodCoord* pts, int* status)
{
    if (z.zone.projection != kvTransverseMercator || !tm::pairable(pts[0].lat, pts[0].lon, pts[1].lat, pts[1].lon)) {
        for (int j = 0; j < 2; ++j) status[j] = zoneForward(z, pts[j]);
        return;
    }
    tm::GridOf<Lanes2> r;
    const int s = tm::forward(z.tmP, z.tmC, Lanes2{pts[0].lat, pts[1].lat}, Lanes2{pts[0].lon, pts[1].lon},
                              Lanes2{z.tmP.lambda0, z.tmP.lambda0}, r);
    for (int j = 0; j < 2; ++j) {
        status[j] = s;
        if (s == 0) tm::store(lane(r, j), pts[j]);
    }
}

void zoneInversePair(const ZoneProjection& z, geodCoord* pts, int* status)
{
    tm::GeographicOf<Lanes2> r;
    if (z.zone.projection != kvTransverseMercator ||
        !tm::pairable(pts[0].northing, pts[0].easting, pts[1].northing, pts[1].easting) ||
        tm::inverse(z.tmP, z.tmC, Lanes2{pts[0].northing, pts[1].northing}, Lanes2{pts[0].easting, pts[1].easting},
                    Lanes2{z.tmP.lambda0, z.tmP.lambda0}, r) != 0) {
        // other kinds, and a refusal of either point, one at a time
        for (int j = 0; j < 2; ++j) status[j] = zoneInverse(z, pts[j]);
        return;
    }
    for (int j = 0; j < 2; ++j) {
        status[j] = 0;
        tm::store(lane(r, j), pts[j]);
    }
}

} // namespace

void zoneForwardGroup(const ZoneProjection& z, geodCoord (&pts)[4], int (&status)[4])
{
    // zoneForward refuses each point of a zone that gives no cone or has a zero axis.
    if (z.zone.projection == kvLambertConformalConic && z.cone && z.ell.semiMinor != 0.0 && z.ell.semiMajor != 0.0) {
        lambertForward(z.lcc, z.ell.semiMajor, z.zone, pts);
        for (int& s : status) s = 0;
        return;
    }
    zoneForwardPair(z, pts, status);
    zoneForwardPair(z, pts + 2, status + 2);
}

void zoneInverseGroup(const ZoneProjection& z, geodCoord (&pts)[4], int (&status)[4])
{
    if (z.zone.projection == kvLambertConformalConic && z.cone) {
        lambertInverse(z.lcc, z.ell.semiMajor, z.zone, pts);
        for (int& s : status) s = 0;
        return;
    }
    zoneInversePair(z, pts, status);
    zoneInversePair(z, pts + 2, status + 2);
}

} // namespace kelvane
