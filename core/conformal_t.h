// The t-function of the conformal projections in the USGS notation (Lambert conformal conic
// in its t-form, Hotine oblique Mercator variant B): t = exp(-q), q the isometric latitude,
// written in its tangent form so the two families form it alike.
#ifndef KELVANE_CORE_CONFORMAL_T_H
#define KELVANE_CORE_CONFORMAL_T_H

#include <cmath>

#include "core/lanes.h"

namespace kelvane {

// t(phi) = tan(pi/4 - phi/2) / ((1 - e sin phi)/(1 + e sin phi))^(e/2), pi/4 as 4 atan(1)/4.
// T is double, or Lanes2 / Lanes4 for points side by side (see core/lanes.h).
template <class T>
inline T conformalT(T phi, double e)
{
    const double quarterPi = 4.0 * std::atan(1.0) / 4.0;
    const T eSinPhi = e * lanes::sin(phi);
    return lanes::tan(quarterPi - phi / 2.0) / lanes::pow((1.0 - eSinPhi) / (1.0 + eSinPhi), e / 2.0);
}

} // namespace kelvane

#endif
