// Storage kinds, element addressing, construction, copying and the element-wise
// functions.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <utility>

#include "kelvane/kelvane.h"
#include "matrix/matrix_internal.h"

namespace {

using Size = std::pair<int, int>;

Size sizeOf(Matrix& m)
{
    int r = -1, c = -1;
    m.size(&r, &c);
    return {r, c};
}

bool insideArray(Matrix& m, double& cell)
{
    const double* v = m.getMAry();
    return v && &cell >= v && &cell < v + MatrixAccess::count(m);
}

} // namespace

TEST(MatrixStorage, FullIsRowMajor)
{
    Matrix m(2, 3);
    EXPECT_EQ(sizeOf(m), Size(2, 3));
    EXPECT_EQ(&m.element(1, 2), m.getMAry() + 5);
    EXPECT_EQ(&m.element(1, 0), m.getMAry() + 3);
    Matrix k0(2, 3, Matrix::Full);
    EXPECT_EQ(MatrixAccess::count(k0), 6);
    EXPECT_EQ(&k0.element(0, 2), k0.getMAry() + 2);
}

TEST(MatrixStorage, DiagonalSharesOneOffDiagonalCell)
{
    Matrix d(3, 3, Matrix::Diagonal);
    EXPECT_EQ(MatrixAccess::count(d), 3);
    d.init();
    EXPECT_EQ(&d.element(1, 1), d.getMAry() + 1);
    EXPECT_EQ(d.element(0, 1), 0.0);
    EXPECT_FALSE(insideArray(d, d.element(0, 1)));
    EXPECT_EQ(&d.element(0, 1), &d.element(2, 0));
    // Writing an off-diagonal position changes every off-diagonal read.
    d.element(0, 1) = 5.0;
    EXPECT_EQ(d.element(1, 0), 5.0);
}

TEST(MatrixStorage, PackedAddressesTheLowerTriangle)
{
    Matrix p(4, 4, Matrix::SymmetricPacked);
    EXPECT_EQ(MatrixAccess::count(p), 10);
    const int* rs = MatrixAccess::rowStart(p);
    ASSERT_NE(rs, nullptr);
    for (int k = 0; k <= 4; ++k) EXPECT_EQ(rs[k], k * (k + 1) / 2);
    EXPECT_EQ(&p.element(1, 3), p.getMAry() + 7);
    EXPECT_EQ(&p.element(3, 1), p.getMAry() + 7);
    EXPECT_EQ(&p.element(3, 3), p.getMAry() + 9);
    EXPECT_EQ(&p.element(0, 0), p.getMAry());
}

TEST(MatrixStorage, TransposedViewOfCallerArray)
{
    double data[6] = {0, 1, 2, 3, 4, 5}; // 2 x 3, row-major
    Matrix t(2, 3, Matrix::TransposedView, data);
    EXPECT_EQ(sizeOf(t), Size(3, 2));
    EXPECT_EQ(&t.element(2, 1), data + 5);
    EXPECT_EQ(t.element(1, 0), 1.0);
    EXPECT_EQ(t.element(0, 1), 3.0);
    EXPECT_EQ(t.getMAry(), data);
    // Only the view swaps the stored dimensions.
    for (int kind : {Matrix::Full, Matrix::Diagonal, Matrix::SymmetricPacked}) {
        Matrix m(3, 3, kind);
        EXPECT_EQ(sizeOf(m), Size(3, 3));
    }
    Matrix wide(2, 5);
    EXPECT_EQ(sizeOf(wide), Size(2, 5));
}

TEST(MatrixStorage, OutOfRangeAccessStaysInsideTheObject)
{
    Matrix m(2, 2);
    m.init();
    for (auto ij : {std::pair<int, int>{-1, 0}, {0, -1}, {2, 0}, {0, 2}, {INT_MAX, INT_MAX}}) {
        double& cell = m.element(ij.first, ij.second);
        EXPECT_FALSE(insideArray(m, cell));
        EXPECT_EQ(cell, 0.0);
        cell = 7.0; // lost
        EXPECT_EQ(m.element(ij.first, ij.second), 0.0);
    }
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) EXPECT_EQ(m.element(i, j), 0.0);
    // The view is bounded by its size as seen (3 x 2).
    double data[6] = {};
    Matrix t(2, 3, Matrix::TransposedView, data);
    EXPECT_FALSE(&t.element(0, 2) >= data && &t.element(0, 2) < data + 6);
    // A packed matrix is bounded by n on both indices.
    Matrix p(3, 3, Matrix::SymmetricPacked);
    EXPECT_FALSE(insideArray(p, p.element(3, 0)));
}

