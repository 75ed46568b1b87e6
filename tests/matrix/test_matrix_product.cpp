// The product against a naive reference for every combination of storage kinds, which
// combinations take a direct loop, and products of non-conforming sizes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "kelvane/kelvane.h"
#include "matrix/matrix_internal.h"
#include "matrix_test_support.h"

using kelvane_test::build;
using kelvane_test::Dense;
using kelvane_test::sample;

namespace {

bool square(int kind) { return kind == Matrix::Diagonal || kind == Matrix::SymmetricPacked; }

// Sizes n x m times m x p that the kinds can hold: 3 x 4 times 4 x 5 unless a kind
// forces a pair of dimensions to agree, in which case they become 4 (or all 4).
void sizesFor(int ka, int kb, int kc, int& n, int& m, int& p)
{
    n = 3, m = 4, p = 5;
    if (square(ka) || square(kb) || square(kc)) {
        const bool nm = square(ka), mp = square(kb), np = square(kc);
        if ((nm && mp) || (nm && np) || (mp && np)) n = m = p = 4;
        else if (nm) n = m = 4;
        else if (mp) m = p = 4;
        else n = p = 4;
    }
}

// Whether the combination (a, b, c) has a direct-index loop.
bool isDirect(int ka, int kb, int kc)
{
    static const int direct[][3] = {{1, 2, 0}, {0, 1, 2}, {0, 0, 3}, {0, 1, 3}, {0, 0, 2},
                                    {0, 0, 0}, {0, 2, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0},
                                    {1, 0, 0}, {0, 3, 0}, {1, 3, 0}, {3, 1, 0}};
    for (const auto& d : direct)
        if (d[0] == ka && d[1] == kb && d[2] == kc) return true;
    return false;
}

// The values of c that the product defines for its kind: every position of a full
// matrix or view, the diagonal of a diagonal matrix, the lower triangle of a packed one.
bool defines(int kc, int i, int j) { return kelvane::writesStoredValue(kc, i, j); }

} // namespace

class ProductAllKinds : public ::testing::TestWithParam<std::tuple<int, int, int>> {};

TEST_P(ProductAllKinds, MatchesNaiveReference)
{
    const auto [ka, kb, kc] = GetParam();
    int n, m, p;
    sizesFor(ka, kb, kc, n, m, p);
    const Dense ad = sample(n, m, ka, 1), bd = sample(m, p, kb, 2);
    const Dense expected = kelvane_test::product(ad, bd);
    auto a = build(ad, ka);
    auto b = build(bd, kb);
    auto c = build(Dense(n, p), kc);
    const double sentinel = -123.0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < p; ++j)
            if (defines(kc, i, j)) c.m->element(i, j) = sentinel;
    EXPECT_EQ(matrixMultiply(a.m.get(), b.m.get(), c.m.get()), 0);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < p; ++j) {
            if (!defines(kc, i, j)) continue;
            EXPECT_NEAR(c.m->element(i, j), expected.at(i, j), 1e-12 * (1 + std::fabs(expected.at(i, j))))
                << "kinds " << ka << kb << kc << " at " << i << "," << j;
        }
    if (kc == Matrix::Diagonal) {
        EXPECT_EQ(c.m->element(0, 1), 0.0) << "shared cell written";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKindCombination, ProductAllKinds,
                         ::testing::Combine(::testing::Range(0, 4), ::testing::Range(0, 4),
                                            ::testing::Range(0, 4)),
                         [](const auto& info) {
                             return "a" + std::to_string(std::get<0>(info.param)) + "_b" +
                                    std::to_string(std::get<1>(info.param)) + "_c" +
                                    std::to_string(std::get<2>(info.param));
                         });

// The direct loops add every term; the element-wise path skips a term with a zero
// factor. An infinity times a zero therefore shows which one ran: NaN from a direct loop,
// a finite value from the element-wise path.
TEST(MatrixProduct, DirectLoopsRunForTheFourteenCombinations)
{
    for (int ka = 0; ka < 4; ++ka)
        for (int kb = 0; kb < 4; ++kb)
            for (int kc = 0; kc < 4; ++kc) {
                int n, m, p;
                sizesFor(ka, kb, kc, n, m, p);
                Dense ad = sample(n, m, ka, 3), bd = sample(m, p, kb, 4);
                ad.at(0, 0) = std::numeric_limits<double>::infinity();
                bd.at(0, 0) = 0.0;
                auto a = build(ad, ka);
                auto b = build(bd, kb);
                auto c = build(Dense(n, p), kc);
                matrixMultiply(a.m.get(), b.m.get(), c.m.get());
                EXPECT_EQ(std::isnan(c.m->element(0, 0)), isDirect(ka, kb, kc))
                    << "kinds " << ka << kb << kc;
            }
}

