// Inversion, the Cholesky family and the substitutions with a packed factor.
#include <gtest/gtest.h>

#include <cmath>

#include "matrix/matrix_internal.h"
#include "matrix_test_support.h"

using kelvane_test::fill;

namespace {

// The classic 3 x 3 example with L = [[2, 0, 0], [6, 1, 0], [-8, 5, 3]].
void fillSpd(Matrix& a) { fill(a, {4, 12, -16, 12, 37, -43, -16, -43, 98}); }

// A x = b for x = (1, -2, 0.5).
void fillRightHandSide(Matrix& b) { fill(b, {-28, -83.5, 119}); }

void expectColumn(Matrix& b, double x0, double x1, double x2)
{
    EXPECT_NEAR(b.element(0, 0), x0, 1e-12);
    EXPECT_NEAR(b.element(1, 0), x1, 1e-12);
    EXPECT_NEAR(b.element(2, 0), x2, 1e-12);
}

} // namespace

TEST(MatrixInverse, PermutationsAndADominantMatrix)
{
    // A 2 x 2 swap, and a 4 x 4 cyclic permutation, not symmetric, whose row exchanges must
    // be undone as column exchanges: each inverts to its transpose.
    for (int n : {2, 4}) {
        Matrix p(n, n);
        p.init();
        for (int i = 0; i < n; ++i) p.element(i, (i + 1) % n) = 1.0;
        EXPECT_EQ(matrixInverse(&p), 0);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) EXPECT_EQ(p.element(i, j), j == (i + n - 1) % n ? 1.0 : 0.0);
    }
    // Diagonally dominant, with a small leading value so the pivots move about.
    const int n = 5;
    kelvane_test::Dense d(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) d.at(i, j) = 1.0 / (i + 2 * j + 1) + (i == j ? i : 0.0);
    auto a = kelvane_test::build(d, Matrix::Full);
    auto inv = kelvane_test::build(d, Matrix::Full);
    ASSERT_EQ(matrixInverse(inv.m.get()), 0);
    Matrix id(n, n);
    matrixMultiply(a.m.get(), inv.m.get(), &id);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) EXPECT_NEAR(id.element(i, j), i == j ? 1.0 : 0.0, 1e-9);
}

TEST(MatrixInverse, DiagonalTakesReciprocalsWithoutZeroTest)
{
    Matrix d(3, 3, Matrix::Diagonal);
    fill(d, {2, 0, -4});
    EXPECT_EQ(matrixInverse(&d), 0);
    EXPECT_EQ(d.element(0, 0), 0.5);
    EXPECT_TRUE(std::isinf(d.element(1, 1)));
    EXPECT_EQ(d.element(2, 2), -0.25);
    EXPECT_EQ(d.element(0, 2), 0.0);
}

// Singular matrices fail; packed matrices, views and non-square ones are refused unchanged.
TEST(MatrixInverse, SingularAndUnsupportedInputFails)
{
    Matrix a(2, 2), z(3, 3), p(2, 2, Matrix::SymmetricPacked), wide(2, 3);
    fill(a, {1, 2, 2, 4});
    z.init();
    fill(p, {1, 2, 3});
    fill(wide, {1, 2, 3, 4, 5, 6});
    double data[4] = {1, 2, 3, 4};
    Matrix v(2, 2, Matrix::TransposedView, data);
    for (Matrix* m : {&a, &z, &p, &wide, &v}) EXPECT_EQ(matrixInverse(m), 1);
    EXPECT_EQ(p.getMAry()[2], 3.0);
    EXPECT_EQ(data[0], 1.0);
    EXPECT_EQ(wide.getMAry()[5], 6.0);
}

TEST(MatrixCholesky, FactorsAndSolvesAKnownSystem)
{
    Matrix a(3, 3), p(3, 1), b(3, 1);
    fillSpd(a);
    ASSERT_EQ(a.NRCholesky(&p), 0);
    expectColumn(p, 2, 1, 3);
    EXPECT_DOUBLE_EQ(a.element(1, 0), 6.0);
    EXPECT_DOUBLE_EQ(a.element(2, 0), -8.0);
    EXPECT_DOUBLE_EQ(a.element(2, 1), 5.0);
    // Diagonal and upper triangle keep their input values.
    EXPECT_EQ(a.element(0, 0), 4.0);
    EXPECT_EQ(a.element(0, 2), -16.0);
    EXPECT_EQ(a.element(1, 2), -43.0);

    fillRightHandSide(b);
    ASSERT_EQ(b.solve(&a, &p), 0);
    expectColumn(b, 1, -2, 0.5);
}

