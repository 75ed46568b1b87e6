// Arc-to-chord corrections T of a line from p1 to p2, at p1: the angle between the
// projected geodesic (the arc) and the straight grid line (the chord), in the forms of the
// state plane 1983 manual for each of the three projections. Each refuses a null pointer
// with 1, writing nothing.
#include <cmath>

#include "core/isometric_latitude.h"
#include "kelvane/dispatch.h"
#include "projections/lambert/lambert.h"
#include "projections/oblique_mercator/oblique_mercator.h"
#include "projections/transverse_mercator/transverse_mercator.h"

// Transverse Mercator: from plane coordinates alone. The latitude of the line's mean
// northing is taken from the first term of the footpoint series, which is ample for the
// mean radius this correction needs.
int tmArcToChord(ellipsoid* ell, zoneCnstnt* zone, geodCoord* p1, geodCoord* p2, double* result)
{
    if (!ell || !zone || !p1 || !p2 || !result) return 1;
    const kelvane::tm::SeriesConstants c = kelvane::tm::seriesConstants(*ell, *zone);
    const double k0 = zone->scaleFactor;
    const double a = ell->semiMajor;
    const double E0 = zone->falseEasting;

    const double Nm = (p1->northing + p2->northing) / 2.0;
    const double omegaM = (Nm - zone->falseNorthing + c.S0) / (k0 * c.r);
    const double phiM = omegaM + c.H0 * std::sin(omegaM) * std::cos(omegaM);
    const double etaM2 = c.ePrimeSq * std::pow(std::cos(phiM), 2.0);
    // The reciprocal of the squared geometric mean radius at phiM, scaled by k0.
    const double K = (1.0 - c.eSq * std::pow(std::sin(phiM), 2.0)) * (1.0 + etaM2) / std::pow(k0 * a, 2.0);
    const double X = 2.0 * (p1->easting - E0) + (p2->easting - E0);

    *result = -(p2->northing - p1->northing) * X * K / 6.0 * (1.0 - X * X * K / 27.0);
    return 0;
}

// Lambert: from the latitudes and longitudes (positive west), with the latitude weighted
// two to one towards p1.
int lambertArcToChord(ellipsoid* ell, zoneCnstnt* zone, geodCoord* p1, geodCoord* p2, double* result)
{
    if (!ell || !zone || !p1 || !p2 || !result) return 1;
    kelvane::LambertConstants c;
    if (!kelvane::lambertConstants(*ell, *zone, c)) return 1;
    const double sinPhi0 = c.n; // the cone constant is the sine of the central parallel
    const double phiBar = (2.0 * p1->lat + p2->lat) / 3.0;

    *result = (p1->lon - p2->lon) * (std::sin(phiBar) - sinPhi0) / 2.0;
    return 0;
}

// Oblique Mercator: both points in (u, w) of the rectified grid at the line's mean
// latitude, the correction from the across-line offsets weighted two to one towards p1.
// Each point keeps its own longitude but takes the line's mean latitude, as the form is
// defined; it is kept so deliberately, although it gives two to three times less than the
// geometric correction of the line (the sign is right, and a line along a meridian gets
// none).
int omArcToChord(ellipsoid* ell, zoneCnstnt* zone, geodCoord* p1, geodCoord* p2, double* result)
{
    if (!ell || !zone || !p1 || !p2 || !result) return 1;
    const kelvane::ObliqueMercatorConstants c = kelvane::obliqueMercatorConstants(*ell, *zone, false);
    const double F = c.sinAlpha0;
    const double G = c.cosAlpha0;

    const double phiM = (p1->lat + p2->lat) / 2.0;
    const double qM = kelvane::isometricLatitude(phiM, c.e);
    const double S = std::sinh(c.B * qM + c.H0);
    const double Tp = std::cosh(c.B * qM + c.H0);

    double u[2];
    double w[2];
    const geodCoord* points[2] = {p1, p2};
    for (int i = 0; i < 2; ++i) {
        const double L = c.B * (points[i]->lon - c.lambda0);
        const double sinL = std::sin(L);
        u[i] = c.D * std::atan((S * G - F * sinL) / std::cos(L));
        w[i] = (c.D / 2.0) * std::log((Tp - F * S - G * sinL) / (Tp + F * S + G * sinL));
    }

    *result = (u[0] - u[1]) * (2.0 * w[0] + w[1]) / (6.0 * c.D * c.D);
    return 0;
}
