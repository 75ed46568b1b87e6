// Krovak oblique conformal conic, basic orientation (X south, Y west): the ellipsoid is
// mapped onto the Gauss conformal sphere of the centre latitude, the sphere is rotated so
// that the cone axis becomes its pole, and the oblique sphere is projected on a cone
// touching the pseudo standard parallel.
#include "national_grids/krovak.h"

#include <cmath>

#include "core/ellipsoid_terms.h"
#include "core/math_constants.h"

namespace kelvane {
namespace {

const double kQuarterPi = std::atan(1.0) * 4.0 / 4.0;

bool finite(double x) { return std::isfinite(x); }

// The latitude whose conformal latitude is U, by fixed-point iteration started at the
// centre latitude. At most three passes are made: within two degrees of latitude of the
// centre this leaves about a centimetre on the ground. A pass that leaves the latitude
// unchanged ends the loop, as every further pass would leave it unchanged too.
double latitudeOfConformal(const KrovakConstants& c, double U)
{
    const double e = c.sphere.e;
    const double B = c.sphere.n;
    const double sphereTerm =
        std::pow(c.sphere.K, -1.0 / B) * std::pow(std::tan(U / 2.0 + kQuarterPi), 1.0 / B);
    double phi = c.phic;
    for (int pass = 0; pass < 3; ++pass) {
        const double esinPhi = e * std::sin(phi);
        const double next =
            2.0 * (std::atan(sphereTerm * std::pow((1.0 + esinPhi) / (1.0 - esinPhi), e / 2.0)) - kQuarterPi);
        if (next == phi) break;
        phi = next;
    }
    return phi;
}

} // namespace

bool krovakConstants(const zoneCnstntKrovakObliqueConic& zone, KrovakConstants& c)
{
    const double a = zone.ellipsoidDef.semiMajor;
    const double e = zone.ellipsoidDef.ecc;
    const double phic = zone.centreLat;
    const double phip = zone.pseudoParallelLat;
    const double kp = zone.pseudoParallelScale;
    const double halfPi = pi() / 2.0;
    if (!(a > 0.0 && finite(a) && e >= 0.0 && e < 1.0 && std::fabs(phic) < halfPi && phip > 0.0 &&
          phip < halfPi && kp > 0.0 && finite(kp) && finite(zone.originLon) && finite(zone.coneAxisColat) &&
          finite(zone.falseNorthing) && finite(zone.falseEasting))) {
        return false;
    }
    const double e2 = eSqOfEcc(e);
    const double A = a * std::pow(1.0 - e2, 0.5) / wSqOfSine(e2, std::sin(phic));
    c.sphere = gaussSphere(e, phic);
    c.phic = phic;
    c.lambda0 = zone.originLon;
    c.sinAlphac = std::sin(zone.coneAxisColat);
    c.cosAlphac = std::cos(zone.coneAxisColat);
    c.n = std::sin(phip);
    c.r0 = kp * A / std::tan(phip);
    c.tanPhipTerm = std::tan(phip / 2.0 + kQuarterPi);
    c.falseNorthing = zone.falseNorthing;
    c.falseEasting = zone.falseEasting;
    return true;
}

} // namespace kelvane

using kelvane::KrovakConstants;

int latLong2XY_KrovakObliqueConic(zoneCnstntKrovakObliqueConic* zone, geodCoord* point)
{
    KrovakConstants c;
    if (!zone || !point || !kelvane::krovakConstants(*zone, c)) return 1;
    const double phi = point->lat;
    const double lambda = point->lon;
    if (!(std::fabs(phi) <= kelvane::pi() / 2.0 && std::fabs(lambda) <= 2.0 * kelvane::pi())) return 1;

    const double U = kelvane::conformalLatitude(c.sphere, phi);
    const double V = c.sphere.n * (c.lambda0 - lambda); // grows westward for east-positive longitudes
    const double T = kelvane::asinOfSphereSine(c.cosAlphac * std::sin(U) + c.sinAlphac * std::cos(U) * std::cos(V));
    const double D = kelvane::asinOfSphereSine(std::cos(U) * std::sin(V) / std::cos(T));
    const double theta = c.n * D;
    const double r =
        c.r0 * std::pow(c.tanPhipTerm, c.n) / std::pow(std::tan(T / 2.0 + kelvane::kQuarterPi), c.n);

    const double Y = r * std::sin(theta);
    const double X = r * std::cos(theta);
    if (!std::isfinite(X) || !std::isfinite(Y)) return 1;
    point->northing = Y + c.falseNorthing;
    point->easting = X + c.falseEasting;
    return 0;
}

int XY2latLong_KrovakObliqueConic(zoneCnstntKrovakObliqueConic* zone, geodCoord* point)
{
    KrovakConstants c;
    if (!zone || !point || !kelvane::krovakConstants(*zone, c)) return 1;
    const double Yp = point->northing - c.falseNorthing;
    const double Xp = point->easting - c.falseEasting;
    if (!std::isfinite(Xp) || !std::isfinite(Yp)) return 1;

    const double rPrime = std::hypot(Xp, Yp);
    // At the apex of the cone (Xp = Yp = 0) the quotient is 0/0; the apex is the pole of
    // the cone axis, where every theta names the same point, so theta = 0 is the answer.
    // Elsewhere on Xp = 0 the quotient is infinite and the arc tangent its limit +-pi/2.
    const double thetaPrime = (Xp == 0.0 && Yp == 0.0) ? 0.0 : std::atan(Yp / Xp);
    const double DPrime = thetaPrime / c.n;
    const double TPrime =
        2.0 * (std::atan(std::pow(c.r0 / rPrime, 1.0 / c.n) * c.tanPhipTerm) - kelvane::kQuarterPi);
    const double UPrime = kelvane::asinOfSphereSine(c.cosAlphac * std::sin(TPrime) -
                                                    c.sinAlphac * std::cos(TPrime) * std::cos(DPrime));
    const double VPrime =
        kelvane::asinOfSphereSine(std::cos(TPrime) * std::sin(DPrime) / std::cos(UPrime));

    const double phi = kelvane::latitudeOfConformal(c, UPrime);
    const double lambda = c.lambda0 - VPrime / c.sphere.n;
    if (!std::isfinite(phi) || !std::isfinite(lambda)) return 1;
    point->lat = phi;
    point->lon = lambda;
    return 0;
}
