// The Lambert batches give, point for point, bit for bit what latLong2XY_Lambert and
// lambert_calc give, with the points latLong2XY_Lambert refuses in mid-batch.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "kelvane/kelvane.h"
#include "support/batch_support.h"
#include "support/test_support.h"

using namespace ktest;

namespace {

// Points over North America (longitudes positive east), the south pole and a NaN among them,
// each in a group of four that a batch converts side by side, and after the last group the
// north pole, a latitude beyond it and an ordinary point.
std::vector<geodCoord> continent()
{
    std::vector<geodCoord> pts;
    for (double lat = 20.0; lat <= 70.0; lat += 7.0) {
        for (double lon = -130.0; lon <= -60.0; lon += 9.0) pts.push_back(geographic(deg(lat), deg(lon)));
    }
    pts[2].lat = deg(88.0); // lambert_calc's inverse finds these two latitudes in fewer steps
    pts[3].lat = deg(90.0);
    pts[4].lat = deg(-90.0);
    pts[11].lat = std::nan("");
    for (double lat : {90.0, 100.0, 45.0}) pts.push_back(geographic(deg(lat), deg(-96.0)));
    return pts;
}

} // namespace

TEST(LambertBatch, RecordForwardIsBitIdenticalToOnePoint)
{
    zoneCnstntLambert zl{};
    zl.ell = grs80();
    zl.centralMeridian = deg(96.0);
    zl.originLat = deg(23.0);
    zl.southParallel = deg(33.0);
    zl.northParallel = deg(45.0);
    zl.falseEasting = 500000.0;
    for (double originLat : {23.0, 90.0}) { // a grid origin at the pole puts it at the cone's apex
        zl.originLat = deg(originLat);
        EXPECT_EQ(expectSameAsOnePoint(
                      continent(), [&](geodCoord* p) { return latLong2XY_Lambert(&zl, p); },
                      [&](std::vector<geodCoord>& v, int* status) {
                          return latLong2XY_LambertBatch(&zl, v.size(), inField(v, &geodCoord::lat),
                                                         inField(v, &geodCoord::lon), outField(v, &geodCoord::northing),
                                                         outField(v, &geodCoord::easting),
                                                         outField(v, &geodCoord::gridScale),
                                                         outField(v, &geodCoord::convergence), status);
                      }),
                  3);
    }

    zl.northParallel = zl.southParallel; // a tangent cone: no point can be converted
    std::vector<geodCoord> one{geographic(deg(40.0), deg(-96.0))};
    int status = -7;
    EXPECT_EQ(latLong2XY_LambertBatch(&zl, 1, inField(one, &geodCoord::lat), inField(one, &geodCoord::lon),
                                      outField(one, &geodCoord::northing), outField(one, &geodCoord::easting),
                                      {nullptr, 0}, {nullptr, 0}, &status),
              kvBatchRefused);
    EXPECT_EQ(status, -7);
}

// lambert_calc both ways, with a scale factor: the outputs land in the record's own fields
// (x in easting or lon, y in northing or lat).
TEST(LambertBatch, CalcIsBitIdenticalToOnePointBothWays)
{
    ellipsoid ell = grs80();
    zoneCnstnt zone{};
    zone.northParallel = deg(45.0);
    zone.southParallel = deg(33.0);
    zone.calcOriginLat = deg(23.0);
    zone.centralMeridian = -deg(96.0);
    zone.scaleFactor = 0.9999;
    zone.falseEasting = 500000.0;
    for (int direction : {1, 0}) {
        std::vector<geodCoord> pts = continent();
        if (direction == 0) {
            for (geodCoord& p : pts) {
                lambert_calc(&ell, &zone, p.lat, p.lon, &p.easting, &p.northing, &p.gridScale, &p.convergence, 1);
                p = grid(p.northing, p.easting);
            }
        }
        double geodCoord::*y = direction == 1 ? &geodCoord::lat : &geodCoord::northing;
        double geodCoord::*x = direction == 1 ? &geodCoord::lon : &geodCoord::easting;
        double geodCoord::*outY = direction == 1 ? &geodCoord::northing : &geodCoord::lat;
        double geodCoord::*outX = direction == 1 ? &geodCoord::easting : &geodCoord::lon;
        expectSameAsOnePoint(
            pts,
            [&](geodCoord* p) {
                lambert_calc(&ell, &zone, p->*y, p->*x, &(p->*outX), &(p->*outY), &p->gridScale, &p->convergence,
                             direction);
                return 0;
            },
            [&](std::vector<geodCoord>& v, int* status) {
                return lambert_calcBatch(&ell, &zone, v.size(), inField(v, y), inField(v, x), outField(v, outX),
                                         outField(v, outY), outField(v, &geodCoord::gridScale),
                                         outField(v, &geodCoord::convergence), direction, status);
            });
    }
}
