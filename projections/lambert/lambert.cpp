// Lambert conformal conic on zone constants, in the isometric-latitude form of the
// state plane 1983 manual: forward in closed form, inverse by Newton's method on the
// sine of the latitude with at most a fixed number of steps.
#include "projections/lambert/lambert.h"

#include <cmath>

#include "core/constants_memo.h"
#include "kelvane/lambert.h"

namespace kelvane {
namespace {

// Point scale factor at latitude phi, where the mapping radius is R.
double lambertScale(const LambertConstants& c, double a, double phi, double R)
{
    return W(c.e2, phi) * c.n * R / (a * std::cos(phi));
}

// Newton's method converges quadratically from the spherical start: three or four steps
// reach the latitude to the last bit. At most six are run, so bad input cannot loop; the
// loop ends as soon as a step leaves the sine unchanged, since every further step would
// start from the same value and leave it unchanged too (a NaN runs all six).
constexpr int kNewtonSteps = 6;

// The sine of the latitude whose isometric latitude is q.
double sineOfIsometricLatitude(double q, double e, double e2)
{
    const double x = std::exp(2.0 * q);
    double s = (x - 1.0) / (x + 1.0); // the sphere's answer
    for (int i = 0; i < kNewtonSteps; ++i) {
        const double f = isometricLatitudeOfSine(s, e) - q;
        const double fPrime = 1.0 / (1.0 - s * s) - e2 / (1.0 - e2 * s * s);
        const double next = s - f / fPrime;
        if (next == s) break;
        s = next;
    }
    return s;
}

struct MemoEntry {
    LambertConstants c;
    bool valid; // false for a tangent cone
};

} // namespace

const LambertConstants* cachedLambertConstants(const ellipsoid& ell, const zoneCnstnt& zone)
{
    thread_local ConstantsMemo<MemoEntry, 5> memo;
    const double key[5] = {ell.ecc, ell.semiMajor, zone.southParallel, zone.northParallel, zone.originLat};
    const MemoEntry& m = memo.get(key, [&] {
        MemoEntry fresh{};
        fresh.valid = lambertConstants(ell, zone, fresh.c);
        return fresh;
    });
    return m.valid ? &m.c : nullptr;
}

void lambertForward(const LambertConstants& c, double a, const zoneCnstnt& zone, geodCoord& pt)
{
    const double phi = pt.lat;
    const double lambda = pt.lon;
    const double R = c.K / std::exp(c.n * isometricLatitude(phi, c.e));
    const double gamma = (zone.originLon - lambda) * c.n;

    pt.convergence = gamma;
    pt.gridScale = lambertScale(c, a, phi, R);
    pt.northing = c.Rb + zone.falseNorthing - R * std::cos(gamma);
    pt.easting = zone.falseEasting + R * std::sin(gamma);
}

void lambertInverse(const LambertConstants& c, double a, const zoneCnstnt& zone, geodCoord& pt)
{
    const double Rprime = c.Rb - (pt.northing - zone.falseNorthing);
    const double Eprime = pt.easting - zone.falseEasting;
    const double gamma = std::atan(Eprime / Rprime);
    const double R = std::sqrt(Rprime * Rprime + Eprime * Eprime);
    const double q = std::log(c.K / R) / c.n;
    const double phi = std::asin(sineOfIsometricLatitude(q, c.e, c.e2));

    pt.convergence = gamma;
    pt.lon = zone.originLon - gamma / c.n;
    pt.lat = phi;
    pt.gridScale = lambertScale(c, a, phi, R);
}

} // namespace kelvane

using kelvane::LambertConstants;

int geod2Lambert(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt)
{
    if (!ell || !zone || !pt) return 1;
    if (ell->semiMinor == 0.0 || ell->semiMajor == 0.0) return 1;
    const LambertConstants* c = kelvane::cachedLambertConstants(*ell, *zone);
    if (!c) return 1;
    kelvane::lambertForward(*c, ell->semiMajor, *zone, *pt);
    return 0;
}

int Lambert2Geod(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt)
{
    if (!ell || !zone || !pt) return 1;
    const LambertConstants* c = kelvane::cachedLambertConstants(*ell, *zone);
    if (!c) return 1;
    kelvane::lambertInverse(*c, ell->semiMajor, *zone, *pt);
    return 0;
}

// Arc-to-chord correction T of a line from p1 to p2, at p1: the angle between the projected
// geodesic (the arc) and the straight grid line (the chord), in the form of the state plane
// 1983 manual. A null pointer is refused with 1, writing nothing, and so are two standard
// parallels that coincide. From the latitudes and longitudes (positive west), with the latitude weighted
// two to one towards p1.
int lambertArcToChord(ellipsoid* ell, zoneCnstnt* zone, geodCoord* p1, geodCoord* p2, double* result)
{
    if (!ell || !zone || !p1 || !p2 || !result) return 1;
    const kelvane::LambertConstants* c = kelvane::cachedLambertConstants(*ell, *zone);
    if (!c) return 1;
    const double sinPhi0 = c->n; // the cone constant is the sine of the central parallel
    const double phiBar = (2.0 * p1->lat + p2->lat) / 3.0;

    *result = (p1->lon - p2->lon) * (std::sin(phiBar) - sinPhi0) / 2.0;
    return 0;
}
