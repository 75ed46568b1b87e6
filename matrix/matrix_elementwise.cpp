// Element-wise functions: copy, subtract, clear and scale, visiting positions through
// element. Each writes every stored value of its target once (see writesStoredValue).
#include "matrix/matrix_internal.h"

using kelvane::Cells;
using kelvane::forEachStoredPosition;

int matrixCopy(Matrix* src, Matrix* dst)
{
    if (!src || !dst) return 0;
    int n = 0, m = 0;
    src->size(&n, &m);
    const Cells from{src}, to{dst};
    forEachStoredPosition(dst, n, m, [&](int i, int j) {
        const double v = from(i, j);
        to(i, j) = v;
    });
    return 1;
}

// c = a - b over the size of a, in one pass that reads each position before writing
// it, so c may be a (or b). Three full matrices whose arrays hold at least a's values
// are handled as flat runs addressed with a's column count.
int matrixSubtract(Matrix* a, Matrix* b, Matrix* c)
{
    if (!a || !b || !c) return 0;
    int n = 0, m = 0;
    a->size(&n, &m);
    const bool allFull = MatrixAccess::kind(*a) == Matrix::Full &&
                         MatrixAccess::kind(*b) == Matrix::Full &&
                         MatrixAccess::kind(*c) == Matrix::Full;
    const int count = MatrixAccess::count(*a);
    if (allFull && MatrixAccess::count(*b) >= count && MatrixAccess::count(*c) >= count) {
        const double* av = MatrixAccess::values(*a);
        const double* bv = MatrixAccess::values(*b);
        double* cv = MatrixAccess::values(*c);
        for (int k = 0; k < count; ++k) cv[k] = av[k] - bv[k];
        return 1;
    }
    const Cells A{a}, B{b}, C{c};
    forEachStoredPosition(c, n, m, [&](int i, int j) {
        const double v = A(i, j) - B(i, j);
        C(i, j) = v;
    });
    return 1;
}

int matrixInit(Matrix* m)
{
    if (!m) return 0;
    int nRows = 0, nCols = 0;
    m->size(&nRows, &nCols);
    const Cells M{m};
    forEachStoredPosition(m, nRows, nCols, [&](int i, int j) { M(i, j) = 0.0; });
    return 1;
}

int matrixMultiplyScalar(Matrix* m, double s)
{
    if (!m) return 0;
    int nRows = 0, nCols = 0;
    m->size(&nRows, &nCols);
    const Cells M{m};
    forEachStoredPosition(m, nRows, nCols, [&](int i, int j) { M(i, j) *= s; });
    return 1;
}
