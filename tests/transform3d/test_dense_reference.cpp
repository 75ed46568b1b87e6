// The solvers against the adjustment written out with dense matrices: Q (6n x 6n),
// B (3n x 6n), M = B Q B^T inverted whole, N = A^T M^-1 A, g = A^T M^-1 w.
// - With the library's own linearisation, the dense iteration must give the solvers'
//   numbers to rounding: the per-point weight blocks are an exact rewriting.
// - With an independently built model differentiated numerically, one dense step at the
//   solver's solution must be ~0 and give its statistics and standard errors.
// Unequal standard deviations and large angles, so that every part of M matters.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "kelvane/kelvane.h"
#include "bench/support/control_points.h"
#include "transform3d/adjustment.h"
#include "transform3d/four_param.h"
#include "transform3d/seven_param.h"

using namespace kelvane_test;
using kelvane::transform3d::ControlPoint;
using kelvane::transform3d::Linearisation;
using kelvane::transform3d::SimilarityModel;

namespace {

// The conditions of point i at parameters p: misclosure w, A (3 x np) and J (3 x 3).
using Linearise = std::function<void(const double* p, const ControlPoint& cp, Linearisation& lin)>;

struct Dense {
    std::vector<double> p, dx, se, r;
    double variance = 0.0;
    double residualMeasure = 0.0;
    int iterations = 0;
};

// Iterations of the dense adjustment from p, at most 'maxIterations'.
Dense denseAdjustment(int np, const double* tol, const Linearise& linearise, int n,
                      const double* cp, std::vector<double> p, int maxIterations)
{
    const int nc = 3 * n;
    const int no = 6 * n;
    Matrix Q(no, no), B(nc, no), A(nc, np), w(nc, 1), BQ(nc, no), M(nc, nc), AtM(np, nc),
        N(np, np), g(np, 1), dx(np, 1), r(nc, 1);
    Matrix Bt(nc, no, Matrix::TransposedView, B.getMAry());
    Matrix At(nc, np, Matrix::TransposedView, A.getMAry());
    Q.init();
    B.init();
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < 6; ++k) {
            const double sigma = cp[12 * i + 2 * k + 1];
            Q.element(6 * i + k, 6 * i + k) = sigma * sigma;
        }
    }
    Dense d;
    bool converged = false;
    while (d.iterations < maxIterations && !converged) {
        ++d.iterations;
        for (int i = 0; i < n; ++i) {
            Linearisation lin{};
            linearise(p.data(), kelvane::transform3d::controlPoint(cp, i), lin);
            for (int j = 0; j < 3; ++j) {
                w.element(3 * i + j, 0) = lin.w[j];
                for (int k = 0; k < np; ++k) A.element(3 * i + j, k) = lin.A[np * j + k];
                for (int k = 0; k < 3; ++k) B.element(3 * i + j, 6 * i + k) = lin.J[3 * j + k];
                B.element(3 * i + j, 6 * i + 3 + j) = -1.0;
            }
        }
        matrixMultiply(&B, &Q, &BQ);
        matrixMultiply(&BQ, &Bt, &M);
        EXPECT_EQ(matrixInverse(&M), 0);
        matrixMultiply(&At, &M, &AtM);
        matrixMultiply(&AtM, &A, &N);
        matrixMultiply(&AtM, &w, &g);
        EXPECT_EQ(matrixInverse(&N), 0);
        matrixMultiply(&N, &g, &dx);
        converged = true;
        for (int k = 0; k < np; ++k) {
            p[k] += dx.element(k, 0);
            converged = converged && std::fabs(dx.element(k, 0)) < tol[k];
        }
    }
    matrixMultiply(&A, &dx, &r);
    matrixSubtract(&r, &w, &r);
    Matrix rt(nc, 1, Matrix::TransposedView, r.getMAry());
    Matrix rtM(1, nc), omega(1, 1);
    matrixMultiply(&rt, &M, &rtM);
    matrixMultiply(&rtM, &r, &omega);
    d.variance = omega.element(0, 0) / (nc - np);
    double sumSq = 0.0;
    for (int i = 0; i < nc; ++i) {
        d.r.push_back(r.element(i, 0));
        sumSq += d.r.back() * d.r.back();
    }
    d.residualMeasure = 3.0 * std::sqrt(sumSq) / n;
    for (int k = 0; k < np; ++k) {
        d.dx.push_back(dx.element(k, 0));
        d.se.push_back(std::sqrt(d.variance * N.element(k, k)));
    }
    d.p = p;
    return d;
}

// Seven control points of a large rotation, with unequal standard deviations.
std::vector<double> unevenControlPoints(const Params7& truth)
{
    std::vector<double> cp = controlPoints(7, truth, 0.0, 0.02, 77);
    const double sigmas[6] = {0.01, 0.03, 0.02, 0.05, 0.015, 0.04};
    for (int i = 0; i < 7; ++i) {
        for (int k = 0; k < 6; ++k) cp[12 * i + 2 * k + 1] = sigmas[k] * (1.0 + 0.1 * i);
    }
    return cp;
}

} // namespace

