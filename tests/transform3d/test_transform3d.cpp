// Four- and seven-parameter transformations: recovery of known parameters, statistics on
// noisy data, published parameter sets, sign conventions and failure behaviour.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "kelvane/kelvane.h"
#include "tests/transform3d/control_points.h"

using namespace kelvane_test;

namespace {

// Published seven-parameter sets, applied to one point.
struct Published {
    double scale, rx, ry, rz, tx, ty, tz;
    double in[3];
    double out[3];
};

void expectMaps(const Published& p, double tol)
{
    double X, Y, Z;
    EXPECT_EQ(xform3D_Pt(p.scale, p.rx, p.ry, p.rz, p.tx, p.ty, p.tz, p.in[0], p.in[1], p.in[2], &X,
                         &Y, &Z),
              0);
    EXPECT_NEAR(X, p.out[0], tol);
    EXPECT_NEAR(Y, p.out[1], tol);
    EXPECT_NEAR(Z, p.out[2], tol);
}

} // namespace

// EPSG Guidance Note 7-2, WGS 72 -> WGS 84: published in the position-vector form
// (rZ = +0.554"), given here in the library's coordinate-frame form (rz = -0.554").
TEST(SevenParamPoint, EpsgWgs72ToWgs84SignConvention)
{
    const Published p{1.000000219, 0.0, 0.0, -0.554 * kArcSec, 0.0, 0.0, 4.5,
                      {3657660.66, 255768.55, 5201382.11}, {3657660.78, 255778.43, 5201387.75}};
    expectMaps(p, 0.01);
    // The position-vector sign given to the library turns the other way: X moves by
    // +1.37 m and Y by -19.65 m against the published target.
    double X, Y, Z;
    xform3D_Pt(p.scale, 0.0, 0.0, +0.554 * kArcSec, 0.0, 0.0, 4.5, p.in[0], p.in[1], p.in[2], &X, &Y,
               &Z);
    EXPECT_NEAR(X - p.out[0], 1.37, 0.01);
    EXPECT_NEAR(Y - p.out[1], -19.65, 0.01);
}

// Ordnance Survey ETRS89 -> OSGB36 (position-vector angles negated), two points.
TEST(SevenParamPoint, OrdnanceSurveyHelmert)
{
    const double s = 1.0000204894;
    const double rx = 0.1502 * kArcSec;
    const double ry = 0.2470 * kArcSec;
    const double rz = 0.8421 * kArcSec;
    expectMaps({s, rx, ry, rz, -446.448, 125.157, -542.060, {3790644.900, -110149.210, 5111482.970},
                {3790269.549, -110038.064, 5111050.261}},
               0.001);
    expectMaps({s, rx, ry, rz, -446.448, 125.157, -542.060, {3909833.018, -147097.138, 5020322.478},
                {3909460.068, -146987.302, 5019888.070}},
               0.001);
}

TEST(SevenParamPoint, IdentityAndFrameRotationSense)
{
    double X, Y, Z;
    xform3D_Pt(1.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 3.0, -4.0, 5.0, &X, &Y, &Z);
    EXPECT_EQ(X, 3.0);
    EXPECT_EQ(Y, -4.0);
    EXPECT_EQ(Z, 5.0);
    // A positive rz turns the point set clockwise seen from +Z: +X goes towards -Y.
    xform3D_Pt(1.0, 0.0, 0.0, 0.1, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, &X, &Y, &Z);
    EXPECT_NEAR(X, std::cos(0.1), 1e-15);
    EXPECT_NEAR(Y, -std::sin(0.1), 1e-15);
    // And likewise about X (+Y towards -Z) and Y (+Z towards -X).
    xform3D_Pt(1.0, 0.1, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, &X, &Y, &Z);
    EXPECT_NEAR(Z, -std::sin(0.1), 1e-15);
    xform3D_Pt(1.0, 0.0, 0.1, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0, &X, &Y, &Z);
    EXPECT_NEAR(X, -std::sin(0.1), 1e-15);
}

