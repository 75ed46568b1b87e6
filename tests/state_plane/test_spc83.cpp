// State plane 1983: the zone table against the published definitions, conversions against
// the published worked examples, round trips over all 124 zones and the zone-name list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "kelvane/spc83.h"
#include "support/test_support.h"

using namespace ktest;

namespace {

double arcsec(double s) { return s * kArcSecond; }

class Spc83 : public ::testing::Test {
protected:
    void SetUp() override { init83ZoneConstants(); }
};

// The zone codes in table order, read back from the zone-name list.
std::vector<int> zoneCodes()
{
    std::vector<char> buf(4096);
    EXPECT_EQ(SPC83GetZoneLstS(buf.data(), static_cast<int>(buf.size())), 0);
    std::vector<int> codes;
    for (const char* p = buf.data(); *p;) {
        codes.push_back(std::atoi(p));
        p = std::strchr(p, '\n') + 1;
    }
    return codes;
}

zoneCnstnt zoneOf(int code)
{
    zoneCnstnt z{};
    EXPECT_EQ(initSPC83Zone(code, &z), 0) << code;
    return z;
}

geodCoord plane(double northing, double easting) { return grid(northing, easting); }

TEST_F(Spc83, ZoneLookupAndUnknownCodes)
{
    // The list runs from 0101 to 5200 (checked with the list below), Alaska 1 third.
    const std::vector<int> codes = zoneCodes();
    ASSERT_EQ(codes.size(), 124u);
    EXPECT_EQ(codes[2], 5001);
    int index = -7;
    for (int i = 0; i < 124; ++i) {
        ASSERT_EQ(getSPC83ZoneIndex(codes[i], &index), 0);
        EXPECT_EQ(index, i);
    }

    geodCoord p;
    std::memset(&p, 0x3c, sizeof p);
    const geodCoord before = p;
    zoneCnstnt z;
    std::memset(&z, 0x3c, sizeof z);
    const zoneCnstnt zoneBefore = z;
    index = -7;
    double tT = 5.5;
    for (int bad : {0, 100, 5011, -101, 1600000}) {
        EXPECT_EQ(invalidSPC83Zone(bad), 1) << bad;
        EXPECT_EQ(getSPC83ZoneIndex(bad, &index), 1) << bad;
        EXPECT_EQ(initSPC83Zone(bad, &z), 1) << bad;
        EXPECT_EQ(SPC83Grid2Geod(bad, &p), 1) << bad;
        EXPECT_EQ(SPC83Geod2Grid(bad, &p), 1) << bad;
        EXPECT_EQ(computeSPC83TmT(bad, 1, 2, 3, 4, 5, 6, &tT), 1) << bad;
    }
    EXPECT_EQ(index, -7);
    EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0);
    EXPECT_EQ(std::memcmp(&z, &zoneBefore, sizeof z), 0);
    EXPECT_EQ(tT, 5.5);

    // A null output is refused, not written through.
    EXPECT_EQ(initSPC83Zone(101, nullptr), 1);
    EXPECT_EQ(getSPC83ZoneIndex(101, nullptr), 1);
    EXPECT_EQ(SPC83Grid2Geod(101, nullptr), 1);
    EXPECT_EQ(SPC83Geod2Grid(101, nullptr), 1);
    EXPECT_EQ(computeSPC83TmT(101, 1, 2, 3, 4, 5, 6, nullptr), 1);
}

