// SPCS 27 Lambert zones: the mapping radius is a series in the meridian arc s (feet)
// from the central parallel, R = R0 + k0·s·(1 + L1·u² - L2·u³ + L3·u⁴) with u = s/10⁸.
#include "state_plane/spc27_lambert.h"

#include <cmath>

#include "core/math_constants.h"
#include "state_plane/spc27_clarke.h"

namespace kelvane {

namespace {

using namespace spc27;

// The constants of a Lambert row: param 1 to 11.
struct LambertConstants {
    double X0; // false easting of the central meridian, ft
    double L0; // central meridian, arc-seconds west
    double R0; // mapping radius of the central parallel, ft
    double Rb; // mapping radius of the parallel through y = 0, ft
    double k0; // scale factor on the central parallel
    double l;  // cone constant, sine of the central parallel
    double M0; // whole minutes of the central parallel's rectifying latitude
    double S0; // seconds part of it
    double L1, L2, L3; // radius-series coefficients
};

LambertConstants lambertConstants(const zoneconstant27* zone)
{
    const double* p = zone->param;
    return {p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8], p[9], p[10]};
}

// 1 + L1·u² - L2·u³ + L3·u⁴: the ratio of (R - R0)/k0 to the arc s.
double radiusSeries(const LambertConstants& c, double u)
{
    return 1.0 + u * u * (c.L1 - u * c.L2 + u * u * c.L3);
}

// Mapping radius of the parallel lying s feet of meridian arc south of the central one.
double mappingRadius(const LambertConstants& c, double s)
{
    return c.R0 + c.k0 * s * radiusSeries(c, s / 1e8);
}

// Point scale factor on the parallel φ whose mapping radius is R.
double pointScale(const LambertConstants& c, double phi, double R)
{
    return std::sqrt(wSquared(phi)) * c.l * R / (kSemiMajorFeet * std::cos(phi));
}

} // namespace

void geod2SPC27Lambert(const zoneconstant27* zone, geodCoord* point)
{
    const LambertConstants c = lambertConstants(zone);
    const double phi = point->lat;

    // Arc-seconds from φ to the central parallel, split at whole minutes as the tables are.
    const double phiMinutes = phi * kDegPerRad * 60.0;
    const double M = std::trunc(phiMinutes);
    const double S = (phiMinutes - M) * 60.0;
    const double deltaSec = (c.M0 - M) * 60.0 + c.S0 - S;

    const double s = kFeetPerArcSecond * (deltaSec + rectifyingCorrection(phi));
    const double R = mappingRadius(c, s);

    const double piValue = pi();
    const double lambdaSec = point->lon * 648000.0 / piValue;
    const double theta = piValue * c.l * (c.L0 - lambdaSec) / 648000.0;
    const double halfSin = std::sin(theta / 2.0);

    point->gridScale = pointScale(c, phi, R);
    point->convergence = theta;
    point->easting = R * std::sin(theta) + c.X0;
    point->northing = c.Rb - R + 2.0 * R * halfSin * halfSin;
}

void SPC27Lambert2Geod(const zoneconstant27* zone, geodCoord* point)
{
    const LambertConstants c = lambertConstants(zone);
    const double northing = point->northing;
    const double easting = point->easting;

    const double theta = std::atan((easting - c.X0) / (c.Rb - northing));
    const double R = (c.Rb - northing) / std::cos(theta);
    const double halfSin = std::sin(theta / 2.0);
    const double sPrime = ((c.Rb - c.R0 - northing) + 2.0 * R * halfSin * halfSin) / c.k0;

    const double lambdaSec = c.L0 - theta * kDegPerRad * 3600.0 / c.l;

    // Invert s' = s·(1 + L1·u² - L2·u³ + L3·u⁴): two refinements are ample inside a zone.
    const double u0 = sPrime / 1e8;
    const double u1 = sPrime / radiusSeries(c, u0) / 1e8;
    const double u2 = sPrime / radiusSeries(c, u1) / 1e8;
    const double s = sPrime / radiusSeries(c, u2);

    // Rectifying latitude, counted in arc-seconds from ten degrees below M0.
    const double baseMinutes = c.M0 - 600.0;
    const double omegaSec = 36000.0 + c.S0 - kArcSecondsPerFoot * s;
    const double phiSec = geodeticFromRectifying(omegaSec, minutesSecondsToRad(baseMinutes, omegaSec));
    const double phi = minutesSecondsToRad(baseMinutes, phiSec);

    const double s2 = kFeetPerArcSecond * (36000.0 + c.S0 - phiSec + rectifyingCorrection(phi));

    point->lat = phi;
    point->lon = arcSecondsToRad(lambdaSec);
    point->convergence = theta;
    point->gridScale = pointScale(c, phi, mappingRadius(c, s2));
}

} // namespace kelvane
