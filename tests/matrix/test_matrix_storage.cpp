// Storage kinds, element addressing, construction, copying and the element-wise
// functions.
#include <gtest/gtest.h>

#include <climits>
#include <utility>

#include "matrix/matrix_internal.h"
#include "matrix_test_support.h"

using kelvane_test::fill;
using kelvane_test::Size;
using kelvane_test::sizeOf;

namespace {

bool insideArray(Matrix& m, double& cell)
{
    const double* v = m.getMAry();
    return v && &cell >= v && &cell < v + MatrixAccess::count(m);
}

} // namespace

TEST(MatrixStorage, AddressingOfEachKind)
{
    Matrix full(2, 3);
    EXPECT_EQ(sizeOf(full), Size(2, 3));
    EXPECT_EQ(&full.element(1, 0), full.getMAry() + 3);
    EXPECT_EQ(&full.element(1, 2), full.getMAry() + 5);

    Matrix d(3, 3, Matrix::Diagonal);
    d.init();
    EXPECT_EQ(&d.element(1, 1), d.getMAry() + 1);
    EXPECT_EQ(d.element(0, 1), 0.0);
    EXPECT_FALSE(insideArray(d, d.element(0, 1)));
    d.element(0, 1) = 5.0; // the one cell that every off-diagonal position shares
    EXPECT_EQ(d.element(2, 0), 5.0);

    Matrix p(4, 4, Matrix::SymmetricPacked);
    EXPECT_EQ(&p.element(1, 3), p.getMAry() + 7);
    EXPECT_EQ(&p.element(3, 1), p.getMAry() + 7);
    EXPECT_EQ(&p.element(3, 3), p.getMAry() + 9);

    double data[6] = {0, 1, 2, 3, 4, 5}; // 2 x 3, row-major, seen as its 3 x 2 transpose
    Matrix t(2, 3, Matrix::TransposedView, data);
    EXPECT_EQ(sizeOf(t), Size(3, 2));
    EXPECT_EQ(&t.element(2, 1), data + 5);
    EXPECT_EQ(t.element(0, 1), 3.0);
}

TEST(MatrixStorage, OutOfRangeAccessStaysInsideTheObject)
{
    Matrix m(2, 2);
    m.init();
    for (auto ij : {std::pair<int, int>{-1, 0}, {0, -1}, {2, 0}, {0, 2}, {INT_MAX, INT_MAX}}) {
        double& cell = m.element(ij.first, ij.second);
        EXPECT_FALSE(insideArray(m, cell));
        cell = 7.0; // lost
        EXPECT_EQ(m.element(ij.first, ij.second), 0.0);
    }
    EXPECT_EQ(m.element(1, 1), 0.0);
    // A view is bounded by its size as seen (3 x 2), a packed matrix by n on both indices.
    double data[6] = {};
    Matrix t(2, 3, Matrix::TransposedView, data);
    EXPECT_FALSE(insideArray(t, t.element(0, 2)));
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
                          {3, -4, Matrix::Diagonal}, {INT_MAX, INT_MAX, Matrix::Full}};
    for (const Case& k : cases) {
        Matrix m(k.rows, k.cols, k.kind);
        const auto [r, c] = sizeOf(m);
        EXPECT_EQ(r * c, 0) << k.rows << "x" << k.cols << " kind " << k.kind;
        EXPECT_EQ(m.init(), 1);
        EXPECT_EQ(m.multiplyScalar(3.0), 1);
        m.element(0, 0) = 1.0;
        EXPECT_EQ(m.element(0, 0), 0.0);
        Matrix out(2, 2);
        EXPECT_EQ(matrixMultiply(&m, &m, &out), 0);
        // Nothing to invert: only an empty square full or diagonal matrix succeeds.
        const bool square = k.kind == Matrix::Diagonal || (k.kind == Matrix::Full && r == c);
        EXPECT_EQ(matrixInverse(&m), square ? 0 : 1);
    }
    Matrix nullView(2, 2, Matrix::TransposedView, nullptr);
    EXPECT_EQ(sizeOf(nullView), Size(0, 0));
    Matrix noRows(0, 5); // a dimension of zero keeps the other one
    EXPECT_EQ(sizeOf(noRows), Size(0, 5));
}