TEST_F(Spc83, TableRowsAsPublished)
{
    struct Row {
        int code, kind;
        double cm, k, north, south, fn, fe, lat0, lon0; // angles in degrees
    };
    const Row rows[] = {
        {101, 0, 85.83333333333333, 0.99996, 0, 0, 0, 200000, 30.5, 85.83333333333333},
        {1301, 0, 85.66666666666667, 0.9999666666666667, 0, 0, 250000, 100000, 37.5, 85.66666666666667},
        {5010, 1, 0, 0, 53.833333333333336, 51.833333333333336, 0, 1000000, 51, 176},
        {501, 1, 0, 0, 40.78333333333333, 39.71666666666667, 304800.6096, 914401.8289, 39.333333333333336, 105.5},
        {3200, 1, 0, 0, 36.166666666666664, 34.333333333333336, 0, 609601.22, 33.75, 79},
        {1600, 1, 0, 0, 38.666666666666664, 37.083333333333336, 1000000, 1500000, 36.333333333333336, 85.75},
    };
    const double toRad = kDeg;
    for (const Row& r : rows) {
        const zoneCnstnt z = zoneOf(r.code);
        EXPECT_EQ(z.projection, r.kind);
        EXPECT_EQ(z.centralMeridian, r.cm * toRad);
        EXPECT_EQ(z.scaleFactor, r.k);
        EXPECT_EQ(z.northParallel, r.north * toRad);
        EXPECT_EQ(z.southParallel, r.south * toRad);
        EXPECT_EQ(z.falseNorthing, r.fn);
        EXPECT_EQ(z.falseEasting, r.fe);
        EXPECT_EQ(z.originLat, r.lat0 * toRad);
        EXPECT_EQ(z.originLon, r.lon0 * toRad);
        EXPECT_EQ(z.calcOriginLat, 0.0);
        EXPECT_EQ(z.spare, 0);
        EXPECT_EQ(z.trailing, 0.0);
    }

    const zoneCnstnt alaska1 = zoneOf(5001);
    EXPECT_EQ(alaska1.projection, 2);
    EXPECT_EQ(alaska1.centralMeridian, std::atan(-0.75));
    EXPECT_EQ(alaska1.scaleFactor, 0.9999);
    EXPECT_EQ(alaska1.falseNorthing, -5000000.0);
    EXPECT_EQ(alaska1.falseEasting, 5000000.0);
    EXPECT_EQ(alaska1.originLat, 57 * toRad);
    EXPECT_EQ(alaska1.originLon, 133.66666666666666 * toRad);
    EXPECT_EQ(alaska1.northParallel, 0.0);
}

TEST_F(Spc83, AlabamaEastFalseOrigin)
{
    geodCoord p = plane(0.0, 200000.0);
    ASSERT_EQ(SPC83Grid2Geod(101, &p), 0);
    EXPECT_NEAR(p.lat, deg(30, 30), 1e-12); // the footpoint series, truncated
    EXPECT_NEAR(p.lon, -deg(85, 50), 1e-12);
    EXPECT_NEAR(p.gridScale, 0.99996, 1e-15);
    EXPECT_NEAR(p.convergence, 0.0, 1e-15);
    EXPECT_EQ(p.northing, 0.0);
    EXPECT_EQ(p.easting, 200000.0);
}

