// What the library's own matrix code shares: direct access to a Matrix's fields, the
// rule by which element-wise operations write a target, and the two functions that are
// not exported (matrixAdd and dumpMatrix). Everything here is inline, so the test
// programs compile their own copies of the unexported functions.
#ifndef KELVANE_MATRIX_MATRIX_INTERNAL_H
#define KELVANE_MATRIX_MATRIX_INTERNAL_H

#include "kelvane/matrix.h"

#include <cstddef>
#include <cstdio>

struct MatrixAccess {
    static int kind(const Matrix& m) { return m.storageKind; }
    static int storedRows(const Matrix& m) { return m.rows; }
    static int storedCols(const Matrix& m) { return m.cols; }
    static int count(const Matrix& m) { return m.elementCount; }
    static double* values(Matrix& m) { return m.mAry; }
    static const int* rowStart(const Matrix& m) { return m.rowStart; }
    static bool ownsArray(const Matrix& m) { return m.ownsArray; }

    // The cell element(i, j) refers to (see Matrix::element), inline for the library's
    // own loops: outside the matrix as seen, the scratch cell reset to 0.0.
    static double& at(Matrix& m, int i, int j)
    {
        const bool transposed = m.storageKind == Matrix::TransposedView;
        const int nRows = transposed ? m.cols : m.rows;
        const int nCols = transposed ? m.rows : m.cols;
        if (i < 0 || j < 0 || i >= nRows || j >= nCols) {
            m.outOfRange = 0.0;
            return m.outOfRange;
        }
        const std::size_t ui = static_cast<std::size_t>(i), uj = static_cast<std::size_t>(j);
        const std::size_t stride = static_cast<std::size_t>(m.cols);
        switch (m.storageKind) {
        case Matrix::TransposedView: return m.mAry[uj * stride + ui];
        case Matrix::Diagonal: return i == j ? m.mAry[ui] : m.zeroElement;
        case Matrix::SymmetricPacked:
            return i >= j ? m.mAry[m.rowStart[i] + uj] : m.mAry[m.rowStart[j] + ui];
        default: return m.mAry[ui * stride + uj];
        }
    }

    // The value at array position pos, addressing the array as one run of values
    // whatever the kind; a position outside the array gives the scratch cell.
    static double& stored(Matrix& m, long long pos)
    {
        if (pos < 0 || pos >= m.elementCount) {
            m.outOfRange = 0.0;
            return m.outOfRange;
        }
        return m.mAry[pos];
    }
};

namespace kelvane {

// m(i, j) is m->element(i, j), without a call into the exported member.
struct Cells {
    Matrix* m;
    double& operator()(int i, int j) const { return MatrixAccess::at(*m, i, j); }
};

inline int rowsSeen(Matrix* m)
{
    int r = 0, c = 0;
    m->size(&r, &c);
    return r;
}

inline int colsSeen(Matrix* m)
{
    int r = 0, c = 0;
    m->size(&r, &c);
    return c;
}

// The columns [first, last) of a product or element-wise loop.
struct ColumnRange {
    int first, last;
};

// The columns below nCols at which row i of a target of this kind stores a value of its
// own. A diagonal matrix stores only its diagonal (its off-diagonal positions all share
// one cell), a packed matrix only its lower triangle (its upper positions are the same
// values again); writing those positions as well would clobber the shared cell or apply
// an operation to one value twice.
inline ColumnRange storedColumns(int kind, int i, int nCols)
{
    if (kind == Matrix::Diagonal) return {i, i < nCols ? i + 1 : i};
    if (kind == Matrix::SymmetricPacked) return {0, i < nCols ? i + 1 : nCols};
    return {0, nCols};
}

// Calls f(i, j), rows ascending and columns ascending, for every position within
// nRows x nCols that stores a value of target. Positions beyond the target's own size
// would only reach its scratch cell, so they are not visited: the loops are bounded by
// what the target holds, however large nRows and nCols are.
template <class F>
void forEachStoredPosition(Matrix* target, int nRows, int nCols, F f)
{
    int rowsHeld = 0, colsHeld = 0;
    target->size(&rowsHeld, &colsHeld);
    nRows = nRows < rowsHeld ? nRows : rowsHeld;
    nCols = nCols < colsHeld ? nCols : colsHeld;
    if (nCols <= 0) return;
    const int kind = MatrixAccess::kind(*target);
    for (int i = 0; i < nRows; ++i) {
        const ColumnRange js = storedColumns(kind, i, nCols);
        for (int j = js.first; j < js.last; ++j) f(i, j);
    }
}

// Writes m in the dump layout: a title line, a column header, then one line per row.
// With storedTriangleOnly, row r of a packed matrix shows its columns 0..r only.
inline void writeMatrixDump(std::FILE* f, Matrix* m, const char* title, bool storedTriangleOnly)
{
    int nRows = 0, nCols = 0;
    m->size(&nRows, &nCols);
    const bool triangle =
        storedTriangleOnly && MatrixAccess::kind(*m) == Matrix::SymmetricPacked;
    std::fprintf(f, "\n *** Two-dimensional array (matrix): %s \n\n", title ? title : "");
    std::fprintf(f, "    ");
    for (int j = 0; j < nCols; ++j) std::fprintf(f, "   col %d", j);
    std::fprintf(f, "\n\n");
    for (int r = 0; r < nRows; ++r) {
        std::fprintf(f, "row %d ", r);
        const int shown = triangle && r + 1 < nCols ? r + 1 : nCols;
        for (int j = 0; j < shown; ++j) std::fprintf(f, " %.4f ", MatrixAccess::at(*m, r, j));
        std::fprintf(f, "\n");
    }
}

} // namespace kelvane

// c(i, j) = a(i, j) + b(i, j) for every (i, j) within the size of a, each stored value
// of c written once; 1 (0 for a null matrix).
inline int matrixAdd(Matrix* a, Matrix* b, Matrix* c)
{
    if (!a || !b || !c) return 0;
    int n = 0, m = 0;
    a->size(&n, &m);
    const kelvane::Cells A{a}, B{b}, C{c};
    kelvane::forEachStoredPosition(c, n, m, [&](int i, int j) {
        const double sum = A(i, j) + B(i, j);
        C(i, j) = sum;
    });
    return 1;
}

// Appends m to the file at path in the layout of Matrix::print, every column of every
// row. Returns the result of closing the file, or EOF when it cannot be opened (or
// there is no matrix to write).
inline int dumpMatrix(const char* path, Matrix* m, const char* title)
{
    std::FILE* f = path && m ? std::fopen(path, "a") : nullptr;
    if (!f) return EOF;
    kelvane::writeMatrixDump(f, m, title, false);
    return std::fclose(f);
}

#endif
