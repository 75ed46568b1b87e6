// The classes that solve a four- or seven-parameter transformation once and keep the
// solution, its standard errors, its statistics and the residual vector.
#include <cmath>
#include <cstddef>
#include <limits>
#include <new>

#include "kelvane/transform3d.h"
#include "transform3d/four_param.h"
#include "transform3d/seven_param.h"

// Shared by the two classes, which have no common base: the fields they have in common
// carry the same names.
struct Xform3DAccess {
    // Parameters, standard errors and statistics of an object without a solution.
    template <class X>
    static void clearCommon(X& o)
    {
        o.variance = o.residualMeasure = o.sigma0 = 0.0;
        o.scale = o.tx = o.ty = o.tz = 0.0;
        o.seScale = o.seTx = o.seTy = o.seTz = 0.0;
    }

    // The statistics of an adjustment (NaN throughout for a degenerate one).
    template <class X>
    static void storeStatistics(X& o, const kelvane::transform3d::Adjustment& adj)
    {
        o.variance = adj.variance;
        o.sigma0 = adj.sigma0;
        o.residualMeasure = adj.residualMeasure;
    }

    // Every field but the residual vector, which copyResiduals duplicates.
    template <class X>
    static void copyCommon(X& to, const X& from)
    {
        to.numPoints = from.numPoints;
        to.numParams = from.numParams;
        to.numObservations = from.numObservations;
        to.status = from.status;
        to.variance = from.variance;
        to.residualMeasure = from.residualMeasure;
        to.sigma0 = from.sigma0;
        to.aprioriSigma = from.aprioriSigma;
        to.scale = from.scale;
        to.tx = from.tx;
        to.ty = from.ty;
        to.tz = from.tz;
        to.seScale = from.seScale;
        to.seTx = from.seTx;
        to.seTy = from.seTy;
        to.seTz = from.seTz;
    }

    // to's own copy of from's residual vector; to's previous vector is released.
    template <class X>
    static void copyResiduals(X& to, const X& from)
    {
        Matrix* copy = from.residuals ? new (std::nothrow) Matrix(*from.residuals) : nullptr;
        delete to.residuals;
        to.residuals = copy;
    }

    template <class X>
    static int observationResidual(const X& o, int index, double* value)
    {
        if (!value || !o.residuals || index < 0) return 1;
        int rows = 0;
        int cols = 0;
        o.residuals->size(&rows, &cols);
        if (index >= rows || cols < 1) return 1;
        *value = o.residuals->element(index, 0);
        return 0;
    }

    template <class X>
    static int stats(const X& o, double* residualMeasure, double* variance, double* sigma0)
    {
        if (kelvane::transform3d::anyNull({residualMeasure, variance, sigma0})) return 1;
        *residualMeasure = o.residualMeasure;
        *variance = o.variance;
        *sigma0 = o.sigma0;
        return 0;
    }

    // The fields lie in the documented order after the table pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    static_assert(sizeof(void*) != 8 ||
                      (offsetof(CXform3D4Param, numPoints) == 8 &&
                       offsetof(CXform3D4Param, status) == 20 &&
                       offsetof(CXform3D4Param, variance) == 24 &&
                       offsetof(CXform3D4Param, aprioriSigma) == 48 &&
                       offsetof(CXform3D4Param, scale) == 56 && offsetof(CXform3D4Param, seScale) == 88 &&
                       offsetof(CXform3D4Param, residuals) == 120),
                  "CXform3D4Param field offsets");
    static_assert(sizeof(void*) != 8 ||
                      (offsetof(CXform3D7Param, numPoints) == 8 &&
                       offsetof(CXform3D7Param, status) == 20 &&
                       offsetof(CXform3D7Param, variance) == 24 &&
                       offsetof(CXform3D7Param, scale) == 56 &&
                       offsetof(CXform3D7Param, internalRotX) == 88 &&
                       offsetof(CXform3D7Param, seScale) == 112 &&
                       offsetof(CXform3D7Param, seRotZ) == 160 &&
                       offsetof(CXform3D7Param, residuals) == 168),
                  "CXform3D7Param field offsets");
#pragma GCC diagnostic pop
};

