// Lambert conformal conic in the t-function form of the USGS manual, both ways: the mapping
// radius rho = a F t^n k0 carries the scale factor, and the inverse finds the latitude from t
// by fixed-point iteration. Longitudes are positive east throughout.
#include <cmath>

#include "core/constants_memo.h"
#include "core/batch.h"
#include "core/conformal_t.h"
#include "core/ellipsoid_terms.h"
#include "kelvane/lambert.h"

namespace kelvane {
namespace {

// m(phi) = cos(phi) / sqrt(1 - e^2 sin^2 phi).
double lambertM(double phi, double e2)
{
    return std::cos(phi) / W(e2, phi);
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
// iterate, converged or not (NaN input runs the 30 steps and gives NaN).
constexpr int kMaxLatitudeSteps = 30;
constexpr double kLatitudeStep = 1e-7;

double latitudeOfT(double t, double e)
{
    const double halfPi = 4.0 * std::atan(1.0) / 2.0;
    double phi = halfPi - 2.0 * std::atan(t);
    double phiNew = phi;
    for (int i = 0; i < kMaxLatitudeSteps; ++i) {
        const double eSinPhi = e * std::sin(phi);
        phiNew = halfPi - 2.0 * std::atan(t * std::pow((1.0 - eSinPhi) / (1.0 + eSinPhi), e / 2.0));
        if (std::fabs(phiNew - phi) < kLatitudeStep) break;
        phi = phiNew;
    }
    return phiNew;
}

void store(double* out, double v)
{
    if (out) *out = v;
}

// The two directions of lambert_calc on constants derived once: forward from (phi, lambda),
// inverse from (northing, easting); each writes the outputs that are not null.
void lambertCalcForward(const LambertTConstants& c, const zoneCnstnt& zone, double phi, double lambda,
                        double* outX, double* outY, double* outScale, double* outConvergence)
{
    const double rho = c.a * c.F * std::pow(conformalT(phi, c.e), c.n) * c.k0;
    const double theta = c.n * (lambda - zone.centralMeridian);
    store(outX, zone.falseEasting + rho * std::sin(theta));
    store(outY, zone.falseNorthing + c.rhoF - rho * std::cos(theta));
    store(outScale, rho * c.n / (c.a * lambertM(phi, c.e2)));
    store(outConvergence, theta);
}

void lambertCalcInverse(const LambertTConstants& c, const zoneCnstnt& zone, double y, double x, double* outX,
                        double* outY, double* outScale, double* outConvergence)
{
    double yPrime = y - zone.falseNorthing;
    double xPrime = x - zone.falseEasting;
    double rhoF = c.rhoF;
    const double rho = std::sqrt(xPrime * xPrime + (rhoF - yPrime) * (rhoF - yPrime)) * (c.n / std::fabs(c.n));
    if (c.n < 0.0) { // a cone opening north: the radii run the other way
        yPrime = -yPrime;
        xPrime = -xPrime;
        rhoF = -rhoF;
    }
    const double theta = std::atan(xPrime / (rhoF - yPrime));
    const double t = std::pow(rho / (c.a * c.F * c.k0), 1.0 / c.n);
    const double phi = latitudeOfT(t, c.e);
    store(outX, theta / c.n + zone.centralMeridian);
    store(outY, phi);
    store(outConvergence, theta);
    store(outScale, rho * c.n / (c.a * lambertM(phi, c.e2)));
}

} // namespace
} // namespace kelvane

void lambert_calc(ellipsoid* ell, zoneCnstnt* zone, double y, double x, double* outX, double* outY,
                  double* outScale, double* outConvergence, int direction)
{
    if (!ell || !zone) return;
    const kelvane::LambertTConstants& c = kelvane::cachedLambertTConstants(*ell, *zone);
    if (direction == 1) {
        kelvane::lambertCalcForward(c, *zone, y, x, outX, outY, outScale, outConvergence);
    } else {
        kelvane::lambertCalcInverse(c, *zone, y, x, outX, outY, outScale, outConvergence);
    }
}

// lambert_calc has no failure: every point's status is 0, and bad input gives NaN.
int lambert_calcBatch(ellipsoid* ell, zoneCnstnt* zone, size_t n, batchIn y, batchIn x, batchOut outX,
                      batchOut outY, batchOut outScale, batchOut outConvergence, int direction, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    if (!ell || !zone) return kvBatchRefused;
    const kelvane::LambertTConstants c = kelvane::lambertTConstants(*ell, *zone);
    // y and x travel in a record's lat and lon, outY and outX in its northing and easting.
    return kelvane::batch::convertRecords(
        n, status, {{y, &geodCoord::lat}, {x, &geodCoord::lon}},
        {{outX, &geodCoord::easting},
         {outY, &geodCoord::northing},
         {outScale, &geodCoord::gridScale},
         {outConvergence, &geodCoord::convergence}},
        2, [&](geodCoord& pt, std::size_t) {
            (direction == 1 ? kelvane::lambertCalcForward : kelvane::lambertCalcInverse)(
                c, *zone, pt.lat, pt.lon, &pt.easting, &pt.northing, &pt.gridScale, &pt.convergence);
            return 0;
        });
}