// The adjustment behind the free solvers and the classes, against the dense iteration.
TEST(DenseReference, SolverIsTheDenseAdjustmentToRounding)
{
    const int n = 7;
    const Params7 truth[2] = {{1.0 + 30e-6, 0, 0, 0, 310.0, -95.0, 42.0},
                              {1.3, 0.3, -0.2, 0.5, 1000.0, -2500.0, 700.0}};
    const SimilarityModel* models[2] = {&kelvane::transform3d::kFourParamModel,
                                        &kelvane::transform3d::kSevenParamModel};
    for (int m = 0; m < 2; ++m) {
        SCOPED_TRACE(models[m]->numParams);
        const std::vector<double> cp = unevenControlPoints(truth[m]);
        std::vector<double> p0(models[m]->numParams); // iterated from the model's own start
        ASSERT_TRUE(models[m]->initialValues(cp.data(), p0.data()));
        const Dense d = denseAdjustment(models[m]->numParams, models[m]->tolerances,
                                        models[m]->linearise, n, cp.data(), p0, 10);
        kelvane::transform3d::Adjustment adj;
        ASSERT_TRUE(kelvane::transform3d::solveSimilarity(*models[m], n, cp.data(), adj));
        EXPECT_EQ(adj.iterations, d.iterations);
        for (int k = 0; k < models[m]->numParams; ++k) {
            EXPECT_NEAR(adj.params[k], d.p[k], 1e-12 * std::fmax(1.0, std::fabs(d.p[k]))) << k;
            EXPECT_NEAR(adj.standardErrors[k], d.se[k], 1e-9 * d.se[k]) << k;
        }
        EXPECT_NEAR(adj.variance, d.variance, 1e-9 * d.variance);
        EXPECT_NEAR(adj.residualMeasure, d.residualMeasure, 1e-9 * d.residualMeasure);
        for (int i = 0; i < 3 * n; ++i) EXPECT_NEAR(adj.residuals->element(i, 0), d.r[i], 1e-12) << i;
    }
}

// The library's linearisations against an independent model: the similarity with the
// frame rotations of the reported angles (none for four parameters), differentiated by
// central differences. p is in the reported order: scale, rx, ry, rz, tx, ty, tz, or
// scale, tx, ty, tz.
TEST(DenseReference, SolutionIsTheIndependentModelsFixedPoint)
{
    const int n = 7;
    for (const int np : {7, 4}) {
        SCOPED_TRACE(np);
        const Params7 truth = np == 7 ? Params7{1.3, 0.3, -0.2, 0.5, 1000.0, -2500.0, 700.0}
                                      : Params7{1.3, 0, 0, 0, 1000.0, -2500.0, 700.0};
        const std::vector<double> cp = unevenControlPoints(truth);
        double* points = const_cast<double*>(cp.data());
        std::vector<double> p(np);
        double se[7], rm, var, sigma0;
        if (np == 7) {
            CXform3D7Param x(n, points);
            x.getXformParams(&p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6]);
            x.getXformParamsSE(&se[0], &se[1], &se[2], &se[3], &se[4], &se[5], &se[6]);
            x.getXformStats(&rm, &var, &sigma0);
            const double angles[3] = {truth.rx, truth.ry, truth.rz};
            for (int k = 1; k < 4; ++k) EXPECT_NEAR(sameAngle(p[k], angles[k - 1]), 0.0, 1e-5); // noise
        } else {
            CXform3D4Param x(n, points);
            x.getXformParams(&p[0], &p[1], &p[2], &p[3]);
            x.getXformParamsSE(&se[0], &se[1], &se[2], &se[3]);
            x.getXformStats(&rm, &var, &sigma0);
        }
        const int nt = np - 3; // the translations come last
        auto model = [np](const double* q, const double src[3], double out[3]) {
            applyReference(np == 7 ? Params7{q[0], q[1], q[2], q[3], q[4], q[5], q[6]}
                                   : Params7{q[0], 0, 0, 0, q[1], q[2], q[3]},
                           src, out);
        };
        auto linearise = [&](const double* q, const ControlPoint& c, Linearisation& lin) {
            double f[3];
            model(q, c.source, f);
            for (int j = 0; j < 3; ++j) lin.w[j] = c.target[j] - f[j];
            // d f / d source: the columns s R e_k.
            double noShift[7] = {};
            std::copy(q, q + nt, noShift);
            for (int k = 0; k < 3; ++k) {
                double e[3] = {0, 0, 0}, col[3];
                e[k] = 1.0;
                model(noShift, e, col);
                for (int j = 0; j < 3; ++j) lin.J[3 * j + k] = col[j];
            }
            for (int k = 0; k < np; ++k) {
                const double step = k < nt ? 1e-7 : 1e-2;
                double up[7], dn[7], fu[3], fd[3];
                for (int m = 0; m < np; ++m) up[m] = dn[m] = q[m];
                up[k] += step;
                dn[k] -= step;
                model(up, c.source, fu);
                model(dn, c.source, fd);
                for (int j = 0; j < 3; ++j) lin.A[np * j + k] = (fu[j] - fd[j]) / (2 * step);
            }
        };
        const std::vector<double> tol(np, 1.0);
        const Dense d = denseAdjustment(np, tol.data(), linearise, n, cp.data(), p, 1);
        for (int k = 0; k < np; ++k) EXPECT_LT(std::fabs(d.dx[k]), k < nt ? 1e-10 : 1e-5) << k;
        EXPECT_NEAR(var / d.variance, 1.0, 1e-6);
        EXPECT_NEAR(rm / d.residualMeasure, 1.0, 1e-6);
        for (int k = 0; k < np; ++k) EXPECT_NEAR(se[k] / d.se[k], 1.0, 1e-4) << k;
    }
}