using kelvane::transform3d::Adjustment;
using kelvane::transform3d::anyNull;
using kelvane::transform3d::solveSimilarity;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// 6n observations, when n can be counted at all.
int observationCount(int n)
{
    return kelvane::transform3d::countIsIndexable(n) ? 6 * n : 0;
}

} // namespace

// ---- four parameters ----------------------------------------------------------------

CXform3D4Param::CXform3D4Param(int numPoints, double* points)
    : numPoints(numPoints), numParams(kelvane::transform3d::kFourParams), numObservations(0),
      status(1), aprioriSigma(1.0), residuals(nullptr)
{
    Xform3DAccess::clearCommon(*this);
    status = computeXform(points);
}

CXform3D4Param::CXform3D4Param(const CXform3D4Param& other) : residuals(nullptr)
{
    *this = other;
}

CXform3D4Param& CXform3D4Param::operator=(const CXform3D4Param& other)
{
    if (this != &other) {
        Xform3DAccess::copyCommon(*this, other);
        Xform3DAccess::copyResiduals(*this, other);
    }
    return *this;
}

CXform3D4Param::~CXform3D4Param()
{
    delete residuals;
}

int CXform3D4Param::computeXform(double* points)
{
    Xform3DAccess::clearCommon(*this);
    if (numPoints < 2) return 1;
    numObservations = observationCount(numPoints);
    numParams = kelvane::transform3d::kFourParams;
    aprioriSigma = 1.0;

    Adjustment adj;
    if (!solveSimilarity(kelvane::transform3d::kFourParamModel, numPoints, points, adj)) {
        variance = residualMeasure = sigma0 = kNaN;
        scale = tx = ty = tz = kNaN;
        seScale = seTx = seTy = seTz = kNaN;
        return 0;
    }
    Xform3DAccess::storeStatistics(*this, adj);
    scale = adj.params[0];
    tx = adj.params[1];
    ty = adj.params[2];
    tz = adj.params[3];
    seScale = adj.standardErrors[0];
    seTx = adj.standardErrors[1];
    seTy = adj.standardErrors[2];
    seTz = adj.standardErrors[3];
    residuals = adj.residuals.release();
    return 0;
}

int CXform3D4Param::getXformParams(double* scale_, double* tx_, double* ty_, double* tz_) const
{
    if (anyNull({scale_, tx_, ty_, tz_})) return 1;
    *scale_ = scale;
    *tx_ = tx;
    *ty_ = ty;
    *tz_ = tz;
    return 0;
}

int CXform3D4Param::getXformParamsSE(double* seScale_, double* seTx_, double* seTy_,
                                     double* seTz_) const
{
    if (anyNull({seScale_, seTx_, seTy_, seTz_})) return 1;
    *seScale_ = seScale;
    *seTx_ = seTx;
    *seTy_ = seTy;
    *seTz_ = seTz;
    return 0;
}

int CXform3D4Param::getXformStats(double* residualMeasure_, double* variance_, double* sigma0_) const
{
    return Xform3DAccess::stats(*this, residualMeasure_, variance_, sigma0_);
}

int CXform3D4Param::getXformObservationResidual(int index, double* value) const
{
    return Xform3DAccess::observationResidual(*this, index, value);
}

int CXform3D4Param::xform3D4_Pt(double scale_, double tx_, double ty_, double tz_, double x,
                                double y, double z, double* X, double* Y, double* Z) const
{
    return xform3D4Parm_Pt(scale_, tx_, ty_, tz_, x, y, z, X, Y, Z);
}

int CXform3D4Param::solutionFound() const
{
    return status;
}

// ---- seven parameters ---------------------------------------------------------------

CXform3D7Param::CXform3D7Param(int numPoints, double* points)
    : numPoints(numPoints), numParams(kelvane::transform3d::kSevenParams), numObservations(0),
      status(1), aprioriSigma(1.0), internalRotX(0.0), internalRotY(0.0), internalRotZ(0.0),
      seRotX(0.0), seRotY(0.0), seRotZ(0.0), residuals(nullptr)
{
    Xform3DAccess::clearCommon(*this);
    status = computeXform(numPoints, points);
}

CXform3D7Param::CXform3D7Param(const CXform3D7Param& other) : residuals(nullptr)
{
    *this = other;
}