TEST(MatrixProduct, NanFactorCountsAsNonZeroOnTheElementwisePath)
{
    Matrix a(2, 2, Matrix::Diagonal), b(2, 2, Matrix::Diagonal), c(2, 2);
    a.getMAry()[0] = std::nan("");
    a.getMAry()[1] = 2.0;
    b.getMAry()[0] = 1.0;
    b.getMAry()[1] = 3.0;
    EXPECT_EQ(matrixMultiply(&a, &b, &c), 0);
    EXPECT_TRUE(std::isnan(c.element(0, 0)));
    EXPECT_EQ(c.element(0, 1), 0.0); // NaN times the zero off-diagonal is skipped
    EXPECT_EQ(c.element(1, 1), 6.0);
}

TEST(MatrixProduct, DisagreeingSizesStayWithinEveryMatrix)
{
    // a is 2 x 3 but b has only 2 rows: the missing row reads as zero.
    Matrix a(2, 3), b(2, 2), c(2, 2);
    for (int k = 0; k < 6; ++k) a.getMAry()[k] = k + 1.0;
    for (int k = 0; k < 4; ++k) b.getMAry()[k] = 1.0;
    EXPECT_EQ(matrixMultiply(&a, &b, &c), 0);
    EXPECT_EQ(c.element(0, 0), 1.0 + 2.0);
    EXPECT_EQ(c.element(1, 1), 4.0 + 5.0);
    // A result too small for the product receives the part that fits.
    Matrix small(1, 1);
    EXPECT_EQ(matrixMultiply(&a, &b, &small), 0);
    EXPECT_EQ(small.element(0, 0), 3.0);
    // A packed result smaller than the product, and an empty operand.
    Matrix packed(1, 1, Matrix::SymmetricPacked);
    EXPECT_EQ(matrixMultiply(&a, &b, &packed), 0);
    EXPECT_EQ(packed.element(0, 0), 3.0);
    Matrix empty(2, 3, Matrix::Diagonal);
    EXPECT_EQ(matrixMultiply(&a, &empty, &c), 0); // no columns: nothing written
    EXPECT_EQ(c.element(0, 0), 3.0);
    EXPECT_EQ(matrixMultiply(&empty, &a, &c), 0);
}

TEST(MatrixProduct, JtWJFillsTheUpperTriangle)
{
    // J is 5 x 3, W a 5 x 5 weight matrix; a = Jt, b = W J, c = Jt W J.
    const Dense J = sample(5, 3, Matrix::Full, 5);
    Dense W = sample(5, 5, Matrix::SymmetricPacked, 6);
    const Dense WJ = kelvane_test::product(W, J);
    const Dense Jt = kelvane_test::transpose(J);
    const Dense expected = kelvane_test::product(Jt, WJ);
    auto a = build(Jt, Matrix::Full);
    auto b = build(WJ, Matrix::Full);
    Matrix c(3, 3);
    for (int k = 0; k < 9; ++k) c.getMAry()[k] = -1.0;
    EXPECT_EQ(matrixMultiplyJtWJ(a.m.get(), b.m.get(), &c), 0);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            if (j >= i) {
                EXPECT_NEAR(c.element(i, j), expected.at(i, j), 1e-10);
            } else {
                EXPECT_EQ(c.element(i, j), -1.0);
            }
        }
    // With a view of J as a, it is the ordinary product.
    auto view = build(Jt, Matrix::TransposedView);
    EXPECT_EQ(matrixMultiplyJtWJ(view.m.get(), b.m.get(), &c), 0);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(c.element(i, j), expected.at(i, j), 1e-10);
    // Too small a result takes what fits.
    Matrix tiny(2, 2);
    EXPECT_EQ(matrixMultiplyJtWJ(a.m.get(), b.m.get(), &tiny), 0);
    EXPECT_NEAR(tiny.element(1, 1), expected.at(1, 1), 1e-10);
}
