// The matrix product: direct-index loops for the common storage-kind combinations, and
// an element-wise path for everything else.
#include "matrix/matrix_internal.h"

#include <algorithm>
#include <cstddef>

namespace {

using kelvane::colsSeen;
using kelvane::ColumnRange;
using kelvane::rowsSeen;

// Direct readers and writers of one storage kind, indexed as the matrix is seen.

// A full matrix, or (Transposed) a view presenting its row-major array transposed.
template <bool Transposed>
struct StridedCells {
    double* v;
    std::size_t stride;
    explicit StridedCells(Matrix* m)
        : v(MatrixAccess::values(*m)),
          stride(static_cast<std::size_t>(MatrixAccess::storedCols(*m))) {}
    double& operator()(int i, int j) const
    {
        const std::size_t row = static_cast<std::size_t>(Transposed ? j : i);
        return v[row * stride + static_cast<std::size_t>(Transposed ? i : j)];
    }
};
using FullCells = StridedCells<false>;
using TransposedCells = StridedCells<true>;

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

// c(i, j) = sum over k < m, ascending, of a(i, k) b(k, j), for i < n and the columns
// that columns(i) gives.
template <class A, class B, class C, class Columns>
void productRows(A a, B b, C c, int n, int m, Columns columns)
{
    for (int i = 0; i < n; ++i) {
        const ColumnRange js = columns(i);
        for (int j = js.first; j < js.last; ++j) {
            double sum = 0.0;
            for (int k = 0; k < m; ++k) sum += a(i, k) * b(k, j);
            c(i, j) = sum;
        }
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

// Every combination without a direct loop: through element, skipping a term when a
// factor is 0.0 (NaN counts as non-zero). Only the positions of c that store a value of
// their own are computed and written, so a diagonal c keeps its shared off-diagonal cell.
void elementwiseProduct(Matrix* a, Matrix* b, Matrix* c, int n, int m, int p)
{
    const kelvane::Cells A{a}, B{b}, C{c};
    kelvane::forEachStoredPosition(c, n, p, [&](int i, int j) {
        double sum = 0.0;
        for (int k = 0; k < m; ++k) {
            const double x = A(i, k);
            const double y = B(k, j);
            if (x != 0.0 && y != 0.0) sum += x * y;
        }
        C(i, j) = sum;
    });
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

constexpr int F = Matrix::Full;
constexpr int T = Matrix::TransposedView;
constexpr int D = Matrix::Diagonal;
constexpr int P = Matrix::SymmetricPacked;

template <int Kind> struct CellsOf { using type = FullCells; };
template <> struct CellsOf<T> { using type = TransposedCells; };
template <> struct CellsOf<D> { using type = DiagonalCells; };
template <> struct CellsOf<P> { using type = PackedCells; };

// The direct loop of one combination of kinds (a, b, c) and one result shape.
template <int KA, int KB, int KC, Shape S>
void runDirect(Matrix* a, Matrix* b, Matrix* c, int n, int m, int p)
{
    const typename CellsOf<KA>::type ac(a);
    const typename CellsOf<KB>::type bc(b);
    const typename CellsOf<KC>::type cc(c);
    if constexpr (S == Shape::Full)
        productRows(ac, bc, cc, n, m, [p](int) { return ColumnRange{0, p}; });
    if constexpr (S == Shape::DiagonalOnly)
        productRows(ac, bc, cc, n, m, [](int i) { return ColumnRange{i, i + 1}; });
    if constexpr (S == Shape::LowerOnly)
        productRows(ac, bc, cc, n, m, [](int i) { return ColumnRange{0, i + 1}; });
    if constexpr (S == Shape::ScaleColumns) scaleColumns(ac, bc, cc, n, m);
    if constexpr (S == Shape::ScaleRows) scaleRows(ac, bc, cc, m, p);
}

struct DirectPath {
    int a, b, c;
    Shape shape;
    void (*run)(Matrix* a, Matrix* b, Matrix* c, int n, int m, int p);
};

template <int KA, int KB, int KC, Shape S>
constexpr DirectPath path()
{
    return {KA, KB, KC, S, &runDirect<KA, KB, KC, S>};
}

// Tried in this order; the first match runs.
constexpr DirectPath kDirectPaths[] = {
    path<T, D, F, Shape::ScaleColumns>(), path<F, T, D, Shape::DiagonalOnly>(),
    path<F, F, P, Shape::LowerOnly>(),    path<F, T, P, Shape::LowerOnly>(),
    path<F, F, D, Shape::DiagonalOnly>(), path<F, F, F, Shape::Full>(),
    path<F, D, F, Shape::ScaleColumns>(), path<D, F, F, Shape::ScaleRows>(),
    path<D, T, F, Shape::ScaleRows>(),    path<F, T, F, Shape::Full>(),
    path<T, F, F, Shape::Full>(),         path<F, P, F, Shape::Full>(),
    path<T, P, F, Shape::Full>(),         path<P, T, F, Shape::Full>(),
};

} // namespace

// c = a * b. n x m is the size of a and p the column count of b; b's row count only
// decides whether a direct loop may run. 0 (1 for a null matrix).
int matrixMultiply(Matrix* a, Matrix* b, Matrix* c)
{
    if (!a || !b || !c) return 1;
    int n = 0, m = 0;
    a->size(&n, &m);
    const int p = colsSeen(b);
    if (n <= 0 || p <= 0) return 0; // an empty product: nothing to compute
    const int ka = MatrixAccess::kind(*a), kb = MatrixAccess::kind(*b), kc = MatrixAccess::kind(*c);
    for (const DirectPath& path : kDirectPaths) {
        if (path.a != ka || path.b != kb || path.c != kc) continue;
        if (covers(path.shape, b, c, n, m, p)) path.run(a, b, c, n, m, p);
        else elementwiseProduct(a, b, c, n, m, p);
        return 0;
    }
    elementwiseProduct(a, b, c, n, m, p);
    return 0;
}

// The upper triangle c(i, j), j >= i, of the symmetric product a * b (the normal-equation
// product Jt W J); the strict lower triangle of c is not written. Three full matrices
// only; any other combination is an ordinary product. Positions beyond c's size are not
// computed; an operand too short for the inner sum reads as 0.0 where it lacks values.
// 0 (1 for a null matrix).
int matrixMultiplyJtWJ(Matrix* a, Matrix* b, Matrix* c)
{
    if (!a || !b || !c) return 1;
    const bool allFull = MatrixAccess::kind(*a) == F && MatrixAccess::kind(*b) == F &&
                         MatrixAccess::kind(*c) == F;
    if (!allFull) return matrixMultiply(a, b, c);
    const int p = std::min(MatrixAccess::storedCols(*b), MatrixAccess::storedCols(*c));
    // Row i has the columns i .. p-1 only, so no row from p on has anything to compute.
    const int n = std::min({MatrixAccess::storedRows(*a), MatrixAccess::storedRows(*c), p});
    const int m = MatrixAccess::storedCols(*a);
    auto upper = [p](int i) { return ColumnRange{i, p}; };
    if (MatrixAccess::storedRows(*b) >= m)
        productRows(FullCells(a), FullCells(b), FullCells(c), n, m, upper);
    else
        productRows(kelvane::Cells{a}, kelvane::Cells{b}, kelvane::Cells{c}, n, m, upper);
    return 0;
}