TEST(SevenParamPoint, AlternativeAddsTranslationBeforeRotation)
{
    const Params7 p = typicalParams();
    const double src[3] = {4012345.6, 312345.7, 4912345.8};
    double a[3], b[3];
    xform3D_Pt(p.scale, p.rx, p.ry, p.rz, 0, 0, 0, src[0], src[1], src[2], &a[0], &a[1], &a[2]);
    xform3D_PtAlt(p.scale, p.rx, p.ry, p.rz, 0, 0, 0, src[0], src[1], src[2], &b[0], &b[1], &b[2]);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(a[k], b[k]);

    // With translations they differ by scale R t - t.
    xform3D_Pt(p.scale, p.rx, p.ry, p.rz, p.tx, p.ty, p.tz, src[0], src[1], src[2], &a[0], &a[1], &a[2]);
    xform3D_PtAlt(p.scale, p.rx, p.ry, p.rz, p.tx, p.ty, p.tz, src[0], src[1], src[2], &b[0], &b[1],
                  &b[2]);
    const double t[3] = {p.tx, p.ty, p.tz};
    double sRt[3];
    applyReference(Params7{p.scale, p.rx, p.ry, p.rz, 0, 0, 0}, t, sRt);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(b[k] - a[k], sRt[k] - t[k], 1e-7);
}

// Exact data from known parameters (arc-seconds, ppm, hundreds of metres) come back
// within the convergence tolerances, with sigma0^2 and the residual measure near 0.
TEST(SevenParamSolve, RecoversKnownParametersFromExactData)
{
    for (const Params7& truth : {typicalParams(), Params7{1.0 - 20e-6, -1.5 * kArcSec, 0.8 * kArcSec,
                                                          -6.0 * kArcSec, -412.0, 95.5, -230.25}}) {
        for (int n : {3, 4, 12}) {
            SCOPED_TRACE(n);
            std::vector<double> cp = controlPoints(n, truth, 0.01, 0.0, 7);
            double s, tx, ty, tz, rx, ry, rz, var, rm;
            ASSERT_EQ(xform_3D_7Param(n, cp.data(), &s, &tx, &ty, &tz, &rx, &ry, &rz, &var, &rm), 0);
            EXPECT_NEAR(s, truth.scale, 1e-9);
            EXPECT_NEAR(sameAngle(rx, truth.rx), 0.0, 1e-9);
            EXPECT_NEAR(sameAngle(rz, truth.rz), 0.0, 1e-9);
            EXPECT_NEAR(ry, truth.ry, 1e-9); // ry starts at 0 and is never shifted by 2 pi
            EXPECT_NEAR(tx, truth.tx, 1e-3);
            EXPECT_NEAR(ty, truth.ty, 1e-3);
            EXPECT_NEAR(tz, truth.tz, 1e-3);
            EXPECT_LT(var, 1e-10);
            EXPECT_LT(rm, 1e-5);
            // The solved parameters map every source control point onto its target.
            for (int i = 0; i < n; ++i) {
                const double* row = &cp[12 * i];
                double X, Y, Z;
                xform3D_Pt(s, rx, ry, rz, tx, ty, tz, row[0], row[2], row[4], &X, &Y, &Z);
                EXPECT_NEAR(X, row[6], 1e-5);
                EXPECT_NEAR(Y, row[8], 1e-5);
                EXPECT_NEAR(Z, row[10], 1e-5);
            }
        }
    }
}

