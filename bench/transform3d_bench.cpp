// Three-dimensional transformations: the seven- and four-parameter solutions for 10, 30
// and 100 control points (time per solve), and the point transformation (time per point).
#include <benchmark/benchmark.h>

#include <vector>

#include "kelvane/kelvane.h"
#include "bench/support/control_points.h"

namespace {

using kelvane_test::controlPoints;
using kelvane_test::typicalParams;

void BM_Xform7ParamSolve(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    std::vector<double> cp = controlPoints(n, typicalParams(), 0.02, 0.02, 42);
    double s, tx, ty, tz, rx, ry, rz, var, rm;
    for (auto _ : state) {
        xform_3D_7Param(n, cp.data(), &s, &tx, &ty, &tz, &rx, &ry, &rz, &var, &rm);
        benchmark::DoNotOptimize(var);
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_Xform7ParamSolve)->Arg(10)->Arg(30)->Arg(100)->Unit(benchmark::kMicrosecond)->Complexity();

void BM_CXform3D7ParamSolve(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    std::vector<double> cp = controlPoints(n, typicalParams(), 0.02, 0.02, 42);
    for (auto _ : state) {
        CXform3D7Param x(n, cp.data());
        benchmark::DoNotOptimize(x.solutionFound());
    }
}
BENCHMARK(BM_CXform3D7ParamSolve)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_Xform4ParamSolve(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    kelvane_test::Params7 p{1.0 + 12e-6, 0.0, 0.0, 0.0, 80.0, -40.0, 15.0};
    std::vector<double> cp = controlPoints(n, p, 0.02, 0.02, 42);
    double s, tx, ty, tz, var, rm;
    for (auto _ : state) {
        xform_3D_4Param(n, cp.data(), &s, &tx, &ty, &tz, &var, &rm);
        benchmark::DoNotOptimize(var);
    }
}
BENCHMARK(BM_Xform4ParamSolve)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_Xform3DPt(benchmark::State& state)
{
    const kelvane_test::Params7 p = typicalParams();
    double x = 3900000.0, y = 300000.0, z = 5000000.0;
    double X, Y, Z;
    for (auto _ : state) {
        xform3D_Pt(p.scale, p.rx, p.ry, p.rz, p.tx, p.ty, p.tz, x, y, z, &X, &Y, &Z);
        benchmark::DoNotOptimize(X);
        benchmark::DoNotOptimize(Y);
        benchmark::DoNotOptimize(Z);
        x += 0.001;
    }
}
BENCHMARK(BM_Xform3DPt);

} // namespace
