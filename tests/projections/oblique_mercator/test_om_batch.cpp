// The projection-centre oblique Mercator batches give, point for point, bit for bit what
// the free functions give, on RSO Borneo and on a central line running due east, with a
// NaN, an infinity and the pole in either lane of a pair, and an odd count.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "kelvane/kelvane.h"
#include "support/batch_support.h"
#include "support/test_support.h"

using namespace ktest;

TEST(OmProjCenterBatch, IsBitIdenticalToOnePointBothWays)
{
    for (double azimuth : {deg(53, 18, 56.9537), kPi / 2.0}) {
        zoneCnstntObliqueMerc z{};
        initEllipsoid(&z.ell, 6377298.556, 1.0 / 300.8017);
        z.centreLat = deg(4.0);
        z.centreLon = deg(115.0);
        z.azimuth = azimuth;
        z.rectifiedGridAngle = deg(53, 7, 48.3685);
        z.scaleFactor = 0.99984;
        z.falseEasting = 590476.87;
        z.falseNorthing = 442857.65;

        std::vector<geodCoord> pts;
        for (double lat = 0.5; lat <= 7.5; lat += 1.0) {
            for (double lon = 109.5; lon <= 119.5; lon += 1.25) pts.push_back(geographic(deg(lat), deg(lon)));
        }
        pts[6].lon = std::nan("");
        pts[9].lat = INFINITY;
        pts[12].lat = deg(90.0);
        pts[15].lat = deg(-90.0);
        pts.pop_back(); // an odd count: the last point converts alone
        expectSameAsOnePoint(
            pts, [&](geodCoord* p) { return latLong2XY_OMProjCenter(z, p); },
            [&](std::vector<geodCoord>& v, int* status) {
                // The convergence has no column: the records start with the 0 the free function writes.
                return latLong2XY_OMProjCenterBatch(&z, v.size(), inField(v, &geodCoord::lat),
                                                    inField(v, &geodCoord::lon), outField(v, &geodCoord::northing),
                                                    outField(v, &geodCoord::easting),
                                                    outField(v, &geodCoord::gridScale), status);
            });
        for (geodCoord& p : pts) {
            latLong2XY_OMProjCenter(z, &p);
            p = grid(p.northing, p.easting);
        }
        expectSameAsOnePoint(
            pts, [&](geodCoord* p) { return XY2latLong_OMProjCenter(z, p); },
            [&](std::vector<geodCoord>& v, int* status) {
                return XY2latLong_OMProjCenterBatch(&z, v.size(), inField(v, &geodCoord::northing),
                                                    inField(v, &geodCoord::easting), outField(v, &geodCoord::lat),
                                                    outField(v, &geodCoord::lon), outField(v, &geodCoord::gridScale),
                                                    status);
            });
    }
}
