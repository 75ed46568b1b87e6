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
template <class T>
T arcTan(T y, T x, bool quadrantAware)
{
    return quadrantAware ? lanes::atan2(y, x) : lanes::atan(y / x);
}

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

// (The number type is N here: T is the USGS notation's T.)
template <class N>
OmUVOf<N> omProjCenterForwardUV(const OmProjCenterConstants& c, double e, N phi, N lambda, bool quadrantAware)
{
    const N Q = c.H / lanes::pow(conformalT(phi, e), c.B);
    const N S = (Q - 1.0 / Q) / 2.0;
    const N T = (Q + 1.0 / Q) / 2.0;
    const N Bdl = c.B * (lambda - c.lambda0);
    const N V = lanes::sin(Bdl);
    const N U = (-V * c.cosGamma0 + S * c.sinGamma0) / T;

    OmUVOf<N> r;
    r.cosBdl = lanes::cos(Bdl);
    r.v = c.A * lanes::log((1.0 - U) / (1.0 + U)) / (2.0 * c.B);
    r.un = (c.A / c.B) * arcTan(S * c.cosGamma0 + V * c.sinGamma0, r.cosBdl, quadrantAware);
    return r;
}

template <class N>
OmChiLambdaOf<N> omProjCenterInverseChiLambda(const OmProjCenterConstants& c, N u, N v, bool quadrantAware)
{
    const double halfPi = 4.0 * std::atan(1.0) / 2.0;
    const N Q = lanes::exp(-c.B * v / c.A);
    const N S = (Q - 1.0 / Q) / 2.0;
    const N T = (Q + 1.0 / Q) / 2.0;
    const N Bu = c.B * u / c.A;
    const N V = lanes::sin(Bu);
    const N U = (V * c.cosGamma0 + S * c.sinGamma0) / T;
    const N t = lanes::pow(c.H / lanes::sqrt((1.0 + U) / (1.0 - U)), 1.0 / c.B);

    OmChiLambdaOf<N> r;
    r.chi = halfPi - 2.0 * lanes::atan(t);
    r.lambda = c.lambda0 - arcTan(S * c.cosGamma0 - V * c.sinGamma0, lanes::cos(Bu), quadrantAware) / c.B;
    return r;
}

template OmUVOf<double> omProjCenterForwardUV(const OmProjCenterConstants&, double, double, double, bool);
template OmUVOf<Lanes2> omProjCenterForwardUV(const OmProjCenterConstants&, double, Lanes2, Lanes2, bool);
template OmChiLambdaOf<double> omProjCenterInverseChiLambda(const OmProjCenterConstants&, double, double, bool);
template OmChiLambdaOf<Lanes2> omProjCenterInverseChiLambda(const OmProjCenterConstants&, Lanes2, Lanes2, bool);

ConformalLatitudeSeries conformalLatitudeSeries(double e2, double e4, double e6, double e8)
{
    return {e2 / 2.0 + 5.0 * e4 / 24.0 + e6 / 12.0 + 13.0 * e8 / 360.0,
            7.0 * e4 / 48.0 + 29.0 * e6 / 240.0 + 811.0 * e8 / 11520.0,
            7.0 * e6 / 120.0 + 81.0 * e8 / 1120.0, 4279.0 * e8 / 161280.0};
}

