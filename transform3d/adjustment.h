// Least-squares adjustment of a similarity transformation between two sets of control
// points, both observed with standard deviations (condition equations with observations
// on both sides, the Gauss-Helmert model), shared by the four- and seven-parameter forms.
#ifndef KELVANE_TRANSFORM3D_ADJUSTMENT_H
#define KELVANE_TRANSFORM3D_ADJUSTMENT_H

#include <initializer_list>
#include <memory>
#include <vector>

#include "kelvane/matrix.h"

namespace kelvane::transform3d {

// Doubles per control point: x, sx, y, sy, z, sz (source), X, sX, Y, sY, Z, sZ (target).
constexpr int kValuesPerPoint = 12;
// At most 10 iterations; a solution that has not converged by then is returned as it is.
constexpr int kMaxIterations = 10;

// The source and target coordinates of control point i.
struct ControlPoint {
    double source[3];
    double target[3];
    double sourceSigma[3];
    double targetSigma[3];
};
ControlPoint controlPoint(const double* points, int i);

// The condition equations of one control point at parameters p, target - model = 0:
//  w        misclosure, target minus the model applied to the source point (3);
//  A        derivatives of the model by the parameters, 3 rows of numParams, row-major;
//  J        derivatives of the model by the source coordinates (3 x 3, row-major); by the
//           target coordinates the derivative is -1.
struct Linearisation {
    double w[3];
    double A[3 * 7];
    double J[9];
};

struct SimilarityModel {
    int numParams;
    int minPoints;
    // Convergence: every |increment k| strictly below tolerances[k].
    const double* tolerances;
    // Initial values from the first minPoints points; false when they cannot be formed.
    bool (*initialValues)(const double* points, double* p);
    void (*linearise)(const double* p, const ControlPoint& cp, Linearisation& lin);
};

// What an adjustment leaves behind.
struct Adjustment {
    std::vector<double> params;         // in: initial values; out: the solution
    std::vector<double> standardErrors; // sigma0 * sqrt of the diagonal of the inverted normals
    double variance = 0.0;              // sigma0^2
    double sigma0 = 0.0;                // sqrt(Omega / (3n - numParams))
    double residualMeasure = 0.0;       // 3 * sqrt(sum of r^2) / n (not a root mean square)
    std::unique_ptr<Matrix> residuals;  // r = A dx - w of the last iteration, 3n x 1
    bool degenerate = false;            // a singular system or a non-finite value
    bool converged = false;
    int iterations = 0;
};

// The initial values, then the adjustment, from n >= model.minPoints control points.
// Returns false, with adj.degenerate set and no residual vector, when the input holds a
// non-finite value, a system is singular, storage is not available, or any result is
// not finite.
bool solveSimilarity(const SimilarityModel& model, int n, const double* points, Adjustment& adj);

// Solves the square system rows * x = rhs (size k, rows row-major) with matrixInverse and
// matrixMultiply; false when it is singular or the solution is not finite.
bool solveSmallSystem(int k, const double* rows, const double* rhs, double* x);

// Writes v through every output pointer (the outputs of a failed or degenerate solve).
void setAll(std::initializer_list<double*> outputs, double v);

// True when any of the output pointers is null (such a call is refused, writing nothing).
bool anyNull(std::initializer_list<double*> outputs);

// True when n is a point count whose arrays can be indexed (12n fits an int).
bool countIsIndexable(int n);

} // namespace kelvane::transform3d

#endif
