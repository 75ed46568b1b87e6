// The quantities of an ellipsoid that the projections and the geocentric conversions
// share, written once so that every family forms them alike: the eccentricities, the third
// flattening, W(phi) and the isometric latitude. Each keeps the grouping of its textbook
// form, so a caller that switched to it computes bit for bit what it computed before.
// Those of a latitude take T = double, Lanes2 or Lanes4 (points side by side, see core/lanes.h).
#ifndef KELVANE_CORE_ELLIPSOID_TERMS_H
#define KELVANE_CORE_ELLIPSOID_TERMS_H

#include <cmath>

#include "core/lanes.h"

namespace kelvane {

// e^2 from the first eccentricity e.
inline double eSqOfEcc(double e) { return e * e; }

// e^2 = (a^2 - b^2) / a^2, from the two semi-axes.
inline double eSqOfAxes(double a, double b) { return (a * a - b * b) / (a * a); }

// e^2 = 2f - f^2, from the flattening.
inline double eSqOfFlattening(double f) { return 2.0 * f - f * f; }

// e'^2 = (a^2 - b^2) / b^2, the second eccentricity squared.
inline double ePrimeSqOfAxes(double a, double b) { return (a * a - b * b) / (b * b); }

// n = (a - b) / (a + b), the third flattening.
inline double thirdFlattening(double a, double b) { return (a - b) / (a + b); }

// W^2 = 1 - e^2 sin^2(phi), given sin(phi) (of one point, or of several side by side).
template <class T>
inline T wSqOfSine(double eSq, T sinPhi) { return 1.0 - eSq * (sinPhi * sinPhi); }

// W = sqrt(1 - e^2 sin^2(phi)): a / W is the radius of curvature in the prime vertical.
template <class T>
inline T wOfSine(double eSq, T sinPhi) { return lanes::sqrt(wSqOfSine(eSq, sinPhi)); }
template <class T>
inline T W(double eSq, T phi) { return wOfSine(eSq, lanes::sin(phi)); }

// The isometric latitude q = [ln((1 + s)/(1 - s)) - e ln((1 + e s)/(1 - e s))] / 2 for
// s = sin(phi), as the conformal projections (Lambert, oblique Mercator) use it.
template <class T>
inline T isometricLatitudeOfSine(T s, double e)
{
    return (lanes::log((1.0 + s) / (1.0 - s)) - e * lanes::log((1.0 + e * s) / (1.0 - e * s))) / 2.0;
}

template <class T>
inline T isometricLatitude(T phi, double e)
{
    return isometricLatitudeOfSine(lanes::sin(phi), e);
}

} // namespace kelvane

#endif
