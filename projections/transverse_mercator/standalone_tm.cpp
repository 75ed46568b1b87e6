// The stand-alone Transverse Mercator: its own record with the ellipsoid inside, longitudes
// positive EAST, on the same series core as geod2TM and TM2Geod (the arithmetic is the
// same, so a point gives bit for bit the result of the zone-record routines).
//
// Beyond the zero-axis tests of the series, both directions refuse what could only give a
// meaningless or non-finite answer, writing nothing: non-finite input or record fields,
// latitudes beyond +-90 degrees, axes or a scale factor that are not positive, and any
// result that comes out non-finite (e.g. a point at the pole, where tan(phi) overflows).
// Longitudes are not reduced: a longitude 360 degrees off is converted as it stands.
#include <cmath>

#include "core/batch.h"
#include "projections/transverse_mercator/transverse_mercator.h"

namespace {

using kelvane::Lanes2;
using kelvane::tm::Parameters;

Parameters parametersOf(const zoneCnstntTM& zc)
{
    return {zc.ell.semiMajor, zc.ell.semiMinor, zc.ell.ecc,     zc.scaleFactor,
            zc.originLat,     zc.centralMeridian, zc.falseNorthing, zc.falseEasting};
}

bool isFinite(double x) { return std::isfinite(x); }

// A record the series can work with. The zero-axis test of the series itself comes first,
// so a zero axis fails there exactly as in geod2TM.
bool usable(const Parameters& p)
{
    return isFinite(p.a) && isFinite(p.b) && isFinite(p.e) && isFinite(p.k0) && isFinite(p.phi0) && isFinite(p.lambda0) &&
           isFinite(p.N0) && isFinite(p.E0) && p.a > 0.0 && p.b > 0.0 && p.k0 > 0.0;
}

bool finiteResult(const kelvane::tm::GridOf<double>& r)
{
    return isFinite(r.northing) && isFinite(r.easting) && isFinite(r.gridScale) && isFinite(r.convergence);
}

bool finiteResult(const kelvane::tm::GeographicOf<double>& r)
{
    return isFinite(r.lat) && isFinite(r.lon) && isFinite(r.gridScale) && isFinite(r.convergence);
}

} // namespace

int initUTMZone(int zone, int hemisphere, ellipsoid ell, zoneCnstntTM* zc)
{
    if (zc == nullptr || zone < 1 || zone > 60) return 1;
    zc->hemisphere = hemisphere;
    zc->zone = zone;
    zc->scaleFactor = kelvane::tm::kUtmScaleFactor;
    zc->falseNorthing = hemisphere == 0 ? 0.0 : kelvane::tm::kSouthernFalseNorthing;
    zc->falseEasting = kelvane::tm::kUtmFalseEasting;
    zc->originLat = 0.0;
    zc->ell = ell;
    zc->spareDouble = 0.0;
    zc->spareInt = 0;
    zc->centralMeridian = kelvane::tm::utmCentralMeridianWest(zone);
    return 0;
}

