/* The dense matrix class and its free functions (C++ only).
 *
 * A Matrix holds doubles in one of four storage kinds:
 *   0 full            rows x cols values, row after row; element(i, j) = mAry[i*cols + j]
 *   1 transposed view  a caller's row-major rows x cols array presented as its cols x rows
 *                     transpose, without copying; element(i, j) = mAry[j*cols + i]
 *   2 diagonal        n values of an n x n matrix; off-diagonal positions refer to the
 *                     one shared cell zeroElement (reads 0.0 unless a caller wrote to it)
 *   3 symmetric packed the lower triangle of an n x n matrix, n(n+1)/2 values, row after
 *                     row; element(i, j) and element(j, i) refer to the same value
 * Any other kind is addressed like kind 0.
 *
 * Operations do not check that the matrices they are given conform; callers pass
 * conforming matrices. What they do guarantee is that no call reads or writes outside
 * an object's storage:
 *  - element(i, j) outside the matrix as seen (or on a matrix without storage) returns a
 *    reference to a per-object scratch cell that is reset to 0.0 on every such access:
 *    the read gives 0.0 and a write through it is lost.
 *  - Negative dimensions are taken as 0. A request the object cannot hold (a non-square
 *    diagonal or packed matrix, a kind-1 or unknown kind without a caller's array, a null
 *    array, a count beyond INT_MAX values, or an allocation that fails) yields an empty
 *    0 x 0 matrix of the requested kind, on which every operation does nothing.
 *  - matrixMultiply takes its direct-index paths only when the operands' sizes cover the
 *    loops; otherwise it takes the element-wise path, where absent values read as 0.0.
 *  - matrixInverse refuses (result 1, matrix unchanged) a full matrix that is not square.
 *  - A null matrix pointer makes a call do nothing: the algebra routines then return 1,
 *    the element-wise functions 0.
 *  - A matrix with a dimension of 0 holds no values, whatever its other dimension; solve,
 *    NRCholeskyInverse, NRCholeskyVarCovFromInv, forwardSub and backwardSub on such a
 *    matrix return 0 and write nothing. Loops never visit positions beyond the size of
 *    the matrix they write, nor the positions a diagonal or packed target does not store,
 *    so their length follows the values held rather than the dimensions claimed.
 *
 * Ownership: an object owns the array it allocated itself (the two- and three-argument
 * constructors) and its row-start table (kind 3); the destructor releases exactly those.
 * An array handed to the four-argument constructor always stays the caller's, whatever
 * the kind. Copy construction and assignment are deep: the target gets its own array
 * holding the same values (a view of a caller's array stays a view of that same array),
 * so no two objects ever release one array and assignment never leaks the target's own.
 * Assigning to a matrix a view of its own array (m = a transposed view of m's array)
 * keeps the array, still owned by m, and gives m the view's shape and kind.
 */
#ifndef KELVANE_MATRIX_H
#define KELVANE_MATRIX_H

#include "kelvane/core.h"
#include "kelvane/export.h"

#ifdef __cplusplus

class KELVANE_API Matrix {
public:
    // Storage kinds, as stored in storageKind.
    static constexpr int Full = 0;
    static constexpr int TransposedView = 1;
    static constexpr int Diagonal = 2;
    static constexpr int SymmetricPacked = 3;

    // Kind 0; allocates rows*cols values, not initialised.
    Matrix(int rows, int cols);
    // Kind 0: rows*cols values; kind 2: n values (rows = cols = n only); kind 3: n(n+1)/2
    // values and the row-start table (rows = cols = n only). Values are not initialised.
    // Kind 1, any other kind and non-square kind 2/3 requests give an empty 0 x 0 matrix.
    Matrix(int rows, int cols, int kind);
    // Presents the caller's array without copying it and without taking ownership. The
    // library uses it with kind 1 (a rows x cols row-major array seen as its cols x rows
    // transpose); kind 0 reads data as rows x cols, kind 2 as n diagonal values and
    // kind 3 as n(n+1)/2 packed values (rows = cols = n only).
    Matrix(int rows, int cols, int kind, double* data);
    Matrix(const Matrix& other);
    ~Matrix();

    // Deep copy (see the header comment); returns this object.
    Matrix& operator=(const Matrix& other);

    double* getMAry();
    double& element(int i, int j);
    // The dimensions as seen: (cols, rows) of the stored array for kind 1.
    void size(int* nRows, int* nCols);

    // Set to 0.0 / multiply by s every stored value (each once); always 1.
    int init();
    int multiplyScalar(double s);

    // Cholesky factorisation in place; p (N x 1) receives the diagonal of the factor.
    // 0, or 1 when the matrix is not positive definite.
    int NRCholesky(Matrix* p);
    // This object (N x 1) is the right-hand side and receives x with L*Lt*x = b, using
    // a and p as left by NRCholesky. 0, or 1 on a zero value of p.
    int solve(Matrix* a, Matrix* p);
    // Replaces the factor's lower triangle (after NRCholesky) by the inverse factor; 0.
    int NRCholeskyInverse(Matrix* p);
    // out = transpose(this) * this; 0.
    int NRCholeskyVarCovFromInv(Matrix* out);
    // Solve L*y = b, resp. Lt*x = b, in place on this N x 1 column with a packed lower
    // triangular l; 0.
    int forwardSub(Matrix* l);
    int backwardSub(Matrix* l);

    // Appends the matrix to the dump file "c:\matDump.dat" in the working directory.
    void print(const char* title);

private:
    // The data fields, in this order.
    double zeroElement;
    int elementCount;
    double* mAry;
    int storageKind;
    int rows;
    int cols;
    int* rowStart;
    // Bookkeeping that keeps every object safe to use and to destroy.
    bool ownsArray;
    double outOfRange;

    // The library's own code reaches the fields directly: MatrixStorage sets up and
    // releases storage, MatrixAccess serves the algebra.
    friend struct MatrixStorage;
    friend struct MatrixAccess;
};

// c = a*b, dispatched on the three storage kinds; returns 0. Fourteen combinations run
// direct-index loops; every other one goes through element, skipping terms with a zero
// factor, and writes each stored value of c once (a diagonal c: its diagonal only, so
// its shared off-diagonal cell stays as it was; a packed c: its lower triangle).
KELVANE_API int matrixMultiply(Matrix* a, Matrix* b, Matrix* c);
// In place: full-pivoting Gauss-Jordan for kind 0, reciprocals for kind 2.
// 0 success; 1 singular, not square, unsupported kind or work space not available.
KELVANE_API int matrixInverse(Matrix* a);
// Exchanges the values at array positions i1*cols + j1 and i2*cols + j2.
KELVANE_API void swapMatrixElem(Matrix* m, int i1, int j1, int i2, int j2);
// Element-wise functions; return 1. Each visits every (i, j) within the size of its
// first matrix, but writes each stored value of the target once: for a packed target
// only the lower triangle j <= i, for a diagonal target only the diagonal (its shared
// off-diagonal cell is never written).
KELVANE_API int matrixCopy(Matrix* src, Matrix* dst);
KELVANE_API int matrixSubtract(Matrix* a, Matrix* b, Matrix* c);
KELVANE_API int matrixInit(Matrix* m);
KELVANE_API int matrixMultiplyScalar(Matrix* m, double s);
// Upper triangle (j >= i) of the symmetric product a*b for three full matrices;
// otherwise matrixMultiply. Returns 0.
KELVANE_API int matrixMultiplyJtWJ(Matrix* a, Matrix* b, Matrix* c);

#endif /* __cplusplus */

#endif /* KELVANE_MATRIX_H */
