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

bool finiteResult(const geodCoord& r, bool geographic)
{
    return isFinite(r.gridScale) && isFinite(r.convergence) &&
           (geographic ? isFinite(r.lat) && isFinite(r.lon) : isFinite(r.northing) && isFinite(r.easting));
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

// One point on a usable record, forward and inverse: 1, writing nothing, for non-finite
// input, a latitude beyond a pole, and a result that is not finite.
int standaloneForward(const Parameters& p, const kelvane::tm::SeriesConstants& c, geodCoord& pt)
{
    const double phi = pt.lat;
    const double lambdaEast = pt.lon;
    if (!isFinite(phi) || !isFinite(lambdaEast) || std::fabs(phi) > kelvane::pi() / 2.0) return 1;

    geodCoord r{};
    if (kelvane::tm::forward(p, c, phi, -1.0 * lambdaEast, r) != 0 || !finiteResult(r, false)) return 1;
    pt.northing = r.northing;
    pt.easting = r.easting;
    pt.gridScale = r.gridScale;
    pt.convergence = r.convergence;
    return 0;
}

int standaloneInverse(const Parameters& p, const kelvane::tm::SeriesConstants& c, geodCoord& pt)
{
    if (!isFinite(pt.northing) || !isFinite(pt.easting)) return 1;
    geodCoord r{};
    if (kelvane::tm::inverse(p, c, pt.northing, pt.easting, r) != 0 || !finiteResult(r, true)) return 1;
    pt.lat = r.lat;
    pt.lon = -1.0 * r.lon;
    pt.gridScale = r.gridScale;
    pt.convergence = r.convergence;
    return 0;
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
                                         [&](geodCoord& pt, std::size_t) { return standaloneInverse(p, c, pt); });
}
