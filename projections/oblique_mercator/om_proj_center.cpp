// Hotine oblique Mercator with the grid origin at the projection centre (EPSG variant B):
// zone constants, forward and inverse. Neither direction iterates.
#include "projections/oblique_mercator/om_proj_center.h"

#include <algorithm>
#include <cmath>

#include "core/batch.h"
#include "core/constants_memo.h"
#include "core/conformal_t.h"
#include "core/ellipsoid_terms.h"

namespace kelvane {
namespace {

double clampUnit(double x) { return std::min(1.0, std::max(-1.0, x)); }

// One-argument arc tangent of y/x, or the quadrant-aware one.
double arcTan(double y, double x, bool quadrantAware) { return quadrantAware ? std::atan2(y, x) : std::atan(y / x); }

} // namespace

OmProjCenterConstants omProjCenterZone(const zoneCnstntObliqueMerc& zone, double e, double e2,
                                       double eastWestTol)
{
    const double a = zone.ell.semiMajor;
    const double phiC = zone.centreLat;
    const double alphaC = zone.azimuth;
    const double k0 = zone.scaleFactor;
    const double halfPi = 4.0 * std::atan(1.0) / 2.0;
    const double sinPhiC = std::sin(phiC);
    const double cosPhiC = std::cos(phiC);
    const double sign = signOf(phiC);

    OmProjCenterConstants c;
    c.B = std::sqrt(1.0 + e2 * std::pow(cosPhiC, 4.0) / (1.0 - e2));
    c.A = a * c.B * k0 * std::sqrt(1.0 - e2) / wSqOfSine(e2, sinPhiC);
    c.t0 = conformalT(phiC, e);
    c.D = c.B * std::sqrt(1.0 - e2) / (cosPhiC * wOfSine(e2, sinPhiC));
    const double rootD2m1 = std::sqrt(std::max(c.D * c.D, 1.0) - 1.0); // 0 where D < 1
    c.F = c.D + rootD2m1 * sign;
    c.H = c.F * std::pow(c.t0, c.B);
    c.G = (c.F - 1.0 / c.F) / 2.0;
    c.gamma0 = std::asin(clampUnit(std::sin(alphaC) / c.D));
    c.sinGamma0 = std::sin(c.gamma0);
    c.cosGamma0 = std::cos(c.gamma0);
    c.eastWest = std::fabs(alphaC - halfPi) <= eastWestTol;
    // On an east-west central line G tan(gamma0) is +-1 exactly, where the arc sine is so
    // steep that an ulp of rounding moves lambda0 by 1e-8 rad: its exact value is taken.
    const double asinGTanGamma0 = c.eastWest ? halfPi * sign : std::asin(clampUnit(c.G * std::tan(c.gamma0)));
    c.lambda0 = zone.centreLon - asinGTanGamma0 / c.B;
    c.uc = c.eastWest ? c.A * (zone.centreLon - c.lambda0)
                      : (c.A / c.B) * std::atan(rootD2m1 / std::cos(alphaC)) * sign;
    return c;
}

void omProjCenterConstants(zoneCnstntObliqueMerc zone, double* B, double* A, double* t0, double* D,
                           double* H, double* G, double* gamma0, double* lambda0, double* uc,
                           double* vc, double* F)
{
    const OmProjCenterConstants c = omProjCenterZone(zone, zone.ell.ecc, zone.ell.eccSq, 0.0);
    *B = c.B;
    *A = c.A;
    *t0 = c.t0;
    *D = c.D;
    *H = c.H;
    *G = c.G;
    *gamma0 = c.gamma0;
    *lambda0 = c.lambda0;
    *uc = c.uc;
    *vc = 0.0;
    *F = c.F;
}

OmUV omProjCenterForwardUV(const OmProjCenterConstants& c, double e, double phi, double lambda,
                           bool quadrantAware)
{
    const double Q = c.H / std::pow(conformalT(phi, e), c.B);
    const double S = (Q - 1.0 / Q) / 2.0;
    const double T = (Q + 1.0 / Q) / 2.0;
    const double Bdl = c.B * (lambda - c.lambda0);
    const double V = std::sin(Bdl);
    const double U = (-V * c.cosGamma0 + S * c.sinGamma0) / T;

    OmUV r;
    r.cosBdl = std::cos(Bdl);
    r.v = c.A * std::log((1.0 - U) / (1.0 + U)) / (2.0 * c.B);
    r.un = (c.A / c.B) * arcTan(S * c.cosGamma0 + V * c.sinGamma0, r.cosBdl, quadrantAware);
    return r;
}

OmChiLambda omProjCenterInverseChiLambda(const OmProjCenterConstants& c, double u, double v,
                                         bool quadrantAware)
{
    const double halfPi = 4.0 * std::atan(1.0) / 2.0;
    const double Q = std::exp(-c.B * v / c.A);
    const double S = (Q - 1.0 / Q) / 2.0;
    const double T = (Q + 1.0 / Q) / 2.0;
    const double Bu = c.B * u / c.A;
    const double V = std::sin(Bu);
    const double U = (V * c.cosGamma0 + S * c.sinGamma0) / T;
    const double t = std::pow(c.H / std::sqrt((1.0 + U) / (1.0 - U)), 1.0 / c.B);

    OmChiLambda r;
    r.chi = halfPi - 2.0 * std::atan(t);
    r.lambda = c.lambda0 - arcTan(S * c.cosGamma0 - V * c.sinGamma0, std::cos(Bu), quadrantAware) / c.B;
    return r;
}

ConformalLatitudeSeries conformalLatitudeSeries(double e2, double e4, double e6, double e8)
{
    return {e2 / 2.0 + 5.0 * e4 / 24.0 + e6 / 12.0 + 13.0 * e8 / 360.0,
            7.0 * e4 / 48.0 + 29.0 * e6 / 240.0 + 811.0 * e8 / 11520.0,
            7.0 * e6 / 120.0 + 81.0 * e8 / 1120.0, 4279.0 * e8 / 161280.0};
}

namespace {

// Point scale factor from the forward half at (phi, un).
double omProjCenterScale(const OmProjCenterConstants& c, const ellipsoid& ell, double phi, const OmUV& uv)
{
    return c.A * std::cos(c.B * uv.un / c.A) * W(ell.eccSq, phi) / (ell.semiMajor * std::cos(phi) * uv.cosBdl);
}

} // namespace
} // namespace kelvane

