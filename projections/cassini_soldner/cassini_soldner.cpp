// Cassini-Soldner on the ellipsoid, in the series form of the USGS map projection manual:
// the forward series is truncated after the fifth power of A, the inverse after the fifth
// power of D, which leaves about 3 mm at 3 degrees from the central meridian. Every input
// and parameter is range-checked into a word of error bits (kelvane/cassini_soldner.h).
#include "projections/cassini_soldner/cassini_soldner.h"

#include <cmath>
#include <cstring>

#include "core/ellipsoid_terms.h"
#include "core/math_constants.h"
#include "kelvane/cassini_soldner.h"

namespace kelvane {
namespace {

// The one module-wide parameter set: the exported conversions rebuild it on every call,
// which is why they are not safe for concurrent use.
CassiniParameters gParams{};

const double kFourDegrees = 0.06981317007977318;  // the warning distance from the central meridian
const double kLimitLatitude = 0.5410520681182421; // 31 degrees, where the northing limits are taken
const double kPoleWindow = 1e-5;                  // a footpoint this close to a pole is the pole

double meridianArc(const CassiniParameters& p, double phi)
{
    return p.a * (p.c0 * phi - p.c1 * std::sin(2.0 * phi) + p.c2 * std::sin(4.0 * phi) - p.c3 * std::sin(6.0 * phi));
}

// Inside lo..hi; false for NaN.
bool within(double x, double lo, double hi) { return x >= lo && x <= hi; }

int setupFromRecord(const zoneCnstntCassini& zc)
{
    return cassiniSetup(zc.ell.semiMajor, zc.ell.flattening, zc.originLat, zc.centralMeridian, zc.falseEasting,
                        zc.falseNorthing);
}

} // namespace

const CassiniParameters& cassiniParameters() { return gParams; }

void cassiniProject(const CassiniParameters& p, double phi, double dlambda, double& x, double& y)
{
    const double sinPhi = std::sin(phi);
    const double cosPhi = std::cos(phi);
    const double N = p.a / wOfSine(p.e2, sinPhi);
    const double T = std::tan(phi) * std::tan(phi);
    const double A = dlambda * cosPhi;
    const double C = p.e2 * cosPhi * cosPhi / p.oneMinusE2;
    const double A2 = A * A;
    x = N * (A - T * A2 * A / 6.0 - (8.0 - T + 8.0 * C) * T * A2 * A2 * A / 120.0);
    y = meridianArc(p, phi) - p.M0 + N * std::tan(phi) * (A2 / 2.0 + (5.0 - T + 6.0 * C) * A2 * A2 / 24.0);
}

} // namespace kelvane

using kelvane::CassiniParameters;

int cassiniSetup(double a, double f, double originLat, double centralMeridian, double falseEasting,
                 double falseNorthing)
{
    const double pi = kelvane::pi();
    int word = 0;
    if (!(a > 0.0 && std::isfinite(a))) word |= kvCassiniSemiMajorAxis;
    if (!kelvane::within(1.0 / f, 250.0, 350.0)) word |= kvCassiniFlattening;
    if (!kelvane::within(originLat, -pi / 2.0, pi / 2.0)) word |= kvCassiniOriginLatRange;
    if (!kelvane::within(centralMeridian, -pi, 2.0 * pi)) word |= kvCassiniCentralMeridianRange;
    if (!std::isfinite(falseEasting) || !std::isfinite(falseNorthing)) word |= kvCassiniBadArgument;
    if (word != 0) return word;

    // The set is rebuilt on every call; rebuilding it from the very same arguments would
    // give the very same set, so that work is skipped (hosts set up from one record per point).
    const double given[6] = {a, f, originLat, centralMeridian, falseEasting, falseNorthing};
    if (kelvane::gParams.a > 0.0 && std::memcmp(given, kelvane::gParams.given, sizeof given) == 0) return 0;

    CassiniParameters p{};
    std::memcpy(p.given, given, sizeof given);
    p.a = a;
    p.f = f;
    p.phi0 = originLat;
    p.lambda0 = centralMeridian > pi ? centralMeridian - 2.0 * pi : centralMeridian;
    p.FE = falseEasting;
    p.FN = falseNorthing;

    p.e2 = kelvane::eSqOfFlattening(f);
    p.e4 = p.e2 * p.e2;
    p.e6 = p.e4 * p.e2;
    p.oneMinusE2 = 1.0 - p.e2;
    p.c0 = 1.0 - p.e2 / 4.0 - 3.0 * p.e4 / 64.0 - 5.0 * p.e6 / 256.0;
    p.c1 = 3.0 * p.e2 / 8.0 + 3.0 * p.e4 / 32.0 + 45.0 * p.e6 / 1024.0;
    p.c2 = 15.0 * p.e4 / 256.0 + 45.0 * p.e6 / 1024.0;
    p.c3 = 35.0 * p.e6 / 3072.0;
    p.M0 = kelvane::meridianArc(p, p.phi0);
    const double rootOneMinusE2 = std::sqrt(1.0 - p.e2);
    const double e1 = (1.0 - rootOneMinusE2) / (1.0 + rootOneMinusE2);
    p.j1 = 3.0 * e1 / 2.0 - 27.0 * std::pow(e1, 3.0) / 32.0;
    p.j2 = 21.0 * e1 * e1 / 16.0 - 55.0 * std::pow(e1, 4.0) / 32.0;
    p.j3 = 151.0 * std::pow(e1, 3.0) / 96.0;
    p.j4 = 1097.0 * std::pow(e1, 4.0) / 512.0;

    // Grid limits: the northings of +-31 degrees half a world from the central meridian,
    // and fixed easting limits that depend on the side the central meridian lies on.
    const double lambda1 = p.lambda0 > 0.0 ? p.lambda0 - pi : (p.lambda0 < 0.0 ? p.lambda0 + pi : pi);
    double x = 0.0;
    kelvane::cassiniProject(p, kelvane::kLimitLatitude, lambda1 - p.lambda0, x, p.maxNorthing);
    kelvane::cassiniProject(p, -kelvane::kLimitLatitude, lambda1 - p.lambda0, x, p.minNorthing);
    if (p.lambda0 > 0.0) {
        p.maxEasting = 19926188.9;
        p.minEasting = -20037508.4;
    } else if (p.lambda0 < 0.0) {
        p.maxEasting = 20037508.4;
        p.minEasting = -19926188.9;
    } else {
        p.maxEasting = 20037508.4;
        p.minEasting = -20037508.4;
    }
    kelvane::gParams = p;
    return 0;
}

