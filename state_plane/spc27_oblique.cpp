// SPCS 27 Alaska zone 1: Hotine oblique Mercator on Clarke 1866 with the axis of the
// grid at azimuth atan(-3/4). u runs along the central line and v across it, in metres
// on the aposphere; the grid is u, v rotated by the 3-4-5 triangle and shifted by
// 5 000 000 m each way, then expressed in US survey feet.
#include "state_plane/spc27_oblique.h"

#include <cmath>

#include "core/math_constants.h"

namespace kelvane {

namespace {

constexpr double kE = 0.082271854223003;       // e of Clarke 1866
constexpr double kB = 1.00029977273;           // B
constexpr double kLambda0 = 1.7717540856301297; // λ0, rad west
constexpr double kSinAlpha0 = 0.327015517176;
constexpr double kCosAlpha0 = 0.945018968871;
constexpr double kD = 6386352.67013;           // m
constexpr double kMetresPerFoot = 0.3048006096012192;

struct SinhCosh {
    double s;
    double c;
};

SinhCosh hyperbolic(double x)
{
    const double ep = std::exp(x);
    const double em = std::exp(-x);
    return {(ep - em) / 2.0, (ep + em) / 2.0};
}

// u, v on the oblique cylinder with the convergence and scale of the point.
struct Oblique {
    double u; // m
    double v; // m
    double convergence;
    double gridScale;
};

Oblique oblique(double phi, double lambda)
{
    const double sinPhi = std::sin(phi);
    const double Q = kB * (std::log(std::tan(pi() / 4.0 + phi / 2.0)) -
                           0.0411359271115015 * std::log((1.0 + kE * sinPhi) / (1.0 - kE * sinPhi))) +
                     0.00447599131;
    const SinhCosh h = hyperbolic(Q);
    const double S = h.s;
    const double T = h.c;
    const double L = (lambda - kLambda0) * kB;
    const double sinL = std::sin(L);
    const double cosL = std::cos(L);

    Oblique o;
    o.u = kD * std::atan((kSinAlpha0 * sinL + kCosAlpha0 * S) / cosL);
    o.v = 3193176.335065 * std::log((kSinAlpha0 * S + T - kCosAlpha0 * sinL) /
                                    (kCosAlpha0 * sinL + T - kSinAlpha0 * S));
    o.convergence = std::atan((3.0 * T * cosL - 4.0 * S * sinL - 1.3841648812) /
                              (3.0 * S * sinL + 4.0 * T * cosL + 1.0381236609));
    o.gridScale = 1.0015773595 * std::sqrt(1.0 - 0.006768657997291 * sinPhi * sinPhi) * std::cos(o.u / kD) /
                  (cosL * std::cos(phi));
    return o;
}

} // namespace

void geod2SPC27OM(geodCoord* point)
{
    const Oblique o = oblique(point->lat, point->lon);
    point->easting = (-0.6 * o.u + 0.8 * o.v + 5000000.0) / kMetresPerFoot;
    point->northing = (0.8 * o.u + 0.6 * o.v - 5000000.0) / kMetresPerFoot;
    point->convergence = o.convergence;
    point->gridScale = o.gridScale;
}

void SPC27OM2Geod(geodCoord* point)
{
    const double easting = point->easting;
    const double northing = point->northing;
    const double vD = (0.243840487681 * easting + 0.182880365761 * northing - 1000000.0) / kD;
    const double uD = (-0.182880365761 * easting + 0.243840487681 * northing + 7000000.0) / kD;
    const SinhCosh hv = hyperbolic(vD);
    const double sinU = std::sin(uD);

    const double chi =
        2.0 * std::atan(std::exp(0.4998501585533795 * std::log((sinU * kCosAlpha0 + kSinAlpha0 * hv.s + hv.c) /
                                                                (hv.c - kSinAlpha0 * hv.s - kCosAlpha0 * sinU)) -
                                 0.0044746499319740975)) -
        pi() / 2.0;
    const double c2 = std::cos(chi) * std::cos(chi);
    const double lat =
        chi + std::sin(chi) * std::cos(chi) *
                  (0.006761032571 + 5.3172205e-5 * c2 + 5.73027e-7 * c2 * c2 + 7.128e-9 * c2 * c2 * c2);
    const double lon = kLambda0 + 0.999700317106759 * std::atan((kSinAlpha0 * sinU - kCosAlpha0 * hv.s) / std::cos(uD));

    const Oblique o = oblique(lat, lon);
    point->lat = lat;
    point->lon = lon;
    point->convergence = o.convergence;
    point->gridScale = o.gridScale;
}

} // namespace kelvane