namespace {

// Whether a point's input may go to the series: finite, and forward a latitude within
// the poles.
bool usableForward(const geodCoord& pt)
{
    return isFinite(pt.lat) && isFinite(pt.lon) && std::fabs(pt.lat) <= kelvane::pi() / 2.0;
}

bool usableInverse(const geodCoord& pt) { return isFinite(pt.northing) && isFinite(pt.easting); }

// A series result stored in the point when it converted and is finite: 1, writing
// nothing, otherwise. Longitudes come back positive east.
int storeForward(int status, const kelvane::tm::GridOf<double>& r, geodCoord& pt)
{
    if (status != 0 || !finiteResult(r)) return 1;
    kelvane::tm::store(r, pt);
    return 0;
}

int storeInverse(int status, kelvane::tm::GeographicOf<double> r, geodCoord& pt)
{
    if (status != 0 || !finiteResult(r)) return 1;
    r.lon = -1.0 * r.lon;
    kelvane::tm::store(r, pt);
    return 0;
}

// One point on a usable record, forward and inverse: 1, writing nothing, for non-finite
// input, a latitude beyond a pole, and a result that is not finite.
int standaloneForward(const Parameters& p, const kelvane::tm::SeriesConstants& c, geodCoord& pt)
{
    if (!usableForward(pt)) return 1;
    kelvane::tm::GridOf<double> r;
    return storeForward(kelvane::tm::forward(p, c, pt.lat, -1.0 * pt.lon, p.lambda0, r), r, pt);
}

int standaloneInverse(const Parameters& p, const kelvane::tm::SeriesConstants& c, geodCoord& pt)
{
    if (!usableInverse(pt)) return 1;
    kelvane::tm::GeographicOf<double> r;
    return storeInverse(kelvane::tm::inverse(p, c, pt.northing, pt.easting, p.lambda0, r), r, pt);
}

// Two points side by side, each as above: a pair with an unusable point goes one at a time.
void standaloneForwardPair(const Parameters& p, const kelvane::tm::SeriesConstants& c, geodCoord* pts, int* status)
{
    if (!usableForward(pts[0]) || !usableForward(pts[1])) {
        for (int j = 0; j < 2; ++j) status[j] = standaloneForward(p, c, pts[j]);
        return;
    }
    kelvane::tm::GridOf<Lanes2> r;
    const int s = kelvane::tm::forward(p, c, Lanes2{pts[0].lat, pts[1].lat},
                                       Lanes2{-1.0 * pts[0].lon, -1.0 * pts[1].lon}, Lanes2{p.lambda0, p.lambda0}, r);
    for (int j = 0; j < 2; ++j) status[j] = storeForward(s, lane(r, j), pts[j]);
}

void standaloneInversePair(const Parameters& p, const kelvane::tm::SeriesConstants& c, geodCoord* pts, int* status)
{
    kelvane::tm::GeographicOf<Lanes2> r;
    if (!usableInverse(pts[0]) || !usableInverse(pts[1]) ||
        kelvane::tm::inverse(p, c, Lanes2{pts[0].northing, pts[1].northing}, Lanes2{pts[0].easting, pts[1].easting},
                             Lanes2{p.lambda0, p.lambda0}, r) != 0) {
        for (int j = 0; j < 2; ++j) status[j] = standaloneInverse(p, c, pts[j]);
        return;
    }
    for (int j = 0; j < 2; ++j) status[j] = storeInverse(0, lane(r, j), pts[j]);
}

} // namespace

int latLong2XY_TransverseMercator(zoneCnstntTM zc, geodCoord* pt)
{
    if (pt == nullptr) return 1;
    const Parameters p = parametersOf(zc);
    if (p.b == 0.0 || p.a == 0.0 || !usable(p)) return 1;
    return standaloneForward(p, kelvane::tm::seriesConstants(p), *pt);
}

int XY_TransverseMercator2latLong(zoneCnstntTM zc, geodCoord* pt)
{
    if (pt == nullptr) return 1;
    const Parameters p = parametersOf(zc);
    if (!usable(p)) return 1;
    return standaloneInverse(p, kelvane::tm::seriesConstants(p), *pt);
}

int latLong2XY_TransverseMercatorBatch(const zoneCnstntTM* zc, size_t n, batchIn lat, batchIn lon,
                                       batchOut northing, batchOut easting, batchOut gridScale,
                                       batchOut convergence, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    if (!zc || !usable(parametersOf(*zc))) return kvBatchRefused;
    const Parameters p = parametersOf(*zc);
    const kelvane::tm::SeriesConstants c = kelvane::tm::seriesConstants(p);
    return kelvane::batch::forwardPoints(n, status, lat, lon, northing, easting, gridScale, convergence,
                                         [&](geodCoord* pts, int* s, std::size_t) { standaloneForwardPair(p, c, pts, s); },
                                         [&](geodCoord& pt, std::size_t) { return standaloneForward(p, c, pt); });
}

int XY_TransverseMercator2latLongBatch(const zoneCnstntTM* zc, size_t n, batchIn northing, batchIn easting,
                                       batchOut lat, batchOut lon, batchOut gridScale, batchOut convergence,
                                       int* status)
{
    if (n == 0) return kvBatchAllConverted;
    if (!zc || !usable(parametersOf(*zc))) return kvBatchRefused;
    const Parameters p = parametersOf(*zc);
    const kelvane::tm::SeriesConstants c = kelvane::tm::seriesConstants(p);
    return kelvane::batch::inversePoints(n, status, northing, easting, lat, lon, gridScale, convergence,
                                         [&](geodCoord* pts, int* s, std::size_t) { standaloneInversePair(p, c, pts, s); },
                                         [&](geodCoord& pt, std::size_t) { return standaloneInverse(p, c, pt); });
}
