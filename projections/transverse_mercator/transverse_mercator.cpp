// Transverse Mercator on zone constants, in the closed series of NOAA Manual NOS NGS 5:
// a rectifying-latitude series for the meridian arc, and power series in the longitude
// difference (forward) or in the scaled easting (inverse). The coefficients are exact
// fractions evaluated in double precision; the order of evaluation below is the
// formulation's own and is kept as it stands, since results are compared to the 0.1 mm.
//
// Longitudes (and the zone's central meridian) are positive WEST; angles are radians.
#include "projections/transverse_mercator/transverse_mercator.h"

#include <cmath>

namespace kelvane::tm {

namespace {

// x + sin x cos x (c0 + c2 cos^2 x + c4 cos^4 x + c6 cos^6 x): the common shape of the
// rectifying-latitude and footpoint-latitude series.
inline double sinCosSeries(double x, double c0, double c2, double c4, double c6)
{
    const double cosX = std::cos(x);
    const double cos2 = cosX * cosX;
    const double cos4 = cos2 * cos2;
    const double cos6 = cos4 * cos2;
    return x + std::sin(x) * cosX * (c0 + c2 * cos2 + c4 * cos4 + c6 * cos6);
}

} // namespace

SeriesConstants seriesConstants(const ellipsoid& ell, const zoneCnstnt& zone)
{
    const double a = ell.semiMajor;
    const double b = ell.semiMinor;
    SeriesConstants c;
    c.ePrimeSq = (std::pow(a, 2.0) - std::pow(b, 2.0)) / std::pow(b, 2.0);
    c.eSq = std::pow(ell.ecc, 2.0);

    const double n = (a - b) / (a + b);
    const double n2 = n * n;
    const double n3 = n2 * n;
    const double n4 = n3 * n;
    c.n = n;
    c.r = a * (1.0 - n) * (1.0 - n2) * (1.0 + 9.0 * n2 / 4.0 + 225.0 * n4 / 64.0);

    const double U2 = -3.0 * n / 2.0 + 9.0 * n3 / 16.0;
    const double U4 = 15.0 * n2 / 16.0 - 15.0 * n4 / 32.0;
    const double U6 = -35.0 * n3 / 48.0;
    const double U8 = 315.0 * n4 / 512.0;
    c.P0 = 2.0 * (U2 - 2.0 * U4 + 3.0 * U6 - 4.0 * U8);
    c.P2 = 8.0 * (U4 - 4.0 * U6 + 10.0 * U8);
    c.P4 = 32.0 * (U6 - 6.0 * U8);
    c.P6 = 128.0 * U8;

    const double V2 = 3.0 * n / 2.0 - 27.0 * n3 / 32.0;
    const double V4 = 21.0 * n2 / 16.0 - 55.0 * n4 / 32.0;
    const double V6 = 151.0 * n3 / 96.0;
    const double V8 = 1097.0 * n4 / 512.0;
    c.H0 = 2.0 * (V2 - 2.0 * V4 + 3.0 * V6 - 4.0 * V8);
    c.H2 = 8.0 * (V4 - 4.0 * V6 + 10.0 * V8);
    c.H4 = 32.0 * (V6 - 6.0 * V8);
    c.H6 = 128.0 * V8;

    c.S0 = zone.scaleFactor * c.r * rectifyingLatitude(zone.originLat, c);
    return c;
}

double rectifyingLatitude(double phi, const SeriesConstants& c)
{
    return sinCosSeries(phi, c.P0, c.P2, c.P4, c.P6);
}

double footpointLatitude(double omega, const SeriesConstants& c)
{
    return sinCosSeries(omega, c.H0, c.H2, c.H4, c.H6);
}

} // namespace kelvane::tm

using kelvane::tm::SeriesConstants;

