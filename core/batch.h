// The loop every batch entry point runs: strided reads and writes of the caller's columns,
// the per-point status, and the refusal of unusable calls.
#ifndef KELVANE_CORE_BATCH_H
#define KELVANE_CORE_BATCH_H

#include <cstring>
#include <initializer_list>

#include "kelvane/batch.h"
#include "kelvane/core.h"

namespace kelvane::batch {

// Value i of a column. memcpy, because a stride need not keep doubles aligned.
inline double read(const batchIn& column, std::size_t i)
{
    double v;
    std::memcpy(&v, reinterpret_cast<const char*>(column.data) + i * column.stride, sizeof v);
    return v;
}

// Stores value i of a column, unless the column is not wanted (NULL).
inline void write(const batchOut& column, std::size_t i, double v)
{
    if (column.data) std::memcpy(reinterpret_cast<char*>(column.data) + i * column.stride, &v, sizeof v);
}

inline bool given(std::initializer_list<batchIn> columns)
{
    for (const batchIn& c : columns) {
        if (!c.data) return false;
    }
    return true;
}

inline bool given(std::initializer_list<batchOut> columns)
{
    for (const batchOut& c : columns) {
        if (!c.data) return false;
    }
    return true;
}

// Writes the four outputs of a forward projection of point i from a converted record.
inline void writeGrid(const geodCoord& pt, std::size_t i, const batchOut& northing, const batchOut& easting,
                      const batchOut& gridScale, const batchOut& convergence)
{
    write(northing, i, pt.northing);
    write(easting, i, pt.easting);
    write(gridScale, i, pt.gridScale);
    write(convergence, i, pt.convergence);
}

// Writes the four outputs of an inverse projection of point i from a converted record.
inline void writeGeographic(const geodCoord& pt, std::size_t i, const batchOut& lat, const batchOut& lon,
                            const batchOut& gridScale, const batchOut& convergence)
{
    write(lat, i, pt.lat);
    write(lon, i, pt.lon);
    write(gridScale, i, pt.gridScale);
    write(convergence, i, pt.convergence);
}

// Converts points 0..n-1 with convert(i), which returns the point's status (0 converted)
// and writes the point's outputs itself; stores each status and returns the batch result.
template <class Convert>
int run(std::size_t n, int* status, Convert&& convert)
{
    int result = kvBatchAllConverted;
    for (std::size_t i = 0; i < n; ++i) {
        status[i] = convert(i);
        if (status[i] != 0) result = kvBatchSomeFailed;
    }
    return result;
}

} // namespace kelvane::batch

#endif