int cassiniForward(double lat, double lon, double* easting, double* northing)
{
    const CassiniParameters& p = kelvane::gParams;
    const double pi = kelvane::pi();
    if (!easting || !northing) return kvCassiniBadArgument;
    if (!(p.a > 0.0)) return kvCassiniSemiMajorAxis; // no set-up has succeeded yet
    int word = 0;
    if (!kelvane::within(lat, -pi / 2.0, pi / 2.0)) word |= kvCassiniLatitudeRange;
    if (!kelvane::within(lon, -pi, 2.0 * pi)) word |= kvCassiniLongitudeRange;
    if (word != 0) return word;

    // The warning is judged before the difference is folded into -pi..pi, so a longitude
    // written a turn away from the central meridian's own range (200 degrees against a
    // meridian folded to -160) warns even on the meridian.
    double dlambda = lon - p.lambda0;
    if (std::fabs(dlambda) > kelvane::kFourDegrees) word |= kvCassiniFarFromMeridian;
    if (dlambda > pi) dlambda -= 2.0 * pi;
    if (dlambda < -pi) dlambda += 2.0 * pi;

    double x = 0.0;
    double y = 0.0;
    kelvane::cassiniProject(p, lat, dlambda, x, y);
    *easting = p.FE + x;
    *northing = p.FN + y;
    return word;
}

int cassiniInverse(double easting, double northing, double* lat, double* lon)
{
    const CassiniParameters& p = kelvane::gParams;
    const double pi = kelvane::pi();
    if (!lat || !lon) return kvCassiniBadArgument;
    if (!(p.a > 0.0)) return kvCassiniSemiMajorAxis; // no set-up has succeeded yet
    int word = 0;
    if (!kelvane::within(easting, p.FE + p.minEasting, p.FE + p.maxEasting)) word |= kvCassiniEastingRange;
    // The northing limits carry a tolerance of 0.1 m, the easting limits none.
    if (!kelvane::within(northing, p.FN + p.minNorthing - 0.1, p.FN + p.maxNorthing + 0.1)) {
        word |= kvCassiniNorthingRange;
    }
    if (word != 0) return word;

    const double dy = northing - p.FN;
    const double dx = easting - p.FE;
    const double mu = (p.M0 + dy) / (p.a * p.c0);
    const double phi1 = mu + p.j1 * std::sin(2.0 * mu) + p.j2 * std::sin(4.0 * mu) + p.j3 * std::sin(6.0 * mu) +
                        p.j4 * std::sin(8.0 * mu);

    double phi = 0.0;
    double lambda = p.lambda0;
    const double halfPi = pi / 2.0;
    if (phi1 > halfPi - kelvane::kPoleWindow && phi1 < halfPi + kelvane::kPoleWindow) {
        phi = halfPi;
    } else if (phi1 > -halfPi - kelvane::kPoleWindow && phi1 < -halfPi + kelvane::kPoleWindow) {
        phi = -halfPi;
    } else {
        const double sinPhi1 = std::sin(phi1);
        const double tanPhi1 = std::tan(phi1);
        const double T1 = tanPhi1 * tanPhi1;
        const double w = kelvane::wOfSine(p.e2, sinPhi1);
        const double N1 = p.a / w;
        const double R1 = N1 * p.oneMinusE2 / (w * w);
        const double D = dx / N1;
        const double D2 = D * D;
        const double Q = 1.0 + 3.0 * T1;
        phi = phi1 - (N1 * tanPhi1 / R1) * (D2 / 2.0 - Q * D2 * D2 / 24.0);
        lambda = p.lambda0 + (D - T1 * D2 * D / 3.0 + Q * T1 * D2 * D2 * D / 15.0) / std::cos(phi1);
        phi = std::fmax(-halfPi, std::fmin(halfPi, phi));
        if (lambda > pi) lambda -= 2.0 * pi;
        if (lambda < -pi) lambda += 2.0 * pi;
        lambda = std::fmax(-pi, std::fmin(pi, lambda));
    }
    if (std::fabs(lambda - p.lambda0) > kelvane::kFourDegrees) word |= kvCassiniFarFromMeridian;
    *lat = phi;
    *lon = lambda;
    return word;
}

int latLong2XY_CassiniSoldner(zoneCnstntCassini* zc, geodCoord* pt)
{
    if (!zc || !pt) return kvCassiniBadArgument;
    const int word = kelvane::setupFromRecord(*zc);
    if (word != 0) return word;
    return cassiniForward(pt->lat, pt->lon, &pt->easting, &pt->northing);
}

int XY2latLong2_CassiniSoldner(zoneCnstntCassini* zc, geodCoord* pt)
{
    if (!zc || !pt) return kvCassiniBadArgument;
    const int word = kelvane::setupFromRecord(*zc);
    if (word != 0) return word;
    return cassiniInverse(pt->easting, pt->northing, &pt->lat, &pt->lon);
}
