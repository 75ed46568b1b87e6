// Lambert conformal conic on a stand-alone record that carries its own ellipsoid and takes
// longitudes positive east: the record is laid onto a zone record and the point's longitude
// turned west-positive, and the zone-constant projection does the arithmetic.
#include <cmath>

#include "core/batch.h"
#include "kelvane/lambert.h"
#include "projections/lambert/lambert.h"

namespace {

bool isFinite(double x) { return std::isfinite(x); }

// A latitude on the ellipsoid: finite and not beyond a pole.
bool isLatitude(double phi) { return isFinite(phi) && std::fabs(phi) <= 2.0 * std::atan(1.0); }

// The record as the zone-constant projection reads it, with its cone constants. False when
// the record cannot give a cone: zero semi-axes (the refusal the zone-constant routine
// makes itself), negative or non-finite axes, an eccentricity outside [0, 1) or angles and
// false origin that are not finite (these would only give NaN further on), and a tangent
// cone.
struct StandaloneLambert {
    ellipsoid ell;
    zoneCnstnt zone;
    kelvane::LambertConstants c;
};

bool standaloneLambert(const zoneCnstntLambert& zl, StandaloneLambert& s)
{
    const ellipsoid& ell = zl.ell;
    if (!(ell.semiMajor > 0.0 && ell.semiMinor > 0.0 && isFinite(ell.semiMajor) && isFinite(ell.semiMinor)) ||
        !(ell.ecc >= 0.0 && ell.ecc < 1.0)) {
        return false;
    }
    if (!isLatitude(zl.northParallel) || !isLatitude(zl.southParallel) || !isLatitude(zl.originLat) ||
        !isFinite(zl.centralMeridian) || !isFinite(zl.falseNorthing) || !isFinite(zl.falseEasting)) {
        return false;
    }
    s.ell = ell;
    s.zone = zoneCnstnt{};
    s.zone.projection = kvLambertConformalConic;
    s.zone.northParallel = zl.northParallel;
    s.zone.southParallel = zl.southParallel;
    s.zone.originLat = zl.originLat;
    s.zone.originLon = zl.centralMeridian;
    s.zone.falseNorthing = zl.falseNorthing;
    s.zone.falseEasting = zl.falseEasting;
    return kelvane::lambertConstants(s.ell, s.zone, s.c);
}

// The point turned west-positive, as the zone-constant projection takes it.
geodCoord westward(const geodCoord& pt)
{
    geodCoord west = pt;
    west.lon = -1.0 * pt.lon;
    return west;
}

// Keeps the projection of pt (west, projected): 1, writing nothing, for a latitude off the
// ellipsoid, a longitude that is not finite, and a result that is not a number.
int keepForward(geodCoord& pt, const geodCoord& west)
{
    if (!isLatitude(pt.lat) || !isFinite(pt.lon)) return 1;
    // Parallels at a pole or equal and opposite leave no cone (n = 0 or K undefined), and the
    // pole the cone opens away from has no image: whatever is not a number is refused whole.
    if (!isFinite(west.northing) || !isFinite(west.easting) || !isFinite(west.gridScale) || !isFinite(west.convergence)) {
        return 1;
    }
    pt.northing = west.northing;
    pt.easting = west.easting;
    pt.gridScale = west.gridScale;
    pt.convergence = west.convergence;
    return 0;
}

// One point, and four side by side, on a usable record: the projection runs whatever the
// input (it has no loop) and keepForward decides.
int standaloneForward(const StandaloneLambert& s, geodCoord& pt)
{
    geodCoord west = westward(pt);
    kelvane::lambertForward(s.c, s.ell.semiMajor, s.zone, west);
    return keepForward(pt, west);
}

void standaloneForwardGroup(const StandaloneLambert& s, geodCoord (&pts)[4], int (&status)[4])
{
    geodCoord west[4];
    for (int k = 0; k < 4; ++k) west[k] = westward(pts[k]);
    kelvane::lambertForward(s.c, s.ell.semiMajor, s.zone, west);
    for (int k = 0; k < 4; ++k) status[k] = keepForward(pts[k], west[k]);
}

} // namespace

int latLong2XY_Lambert(zoneCnstntLambert* zl, geodCoord* pt)
{
    StandaloneLambert s;
    if (!zl || !pt || !standaloneLambert(*zl, s)) return 1;
    return standaloneForward(s, *pt);
}

int latLong2XY_LambertBatch(const zoneCnstntLambert* zl, size_t n, batchIn lat, batchIn lon, batchOut northing,
                            batchOut easting, batchOut gridScale, batchOut convergence, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    StandaloneLambert s;
    if (!zl || !standaloneLambert(*zl, s)) return kvBatchRefused;
    return kelvane::batch::forwardPoints<4>(
        n, status, lat, lon, northing, easting, gridScale, convergence,
        [&](geodCoord(&pts)[4], int(&statuses)[4], std::size_t) { standaloneForwardGroup(s, pts, statuses); },
        [&](geodCoord& pt, std::size_t) { return standaloneForward(s, pt); });
}
