// Matrix: the products and solves that the least-squares transformations run.
#include <benchmark/benchmark.h>

#include "kelvane/matrix.h"

namespace {

void fillFull(Matrix& m, int rows, int cols)
{
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) m.element(i, j) = 1.0 / (i + 2 * j + 1) + (i == j ? 4.0 : 0.0);
}

// A 3 x 3 rotation times a 3 x 1 difference vector, as in the local-frame conversion.
void BM_MatrixMultiply3x3By3x1(benchmark::State& state)
{
    Matrix r(3, 3), d(3, 1), out(3, 1);
    fillFull(r, 3, 3);
    fillFull(d, 3, 1);
    for (auto _ : state) {
        matrixMultiply(&r, &d, &out);
        benchmark::DoNotOptimize(out.getMAry());
    }
}
BENCHMARK(BM_MatrixMultiply3x3By3x1);

// Normal equations Jt W J for 3n observations and 7 unknowns: a view of J times a
// diagonal W, then the symmetric product.
void BM_NormalEquations7(benchmark::State& state)
{
    const int obs = 3 * static_cast<int>(state.range(0));
    Matrix j(obs, 7), w(obs, obs, Matrix::Diagonal), jtw(7, obs), n(7, 7);
    fillFull(j, obs, 7);
    for (int k = 0; k < obs; ++k) w.getMAry()[k] = 1.0 + 0.01 * k;
    Matrix jt(obs, 7, Matrix::TransposedView, j.getMAry());
    for (auto _ : state) {
        matrixMultiply(&jt, &w, &jtw);
        matrixMultiplyJtWJ(&jtw, &j, &n);
        benchmark::DoNotOptimize(n.getMAry());
    }
}
BENCHMARK(BM_NormalEquations7)->Arg(10)->Arg(30)->Arg(100);

void BM_MatrixInverse7x7(benchmark::State& state)
{
    Matrix a(7, 7);
    for (auto _ : state) {
        fillFull(a, 7, 7);
        benchmark::DoNotOptimize(matrixInverse(&a));
    }
}
BENCHMARK(BM_MatrixInverse7x7);

void BM_CholeskySolve7x7(benchmark::State& state)
{
    Matrix a(7, 7), p(7, 1), b(7, 1);
    for (auto _ : state) {
        fillFull(a, 7, 7);
        fillFull(b, 7, 1);
        a.NRCholesky(&p);
        benchmark::DoNotOptimize(b.solve(&a, &p));
    }
}
BENCHMARK(BM_CholeskySolve7x7);

} // namespace
