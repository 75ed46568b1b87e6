/* Four- and seven-parameter 3D similarity transformations (C++ classes and C functions).
 *
 * The solvers estimate the parameters from n control points known in two Cartesian
 * systems, by iterated least squares in which the coordinates of both systems are
 * observations with their own standard deviations (condition equations with observations
 * on both sides). Control-point array: n rows of 12 doubles, row i at index 12*i:
 *     x, sx, y, sy, z, sz, X, sX, Y, sY, Z, sZ
 * source coordinates and their standard deviations, then the target's. Coordinates are in
 * one length unit (the translations come out in it); standard deviations are in the same
 * unit and positive.
 *
 * Models:
 *   four parameters   (X, Y, Z) = s (x, y, z) + (tx, ty, tz)
 *   seven parameters  (X, Y, Z) = s R (x, y, z) + (tx, ty, tz), R = R1(rx) R2(ry) R3(rz)
 * The scale s is a plain factor (1 + ppm * 1e-6), not parts per million. R1, R2, R3 are
 * frame rotations (coordinate-frame convention): for small angles R has the rows
 * (1, rz, -ry), (-rz, 1, rx), (ry, -rx, 1), so a positive rz turns the point set
 * clockwise about Z seen from +Z. Angles are radians. A parameter set published in the
 * position-vector convention is given here with all three angles negated.
 *
 * Internally the solver works with a = -rx, b = -ry, c = -rz and R = Rx(a) Ry(b) Rz(c)
 * of ordinary (counter-clockwise) rotations; it reports rx, ry, rz. The angles are not
 * reduced to a standard range: the initial values lie in [0, 2pi), so data made with a
 * small positive rz usually give back rz - 2pi (the same rotation); the same can happen
 * to rx, never to ry.
 *
 * Iteration: at most 10 passes; converged when every increment is strictly below its
 * tolerance (four parameters: 1e-6 scale, 1e-4 translations; seven parameters: 1e-6
 * scale and angles (rad), 1e-5 translations). Non-convergence is not reported: the last
 * pass is returned.
 *
 * Statistics: r = A dx - w, the residuals of the 3n condition equations of the last
 * pass; Omega = r^T M^-1 r with M = B Q B^T; sigma0 = sqrt(Omega / (3n - u)) (u = 4 or 7);
 * variance = sigma0^2; residual measure = 3 sqrt(sum r^2) / n (not a root mean square).
 *
 * Too few points (n < 2, resp. n < 3): result 1 and every output 0.0.
 *
 * Degenerate solves are FLAGGED WITH NaN: when the control points cannot determine the
 * parameters -- a singular system (coincident or collinear points, an initial triple
 * that fixes no rotation, first two points with equal x for four parameters, zero
 * standard deviations on both sides), a non-finite value in the array, or a result
 * that is not finite -- the result is still 0 (enough points were given), but every
 * parameter, the variance and the residual measure are NaN (quiet NaN), never numbers
 * without meaning. Test with isnan(variance). A null control-point array counts as
 * degenerate.
 *
 * Null output pointers: every function and accessor refuses them with result 1 and
 * writes nothing.
 */
#ifndef KELVANE_TRANSFORM3D_H
#define KELVANE_TRANSFORM3D_H

#include "kelvane/core.h"

KELVANE_C_BEGIN

/* Seven-parameter solution from numPoints >= 3 control points. Outputs in the order
 * scale, translations, rotations (the point functions take scale, rotations,
 * translations). Result 1 when numPoints < 3, otherwise 0. */
KELVANE_API int xform_3D_7Param(int numPoints, double* points, double* scale, double* tx,
                                double* ty, double* tz, double* rx, double* ry, double* rz,
                                double* variance, double* residualMeasure);

/* (X, Y, Z) = scale R (x, y, z) + (tx, ty, tz). Returns 0. */
KELVANE_API int xform3D_Pt(double scale, double rx, double ry, double rz, double tx, double ty,
                           double tz, double x, double y, double z, double* X, double* Y,
                           double* Z);

/* (X, Y, Z) = scale R ((x, y, z) + (tx, ty, tz)): the translation is added to the source
 * point before the rotation and scale. Returns 0. */
KELVANE_API int xform3D_PtAlt(double scale, double rx, double ry, double rz, double tx,
                              double ty, double tz, double x, double y, double z, double* X,
                              double* Y, double* Z);

/* Four-parameter solution from numPoints >= 2 control points. Result 1 when
 * numPoints < 2, otherwise 0. */
KELVANE_API int xform_3D_4Param(int numPoints, double* points, double* scale, double* tx,
                                double* ty, double* tz, double* variance,
                                double* residualMeasure);

