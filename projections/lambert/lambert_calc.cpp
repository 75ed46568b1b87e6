// Lambert conformal conic in the t-function form of the USGS manual, both ways: the mapping
// radius rho = a F t^n k0 carries the scale factor, and the inverse finds the latitude from t
// by fixed-point iteration. Longitudes are positive east throughout.
#include <cmath>

#include "core/constants_memo.h"
#include "core/batch.h"
#include "core/conformal_t.h"
#include "core/ellipsoid_terms.h"
#include "core/lanes.h"
#include "kelvane/lambert.h"

namespace kelvane {
namespace {

// The formulas of a point are written once on the number type T: double for one point,
// Lanes4 for four side by side (the batch), each lane computing what the scalar code does.

// m(phi) = cos(phi) / sqrt(1 - e^2 sin^2 phi).
template <class T>
T lambertM(T phi, double e2)
{
    return lanes::cos(phi) / W(e2, phi);
}

struct LambertTConstants {
    double e, e2, a, k0;
    double n;    // cone constant
    double F;    // m1 / (n t1^n)
    double rhoF; // scaled mapping radius of the grid origin
};

LambertTConstants lambertTConstants(const ellipsoid& ell, const zoneCnstnt& zone)
{
    LambertTConstants c;
    c.e = ell.ecc;
    c.e2 = c.e * c.e;
    c.a = ell.semiMajor;
    c.k0 = zone.scaleFactor;
    const double phi1 = zone.northParallel;
    const double phi2 = zone.southParallel;
    const double m1 = lambertM(phi1, c.e2);
    const double m2 = lambertM(phi2, c.e2);
    const double t1 = conformalT(phi1, c.e);
    const double t2 = conformalT(phi2, c.e);
    const double tF = conformalT(zone.calcOriginLat, c.e);
    // A tangent cone (one standard parallel) touches at the origin latitude.
    c.n = t1 == t2 ? std::sin(zone.calcOriginLat) : std::log(m1 / m2) / std::log(t1 / t2);
    c.F = m1 / (c.n * std::pow(t1, c.n));
    c.rhoF = c.a * c.F * std::pow(tF, c.n) * c.k0;
    return c;
}

// The constants from this thread's memo of the last few zones, keyed by the exact bits of
// every field they depend on.
const LambertTConstants& cachedLambertTConstants(const ellipsoid& ell, const zoneCnstnt& zone)
{
    thread_local ConstantsMemo<LambertTConstants, 6> memo;
    const double key[6] = {ell.ecc, ell.semiMajor, zone.scaleFactor, zone.northParallel, zone.southParallel,
                           zone.calcOriginLat};
    return memo.get(key, [&] { return lambertTConstants(ell, zone); });
}

// The fixed-point iteration phi = pi/2 - 2 atan(t ((1 - e sin phi)/(1 + e sin phi))^(e/2))
// from the sphere's answer. It contracts by about e^2 a step, so a step below 1e-7 leaves
// the latitude within about 1e-9; it is bounded at 30 steps and then returns the last
// iterate, converged or not (NaN input runs the 30 steps and gives NaN). Points side by
// side run until all have stopped, each keeping the latitude at which it stopped.
constexpr int kMaxLatitudeSteps = 30;
constexpr double kLatitudeStep = 1e-7;

template <class T>
T latitudeOfT(T t, double e)
{
    const double halfPi = 4.0 * std::atan(1.0) / 2.0;
    T phi = halfPi - 2.0 * lanes::atan(t);
    T phiNew = phi;
    for (int i = 0; i < kMaxLatitudeSteps; ++i) {
        const T eSinPhi = e * lanes::sin(phi);
        phiNew = halfPi - 2.0 * lanes::atan(t * lanes::pow((1.0 - eSinPhi) / (1.0 + eSinPhi), e / 2.0));
        if (lanes::settleWithin(phi, phiNew, kLatitudeStep)) break;
    }
    return phiNew;
}

void store(double* out, double v)
{
    if (out) *out = v;
}

// What lambert_calc gives for a point: x and y (easting and northing, or longitude and
// latitude), the scale factor and the convergence.
template <class T>
struct CalcResult {
    T x, y, scale, convergence;
};

// The two directions of lambert_calc on constants derived once: forward from (phi, lambda),
// inverse from (northing, easting).
template <class T>
CalcResult<T> lambertCalcForward(const LambertTConstants& c, const zoneCnstnt& zone, T phi, T lambda)
{
    const T rho = c.a * c.F * lanes::pow(conformalT(phi, c.e), c.n) * c.k0;
    const T theta = c.n * (lambda - zone.centralMeridian);
    return {zone.falseEasting + rho * lanes::sin(theta), zone.falseNorthing + c.rhoF - rho * lanes::cos(theta),
            rho * c.n / (c.a * lambertM(phi, c.e2)), theta};
}

template <class T>
CalcResult<T> lambertCalcInverse(const LambertTConstants& c, const zoneCnstnt& zone, T y, T x)
{
    T yPrime = y - zone.falseNorthing;
    T xPrime = x - zone.falseEasting;
    double rhoF = c.rhoF;
    const T rho = lanes::sqrt(xPrime * xPrime + (rhoF - yPrime) * (rhoF - yPrime)) * (c.n / std::fabs(c.n));
    if (c.n < 0.0) { // a cone opening north: the radii run the other way
        yPrime = -yPrime;
        xPrime = -xPrime;
        rhoF = -rhoF;
    }
    const T theta = lanes::atan(xPrime / (rhoF - yPrime));
    const T t = lanes::pow(rho / (c.a * c.F * c.k0), 1.0 / c.n);
    const T phi = latitudeOfT(t, c.e);
    return {theta / c.n + zone.centralMeridian, phi, rho * c.n / (c.a * lambertM(phi, c.e2)), theta};
}

// lambert_calc on one point: the outputs that are not null, in this order.
void lambertCalcPoint(const LambertTConstants& c, const zoneCnstnt& zone, double y, double x, double* outX,
                      double* outY, double* outScale, double* outConvergence, int direction)
{
    if (direction == 1) {
        const CalcResult<double> r = lambertCalcForward(c, zone, y, x);
        store(outX, r.x);
        store(outY, r.y);
        store(outScale, r.scale);
        store(outConvergence, r.convergence);
    } else {
        const CalcResult<double> r = lambertCalcInverse(c, zone, y, x);
        store(outX, r.x);
        store(outY, r.y);
        store(outConvergence, r.convergence);
        store(outScale, r.scale);
    }
}

} // namespace
} // namespace kelvane

