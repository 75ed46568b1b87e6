// The projection stage of the Hungarian EOV grid, callable on its own: HD72 geographic
// coordinates (IUGG 1967 ellipsoid) <-> EOV Y and X, through the Gauss sphere and the
// oblique rotation. Internal to the library.
#ifndef KELVANE_NATIONAL_GRIDS_EOV_INTERNAL_H
#define KELVANE_NATIONAL_GRIDS_EOV_INTERNAL_H

namespace kelvane::eov {

// Latitude origin on the ellipsoid (47 deg 10') and on the Gauss sphere, rad.
constexpr double kPhi0 = 0.823213630523992;
constexpr double kPhiS0 = 0.822438208856524;

// Ellipsoid latitude -> Gauss sphere latitude by the forward series (phi0 -> phiS0).
double sphereLatitude(double phi);

// phi, lambda (rad, east positive) on IUGG 1967 -> EOV Y (easting) and X (northing).
void projectToEov(double phi, double lambda, double& Y, double& X);

// EOV Y and X -> phi, lambda on IUGG 1967.
void unprojectFromEov(double Y, double X, double& phi, double& lambda);

} // namespace kelvane::eov

#endif
