// Krovak oblique conformal conic: the constants shared by the forward and inverse
// projections, derived from the caller's record in one place.
#ifndef KELVANE_NATIONAL_GRIDS_KROVAK_H
#define KELVANE_NATIONAL_GRIDS_KROVAK_H

#include "core/conformal_sphere.h"
#include "kelvane/krovak.h"

namespace kelvane {

struct KrovakConstants {
    GaussSphere sphere;  // B = sphere.n, gamma0 = sphere.chi0, t0 = sphere.K
    double phic;         // latitude of the projection centre
    double lambda0;      // longitude of the origin, positive east
    double sinAlphac;    // of the co-latitude of the cone axis
    double cosAlphac;
    double n;            // cone constant, sin(phip)
    double r0;           // cone radius of the pseudo standard parallel, kp*A/tan(phip)
    double tanPhipTerm;  // tan(phip/2 + pi/4), the conformal factor of the pseudo parallel
    double falseNorthing;
    double falseEasting;
};

// Derives the constants. Returns false, leaving c untouched, when the record describes
// no Krovak projection: a semi-major axis that is not positive, an eccentricity outside
// 0..1, a centre latitude not strictly between the poles, a pseudo standard parallel not
// strictly between the equator and the pole, a scale that is not positive, or any value
// that is not finite.
bool krovakConstants(const zoneCnstntKrovakObliqueConic& zone, KrovakConstants& c);

} // namespace kelvane

#endif