// A factorisation that is not positive definite fails at once, before anything is
// written; a solve stops at a zero factor value.
TEST(MatrixCholesky, FailuresStopAtTheFirstBadValue)
{
    for (double lead : {0.0, -1.0}) {
        Matrix a(2, 2), p(2, 1);
        fill(a, {lead, 1, 1, 5});
        fill(p, {42, 42});
        EXPECT_EQ(a.NRCholesky(&p), 1);
        EXPECT_EQ(p.element(0, 0), 42.0);
    }
    Matrix indefinite(2, 2), a(2, 2), p(2, 1), b(2, 1);
    fill(indefinite, {1, 2, 2, 1});
    EXPECT_EQ(indefinite.NRCholesky(&p), 1);
    fill(a, {1, 0, 0, 1});
    fill(p, {1, 0});
    fill(b, {3, 4});
    EXPECT_EQ(b.solve(&a, &p), 1);
    EXPECT_EQ(b.element(0, 0), 3.0); // row 0 done before the zero was met
}

TEST(MatrixCholesky, InverseFactorGivesTheInverse)
{
    Matrix a(3, 3), p(3, 1), out(3, 3), original(3, 3), id(3, 3);
    fillSpd(a);
    fillSpd(original);
    ASSERT_EQ(a.NRCholesky(&p), 0);
    EXPECT_EQ(a.NRCholeskyInverse(&p), 0);
    // L^-1 of [[2,0,0],[6,1,0],[-8,5,3]] is [[1/2,0,0],[-3,1,0],[19/3,-5/3,1/3]].
    EXPECT_DOUBLE_EQ(a.element(0, 0), 0.5);
    EXPECT_DOUBLE_EQ(a.element(1, 0), -3.0);
    EXPECT_DOUBLE_EQ(a.element(2, 0), 19.0 / 3.0);
    EXPECT_DOUBLE_EQ(a.element(2, 1), -5.0 / 3.0);
    EXPECT_DOUBLE_EQ(a.element(2, 2), 1.0 / 3.0);
    EXPECT_EQ(a.element(0, 1), 12.0); // upper triangle untouched
    // Clearing the upper triangle is the caller's step; then out = A^-1.
    a.element(0, 1) = a.element(0, 2) = a.element(1, 2) = 0.0;
    EXPECT_EQ(a.NRCholeskyVarCovFromInv(&out), 0);
    matrixMultiply(&original, &out, &id);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            EXPECT_NEAR(id.element(i, j), i == j ? 1.0 : 0.0, 1e-12);
            EXPECT_EQ(out.element(i, j), out.element(j, i));
        }
}

TEST(MatrixCholesky, SubstitutionsWithAPackedFactor)
{
    Matrix l(3, 3, Matrix::SymmetricPacked), b(3, 1);
    fill(l, {2, 6, 1, -8, 5, 3}); // L row after row
    // L y = b with y = (1, 2, 3): b = (2, 6 + 2, -8 + 10 + 9).
    fill(b, {2, 8, 11});
    EXPECT_EQ(b.forwardSub(&l), 0);
    expectColumn(b, 1, 2, 3);
    // Lt x = y with x = (1, -1, 2): y = (2 - 6 - 16, -1 + 10, 6).
    fill(b, {-20, 9, 6});
    EXPECT_EQ(b.backwardSub(&l), 0);
    expectColumn(b, 1, -1, 2);
    // Both together solve L Lt x = A x = b, as the Cholesky solve does.
    fillRightHandSide(b);
    b.forwardSub(&l);
    b.backwardSub(&l);
    expectColumn(b, 1, -2, 0.5);
}

TEST(MatrixCholesky, MismatchedOperandsStayWithinTheirStorage)
{
    // A too short p: the values it lacks read as 0.0, so the solve reports a zero.
    Matrix a(2, 2), p(1, 1), b(4, 1), out(1, 1);
    fill(a, {4, 2, 2, 5});
    EXPECT_EQ(a.NRCholesky(&p), 0);
    EXPECT_EQ(p.element(0, 0), 2.0);
    fill(b, {1, 2, 3, 4});
    EXPECT_EQ(b.solve(&a, &p), 1);
    EXPECT_EQ(b.element(0, 0), 0.5);
    // A right-hand side longer than the factor, and a too small result.
    EXPECT_EQ(b.forwardSub(&a), 0);
    EXPECT_EQ(a.NRCholeskyInverse(&p), 0);
    EXPECT_EQ(a.NRCholeskyVarCovFromInv(&out), 0);
}
