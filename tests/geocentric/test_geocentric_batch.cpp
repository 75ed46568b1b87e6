// The geocentric batches give, point for point, bit for bit what latLongElev2XYZ_EC and
// XYZ_EC2latLongElev give (the polar axis, the centre and a NaN among the points).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "kelvane/kelvane.h"
#include "support/batch_support.h"
#include "support/test_support.h"

using namespace ktest;

TEST(GeocentricBatch, IsBitIdenticalToOnePointBothWays)
{
    const ellipsoid ell = wgs84();
    std::vector<geodCoord> pts;
    for (double lat = -90.0; lat <= 90.0; lat += 22.5) {
        for (double lon = -180.0; lon <= 180.0; lon += 45.0) {
            geodCoord p = geographic(deg(lat), deg(lon));
            p.elev = 100.0 * lat;
            pts.push_back(p);
        }
    }
    pts[7].lon = std::nan("");
    // The geocentric coordinates travel in easting (X), northing (Y) and elev (Z).
    expectSameAsOnePoint(pts, [&](geodCoord* p) { return latLongElev2XYZ_EC(ell, p); },
                         [&](std::vector<geodCoord>& v, int* status) {
                             return latLongElev2XYZ_ECBatch(&ell, v.size(), inField(v, &geodCoord::lat),
                                                            inField(v, &geodCoord::lon), inField(v, &geodCoord::elev),
                                                            outField(v, &geodCoord::easting),
                                                            outField(v, &geodCoord::northing),
                                                            outField(v, &geodCoord::elev), status);
                         });
    for (geodCoord& p : pts) {
        latLongElev2XYZ_EC(ell, &p);
        p.lat = p.lon = 0.0;
    }
    pts[3].easting = pts[3].northing = pts[3].elev = 0.0; // the centre
    expectSameAsOnePoint(pts, [&](geodCoord* p) { return XYZ_EC2latLongElev(ell, p); },
                         [&](std::vector<geodCoord>& v, int* status) {
                             return XYZ_EC2latLongElevBatch(&ell, v.size(), inField(v, &geodCoord::easting),
                                                            inField(v, &geodCoord::northing),
                                                            inField(v, &geodCoord::elev), outField(v, &geodCoord::lat),
                                                            outField(v, &geodCoord::lon), outField(v, &geodCoord::elev),
                                                            status);
                         });
}
