// The loop every batch entry point runs: strided reads and writes of the caller's columns,
// the per-point status, and the refusal of unusable calls.
#ifndef KELVANE_CORE_BATCH_H
#define KELVANE_CORE_BATCH_H

#include <cstring>

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

// A column of a batch with the field of a point record that it fills (an input) or that
// is written to it (an output).
struct FieldIn {
    batchIn column;
    double geodCoord::*field;
};
struct FieldOut {
    batchOut column;
    double geodCoord::*field;
};

// The refusal every batch shares: status, every input column and the first `required`
// outputs must be there (the others may be NULL).
template <std::size_t NIn, std::size_t NOut>
bool usableColumns(const int* status, const FieldIn (&in)[NIn], const FieldOut (&out)[NOut], std::size_t required)
{
    if (!status) return false;
    for (const FieldIn& c : in) {
        if (!c.column.data) return false;
    }
    for (std::size_t k = 0; k < required && k < NOut; ++k) {
        if (!out[k].column.data) return false;
    }
    return true;
}

// Point i's record: zeroed, with the inputs read into their fields.
template <std::size_t NIn>
geodCoord readRecord(const FieldIn (&in)[NIn], std::size_t i)
{
    geodCoord pt{};
    for (const FieldIn& c : in) pt.*c.field = read(c.column, i);
    return pt;
}

// Stores point i's status and, when it converted, its outputs.
template <std::size_t NOut>
void writeRecord(const FieldOut (&out)[NOut], std::size_t i, const geodCoord& pt, int s, int* status)
{
    status[i] = s;
    if (s != 0) return;
    for (const FieldOut& c : out) write(c.column, i, pt.*c.field);
}

// The loop of every batch: for point i a zeroed record receives the inputs, convert(record,
// i) converts it and returns the point's status, and the outputs of a point that converted
// (status 0) are written from the record; the status of every point is stored. Returns the
// batch result, or kvBatchRefused, having written nothing, when status or a column is
// missing: every input, and the first `required` outputs (the others may be NULL).
template <std::size_t NIn, std::size_t NOut, class Convert>
int convertRecords(std::size_t n, int* status, const FieldIn (&in)[NIn], const FieldOut (&out)[NOut],
                   std::size_t required, Convert&& convert)
{
    if (!usableColumns(status, in, out, required)) return kvBatchRefused;
    int result = kvBatchAllConverted;
    for (std::size_t i = 0; i < n; ++i) {
        geodCoord pt = readRecord(in, i);
        writeRecord(out, i, pt, convert(pt, i), status);
        if (status[i] != 0) result = kvBatchSomeFailed;
    }
    return result;
}

// The same loop G points at a time, for a family that computes them side by side
// (independent chains of arithmetic that the processor overlaps, or the lanes of vector
// registers) bit for bit as it computes one: convertGroup(pts, statuses, i) converts the G
// records pts[0..G-1], points i, i + 1, ..., writing every status; the last points of a
// batch that fill no group go through convert(record, i). All records of a
// group are read before any is written: an output column may still be the memory of an
// input column, but one that overlaps a neighbouring point's input does not see the other
// point's result.
template <std::size_t G, std::size_t NIn, std::size_t NOut, class ConvertGroup, class Convert>
int convertGroups(std::size_t n, int* status, const FieldIn (&in)[NIn], const FieldOut (&out)[NOut],
                   std::size_t required, ConvertGroup&& convertGroup, Convert&& convert)
{
    if (!usableColumns(status, in, out, required)) return kvBatchRefused;
    int result = kvBatchAllConverted;
    std::size_t i = 0;
    for (; n - i >= G; i += G) {
        geodCoord pts[G];
        int s[G];
        for (std::size_t k = 0; k < G; ++k) {
            pts[k] = readRecord(in, i + k);
            s[k] = 1;
        }
        convertGroup(pts, s, i);
        for (std::size_t k = 0; k < G; ++k) {
            writeRecord(out, i + k, pts[k], s[k], status);
            if (s[k] != 0) result = kvBatchSomeFailed;
        }
    }
    for (; i < n; ++i) {
        geodCoord pt = readRecord(in, i);
        writeRecord(out, i, pt, convert(pt, i), status);
        if (status[i] != 0) result = kvBatchSomeFailed;
    }
    return result;
}

// convertRecords with the one-point converter alone, else convertGroups of G points.
template <std::size_t G, std::size_t NIn, std::size_t NOut, class... Convert>
int convertColumns(std::size_t n, int* status, const FieldIn (&in)[NIn], const FieldOut (&out)[NOut],
                   std::size_t required, Convert&&... convert)
{
    if constexpr (sizeof...(Convert) == 1) {
        return convertRecords(n, status, in, out, required, convert...);
    } else {
        return convertGroups<G>(n, status, in, out, required, convert...);
    }
}

// A forward projection: lat, lon in; northing and easting out, gridScale and convergence
// where wanted. convert is the one-point converter, or a converter of groups of G points
// (two unless the caller says four) and the one-point converter (see convertRecords).
template <std::size_t G = 2, class... Convert>
int forwardPoints(std::size_t n, int* status, batchIn lat, batchIn lon, batchOut northing, batchOut easting,
                  batchOut gridScale, batchOut convergence, Convert&&... convert)
{
    return convertColumns<G>(n, status, {{lat, &geodCoord::lat}, {lon, &geodCoord::lon}},
                             {{northing, &geodCoord::northing},
                              {easting, &geodCoord::easting},
                              {gridScale, &geodCoord::gridScale},
                              {convergence, &geodCoord::convergence}},
                             2, convert...);
}

// An inverse projection: northing, easting in; lat and lon out, gridScale and convergence
// where wanted; G and convert as above.
template <std::size_t G = 2, class... Convert>
int inversePoints(std::size_t n, int* status, batchIn northing, batchIn easting, batchOut lat, batchOut lon,
                  batchOut gridScale, batchOut convergence, Convert&&... convert)
{
    return convertColumns<G>(n, status, {{northing, &geodCoord::northing}, {easting, &geodCoord::easting}},
                             {{lat, &geodCoord::lat},
                              {lon, &geodCoord::lon},
                              {gridScale, &geodCoord::gridScale},
                              {convergence, &geodCoord::convergence}},
                             2, convert...);
}

} // namespace kelvane::batch

#endif
