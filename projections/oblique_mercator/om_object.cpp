// The projection-centre oblique Mercator as an object: the zone constants derived once in
// Init, the forward and inverse halves shared with the free functions. The object wraps the
// longitude into +-pi of the centre and corrects the branch of the inverse's arc tangent.
#include <cmath>

#include "core/ellipsoid_terms.h"
#include "kelvane/oblique_mercator.h"
#include "projections/oblique_mercator/om_proj_center.h"

using kelvane::OmProjCenterConstants;

OGCTObliqueMercator::OGCTObliqueMercator() = default;
OGCTObliqueMercator::~OGCTObliqueMercator() = default;

OGCTObliqueMercator& OGCTObliqueMercator::operator=(const OGCTObliqueMercator& other) = default;

int OGCTObliqueMercator::Init(zoneCnstntObliqueMerc zone)
{
    pi = 4.0 * std::atan(1.0);
    twoPi = 2.0 * pi;
    quarterPi = pi / 4.0;
    halfPi = pi / 2.0;
    angleTol = 1e-10;
    gridTol = 1e-10;
    centreLat = zone.centreLat;
    centreLon = zone.centreLon;
    scaleFactor = zone.scaleFactor;
    falseEasting = zone.falseEasting;
    falseNorthing = zone.falseNorthing;
    azimuth = zone.azimuth;
    rectifiedGridAngle = zone.rectifiedGridAngle;
    e = zone.ell.ecc;
    e2 = e * e;
    e4 = e2 * e2;
    e6 = e2 * e2 * e2;
    e8 = e2 * e2 * e2 * e2;
    semiMajor = zone.ell.semiMajor;
    ep2 = e2 / (1.0 - e2);

    sinLat0 = std::sin(centreLat);
    cosLat0 = std::cos(centreLat);
    sinSqLat0 = sinLat0 * sinLat0;
    cosSqLat0 = cosLat0 * cosLat0;
    cos4Lat0 = cosSqLat0 * cosSqLat0;
    latSign = centreLat >= 0.0 ? 1 : -1;
    w0 = kelvane::wOfSine(e2, sinLat0);

    // The constants themselves come from the one derivation the free functions use, with
    // an azimuth within angleTol of 90 degrees taken as a central line running due east.
    const OmProjCenterConstants c = kelvane::omProjCenterZone(zone, e, e2, angleTol);
    bConst = c.B;
    aConst = c.A;
    dConst = c.D;
    t0 = c.t0;
    dSq = c.D * c.D < 1.0 ? 1.0 : c.D * c.D;
    fConst = c.F;
    hConst = c.H;
    gConst = c.G;
    gamma0 = c.gamma0;
    cosGamma0 = c.cosGamma0;
    sinGamma0 = c.sinGamma0;
    lambda0 = c.lambda0;
    vc = 0.0;
    uc = c.uc;
    if (std::fabs(rectifiedGridAngle - halfPi) <= angleTol) {
        cosGammaC = 0.0;
        sinGammaC = 1.0;
    } else {
        cosGammaC = std::cos(rectifiedGridAngle);
        sinGammaC = std::sin(rectifiedGridAngle);
    }
    return 1;
}

namespace {

// The members the shared halves read, gathered back into their record.
OmProjCenterConstants constantsOf(double B, double A, double H, double sinGamma0, double cosGamma0,
                                  double lambda0)
{
    OmProjCenterConstants c{};
    c.B = B;
    c.A = A;
    c.H = H;
    c.sinGamma0 = sinGamma0;
    c.cosGamma0 = cosGamma0;
    c.lambda0 = lambda0;
    return c;
}

} // namespace

void OGCTObliqueMercator::TransGeoToMap(geodCoord* point)
{
    if (!point) return;
    double lambda = point->lon;
    if (lambda - centreLon > pi) {
        lambda -= twoPi;
    } else if (lambda - centreLon < -pi) {
        lambda += twoPi;
    }
    // On an east-west central line the centre sits where the arc tangent's denominator is
    // 0: the quadrant-aware arc tangent keeps u continuous there, and uc = A (lambda_c -
    // lambda0) is then subtracted like any other uc, so the centre maps to (FE, FN).
    const bool eastWest = std::fabs(azimuth - halfPi) <= angleTol;
    const kelvane::OmUV uv = kelvane::omProjCenterForwardUV(
        constantsOf(bConst, aConst, hConst, sinGamma0, cosGamma0, lambda0), e, point->lat, lambda, eastWest);
    const double u = uv.un - uc;
    point->easting = uv.v * cosGammaC + u * sinGammaC + falseEasting;
    point->northing = u * cosGammaC - uv.v * sinGammaC + falseNorthing;
}

void OGCTObliqueMercator::TransMapToGeo(geodCoord* point)
{
    if (!point) return;
    const double dE = point->easting - falseEasting;
    const double dN = point->northing - falseNorthing;
    const double v = dE * cosGammaC - dN * sinGammaC;
    const double u = dN * cosGammaC + dE * sinGammaC + uc;
    // On an east-west central line the centre itself sits where the arc tangent's
    // denominator is 0, so the quadrant is taken from the signs there and the result needs
    // no correction; elsewhere the one-argument arc tangent is corrected below.
    const bool eastWest = std::fabs(azimuth - halfPi) <= angleTol;
    const kelvane::OmChiLambda cl = kelvane::omProjCenterInverseChiLambda(
        constantsOf(bConst, aConst, hConst, sinGamma0, cosGamma0, lambda0), u, v, eastWest);

    const kelvane::ConformalLatitudeSeries s = kelvane::conformalLatitudeSeries(e2, e4, e6, e8);
    const double phi = cl.chi + dTrigSeries2468(s.c2, s.c4, s.c6, s.c8, cl.chi);

    // The one-argument arc tangent returns the longitude pi/B off beyond 90 degrees of
    // aposphere longitude from the natural origin: put it back on the side of the centre
    // that the easting says.
    double lambda = cl.lambda;
    if (eastWest) {
        // already on the right branch
    } else if (lambda - centreLon < -angleTol && dE > -gridTol) {
        lambda += pi / bConst;
    } else if (lambda - centreLon > angleTol && dE < gridTol) {
        lambda -= pi / bConst;
    }
    point->lat = phi;
    point->lon = lambda;
}

double OGCTObliqueMercator::dGetIsometricLat(double phi)
{
    return kelvane::isometricLatitude(phi, e);
}

double OGCTObliqueMercator::dTrigSeries2468(double c2, double c4, double c6, double c8, double x)
{
    return kelvane::trigSeries2468(c2, c4, c6, c8, x);
}

int latLong2XY_ObliqueMercator(zoneCnstntObliqueMerc* zone, geodCoord* point)
{
    if (!zone || !point) return 1;
    OGCTObliqueMercator om;
    om.Init(*zone);
    om.TransGeoToMap(point);
    return 0;
}

int XY2latLong_ObliqueMercator(zoneCnstntObliqueMerc* zone, geodCoord* point)
{
    if (!zone || !point) return 1;
    OGCTObliqueMercator om;
    om.Init(*zone);
    om.TransMapToGeo(point);
    return 0;
}
