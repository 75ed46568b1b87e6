// Seven-parameter similarity transformation: solution from control points and
// application to points.
#include "transform3d/seven_param.h"

#include <cmath>
#include <limits>

#include "core/math_constants.h"
#include "kelvane/transform3d.h"

namespace kelvane::transform3d {

namespace {

// Angle in [0, 2pi) from estimates u of its cosine and v of its sine, taken from the
// cosine alone and placed in the quadrant that the signs give; |u| >= 1 gives 0 or pi.
double quadrantAngle(double u, double v)
{
    const double pi = kelvane::pi();
    const double au = std::fabs(u);
    if (v >= 0.0) {
        if (u >= 0.0) return u >= 1.0 ? 0.0 : std::acos(u);
        return au >= 1.0 ? pi : pi - std::acos(au);
    }
    if (u >= 0.0) return au >= 1.0 ? 0.0 : 2.0 * pi - std::acos(au);
    return au >= 1.0 ? pi : pi + std::acos(au);
}

double distance(const double p[3], const double q[3])
{
    const double dx = p[0] - q[0];
    const double dy = p[1] - q[1];
    const double dz = p[2] - q[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Initial values from the first three points: the scale from the distance of points 1
// and 2 in both systems; b = 0; then c and tx from the X equations, a and ty from the Y
// equations (each a 3 x 3 linear system in cos, sin and the translation), and tz from the
// Z equation of point 1.
bool initialXform7Param(const double* points, double* p)
{
    const ControlPoint cp[3] = {controlPoint(points, 0), controlPoint(points, 1),
                                controlPoint(points, 2)};
    const double s = distance(cp[0].target, cp[1].target) / distance(cp[0].source, cp[1].source);

    double rows[9];
    double rhs[3];
    double uvt[3];
    for (int i = 0; i < 3; ++i) {
        rows[3 * i] = s * cp[i].source[0];
        rows[3 * i + 1] = -s * cp[i].source[1];
        rows[3 * i + 2] = 1.0;
        rhs[i] = cp[i].target[0];
    }
    if (!solveSmallSystem(3, rows, rhs, uvt)) return false;
    const double c = quadrantAngle(uvt[0], uvt[1]);
    const double tx = uvt[2];

    for (int i = 0; i < 3; ++i) {
        const double* q = cp[i].source;
        rows[3 * i] = s * (q[0] * std::sin(c) + q[1] * std::cos(c));
        rows[3 * i + 1] = -s * q[2];
        rows[3 * i + 2] = 1.0;
        rhs[i] = cp[i].target[1];
    }
    if (!solveSmallSystem(3, rows, rhs, uvt)) return false;
    const double a = quadrantAngle(uvt[0], uvt[1]);
    const double ty = uvt[2];

    const double* q = cp[0].source;
    const double tz = cp[0].target[2] - s * (std::sin(a) * std::sin(c) * q[0] +
                                             std::sin(a) * std::cos(c) * q[1] + std::cos(a) * q[2]);
    const double init[kSevenParams] = {s, a, 0.0, c, tx, ty, tz};
    for (int k = 0; k < kSevenParams; ++k) {
        if (!std::isfinite(init[k])) return false;
        p[k] = init[k];
    }
    return true;
}

// Conditions of one point: w = target - (s R source + t), A by (s, a, b, c, tx, ty, tz).
void lineariseSeven(const double* p, const ControlPoint& cp, Linearisation& lin)
{
    const double s = p[0];
    const double a = p[1];
    const double b = p[2];
    const double c = p[3];
    const double sa = std::sin(a), ca = std::cos(a);
    const double sb = std::sin(b), cb = std::cos(b);
    const double sc = std::sin(c), cc = std::cos(c);
    const double x = cp.source[0];
    const double y = cp.source[1];
    const double z = cp.source[2];
    double R[9];
    rotationMatrix(a, b, c, R);
    double Rp[3];
    for (int j = 0; j < 3; ++j) Rp[j] = R[3 * j] * x + R[3 * j + 1] * y + R[3 * j + 2] * z;

    const double dRpdb[3] = {-sb * cc * x + sb * sc * y + cb * z,
                             sa * cb * cc * x - sa * cb * sc * y + sa * sb * z,
                             -ca * cb * cc * x + ca * cb * sc * y - ca * sb * z};
    const double dRpda[3] = {0.0, -Rp[2], Rp[1]};
    for (int j = 0; j < 3; ++j) {
        double* row = lin.A + kSevenParams * j;
        row[0] = Rp[j];
        row[1] = s * dRpda[j];
        row[2] = s * dRpdb[j];
        row[3] = s * (x * R[3 * j + 1] - y * R[3 * j]);
        for (int k = 0; k < 3; ++k) row[4 + k] = (j == k) ? 1.0 : 0.0;
        lin.w[j] = cp.target[j] - (s * Rp[j] + p[4 + j]);
        for (int k = 0; k < 3; ++k) lin.J[3 * j + k] = s * R[3 * j + k];
    }
}

// Convergence: 1e-6 for the scale and the angles (rad), 1e-5 for the translations.
constexpr double kSevenTolerances[kSevenParams] = {1e-6, 1e-6, 1e-6, 1e-6, 1e-5, 1e-5, 1e-5};

} // namespace

const SimilarityModel kSevenParamModel = {kSevenParams, 3, kSevenTolerances, initialXform7Param,
                                          lineariseSeven};

void rotationMatrix(double a, double b, double c, double R[9])
{
    const double sa = std::sin(a), ca = std::cos(a);
    const double sb = std::sin(b), cb = std::cos(b);
    const double sc = std::sin(c), cc = std::cos(c);
    R[0] = cb * cc;
    R[1] = -cb * sc;
    R[2] = sb;
    R[3] = sc * ca + cc * sb * sa;
    R[4] = cc * ca - sc * sb * sa;
    R[5] = -sa * cb;
    R[6] = sc * sa - cc * sb * ca;
    R[7] = cc * sa + sc * sb * ca;
    R[8] = ca * cb;
}

void applySeven(double s, double a, double b, double c, const double t[3], const double p[3],
                double out[3])
{
    double R[9];
    rotationMatrix(a, b, c, R);
    for (int j = 0; j < 3; ++j) {
        out[j] = s * (R[3 * j] * p[0] + R[3 * j + 1] * p[1] + R[3 * j + 2] * p[2]) + t[j];
    }
}

} // namespace kelvane::transform3d

using namespace kelvane::transform3d;

int xform_3D_7Param(int numPoints, double* points, double* scale, double* tx, double* ty,
                    double* tz, double* rx, double* ry, double* rz, double* variance,
                    double* residualMeasure)
{
    if (anyNull({scale, tx, ty, tz, rx, ry, rz, variance, residualMeasure})) return 1;
    setAll({scale, tx, ty, tz, rx, ry, rz, variance, residualMeasure}, 0.0);
    if (numPoints < 3) return 1;
    Adjustment adj;
    if (!solveSimilarity(kSevenParamModel, numPoints, points, adj)) {
        setAll({scale, tx, ty, tz, rx, ry, rz, variance, residualMeasure},
               std::numeric_limits<double>::quiet_NaN());
        return 0;
    }
    const std::vector<double>& p = adj.params;
    *scale = p[0];
    *tx = p[4];
    *ty = p[5];
    *tz = p[6];
    *rx = -p[1];
    *ry = -p[2];
    *rz = -p[3];
    *variance = adj.variance;
    *residualMeasure = adj.residualMeasure;
    return 0;
}

int xform3D_Pt(double scale, double rx, double ry, double rz, double tx, double ty, double tz,
               double x, double y, double z, double* X, double* Y, double* Z)
{
    if (anyNull({X, Y, Z})) return 1;
    const double t[3] = {tx, ty, tz};
    const double p[3] = {x, y, z};
    double out[3];
    applySeven(scale, -rx, -ry, -rz, t, p, out);
    *X = out[0];
    *Y = out[1];
    *Z = out[2];
    return 0;
}

int xform3D_PtAlt(double scale, double rx, double ry, double rz, double tx, double ty, double tz,
                  double x, double y, double z, double* X, double* Y, double* Z)
{
    // The translation joins the source point before the rotation and the scale. The
    // rotation is that of xform3D_Pt: the inverse of the product of frame rotations
    // R3(-rz) R2(-ry) R1(-rx) is exactly R1(rx) R2(ry) R3(rz), so it is built directly.
    return xform3D_Pt(scale, rx, ry, rz, 0.0, 0.0, 0.0, x + tx, y + ty, z + tz, X, Y, Z);
}