// A matrix with no values can still claim a huge other dimension, and a large diagonal
// matrix stores few values for its size: every loop is bounded by the values held, so
// each call below returns at once.
TEST(MatrixStorage, HugeDimensionsDoNotMeanLongLoops)
{
    Matrix tall(INT_MAX, 0), wide(0, INT_MAX), one(1, 1);
    for (auto multiply : {matrixMultiply, matrixMultiplyJtWJ}) {
        one.element(0, 0) = 5.0;
        EXPECT_EQ(multiply(&tall, &wide, &one), 0);
        EXPECT_EQ(one.element(0, 0), 0.0); // an empty sum
    }
    one.element(0, 0) = 5.0;
    EXPECT_EQ(tall.solve(&one, &one), 0);
    EXPECT_EQ(tall.forwardSub(&one), 0);
    EXPECT_EQ(tall.backwardSub(&one), 0);
    EXPECT_EQ(tall.NRCholeskyInverse(&one), 0);
    EXPECT_EQ(tall.NRCholeskyVarCovFromInv(&one), 0);
    EXPECT_EQ(matrixCopy(&tall, &one), 1);
    EXPECT_EQ(matrixInit(&tall), 1);
    EXPECT_EQ(one.element(0, 0), 5.0);

    const int n = 1 << 20;
    Matrix d(n, n, Matrix::Diagonal);
    d.init();
    d.getMAry()[n - 1] = 2.0;
    EXPECT_EQ(matrixMultiplyScalar(&d, 3.0), 1);
    EXPECT_EQ(matrixCopy(&d, &d), 1);
    EXPECT_EQ(matrixMultiply(&d, &one, &d), 0); // only d(0, 0) is within the product
    EXPECT_EQ(d.element(n - 1, n - 1), 6.0);
    EXPECT_EQ(matrixInit(&d), 1);
    EXPECT_EQ(d.element(n - 1, n - 1), 0.0);
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
        Matrix d(2, 2, Matrix::Diagonal, full);
        EXPECT_EQ(d.element(1, 1), 2.0);
        Matrix copyOfP(p);
        EXPECT_EQ(copyOfP.getMAry(), packed);
    }
    EXPECT_EQ(full[3], 4.0);
}

TEST(MatrixStorage, CopiesAreDeepAndOwnTheirArrays)
{
    Matrix a(2, 2);
    fill(a, {1, 2, 3, 4});
    Matrix b(a);
    b.element(0, 0) = 9;
    EXPECT_EQ(a.element(0, 0), 1.0);
    EXPECT_EQ(b.element(1, 1), 4.0);

    // Assignment releases the target's own array and takes the source's shape and kind.
    Matrix p(3, 3, Matrix::SymmetricPacked);
    p.init();
    p.element(2, 0) = 6.0;
    Matrix target(5, 1);
    target = p;
    EXPECT_EQ(sizeOf(target), Size(3, 3));
    target.element(0, 2) += 1.0;
    EXPECT_EQ(target.element(2, 0), 7.0);
    EXPECT_EQ(p.element(2, 0), 6.0);
    const Matrix& same = target; // self-assignment, through an alias so compilers allow it
    target = same;
    EXPECT_EQ(target.element(0, 2), 7.0);

    // A copy of a view is a view of the same caller array.
    double data[6] = {0, 1, 2, 3, 4, 5};
    Matrix v(2, 3, Matrix::TransposedView, data);
    a = v;
    EXPECT_EQ(&a.element(2, 1), data + 5);
    // A matrix made the view of its own array keeps that array.
    Matrix own(2, 3);
    fill(own, {0, 1, 2, 3, 4, 5});
    own = Matrix(2, 3, Matrix::TransposedView, own.getMAry());
    EXPECT_EQ(sizeOf(own), Size(3, 2));
    EXPECT_EQ(own.element(2, 1), 5.0);

    Matrix d(2, 2, Matrix::Diagonal);
    fill(d, {1, 2});
    d.element(0, 1) = -1.0;
    Matrix e(1, 1);
    e = d;
    EXPECT_EQ(e.element(1, 1), 2.0);
    EXPECT_EQ(e.element(1, 0), -1.0); // the shared off-diagonal cell travels too
}