int geod2TM(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt)
{
    if (ell->semiMinor == 0.0) return 1;
    if (ell->semiMajor == 0.0) return 1;
    const SeriesConstants c = kelvane::tm::seriesConstants(*ell, *zone);
    const double a = ell->semiMajor;
    const double k0 = zone->scaleFactor;
    const double lambda0 = zone->centralMeridian;
    const double phi = pt->lat;
    const double lambda = pt->lon;

    const double sinPhi = std::sin(phi);
    const double cosPhi = std::cos(phi);
    const double t = std::tan(phi);
    const double eta2 = c.ePrimeSq * cosPhi * cosPhi;
    const double L = (lambda - lambda0) * cosPhi; // not reduced to +-pi
    const double S = k0 * c.r * kelvane::tm::rectifyingLatitude(phi, c);
    const double R = k0 * a / std::sqrt(1.0 - c.eSq * sinPhi * sinPhi);

    const double t2 = std::pow(t, 2.0);
    const double t4 = std::pow(t, 4.0);
    const double t6 = std::pow(t, 6.0);
    const double A1 = -R;
    const double A2 = R * t / 2.0;
    const double A3 = (1.0 - t2 + eta2) / 6.0;
    const double A4 = (5.0 - t2 + eta2 * (9.0 + 4.0 * eta2)) / 12.0;
    const double A5 = (5.0 - 18.0 * t2 + t4 + eta2 * (14.0 - 58.0 * t2)) / 120.0;
    const double A6 = (61.0 - 58.0 * t2 + t4 + eta2 * (270.0 - 330.0 * t2)) / 360.0;
    const double A7 = (61.0 - 479.0 * t2 + 179.0 * t4 - t6) / 5040.0;

    const double L2 = L * L;
    const double northing = S - c.S0 + zone->falseNorthing + A2 * L2 * (1.0 + L2 * (A4 + A6 * L2));
    const double easting = zone->falseEasting + A1 * L * (1.0 + L2 * (A3 + L2 * (A5 + A7 * L2)));

    const double C1 = -t;
    const double C3 = (1.0 + 3.0 * eta2 + 2.0 * eta2 * eta2) / 3.0;
    const double C5 = (2.0 - t2) / 15.0;
    const double gamma = C1 * L * (1.0 + L2 * (C3 + C5 * L2));

    const double F2 = (1.0 + eta2) / 2.0;
    const double F4 = (5.0 - 4.0 * t2 + eta2 * (9.0 - 24.0 * t2)) / 12.0;
    const double k = k0 * (1.0 + F2 * L2 * (1.0 + F4 * L2));

    pt->northing = northing;
    pt->easting = easting;
    pt->gridScale = k;
    pt->convergence = gamma;
    return 0;
}

int TM2Geod(ellipsoid* ell, zoneCnstnt* zone, geodCoord* pt)
{
    const SeriesConstants c = kelvane::tm::seriesConstants(*ell, *zone);
    const double a = ell->semiMajor;
    const double k0 = zone->scaleFactor;
    const double lambda0 = zone->centralMeridian;

    const double omega = (pt->northing - zone->falseNorthing + c.S0) / (k0 * c.r);
    const double phiF = kelvane::tm::footpointLatitude(omega, c);

    const double sinPhiF = std::sin(phiF);
    const double cosPhiF = std::cos(phiF);
    const double t = std::tan(phiF);
    const double eta2 = c.ePrimeSq * cosPhiF * cosPhiF;
    const double Rf = k0 * a / std::sqrt(1.0 - c.eSq * sinPhiF * sinPhiF);
    if (Rf == 0.0) return 1;
    const double Q = (pt->easting - zone->falseEasting) / Rf;
    const double Q2 = Q * Q;

    const double t2 = std::pow(t, 2.0);
    const double t4 = std::pow(t, 4.0);
    const double t6 = std::pow(t, 6.0);
    const double B2 = -t * (1.0 + eta2) / 2.0;
    const double B4 = -(5.0 + 3.0 * t2 + eta2 * (1.0 - 9.0 * t2) - 4.0 * eta2 * eta2) / 12.0;
    const double B6 = (61.0 + 90.0 * t2 + 45.0 * t4 + eta2 * (46.0 - 252.0 * t2 - 90.0 * t4)) / 360.0;
    const double phi = phiF + B2 * Q2 * (1.0 + Q2 * (B4 + B6 * Q2));

    const double B3 = -(1.0 + 2.0 * t2 + eta2) / 6.0;
    const double B5 = (5.0 + 28.0 * t2 + 24.0 * t4 + eta2 * (6.0 + 8.0 * t2)) / 120.0;
    const double B7 = -(61.0 + 662.0 * t2 + 1320.0 * t4 + 720.0 * t6) / 5040.0;
    const double L = Q * (1.0 + Q2 * (B3 + Q2 * (B5 + B7 * Q2)));
    const double lambda = lambda0 - L / cosPhiF;

    const double D1 = t;
    const double D3 = -(1.0 + t2 - eta2 - 2.0 * eta2 * eta2) / 3.0;
    const double D5 = (2.0 + 5.0 * t2 + 3.0 * t4) / 15.0;
    const double gamma = D1 * Q * (1.0 + Q2 * (D3 + D5 * Q2));

    const double G2 = (1.0 + eta2) / 2.0;
    const double G4 = (1.0 + 5.0 * eta2) / 12.0;
    const double k = k0 * (1.0 + G2 * Q2 * (1.0 + G4 * Q2));

    pt->lat = phi;
    pt->lon = lambda;
    pt->gridScale = k;
    pt->convergence = gamma;
    return 0;
}
