// The packed truncation gives in each lane the bits std::trunc gives: signed zeros, the
// edges of its fast range, and what lies beyond it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "core/lanes.h"

TEST(Lanes, TruncIsStdTruncInEachLane)
{
    const double xs[] = {-0.5,         -0.0,          0.0,           2.5,      -2.5,   59.999999999,
                         2147483647.5, -2147483647.5, -2147483648.5, 2147483648.0, 1e300, INFINITY,
                         -INFINITY,    std::nan("")};
    for (double x : xs) {
        for (double other : {1.5, -1e20}) {
            for (int k = 0; k < 2; ++k) {
                const kelvane::Lanes2 v = k == 0 ? kelvane::Lanes2{x, other} : kelvane::Lanes2{other, x};
                const double got = kelvane::lanes::lane(kelvane::lanes::trunc(v), k);
                const double want = std::trunc(x);
                EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0) << x << " in lane " << k << " beside " << other;
            }
        }
    }
}