// Forward conversions to the published (Wisconsin South) and cross-checked reference
// values, each with the tolerance its printed digits allow.
TEST_F(Spc83, ReferencePoints)
{
    struct Reference {
        int zone;
        double lat, lonEast, n, e, k, gammaSec, tolMetres, tolScale, tolSec;
    };
    const Reference refs[] = {
        {101, deg(32), deg(-85), 166607.5100, 278742.3617, 1.0000364372, 26 * 60 + 29.840, 2e-4, 1e-10, 0.001},
        {101, deg(33.5), deg(-86.5), 332846.3800, 138053.5648, 1.0000072911, -(22 * 60 + 4.691), 2e-4, 1e-10, 0.001},
        {1301, deg(40), deg(-85), 527730.5276, 156927.5663, 1.0000065468, 25 * 60 + 42.732, 2e-4, 1e-10, 0.001},
        {1301, deg(39.2), deg(-86.2), 438834.5487, 53930.9991, 0.9999927887, -(20 * 60 + 13.518), 2e-4, 1e-10, 0.001},
        {4803, deg(42, 33, 0.01150), -deg(89, 15, 56.24590), 61367.006, 660318.626, 1.0000420, 30 * 60 + 16.5,
         0.001, 1e-7, 0.1},
        {4803, deg(42, 31, 37.32888), -deg(89, 5, 58.04271), 58949.532, 673994.015, 1.0000480, 37 * 60 + 7.5,
         0.001, 1e-7, 0.1},
        {5001, deg(58.5), deg(-135), 742902.5217, 740933.6477, 0.9999181227, -(67 * 60 + 22.291), 0.001, 1e-10, 0.001},
        {5001, deg(55.5), deg(-131), 411358.3359, 987154.6261, 0.9999164028, 2 * 3600 + 12 * 60 + 41.800, 0.001,
         1e-10, 0.001},
        // The projection centre lies on the central line (v = 0): scale k0, no convergence.
        {5001, deg(57), -deg(133, 40), 575097.6886, 818676.7336, 0.9999, 0.0, 0.001, 1e-12, 1e-12 / kArcSecond},
    };
    for (const Reference& r : refs) {
        geodCoord p = geographic(r.lat, r.lonEast);
        ASSERT_EQ(SPC83Geod2Grid(r.zone, &p), 0);
        EXPECT_NEAR(p.northing, r.n, r.tolMetres) << r.zone;
        EXPECT_NEAR(p.easting, r.e, r.tolMetres) << r.zone;
        EXPECT_NEAR(p.gridScale, r.k, r.tolScale) << r.zone;
        EXPECT_NEAR(p.convergence, arcsec(r.gammaSec), arcsec(r.tolSec)) << r.zone;
        EXPECT_EQ(p.lon, r.lonEast);
    }

    geodCoord back = plane(58949.532, 673994.015);
    ASSERT_EQ(SPC83Grid2Geod(4803, &back), 0);
    EXPECT_NEAR(back.lat, deg(42, 31, 37.32888), arcsec(0.0001));
    EXPECT_NEAR(back.lon, -deg(89, 5, 58.04271), arcsec(0.0001));
}

TEST_F(Spc83, UtahNorthGigsPoints)
{
    struct Row {
        double lat, lonEast, eFt, nFt;
    };
    const Row rows[] = {
        {49, -110, 2003933.266, 6452478.797},
        {43, -110, 2041850.997, 4256081.225},
        {41, -110, 2054432.46, 3527295.672},
        {41, -104, 3708029.155, 3613004.897},
    };
    for (const Row& r : rows) {
        geodCoord p = geographic(deg(r.lat), deg(r.lonEast));
        ASSERT_EQ(SPC83Geod2Grid(4301, &p), 0);
        EXPECT_NEAR(p.easting / kFtUS, r.eFt, 0.003);
        EXPECT_NEAR(p.northing / kFtUS, r.nFt, 0.003);
        geodCoord q = plane(r.nFt * kFtUS, r.eFt * kFtUS);
        ASSERT_EQ(SPC83Grid2Geod(4301, &q), 0);
        EXPECT_NEAR(q.lat, deg(r.lat), 1e-9);
        EXPECT_NEAR(q.lon, deg(r.lonEast), 1e-9);
    }
}

// Sample points over each zone: a lattice around its origin wide enough to cover the zone.
std::vector<geodCoord> samplePoints(const zoneCnstnt& z)
{
    std::vector<double> lats;
    std::vector<double> dLons;
    if (z.projection == 0) {
        for (double d : {0.2, 2.0, 4.0, 6.0}) lats.push_back(z.originLat + deg(d));
        dLons = {-deg(1.5), -deg(0.6), 0.0, deg(0.9), deg(1.5)};
    } else if (z.projection == 1) {
        const double span = z.northParallel - z.southParallel;
        for (double f : {-0.6, 0.0, 0.5, 1.0, 1.6}) lats.push_back(z.southParallel + f * span);
        const double width = z.zoneCode == 5010 ? 12.0 : 4.0; // the Aleutian zone is wide
        for (double f : {-1.0, -0.4, 0.0, 0.5, 1.0}) dLons.push_back(deg(width * f));
    } else {
        for (double d : {-3.0, -1.0, 0.0, 1.5, 3.0}) lats.push_back(z.originLat + deg(d));
        for (double d : {-5.0, -2.0, 0.0, 2.0, 5.0}) dLons.push_back(deg(d));
    }
    std::vector<geodCoord> points;
    for (double lat : lats) {
        for (double dLon : dLons) points.push_back(geographic(lat, -(z.originLon + dLon)));
    }
    return points;
}