TEST(MatrixStorage, RequestsThatCannotBeHeldGiveAnEmptyMatrix)
{
    struct Case {
        int rows, cols, kind;
    };
    const Case cases[] = {{2, 3, Matrix::Diagonal}, {3, 2, Matrix::SymmetricPacked},
                          {2, 2, Matrix::TransposedView}, {2, 2, 7}, {-1, 3, Matrix::Full},
                          {3, -4, Matrix::Diagonal}, {INT_MAX, INT_MAX, Matrix::Full},
                          {0, 0, Matrix::Full}};
    for (const Case& k : cases) {
        Matrix m(k.rows, k.cols, k.kind);
        const auto [r, c] = sizeOf(m);
        EXPECT_EQ(r * c, 0) << k.rows << "x" << k.cols << " kind " << k.kind;
        EXPECT_EQ(MatrixAccess::count(m), 0);
        EXPECT_EQ(m.init(), 1);
        EXPECT_EQ(m.multiplyScalar(3.0), 1);
        m.element(0, 0) = 1.0;
        EXPECT_EQ(m.element(0, 0), 0.0);
        EXPECT_EQ(matrixInit(&m), 1);
        Matrix out(2, 2);
        out.init();
        EXPECT_EQ(matrixMultiply(&m, &m, &out), 0);
        // Nothing to invert: only an empty square full or diagonal matrix succeeds.
        const bool square = k.kind == Matrix::Diagonal || (k.kind == Matrix::Full && r == c);
        EXPECT_EQ(matrixInverse(&m), square ? 0 : 1);
    }
    Matrix neg(-2, -2);
    EXPECT_EQ(sizeOf(neg), Size(0, 0));
    Matrix nullView(2, 2, Matrix::TransposedView, nullptr);
    EXPECT_EQ(sizeOf(nullView), Size(0, 0));
    // A dimension of zero keeps the other one.
    Matrix noRows(0, 5);
    EXPECT_EQ(sizeOf(noRows), Size(0, 5));
}

TEST(MatrixStorage, CallerArraysAreNeverReleased)
{
    // Under the address sanitizer, releasing any of these arrays would fail the test.
    double full[4] = {1, 2, 3, 4};
    double packed[3] = {1, 2, 3};
    {
        Matrix f(2, 2, Matrix::Full, full);
        EXPECT_EQ(f.element(1, 0), 3.0);
        Matrix p(2, 2, Matrix::SymmetricPacked, packed);
        EXPECT_EQ(p.element(0, 1), 2.0);
        EXPECT_EQ(p.element(1, 1), 3.0);
        Matrix d(2, 2, Matrix::Diagonal, full);
        EXPECT_EQ(d.element(1, 1), 2.0);
    }
    EXPECT_EQ(full[3], 4.0);
}

TEST(MatrixStorage, CopiesAreDeepAndOwnTheirArrays)
{
    Matrix a(2, 2);
    a.element(0, 0) = 1;
    a.element(0, 1) = 2;
    a.element(1, 0) = 3;
    a.element(1, 1) = 4;
    Matrix b(a);
    EXPECT_NE(b.getMAry(), a.getMAry());
    b.element(0, 0) = 9;
    EXPECT_EQ(a.element(0, 0), 1.0);
    EXPECT_EQ(b.element(1, 1), 4.0);

    // Assignment releases the target's own array and changes its shape and kind.
    Matrix p(3, 3, Matrix::SymmetricPacked);
    p.init();
    p.element(2, 0) = 6.0;
    Matrix target(5, 1);
    target = p;
    EXPECT_EQ(sizeOf(target), Size(3, 3));
    EXPECT_EQ(MatrixAccess::kind(target), Matrix::SymmetricPacked);
    EXPECT_EQ(target.element(0, 2), 6.0);
    EXPECT_NE(MatrixAccess::rowStart(target), MatrixAccess::rowStart(p));
    target = target; // self-assignment keeps the values
    EXPECT_EQ(target.element(0, 2), 6.0);

    // A copy of a view is a view of the same caller array.
    double data[6] = {0, 1, 2, 3, 4, 5};
    Matrix v(2, 3, Matrix::TransposedView, data);
    Matrix w(v);
    EXPECT_EQ(w.getMAry(), data);
    EXPECT_FALSE(MatrixAccess::ownsArray(w));
    a = v;
    EXPECT_EQ(&a.element(2, 1), data + 5);

    Matrix d(2, 2, Matrix::Diagonal);
    d.init();
    d.element(1, 1) = 2.0;
    Matrix e(1, 1);
    e = d;
    EXPECT_EQ(e.element(1, 1), 2.0);
    EXPECT_EQ(e.element(0, 1), 0.0);
}

