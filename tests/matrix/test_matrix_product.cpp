// The product against a naive reference for every combination of storage kinds, which
// combinations take a direct loop, and products of non-conforming sizes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>

#include "matrix/matrix_internal.h"
#include "matrix_test_support.h"

using kelvane_test::build;
using kelvane_test::Dense;
using kelvane_test::sample;

namespace {

constexpr int D = Matrix::Diagonal, P = Matrix::SymmetricPacked;

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

// The positions of c that hold a value of their own: all of a full matrix or view, the
// diagonal of a diagonal matrix, the lower triangle of a packed one.
bool holds(int kind, int i, int j) { return kind == D ? i == j : kind == P ? j <= i : true; }

} // namespace

class ProductAllKinds : public ::testing::TestWithParam<std::tuple<int, int, int>> {};

// n x m times m x p: 3 x 4 times 4 x 5, except that a square kind makes its two
// dimensions 4.
TEST_P(ProductAllKinds, MatchesNaiveReference)
{
    const auto [ka, kb, kc] = GetParam();
    const bool squareA = ka >= D, squareB = kb >= D, squareC = kc >= D;
    const int n = squareA || squareC ? 4 : 3, m = 4, p = squareB || squareC ? 4 : 5;
    Dense ad = sample(n, m, ka, 1), bd = sample(m, p, kb, 2);
    const Dense expected = kelvane_test::product(ad, bd);
    auto a = build(ad, ka);
    auto b = build(bd, kb);
    auto c = build(Dense(n, p), kc);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < p; ++j)
            if (holds(kc, i, j)) c.m->element(i, j) = -123.0;
    EXPECT_EQ(matrixMultiply(a.m.get(), b.m.get(), c.m.get()), 0);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < p; ++j) {
            if (!holds(kc, i, j)) continue;
            const double x = expected.at(i, j);
            EXPECT_NEAR(c.m->element(i, j), x, 1e-12 * (1 + std::fabs(x))) << i << "," << j;
        }
    if (kc == D) {
        EXPECT_EQ(c.m->element(0, 1), 0.0) << "shared cell written";
    }

    // The direct loops add every term; the element-wise path skips a term with a zero
    // factor. An infinity times a zero therefore shows which one ran.
    ad.at(0, 0) = std::numeric_limits<double>::infinity();
    bd.at(0, 0) = 0.0;
    a = build(ad, ka);
    b = build(bd, kb);
    matrixMultiply(a.m.get(), b.m.get(), c.m.get());
    EXPECT_EQ(std::isnan(c.m->element(0, 0)), isDirect(ka, kb, kc));
}

INSTANTIATE_TEST_SUITE_P(EveryKindCombination, ProductAllKinds,
                         ::testing::Combine(::testing::Range(0, 4), ::testing::Range(0, 4),
                                            ::testing::Range(0, 4)),
                         [](const auto& info) {
                             return "a" + std::to_string(std::get<0>(info.param)) + "_b" +
                                    std::to_string(std::get<1>(info.param)) + "_c" +
                                    std::to_string(std::get<2>(info.param));
                         });

TEST(MatrixProduct, NanFactorCountsAsNonZeroOnTheElementwisePath)
{
    Matrix a(2, 2, Matrix::Diagonal), b(2, 2, Matrix::Diagonal), c(2, 2);
    kelvane_test::fill(a, {std::nan(""), 2.0});
    kelvane_test::fill(b, {1.0, 3.0});
    EXPECT_EQ(matrixMultiply(&a, &b, &c), 0);
    EXPECT_TRUE(std::isnan(c.element(0, 0)));
    EXPECT_EQ(c.element(0, 1), 0.0); // NaN times the zero off-diagonal is skipped
    EXPECT_EQ(c.element(1, 1), 6.0);
}

TEST(MatrixProduct, DisagreeingSizesStayWithinEveryMatrix)
{
    // a is 2 x 3 but b has only 2 rows: the missing row reads as zero.
    Matrix a(2, 3), b(2, 2), c(2, 2);
    kelvane_test::fill(a, {1, 2, 3, 4, 5, 6});
    kelvane_test::fill(b, {1, 1, 1, 1});
    EXPECT_EQ(matrixMultiply(&a, &b, &c), 0);
    EXPECT_EQ(c.element(0, 0), 1.0 + 2.0);
    EXPECT_EQ(c.element(1, 1), 4.0 + 5.0);
    // A result too small for the product, full or packed, receives the part that fits.
    Matrix small(1, 1), packed(1, 1, Matrix::SymmetricPacked);
    EXPECT_EQ(matrixMultiply(&a, &b, &small), 0);
    EXPECT_EQ(small.element(0, 0), 3.0);
    EXPECT_EQ(matrixMultiply(&a, &b, &packed), 0);
    EXPECT_EQ(packed.element(0, 0), 3.0);
    // An empty operand: no columns, nothing written.
    Matrix empty(2, 3, Matrix::Diagonal);
    EXPECT_EQ(matrixMultiply(&a, &empty, &c), 0);
    EXPECT_EQ(matrixMultiply(&empty, &a, &c), 0);
    EXPECT_EQ(c.element(0, 0), 3.0);
}

TEST(MatrixProduct, JtWJFillsTheUpperTriangle)
{
    // J is 5 x 3, W a symmetric 5 x 5 weight matrix; a = Jt, b = W J, c = Jt W J.
    const Dense J = sample(5, 3, Matrix::Full, 5);
    const Dense WJ = kelvane_test::product(sample(5, 5, Matrix::SymmetricPacked, 6), J);
    const Dense Jt = kelvane_test::transpose(J);
    const Dense expected = kelvane_test::product(Jt, WJ);
    auto a = build(Jt, Matrix::Full);
    auto b = build(WJ, Matrix::Full);
    Matrix c(3, 3), tiny(2, 2);
    for (int k = 0; k < 9; ++k) c.getMAry()[k] = -1.0;
    EXPECT_EQ(matrixMultiplyJtWJ(a.m.get(), b.m.get(), &c), 0);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(c.element(i, j), j >= i ? expected.at(i, j) : -1.0, 1e-10);
    // A result too small takes what fits.
    EXPECT_EQ(matrixMultiplyJtWJ(a.m.get(), b.m.get(), &tiny), 0);
    EXPECT_NEAR(tiny.element(1, 1), expected.at(1, 1), 1e-10);
    // With a view of J as a, it is the ordinary product.
    auto view = build(Jt, Matrix::TransposedView);
    EXPECT_EQ(matrixMultiplyJtWJ(view.m.get(), b.m.get(), &c), 0);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(c.element(i, j), expected.at(i, j), 1e-10);
}
