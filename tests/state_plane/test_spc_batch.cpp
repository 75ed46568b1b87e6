// The state plane batches give, point for point, bit for bit what the one-point
// conversions give, for a zone of every projection kind of both tables.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "kelvane/kelvane.h"
#include "support/batch_support.h"
#include "support/test_support.h"

using namespace ktest;

namespace {

// Points around (lat, lon) in degrees, longitude with the sign the family takes, with the
// north pole (the apex of a Lambert zone's cone, whose inverse runs every Newton step on a
// NaN), NaNs and an infinity in mid-batch, in either lane of a pair, each among other points
// of a group the batch converts side by side.
std::vector<geodCoord> around(double lat, double lon)
{
    std::vector<geodCoord> pts;
    for (double dLat = -1.5; dLat <= 1.5; dLat += 0.75) {
        for (double dLon = -2.0; dLon <= 2.0; dLon += 0.8) pts.push_back(geographic(deg(lat + dLat), deg(lon + dLon)));
    }
    pts[2].lat = deg(90.0);
    pts[5].lat = std::nan("");
    pts[8].lon = std::nan("");
    pts[11].lon = INFINITY;
    // Low latitudes, where a Lambert zone's inverse needs from three to six Newton steps
    // (some points alternate between two neighbouring sines for all six), so that points
    // side by side stop at different steps.
    for (double low = 0.3; low < 30.0; low += 1.7) pts.push_back(geographic(deg(low), deg(lon)));
    return pts;
}

// The first n points: batches whose end leaves 0 to 3 points outside the groups.
std::vector<geodCoord> firstPoints(const std::vector<geodCoord>& pts, std::size_t n)
{
    return {pts.begin(), pts.begin() + static_cast<std::ptrdiff_t>(n)};
}

} // namespace

TEST(Spc83Batch, IsBitIdenticalToOnePointForEveryKind)
{
    init83ZoneConstants();
    const struct {
        int zone;
        double lat, lon;
    } zones[] = {{101, 32.0, -85.8}, {4803, 43.4, -89.5}, {5001, 57.0, -133.7}};
    for (const auto& z : zones) {
        std::vector<geodCoord> pts = around(z.lat, z.lon);
        for (std::size_t n : {pts.size(), std::size_t{7}, std::size_t{2}, std::size_t{5}}) {
            expectSameAsOnePoint(
                firstPoints(pts, n), [&](geodCoord* p) { return SPC83Geod2Grid(z.zone, p); },
                [&](std::vector<geodCoord>& v, int* status) {
                    return SPC83Geod2GridBatch(z.zone, v.size(), inField(v, &geodCoord::lat),
                                               inField(v, &geodCoord::lon), outField(v, &geodCoord::northing),
                                               outField(v, &geodCoord::easting), outField(v, &geodCoord::gridScale),
                                               outField(v, &geodCoord::convergence), status);
                });
        }
        for (geodCoord& p : pts) {
            SPC83Geod2Grid(z.zone, &p);
            p = grid(p.northing, p.easting);
        }
        for (std::size_t n : {pts.size(), std::size_t{7}, std::size_t{2}, std::size_t{5}}) {
            expectSameAsOnePoint(
                firstPoints(pts, n), [&](geodCoord* p) { return SPC83Grid2Geod(z.zone, p); },
                [&](std::vector<geodCoord>& v, int* status) {
                    return SPC83Grid2GeodBatch(z.zone, v.size(), inField(v, &geodCoord::northing),
                                               inField(v, &geodCoord::easting), outField(v, &geodCoord::lat),
                                               outField(v, &geodCoord::lon), outField(v, &geodCoord::gridScale),
                                               outField(v, &geodCoord::convergence), status);
                });
        }
    }
    std::vector<geodCoord> one{geographic(deg(32.0), deg(-85.0))};
    int status = -7;
    EXPECT_EQ(SPC83Geod2GridBatch(5011, 1, inField(one, &geodCoord::lat), inField(one, &geodCoord::lon),
                                  outField(one, &geodCoord::northing), outField(one, &geodCoord::easting),
                                  {nullptr, 0}, {nullptr, 0}, &status),
              kvBatchRefused);
    EXPECT_EQ(status, -7);
}

TEST(Spc27Batch, IsBitIdenticalToOnePointForEveryKind)
{
    init27ZoneConstants();
    const struct {
        int zone;
        double lat, lon; // longitude positive west
    } zones[] = {{101, 32.0, 85.8}, {4204, 28.5, 99.0}, {5001, 57.0, 133.7}, {5005, 61.0, 154.0}};
    for (const auto& z : zones) {
        zoneconstant27 zc{};
        ASSERT_EQ(initSPC27Zone(z.zone, &zc), 0);
        std::vector<geodCoord> pts = around(z.lat, z.lon);
        for (std::size_t n : {pts.size(), std::size_t{7}, std::size_t{2}, std::size_t{5}}) {
            expectSameAsOnePoint(
                firstPoints(pts, n), [&](geodCoord* p) { return geod2SPC27(&zc, p); },
                [&](std::vector<geodCoord>& v, int* status) {
                    return geod2SPC27Batch(&zc, v.size(), inField(v, &geodCoord::lat), inField(v, &geodCoord::lon),
                                           outField(v, &geodCoord::northing), outField(v, &geodCoord::easting),
                                           outField(v, &geodCoord::gridScale), outField(v, &geodCoord::convergence),
                                           status);
                });
        }
        for (geodCoord& p : pts) {
            geod2SPC27(&zc, &p);
            p = grid(p.northing, p.easting);
        }
        for (std::size_t n : {pts.size(), std::size_t{7}, std::size_t{2}, std::size_t{5}}) {
            expectSameAsOnePoint(
                firstPoints(pts, n), [&](geodCoord* p) { return SPC272Geod(&zc, p); },
                [&](std::vector<geodCoord>& v, int* status) {
                    return SPC272GeodBatch(&zc, v.size(), inField(v, &geodCoord::northing),
                                           inField(v, &geodCoord::easting), outField(v, &geodCoord::lat),
                                           outField(v, &geodCoord::lon), outField(v, &geodCoord::gridScale),
                                           outField(v, &geodCoord::convergence), status);
                });
        }
    }
    zoneconstant27 bad{};
    bad.projection = 4;
    std::vector<geodCoord> one{geographic(deg(32.0), deg(85.0))};
    int status = -7;
    EXPECT_EQ(geod2SPC27Batch(&bad, 1, inField(one, &geodCoord::lat), inField(one, &geodCoord::lon),
                              outField(one, &geodCoord::northing), outField(one, &geodCoord::easting), {nullptr, 0},
                              {nullptr, 0}, &status),
              kvBatchRefused);
    EXPECT_EQ(status, -7);
}