// The reported angles are the negatives of the solver's internal ones, whose initial
// values lie in [0, 2 pi): a small positive rz typically comes back as rz - 2 pi.
TEST(SevenParamSolve, ReportedAngleSignRule)
{
    const Params7 truth{1.0, 0.0, 0.0, 1e-5, 0.0, 0.0, 0.0};
    std::vector<double> cp = controlPoints(6, truth, 0.01, 0.0, 3);
    double s, tx, ty, tz, rx, ry, rz, var, rm;
    xform_3D_7Param(6, cp.data(), &s, &tx, &ty, &tz, &rx, &ry, &rz, &var, &rm);
    EXPECT_NEAR(rz, 1e-5 - 2.0 * kPi, 1e-9);
    // The class reports the same values in the order scale, rotations, translations.
    CXform3D7Param x(6, cp.data());
    double cs, crx, cry, crz, ctx, cty, ctz;
    x.getXformParams(&cs, &crx, &cry, &crz, &ctx, &cty, &ctz);
    EXPECT_EQ(crz, rz);
    EXPECT_EQ(crx, rx);
    EXPECT_EQ(cry, ry);
    EXPECT_EQ(ctx, tx);
    // ...and applies them: its own xform3D_Pt and the free one with the reported values agree.
    double a[3], b[3];
    x.xform3D_Pt(cp[0], cp[2], cp[4], &a[0], &a[1], &a[2]);
    xform3D_Pt(cs, crx, cry, crz, ctx, cty, ctz, cp[0], cp[2], cp[4], &b[0], &b[1], &b[2]);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(a[k], b[k]);
}

// Noise of known size (fixed seed) on both sides: sigma0^2 reflects the ratio of the
// actual to the stated standard deviation, and the parameters lie within a few standard
// errors of the truth.
TEST(SevenParamSolve, NoisyDataGiveConsistentVariance)
{
    const Params7 truth = typicalParams();
    const int n = 40;
    for (double stated : {0.02, 0.01}) {
        SCOPED_TRACE(stated);
        std::vector<double> cp = controlPoints(n, truth, stated, 0.02, 2024);
        CXform3D7Param x(n, cp.data());
        ASSERT_EQ(x.solutionFound(), 0);
        double rm, var, sigma0;
        x.getXformStats(&rm, &var, &sigma0);
        // 3n - 7 = 113 degrees of freedom: sigma0^2 is (0.02/stated)^2 within about 3 sd.
        const double expected = (0.02 / stated) * (0.02 / stated);
        EXPECT_NEAR(var / expected, 1.0, 0.4);
        EXPECT_DOUBLE_EQ(sigma0 * sigma0, var);

        double s, rx, ry, rz, tx, ty, tz, ss, srx, sry, srz, stx, sty, stz;
        x.getXformParams(&s, &rx, &ry, &rz, &tx, &ty, &tz);
        x.getXformParamsSE(&ss, &srx, &sry, &srz, &stx, &sty, &stz);
        EXPECT_LT(std::fabs(s - truth.scale), 4 * ss);
        EXPECT_LT(std::fabs(sameAngle(rx, truth.rx)), 4 * srx);
        EXPECT_LT(std::fabs(sameAngle(ry, truth.ry)), 4 * sry);
        EXPECT_LT(std::fabs(sameAngle(rz, truth.rz)), 4 * srz);
        EXPECT_LT(std::fabs(tx - truth.tx), 4 * stx);
        EXPECT_LT(std::fabs(ty - truth.ty), 4 * sty);
        EXPECT_LT(std::fabs(tz - truth.tz), 4 * stz);
        EXPECT_GT(srz, 0.0);

        // The residuals are those of the condition equations, model minus observed
        // target, and the residual measure is 3 sqrt(sum r^2) / n.
        double sumSq = 0.0;
        for (int i = 0; i < n; ++i) {
            double model[3];
            x.xform3D_Pt(cp[12 * i], cp[12 * i + 2], cp[12 * i + 4], &model[0], &model[1], &model[2]);
            for (int k = 0; k < 3; ++k) {
                double r = 0.0;
                ASSERT_EQ(x.getXformObservationResidual(3 * i + k, &r), 0);
                EXPECT_NEAR(r, model[k] - cp[12 * i + 6 + 2 * k], 1e-4);
                sumSq += r * r;
            }
        }
        EXPECT_NEAR(rm, 3.0 * std::sqrt(sumSq) / n, 1e-12);
        double r;
        EXPECT_EQ(x.getXformObservationResidual(3 * n, &r), 1);
        EXPECT_EQ(x.getXformObservationResidual(-1, &r), 1);

        // The free solver gives the class's numbers.
        double fs, ftx, fty, ftz, frx, fry, frz, fvar, frm;
        xform_3D_7Param(n, cp.data(), &fs, &ftx, &fty, &ftz, &frx, &fry, &frz, &fvar, &frm);
        EXPECT_EQ(fs, s);
        EXPECT_EQ(frz, rz);
        EXPECT_EQ(ftz, tz);
        EXPECT_EQ(fvar, var);
        EXPECT_EQ(frm, rm);
    }
}

