// Seven-parameter similarity transformation: rotation, model and solution, shared by the
// free functions and the class that keeps a solution.
#ifndef KELVANE_TRANSFORM3D_SEVEN_PARAM_H
#define KELVANE_TRANSFORM3D_SEVEN_PARAM_H

#include "transform3d/adjustment.h"

namespace kelvane::transform3d {

// Internal parameter order: s, a, b, c, tx, ty, tz, with a, b, c the negated reported
// angles.
constexpr int kSevenParams = 7;

// R = Rx(a) Ry(b) Rz(c), ordinary counter-clockwise rotations, row-major.
void rotationMatrix(double a, double b, double c, double R[9]);

// (X, Y, Z) = s R (x, y, z) + t with internal angles.
void applySeven(double s, double a, double b, double c, const double t[3], const double p[3],
                double out[3]);

// The model of the adjustment, solved from at least three points.
extern const SimilarityModel kSevenParamModel;

} // namespace kelvane::transform3d

#endif
