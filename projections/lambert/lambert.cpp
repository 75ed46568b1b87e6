// Lambert conformal conic on zone constants, in the isometric-latitude form of the
// state plane 1983 manual: forward in closed form, inverse by Newton's method on the
// sine of the latitude with at most a fixed number of steps.
#include "projections/lambert/lambert.h"

#include <cmath>

#include "core/constants_memo.h"
#include "core/lanes.h"
#include "kelvane/lambert.h"

namespace kelvane {
namespace {

// The formulas are written once on the number type T: double for one point, Lanes4 for four
// side by side (the batches), each lane computing what the scalar code computes.

// Point scale factor at latitude phi, where the mapping radius is R.
template <class T>
T lambertScale(const LambertConstants& c, double a, T phi, T R)
{
    return W(c.e2, phi) * c.n * R / (a * lanes::cos(phi));
}

// Newton's method converges quadratically from the spherical start: three or four steps
// reach the latitude to the last bit. At most six are run, so bad input cannot loop; the
// loop ends as soon as a step leaves the sine unchanged, since every further step would
// start from the same value and leave it unchanged too (a NaN runs all six). Points side
// by side run until all have stopped, each keeping the sine at which it stopped.
constexpr int kNewtonSteps = 6;

// The sine of the latitude whose isometric latitude is q.
template <class T>
T sineOfIsometricLatitude(T q, double e, double e2)
{
    const T x = lanes::exp(2.0 * q);
    T s = (x - 1.0) / (x + 1.0); // the sphere's answer
    for (int i = 0; i < kNewtonSteps; ++i) {
        const T f = isometricLatitudeOfSine(s, e) - q;
        const T fPrime = 1.0 / (1.0 - s * s) - e2 / (1.0 - e2 * s * s);
        if (lanes::settle(s, s - f / fPrime)) break;
    }
    return s;
}

// The projection of the width<T> points pts[0 ...] (see lambertForward, lambertInverse).
template <class T>
void lambertForwardOf(const LambertConstants& c, double a, const zoneCnstnt& zone, geodCoord* pts)
{
    const T phi = lanes::gather<T>([&](int k) { return pts[k].lat; });
    const T lambda = lanes::gather<T>([&](int k) { return pts[k].lon; });
    const T R = c.K / lanes::exp(c.n * isometricLatitude(phi, c.e));
    const T gamma = (zone.originLon - lambda) * c.n;

    const T gridScale = lambertScale(c, a, phi, R);
    const T northing = c.Rb + zone.falseNorthing - R * lanes::cos(gamma);
    const T easting = zone.falseEasting + R * lanes::sin(gamma);
    for (int k = 0; k < lanes::width<T>; ++k) {
        pts[k].convergence = lanes::lane(gamma, k);
        pts[k].gridScale = lanes::lane(gridScale, k);
        pts[k].northing = lanes::lane(northing, k);
        pts[k].easting = lanes::lane(easting, k);
    }
}

template <class T>
void lambertInverseOf(const LambertConstants& c, double a, const zoneCnstnt& zone, geodCoord* pts)
{
    const T northing = lanes::gather<T>([&](int k) { return pts[k].northing; });
    const T easting = lanes::gather<T>([&](int k) { return pts[k].easting; });
    const T Rprime = c.Rb - (northing - zone.falseNorthing);
    const T Eprime = easting - zone.falseEasting;
    const T gamma = lanes::atan(Eprime / Rprime);
    const T R = lanes::sqrt(Rprime * Rprime + Eprime * Eprime);
    const T q = lanes::log(c.K / R) / c.n;
    const T phi = lanes::asin(sineOfIsometricLatitude(q, c.e, c.e2));

    const T lambda = zone.originLon - gamma / c.n;
    const T gridScale = lambertScale(c, a, phi, R);
    for (int k = 0; k < lanes::width<T>; ++k) {
        pts[k].convergence = lanes::lane(gamma, k);
        pts[k].lon = lanes::lane(lambda, k);
        pts[k].lat = lanes::lane(phi, k);
        pts[k].gridScale = lanes::lane(gridScale, k);
    }
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
    lambertForwardOf<double>(c, a, zone, &pt);
}

void lambertForward(const LambertConstants& c, double a, const zoneCnstnt& zone, geodCoord (&pts)[4])
{
    lambertForwardOf<Lanes4>(c, a, zone, pts);
}

void lambertInverse(const LambertConstants& c, double a, const zoneCnstnt& zone, geodCoord& pt)
{
    lambertInverseOf<double>(c, a, zone, &pt);
}

void lambertInverse(const LambertConstants& c, double a, const zoneCnstnt& zone, geodCoord (&pts)[4])
{
    lambertInverseOf<Lanes4>(c, a, zone, pts);
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