TEST(FourParamSolve, RecoversScaleAndTranslations)
{
    const double s0 = 1.0 - 20e-6;
    const double t0[3] = {300.0, -150.0, 75.5};
    for (int n : {2, 3, 10}) {
        SCOPED_TRACE(n);
        std::vector<double> cp = controlPoints(n, Params7{s0, 0, 0, 0, t0[0], t0[1], t0[2]}, 0.01, 0.0, 11);
        double s, tx, ty, tz, var, rm;
        ASSERT_EQ(xform_3D_4Param(n, cp.data(), &s, &tx, &ty, &tz, &var, &rm), 0);
        EXPECT_NEAR(s, s0, 1e-9);
        EXPECT_NEAR(tx, t0[0], 1e-3);
        EXPECT_NEAR(ty, t0[1], 1e-3);
        EXPECT_NEAR(tz, t0[2], 1e-3);
        EXPECT_LT(var, 1e-10);
        EXPECT_LT(rm, 1e-5);
        for (int i = 0; i < n; ++i) {
            double X, Y, Z;
            xform3D4Parm_Pt(s, tx, ty, tz, cp[12 * i], cp[12 * i + 2], cp[12 * i + 4], &X, &Y, &Z);
            EXPECT_NEAR(X, cp[12 * i + 6], 1e-5);
            EXPECT_NEAR(Y, cp[12 * i + 8], 1e-5);
            EXPECT_NEAR(Z, cp[12 * i + 10], 1e-5);
        }
        CXform3D4Param x(n, cp.data());
        EXPECT_EQ(x.solutionFound(), 0);
        double cs, ctx, cty, ctz, ss, stx, sty, stz;
        x.getXformParams(&cs, &ctx, &cty, &ctz);
        x.getXformParamsSE(&ss, &stx, &sty, &stz);
        EXPECT_EQ(cs, s);
        EXPECT_EQ(ctz, tz);
        EXPECT_LT(ss, 1e-9);
        EXPECT_LT(stx, 1e-4);
        double r;
        EXPECT_EQ(x.getXformObservationResidual(3 * n - 1, &r), 0);
        EXPECT_EQ(x.getXformObservationResidual(3 * n, &r), 1);
        // xform3D4_Pt uses its arguments, not the object's solution.
        double X, Y, Z;
        x.xform3D4_Pt(2.0, 1.0, 2.0, 3.0, 10.0, 20.0, 30.0, &X, &Y, &Z);
        EXPECT_EQ(X, 21.0);
        EXPECT_EQ(Y, 42.0);
        EXPECT_EQ(Z, 63.0);
    }
}

TEST(FourParamSolve, NoisyDataGiveConsistentVariance)
{
    std::vector<double> cp = controlPoints(30, Params7{1.0 + 12e-6, 0, 0, 0, 80.0, -40.0, 15.0}, 0.05,
                                           0.05, 99);
    CXform3D4Param x(30, cp.data());
    double rm, var, sigma0;
    x.getXformStats(&rm, &var, &sigma0);
    EXPECT_NEAR(var, 1.0, 0.45); // 86 degrees of freedom
    double s, tx, ty, tz, ss, stx, sty, stz;
    x.getXformParams(&s, &tx, &ty, &tz);
    x.getXformParamsSE(&ss, &stx, &sty, &stz);
    EXPECT_LT(std::fabs(s - (1.0 + 12e-6)), 4 * ss);
    EXPECT_LT(std::fabs(tx - 80.0), 4 * stx);
}

