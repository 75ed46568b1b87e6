// Batch entry points against their one-point functions: columns laid over an array of
// geodCoord records (so strides, and conversion in place, are exercised), and the check
// that a batch gives bit for bit what the one-point function gives, failures included.
#ifndef KELVANE_TESTS_SUPPORT_BATCH_SUPPORT_H
#define KELVANE_TESTS_SUPPORT_BATCH_SUPPORT_H

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "kelvane/kelvane.h"

namespace ktest {

// The field of every record of an array as a batch column.
inline batchIn inField(const std::vector<geodCoord>& pts, double geodCoord::*field)
{
    return {&(pts[0].*field), sizeof(geodCoord)};
}

inline batchOut outField(std::vector<geodCoord>& pts, double geodCoord::*field)
{
    return {&(pts[0].*field), sizeof(geodCoord)};
}

// Converts each point with onePoint, and a copy of all of them with batch (which converts
// the records in place and stores statuses), and expects the same records bit for bit and
// the same statuses. Returns the number of points that failed.
inline int expectSameAsOnePoint(const std::vector<geodCoord>& pts, const std::function<int(geodCoord*)>& onePoint,
                                const std::function<int(std::vector<geodCoord>&, int*)>& batch)
{
    std::vector<geodCoord> one = pts;
    std::vector<geodCoord> many = pts;
    std::vector<int> expected(pts.size());
    std::vector<int> status(pts.size(), -7);
    int failed = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        expected[i] = onePoint(&one[i]);
        failed += expected[i] != 0;
    }
    EXPECT_EQ(batch(many, status.data()), failed ? kvBatchSomeFailed : kvBatchAllConverted);
    for (std::size_t i = 0; i < pts.size(); ++i) {
        EXPECT_EQ(status[i], expected[i]) << "point " << i;
        EXPECT_EQ(std::memcmp(&one[i], &many[i], sizeof(geodCoord)), 0) << "point " << i << " differs";
    }
    return failed;
}

} // namespace ktest

#endif
