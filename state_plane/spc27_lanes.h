// Two points of an SPCS 27 zone side by side, through a zone formula written once over its
// number type (see core/lanes.h): each lane gives bit for bit what its point gives alone.
#ifndef KELVANE_STATE_PLANE_SPC27_LANES_H
#define KELVANE_STATE_PLANE_SPC27_LANES_H

#include "core/lanes.h"
#include "kelvane/spc27.h"
#include "projections/transverse_mercator/transverse_mercator.h"

namespace kelvane::spc27 {

// pts[0] and pts[1] converted by f, which takes the fields x and y of a point (double, or
// Lanes2 for both points) and gives its grid coordinates (tm::GridOf) or its geographic
// ones (tm::GeographicOf), which are stored in the point's record. Points with a NaN or an
// infinity among the inputs go one at a time.
template <class F>
void convertPair(F f, geodCoord* pts, double geodCoord::*x, double geodCoord::*y)
{
    if (!lanes::pairable(pts[0].*x, pts[0].*y, pts[1].*x, pts[1].*y)) {
        for (int j = 0; j < 2; ++j) tm::store(f(pts[j].*x, pts[j].*y), pts[j]);
        return;
    }
    const auto r = f(Lanes2{pts[0].*x, pts[1].*x}, Lanes2{pts[0].*y, pts[1].*y});
    for (int j = 0; j < 2; ++j) tm::store(tm::lane(r, j), pts[j]);
}

} // namespace kelvane::spc27

#endif