// Too few points fail cleanly: result 1, every output 0.0, no solution in the class.
TEST(TooFewPoints, FailCleanly)
{
    std::vector<double> cp = controlPoints(3, typicalParams(), 0.01, 0.0, 5);
    for (int n : {2, 1, 0, -4}) {
        double v[9];
        for (double& x : v) x = 99.0;
        EXPECT_EQ(xform_3D_7Param(n, cp.data(), &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7],
                                  &v[8]),
                  1);
        for (double x : v) EXPECT_EQ(x, 0.0);
        CXform3D7Param seven(n, cp.data());
        EXPECT_EQ(seven.solutionFound(), 1);
        double r = 5.0;
        EXPECT_EQ(seven.getXformObservationResidual(0, &r), 1);
        EXPECT_EQ(r, 5.0);
        seven.getXformParams(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]);
        for (int k = 0; k < 7; ++k) EXPECT_EQ(v[k], 0.0);
        seven.getXformStats(&v[0], &v[1], &v[2]);
        EXPECT_EQ(v[0] + v[1] + v[2], 0.0);
    }
    for (int n : {1, 0, -1}) {
        double v[6];
        for (double& x : v) x = 99.0;
        EXPECT_EQ(xform_3D_4Param(n, cp.data(), &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]), 1);
        for (double x : v) EXPECT_EQ(x, 0.0);
        CXform3D4Param four(n, cp.data());
        EXPECT_EQ(four.solutionFound(), 1);
        double r;
        EXPECT_EQ(four.getXformObservationResidual(0, &r), 1);
        four.getXformParamsSE(&v[0], &v[1], &v[2], &v[3]);
        EXPECT_EQ(v[0], 0.0);
    }
    // Three points are enough for seven parameters (2 degrees of freedom), two for four.
    CXform3D7Param three(3, cp.data());
    EXPECT_EQ(three.solutionFound(), 0);
    CXform3D4Param two(2, cp.data());
    EXPECT_EQ(two.solutionFound(), 0);
}

// Control points that cannot fix the parameters keep result 0 but are flagged with NaN.
TEST(DegenerateSolve, FlaggedWithNaN)
{
    const Params7 truth = typicalParams();
    std::vector<std::vector<double>> bad;
    {   // every point the same
        std::vector<double> cp = controlPoints(5, truth, 0.01, 0.0, 1);
        for (int i = 1; i < 5; ++i) std::copy(cp.begin(), cp.begin() + 12, cp.begin() + 12 * i);
        bad.push_back(cp);
    }
    {   // standard deviations all zero
        std::vector<double> cp = controlPoints(5, truth, 0.0, 0.0, 1);
        bad.push_back(cp);
    }
    {   // a NaN coordinate
        std::vector<double> cp = controlPoints(5, truth, 0.01, 0.0, 1);
        cp[12 * 3 + 8] = std::nan("");
        bad.push_back(cp);
    }
    {   // all points on one line (enough for a scale and translations, not for rotations)
        std::vector<double> cp = controlPoints(5, truth, 0.01, 0.0, 1);
        for (int i = 0; i < 5; ++i) {
            for (int k = 0; k < 3; ++k) {
                cp[12 * i + 2 * k] = 1000.0 * (i + 1) * (k + 1);
                cp[12 * i + 6 + 2 * k] = 1000.0 * (i + 1) * (k + 1) + 50.0;
            }
        }
        bad.push_back(cp);
    }
    for (std::size_t c = 0; c < bad.size(); ++c) {
        SCOPED_TRACE(c);
        double s, tx, ty, tz, rx, ry, rz, var, rm;
        EXPECT_EQ(xform_3D_7Param(5, bad[c].data(), &s, &tx, &ty, &tz, &rx, &ry, &rz, &var, &rm), 0);
        EXPECT_TRUE(std::isnan(var) && std::isnan(rm) && std::isnan(s) && std::isnan(rz) && std::isnan(tz));
        CXform3D7Param x(5, bad[c].data());
        EXPECT_EQ(x.solutionFound(), 0);
        double sigma0;
        x.getXformStats(&rm, &var, &sigma0);
        EXPECT_TRUE(std::isnan(var) && std::isnan(rm) && std::isnan(sigma0));
        double r;
        EXPECT_EQ(x.getXformObservationResidual(0, &r), 1);
        double X, Y, Z;
        x.xform3D_Pt(1.0, 2.0, 3.0, &X, &Y, &Z);
        EXPECT_TRUE(std::isnan(X));

        if (c == 3) continue;
        EXPECT_EQ(xform_3D_4Param(5, bad[c].data(), &s, &tx, &ty, &tz, &var, &rm), 0);
        EXPECT_TRUE(std::isnan(var) && std::isnan(s));
    }
    // Four parameters: first two points with equal x make the initial system singular.
    std::vector<double> cp = controlPoints(4, truth, 0.01, 0.0, 1);
    cp[12] = cp[0];
    double s, tx, ty, tz, var, rm;
    EXPECT_EQ(xform_3D_4Param(4, cp.data(), &s, &tx, &ty, &tz, &var, &rm), 0);
    EXPECT_TRUE(std::isnan(s) && std::isnan(var));
    EXPECT_EQ(xform_3D_4Param(4, nullptr, &s, &tx, &ty, &tz, &var, &rm), 0);
    EXPECT_TRUE(std::isnan(s));
}