// Init and scale touch each stored value once; copy, add and subtract go by position.
TEST(MatrixElementwise, InitScaleCopyAddSubtract)
{
    Matrix p(3, 3, Matrix::SymmetricPacked);
    fill(p, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(p.multiplyScalar(2.0), 1);
    EXPECT_EQ(matrixMultiplyScalar(&p, 3.0), 1);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(p.getMAry()[k], 6.0 * (k + 1));

    Matrix d(3, 3, Matrix::Diagonal);
    fill(d, {1, 2, 3});
    EXPECT_EQ(matrixMultiplyScalar(&d, -1.0), 1);
    EXPECT_EQ(d.element(2, 2), -3.0);
    EXPECT_EQ(d.element(0, 2), 0.0);
    EXPECT_EQ(matrixInit(&d), 1);
    EXPECT_EQ(d.element(1, 1), 0.0);

    Matrix a(2, 3), b(2, 3), c(2, 3);
    fill(a, {0, 1, 2, 10, 11, 12});
    fill(b, {0, 0.5, 1, -1, -0.5, 0});
    EXPECT_EQ(matrixAdd(&a, &b, &c), 1);
    EXPECT_EQ(c.element(1, 0), 9.0);
    EXPECT_EQ(matrixCopy(&a, &c), 1);
    EXPECT_EQ(c.element(1, 1), 11.0);
    // In place: c is a, each position read before it is written.
    EXPECT_EQ(matrixSubtract(&a, &b, &a), 1);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_EQ(a.element(i, j), 10.0 * i + j - (0.5 * j - i));

    // Through element, with a view as one operand.
    double td[6] = {1, 2, 3, 4, 5, 6}; // seen as 3 x 2
    Matrix t(2, 3, Matrix::TransposedView, td);
    Matrix f(3, 2), g(3, 2);
    fill(f, {0, 1, 1, 2, 2, 3}); // f(i, j) = i + j
    EXPECT_EQ(matrixSubtract(&t, &f, &t), 1);
    EXPECT_EQ(td[5], 3.0);
    EXPECT_EQ(td[4], 3.0);
    EXPECT_EQ(matrixAdd(&t, &f, &g), 1);
    EXPECT_EQ(g.element(2, 1), 6.0);

    // A packed target keeps the lower triangle of a non-symmetric source; a diagonal
    // target takes the diagonal and keeps its off-diagonal cell at zero.
    Matrix full(2, 2), packed(2, 2, Matrix::SymmetricPacked), diag(2, 2, Matrix::Diagonal);
    fill(full, {1, 2, 3, 4});
    EXPECT_EQ(matrixCopy(&full, &packed), 1);
    EXPECT_EQ(packed.element(0, 1), 3.0);
    diag.init();
    EXPECT_EQ(matrixCopy(&full, &diag), 1);
    EXPECT_EQ(diag.element(1, 1), 4.0);
    EXPECT_EQ(diag.element(1, 0), 0.0);
    // Operands of other sizes: a target stays within itself, a short operand reads 0.0.
    Matrix small(1, 1), big(3, 3);
    small.element(0, 0) = 5.0;
    EXPECT_EQ(matrixSubtract(&small, &full, &small), 1);
    EXPECT_EQ(small.element(0, 0), 4.0);
    big.init();
    EXPECT_EQ(matrixSubtract(&big, &small, &big), 1);
    EXPECT_EQ(big.element(0, 0), -4.0);
    EXPECT_EQ(big.element(2, 2), 0.0);
}

TEST(MatrixElementwise, SwapAddressesTheArrayAsFull)
{
    Matrix m(2, 3);
    fill(m, {0, 1, 2, 3, 4, 5});
    swapMatrixElem(&m, 0, 1, 1, 2);
    EXPECT_EQ(m.getMAry()[1], 5.0);
    EXPECT_EQ(m.getMAry()[5], 1.0);
    // A packed 3 x 3 matrix: position 1*3 + 2 = 5 is its last stored value.
    Matrix p(3, 3, Matrix::SymmetricPacked);
    fill(p, {0, 1, 2, 3, 4, 5});
    swapMatrixElem(&p, 0, 0, 1, 2);
    EXPECT_EQ(p.element(2, 2), 0.0);
    EXPECT_EQ(p.element(0, 0), 5.0);
    // Positions outside the array leave everything as it was.
    swapMatrixElem(&p, 0, 0, 2, 2);
    swapMatrixElem(&p, -1, 0, 0, 0);
    EXPECT_EQ(p.element(0, 0), 5.0);
}

TEST(MatrixStorage, NullMatricesAreRefused)
{
    Matrix m(2, 2), col(2, 1);
    EXPECT_EQ(matrixMultiply(&m, nullptr, &m), 1);
    EXPECT_EQ(matrixMultiplyJtWJ(nullptr, &m, &m), 1);
    EXPECT_EQ(matrixInverse(nullptr), 1);
    EXPECT_EQ(m.NRCholesky(nullptr), 1);
    EXPECT_EQ(col.solve(&m, nullptr), 1);
    EXPECT_EQ(m.NRCholeskyInverse(nullptr), 1);
    EXPECT_EQ(m.NRCholeskyVarCovFromInv(nullptr), 1);
    EXPECT_EQ(col.forwardSub(nullptr), 1);
    EXPECT_EQ(col.backwardSub(nullptr), 1);
    EXPECT_EQ(matrixCopy(&m, nullptr), 0);
    EXPECT_EQ(matrixSubtract(&m, nullptr, &m), 0);
    EXPECT_EQ(matrixAdd(nullptr, &m, &m), 0);
    EXPECT_EQ(matrixInit(nullptr), 0);
    EXPECT_EQ(matrixMultiplyScalar(nullptr, 2.0), 0);
    swapMatrixElem(nullptr, 0, 0, 1, 1);
    EXPECT_EQ(dumpMatrix("unused", nullptr, "T"), EOF);
}
