// Synthetic control points from known seven-parameter sets, shared by the transformation
// tests and benchmark. The transformation is built here from the frame rotations themselves,
// independently of the library.
#ifndef KELVANE_BENCH_SUPPORT_CONTROL_POINTS_H
#define KELVANE_BENCH_SUPPORT_CONTROL_POINTS_H

#include <cmath>
#include <random>
#include <vector>

namespace kelvane_test {

const double kPi = 4.0 * std::atan(1.0);
const double kArcSec = kPi / 648000.0;

// Reported sign: coordinate-frame angles, scale as a factor.
struct Params7 {
    double scale, rx, ry, rz, tx, ty, tz;
};

// A few arc-seconds, +15 ppm, translations of hundreds of metres.
inline Params7 typicalParams()
{
    return {1.0 + 15e-6, 2.1 * kArcSec, -3.4 * kArcSec, 4.7 * kArcSec, 120.5, -85.25, 310.75};
}

// out = scale * R1(rx) R2(ry) R3(rz) * in + t, with the frame rotations
// R1(q) = [1 0 0; 0 c s; 0 -s c], R2(q) = [c 0 -s; 0 1 0; s 0 c], R3(q) = [c s 0; -s c 0; 0 0 1].
inline void applyReference(const Params7& p, const double in[3], double out[3])
{
    auto mul = [](const double A[9], const double B[9], double C[9]) {
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                C[3 * i + j] = A[3 * i] * B[j] + A[3 * i + 1] * B[3 + j] + A[3 * i + 2] * B[6 + j];
    };
    const double c1 = std::cos(p.rx), s1 = std::sin(p.rx);
    const double c2 = std::cos(p.ry), s2 = std::sin(p.ry);
    const double c3 = std::cos(p.rz), s3 = std::sin(p.rz);
    const double R1[9] = {1, 0, 0, 0, c1, s1, 0, -s1, c1};
    const double R2[9] = {c2, 0, -s2, 0, 1, 0, s2, 0, c2};
    const double R3[9] = {c3, s3, 0, -s3, c3, 0, 0, 0, 1};
    double R12[9], R[9];
    mul(R1, R2, R12);
    mul(R12, R3, R);
    const double t[3] = {p.tx, p.ty, p.tz};
    for (int i = 0; i < 3; ++i) {
        out[i] = p.scale * (R[3 * i] * in[0] + R[3 * i + 1] * in[1] + R[3 * i + 2] * in[2]) + t[i];
    }
}

// The difference of two angles reduced to [-pi, pi]: 0 for the same rotation.
inline double sameAngle(double a, double b)
{
    return std::remainder(a - b, 2.0 * kPi);
}

// n control points spread over some 60 km around a geocentric position in Europe; the
// target is the exact transform of the source, then both are observed with normal
// noise of the given size (fixed seed). Every standard deviation is 'sigma'.
inline std::vector<double> controlPoints(int n, const Params7& p, double sigma, double noise,
                                         unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> spread(-30000.0, 30000.0);
    std::normal_distribution<double> err(0.0, 1.0);
    std::vector<double> cp(12 * static_cast<std::size_t>(n > 0 ? n : 0));
    for (int i = 0; i < n; ++i) {
        const double src[3] = {3900000.0 + spread(rng), 300000.0 + spread(rng), 5000000.0 + spread(rng)};
        double dst[3];
        applyReference(p, src, dst);
        double* row = &cp[12 * static_cast<std::size_t>(i)];
        for (int k = 0; k < 3; ++k) {
            row[2 * k] = src[k] + noise * err(rng);
            row[2 * k + 1] = sigma;
            row[6 + 2 * k] = dst[k] + noise * err(rng);
            row[6 + 2 * k + 1] = sigma;
        }
    }
    return cp;
}

} // namespace kelvane_test

#endif