// Absurd but finite input ends within the iteration limit and never crashes.
TEST(DegenerateSolve, GarbageInputIsBounded)
{
    std::mt19937 rng(4);
    std::uniform_real_distribution<double> any(-1e300, 1e300);
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<double> cp(12 * 6);
        for (double& v : cp) v = any(rng);
        double o[9];
        EXPECT_EQ(xform_3D_7Param(6, cp.data(), &o[0], &o[1], &o[2], &o[3], &o[4], &o[5], &o[6], &o[7],
                                  &o[8]),
                  0);
        EXPECT_EQ(xform_3D_4Param(6, cp.data(), &o[0], &o[1], &o[2], &o[3], &o[4], &o[5]), 0);
        CXform3D7Param x(6, cp.data());
        CXform3D4Param y(6, cp.data());
    }
}

// Copies own their residual vectors: destroying or reassigning one never touches the
// other (run under the address sanitizer).
TEST(ClassCopies, AreDeepAndIndependent)
{
    std::vector<double> cp = controlPoints(8, typicalParams(), 0.02, 0.02, 8);
    std::vector<double> few = controlPoints(2, typicalParams(), 0.02, 0.02, 8);
    double r0 = 0.0;
    double r = 0.0;
    {
        auto* original = new CXform3D7Param(8, cp.data());
        ASSERT_EQ(original->getXformObservationResidual(5, &r0), 0);
        CXform3D7Param copy(*original);
        CXform3D7Param assigned(2, few.data()); // unsolved, then given a solution
        assigned = *original;
        delete original;
        EXPECT_EQ(copy.getXformObservationResidual(5, &r), 0);
        EXPECT_EQ(r, r0);
        EXPECT_EQ(assigned.getXformObservationResidual(5, &r), 0);
        EXPECT_EQ(r, r0);
        assigned = assigned; // self-assignment keeps the vector
        EXPECT_EQ(assigned.getXformObservationResidual(23, &r), 0);
        CXform3D7Param unsolved(2, few.data());
        copy = unsolved; // a solved object takes on "no solution"
        EXPECT_EQ(copy.solutionFound(), 1);
        EXPECT_EQ(copy.getXformObservationResidual(5, &r), 1);
        std::vector<CXform3D7Param> many(3, assigned);
        many.push_back(many[0]);
        EXPECT_EQ(many[3].getXformObservationResidual(5, &r), 0);
        EXPECT_EQ(r, r0);
    }
    {
        CXform3D4Param a(8, cp.data());
        CXform3D4Param b(a);
        CXform3D4Param c(1, few.data());
        c = b;
        b = CXform3D4Param(1, few.data());
        EXPECT_EQ(b.getXformObservationResidual(0, &r), 1);
        EXPECT_EQ(c.getXformObservationResidual(0, &r), 0);
        double ra;
        a.getXformObservationResidual(0, &ra);
        EXPECT_EQ(r, ra);
    }
}
