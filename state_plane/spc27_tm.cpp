// SPCS 27 Transverse Mercator zones: the USC&GS series in seconds of arc and feet.
// The meridian distance is the rectifying latitude in arc-seconds times 101.2794065 ft.
#include "state_plane/spc27_tm.h"

#include <cmath>

#include "core/lanes.h"
#include "projections/transverse_mercator/transverse_mercator.h"
#include "state_plane/spc27_clarke.h"
#include "state_plane/spc27_lanes.h"

namespace kelvane {

namespace {

using namespace spc27;

// The constants of a TM row: param 1 to 6.
struct TmConstants {
    double X0; // false easting of the central meridian, ft
    double L0; // central meridian, arc-seconds west
    double M0; // whole minutes of the origin's rectifying latitude
    double S0; // seconds part of it
    double k0; // scale factor on the central meridian
    double Rx; // coefficient of the cubic easting term
};

TmConstants tmConstants(const zoneconstant27* zone)
{
    const double* p = zone->param;
    return {p[0], p[1], p[2], p[3], p[4], p[5]};
}

// The metric distance from the central meridian and the latitude φb at which the
// meridian arc is measured, for a point at φ (radians and arc-seconds; cosPhi its cosine,
// w2 its W²) lying dLambda arc-seconds east of the central meridian.
template <class T>
struct MeridianFoot {
    T x2;      // m
    T phiBSec; // arc-seconds
};

template <class T>
MeridianFoot<T> meridianFoot(T phi, T cosPhi, T w2, T phiSec, T dLambda)
{
    const T t = dLambda / 10000.0;
    const T x1 = 30.92241724 * cosPhi / lanes::sqrt(w2) * (dLambda - 3.9174 * t * t * t);
    const T x2 = x1 + 4.0831 * x1 * x1 * x1 / 1e15;
    const T d = 2.552381e-9 * x2 * x2;
    const T phiASec = phiSec + lanes::tan(phi) * d * w2 * w2;
    const T wa2 = wSquared(arcSecondsToRad(phiASec));
    const T phiBSec = phiSec + lanes::tan(arcSecondsToRad(phiASec)) * d * wa2 * wa2;
    return {x2, phiBSec};
}

// Convergence in radians from φ″, φb″ and Δλ″ (positive east of the central meridian).
template <class T>
T convergence(T phiSec, T phiBSec, T dLambda)
{
    const T phiM = (phiSec + phiBSec) / 7200.0 * kRadPerDeg;
    const T s = lanes::sin(phiM);
    const T c = lanes::cos(phiM);
    const T gammaSec = dLambda * (s + 1.9587e-12 * dLambda * dLambda * s * c * c);
    return arcSecondsToRad(gammaSec);
}

// Point scale factor at φ (cosPhi its cosine), dE feet east of the central meridian.
template <class T>
T pointScale(double k0, T cosPhi, T dE)
{
    const T h = 1.0 + kSecondEccSq * cosPhi * cosPhi;
    const T q = dE / 1e6;
    return k0 * (1.0 + h * h / (881.749162 * k0 * k0) * q * q);
}

// The zone's formulas, written once over the number type: one point (double), or two side
// by side (Lanes2, the batches), each lane bit for bit what its point gives alone. The
// longitude is positive west.
template <class T>
tm::GridOf<T> forwardOf(const TmConstants& c, T phi, T lon)
{
    const T phiSec = toArcSeconds(phi);
    const T dLambda = c.L0 - toArcSeconds(lon);
    const T cosPhi = lanes::cos(phi);

    const MeridianFoot<T> f = meridianFoot(phi, cosPhi, wSquared(phi), phiSec, dLambda);
    const T easting = 3.28083333 * c.k0 * f.x2 + c.X0 +
                      35.31445472627337 * f.x2 * f.x2 * f.x2 * c.k0 * c.k0 * c.k0 * c.Rx / 1e15;

    const T m = lanes::trunc(f.phiBSec / 60.0);
    const T northing = kFeetPerArcSecond * c.k0 *
                       ((m - c.M0) * 60.0 + (f.phiBSec - 60.0 * m) - c.S0 -
                        rectifyingCorrection(arcSecondsToRad(f.phiBSec)));

    return {northing, easting, pointScale(c.k0, cosPhi, easting - c.X0), convergence(phiSec, f.phiBSec, dLambda)};
}

template <class T>
tm::GeographicOf<T> inverseOf(const TmConstants& c, T northing, T easting)
{
    const T dE = easting - c.X0;

    // Footpoint latitude φ1 from the rectifying latitude of the northing.
    const T omegaSec = kArcSecondsPerFoot / c.k0 * northing + c.S0;
    const T phi1Sec = geodeticFromRectifying(omegaSec, minutesSecondsToRad(c.M0, omegaSec));
    const T phi1 = minutesSecondsToRad(c.M0, phi1Sec);

    // Metric distance from the central meridian, the cubic easting term removed.
    const T q = dE / 100000.0;
    const T xPrime = dE - c.Rx * q * q * q;
    const T x2 = (0.3048006099 / c.k0) * (dE - c.Rx * xPrime * xPrime * xPrime / 1e15);

    const T w1sq = wSquared(phi1);
    const T phiSec = 60.0 * c.M0 + phi1Sec - lanes::tan(phi1) * 25.52381 * w1sq * w1sq * x2 * x2 / 1e10;
    const T phi = arcSecondsToRad(phiSec);

    const T x3 = x2 - 4.0831 * x2 * x2 * x2 / 1e15;
    const T x4 = x2 - 4.0831 * x3 * x3 * x3 / 1e15;
    const T cosPhi = lanes::cos(phi);
    const T w2 = wSquared(phi);
    const T a = lanes::sqrt(w2) * x4 / (30.92241724 * cosPhi);
    const T b = a + 3.9174 * a * a * a / 1e12;
    const T lambdaSec = c.L0 - a - 3.9174 * b * b * b / 1e12;

    const T dLambda = c.L0 - lambdaSec;
    const MeridianFoot<T> f = meridianFoot(phi, cosPhi, w2, phiSec, dLambda);

    return {phi, arcSecondsToRad(lambdaSec), pointScale(c.k0, cosPhi, dE), convergence(phiSec, f.phiBSec, dLambda)};
}

} // namespace

void geod2SPC27TM(const zoneconstant27* zone, geodCoord* point)
{
    tm::store(forwardOf(tmConstants(zone), point->lat, point->lon), *point);
}

void SPC27TM2Geod(const zoneconstant27* zone, geodCoord* point)
{
    tm::store(inverseOf(tmConstants(zone), point->northing, point->easting), *point);
}

void geod2SPC27TMPair(const zoneconstant27* zone, geodCoord* pts)
{
    const TmConstants c = tmConstants(zone);
    convertPair([&c](auto phi, auto lon) { return forwardOf(c, phi, lon); }, pts, &geodCoord::lat, &geodCoord::lon);
}

void SPC27TM2GeodPair(const zoneconstant27* zone, geodCoord* pts)
{
    const TmConstants c = tmConstants(zone);
    convertPair([&c](auto n, auto e) { return inverseOf(c, n, e); }, pts, &geodCoord::northing, &geodCoord::easting);
}

} // namespace kelvane
