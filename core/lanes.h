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
// library); formulas call the functions of namespace lanes, which take double, Lanes2 or
// Lanes4. Lanes4 is four points as two Lanes2: where one point's chain of elementary
// calls is long, four chains in flight keep the processor busier than two.
#ifndef KELVANE_CORE_LANES_H
#define KELVANE_CORE_LANES_H

#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kelvane {

typedef double Lanes2 __attribute__((vector_size(16)));
typedef long long LaneMask2 __attribute__((vector_size(16))); // a comparison's result: -1 true, 0 false

// Four points: two pairs, the arithmetic of each pair packed.
struct Lanes4 {
    Lanes2 lo, hi;
};

#define KELVANE_LANES4_OPERATOR(op)                                                                         \
    inline Lanes4 operator op(const Lanes4& x, const Lanes4& y) { return {x.lo op y.lo, x.hi op y.hi}; }   \
    inline Lanes4 operator op(const Lanes4& x, double y) { return {x.lo op y, x.hi op y}; }                \
    inline Lanes4 operator op(double x, const Lanes4& y) { return {x op y.lo, x op y.hi}; }
KELVANE_LANES4_OPERATOR(+)
KELVANE_LANES4_OPERATOR(-)
KELVANE_LANES4_OPERATOR(*)
KELVANE_LANES4_OPERATOR(/)
#undef KELVANE_LANES4_OPERATOR
inline Lanes4 operator-(const Lanes4& x) { return {-x.lo, -x.hi}; }

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

inline Lanes4 sqrt(const Lanes4& x) { return {sqrt(x.lo), sqrt(x.hi)}; }

#define KELVANE_LANES_ELEMENTARY(name)                                                                       \
    inline double name(double x) { return std::name(x); }                                                   \
    inline Lanes2 name(Lanes2 x)                                                                             \
    {                                                                                                        \
        return perLane([](double v) { return std::name(v); }, x);                                           \
    }                                                                                                        \
    inline Lanes4 name(const Lanes4& x) { return {name(x.lo), name(x.hi)}; }
KELVANE_LANES_ELEMENTARY(sin)
KELVANE_LANES_ELEMENTARY(cos)
KELVANE_LANES_ELEMENTARY(tan)
KELVANE_LANES_ELEMENTARY(atan)
KELVANE_LANES_ELEMENTARY(asin)
KELVANE_LANES_ELEMENTARY(log)
KELVANE_LANES_ELEMENTARY(exp)
#undef KELVANE_LANES_ELEMENTARY

// x rounded towards zero. Where both lanes lie within +-2^31 the integer conversion
// truncates them exactly, and the sign bit of x is kept (-0.5 gives -0, as std::trunc does).
inline double trunc(double x) { return std::trunc(x); }
inline Lanes2 trunc(Lanes2 x)
{
#if defined(__SSE2__)
    const long long sign = static_cast<long long>(0x8000000000000000ULL);
    const LaneMask2 small = (x < 2147483648.0) & (x > -2147483648.0);
    if ((small[0] & small[1]) != 0) {
        const Lanes2 whole = _mm_cvtepi32_pd(_mm_cvttpd_epi32(x));
        return (Lanes2)((LaneMask2)whole | ((LaneMask2)x & LaneMask2{sign, sign}));
    }
#endif
    return perLane([](double v) { return std::trunc(v); }, x);
}
inline Lanes4 trunc(const Lanes4& x) { return {trunc(x.lo), trunc(x.hi)}; }

// The arc tangent of y/x in the quadrant of (x, y).
inline double atan2(double y, double x) { return std::atan2(y, x); }
inline Lanes2 atan2(Lanes2 y, Lanes2 x) { return Lanes2{std::atan2(y[0], x[0]), std::atan2(y[1], x[1])}; }

// Whether two points, each given by two inputs, may be converted side by side. A NaN or an
// infinity among the inputs is left to the one-point path: where a NaN (given, or made from
// an infinity) meets another NaN that the arithmetic made, which of the two comes out
// depends on the order of the operands, and the two-lane code need not order them as the
// one-point code does (an infinite northing gave a latitude and longitude of the other sign).
inline bool pairable(double x0, double y0, double x1, double y1)
{
    return std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1);
}

// x^y for a scalar exponent.
inline double pow(double x, double y) { return std::pow(x, y); }
inline Lanes2 pow(Lanes2 x, double y)
{
    return perLane([y](double v) { return std::pow(v, y); }, x);
}
inline Lanes4 pow(const Lanes4& x, double y) { return {pow(x.lo, y), pow(x.hi, y)}; }

// |x|: the sign bit cleared, as std::fabs does.
inline Lanes2 fabs(Lanes2 x)
{
    const long long magnitude = 0x7fffffffffffffffLL;
    return (Lanes2)((LaneMask2)x & LaneMask2{magnitude, magnitude});
}

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
constexpr int width = sizeof(T) / sizeof(double);

inline double lane(double x, int) { return x; }
inline double lane(Lanes2 x, int k) { return x[k]; }
inline double lane(const Lanes4& x, int k) { return k < 2 ? x.lo[k] : x.hi[k - 2]; }

template <class T, class F>
T gather(F f)
{
    if constexpr (width<T> == 1) {
        return f(0);
    } else if constexpr (width<T> == 2) {
        return T{f(0), f(1)};
    } else {
        return T{Lanes2{f(0), f(1)}, Lanes2{f(2), f(3)}};
    }
}

// One step of an iteration that stops where a step leaves its value unchanged (settle), or
// changes it by less than tol (settleWithin): x takes next in every lane that goes on, and
// keeps its value (a +0 not turned into -0) in every lane that stops. Returns whether every
// lane stops, when a scalar iteration would stop; a lane that stopped sooner takes the same
// next again, so it stays stopped with the same value.
inline bool settle(double& x, double next)
{
    if (next == x) return true;
    x = next;
    return false;
}
inline bool settleWithin(double& x, double next, double tol)
{
    if (std::fabs(next - x) < tol) return true;
    x = next;
    return false;
}

// x takes next in the lanes where stop is false; whether stop holds in both lanes.
inline bool takeUnless(Lanes2& x, Lanes2 next, LaneMask2 stop)
{
    x = (Lanes2)(((LaneMask2)x & stop) | ((LaneMask2)next & ~stop));
    return (stop[0] & stop[1]) != 0;
}
inline bool settle(Lanes2& x, Lanes2 next) { return takeUnless(x, next, next == x); }
inline bool settleWithin(Lanes2& x, Lanes2 next, double tol) { return takeUnless(x, next, fabs(next - x) < tol); }

inline bool settle(Lanes4& x, const Lanes4& next)
{
    const bool lo = settle(x.lo, next.lo);
    const bool hi = settle(x.hi, next.hi);
    return lo && hi;
}
inline bool settleWithin(Lanes4& x, const Lanes4& next, double tol)
{
    const bool lo = settleWithin(x.lo, next.lo, tol);
    const bool hi = settleWithin(x.hi, next.hi, tol);
    return lo && hi;
}

} // namespace lanes
} // namespace kelvane

#endif
