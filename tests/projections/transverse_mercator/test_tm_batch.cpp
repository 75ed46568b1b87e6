// The batch entry points of UTM and the stand-alone Transverse Mercator give, point for
// point, bit for bit what the one-point functions give (failures in mid-batch included),
// and refuse unusable calls without writing anything.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "kelvane/kelvane.h"
#include "support/batch_support.h"
#include "support/test_support.h"

using namespace ktest;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Points over the globe (longitudes positive east), an odd number of them so that the
// last goes alone, in an order in which neighbours, converted side by side, lie in
// different zones and often in different hemispheres; with points that have no UTM zone
// (a NaN latitude, a longitude beyond 183 degrees) beside points that have one, in either
// lane of a pair.
std::vector<geodCoord> globe()
{
    std::vector<geodCoord> grid;
    for (double lat = -80.0; lat <= 84.0; lat += 20.5) {
        for (double lon = -180.0; lon <= 180.0; lon += 37.25) grid.push_back(geographic(deg(lat), deg(lon)));
    }
    std::vector<geodCoord> pts;
    for (std::size_t i = 0; i < grid.size(); ++i) pts.push_back(grid[i * 7 % grid.size()]); // 7 and 90 coprime
    pts.insert(pts.begin() + 31, geographic(kNaN, deg(10.0)));
    pts.insert(pts.begin() + 40, geographic(deg(10.0), deg(200.0)));
    pts.push_back(geographic(deg(-1.0), deg(2.0)));
    return pts;
}

// The same points as grid coordinates of one zone code.
std::vector<geodCoord> gridOf(int zone, ellipsoid ell)
{
    std::vector<geodCoord> pts = globe();
    for (geodCoord& p : pts) {
        p.lon = deg(3.0) + std::remainder(p.lon, deg(8.0)); // within 4 degrees of zone 31's meridian
        UTMGeod2Grid(zone, &ell, &p);
        p = grid(p.northing, p.easting);
    }
    pts[7] = grid(kNaN, 500000.0);
    return pts;
}

} // namespace

TEST(UtmBatch, ForwardIsBitIdenticalToOnePoint)
{
    ellipsoid ell = grs80();
    for (int zone : {0, 31, 91}) {
        const int failed = expectSameAsOnePoint(
            globe(), [&](geodCoord* p) { return UTMGeod2Grid(zone, &ell, p); },
            [&](std::vector<geodCoord>& pts, int* status) {
                std::vector<int32_t> zones(pts.size());
                for (std::size_t i = 0; i < pts.size(); ++i) zones[i] = pts[i].utmZone;
                const int r = UTMGeod2GridBatch(zone, &ell, pts.size(), inField(pts, &geodCoord::lat),
                                                inField(pts, &geodCoord::lon), outField(pts, &geodCoord::northing),
                                                outField(pts, &geodCoord::easting), outField(pts, &geodCoord::gridScale),
                                                outField(pts, &geodCoord::convergence), zones.data(), status);
                for (std::size_t i = 0; i < pts.size(); ++i) pts[i].utmZone = zones[i];
                return r;
            });
        EXPECT_EQ(failed, zone == 0 ? 2 : 0) << "zone " << zone;
    }
}

TEST(UtmBatch, InverseIsBitIdenticalToOnePoint)
{
    ellipsoid ell = wgs84();
    for (int zone : {31, 91}) {
        expectSameAsOnePoint(
            gridOf(zone, ell), [&](geodCoord* p) { return UTMGrid2Geod(zone, &ell, p); },
            [&](std::vector<geodCoord>& pts, int* status) {
                return UTMGrid2GeodBatch(zone, &ell, pts.size(), inField(pts, &geodCoord::northing),
                                         inField(pts, &geodCoord::easting), outField(pts, &geodCoord::lat),
                                         outField(pts, &geodCoord::lon), outField(pts, &geodCoord::gridScale),
                                         outField(pts, &geodCoord::convergence), status);
            });
    }
}

