// The Gauss conformal sphere of the double projections (Krovak, oblique stereographic):
// the ellipsoid is mapped conformally onto a sphere that touches it at the latitude phi0,
// by chi = 2*atan(K * exp(n*q(phi))) - pi/2, q being the isometric latitude.
#ifndef KELVANE_CORE_CONFORMAL_SPHERE_H
#define KELVANE_CORE_CONFORMAL_SPHERE_H

#include <cmath>

#include "core/ellipsoid_terms.h"
#include "core/math_constants.h"

namespace kelvane {

struct GaussSphere {
    double e;    // first eccentricity of the ellipsoid
    double n;    // exponent of the mapping (Krovak: B)
    double chi0; // conformal latitude of phi0 (Krovak: gamma0)
    double K;    // mapping constant, chosen so that phi0 maps to chi0 (Krovak: t0)
};

inline GaussSphere gaussSphere(double e, double phi0)
{
    const double e2 = eSqOfEcc(e);
    GaussSphere s;
    s.e = e;
    s.n = std::sqrt(1.0 + e2 * std::pow(std::cos(phi0), 4.0) / (1.0 - e2));
    s.chi0 = std::asin(std::sin(phi0) / s.n);
    s.K = std::tan(pi() / 4.0 + s.chi0 / 2.0) * std::exp(-s.n * isometricLatitude(phi0, e));
    return s;
}

// The conformal latitude of phi (the poles map to the poles).
inline double conformalLatitude(const GaussSphere& s, double phi)
{
    return 2.0 * std::atan(s.K * std::exp(s.n * isometricLatitude(phi, s.e))) - pi() / 2.0;
}

// The arcsine of a sine formed by rotating a point on the sphere: the value cannot
// exceed 1 in size but for rounding, which must not turn into NaN. A NaN stays NaN.
inline double asinOfSphereSine(double x)
{
    return std::asin(x > 1.0 ? 1.0 : (x < -1.0 ? -1.0 : x));
}

} // namespace kelvane

#endif
