// SPCS 27 Transverse Mercator zones: the USC&GS series in seconds of arc and feet.
// The meridian distance is the rectifying latitude in arc-seconds times 101.2794065 ft.
#include "state_plane/spc27_tm.h"

#include <cmath>

#include "state_plane/spc27_clarke.h"

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
// meridian arc is measured, for a point at φ (radians and arc-seconds) lying dLambda
// arc-seconds east of the central meridian.
struct MeridianFoot {
    double x2;      // m
    double phiBSec; // arc-seconds
};

MeridianFoot meridianFoot(double phi, double phiSec, double dLambda)
{
    const double t = dLambda / 10000.0;
    const double w2 = wSquared(phi);
    const double x1 = 30.92241724 * std::cos(phi) / std::sqrt(w2) * (dLambda - 3.9174 * t * t * t);
    const double x2 = x1 + 4.0831 * x1 * x1 * x1 / 1e15;
    const double d = 2.552381e-9 * x2 * x2;
    const double phiASec = phiSec + std::tan(phi) * d * w2 * w2;
    const double wa2 = wSquared(arcSecondsToRad(phiASec));
    const double phiBSec = phiSec + std::tan(arcSecondsToRad(phiASec)) * d * wa2 * wa2;
    return {x2, phiBSec};
}

// Convergence in radians from φ″, φb″ and Δλ″ (positive east of the central meridian).
double convergence(double phiSec, double phiBSec, double dLambda)
{
    const double phiM = (phiSec + phiBSec) / 7200.0 * kRadPerDeg;
    const double s = std::sin(phiM);
    const double c = std::cos(phiM);
    const double gammaSec = dLambda * (s + 1.9587e-12 * dLambda * dLambda * s * c * c);
    return arcSecondsToRad(gammaSec);
}

// Point scale factor at φ, dE feet east of the central meridian.
double pointScale(double k0, double phi, double dE)
{
    const double c = std::cos(phi);
    const double h = 1.0 + kSecondEccSq * c * c;
    const double q = dE / 1e6;
    return k0 * (1.0 + h * h / (881.749162 * k0 * k0) * q * q);
}

} // namespace

void geod2SPC27TM(const zoneconstant27* zone, geodCoord* point)
{
    const TmConstants c = tmConstants(zone);
    const double phi = point->lat;
    const double phiSec = toArcSeconds(phi);
    const double dLambda = c.L0 - toArcSeconds(point->lon);

    const MeridianFoot f = meridianFoot(phi, phiSec, dLambda);
    const double easting = 3.28083333 * c.k0 * f.x2 + c.X0 +
                           35.31445472627337 * f.x2 * f.x2 * f.x2 * c.k0 * c.k0 * c.k0 * c.Rx / 1e15;

    const double m = std::trunc(f.phiBSec / 60.0);
    const double northing = kFeetPerArcSecond * c.k0 *
                            ((m - c.M0) * 60.0 + (f.phiBSec - 60.0 * m) - c.S0 -
                             rectifyingCorrection(arcSecondsToRad(f.phiBSec)));

    point->northing = northing;
    point->easting = easting;
    point->convergence = convergence(phiSec, f.phiBSec, dLambda);
    point->gridScale = pointScale(c.k0, phi, easting - c.X0);
}

void SPC27TM2Geod(const zoneconstant27* zone, geodCoord* point)
{
    const TmConstants c = tmConstants(zone);
    const double northing = point->northing;
    const double dE = point->easting - c.X0;

    // Footpoint latitude φ1 from the rectifying latitude of the northing.
    const double omegaSec = kArcSecondsPerFoot / c.k0 * northing + c.S0;
    const double phi1Sec = geodeticFromRectifying(omegaSec, minutesSecondsToRad(c.M0, omegaSec));
    const double phi1 = minutesSecondsToRad(c.M0, phi1Sec);

    // Metric distance from the central meridian, the cubic easting term removed.
    const double q = dE / 100000.0;
    const double xPrime = dE - c.Rx * q * q * q;
    const double x2 = (0.3048006099 / c.k0) * (dE - c.Rx * xPrime * xPrime * xPrime / 1e15);

    const double w1sq = wSquared(phi1);
    const double phiSec = 60.0 * c.M0 + phi1Sec - std::tan(phi1) * 25.52381 * w1sq * w1sq * x2 * x2 / 1e10;
    const double phi = arcSecondsToRad(phiSec);

    const double x3 = x2 - 4.0831 * x2 * x2 * x2 / 1e15;
    const double x4 = x2 - 4.0831 * x3 * x3 * x3 / 1e15;
    const double a = std::sqrt(wSquared(phi)) * x4 / (30.92241724 * std::cos(phi));
    const double b = a + 3.9174 * a * a * a / 1e12;
    const double lambdaSec = c.L0 - a - 3.9174 * b * b * b / 1e12;

    const double dLambda = c.L0 - lambdaSec;
    const MeridianFoot f = meridianFoot(phi, phiSec, dLambda);

    point->lat = phi;
    point->lon = arcSecondsToRad(lambdaSec);
    point->convergence = convergence(phiSec, f.phiBSec, dLambda);
    point->gridScale = pointScale(c.k0, phi, dE);
}

} // namespace kelvane
