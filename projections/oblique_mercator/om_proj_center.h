// Hotine oblique Mercator with the grid origin at the projection centre (EPSG variant B,
// USGS notation): the zone constants and the two halves of the projection that the free
// functions and the OGCTObliqueMercator object share. u runs along the central line from
// the natural origin on the aposphere's equator, v across it; both are rotated by the
// rectified grid angle gamma_c into northing and easting about the centre (FE, FN).
#ifndef KELVANE_PROJECTIONS_OBLIQUE_MERCATOR_OM_PROJ_CENTER_H
#define KELVANE_PROJECTIONS_OBLIQUE_MERCATOR_OM_PROJ_CENTER_H

#include <cmath>

#include "core/lanes.h"
#include "kelvane/oblique_mercator.h"

namespace kelvane {

// +1 for x >= 0 (and for NaN), -1 for x < 0.
inline double signOf(double x) { return x < 0.0 ? -1.0 : 1.0; }

struct OmProjCenterConstants {
    double B;         // aposphere constant
    double A;         // aposphere radius times k0
    double t0;        // t of the centre latitude
    double D, F;      // D >= 1 away from the equator; F = D + sqrt(D^2 - 1) sign(phi_c)
    double H, G;
    double gamma0;    // azimuth of the central line where it crosses the aposphere's equator
    double sinGamma0, cosGamma0;
    double lambda0;   // longitude of the natural origin, positive east
    double uc;        // u of the projection centre
    bool eastWest;    // the central line runs due east at the centre (azimuth 90 degrees)
};

// The zone constants from the centre (phi_c, lambda_c), azimuth alpha_c and scale k0, on an
// ellipsoid of semi-major axis a, eccentricity e and e^2 = e2 (the free functions take e2
// from eccSq, the object forms e*e: both are passed in).
//
// An azimuth within eastWestTol of pi/2 (the free functions compare exactly, tolerance 0;
// the object within 1e-10) is a central line running due east or west at the centre. Then
// G tan(gamma0) = +-1 exactly, the arc sine of lambda0 sits on the edge of its domain and
// the usual uc formula divides by cos(alpha_c) = 0. The arc sine's argument is held within
// [-1, 1] so rounding cannot turn lambda0 into NaN, and uc is taken as A (lambda_c - lambda0),
// the limit of the usual formula, (A/B)(pi/2) sign(phi_c): the value the forward gives at
// the centre, so the centre maps to (FE, FN) and the inverse undoes the forward.
OmProjCenterConstants omProjCenterZone(const zoneCnstntObliqueMerc& zone, double e, double e2,
                                       double eastWestTol);

// The constants through pointers, for the free functions (vc is always 0).
void omProjCenterConstants(zoneCnstntObliqueMerc zone, double* B, double* A, double* t0, double* D,
                           double* H, double* G, double* gamma0, double* lambda0, double* uc,
                           double* vc, double* F);

// Forward half: (phi, lambda) to un (along the central line from the natural origin) and v.
// The arc tangent of un is the one-argument one of the quotient, except on an east-west
// central line (quadrantAware), where it takes the quadrant from the signs of numerator and
// denominator: there the centre lies where the denominator cos(B (lambda - lambda0)) is 0, and
// the one-argument form would jump by pi A/B across the centre's meridian.
//
// Both halves are written once over the number type: one point (double), or two side by
// side (Lanes2, the batches), each lane bit for bit what its point gives alone.
template <class T>
struct OmUVOf {
    T un, v;
    T cosBdl; // cos(B (lambda - lambda0)), for the scale factor
};
using OmUV = OmUVOf<double>;
template <class T>
OmUVOf<T> omProjCenterForwardUV(const OmProjCenterConstants& c, double e, T phi, T lambda, bool quadrantAware);

// Inverse half: (u', v') measured from the natural origin to the conformal latitude chi and
// the longitude, the arc tangent chosen as in the forward.
template <class T>
struct OmChiLambdaOf {
    T chi, lambda;
};
using OmChiLambda = OmChiLambdaOf<double>;
template <class T>
OmChiLambdaOf<T> omProjCenterInverseChiLambda(const OmProjCenterConstants& c, T u, T v, bool quadrantAware);

extern template OmUVOf<double> omProjCenterForwardUV(const OmProjCenterConstants&, double, double, double, bool);
extern template OmUVOf<Lanes2> omProjCenterForwardUV(const OmProjCenterConstants&, double, Lanes2, Lanes2, bool);
extern template OmChiLambdaOf<double> omProjCenterInverseChiLambda(const OmProjCenterConstants&, double, double,
                                                                   bool);
extern template OmChiLambdaOf<Lanes2> omProjCenterInverseChiLambda(const OmProjCenterConstants&, Lanes2, Lanes2,
                                                                   bool);

// Coefficients of phi = chi + c2 sin 2chi + c4 sin 4chi + c6 sin 6chi + c8 sin 8chi, the
// latitude from the conformal latitude; e2 is used in the first term, e4..e8 elsewhere.
struct ConformalLatitudeSeries {
    double c2, c4, c6, c8;
};
ConformalLatitudeSeries conformalLatitudeSeries(double e2, double e4, double e6, double e8);

// c2 sin 2x + c4 sin 4x + c6 sin 6x + c8 sin 8x.
template <class T>
inline T trigSeries2468(double c2, double c4, double c6, double c8, T x)
{
    return c2 * lanes::sin(2.0 * x) + c4 * lanes::sin(4.0 * x) + c6 * lanes::sin(6.0 * x) + c8 * lanes::sin(8.0 * x);
}

} // namespace kelvane

#endif
