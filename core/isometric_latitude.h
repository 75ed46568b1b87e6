// The isometric latitude of the conformal projections (Lambert, oblique Mercator and
// their arc-to-chord corrections), written once so every caller forms it alike.
#ifndef KELVANE_CORE_ISOMETRIC_LATITUDE_H
#define KELVANE_CORE_ISOMETRIC_LATITUDE_H

#include <cmath>

namespace kelvane {

// q = [ln((1 + s)/(1 - s)) - e*ln((1 + e*s)/(1 - e*s))] / 2 for s = sin(phi).
inline double isometricLatitudeOfSine(double s, double e)
{
    return (std::log((1.0 + s) / (1.0 - s)) - e * std::log((1.0 + e * s) / (1.0 - e * s))) / 2.0;
}

inline double isometricLatitude(double phi, double e)
{
    return isometricLatitudeOfSine(std::sin(phi), e);
}

} // namespace kelvane

#endif