// Optional outputs may be left out; unusable calls write nothing, not even a status.
TEST(UtmBatch, OptionalOutputsAndRefusedCalls)
{
    ellipsoid ell = grs80();
    ellipsoid flat{}; // zero axes
    const double lat[2] = {deg(52.0), deg(-33.0)};
    const double lon[2] = {deg(4.0), deg(18.0)};
    double n[2] = {-1.0, -1.0};
    double e[2] = {-1.0, -1.0};
    int status[2] = {-7, -7};
    const batchIn latC{lat, sizeof(double)};
    const batchIn lonC{lon, sizeof(double)};
    const batchOut nC{n, sizeof(double)};
    const batchOut eC{e, sizeof(double)};
    const batchOut none{nullptr, 0};

    struct Refused {
        int zone;
        ellipsoid* ell;
        batchIn lat;
        batchOut northing;
        int* status;
    };
    for (const Refused& r : {Refused{121, &ell, latC, nC, status}, Refused{-1, &ell, latC, nC, status},
                             Refused{0, &flat, latC, nC, status}, Refused{0, nullptr, latC, nC, status},
                             Refused{0, &ell, {nullptr, 8}, nC, status}, Refused{0, &ell, latC, none, status}}) {
        EXPECT_EQ(UTMGeod2GridBatch(r.zone, r.ell, 2, r.lat, lonC, r.northing, eC, none, none, nullptr, r.status),
                  kvBatchRefused);
        EXPECT_EQ(status[0], -7);
        EXPECT_EQ(n[0], -1.0);
    }
    EXPECT_EQ(UTMGeod2GridBatch(0, &ell, 2, latC, lonC, nC, eC, none, none, nullptr, nullptr), kvBatchRefused);
    EXPECT_EQ(UTMGrid2GeodBatch(0, &ell, 2, latC, lonC, nC, eC, none, none, status), kvBatchRefused);
    EXPECT_EQ(UTMGeod2GridBatch(0, nullptr, 0, {nullptr, 0}, {nullptr, 0}, none, none, none, none, nullptr, nullptr),
              kvBatchAllConverted);

    // A stride of 0 gives every point the same value.
    ASSERT_EQ(UTMGeod2GridBatch(31, &ell, 2, {lat, 0}, {lon, 0}, nC, eC, none, none, nullptr, status),
              kvBatchAllConverted);
    EXPECT_EQ(n[0], n[1]);
    EXPECT_EQ(e[0], e[1]);
}

// The stand-alone record: UTM zone 32 south on GRS 80, with points it refuses (a NaN, a
// latitude beyond the pole) in mid-batch, and a record no point can use refused whole.
TEST(StandaloneTmBatch, IsBitIdenticalToOnePointAndRefusesUnusableRecords)
{
    zoneCnstntTM zc{};
    ASSERT_EQ(initUTMZone(32, 1, grs80(), &zc), 0);
    std::vector<geodCoord> pts = globe();
    for (geodCoord& p : pts) p.lon = deg(9.0) + std::remainder(p.lon, deg(8.0));
    pts[5].lat = deg(91.0);
    EXPECT_EQ(expectSameAsOnePoint(
                  pts, [&](geodCoord* p) { return latLong2XY_TransverseMercator(zc, p); },
                  [&](std::vector<geodCoord>& v, int* status) {
                      return latLong2XY_TransverseMercatorBatch(
                          &zc, v.size(), inField(v, &geodCoord::lat), inField(v, &geodCoord::lon),
                          outField(v, &geodCoord::northing), outField(v, &geodCoord::easting),
                          outField(v, &geodCoord::gridScale), outField(v, &geodCoord::convergence), status);
                  }),
              2);

    for (geodCoord& p : pts) {
        latLong2XY_TransverseMercator(zc, &p);
        p = grid(p.northing, p.easting);
    }
    pts[9].easting = std::numeric_limits<double>::infinity();
    EXPECT_EQ(expectSameAsOnePoint(
                  pts, [&](geodCoord* p) { return XY_TransverseMercator2latLong(zc, p); },
                  [&](std::vector<geodCoord>& v, int* status) {
                      return XY_TransverseMercator2latLongBatch(
                          &zc, v.size(), inField(v, &geodCoord::northing), inField(v, &geodCoord::easting),
                          outField(v, &geodCoord::lat), outField(v, &geodCoord::lon), outField(v, &geodCoord::gridScale),
                          outField(v, &geodCoord::convergence), status);
                  }),
              1);

    zc.scaleFactor = 0.0;
    std::vector<geodCoord> one{geographic(deg(50.0), deg(9.0))};
    int status = -7;
    EXPECT_EQ(latLong2XY_TransverseMercatorBatch(&zc, 1, inField(one, &geodCoord::lat), inField(one, &geodCoord::lon),
                                                 outField(one, &geodCoord::northing),
                                                 outField(one, &geodCoord::easting), {nullptr, 0}, {nullptr, 0}, &status),
              kvBatchRefused);
    EXPECT_EQ(status, -7);
    EXPECT_EQ(one[0].northing, 0.0);
}
