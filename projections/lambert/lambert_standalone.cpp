// Lambert conformal conic on a stand-alone record that carries its own ellipsoid and takes
// longitudes positive east: the record is laid onto a zone record and the point's longitude
// turned west-positive, and the zone-constant projection does the arithmetic.
#include <cmath>

#include "kelvane/lambert.h"

namespace {

bool isFinite(double x) { return std::isfinite(x); }

// A latitude on the ellipsoid: finite and not beyond a pole.
bool isLatitude(double phi) { return isFinite(phi) && std::fabs(phi) <= 2.0 * std::atan(1.0); }

} // namespace

int latLong2XY_Lambert(zoneCnstntLambert* zl, geodCoord* pt)
{
    if (!zl || !pt) return 1;
    ellipsoid ell = zl->ell;
    // Zero semi-axes are the refusal the zone-constant routine makes itself; negative,
    // non-finite axes or an eccentricity outside [0, 1) would only give NaN further on.
    if (!(ell.semiMajor > 0.0 && ell.semiMinor > 0.0 && isFinite(ell.semiMajor) && isFinite(ell.semiMinor)) ||
        !(ell.ecc >= 0.0 && ell.ecc < 1.0)) {
        return 1;
    }
    if (!isLatitude(pt->lat) || !isFinite(pt->lon) || !isLatitude(zl->northParallel) ||
        !isLatitude(zl->southParallel) || !isLatitude(zl->originLat) || !isFinite(zl->centralMeridian) ||
        !isFinite(zl->falseNorthing) || !isFinite(zl->falseEasting)) {
        return 1;
    }

    zoneCnstnt zone{};
    zone.projection = kvLambertConformalConic;
    zone.northParallel = zl->northParallel;
    zone.southParallel = zl->southParallel;
    zone.originLat = zl->originLat;
    zone.originLon = zl->centralMeridian;
    zone.falseNorthing = zl->falseNorthing;
    zone.falseEasting = zl->falseEasting;

    geodCoord west = *pt;
    west.lon = -1.0 * pt->lon;
    if (geod2Lambert(&ell, &zone, &west) != 0) return 1;
    // Parallels at a pole or equal and opposite leave no cone (n = 0 or K undefined), and the
    // pole the cone opens away from has no image: whatever is not a number is refused whole.
    if (!isFinite(west.northing) || !isFinite(west.easting) || !isFinite(west.gridScale) || !isFinite(west.convergence)) {
        return 1;
    }
    pt->northing = west.northing;
    pt->easting = west.easting;
    pt->gridScale = west.gridScale;
    pt->convergence = west.convergence;
    return 0;
}
