// Four-parameter transformation (scale and three translations): solution from control
// points and application to points.
#include "transform3d/four_param.h"

#include <limits>

#include "kelvane/transform3d.h"

namespace kelvane::transform3d {

namespace {

// Initial values from the first two points: the 4 x 4 system of the X, Y, Z equations of
// point 1 and the X equation of point 2, so s = (X1 - X2) / (x1 - x2) and t = T1 - s S1.
bool initialXform4Param(const double* points, double* p)
{
    const ControlPoint p1 = controlPoint(points, 0);
    const ControlPoint p2 = controlPoint(points, 1);
    const double rows[16] = {p1.source[0], 1.0, 0.0, 0.0, //
                             p1.source[1], 0.0, 1.0, 0.0, //
                             p1.source[2], 0.0, 0.0, 1.0, //
                             p2.source[0], 1.0, 0.0, 0.0};
    const double rhs[4] = {p1.target[0], p1.target[1], p1.target[2], p2.target[0]};
    return solveSmallSystem(kFourParams, rows, rhs, p);
}

// Conditions of one point: w = target - (s source + t), A by (s, tx, ty, tz).
void lineariseFour(const double* p, const ControlPoint& cp, Linearisation& lin)
{
    const double s = p[0];
    for (int j = 0; j < 3; ++j) {
        double* row = lin.A + kFourParams * j;
        row[0] = cp.source[j];
        for (int k = 0; k < 3; ++k) {
            row[1 + k] = (j == k) ? 1.0 : 0.0;
            lin.J[3 * j + k] = (j == k) ? s : 0.0;
        }
        lin.w[j] = cp.target[j] - (s * cp.source[j] + p[1 + j]);
    }
}

// Convergence: 1e-6 for the scale, 1e-4 for the translations.
constexpr double kFourTolerances[kFourParams] = {1e-6, 1e-4, 1e-4, 1e-4};

} // namespace

const SimilarityModel kFourParamModel = {kFourParams, 2, kFourTolerances, initialXform4Param,
                                         lineariseFour};

} // namespace kelvane::transform3d

using namespace kelvane::transform3d;

int xform_3D_4Param(int numPoints, double* points, double* scale, double* tx, double* ty,
                    double* tz, double* variance, double* residualMeasure)
{
    if (anyNull({scale, tx, ty, tz, variance, residualMeasure})) return 1;
    setAll({scale, tx, ty, tz, variance, residualMeasure}, 0.0);
    if (numPoints < 2) return 1;
    Adjustment adj;
    if (!solveSimilarity(kFourParamModel, numPoints, points, adj)) {
        setAll({scale, tx, ty, tz, variance, residualMeasure},
               std::numeric_limits<double>::quiet_NaN());
        return 0;
    }
    *scale = adj.params[0];
    *tx = adj.params[1];
    *ty = adj.params[2];
    *tz = adj.params[3];
    *variance = adj.variance;
    *residualMeasure = adj.residualMeasure;
    return 0;
}

int xform3D4Parm_Pt(double scale, double tx, double ty, double tz, double x, double y, double z,
                    double* X, double* Y, double* Z)
{
    if (anyNull({X, Y, Z})) return 1;
    *X = scale * x + tx;
    *Y = scale * y + ty;
    *Z = scale * z + tz;
    return 0;
}
