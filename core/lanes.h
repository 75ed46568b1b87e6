// Two points computed side by side in the two lanes of a vector register. Addition,
// subtraction, multiplication, division and square root are correctly rounded in each lane
// exactly as in scalar code, so a formula written once as a template over its number type
// gives, instantiated on Lanes2, bit for bit the results of its scalar instantiation for
// each of the two points, at about the cost of one: the batches use this. Elementary
// functions (sin, log, ...) are called once per lane with the scalar library, so they too
// give the scalar bits.
//
// Nothing may contract a product and a sum into one fused operation, or the lanes could
// round differently from the scalar code; the library is compiled with contraction off.
//
// The vector type is the GCC/Clang vector extension (gcc, clang and MinGW-w64 build the
// library); formulas call the functions of namespace lanes, which take double or Lanes2.
#ifndef KELVANE_CORE_LANES_H
#define KELVANE_CORE_LANES_H

#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kelvane {

typedef double Lanes2 __attribute__((vector_size(16)));
typedef long long LaneMask2 __attribute__((vector_size(16))); // a comparison's result: -1 true, 0 false

namespace lanes {

// f applied to each lane with the scalar library.
template <class F>
inline Lanes2 perLane(F f, Lanes2 x)
{
    return Lanes2{f(x[0]), f(x[1])};
}

inline double sqrt(double x) { return std::sqrt(x); }
inline Lanes2 sqrt(Lanes2 x)
{
#if defined(__SSE2__)
    return _mm_sqrt_pd(x);
#else
    return perLane([](double v) { return std::sqrt(v); }, x);
#endif
}

#define KELVANE_LANES_ELEMENTARY(name)                                                                       \
    inline double name(double x) { return std::name(x); }                                                   \
    inline Lanes2 name(Lanes2 x)                                                                             \
    {                                                                                                        \
        return perLane([](double v) { return std::name(v); }, x);                                           \
    }
KELVANE_LANES_ELEMENTARY(sin)
KELVANE_LANES_ELEMENTARY(cos)
KELVANE_LANES_ELEMENTARY(tan)
KELVANE_LANES_ELEMENTARY(atan)
KELVANE_LANES_ELEMENTARY(asin)
KELVANE_LANES_ELEMENTARY(log)
KELVANE_LANES_ELEMENTARY(exp)
#undef KELVANE_LANES_ELEMENTARY

// Whether x == y in any lane (for a scalar, whether x == y).
inline bool anyEqual(double x, double y) { return x == y; }
inline bool anyEqual(Lanes2 x, double y)
{
    const LaneMask2 m = x == y;
    return (m[0] | m[1]) != 0;
}

// The number of points a number type carries, lane k of a value, and the value whose lane k
// is f(k): a formula written on T reads its inputs and stores its results through these.
template <class T>
constexpr int width = 1;
template <>
constexpr int width<Lanes2> = 2;

inline double lane(double x, int) { return x; }
inline double lane(Lanes2 x, int k) { return x[k]; }

template <class T, class F>
T gather(F f)
{
    if constexpr (width<T> == 1) {
        return f(0);
    } else {
        return T{f(0), f(1)};
    }
}

// One step of an iteration that stops where a step leaves its value unchanged: x takes next
// in every lane where next differs from x, and keeps its value (a +0 not turned into -0)
// where they are equal. Returns whether they are equal in every lane, when a scalar
// iteration would stop; a lane that stopped sooner takes the same next again, so it stays.
inline bool settle(double& x, double next)
{
    if (next == x) return true;
    x = next;
    return false;
}
inline bool settle(Lanes2& x, Lanes2 next)
{
    const LaneMask2 same = next == x;
    x = (Lanes2)(((LaneMask2)x & same) | ((LaneMask2)next & ~same));
    return (same[0] & same[1]) != 0;
}

} // namespace lanes
} // namespace kelvane

#endif
