#include "kelvane/core.h"

#include <cmath>

int initEllipsoid(ellipsoid* ell, double a, double f)
{
    if (ell == nullptr) return 1; // no record to fill
    ell->semiMajor = a;
    ell->flattening = f;
    ell->semiMinor = a - f * a;
    ell->ecc = std::sqrt(2.0 * f - std::pow(f, 2.0));
    ell->eccSq = ell->ecc * ell->ecc;
    ell->invFlattening = 1.0 / f;
    return 0;
}
