// The matrix product: direct-index loops for the common storage-kind combinations, and
// an element-wise path for everything else.
#include "matrix/matrix_internal.h"

#include <cstddef>

namespace {

using kelvane::colsSeen;
using kelvane::rowsSeen;

// Direct readers and writers of one storage kind, indexed as the matrix is seen.
struct FullCells {
    double* v;
    std::size_t stride;
    explicit FullCells(Matrix* m)
        : v(MatrixAccess::values(*m)),
          stride(static_cast<std::size_t>(MatrixAccess::storedCols(*m))) {}
    double& operator()(int i, int j) const { return v[static_cast<std::size_t>(i) * stride + j]; }
};

struct TransposedCells {
    double* v;
    std::size_t stride;
    explicit TransposedCells(Matrix* m)
        : v(MatrixAccess::values(*m)),
          stride(static_cast<std::size_t>(MatrixAccess::storedCols(*m))) {}
    double& operator()(int i, int j) const { return v[static_cast<std::size_t>(j) * stride + i]; }
};

struct PackedCells {
    double* v;
    const int* rowStart;
    explicit PackedCells(Matrix* m)
        : v(MatrixAccess::values(*m)), rowStart(MatrixAccess::rowStart(*m)) {}
    double& operator()(int i, int j) const
    {
        return i >= j ? v[rowStart[i] + j] : v[rowStart[j] + i];
    }
};

// A diagonal matrix; only its diagonal positions are ever asked for (i = j).
struct DiagonalCells {
    double* v;
    explicit DiagonalCells(Matrix* m) : v(MatrixAccess::values(*m)) {}
    double& operator()(int i, int) const { return v[i]; }
};

// c(i, j) = sum over k < m of a(i, k) b(k, j) for i < n, j < p.
template <class A, class B, class C>
void fullProduct(A a, B b, C c, int n, int m, int p)
{
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < p; ++j) {
            double sum = 0.0;
            for (int k = 0; k < m; ++k) sum += a(i, k) * b(k, j);
            c(i, j) = sum;
        }
}

// Only the diagonal c(i, i), i < n.
template <class A, class B, class C>
void diagonalOfProduct(A a, B b, C c, int n, int m)
{
    for (int i = 0; i < n; ++i) {
        double sum = 0.0;
        for (int k = 0; k < m; ++k) sum += a(i, k) * b(k, i);
        c(i, i) = sum;
    }
}

// Only the lower triangle c(i, j), j <= i < n.
template <class A, class B, class C>
void lowerOfProduct(A a, B b, C c, int n, int m)
{
    for (int i = 0; i < n; ++i)
        for (int j = 0; j <= i; ++j) {
            double sum = 0.0;
            for (int k = 0; k < m; ++k) sum += a(i, k) * b(k, j);
            c(i, j) = sum;
        }
}

// a times a diagonal b: c(i, k) = a(i, k) b(k, k) for i < n, k < m.
template <class A, class B, class C>
void scaleColumns(A a, B b, C c, int n, int m)
{
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < m; ++k) c(i, k) = a(i, k) * b(k, k);
}

// A diagonal a times b: c(i, j) = a(i, i) b(i, j) for i < m, j < p.
template <class A, class B, class C>
void scaleRows(A a, B b, C c, int m, int p)
{
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < p; ++j) c(i, j) = a(i, i) * b(i, j);
}

// Calls f with the direct cells of m for its kind (one of the four).
template <class Fn>
void withCells(Matrix* m, int kind, Fn f)
{
    switch (kind) {
    case Matrix::TransposedView: return f(TransposedCells(m));
    case Matrix::Diagonal: return f(DiagonalCells(m));
    case Matrix::SymmetricPacked: return f(PackedCells(m));
    default: return f(FullCells(m));
    }
}

// Every combination without a direct loop: through element, skipping a term when a
// factor is 0.0 (NaN counts as non-zero); c is written at the positions that store a
// value of its own, so a diagonal c keeps its shared off-diagonal cell.
void elementwiseProduct(Matrix* a, Matrix* b, Matrix* c, int n, int m, int p)
{
    const int cKind = MatrixAccess::kind(*c);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < p; ++j) {
            double sum = 0.0;
            for (int k = 0; k < m; ++k) {
                const double x = a->element(i, k);
                const double y = b->element(k, j);
                if (x != 0.0 && y != 0.0) sum += x * y;
            }
            if (kelvane::writesStoredValue(cKind, i, j)) c->element(i, j) = sum;
        }
}

// The shapes of result the direct loops produce.
enum class Shape { Full, DiagonalOnly, LowerOnly, ScaleColumns, ScaleRows };

