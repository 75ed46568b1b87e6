// Dense reference matrices, Matrix objects of any storage kind built from them, and
// small helpers shared by the matrix tests.
#ifndef KELVANE_TESTS_MATRIX_MATRIX_TEST_SUPPORT_H
#define KELVANE_TESTS_MATRIX_MATRIX_TEST_SUPPORT_H

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "kelvane/matrix.h"

namespace kelvane_test {

// A plain row-major matrix, the reference the library's results are compared with.
struct Dense {
    int rows = 0, cols = 0;
    std::vector<double> v;
    Dense(int r, int c) : rows(r), cols(c), v(static_cast<std::size_t>(r) * c, 0.0) {}
    double& at(int i, int j) { return v[static_cast<std::size_t>(i) * cols + j]; }
    double at(int i, int j) const { return v[static_cast<std::size_t>(i) * cols + j]; }
};

inline Dense product(const Dense& a, const Dense& b)
{
    Dense c(a.rows, b.cols);
    for (int i = 0; i < a.rows; ++i)
        for (int j = 0; j < b.cols; ++j)
            for (int k = 0; k < a.cols; ++k) c.at(i, j) += a.at(i, k) * b.at(k, j);
    return c;
}

inline Dense transpose(const Dense& a)
{
    Dense t(a.cols, a.rows);
    for (int i = 0; i < a.rows; ++i)
        for (int j = 0; j < a.cols; ++j) t.at(j, i) = a.at(i, j);
    return t;
}

// Varied non-zero values that a kind can hold: symmetric for a packed matrix, zero off
// the diagonal for a diagonal one.
inline Dense sample(int rows, int cols, int kind, int seed)
{
    Dense d(rows, cols);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) {
            if (kind == Matrix::Diagonal && i != j) continue;
            const int a = kind == Matrix::SymmetricPacked && j > i ? j : i;
            const int b = kind == Matrix::SymmetricPacked && j > i ? i : j;
            const double x = 0.25 * (seed + 1) + 1.5 * a - 0.75 * b + 0.125 * a * b * (seed % 3 + 1);
            d.at(i, j) = x == 0.0 ? 0.5 : x;
        }
    return d;
}

// A Matrix of the given kind seen as d. A transposed view presents an array owned by
// this object, laid out as the row-major transpose of d.
struct Built {
    std::vector<double> callerArray;
    std::unique_ptr<Matrix> m;
};

inline Built build(const Dense& d, int kind)
{
    Built b;
    if (kind == Matrix::TransposedView) {
        const Dense t = transpose(d);
        b.callerArray = t.v;
        b.m.reset(new Matrix(t.rows, t.cols, kind, b.callerArray.data()));
        return b;
    }
    b.m.reset(new Matrix(d.rows, d.cols, kind));
    b.m->init();
    for (int i = 0; i < d.rows; ++i)
        for (int j = 0; j < d.cols; ++j)
            if (d.at(i, j) != 0.0) b.m->element(i, j) = d.at(i, j);
    return b;
}

// Writes values into the element array, in array order.
inline void fill(Matrix& m, std::initializer_list<double> values)
{
    int k = 0;
    for (double v : values) m.getMAry()[k++] = v;
}

using Size = std::pair<int, int>;

inline Size sizeOf(Matrix& m)
{
    int r = -1, c = -1;
    m.size(&r, &c);
    return {r, c};
}

} // namespace kelvane_test

#endif