TEST_F(Spc83, RoundTripsOverEveryZone)
{
    for (int code : zoneCodes()) {
        const zoneCnstnt z = zoneOf(code);
        for (geodCoord p : samplePoints(z)) {
            const geodCoord given = p;
            ASSERT_EQ(SPC83Geod2Grid(code, &p), 0);
            EXPECT_EQ(p.lat, given.lat);
            EXPECT_EQ(p.lon, given.lon);
            const geodCoord first = p; // a second call on the same record gives the same
            ASSERT_EQ(SPC83Geod2Grid(code, &p), 0);
            EXPECT_EQ(std::memcmp(&p, &first, sizeof p), 0);

            geodCoord back = plane(p.northing, p.easting);
            ASSERT_EQ(SPC83Grid2Geod(code, &back), 0);
            EXPECT_NEAR(back.lat, given.lat, 1e-9) << code;
            EXPECT_NEAR(back.lon, given.lon, 1e-9) << code;
            EXPECT_NEAR(back.gridScale, p.gridScale, 1e-9) << code;
            EXPECT_NEAR(back.convergence, p.convergence, 1e-9) << code;
        }
    }
}

TEST_F(Spc83, UnitScaleOnTheStandardParallelsOfEveryLambertZone)
{
    for (int code : zoneCodes()) {
        const zoneCnstnt z = zoneOf(code);
        if (z.projection != 1) continue;
        for (double phi : {z.southParallel, z.northParallel}) {
            for (double dLon : {-deg(2), 0.0, deg(1)}) {
                geodCoord p = geographic(phi, -(z.originLon + dLon));
                ASSERT_EQ(SPC83Geod2Grid(code, &p), 0);
                EXPECT_NEAR(p.gridScale, 1.0, 1e-13) << code;
            }
        }
    }
}

TEST_F(Spc83, NotANumberDoesNotCrash)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (int code : {101, 4803, 5001}) {
        geodCoord p = geographic(nan, nan);
        EXPECT_EQ(SPC83Geod2Grid(code, &p), 0);
        EXPECT_TRUE(std::isnan(p.northing));
        geodCoord q = plane(nan, 1e300);
        EXPECT_EQ(SPC83Grid2Geod(code, &q), 0);
        double tT = 0.0;
        EXPECT_EQ(computeSPC83TmT(code, nan, nan, nan, nan, nan, nan, &tT), 0);
    }
}

TEST(Spc83ZoneList, BufferContract)
{
    std::vector<char> buf(2500, '#');
    ASSERT_EQ(SPC83GetZoneLstS(buf.data(), 2412), 0);
    const std::string all(buf.data());
    EXPECT_EQ(all.size(), 2411u);
    EXPECT_EQ(all.substr(0, 18), "0101 Alabama East\n");
    EXPECT_EQ(all.substr(all.size() - 17), "5200 Puerto Rico\n");
    EXPECT_NE(all.find("\n1600 Kentucky Single Zone\n1601 Kentucky North\n"), std::string::npos);
    EXPECT_EQ(buf[2412], '#');

    std::fill(buf.begin(), buf.end(), '#');
    ASSERT_EQ(SPC83GetZoneLstS(buf.data(), 2411), 1);
    const std::string cut(buf.data());
    EXPECT_EQ(cut.size(), 2411u - std::strlen("5200 Puerto Rico\n"));
    EXPECT_EQ(cut.substr(cut.size() - 18), "4904 Wyoming West\n");
    EXPECT_EQ(buf[2411], '#');

    std::fill(buf.begin(), buf.end(), '#');
    ASSERT_EQ(SPC83GetZoneLstS(buf.data(), 1), 1);
    EXPECT_EQ(buf[0], '\0');
    EXPECT_EQ(buf[1], '#');

    std::fill(buf.begin(), buf.end(), '#');
    EXPECT_EQ(SPC83GetZoneLstS(buf.data(), 0), 1);
    EXPECT_EQ(SPC83GetZoneLstS(buf.data(), -5), 1);
    EXPECT_EQ(buf[0], '#');
}

} // namespace
