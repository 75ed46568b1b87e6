/* Conversion of many points in one call: the column records and status convention that
 * every family's batch entry points share (UTMGeod2GridBatch, SPC83Geod2GridBatch, ...;
 * each is declared in its family's header).
 *
 * A batch reads and writes columns of doubles in the caller's memory: the first value at
 * `data`, the next `stride` bytes further on (the layout of the established projection
 * libraries' generic transforms). A packed array of doubles has stride sizeof(double); the
 * x members of an array of structures have stride sizeof(the structure); an input stride
 * of 0 gives every point the same value. Values need no particular alignment.
 *
 * Every batch entry point:
 *   - derives the zone's constants once for the call and converts point i exactly as the
 *     family's one-point function does, bit for bit;
 *   - writes status[i] (an int array of n entries, required) with the one-point
 *     function's result for point i, 0 when it converted; a point that fails leaves its
 *     outputs as they were, and the points after it are still converted;
 *   - writes an output column only when its data is not NULL; which outputs may be NULL
 *     (the optional ones, such as scale factor and convergence) each function says;
 *   - reads all of a point's inputs before writing any of its outputs, so an output
 *     column may be the same memory as an input column (conversion in place);
 *   - returns kvBatchAllConverted (0) when every point converted, kvBatchSomeFailed (1)
 *     when at least one did not (see status), and kvBatchRefused (-1), having written
 *     nothing at all, when the call itself is unusable: a NULL required pointer or column,
 *     or a zone or ellipsoid with which no point could be converted.
 *   n = 0 converts nothing and returns 0 without reading any pointer. */
#ifndef KELVANE_BATCH_H
#define KELVANE_BATCH_H

#include <stddef.h>

#include "kelvane/export.h"

/* An input column: n doubles, `stride` bytes apart. */
typedef struct batchIn {
    const double* data;
    size_t stride;
} batchIn;

/* An output column: n doubles, `stride` bytes apart; data NULL where an optional output
 * is not wanted. */
typedef struct batchOut {
    double* data;
    size_t stride;
} batchOut;

enum {
    kvBatchAllConverted = 0,
    kvBatchSomeFailed = 1,
    kvBatchRefused = -1
};

#ifdef __cplusplus
static_assert(sizeof(batchIn) == 2 * sizeof(void*) && sizeof(batchOut) == 2 * sizeof(void*),
              "a batch column is a pointer and a byte stride");
#endif

#endif /* KELVANE_BATCH_H */
