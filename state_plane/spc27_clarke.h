// Clarke 1866 quantities shared by the SPCS 27 zone formulas. They are the literal
// constants of the USC&GS machine-computation formulas (arc lengths in seconds of
// rectifying latitude, feet of meridian arc), not values derived from an ellipsoid record.
#ifndef KELVANE_STATE_PLANE_SPC27_CLARKE_H
#define KELVANE_STATE_PLANE_SPC27_CLARKE_H

#include <cmath>

#include "core/lanes.h"

namespace kelvane::spc27 {

constexpr double kDegPerRad = 57.29577951308232;
constexpr double kRadPerDeg = 0.0174532925199433;
constexpr double kEccSq = 0.006768658;         // e²
constexpr double kSecondEccSq = 0.0068147849;  // e'²
constexpr double kFeetPerArcSecond = 101.2794065;   // one arc-second of rectifying latitude
constexpr double kArcSecondsPerFoot = 0.009873675553;
constexpr double kSemiMajorFeet = 20925832.16;      // a in US survey feet

// Written over the number type: one point (double) or several side by side (see
// core/lanes.h), operation for operation the same.
template <class T>
inline T toArcSeconds(T rad)
{
    return rad * kDegPerRad * 3600.0;
}
template <class T>
inline T arcSecondsToRad(T sec)
{
    return sec / 3600.0 * kRadPerDeg;
}

// Minutes and seconds counted from a whole number of minutes, to radians.
template <class T>
inline T minutesSecondsToRad(double minutes, T sec)
{
    return (minutes / 60.0 + sec / 3600.0) * kRadPerDeg;
}

// W² = 1 - e²·sin²φ.
template <class T>
inline T wSquared(T phi)
{
    const T s = lanes::sin(phi);
    return 1.0 - kEccSq * s * s;
}

// Δω(φ): geodetic less rectifying latitude at φ, in arc-seconds.
template <class T>
inline T rectifyingCorrection(T phi)
{
    const T c = lanes::cos(phi);
    const T c2 = c * c;
    return (1052.893882 - (4.483344 - 0.02352 * c2) * c2) * lanes::sin(phi) * c;
}

// Geodetic latitude from rectifying latitude: omegaSec is ω in arc-seconds counted from
// some whole minute, omega the full ω in radians; the result is φ in arc-seconds counted
// from the same minute.
template <class T>
inline T geodeticFromRectifying(T omegaSec, T omega)
{
    const T c = lanes::cos(omega);
    const T c2 = c * c;
    return omegaSec + lanes::sin(omega) * c * (1047.54671 + 6.19276 * c2 + 0.050912 * c2 * c2);
}

} // namespace kelvane::spc27

#endif