// Whether the operands' sizes cover every index the direct loop of a shape touches.
bool covers(Shape shape, Matrix* b, Matrix* c, int n, int m, int p)
{
    if (rowsSeen(b) < m) return false;
    switch (shape) {
    case Shape::Full:
    case Shape::ScaleRows: return rowsSeen(c) >= n && colsSeen(c) >= p;
    case Shape::ScaleColumns: return rowsSeen(c) >= n && colsSeen(c) >= m;
    case Shape::DiagonalOnly:
    case Shape::LowerOnly: return p >= n && rowsSeen(c) >= n;
    }
    return false;
}

// A direct loop for one combination of kinds (a, b, c).
struct DirectPath {
    int a, b, c;
    Shape shape;
};

constexpr int F = Matrix::Full;
constexpr int T = Matrix::TransposedView;
constexpr int D = Matrix::Diagonal;
constexpr int P = Matrix::SymmetricPacked;

// Tried in this order; the first match runs.
constexpr DirectPath kDirectPaths[] = {
    {T, D, F, Shape::ScaleColumns}, {F, T, D, Shape::DiagonalOnly}, {F, F, P, Shape::LowerOnly},
    {F, T, P, Shape::LowerOnly},    {F, F, D, Shape::DiagonalOnly}, {F, F, F, Shape::Full},
    {F, D, F, Shape::ScaleColumns}, {D, F, F, Shape::ScaleRows},    {D, T, F, Shape::ScaleRows},
    {F, T, F, Shape::Full},         {T, F, F, Shape::Full},         {F, P, F, Shape::Full},
    {T, P, F, Shape::Full},         {P, T, F, Shape::Full},
};

void runDirect(const DirectPath& path, Matrix* a, Matrix* b, Matrix* c, int n, int m, int p)
{
    withCells(a, path.a, [&](auto ac) {
        withCells(b, path.b, [&](auto bc) {
            withCells(c, path.c, [&](auto cc) {
                switch (path.shape) {
                case Shape::Full: return fullProduct(ac, bc, cc, n, m, p);
                case Shape::DiagonalOnly: return diagonalOfProduct(ac, bc, cc, n, m);
                case Shape::LowerOnly: return lowerOfProduct(ac, bc, cc, n, m);
                case Shape::ScaleColumns: return scaleColumns(ac, bc, cc, n, m);
                case Shape::ScaleRows: return scaleRows(ac, bc, cc, m, p);
                }
            });
        });
    });
}

} // namespace

// c = a * b. n x m is the size of a and p the column count of b; b's row count only
// decides whether a direct loop may run. Always 0.
int matrixMultiply(Matrix* a, Matrix* b, Matrix* c)
{
    int n = 0, m = 0;
    a->size(&n, &m);
    const int p = colsSeen(b);
    const int ka = MatrixAccess::kind(*a), kb = MatrixAccess::kind(*b), kc = MatrixAccess::kind(*c);
    for (const DirectPath& path : kDirectPaths) {
        if (path.a != ka || path.b != kb || path.c != kc) continue;
        if (covers(path.shape, b, c, n, m, p)) runDirect(path, a, b, c, n, m, p);
        else elementwiseProduct(a, b, c, n, m, p);
        return 0;
    }
    elementwiseProduct(a, b, c, n, m, p);
    return 0;
}

// The upper triangle c(i, j), j >= i, of the symmetric product a * b (the normal-equation
// product Jt W J); the strict lower triangle of c is not written. Three full matrices
// only; any other combination is an ordinary product. Always 0.
int matrixMultiplyJtWJ(Matrix* a, Matrix* b, Matrix* c)
{
    const bool allFull = MatrixAccess::kind(*a) == F && MatrixAccess::kind(*b) == F &&
                         MatrixAccess::kind(*c) == F;
    if (!allFull) return matrixMultiply(a, b, c);
    const int n = MatrixAccess::storedRows(*a), m = MatrixAccess::storedCols(*a);
    const int p = MatrixAccess::storedCols(*b);
    const bool direct = MatrixAccess::storedRows(*b) >= m && MatrixAccess::storedRows(*c) >= n &&
                        MatrixAccess::storedCols(*c) >= p;
    auto upper = [&](auto ac, auto bc, auto cc) {
        for (int i = 0; i < n; ++i)
            for (int j = i; j < p; ++j) {
                double sum = 0.0;
                for (int k = 0; k < m; ++k) sum += ac(i, k) * bc(k, j);
                cc(i, j) = sum;
            }
    };
    if (direct) {
        upper(FullCells(a), FullCells(b), FullCells(c));
    } else {
        auto through = [](Matrix* x) { return [x](int i, int j) -> double& { return x->element(i, j); }; };
        upper(through(a), through(b), through(c));
    }
    return 0;
}
