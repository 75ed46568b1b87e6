// SPCS 27 Alaska zones 2 to 9. Only the false easting X0 (param 1) and the central
// meridian L0 (param 2, arc-seconds west) differ between the zones; the origin latitude
// 54° (193900.05442″ of rectifying latitude) and k0 = 0.9999 are in the coefficients.
#include "state_plane/spc27_alaska.h"

#include <cmath>

#include "state_plane/spc27_clarke.h"

namespace kelvane {

namespace {

using namespace spc27;

// Convergence in radians; c2 = cos²φ, t = Δλ″/10⁴ (positive east of the central meridian).
double convergence(double c2, double t)
{
    const double gammaSec = std::sqrt(1.0 - c2) * t *
                            (10000.0 + 7.83481 * t * t * (c2 + 0.02044 * c2 * c2 + 9e-5 * c2 * c2 * c2) +
                             0.003683 * t * t * t * t * (3.0 * c2 * c2 - c2));
    return arcSecondsToRad(gammaSec);
}

// Point scale factor; c2 = cos²φ, q = (easting - X0)/10⁶.
double pointScale(double c2, double q)
{
    const double h = 1.0 + kSecondEccSq * c2;
    return 0.9999 * (1.0 + h * h / 881.572821 * q * q);
}

} // namespace

void geod2SPC27Alaska(const zoneconstant27* zone, geodCoord* point)
{
    const double X0 = zone->param[0];
    const double L0 = zone->param[1];
    const double phi = point->lat;
    const double cosPhi = std::cos(phi);
    const double c2 = cosPhi * cosPhi;
    const double t = (L0 - toArcSeconds(point->lon)) / 10000.0;
    const double t2 = t * t;
    const double h = 1.0 + kSecondEccSq * c2;
    const double sinPhi = std::sqrt(1.0 - c2);

    const double dE = 1017862.15 * cosPhi / std::sqrt(h) * t *
                      (1.0 - 0.000391740509 * t2 * (1.0 - 2.0 * c2 - 0.00681478 * c2 * c2) +
                       4.60382e-8 * t2 * t2 * (1.0 - 20.0 * c2 + 23.6047 * c2 * c2 + 0.4907 * c2 * c2 * c2));
    const double a = 101.269278503 * (toArcSeconds(phi) - 193900.05442 -
                                      sinPhi * (1052.893943 - 4.483386 * c2 + 0.023559 * c2 * c2) * cosPhi);
    const double northing =
        a + 24673.6748 * sinPhi * cosPhi / std::sqrt(h) * t2 *
                (1.0 + 0.0001958703 * t2 * (6.0 * c2 - 1.0 + 0.06133306 * c2 * c2 + 0.00018577 * c2 * c2 * c2) +
                 1.5346e-8 * t2 * t2 * (1.0 - 60.0 * c2 + 117.75 * c2 * c2 + 4.089 * c2 * c2 * c2));

    point->easting = dE + X0;
    point->northing = northing;
    point->convergence = convergence(c2, t);
    point->gridScale = pointScale(c2, (point->easting - X0) / 1e6);
}

void SPC27Alaska2Geod(const zoneconstant27* zone, geodCoord* point)
{
    const double X0 = zone->param[0];
    const double L0 = zone->param[1];

    // Footpoint latitude from the rectifying latitude of the northing.
    const double omegaSec = 0.00987466302498 * point->northing + 193900.05442;
    const double cw = std::cos(arcSecondsToRad(omegaSec));
    const double cw2 = cw * cw;
    const double phi1Sec =
        omegaSec + std::sqrt(1.0 - cw2) * (1047.546691 + 6.193011 * cw2 + 0.050699 * cw2 * cw2) * cw;

    const double c1 = std::cos(arcSecondsToRad(phi1Sec));
    const double c2 = c1 * c1;
    const double q = (point->easting - X0) / 1e6;
    const double q2 = q * q;
    const double h = 1.0 + kSecondEccSq * c2;

    const double phiSec =
        phi1Sec - std::sqrt(1.0 / c2 - 1.0) * 233.973645 * q2 * h * h *
                      (1.0 - 0.00018905604 * q2 * (3.0 / c2 + 1.9591113 + 0.081359 * c2 + 0.000279 * c2 * c2) +
                       1.42969e-8 * q2 * q2 * h * (45.0 / (c2 * c2) + 15.5 - 0.307 / c2 + 1.53 * c2));
    const double lambdaSec =
        L0 - std::sqrt(h) * 9824.513072 / c1 * q *
                 (1.0 - 0.00037811208 * h * q2 * (2.0 / c2 + h - 2.0) +
                  4.2890624e-8 * h * h * q2 * q2 * (24.0 / (c2 * c2) + 1.054 - 20.0 / c2 - 0.0136 * c2));

    const double lat = arcSecondsToRad(phiSec);
    const double cosLat = std::cos(lat);
    point->lat = lat;
    point->lon = arcSecondsToRad(lambdaSec);
    point->convergence = convergence(cosLat * cosLat, (L0 - lambdaSec) / 10000.0);
    point->gridScale = pointScale(cosLat * cosLat, q);
}

} // namespace kelvane
