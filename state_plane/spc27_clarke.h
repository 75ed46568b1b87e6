// Clarke 1866 quantities shared by the SPCS 27 zone formulas. They are the literal
// constants of the USC&GS machine-computation formulas (arc lengths in seconds of
// rectifying latitude, feet of meridian arc), not values derived from an ellipsoid record.
#ifndef KELVANE_STATE_PLANE_SPC27_CLARKE_H
#define KELVANE_STATE_PLANE_SPC27_CLARKE_H

#include <cmath>

namespace kelvane::spc27 {

constexpr double kDegPerRad = 57.29577951308232;
constexpr double kRadPerDeg = 0.0174532925199433;
constexpr double kEccSq = 0.006768658;         // e²
constexpr double kSecondEccSq = 0.0068147849;  // e'²
constexpr double kFeetPerArcSecond = 101.2794065;   // one arc-second of rectifying latitude
constexpr double kArcSecondsPerFoot = 0.009873675553;
constexpr double kSemiMajorFeet = 20925832.16;      // a in US survey feet

inline double toArcSeconds(double rad) { return rad * kDegPerRad * 3600.0; }
inline double arcSecondsToRad(double sec) { return sec / 3600.0 * kRadPerDeg; }

// Minutes and seconds counted from a whole number of minutes, to radians.
inline double minutesSecondsToRad(double minutes, double sec)
{
    return (minutes / 60.0 + sec / 3600.0) * kRadPerDeg;
}

// W² = 1 - e²·sin²φ.
inline double wSquared(double phi)
{
    const double s = std::sin(phi);
    return 1.0 - kEccSq * s * s;
}

// Δω(φ): geodetic less rectifying latitude at φ, in arc-seconds.
inline double rectifyingCorrection(double phi)
{
    const double c2 = std::cos(phi) * std::cos(phi);
    return (1052.893882 - (4.483344 - 0.02352 * c2) * c2) * std::sin(phi) * std::cos(phi);
}

// Geodetic latitude from rectifying latitude: omegaSec is ω in arc-seconds counted from
// some whole minute, omega the full ω in radians; the result is φ in arc-seconds counted
// from the same minute.
inline double geodeticFromRectifying(double omegaSec, double omega)
{
    const double c2 = std::cos(omega) * std::cos(omega);
    return omegaSec +
           std::sin(omega) * std::cos(omega) * (1047.54671 + 6.19276 * c2 + 0.050912 * c2 * c2);
}

} // namespace kelvane::spc27

#endif
