// Oblique (double) stereographic: the constants of a zone, derived in one place.
#ifndef KELVANE_PROJECTIONS_STEREOGRAPHIC_STEREOGRAPHIC_H
#define KELVANE_PROJECTIONS_STEREOGRAPHIC_STEREOGRAPHIC_H

#include "core/conformal_sphere.h"
#include "kelvane/core.h"

namespace kelvane {

struct StereographicConstants {
    GaussSphere sphere; // the conformal sphere touching the ellipsoid at the centre
    double R;           // its radius, the geometric mean radius sqrt(rho0*nu0) at the centre
    double phi0;        // latitude of the centre
    double sinChi0, cosChi0;
    double lambda0;     // central meridian, positive east
    double k0, FN, FE;
};

StereographicConstants stereographicConstants(const ellipsoid& ell, const zoneCnstnt& zone);

} // namespace kelvane

#endif
