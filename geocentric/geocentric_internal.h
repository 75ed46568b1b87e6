// The geocentric conversions on bare axes, shared by the exported entry points.
#ifndef KELVANE_GEOCENTRIC_GEOCENTRIC_INTERNAL_H
#define KELVANE_GEOCENTRIC_GEOCENTRIC_INTERNAL_H

namespace kelvane::geocentric {

// Convergence of the latitude-height iteration that the inverse runs for points within
// half an equatorial radius of the centre: 0.1 mm in height, 1e-10 rad in latitude.
constexpr double kHeightTolerance = 0.0001;
constexpr double kLatitudeTolerance = 1e-10;
// Pass cap of that iteration. Points down to 100 km from the centre converge in under
// twenty passes, so the cap changes nothing for them; it only ends the loop for points
// that never settle (within about 50 km of the centre).
constexpr int kMaxPasses = 1000;

// phi, lambda (rad, east positive), h -> X, Y, Z on the ellipsoid with axes a and b.
void toCartesian(double a, double b, double phi, double lambda, double h, double& X, double& Y,
                 double& Z);

// X, Y, Z -> phi, lambda, h on the ellipsoid with axes a, b; e2 is the eccentricity
// squared of the latitude formula (each caller supplies its own form).
void fromCartesian(double a, double b, double e2, double X, double Y, double Z, double& phi,
                   double& lambda, double& h);

} // namespace kelvane::geocentric

#endif
