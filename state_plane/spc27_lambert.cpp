// SPCS 27 Lambert zones: the mapping radius is a series in the meridian arc s (feet)
// from the central parallel, R = R0 + k0·s·(1 + L1·u² - L2·u³ + L3·u⁴) with u = s/10⁸.
#include "state_plane/spc27_lambert.h"

#include <cmath>

#include "core/math_constants.h"
#include "projections/transverse_mercator/transverse_mercator.h"
#include "state_plane/spc27_clarke.h"
#include "state_plane/spc27_lanes.h"

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
template <class T>
T radiusSeries(const LambertConstants& c, T u)
{
    return 1.0 + u * u * (c.L1 - u * c.L2 + u * u * c.L3);
}

// Mapping radius of the parallel lying s feet of meridian arc south of the central one.
template <class T>
T mappingRadius(const LambertConstants& c, T s)
{
    return c.R0 + c.k0 * s * radiusSeries(c, s / 1e8);
}

// Point scale factor on the parallel φ whose mapping radius is R.
template <class T>
T pointScale(const LambertConstants& c, T phi, T R)
{
    return lanes::sqrt(wSquared(phi)) * c.l * R / (kSemiMajorFeet * lanes::cos(phi));
}

// The zone's formulas, written once over the number type: one point (double), or two side
// by side (Lanes2, the inverse batch), each lane bit for bit what its point gives alone.
// The longitude is positive west.
template <class T>
tm::GridOf<T> forwardOf(const LambertConstants& c, T phi, T lon)
{
    // Arc-seconds from φ to the central parallel, split at whole minutes as the tables are.
    const T phiMinutes = phi * kDegPerRad * 60.0;
    const T M = lanes::trunc(phiMinutes);
    const T S = (phiMinutes - M) * 60.0;
    const T deltaSec = (c.M0 - M) * 60.0 + c.S0 - S;

    const T s = kFeetPerArcSecond * (deltaSec + rectifyingCorrection(phi));
    const T R = mappingRadius(c, s);

    const double piValue = pi();
    const T lambdaSec = lon * 648000.0 / piValue;
    const T theta = piValue * c.l * (c.L0 - lambdaSec) / 648000.0;
    const T halfSin = lanes::sin(theta / 2.0);

    return {c.Rb - R + 2.0 * R * halfSin * halfSin, R * lanes::sin(theta) + c.X0, pointScale(c, phi, R), theta};
}

template <class T>
tm::GeographicOf<T> inverseOf(const LambertConstants& c, T northing, T easting)
{
    const T theta = lanes::atan((easting - c.X0) / (c.Rb - northing));
    const T R = (c.Rb - northing) / lanes::cos(theta);
    const T halfSin = lanes::sin(theta / 2.0);
    const T sPrime = ((c.Rb - c.R0 - northing) + 2.0 * R * halfSin * halfSin) / c.k0;

    const T lambdaSec = c.L0 - theta * kDegPerRad * 3600.0 / c.l;

    // Invert s' = s·(1 + L1·u² - L2·u³ + L3·u⁴): two refinements are ample inside a zone.
    const T u0 = sPrime / 1e8;
    const T u1 = sPrime / radiusSeries(c, u0) / 1e8;
    const T u2 = sPrime / radiusSeries(c, u1) / 1e8;
    const T s = sPrime / radiusSeries(c, u2);

    // Rectifying latitude, counted in arc-seconds from ten degrees below M0.
    const double baseMinutes = c.M0 - 600.0;
    const T omegaSec = (36000.0 + c.S0) - kArcSecondsPerFoot * s;
    const T phiSec = geodeticFromRectifying(omegaSec, minutesSecondsToRad(baseMinutes, omegaSec));
    const T phi = minutesSecondsToRad(baseMinutes, phiSec);

    const T s2 = kFeetPerArcSecond * ((36000.0 + c.S0) - phiSec + rectifyingCorrection(phi));

    return {phi, arcSecondsToRad(lambdaSec), pointScale(c, phi, mappingRadius(c, s2)), theta};
}

} // namespace

void geod2SPC27Lambert(const zoneconstant27* zone, geodCoord* point)
{
    tm::store(forwardOf(lambertConstants(zone), point->lat, point->lon), *point);
}

void SPC27Lambert2Geod(const zoneconstant27* zone, geodCoord* point)
{
    tm::store(inverseOf(lambertConstants(zone), point->northing, point->easting), *point);
}

void SPC27Lambert2GeodPair(const zoneconstant27* zone, geodCoord* pts)
{
    const LambertConstants c = lambertConstants(zone);
    convertPair([&c](auto n, auto e) { return inverseOf(c, n, e); }, pts, &geodCoord::northing, &geodCoord::easting);
}

} // namespace kelvane