namespace {

// What the free functions derive from their record: the zone constants, the rotation by
// the rectified grid angle and the conformal-latitude series of the ellipsoid.
struct OmProjCenterGrid {
    kelvane::OmProjCenterConstants c;
    double cosGammaC, sinGammaC;
    kelvane::ConformalLatitudeSeries s;
};

OmProjCenterGrid omProjCenterGrid(const zoneCnstntObliqueMerc& zone)
{
    const double e = zone.ell.ecc;
    return {kelvane::omProjCenterZone(zone, e, zone.ell.eccSq, 0.0), std::cos(zone.rectifiedGridAngle),
            std::sin(zone.rectifiedGridAngle),
            kelvane::conformalLatitudeSeries(zone.ell.eccSq, std::pow(e, 4.0), std::pow(e, 6.0), std::pow(e, 8.0))};
}

// The same for one point, from this thread's memo of the last few records, keyed by the
// exact bits of every field it depends on.
const OmProjCenterGrid& cachedOmProjCenterGrid(const zoneCnstntObliqueMerc& zone)
{
    thread_local kelvane::ConstantsMemo<OmProjCenterGrid, 8> memo;
    const double key[8] = {zone.ell.semiMajor, zone.ell.ecc, zone.ell.eccSq, zone.centreLat,
                           zone.centreLon,     zone.azimuth, zone.scaleFactor, zone.rectifiedGridAngle};
    return memo.get(key, [&zone] { return omProjCenterGrid(zone); });
}

void omProjCenterForward(const OmProjCenterGrid& g, const zoneCnstntObliqueMerc& zone, geodCoord& point)
{
    const kelvane::OmProjCenterConstants& c = g.c;
    const kelvane::OmUV uv = kelvane::omProjCenterForwardUV(c, zone.ell.ecc, point.lat, point.lon, c.eastWest);
    const double u = uv.un - c.uc;

    point.easting = uv.v * g.cosGammaC + u * g.sinGammaC + zone.falseEasting;
    point.northing = u * g.cosGammaC - uv.v * g.sinGammaC + zone.falseNorthing;
    point.gridScale = kelvane::omProjCenterScale(c, zone.ell, point.lat, uv);
    point.convergence = 0.0;
}

void omProjCenterInverse(const OmProjCenterGrid& g, const zoneCnstntObliqueMerc& zone, geodCoord& point)
{
    const double e = zone.ell.ecc;
    const kelvane::OmProjCenterConstants& c = g.c;
    const double dE = point.easting - zone.falseEasting;
    const double dN = point.northing - zone.falseNorthing;
    const double v = dE * g.cosGammaC - dN * g.sinGammaC;
    const double u = dN * g.cosGammaC + dE * g.sinGammaC + c.uc;

    const kelvane::OmChiLambda cl = kelvane::omProjCenterInverseChiLambda(c, u, v, c.eastWest);
    const kelvane::ConformalLatitudeSeries& s = g.s;
    const double chi = cl.chi;
    const double phi = chi + kelvane::trigSeries2468(s.c2, s.c4, s.c6, s.c8, chi);
    const kelvane::OmUV uv = kelvane::omProjCenterForwardUV(c, e, phi, cl.lambda, c.eastWest);

    point.lat = phi;
    point.lon = cl.lambda;
    point.gridScale = kelvane::omProjCenterScale(c, zone.ell, phi, uv);
    point.convergence = 0.0;
}

} // namespace

