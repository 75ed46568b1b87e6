// The solver against the adjustment written out with dense matrices: B (3n x 6n), Q
// (6n x 6n), M = B Q B^T inverted whole, derivatives by central differences of an
// independently built model. At the solver's solution the dense step must be ~0 and the
// statistics must agree -- with unequal standard deviations and large angles, so that
// every part of the weight matrix matters.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "kelvane/kelvane.h"
#include "tests/transform3d/control_points.h"

using namespace kelvane_test;

namespace {

struct DenseResult {
    double dx[7];
    double variance;
    double residualMeasure;
    double se[7];
};

// p in the reported order scale, rx, ry, rz, tx, ty, tz.
void model(const double p[7], const double src[3], double out[3])
{
    applyReference(Params7{p[0], p[1], p[2], p[3], p[4], p[5], p[6]}, src, out);
}

DenseResult denseStep(int n, const std::vector<double>& cp, const double p[7])
{
    const int nc = 3 * n;
    const int no = 6 * n;
    Matrix Q(no, no), B(nc, no), A(nc, 7), w(nc, 1);
    Q.init();
    B.init();
    for (int i = 0; i < n; ++i) {
        const double* row = &cp[12 * i];
        const double src[3] = {row[0], row[2], row[4]};
        double f[3];
        model(p, src, f);
        for (int k = 0; k < 6; ++k) Q.element(6 * i + k, 6 * i + k) = row[2 * k + 1] * row[2 * k + 1];
        // d f / d source: the columns s R e_k.
        const double noShift[7] = {p[0], p[1], p[2], p[3], 0.0, 0.0, 0.0};
        for (int k = 0; k < 3; ++k) {
            double e[3] = {0, 0, 0}, col[3];
            e[k] = 1.0;
            model(noShift, e, col);
            for (int j = 0; j < 3; ++j) B.element(3 * i + j, 6 * i + k) = col[j];
            B.element(3 * i + k, 6 * i + 3 + k) = -1.0;
        }
        // d f / d parameters by central differences.
        const double step[7] = {1e-7, 1e-7, 1e-7, 1e-7, 1e-2, 1e-2, 1e-2};
        for (int k = 0; k < 7; ++k) {
            double up[7], dn[7], fu[3], fd[3];
            for (int m = 0; m < 7; ++m) up[m] = dn[m] = p[m];
            up[k] += step[k];
            dn[k] -= step[k];
            model(up, src, fu);
            model(dn, src, fd);
            for (int j = 0; j < 3; ++j) A.element(3 * i + j, k) = (fu[j] - fd[j]) / (2 * step[k]);
        }
        for (int j = 0; j < 3; ++j) w.element(3 * i + j, 0) = row[6 + 2 * j] - f[j];
    }
    Matrix Bt(nc, no, Matrix::TransposedView, B.getMAry());
    Matrix At(nc, 7, Matrix::TransposedView, A.getMAry());
    Matrix BQ(nc, no), M(nc, nc), AtM(7, nc), N(7, 7), g(7, 1), dx(7, 1), r(nc, 1);
    matrixMultiply(&B, &Q, &BQ);
    matrixMultiply(&BQ, &Bt, &M);
    EXPECT_EQ(matrixInverse(&M), 0);
    matrixMultiply(&At, &M, &AtM);
    matrixMultiply(&AtM, &A, &N);
    matrixMultiply(&AtM, &w, &g);
    EXPECT_EQ(matrixInverse(&N), 0);
    matrixMultiply(&N, &g, &dx);
    matrixMultiply(&A, &dx, &r);
    matrixSubtract(&r, &w, &r);
    Matrix rt(nc, 1, Matrix::TransposedView, r.getMAry());
    Matrix rtM(1, nc), omega(1, 1);
    matrixMultiply(&rt, &M, &rtM);
    matrixMultiply(&rtM, &r, &omega);
    DenseResult d{};
    d.variance = omega.element(0, 0) / (nc - 7);
    double sumSq = 0.0;
    for (int i = 0; i < nc; ++i) sumSq += r.element(i, 0) * r.element(i, 0);
    d.residualMeasure = 3.0 * std::sqrt(sumSq) / n;
    for (int k = 0; k < 7; ++k) {
        d.dx[k] = dx.element(k, 0);
        d.se[k] = std::sqrt(d.variance * N.element(k, k));
    }
    return d;
}

} // namespace

TEST(SevenParamDense, SolutionIsTheDenseAdjustmentsFixedPoint)
{
    const Params7 truth{1.3, 0.3, -0.2, 0.5, 1000.0, -2500.0, 700.0};
    const int n = 7;
    std::vector<double> cp = controlPoints(n, truth, 0.0, 0.02, 77);
    const double sigmas[6] = {0.01, 0.03, 0.02, 0.05, 0.015, 0.04};
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < 6; ++k) cp[12 * i + 2 * k + 1] = sigmas[k] * (1.0 + 0.1 * i);
    }
    CXform3D7Param x(n, cp.data());
    double p[7], se[7], rm, var, sigma0;
    x.getXformParams(&p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6]);
    x.getXformParamsSE(&se[0], &se[1], &se[2], &se[3], &se[4], &se[5], &se[6]);
    x.getXformStats(&rm, &var, &sigma0);
    const double angles[3] = {truth.rx, truth.ry, truth.rz};
    for (int k = 1; k < 4; ++k) EXPECT_NEAR(sameAngle(p[k], angles[k - 1]), 0.0, 1e-5); // noise

    const DenseResult d = denseStep(n, cp, p);
    EXPECT_LT(std::fabs(d.dx[0]), 1e-10);
    for (int k = 1; k < 4; ++k) EXPECT_LT(std::fabs(d.dx[k]), 1e-10);
    for (int k = 4; k < 7; ++k) EXPECT_LT(std::fabs(d.dx[k]), 1e-5);
    EXPECT_NEAR(var / d.variance, 1.0, 1e-6);
    EXPECT_NEAR(rm / d.residualMeasure, 1.0, 1e-6);
    for (int k = 0; k < 7; ++k) EXPECT_NEAR(se[k] / d.se[k], 1.0, 1e-4) << k;
}
