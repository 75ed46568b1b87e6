// The Matrix object: storage kinds, construction, copying and element access.
#include "matrix/matrix_internal.h"

#include <climits>
#include <cstddef>
#include <cstdio>
#include <new>
#include <type_traits>

namespace {

// The dump file that print appends to, a fixed name in the working directory.
const char* const kDumpFile = "c:\\matDump.dat";

// Number of values a kind stores for an nRows x nCols matrix, or -1 when the kind
// cannot hold such a matrix (diagonal and packed matrices are square).
long long valueCount(int nRows, int nCols, int kind)
{
    const long long r = nRows, c = nCols;
    switch (kind) {
    case Matrix::Diagonal: return r == c ? r : -1;
    case Matrix::SymmetricPacked: return r == c ? r * (r + 1) / 2 : -1;
    default: return r * c;
    }
}

// The offset of a field of the given alignment that follows one of the given offset
// and size.
constexpr std::size_t after(std::size_t offset, std::size_t size, std::size_t align)
{
    return (offset + size + align - 1) / align * align;
}

} // namespace

// Setting up and releasing an object's storage.
struct MatrixStorage {
    static void release(Matrix& m);
    static void makeEmpty(Matrix& m);
    static bool allocateRowStart(Matrix& m, int n);
    static void allocate(Matrix& m, int nRows, int nCols, int kind);
    static void present(Matrix& m, int nRows, int nCols, int kind, double* data);
    static void copy(Matrix& m, const Matrix& other);
    static void assign(Matrix& m, const Matrix& other);

    // The fields in their documented order and widths, with the two bookkeeping fields
    // after them.
    static_assert(std::is_standard_layout<Matrix>::value);
    static_assert(std::is_same<decltype(Matrix::zeroElement), double>::value &&
                  std::is_same<decltype(Matrix::elementCount), int>::value &&
                  std::is_same<decltype(Matrix::mAry), double*>::value &&
                  std::is_same<decltype(Matrix::storageKind), int>::value &&
                  std::is_same<decltype(Matrix::rows), int>::value &&
                  std::is_same<decltype(Matrix::cols), int>::value &&
                  std::is_same<decltype(Matrix::rowStart), int*>::value);
    static_assert(offsetof(Matrix, zeroElement) == 0);
    static_assert(offsetof(Matrix, elementCount) == after(0, sizeof(double), alignof(int)));
    static_assert(offsetof(Matrix, mAry) ==
                  after(offsetof(Matrix, elementCount), sizeof(int), alignof(double*)));
    static_assert(offsetof(Matrix, storageKind) ==
                  after(offsetof(Matrix, mAry), sizeof(double*), alignof(int)));
    static_assert(offsetof(Matrix, rows) == offsetof(Matrix, storageKind) + sizeof(int));
    static_assert(offsetof(Matrix, cols) == offsetof(Matrix, rows) + sizeof(int));
    static_assert(offsetof(Matrix, rowStart) ==
                  after(offsetof(Matrix, cols), sizeof(int), alignof(int*)));
    static_assert(offsetof(Matrix, ownsArray) >= offsetof(Matrix, rowStart) + sizeof(int*) &&
                  offsetof(Matrix, outOfRange) > offsetof(Matrix, ownsArray));
};

Matrix::Matrix(int nRows, int nCols)
    : zeroElement(0.0), elementCount(0), mAry(nullptr), storageKind(Full), rows(0),
      cols(0), rowStart(nullptr), ownsArray(false), outOfRange(0.0)
{
    MatrixStorage::allocate(*this, nRows, nCols, Full);
}

Matrix::Matrix(int nRows, int nCols, int kind)
    : zeroElement(0.0), elementCount(0), mAry(nullptr), storageKind(kind), rows(0),
      cols(0), rowStart(nullptr), ownsArray(false), outOfRange(0.0)
{
    MatrixStorage::allocate(*this, nRows, nCols, kind);
}

Matrix::Matrix(int nRows, int nCols, int kind, double* data)
    : zeroElement(0.0), elementCount(0), mAry(nullptr), storageKind(kind), rows(0),
      cols(0), rowStart(nullptr), ownsArray(false), outOfRange(0.0)
{
    MatrixStorage::present(*this, nRows, nCols, kind, data);
}

Matrix::Matrix(const Matrix& other)
    : zeroElement(0.0), elementCount(0), mAry(nullptr), storageKind(other.storageKind),
      rows(0), cols(0), rowStart(nullptr), ownsArray(false), outOfRange(0.0)
{
    MatrixStorage::copy(*this, other);
}

Matrix::~Matrix() { MatrixStorage::release(*this); }

Matrix& Matrix::operator=(const Matrix& other)
{
    if (this != &other) MatrixStorage::assign(*this, other);
    return *this;
}

