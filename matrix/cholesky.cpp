// The Cholesky family (factor, solve, inverse factor, variance-covariance from the
// inverse factor) and the substitutions with a packed triangular factor. Matrices are
// read and written through their elements; the vector p of the factor's diagonal and
// the result out are addressed as runs of values, as their callers lay them out.
//
// A matrix with a dimension of 0 holds no values, but its other dimension may be as
// large as an int allows. The routines that loop over the rows of such a matrix return
// at once with their success value, writing nothing: every value they would visit is
// absent, and the loops would run for ages.
#include "matrix/matrix_internal.h"

#include <cmath>

using kelvane::Cells;

// L*Lt factorisation of this symmetric positive-definite N x N matrix (N = rows):
// the strict lower triangle receives L below its diagonal, p(i, 0) its diagonal; the
// diagonal and upper triangle keep their input values. 1 when a diagonal sum is not
// positive (this matrix and p keep what was written so far), else 0.
int Matrix::NRCholesky(Matrix* p)
{
    if (!p) return 1;
    const Cells a{this}, d{p};
    const int N = rows;
    for (int i = 0; i < N; ++i)
        for (int j = i; j < N; ++j) {
            double sum = a(i, j);
            for (int k = i - 1; k >= 0; --k) sum -= a(i, k) * a(j, k);
            if (i == j) {
                if (sum <= 0.0) return 1;
                d(i, 0) = std::sqrt(sum);
            } else {
                a(j, i) = sum / d(i, 0);
            }
        }
    return 0;
}

// Solves L*Lt*x = b in place on this N x 1 column b (N = rows), with L as NRCholesky
// left it in a and p; p is addressed with b's column count. 1 when a value of p is
// exactly 0.0 during the forward pass (b then partly overwritten), else 0.
int Matrix::solve(Matrix* a, Matrix* p)
{
    if (!a || !p) return 1;
    if (elementCount == 0) return 0;
    const Cells L{a}, b{this};
    const long long stride = cols;
    auto d = [p, stride](int i) -> double& { return MatrixAccess::stored(*p, i * stride); };
    const int N = rows;
    for (int i = 0; i < N; ++i) {
        double sum = b(i, 0);
        for (int k = i - 1; k >= 0; --k) sum -= L(i, k) * b(k, 0);
        if (d(i) == 0.0) return 1;
        b(i, 0) = sum / d(i);
    }
    for (int i = N - 1; i >= 0; --i) {
        double sum = b(i, 0);
        for (int k = i + 1; k < N; ++k) sum -= L(k, i) * b(k, 0);
        b(i, 0) = sum / d(i);
    }
    return 0;
}

// Replaces the lower triangle (diagonal included) of the factor by L^-1; the strict
// upper triangle is left as it is. 0 (1 for a null p).
int Matrix::NRCholeskyInverse(Matrix* p)
{
    if (!p) return 1;
    if (elementCount == 0) return 0;
    const Cells a{this};
    auto d = [p](int i) -> double& { return MatrixAccess::stored(*p, i); };
    const int N = rows;
    for (int i = 0; i < N; ++i) {
        a(i, i) = 1.0 / d(i);
        for (int j = i + 1; j < N; ++j) {
            double sum = 0.0;
            for (int k = i; k < j; ++k) sum -= a(j, k) * a(k, i);
            a(j, i) = sum / d(j);
        }
    }
    return 0;
}

// out = transpose(this) * this, summed over every row of this matrix; out is addressed
// with this matrix's column count. With L^-1 in the lower triangle and zeros above it,
// out is the inverse of the factored matrix. 0 (1 for a null out).
int Matrix::NRCholeskyVarCovFromInv(Matrix* out)
{
    if (!out) return 1;
    if (elementCount == 0) return 0;
    const Cells a{this};
    const long long stride = cols;
    auto o = [out, stride](int i, int j) -> double& {
        return MatrixAccess::stored(*out, i * stride + j);
    };
    const int N = rows;
    for (int i = 0; i < N; ++i)
        for (int j = 0; j <= i; ++j) {
            double s = 0.0;
            for (int k = 0; k < cols; ++k) s += a(k, i) * a(k, j);
            o(i, j) = s;
            if (i != j) o(j, i) = s;
        }
    return 0;
}

// Solves L*y = b in place on this N x 1 column (N = rows), l holding L in its lower
// triangle. No zero test. 0 (1 for a null l).
int Matrix::forwardSub(Matrix* l)
{
    if (!l) return 1;
    if (elementCount == 0) return 0;
    const Cells L{l}, b{this};
    const int N = rows;
    for (int i = 0; i < N; ++i) {
        double sum = b(i, 0);
        for (int k = i - 1; k >= 0; --k) sum -= L(i, k) * b(k, 0);
        b(i, 0) = sum / L(i, i);
    }
    return 0;
}

// Solves Lt*x = b in place on this N x 1 column (N = rows). No zero test. 0 (1 for a
// null l).
int Matrix::backwardSub(Matrix* l)
{
    if (!l) return 1;
    if (elementCount == 0) return 0;
    const Cells L{l}, b{this};
    const int N = rows;
    for (int i = N - 1; i >= 0; --i) {
        double sum = b(i, 0);
        for (int k = i + 1; k < N; ++k) sum -= L(k, i) * b(k, 0);
        b(i, 0) = sum / L(i, i);
    }
    return 0;
}