CXform3D7Param& CXform3D7Param::operator=(const CXform3D7Param& other)
{
    if (this != &other) {
        Xform3DAccess::copyCommon(*this, other);
        internalRotX = other.internalRotX;
        internalRotY = other.internalRotY;
        internalRotZ = other.internalRotZ;
        seRotX = other.seRotX;
        seRotY = other.seRotY;
        seRotZ = other.seRotZ;
        Xform3DAccess::copyResiduals(*this, other);
    }
    return *this;
}

CXform3D7Param::~CXform3D7Param()
{
    delete residuals;
}

int CXform3D7Param::computeXform(int numPoints_, double* points)
{
    numPoints = numPoints_;
    Xform3DAccess::clearCommon(*this);
    internalRotX = internalRotY = internalRotZ = 0.0;
    seRotX = seRotY = seRotZ = 0.0;
    if (numPoints < 3) return 1;
    numObservations = observationCount(numPoints);
    numParams = kelvane::transform3d::kSevenParams;
    aprioriSigma = 1.0;

    Adjustment adj;
    if (!solveSimilarity(kelvane::transform3d::kSevenParamModel, numPoints, points, adj)) {
        variance = residualMeasure = sigma0 = kNaN;
        scale = tx = ty = tz = kNaN;
        internalRotX = internalRotY = internalRotZ = kNaN;
        seScale = seTx = seTy = seTz = seRotX = seRotY = seRotZ = kNaN;
        return 0;
    }
    Xform3DAccess::storeStatistics(*this, adj);
    const std::vector<double>& p = adj.params;
    const std::vector<double>& se = adj.standardErrors;
    scale = p[0];
    internalRotX = p[1];
    internalRotY = p[2];
    internalRotZ = p[3];
    tx = p[4];
    ty = p[5];
    tz = p[6];
    seScale = se[0];
    seRotX = se[1];
    seRotY = se[2];
    seRotZ = se[3];
    seTx = se[4];
    seTy = se[5];
    seTz = se[6];
    residuals = adj.residuals.release();
    return 0;
}

int CXform3D7Param::getXformParams(double* scale_, double* rx, double* ry, double* rz, double* tx_,
                                   double* ty_, double* tz_) const
{
    if (anyNull({scale_, rx, ry, rz, tx_, ty_, tz_})) return 1;
    *scale_ = scale;
    *rx = -internalRotX;
    *ry = -internalRotY;
    *rz = -internalRotZ;
    *tx_ = tx;
    *ty_ = ty;
    *tz_ = tz;
    return 0;
}

int CXform3D7Param::getXformParamsSE(double* seScale_, double* seRx, double* seRy, double* seRz,
                                     double* seTx_, double* seTy_, double* seTz_) const
{
    if (anyNull({seScale_, seRx, seRy, seRz, seTx_, seTy_, seTz_})) return 1;
    *seScale_ = seScale;
    *seRx = seRotX;
    *seRy = seRotY;
    *seRz = seRotZ;
    *seTx_ = seTx;
    *seTy_ = seTy;
    *seTz_ = seTz;
    return 0;
}

int CXform3D7Param::getXformStats(double* residualMeasure_, double* variance_, double* sigma0_) const
{
    return Xform3DAccess::stats(*this, residualMeasure_, variance_, sigma0_);
}

int CXform3D7Param::getXformObservationResidual(int index, double* value) const
{
    return Xform3DAccess::observationResidual(*this, index, value);
}

int CXform3D7Param::xform3D4_Pt(double scale_, double rx, double ry, double rz, double tx_,
                                double ty_, double tz_, double x, double y, double z, double* X,
                                double* Y, double* Z) const
{
    return ::xform3D_Pt(scale_, rx, ry, rz, tx_, ty_, tz_, x, y, z, X, Y, Z);
}

int CXform3D7Param::xform3D_Pt(double x, double y, double z, double* X, double* Y, double* Z) const
{
    if (anyNull({X, Y, Z})) return 1;
    const double t[3] = {tx, ty, tz};
    const double p[3] = {x, y, z};
    double out[3];
    kelvane::transform3d::applySeven(scale, internalRotX, internalRotY, internalRotZ, t, p, out);
    *X = out[0];
    *Y = out[1];
    *Z = out[2];
    return 0;
}

int CXform3D7Param::solutionFound() const
{
    return status;
}
