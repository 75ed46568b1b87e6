#include "kelvane/core.h"

#include <cmath>

#include "core/ellipsoid_terms.h"

int initEllipsoid(ellipsoid* ell, double a, double f)
{
    if (ell == nullptr) return 1; // no record to fill
    ell->semiMajor = a;
    ell->flattening = f;
    ell->semiMinor = a - f * a;
    ell->ecc = std::sqrt(kelvane::eSqOfFlattening(f));
    ell->eccSq = kelvane::eSqOfEcc(ell->ecc);
    ell->invFlattening = 1.0 / f;
    return 0;
}
