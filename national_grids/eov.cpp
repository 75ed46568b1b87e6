// The Hungarian EOV grid: WGS84 <-> HD72 by a caller-supplied seven-parameter shift, and
// the oblique cylindrical projection of the Gauss sphere of IUGG 1967. Every constant is
// kept as the grid's definition states it, digit for digit.
#include "kelvane/eov.h"

#include <cmath>
#include <initializer_list>

#include "core/math_constants.h"
#include "geocentric/geocentric_internal.h"
#include "kelvane/core.h"
#include "national_grids/eov_internal.h"

namespace kelvane::eov {

namespace {

// An ellipsoid as Bowring's method takes it.
struct BowringEllipsoid {
    double a;
    double e2;        // first eccentricity squared
    double oneMinusF; // 1 - f = b/a
    double e2a;       // e^2 * a
};

// IUGG 1967, the ellipsoid of HD72.
constexpr BowringEllipsoid kIugg67 = {6378160.0, 0.00669460535691779, 0.996647076272781,
                                      42699.2641032788};
constexpr double kIugg67OneMinusE2 = 0.9933053946430822;

// WGS84 of the forward direction (set up from a and f) and of the inverse (given by b^2,
// e^2 and e^2*a). The two differ in the last digits; each direction keeps its own.
constexpr double kWgs84A = 6378137.0;
constexpr double kWgs84F = 0.00335281066475;
constexpr double kWgs84BSquared = 40408299981544.36;
constexpr double kWgs84E2 = 0.0066943800667647;
constexpr double kWgs84E2A = 42697.67319589441;

constexpr double kLambda0 = 0.332460295324692;  // central meridian, rad
constexpr double kN = 1.0007197049;             // sphere longitude factor
constexpr double kPhi0Prime = 0.822050077689329; // latitude of the oblique axis, rad (47 deg 06')
constexpr double kR = 6379743.001;               // sphere radius, m
constexpr double kK0 = 0.99993;
constexpr double kRk0 = 6379296.41898993; // R * k0 as the forward direction uses it
constexpr double kFalseEasting = 650000.0;
constexpr double kFalseNorthing = 200000.0;
constexpr double kRho = 206264.806247; // arc-seconds per radian

// Latitude series in arc-seconds from the origin: ellipsoid -> sphere and back.
constexpr double kToSphere[3] = {0.99844601, 2.4323e-08, -5.3e-15};
constexpr double kToEllipsoid[3] = {1.00155641, -2.4436e-08, 6.5e-15};

double series(const double (&c)[3], double delta)
{
    return c[0] * delta + c[1] * delta * delta + c[2] * delta * delta * delta;
}

// Seven parameters as given by the caller (m, arc-seconds, ppm).
struct Shift {
    double dx, dy, dz, rx, ry, rz, ds;
    Shift negated() const { return {-dx, -dy, -dz, -rx, -ry, -rz, -ds}; }
};

// (X', Y', Z') = m * M * (X, Y, Z) + (dx, dy, dz), every row from the unshifted vector,
// with M the exact rotation of the three angles and m = 1 + ds/1e6.
void applyShift(const Shift& s, double& X, double& Y, double& Z)
{
    const double toRad = 1.0 / 3600.0 / 180.0 * kelvane::pi();
    const double rx = s.rx * toRad, ry = s.ry * toRad, rz = s.rz * toRad;
    const double cx = std::cos(rx), sx = std::sin(rx);
    const double cy = std::cos(ry), sy = std::sin(ry);
    const double cz = std::cos(rz), sz = std::sin(rz);
    const double m = 1.0 + s.ds / 1000000.0;
    const double x = X, y = Y, z = Z;
    X = m * (cy * cz * x + cy * sz * y - sy * z) + s.dx;
    Y = m * ((sx * sy * cz - cx * sz) * x + (sx * sy * sz + cx * cz) * y + sx * cy * z) + s.dy;
    Z = m * ((cx * sy * cz + sx * sz) * x + (cx * sy * sz - sx * cz) * y + cx * cy * z) + s.dz;
}

// Geocentric -> geographic by Bowring's method, without iteration. The longitude is
// atan(Y/X), right only for X > 0 (the callers refuse the rest).
void bowring(const BowringEllipsoid& e, double X, double Y, double Z, double& phi, double& lambda,
             double& h)
{
    const double p = std::pow(X * X + Y * Y, 0.5);
    const double r = std::pow(p * p + Z * Z, 0.5);
    const double u = std::atan((Z / p) * (e.e2a / r + e.oneMinusF));
    const double su = std::sin(u), cu = std::cos(u);
    phi = std::atan((Z * e.oneMinusF + e.e2a * su * su * su) / (e.oneMinusF * (p - e.e2a * cu * cu * cu)));
    lambda = std::atan(Y / X);
    const double sphi = std::sin(phi);
    h = p * std::cos(phi) + Z * sphi - e.a * std::pow(1.0 - e.e2 * sphi * sphi, 0.5);
}

bool allFinite(std::initializer_list<double> values)
{
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

} // namespace

double sphereLatitude(double phi)
{
    const double delta = (phi - kPhi0) * kRho;
    return kPhiS0 + series(kToSphere, delta) / kRho;
}

void projectToEov(double phi, double lambda, double& Y, double& X)
{
    const double phiS = sphereLatitude(phi);
    const double lambdaS = kN * (lambda - kLambda0);
    const double s = std::sin(phiS) * std::cos(kPhi0Prime) - std::cos(phiS) * std::sin(kPhi0Prime) * std::cos(lambdaS);
    const double phiPP = std::atan(s / std::sqrt(1.0 - s * s));
    const double t = std::cos(phiS) * std::sin(lambdaS) / std::cos(phiPP);
    const double lambdaPP = std::atan(t / std::sqrt(1.0 - t * t));
    const double quarterPi = std::atan(1.0) * 4.0 / 4.0;
    X = kRk0 * std::log(std::tan(quarterPi + phiPP / 2.0)) + kFalseNorthing;
    Y = kRk0 * lambdaPP + kFalseEasting;
}

void unprojectFromEov(double Y, double X, double& phi, double& lambda)
{
    const double quarterPi = std::atan(1.0) * 4.0 / 4.0;
    const double phiPP = 2.0 * (std::atan(std::exp((X - kFalseNorthing) / kR / kK0)) - quarterPi);
    const double lambdaPP = (Y - kFalseEasting) / kR / kK0;
    const double s = std::sin(phiPP) * std::cos(kPhi0Prime) + std::cos(phiPP) * std::sin(kPhi0Prime) * std::cos(lambdaPP);
    const double phiS = std::atan(s / std::sqrt(1.0 - s * s));
    const double t = std::cos(phiPP) * std::sin(lambdaPP) / std::cos(phiS);
    const double lambdaS = std::atan(t / std::sqrt(1.0 - t * t));
    const double delta = (phiS - kPhiS0) * kRho;
    phi = kPhi0 + series(kToEllipsoid, delta) / kRho;
    lambda = lambdaS / kN + kLambda0;
}

} // namespace kelvane::eov

using namespace kelvane::eov;

int latLongWGS84ToXY_EOV(double lat, double lon, double h, double dx, double dy, double dz, double rx,
                         double ry, double rz, double ds, double* y, double* x, double* hOut)
{
    if (!y || !x || !hOut) return 1;
    if (!allFinite({lat, lon, h, dx, dy, dz, rx, ry, rz, ds})) return 1;
    if (std::fabs(lat) > 0.5 * kelvane::pi()) return 1;

    ellipsoid wgs84;
    initEllipsoid(&wgs84, kWgs84A, kWgs84F);
    double X, Y, Z;
    kelvane::geocentric::toCartesian(wgs84.semiMajor, wgs84.semiMinor, lat, lon, h, X, Y, Z);
    applyShift({dx, dy, dz, rx, ry, rz, ds}, X, Y, Z);
    if (!(X > 0.0)) return 1;

    double phi, lambda, height, eovY, eovX;
    bowring(kIugg67, X, Y, Z, phi, lambda, height);
    projectToEov(phi, lambda, eovY, eovX);
    if (!allFinite({eovY, eovX, height})) return 1;
    *y = eovY;
    *x = eovX;
    *hOut = height;
    return 0;
}

int EOV_XYToLatLongWGS84(double y, double x, double h, double dx, double dy, double dz, double rx,
                         double ry, double rz, double ds, double* lat, double* lon, double* hOut)
{
    if (!lat || !lon || !hOut) return 1;
    if (!allFinite({y, x, h, dx, dy, dz, rx, ry, rz, ds})) return 1;

    double phi, lambda;
    unprojectFromEov(y, x, phi, lambda);
    const double sphi = std::sin(phi);
    const double N = kIugg67.a / std::sqrt(1.0 - kIugg67.e2 * sphi * sphi);
    double X = (N + h) * std::cos(phi) * std::cos(lambda);
    double Y = (N + h) * std::cos(phi) * std::sin(lambda);
    double Z = (N * kIugg67OneMinusE2 + h) * sphi;
    applyShift(Shift{dx, dy, dz, rx, ry, rz, ds}.negated(), X, Y, Z);
    if (!(X > 0.0)) return 1;

    const BowringEllipsoid wgs84 = {kWgs84A, kWgs84E2, std::sqrt(kWgs84BSquared) / kWgs84A, kWgs84E2A};
    double latitude, longitude, height;
    bowring(wgs84, X, Y, Z, latitude, longitude, height);
    if (!allFinite({latitude, longitude, height})) return 1;
    *lat = latitude;
    *lon = longitude;
    *hOut = height;
    return 0;
}
