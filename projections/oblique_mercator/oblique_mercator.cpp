// Hotine oblique Mercator on zone constants, in the closed form of the state plane 1983
// manual for Alaska zone 1. (u, v) are measured along and across the central line from
// the natural origin; they are rotated by the azimuth of the central line into northing
// and easting. Neither direction iterates.
#include "projections/oblique_mercator/oblique_mercator.h"

#include <cmath>

#include "core/constants_memo.h"
#include "core/trig_series.h"
#include "kelvane/oblique_mercator.h"
#include "projections/oblique_mercator/om_proj_center.h"

namespace kelvane {
namespace {

// Convergence and point scale factor, the same expressions in both directions. S and T are
// sinh and cosh of B*Q + H0, L the aposphere longitude from the natural origin.
void omScaleAndConvergence(const ObliqueMercatorConstants& c, double alphaC, double phi, double u,
                           double S, double T, double L, geodCoord* pt)
{
    pt->convergence =
        std::atan((c.sinAlpha0 - S * c.cosAlpha0 * std::sin(L)) / (T * c.cosAlpha0 * std::cos(L))) - alphaC;
    pt->gridScale = c.F * W(c.e2, phi) * std::cos(u / c.D) /
                    (std::cos(phi) * std::cos(L));
}

// The series from conformal latitude chi to latitude:
// phi = chi + sin(chi)cos(chi)(G1 + G2 cos^2 chi + G3 cos^4 chi + G4 cos^6 chi).
TrigSeries conformalSeries(double e2, double e)
{
    const double e4 = std::pow(e, 4.0);
    const double e6 = std::pow(e, 6.0);
    const double e8 = std::pow(e, 8.0);
    const ConformalLatitudeSeries s = conformalLatitudeSeries(e2, e4, e6, e8);
    return foldSineMultiples(s.c2, s.c4, s.c6, s.c8);
}

} // namespace

TrigSeries omConformalSeries(const ObliqueMercatorConstants& c) { return conformalSeries(c.e2, c.e); }

ObliqueMercatorZone obliqueMercatorZone(const ellipsoid& ell, const zoneCnstnt& zone)
{
    ObliqueMercatorZone z;
    z.forward = obliqueMercatorConstantsForward(ell, zone);
    z.inverse = obliqueMercatorConstantsInverse(ell, zone);
    z.conformal = omConformalSeries(z.inverse);
    return z;
}

const ObliqueMercatorZone& cachedObliqueMercatorZone(const ellipsoid& ell, const zoneCnstnt& zone)
{
    thread_local ConstantsMemo<ObliqueMercatorZone, 7> memo;
    const double key[7] = {ell.semiMajor,   ell.semiMinor,  ell.ecc,         zone.originLat,
                           zone.originLon, zone.centralMeridian, zone.scaleFactor};
    return memo.get(key, [&] { return obliqueMercatorZone(ell, zone); });
}

void omForward(const ObliqueMercatorConstants& c, const zoneCnstnt& zone, geodCoord& pt)
{
    const double alphaC = zone.centralMeridian;
    const double phi = pt.lat;

    const double L = c.B * (pt.lon - c.lambda0);
    const double Q = isometricLatitude(phi, c.e);
    const double S = std::sinh(c.B * Q + c.H0);
    const double T = std::cosh(c.B * Q + c.H0);
    const RectifiedUV uv = rectifiedUV(c, S, T, L);
    const double u = uv.u;
    const double v = uv.v;

    pt.northing = u * std::cos(alphaC) - v * std::sin(alphaC) + zone.falseNorthing;
    pt.easting = u * std::sin(alphaC) + v * std::cos(alphaC) + zone.falseEasting;
    omScaleAndConvergence(c, alphaC, phi, u, S, T, L, &pt);
}

void omInverse(const ObliqueMercatorConstants& c, const TrigSeries& g, const zoneCnstnt& zone, geodCoord& pt)
{
    const double alphaC = zone.centralMeridian;
    const double dN = pt.northing - zone.falseNorthing;
    const double dE = pt.easting - zone.falseEasting;

    const double u = dN * std::cos(alphaC) + dE * std::sin(alphaC);
    const double v = dE * std::cos(alphaC) - dN * std::sin(alphaC);
    const double Sv = std::sinh(v / c.D);
    const double Tv = std::cosh(v / c.D);
    const double su = std::sin(u / c.D);
    const double Q = (0.5 * std::log((Tv - c.sinAlpha0 * Sv + c.cosAlpha0 * su) /
                                     (Tv + c.sinAlpha0 * Sv - c.cosAlpha0 * su)) -
                      c.H0) /
                     c.B;
    const double expQ = std::exp(Q);
    const double chi = 2.0 * std::atan((expQ - 1.0) / (expQ + 1.0));
    const double phi = evaluateNested(g, chi);
    const double lambda = c.lambda0 - std::atan((Sv * c.cosAlpha0 + su * c.sinAlpha0) / std::cos(u / c.D)) / c.B;

    const double S = std::sinh(c.B * Q + c.H0);
    const double T = std::cosh(c.B * Q + c.H0);
    const double L = c.B * (lambda - c.lambda0);
    pt.lat = phi;
    pt.lon = lambda;
    omScaleAndConvergence(c, alphaC, phi, u, S, T, L, &pt);
}

} // namespace kelvane

int geod2OM(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt)
{
    if (!ell || !zone || !pt) return 1;
    if (ell->semiMinor == 0.0 || ell->semiMajor == 0.0) return 1;
    kelvane::omForward(kelvane::cachedObliqueMercatorZone(*ell, *zone).forward, *zone, *pt);
    return 0;
}

int OM2Geod(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt)
{
    if (!ell || !zone || !pt) return 1; // the only refusal: the formulas themselves test nothing
    const kelvane::ObliqueMercatorZone& z = kelvane::cachedObliqueMercatorZone(*ell, *zone);
    kelvane::omInverse(z.inverse, z.conformal, *zone, *pt);
    return 0;
}

// Arc-to-chord correction T of a line from p1 to p2, at p1: the angle between the projected
// geodesic (the arc) and the straight grid line (the chord), in the form of the state plane
// 1983 manual. A null pointer is refused with 1, writing nothing. Both points in (u, v) of
// the rectified grid at the line's mean latitude, the correction from the across-line offsets weighted two to one towards p1.
// Each point keeps its own longitude but takes the line's mean latitude, as the form is
// defined; it is kept so deliberately, although it gives two to three times less than the
// geometric correction of the line (the sign is right, and a line along a meridian gets
// none).
int omArcToChord(ellipsoid* ell, zoneCnstnt* zone, geodCoord* p1, geodCoord* p2, double* result)
{
    if (!ell || !zone || !p1 || !p2 || !result) return 1;
    const kelvane::ObliqueMercatorConstants& c = kelvane::cachedObliqueMercatorZone(*ell, *zone).forward;

    const double phiM = (p1->lat + p2->lat) / 2.0;
    const double qM = kelvane::isometricLatitude(phiM, c.e);
    const double S = std::sinh(c.B * qM + c.H0);
    const double Tp = std::cosh(c.B * qM + c.H0);

    const kelvane::RectifiedUV uv1 = kelvane::rectifiedUV(c, S, Tp, c.B * (p1->lon - c.lambda0));
    const kelvane::RectifiedUV uv2 = kelvane::rectifiedUV(c, S, Tp, c.B * (p2->lon - c.lambda0));

    *result = (uv1.u - uv2.u) * (2.0 * uv1.v + uv2.v) / (6.0 * c.D * c.D);
    return 0;
}
