// Four-parameter transformation (scale and translations): model and solution, shared by
// the free functions and the class that keeps a solution.
#ifndef KELVANE_TRANSFORM3D_FOUR_PARAM_H
#define KELVANE_TRANSFORM3D_FOUR_PARAM_H

#include "transform3d/adjustment.h"

namespace kelvane::transform3d {

// Parameter order: s, tx, ty, tz.
constexpr int kFourParams = 4;

// The model of the adjustment, solved from at least two points.
extern const SimilarityModel kFourParamModel;

} // namespace kelvane::transform3d

#endif