int latLong2XY_OMProjCenter(zoneCnstntObliqueMerc zone, geodCoord* point)
{
    if (!point) return 1;
    omProjCenterForward(cachedOmProjCenterGrid(zone), zone, *point);
    return 0;
}

int XY2latLong_OMProjCenter(zoneCnstntObliqueMerc zone, geodCoord* point)
{
    if (!point) return 1;
    omProjCenterInverse(cachedOmProjCenterGrid(zone), zone, *point);
    return 0;
}

// Neither direction fails for a point: every status is 0, and bad input gives NaN.
int latLong2XY_OMProjCenterBatch(const zoneCnstntObliqueMerc* zone, size_t n, batchIn lat, batchIn lon,
                                 batchOut northing, batchOut easting, batchOut gridScale, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    if (!zone) return kvBatchRefused;
    const OmProjCenterGrid g = omProjCenterGrid(*zone);
    return kelvane::batch::forwardPoints(n, status, lat, lon, northing, easting, gridScale, {nullptr, 0},
                                         [&](geodCoord& pt, std::size_t) {
                                             omProjCenterForward(g, *zone, pt);
                                             return 0;
                                         });
}

int XY2latLong_OMProjCenterBatch(const zoneCnstntObliqueMerc* zone, size_t n, batchIn northing, batchIn easting,
                                 batchOut lat, batchOut lon, batchOut gridScale, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    if (!zone) return kvBatchRefused;
    const OmProjCenterGrid g = omProjCenterGrid(*zone);
    return kelvane::batch::inversePoints(n, status, northing, easting, lat, lon, gridScale, {nullptr, 0},
                                         [&](geodCoord& pt, std::size_t) {
                                             omProjCenterInverse(g, *zone, pt);
                                             return 0;
                                         });
}