void MatrixStorage::release(Matrix& m)
{
    if (m.ownsArray) delete[] m.mAry;
    delete[] m.rowStart;
    m.mAry = nullptr;
    m.rowStart = nullptr;
    m.ownsArray = false;
}

void MatrixStorage::makeEmpty(Matrix& m)
{
    release(m);
    m.rows = 0;
    m.cols = 0;
    m.elementCount = 0;
}

// The row-start table of a packed n x n matrix: rowStart[k] = k(k+1)/2, k = 0..n.
bool MatrixStorage::allocateRowStart(Matrix& m, int n)
{
    m.rowStart = new (std::nothrow) int[static_cast<std::size_t>(n) + 1];
    if (!m.rowStart) return false;
    for (int k = 0; k <= n; ++k)
        m.rowStart[k] = static_cast<int>(static_cast<long long>(k) * (k + 1) / 2);
    return true;
}

// Allocates the storage of a kind-0, 2 or 3 matrix into an object holding nothing; any
// other kind, a shape the kind cannot hold or a failed allocation leaves it empty.
void MatrixStorage::allocate(Matrix& m, int nRows, int nCols, int kind)
{
    m.storageKind = kind;
    nRows = nRows < 0 ? 0 : nRows;
    nCols = nCols < 0 ? 0 : nCols;
    const bool ownKind =
        kind == Matrix::Full || kind == Matrix::Diagonal || kind == Matrix::SymmetricPacked;
    const long long count = valueCount(nRows, nCols, kind);
    if (!ownKind || count < 0 || count > INT_MAX) return makeEmpty(m);
    if (count > 0) {
        m.mAry = new (std::nothrow) double[static_cast<std::size_t>(count)];
        if (!m.mAry) return makeEmpty(m);
        m.ownsArray = true;
    }
    if (kind == Matrix::SymmetricPacked && !allocateRowStart(m, nRows)) return makeEmpty(m);
    m.rows = nRows;
    m.cols = nCols;
    m.elementCount = static_cast<int>(count);
}

// Presents a caller's array, which stays the caller's, in an object holding nothing.
void MatrixStorage::present(Matrix& m, int nRows, int nCols, int kind, double* data)
{
    m.storageKind = kind;
    nRows = nRows < 0 ? 0 : nRows;
    nCols = nCols < 0 ? 0 : nCols;
    const long long count = valueCount(nRows, nCols, kind);
    if (!data || count < 0 || count > INT_MAX) return makeEmpty(m);
    if (kind == Matrix::SymmetricPacked && !allocateRowStart(m, nRows)) return makeEmpty(m);
    m.mAry = data;
    m.rows = nRows;
    m.cols = nCols;
    m.elementCount = static_cast<int>(count);
}

// Copies other into m, which holds nothing: an array other owns is duplicated (a
// failed allocation leaves m empty); an array other only presents is presented again.
void MatrixStorage::copy(Matrix& m, const Matrix& other)
{
    m.zeroElement = other.zeroElement;
    if (other.mAry && !other.ownsArray)
        return present(m, other.rows, other.cols, other.storageKind, other.mAry);
    allocate(m, other.rows, other.cols, other.storageKind);
    for (int k = 0; k < m.elementCount; ++k) m.mAry[k] = other.mAry[k];
}

// Replaces what m holds by a copy of other. When other presents the very array that m
// owns (a = a view of a's own array, say), m keeps that array and its ownership and
// takes other's view of it; releasing it first would leave m presenting freed memory.
void MatrixStorage::assign(Matrix& m, const Matrix& other)
{
    double* const own = m.ownsArray ? m.mAry : nullptr;
    if (!own || other.mAry != own || other.ownsArray) {
        makeEmpty(m);
        return copy(m, other);
    }
    m.ownsArray = false; // keeps makeEmpty from releasing the array
    makeEmpty(m);
    copy(m, other);
    m.ownsArray = m.mAry == own;
    if (!m.ownsArray) delete[] own; // the view could not be set up: m is empty
}

double* Matrix::getMAry() { return mAry; }

double& Matrix::element(int i, int j) { return MatrixAccess::at(*this, i, j); }

void Matrix::size(int* nRows, int* nCols)
{
    const bool transposed = storageKind == TransposedView;
    if (nRows) *nRows = transposed ? cols : rows;
    if (nCols) *nCols = transposed ? rows : cols;
}

int Matrix::init()
{
    for (int k = 0; k < elementCount; ++k) mAry[k] = 0.0;
    return 1;
}

int Matrix::multiplyScalar(double s)
{
    for (int k = 0; k < elementCount; ++k) mAry[k] *= s;
    return 1;
}

// When the dump file cannot be opened nothing is written and nothing is reported.
void Matrix::print(const char* title)
{
    std::FILE* f = std::fopen(kDumpFile, "a");
    if (!f) return;
    kelvane::writeMatrixDump(f, this, title, true);
    std::fclose(f);
}
