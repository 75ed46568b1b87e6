// Inversion in place: Gauss-Jordan elimination with full pivoting for a full matrix,
// reciprocals for a diagonal one.
#include "matrix/matrix_internal.h"

#include <cmath>
#include <cstddef>
#include <new>
#include <utility>

namespace {

// The integer work space of the elimination; released when it goes out of scope.
struct PivotWork {
    int* useCount = nullptr;  // how often each column has been the pivot column
    int* pivotRow = nullptr;  // pivot row of each step
    int* pivotCol = nullptr;  // pivot column of each step
    explicit PivotWork(int n)
    {
        const std::size_t len = static_cast<std::size_t>(n) + 1;
        useCount = new (std::nothrow) int[len]();
        pivotRow = useCount ? new (std::nothrow) int[len]() : nullptr;
        pivotCol = pivotRow ? new (std::nothrow) int[len]() : nullptr;
    }
    ~PivotWork()
    {
        delete[] useCount;
        delete[] pivotRow;
        delete[] pivotCol;
    }
    PivotWork(const PivotWork&) = delete;
    PivotWork& operator=(const PivotWork&) = delete;
    bool ready() const { return pivotCol != nullptr; }
};

// Gauss-Jordan elimination with full pivoting on the N x N array v (row stride N), in
// place, without a right-hand side. 0, or 1 for a singular matrix (v partly reduced)
// or missing work space.
int gaussJordan(double* v, int N)
{
    PivotWork work(N);
    if (!work.ready()) return 1;
    auto a = [v, N](int r, int k) -> double& {
        return v[static_cast<std::size_t>(r) * static_cast<std::size_t>(N) + k];
    };
    int pr = 0, pc = 0;
    for (int s = 0; s < N; ++s) {
        // The largest magnitude among rows and columns not yet pivoted; among equal
        // magnitudes the last one scanned.
        double big = 0.0;
        for (int r = 0; r < N; ++r) {
            if (work.useCount[r] == 1) continue;
            for (int k = 0; k < N; ++k) {
                if (work.useCount[k] == 0) {
                    if (std::fabs(a(r, k)) >= big) {
                        big = std::fabs(a(r, k));
                        pr = r;
                        pc = k;
                    }
                } else if (work.useCount[k] > 1) {
                    return 1;
                }
            }
        }
        ++work.useCount[pc];
        if (pr != pc)
            for (int k = 0; k < N; ++k) std::swap(a(pr, k), a(pc, k));
        work.pivotRow[s] = pr;
        work.pivotCol[s] = pc;
        if (a(pc, pc) == 0.0) return 1;
        const double inv = 1.0 / a(pc, pc);
        a(pc, pc) = 1.0;
        for (int k = 0; k < N; ++k) a(pc, k) *= inv;
        for (int r = 0; r < N; ++r) {
            if (r == pc) continue;
            const double f = a(r, pc);
            a(r, pc) = 0.0;
            for (int k = 0; k < N; ++k) a(r, k) -= a(pc, k) * f;
        }
    }
    // Undo the row exchanges as column exchanges, last step first.
    for (int s = N - 1; s >= 0; --s) {
        if (work.pivotRow[s] == work.pivotCol[s]) continue;
        for (int r = 0; r < N; ++r) std::swap(a(r, work.pivotRow[s]), a(r, work.pivotCol[s]));
    }
    return 0;
}

} // namespace

// A diagonal matrix: each diagonal value d becomes 1/d (a zero gives an infinity), 0.
// A full matrix: see gaussJordan; a full matrix that is not square is refused (1,
// unchanged), since the elimination would address values it does not have. Any other
// kind: 1, unchanged.
int matrixInverse(Matrix* a)
{
    if (!a) return 1;
    const int kind = MatrixAccess::kind(*a);
    double* v = MatrixAccess::values(*a);
    if (kind == Matrix::Diagonal) {
        for (int k = 0; k < MatrixAccess::storedCols(*a); ++k) v[k] = 1.0 / v[k];
        return 0;
    }
    if (kind != Matrix::Full) return 1;
    const int N = MatrixAccess::storedRows(*a);
    if (N != MatrixAccess::storedCols(*a)) return 1;
    return gaussJordan(v, N);
}

// Exchanges the values at array positions i1*cols + j1 and i2*cols + j2 (cols as
// stored), whatever the kind. A position outside the array leaves both values as they
// are.
void swapMatrixElem(Matrix* m, int i1, int j1, int i2, int j2)
{
    if (!m) return;
    const long long stride = MatrixAccess::storedCols(*m);
    const long long p1 = static_cast<long long>(i1) * stride + j1;
    const long long p2 = static_cast<long long>(i2) * stride + j2;
    const long long count = MatrixAccess::count(*m);
    if (p1 < 0 || p2 < 0 || p1 >= count || p2 >= count) return;
    double* v = MatrixAccess::values(*m);
    std::swap(v[p1], v[p2]);
}
