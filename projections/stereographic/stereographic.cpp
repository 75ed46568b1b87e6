// Oblique (double) stereographic through the Gauss conformal sphere: forward in closed
// form, inverse latitude by Newton's method on the conformal-latitude equation.
#include "projections/stereographic/stereographic.h"

#include <cmath>
#include <initializer_list>
#include <limits>

#include "kelvane/stereographic.h"

namespace kelvane {
namespace {

constexpr int kMaxNewtonSteps = 30;
constexpr double kNewtonTolerance = 1e-7; // rad; the step before it has left ~1e-14 rad

// The latitude whose conformal latitude is chi: Newton's method on
// g(phi) = K*exp(n*q(phi)) - tan(pi/4 + chi/2), started at phi = chi. Convergence is
// quadratic, so the stop at a step below 1e-7 rad leaves rounding only.
double latitudeOfConformal(const GaussSphere& s, double chi)
{
    const double e2 = eSqOfEcc(s.e);
    const double target = std::tan(pi() / 4.0 + chi / 2.0);
    double phi = chi;
    for (int step = 0; step < kMaxNewtonSteps; ++step) {
        const double sinPhi = std::sin(phi);
        const double w = s.K * std::exp(s.n * isometricLatitude(phi, s.e));
        const double g = w - target;
        // d/dphi of K*exp(n*q): n*K*exp(n*q) * dq/dphi, dq/dphi = (1 - e2)/((1 - e2 sin^2) cos).
        const double gPrime = s.n * w * (1.0 - e2) / (wSqOfSine(e2, sinPhi) * std::cos(phi));
        const double next = phi - g / gPrime;
        const bool done = std::fabs(next - phi) < kNewtonTolerance;
        phi = next;
        if (done) break;
    }
    return phi;
}

// Convergence and point scale factor of a point with conformal latitude chi and sphere
// longitude Lambda, at grid offsets dN, dE from the false origin.
void convergenceAndScale(const StereographicConstants& c, double chi, double Lambda, double dN, double dE,
                         geodCoord& pt)
{
    const double sinChi = std::sin(chi);
    pt.convergence = std::atan(std::sin(Lambda) * (sinChi + c.sinChi0) /
                               (std::cos(chi) * c.cosChi0 + (1.0 + sinChi * c.sinChi0) * std::cos(Lambda)));
    pt.gridScale = c.k0 + (dN * dN + dE * dE) / (4.0 * c.k0 * c.R * c.R);
}

void markUnmapped(geodCoord& pt, bool forward)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    (forward ? pt.northing : pt.lat) = nan;
    (forward ? pt.easting : pt.lon) = nan;
    pt.convergence = nan;
    pt.gridScale = nan;
}

bool allFinite(std::initializer_list<double> xs)
{
    for (double x : xs) {
        if (!std::isfinite(x)) return false;
    }
    return true;
}

void forward(const StereographicConstants& c, geodCoord& pt)
{
    const double phi = pt.lat;
    const double lambda = pt.lon;
    if (!(std::fabs(phi) <= pi() / 2.0) || !std::isfinite(lambda)) return markUnmapped(pt, true);
    const double chi = conformalLatitude(c.sphere, phi);
    const double Lambda = c.sphere.n * (lambda - c.lambda0);
    const double sinChi = std::sin(chi);
    const double cosChi = std::cos(chi);
    const double B = 1.0 + sinChi * c.sinChi0 + cosChi * c.cosChi0 * std::cos(Lambda);
    const double scale = 2.0 * c.k0 * c.R / B; // B = 0 only at the point opposite the centre
    const double dN = scale * (sinChi * c.cosChi0 - cosChi * c.sinChi0 * std::cos(Lambda));
    const double dE = scale * cosChi * std::sin(Lambda);
    if (!(B > 0.0) || !allFinite({dN, dE})) return markUnmapped(pt, true);
    pt.northing = c.FN + dN;
    pt.easting = c.FE + dE;
    convergenceAndScale(c, chi, Lambda, dN, dE, pt);
}

void inverse(const StereographicConstants& c, geodCoord& pt)
{
    const double dN = pt.northing - c.FN;
    const double dE = pt.easting - c.FE;
    if (!allFinite({dN, dE})) return markUnmapped(pt, false);
    const double x = dE / c.k0;
    const double y = dN / c.k0;
    const double rho = std::hypot(x, y);
    if (rho == 0.0) {
        // The centre itself, where y/rho and x/rho are 0/0: the answer is the centre.
        pt.lat = c.phi0;
        pt.lon = c.lambda0;
        pt.convergence = 0.0;
        pt.gridScale = c.k0;
        return;
    }
    const double cosC = std::cos(2.0 * std::atan(rho / (2.0 * c.R)));
    const double sinC = std::sin(2.0 * std::atan(rho / (2.0 * c.R)));
    const double chi = asinOfSphereSine(cosC * c.sinChi0 + sinC * c.cosChi0 * y / rho);
    const double lambda = (c.sphere.n * c.lambda0 + asinOfSphereSine(sinC * (x / rho) / std::cos(chi))) / c.sphere.n;
    const double phi = latitudeOfConformal(c.sphere, chi);
    if (!allFinite({phi, lambda})) return markUnmapped(pt, false);
    pt.lat = phi;
    pt.lon = lambda;
    convergenceAndScale(c, chi, c.sphere.n * (lambda - c.lambda0), dN, dE, pt);
}

} // namespace

StereographicConstants stereographicConstants(const ellipsoid& ell, const zoneCnstnt& zone)
{
    const double a = ell.semiMajor;
    const double e2 = eSqOfEcc(ell.ecc);
    const double phi0 = zone.originLat;
    const double w0 = wSqOfSine(e2, std::sin(phi0));
    const double rho0 = a * (1.0 - e2) / std::pow(w0, 1.5);
    const double nu0 = a / std::pow(w0, 0.5);
    StereographicConstants c;
    c.sphere = gaussSphere(ell.ecc, phi0);
    c.phi0 = phi0;
    c.R = std::sqrt(rho0 * nu0);
    c.sinChi0 = std::sin(c.sphere.chi0);
    c.cosChi0 = std::cos(c.sphere.chi0);
    c.lambda0 = zone.centralMeridian;
    c.k0 = zone.scaleFactor;
    c.FN = zone.falseNorthing;
    c.FE = zone.falseEasting;
    return c;
}

} // namespace kelvane

void stereographic_calc(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt, int direction)
{
    if (!ell || !zone || !pt) return;
    const kelvane::StereographicConstants c = kelvane::stereographicConstants(*ell, *zone);
    const bool usable = c.R > 0.0 && c.k0 > 0.0 && std::fabs(c.phi0) < kelvane::pi() / 2.0 &&
                        kelvane::allFinite({c.R, c.sphere.n, c.sphere.K, c.lambda0, c.k0, c.FN, c.FE});
    if (!usable) return kelvane::markUnmapped(*pt, direction != 0);
    if (direction != 0) {
        kelvane::forward(c, *pt);
    } else {
        kelvane::inverse(c, *pt);
    }
}
