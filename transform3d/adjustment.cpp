#include "transform3d/adjustment.h"

#include <climits>
#include <cmath>
#include <new>

namespace kelvane::transform3d {

namespace {

bool allFinite(const double* v, int count)
{
    for (int k = 0; k < count; ++k) {
        if (!std::isfinite(v[k])) return false;
    }
    return true;
}

// A matrix of the requested size, or null when its storage is not available.
std::unique_ptr<Matrix> makeMatrix(int rows, int cols)
{
    std::unique_ptr<Matrix> m(new (std::nothrow) Matrix(rows, cols));
    if (!m) return nullptr;
    int r = 0;
    int c = 0;
    m->size(&r, &c);
    if (r != rows || c != cols) return nullptr;
    m->init();
    return m;
}

// The 3 x 3 block of M = B Q B^T of one point, B = [J | -I] and Q the diagonal of the
// point's variances, inverted into W (the weight of the point's three conditions).
// Q and B are block diagonal, one block per point, so M is too: forming and inverting M
// block by block gives the values of the dense 3n x 3n product and its inverse (the
// blocks never meet), at a cost that grows with n instead of n^3.
bool pointWeight(const ControlPoint& cp, const double J[9], Matrix& W)
{
    for (int j = 0; j < 3; ++j) {
        for (int k = 0; k < 3; ++k) {
            double m = 0.0;
            for (int l = 0; l < 3; ++l) {
                m += J[3 * j + l] * (cp.sourceSigma[l] * cp.sourceSigma[l]) * J[3 * k + l];
            }
            if (j == k) m += cp.targetSigma[j] * cp.targetSigma[j];
            W.element(j, k) = m;
        }
    }
    // The a-priori standard deviation of unit weight is 1, so its square leaves W as is.
    return matrixInverse(&W) == 0;
}

} // namespace

ControlPoint controlPoint(const double* points, int i)
{
    const double* row = points + static_cast<long long>(kValuesPerPoint) * i;
    ControlPoint cp{};
    for (int k = 0; k < 3; ++k) {
        cp.source[k] = row[2 * k];
        cp.sourceSigma[k] = row[2 * k + 1];
        cp.target[k] = row[6 + 2 * k];
        cp.targetSigma[k] = row[6 + 2 * k + 1];
    }
    return cp;
}

void setAll(std::initializer_list<double*> outputs, double v)
{
    for (double* o : outputs) *o = v;
}

bool anyNull(std::initializer_list<double*> outputs)
{
    for (const double* o : outputs) {
        if (!o) return true;
    }
    return false;
}

bool countIsIndexable(int n)
{
    return n > 0 && n <= INT_MAX / kValuesPerPoint;
}

bool solveSmallSystem(int k, const double* rows, const double* rhs, double* x)
{
    Matrix m(k, k);
    Matrix b(k, 1);
    Matrix solution(k, 1);
    for (int i = 0; i < k; ++i) {
        for (int j = 0; j < k; ++j) m.element(i, j) = rows[k * i + j];
        b.element(i, 0) = rhs[i];
    }
    if (matrixInverse(&m) != 0) return false;
    matrixMultiply(&m, &b, &solution);
    for (int i = 0; i < k; ++i) x[i] = solution.element(i, 0);
    return allFinite(x, k);
}

bool solveSimilarity(const SimilarityModel& model, int n, const double* points, Adjustment& adj)
{
    const int np = model.numParams;
    const int nc = 3 * n; // condition equations
    adj.params.assign(np, 0.0);
    adj.residuals.reset();
    adj.degenerate = true;
    adj.converged = false;
    adj.iterations = 0;
    if (!points || n < model.minPoints || !countIsIndexable(n) ||
        !allFinite(points, kValuesPerPoint * n) || !model.initialValues(points, adj.params.data())) {
        return false;
    }

    // Working matrices of one iteration; A, w, the weights and dx of the last iteration
    // also give the statistics.
    auto A = makeMatrix(nc, np);
    auto w = makeMatrix(nc, 1);
    auto weights = makeMatrix(nc, 3); // the 3 x 3 weight block of point i in rows 3i..3i+2
    auto AtW = makeMatrix(np, nc);
    auto N = makeMatrix(np, np);
    auto g = makeMatrix(np, 1);
    auto dx = makeMatrix(np, 1);
    auto r = makeMatrix(nc, 1);
    Matrix W(3, 3);
    if (!A || !w || !weights || !AtW || !N || !g || !dx || !r) return false;

    Linearisation lin{};
    while (adj.iterations < kMaxIterations && !adj.converged) {
        ++adj.iterations;
        for (int i = 0; i < n; ++i) {
            const ControlPoint cp = controlPoint(points, i);
            model.linearise(adj.params.data(), cp, lin);
            if (!pointWeight(cp, lin.J, W)) return false;
            for (int j = 0; j < 3; ++j) {
                w->element(3 * i + j, 0) = lin.w[j];
                for (int k = 0; k < np; ++k) A->element(3 * i + j, k) = lin.A[np * j + k];
                for (int k = 0; k < 3; ++k) weights->element(3 * i + j, k) = W.element(j, k);
            }
            // Columns 3i..3i+2 of A^T M^-1: the point's rows of A against its weight block.
            for (int k = 0; k < np; ++k) {
                for (int j = 0; j < 3; ++j) {
                    double s = 0.0;
                    for (int l = 0; l < 3; ++l) s += lin.A[np * l + k] * W.element(l, j);
                    AtW->element(k, 3 * i + j) = s;
                }
            }
        }
        // Normal equations N dx = g, N = A^T M^-1 A, g = A^T M^-1 w.
        matrixMultiply(AtW.get(), A.get(), N.get());
        matrixMultiply(AtW.get(), w.get(), g.get());
        if (matrixInverse(N.get()) != 0) return false;
        matrixMultiply(N.get(), g.get(), dx.get());
        adj.converged = true;
        for (int k = 0; k < np; ++k) {
            const double d = dx->element(k, 0);
            adj.params[k] += d;
            if (!(std::fabs(d) < model.tolerances[k])) adj.converged = false;
        }
        if (!allFinite(adj.params.data(), np)) return false;
    }

    // Residuals of the conditions r = A dx - w, their weighted square sum Omega = r^T M^-1 r
    // and the statistics.
    matrixMultiply(A.get(), dx.get(), r.get());
    matrixSubtract(r.get(), w.get(), r.get());
    double omega = 0.0;
    double sumSq = 0.0;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < 3; ++j) {
            const double rj = r->element(3 * i + j, 0);
            double s = 0.0;
            for (int k = 0; k < 3; ++k) s += weights->element(3 * i + j, k) * r->element(3 * i + k, 0);
            omega += rj * s;
            sumSq += rj * rj;
        }
    }
    // r^T M^-1 r cannot be negative; rounding can take an exact fit a hair below 0.
    if (omega < 0.0) omega = 0.0;
    adj.sigma0 = std::sqrt(omega / (nc - np));
    adj.variance = adj.sigma0 * adj.sigma0;
    adj.residualMeasure = 3.0 * std::sqrt(sumSq) / n;
    adj.standardErrors.assign(np, 0.0);
    for (int k = 0; k < np; ++k) adj.standardErrors[k] = adj.sigma0 * std::sqrt(N->element(k, k));

    if (!std::isfinite(adj.variance) || !std::isfinite(adj.residualMeasure) ||
        !allFinite(adj.standardErrors.data(), np)) {
        return false;
    }
    adj.residuals = std::move(r);
    adj.degenerate = false;
    return true;
}

} // namespace kelvane::transform3d