TEST(MatrixElementwise, InitAndScaleTouchEachStoredValueOnce)
{
    Matrix p(3, 3, Matrix::SymmetricPacked);
    for (int k = 0; k < 6; ++k) p.getMAry()[k] = k + 1.0;
    EXPECT_EQ(p.multiplyScalar(2.0), 1);
    EXPECT_EQ(matrixMultiplyScalar(&p, 3.0), 1);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(p.getMAry()[k], 6.0 * (k + 1));

    Matrix d(3, 3, Matrix::Diagonal);
    for (int k = 0; k < 3; ++k) d.getMAry()[k] = k + 1.0;
    EXPECT_EQ(matrixMultiplyScalar(&d, -1.0), 1);
    EXPECT_EQ(d.element(2, 2), -3.0);
    EXPECT_EQ(d.element(0, 2), 0.0);
    EXPECT_EQ(matrixInit(&d), 1);
    EXPECT_EQ(d.element(1, 1), 0.0);

    double data[6] = {1, 2, 3, 4, 5, 6};
    Matrix v(2, 3, Matrix::TransposedView, data);
    EXPECT_EQ(matrixMultiplyScalar(&v, 0.5), 1);
    EXPECT_EQ(data[5], 3.0);
    EXPECT_EQ(v.init(), 1);
    EXPECT_EQ(data[0], 0.0);
    EXPECT_EQ(data[5], 0.0);
}

TEST(MatrixElementwise, CopyAddSubtract)
{
    Matrix a(2, 3), b(2, 3), c(2, 3);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j) {
            a.element(i, j) = 10.0 * i + j;
            b.element(i, j) = 0.5 * j - i;
        }
    EXPECT_EQ(matrixAdd(&a, &b, &c), 1);
    EXPECT_EQ(c.element(1, 2), 12.0 + 0.0);
    EXPECT_EQ(matrixCopy(&a, &c), 1);
    EXPECT_EQ(c.element(1, 1), 11.0);

    // In place: c is a, read before written.
    EXPECT_EQ(matrixSubtract(&a, &b, &a), 1);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_EQ(a.element(i, j), 10.0 * i + j - (0.5 * j - i));

    // The same through element, with a view as one operand.
    double td[6] = {1, 2, 3, 4, 5, 6}; // seen as 3 x 2
    Matrix t(2, 3, Matrix::TransposedView, td);
    Matrix f(3, 2), g(3, 2);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j) f.element(i, j) = i + j;
    EXPECT_EQ(matrixSubtract(&t, &f, &t), 1);
    EXPECT_EQ(t.element(2, 1), 6.0 - 3.0);
    EXPECT_EQ(td[5], 3.0);
    EXPECT_EQ(matrixAdd(&t, &f, &g), 1);
    EXPECT_EQ(g.element(2, 1), 6.0);

    // A packed target keeps the lower triangle of a non-symmetric source.
    Matrix full(2, 2), packed(2, 2, Matrix::SymmetricPacked);
    full.element(0, 0) = 1;
    full.element(0, 1) = 2;
    full.element(1, 0) = 3;
    full.element(1, 1) = 4;
    EXPECT_EQ(matrixCopy(&full, &packed), 1);
    EXPECT_EQ(packed.element(0, 1), 3.0);
    // A diagonal target takes the diagonal and keeps its off-diagonal cell at zero.
    Matrix diag(2, 2, Matrix::Diagonal);
    diag.init();
    EXPECT_EQ(matrixCopy(&full, &diag), 1);
    EXPECT_EQ(diag.element(1, 1), 4.0);
    EXPECT_EQ(diag.element(1, 0), 0.0);
    // Subtracting a larger matrix from a smaller one stays within the smaller.
    Matrix small(1, 1);
    small.element(0, 0) = 5.0;
    EXPECT_EQ(matrixSubtract(&small, &full, &small), 1);
    EXPECT_EQ(small.element(0, 0), 4.0);
    Matrix big(3, 3);
    big.init();
    EXPECT_EQ(matrixSubtract(&big, &small, &big), 1);
    EXPECT_EQ(big.element(0, 0), -4.0);
    EXPECT_EQ(big.element(2, 2), 0.0);
}

TEST(MatrixElementwise, SwapAddressesTheArrayAsFull)
{
    Matrix m(2, 3);
    for (int k = 0; k < 6; ++k) m.getMAry()[k] = k;
    swapMatrixElem(&m, 0, 1, 1, 2);
    EXPECT_EQ(m.getMAry()[1], 5.0);
    EXPECT_EQ(m.getMAry()[5], 1.0);
    // A packed 3 x 3 matrix: position 1*3 + 2 = 5 is its last stored value.
    Matrix p(3, 3, Matrix::SymmetricPacked);
    for (int k = 0; k < 6; ++k) p.getMAry()[k] = k;
    swapMatrixElem(&p, 0, 0, 1, 2);
    EXPECT_EQ(p.element(2, 2), 0.0);
    EXPECT_EQ(p.element(0, 0), 5.0);
    // Positions outside the array leave everything as it was.
    swapMatrixElem(&p, 0, 0, 2, 2);
    swapMatrixElem(&p, -1, 0, 0, 0);
    EXPECT_EQ(p.element(0, 0), 5.0);
}
