// The trigonometric series of the rectifying, footpoint and conformal latitudes:
//   y = x + sin x cos x (c0 + c2 cos^2 x + c4 cos^4 x + c6 cos^6 x),
// the cos-power form of x + U2 sin 2x + U4 sin 4x + U6 sin 6x + U8 sin 8x. The fold from
// the sine-multiple coefficients U2..U8 to c0..c6 is written once here, as are the two
// evaluations in use.
#ifndef KELVANE_CORE_TRIG_SERIES_H
#define KELVANE_CORE_TRIG_SERIES_H

#include <cmath>

namespace kelvane {

struct TrigSeries {
    double c0, c2, c4, c6;
};

// Folds the coefficients of sin 2x, sin 4x, sin 6x, sin 8x into the cos-power form.
inline TrigSeries foldSineMultiples(double U2, double U4, double U6, double U8)
{
    return {2.0 * (U2 - 2.0 * U4 + 3.0 * U6 - 4.0 * U8), 8.0 * (U4 - 4.0 * U6 + 10.0 * U8),
            32.0 * (U6 - 6.0 * U8), 128.0 * U8};
}

// The series at x from sin x and cos x, with the powers of cos^2 x summed term by term
// (the Transverse Mercator meridian arc and footpoint latitude), for one x (T = double)
// or two side by side (T = Lanes2).
template <class T>
inline T evaluate(const TrigSeries& s, T x, T sinX, T cosX)
{
    const T cos2 = cosX * cosX;
    const T cos4 = cos2 * cos2;
    const T cos6 = cos4 * cos2;
    return x + sinX * cosX * (s.c0 + s.c2 * cos2 + s.c4 * cos4 + s.c6 * cos6);
}

inline double evaluate(const TrigSeries& s, double x) { return evaluate(s, x, std::sin(x), std::cos(x)); }

// The same series with the polynomial in cos^2 x nested (Horner's rule), as the oblique
// Mercator evaluates the conformal-to-geodetic latitude. The two orders agree to an ulp
// or two; each family keeps its own so its results do not move.
inline double evaluateNested(const TrigSeries& s, double x)
{
    const double cosX = std::cos(x);
    const double cos2 = cosX * cosX;
    return x + std::sin(x) * cosX * (s.c0 + cos2 * (s.c2 + cos2 * (s.c4 + cos2 * s.c6)));
}

} // namespace kelvane

#endif