void lambert_calc(ellipsoid* ell, zoneCnstnt* zone, double y, double x, double* outX, double* outY,
                  double* outScale, double* outConvergence, int direction)
{
    if (!ell || !zone) return;
    const kelvane::LambertTConstants& c = kelvane::cachedLambertTConstants(*ell, *zone);
    kelvane::lambertCalcPoint(c, *zone, y, x, outX, outY, outScale, outConvergence, direction);
}

// lambert_calc has no failure: every point's status is 0, and bad input gives NaN. Four
// points at a time are computed side by side.
int lambert_calcBatch(ellipsoid* ell, zoneCnstnt* zone, size_t n, batchIn y, batchIn x, batchOut outX,
                      batchOut outY, batchOut outScale, batchOut outConvergence, int direction, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    if (!ell || !zone) return kvBatchRefused;
    const kelvane::LambertTConstants c = kelvane::lambertTConstants(*ell, *zone);
    // y and x travel in a record's lat and lon, outY and outX in its northing and easting.
    return kelvane::batch::convertGroups<4>(
        n, status, {{y, &geodCoord::lat}, {x, &geodCoord::lon}},
        {{outX, &geodCoord::easting},
         {outY, &geodCoord::northing},
         {outScale, &geodCoord::gridScale},
         {outConvergence, &geodCoord::convergence}},
        2,
        [&](geodCoord(&pts)[4], int(&status4)[4], std::size_t) {
            using kelvane::Lanes4;
            const Lanes4 y4 = kelvane::lanes::gather<Lanes4>([&](int k) { return pts[k].lat; });
            const Lanes4 x4 = kelvane::lanes::gather<Lanes4>([&](int k) { return pts[k].lon; });
            const kelvane::CalcResult<Lanes4> r = direction == 1 ? kelvane::lambertCalcForward(c, *zone, y4, x4)
                                                                 : kelvane::lambertCalcInverse(c, *zone, y4, x4);
            for (int k = 0; k < 4; ++k) {
                pts[k].easting = kelvane::lanes::lane(r.x, k);
                pts[k].northing = kelvane::lanes::lane(r.y, k);
                pts[k].gridScale = kelvane::lanes::lane(r.scale, k);
                pts[k].convergence = kelvane::lanes::lane(r.convergence, k);
                status4[k] = 0;
            }
        },
        [&](geodCoord& pt, std::size_t) {
            kelvane::lambertCalcPoint(c, *zone, pt.lat, pt.lon, &pt.easting, &pt.northing, &pt.gridScale,
                                      &pt.convergence, direction);
            return 0;
        });
}