/* X = scale x + tx, Y = scale y + ty, Z = scale z + tz. Returns 0. */
KELVANE_API int xform3D4Parm_Pt(double scale, double tx, double ty, double tz, double x, double y,
                                double z, double* X, double* Y, double* Z);

KELVANE_C_END

#ifdef __cplusplus

class Matrix;

/* The classes solve once, in the constructor, and answer afterwards.
 *
 * Copies: the copy constructor and assignment are deep. A copy gets its own residual
 * vector holding the same values, so every object owns exactly one vector (or none) and
 * destroys only its own; assignment releases the target's previous vector.
 *
 * Without a solution (too few points) solutionFound() returns 1, the parameters,
 * standard errors and statistics read 0.0, and getXformObservationResidual returns 1.
 * A degenerate solve (see above) keeps status 0, but its parameters, standard errors
 * and statistics read NaN and it holds no residual vector (getXformObservationResidual
 * returns 1). */
class KELVANE_API CXform3D4Param {
public:
    CXform3D4Param(int numPoints, double* points);
    CXform3D4Param(const CXform3D4Param& other);
    CXform3D4Param& operator=(const CXform3D4Param& other);
    virtual ~CXform3D4Param();

    int getXformParams(double* scale, double* tx, double* ty, double* tz) const;
    int getXformParamsSE(double* seScale, double* seTx, double* seTy, double* seTz) const;
    int getXformStats(double* residualMeasure, double* variance, double* sigma0) const;
    /* value = residual of condition equation index (0 ... 3n-1; 3i+k is coordinate k of
     * point i); 1 for an index outside that range or without residuals. */
    int getXformObservationResidual(int index, double* value) const;
    /* From the arguments alone, as xform3D4Parm_Pt; the object's parameters are not used. */
    int xform3D4_Pt(double scale, double tx, double ty, double tz, double x, double y, double z,
                    double* X, double* Y, double* Z) const;
    /* 0 after a solution, 1 when too few points were given. */
    int solutionFound() const;

private:
    int computeXform(double* points);

    int numPoints;
    int numParams;
    int numObservations; /* 6n, set by a solution */
    int status;
    double variance;
    double residualMeasure;
    double sigma0;
    double aprioriSigma;
    double scale, tx, ty, tz;
    double seScale, seTx, seTy, seTz;
    Matrix* residuals; /* 3n x 1, owned; null without a solution */

    friend struct Xform3DAccess;
};

class KELVANE_API CXform3D7Param {
public:
    CXform3D7Param(int numPoints, double* points);
    CXform3D7Param(const CXform3D7Param& other);
    CXform3D7Param& operator=(const CXform3D7Param& other);
    virtual ~CXform3D7Param();

    /* scale, rx, ry, rz (the negated internal angles), tx, ty, tz: the order of xform3D_Pt. */
    int getXformParams(double* scale, double* rx, double* ry, double* rz, double* tx, double* ty,
                       double* tz) const;
    /* Standard errors in the same order (not negated). */
    int getXformParamsSE(double* seScale, double* seRx, double* seRy, double* seRz, double* seTx,
                         double* seTy, double* seTz) const;
    int getXformStats(double* residualMeasure, double* variance, double* sigma0) const;
    int getXformObservationResidual(int index, double* value) const;
    /* From the arguments alone, as the free xform3D_Pt. */
    int xform3D4_Pt(double scale, double rx, double ry, double rz, double tx, double ty, double tz,
                    double x, double y, double z, double* X, double* Y, double* Z) const;
    /* Applies the object's own solution. */
    int xform3D_Pt(double x, double y, double z, double* X, double* Y, double* Z) const;
    int solutionFound() const;

private:
    int computeXform(int numPoints, double* points);

    int numPoints;
    int numParams;
    int numObservations;
    int status;
    double variance;
    double residualMeasure;
    double sigma0;
    double aprioriSigma;
    double scale, tx, ty, tz;
    double internalRotX, internalRotY, internalRotZ; /* a, b, c: the negated reported angles */
    double seScale, seTx, seTy, seTz, seRotX, seRotY, seRotZ;
    Matrix* residuals;

    friend struct Xform3DAccess;
};

/* The objects' layout: a table pointer, four ints, the doubles in declaration order and
 * the residual pointer. */
static_assert(sizeof(void*) != 8 || sizeof(CXform3D4Param) == 128, "CXform3D4Param layout");
static_assert(sizeof(void*) != 8 || sizeof(CXform3D7Param) == 176, "CXform3D7Param layout");

#endif /* __cplusplus */

#endif /* KELVANE_TRANSFORM3D_H */