namespace {

// Point scale factor from the forward half at (phi, un).
template <class T>
T omProjCenterScale(const OmProjCenterConstants& c, const ellipsoid& ell, T phi, const OmUVOf<T>& uv)
{
    return c.A * lanes::cos(c.B * uv.un / c.A) * W(ell.eccSq, phi) / (ell.semiMajor * lanes::cos(phi) * uv.cosBdl);
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

// The grid coordinates and scale of a point, or its geographic coordinates and scale: one
// point (T = double) or two side by side (T = Lanes2).
template <class T>
struct OmPoint {
    T x, y, gridScale; // northing and easting, or latitude and longitude
};

template <class T>
OmPoint<T> omProjCenterForward(const OmProjCenterGrid& g, const zoneCnstntObliqueMerc& zone, T phi, T lambda)
{
    const kelvane::OmProjCenterConstants& c = g.c;
    const kelvane::OmUVOf<T> uv = kelvane::omProjCenterForwardUV(c, zone.ell.ecc, phi, lambda, c.eastWest);
    const T u = uv.un - c.uc;
    return {u * g.cosGammaC - uv.v * g.sinGammaC + zone.falseNorthing,
            uv.v * g.cosGammaC + u * g.sinGammaC + zone.falseEasting, kelvane::omProjCenterScale(c, zone.ell, phi, uv)};
}

template <class T>
OmPoint<T> omProjCenterInverse(const OmProjCenterGrid& g, const zoneCnstntObliqueMerc& zone, T northing, T easting)
{
    const double e = zone.ell.ecc;
    const kelvane::OmProjCenterConstants& c = g.c;
    const T dE = easting - zone.falseEasting;
    const T dN = northing - zone.falseNorthing;
    const T v = dE * g.cosGammaC - dN * g.sinGammaC;
    const T u = dN * g.cosGammaC + dE * g.sinGammaC + c.uc;

    const kelvane::OmChiLambdaOf<T> cl = kelvane::omProjCenterInverseChiLambda(c, u, v, c.eastWest);
    const kelvane::ConformalLatitudeSeries& s = g.s;
    const T chi = cl.chi;
    const T phi = chi + kelvane::trigSeries2468(s.c2, s.c4, s.c6, s.c8, chi);
    const kelvane::OmUVOf<T> uv = kelvane::omProjCenterForwardUV(c, e, phi, cl.lambda, c.eastWest);
    return {phi, cl.lambda, kelvane::omProjCenterScale(c, zone.ell, phi, uv)};
}

// Stores lane k of a result in the point's fields x and y and its scale; the convergence
// is not computed, and written as 0.
template <class T>
void store(const OmPoint<T>& r, int k, double geodCoord::*x, double geodCoord::*y, geodCoord& point)
{
    point.*x = kelvane::lanes::lane(r.x, k);
    point.*y = kelvane::lanes::lane(r.y, k);
    point.gridScale = kelvane::lanes::lane(r.gridScale, k);
    point.convergence = 0.0;
}

// One point, or two side by side, in the direction that project (omProjCenterForward or
// omProjCenterInverse) takes from the fields in (in0, in1) to the fields out (out0, out1).
// Points with a NaN or an infinity among the inputs go one at a time.
struct OmDirection {
    double geodCoord::*in0, geodCoord::*in1, geodCoord::*out0, geodCoord::*out1;
};
constexpr OmDirection kOmForward{&geodCoord::lat, &geodCoord::lon, &geodCoord::northing, &geodCoord::easting};
constexpr OmDirection kOmInverse{&geodCoord::northing, &geodCoord::easting, &geodCoord::lat, &geodCoord::lon};

template <class Project>
void convertOne(const OmDirection& d, Project project, geodCoord& point)
{
    store(project(point.*d.in0, point.*d.in1), 0, d.out0, d.out1, point);
}

template <class Project>
void convertPair(const OmDirection& d, Project project, geodCoord* pts)
{
    if (!kelvane::lanes::pairable(pts[0].*d.in0, pts[0].*d.in1, pts[1].*d.in0, pts[1].*d.in1)) {
        for (int k = 0; k < 2; ++k) convertOne(d, project, pts[k]);
        return;
    }
    const auto r = project(kelvane::Lanes2{pts[0].*d.in0, pts[1].*d.in0}, kelvane::Lanes2{pts[0].*d.in1, pts[1].*d.in1});
    for (int k = 0; k < 2; ++k) store(r, k, d.out0, d.out1, pts[k]);
}

} // namespace

int latLong2XY_OMProjCenter(zoneCnstntObliqueMerc zone, geodCoord* point)
{
    if (!point) return 1;
    const OmProjCenterGrid& g = cachedOmProjCenterGrid(zone);
    convertOne(kOmForward, [&](double phi, double lambda) { return omProjCenterForward(g, zone, phi, lambda); }, *point);
    return 0;
}

int XY2latLong_OMProjCenter(zoneCnstntObliqueMerc zone, geodCoord* point)
{
    if (!point) return 1;
    const OmProjCenterGrid& g = cachedOmProjCenterGrid(zone);
    convertOne(kOmInverse, [&](double n, double e) { return omProjCenterInverse(g, zone, n, e); }, *point);
    return 0;
}

namespace {

// A batch in direction d: two points at a time side by side, the last one alone. Neither
// direction fails for a point: every status is 0, and bad input gives NaN.
template <class Points, class Project, class... Columns>
int convertBatch(const OmDirection& d, Points points, Project project, size_t n, int* status, Columns... columns)
{
    return points(
        n, status, columns..., [&](geodCoord* pts, int* s, std::size_t) {
            convertPair(d, project, pts);
            s[0] = s[1] = 0;
        },
        [&](geodCoord& pt, std::size_t) {
            convertOne(d, project, pt);
            return 0;
        });
}

} // namespace

int latLong2XY_OMProjCenterBatch(const zoneCnstntObliqueMerc* zone, size_t n, batchIn lat, batchIn lon,
                                 batchOut northing, batchOut easting, batchOut gridScale, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    if (!zone) return kvBatchRefused;
    const OmProjCenterGrid g = omProjCenterGrid(*zone);
    return convertBatch(
        kOmForward, [](auto&&... a) { return kelvane::batch::forwardPoints(a...); },
        [&](auto phi, auto lambda) { return omProjCenterForward(g, *zone, phi, lambda); }, n, status, lat, lon,
        northing, easting, gridScale, batchOut{nullptr, 0});
}

int XY2latLong_OMProjCenterBatch(const zoneCnstntObliqueMerc* zone, size_t n, batchIn northing, batchIn easting,
                                 batchOut lat, batchOut lon, batchOut gridScale, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    if (!zone) return kvBatchRefused;
    const OmProjCenterGrid g = omProjCenterGrid(*zone);
    return convertBatch(
        kOmInverse, [](auto&&... a) { return kelvane::batch::inversePoints(a...); },
        [&](auto n, auto e) { return omProjCenterInverse(g, *zone, n, e); }, n, status, northing, easting, lat, lon,
        gridScale, batchOut{nullptr, 0});
}
