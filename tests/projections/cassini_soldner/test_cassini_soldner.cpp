// Cassini-Soldner: the USGS, EPSG and IOGP worked examples, the error word bit by bit,
// the module-wide parameter set, and round trips within the warning distance.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "kelvane/cassini_soldner.h"
#include "support/test_support.h"

using namespace ktest;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

zoneCnstntCassini cassiniZone(double a, double f, double originLat, double centralMeridian, double fe, double fn)
{
    zoneCnstntCassini z;
    std::memset(&z, 0, sizeof z);
    initEllipsoid(&z.ell, a, f);
    z.originLat = originLat;
    z.centralMeridian = centralMeridian;
    z.falseEasting = fe;
    z.falseNorthing = fn;
    return z;
}

const double kGrs80F = 0.0033528106811836675;
zoneCnstntCassini clarke1866Snyder()
{
    return cassiniZone(6378206.4, (6378206.4 - 6356583.8) / 6378206.4, deg(40), deg(-75), 0.0, 0.0);
}
zoneCnstntCassini trinidadLinks()
{
    return cassiniZone(31706587.88, 1.0 / 294.2606764, deg(10, 26, 30), deg(-61, -20), 430000.00, 325000.00);
}
zoneCnstntCassini johor()
{
    return cassiniZone(6378137.0, kGrs80F, deg(2, 7, 18.04708), deg(103, 25, 40.57045), -14810.562, 8758.32);
}

// Before any set-up there is no parameter set: the conversions refuse with the semi-major
// axis bit. (Each test runs in a process of its own under ctest; this one comes first.)
TEST(CassiniParameterSet, ConversionsBeforeAnySetupAreRefused)
{
    double e = 1.0, n = 2.0;
    EXPECT_EQ(cassiniForward(0.1, 0.1, &e, &n), kvCassiniSemiMajorAxis);
    EXPECT_EQ(cassiniInverse(0.0, 0.0, &e, &n), kvCassiniSemiMajorAxis);
    EXPECT_EQ(e, 1.0);
    EXPECT_EQ(n, 2.0);
}

TEST(CassiniWorkedExamples, UsgsClarke1866AndEpsgTrinidadInLinks)
{
    zoneCnstntCassini z = clarke1866Snyder();
    geodCoord p = geographic(deg(43), deg(-73));
    p.gridScale = 5.0;
    p.convergence = 6.0;
    ASSERT_EQ(latLong2XY_CassiniSoldner(&z, &p), 0);
    EXPECT_NEAR(p.easting, 163071.1, 0.06);
    EXPECT_NEAR(p.northing, 335127.6, 0.06);
    EXPECT_EQ(p.gridScale, 5.0); // neither direction writes scale or convergence
    EXPECT_EQ(p.convergence, 6.0);
    geodCoord back = grid(p.northing, p.easting);
    ASSERT_EQ(XY2latLong2_CassiniSoldner(&z, &back), 0);
    EXPECT_LT(std::fabs(back.lat - deg(43)) * 6.378e6, 0.004); // the inverse series leaves ~3 mm
    EXPECT_NEAR(back.lon, deg(-73), 1e-12);

    zoneCnstntCassini t = trinidadLinks();
    geodCoord q = geographic(deg(10), deg(-62));
    ASSERT_EQ(latLong2XY_CassiniSoldner(&t, &q), 0);
    EXPECT_NEAR(q.easting, 66644.94, 0.01);
    EXPECT_NEAR(q.northing, 82536.22, 0.01);
    geodCoord r = grid(82536.22, 66644.94);
    ASSERT_EQ(XY2latLong2_CassiniSoldner(&t, &r), 0);
    EXPECT_NEAR(r.lat, deg(10), deg(0, 0, 0.001));
    EXPECT_NEAR(r.lon, deg(-62), deg(0, 0, 0.001));
}

// IOGP GIGS 5108 (Johor Grid): the warning bit is set beyond 4 degrees from the central
// meridian, in both directions, and the coordinates are written all the same.
TEST(CassiniWorkedExamples, GigsJohorRowsAndTheFourDegreeWarning)
{
    const struct { double lat, lon, E, N; int word; } rows[] = {
        {2.04246768, 103.5610658, 0.0, 0.0, 0},               // 5108-09
        {5.0, 106.0, 270427.255, 327597.962, 0},              // 5108-06
        {5.0, 107.0, 381324.74, 328117.472, 0},               // 5108-14
        {5.0, 108.0, 492221.308, 328807.336, kvCassiniFarFromMeridian}, // 5108-13
        {5.0, 109.0, 603116.703, 329668.599, kvCassiniFarFromMeridian}, // 5108-12
    };
    for (const auto& row : rows) {
        zoneCnstntCassini z = johor();
        geodCoord p = geographic(deg(row.lat), deg(row.lon));
        EXPECT_EQ(latLong2XY_CassiniSoldner(&z, &p), row.word) << row.lon;
        EXPECT_NEAR(p.easting, row.E, 0.05) << row.lon;
        EXPECT_NEAR(p.northing, row.N, 0.05) << row.lon;
        geodCoord q = grid(row.N, row.E);
        EXPECT_EQ(XY2latLong2_CassiniSoldner(&z, &q), row.word) << row.lon;
        EXPECT_LT(std::hypot(q.lat - deg(row.lat), (q.lon - deg(row.lon)) * std::cos(q.lat)) * 6.378e6, 0.05)
            << row.lon;
    }
}

TEST(CassiniIdentities, OriginPolesAndAFoldedCentralMeridian)
{
    zoneCnstntCassini z = cassiniZone(6378137.0, kGrs80F, deg(35), deg(20), 1234.5, -678.25);
    geodCoord origin = geographic(deg(35), deg(20));
    ASSERT_EQ(latLong2XY_CassiniSoldner(&z, &origin), 0);
    EXPECT_EQ(origin.easting, 1234.5);
    EXPECT_EQ(origin.northing, -678.25);

    // A footpoint within 1e-5 rad of a pole gives the pole on the central meridian.
    geodCoord north = geographic(deg(90), deg(20));
    ASSERT_EQ(latLong2XY_CassiniSoldner(&z, &north), 0);
    geodCoord pole = grid(north.northing - 10.0, 1234.5 + 50.0);
    ASSERT_EQ(XY2latLong2_CassiniSoldner(&z, &pole), 0);
    EXPECT_EQ(pole.lat, kPi / 2.0);
    EXPECT_EQ(pole.lon, deg(20));
    geodCoord south = geographic(-deg(90), deg(20));
    ASSERT_EQ(latLong2XY_CassiniSoldner(&z, &south), 0);
    geodCoord southPole = grid(south.northing + 10.0, 1234.5);
    ASSERT_EQ(XY2latLong2_CassiniSoldner(&z, &southPole), 0);
    EXPECT_EQ(southPole.lat, -kPi / 2.0);

    // A central meridian of 200 degrees is accepted and folded to -160. The warning is
    // judged on the longitude difference before it is folded, so a point given as 200
    // degrees warns although it lies on the meridian.
    zoneCnstntCassini far = cassiniZone(6378137.0, kGrs80F, 0.0, deg(200), 0.0, 0.0);
    for (double lon : {deg(200), deg(-160)}) {
        geodCoord p = geographic(deg(10), lon);
        ASSERT_EQ(latLong2XY_CassiniSoldner(&far, &p), lon > 0.0 ? kvCassiniFarFromMeridian : 0);
        EXPECT_NEAR(p.easting, 0.0, 1e-6);
    }
    geodCoord q = grid(1000.0, 0.0);
    ASSERT_EQ(XY2latLong2_CassiniSoldner(&far, &q), 0);
    EXPECT_NEAR(q.lon, deg(-160), 1e-15);
}

TEST(CassiniRoundTrip, WithinFourDegreesOfTheCentralMeridian)
{
    double worst3 = 0.0;
    double worst4 = 0.0;
    for (double phi0 : {0.0, 30.0, 55.0}) {
        zoneCnstntCassini z = cassiniZone(6378137.0, kGrs80F, deg(phi0), deg(-100), 500000.0, 100000.0);
        for (double dLat = -10.0; dLat <= 10.01; dLat += 1.0) {
            for (double dLon = -3.9; dLon <= 3.91; dLon += 0.3) {
                geodCoord p = geographic(deg(phi0 + dLat), deg(-100 + dLon));
                ASSERT_EQ(latLong2XY_CassiniSoldner(&z, &p), 0);
                geodCoord q = grid(p.northing, p.easting);
                ASSERT_EQ(XY2latLong2_CassiniSoldner(&z, &q), 0);
                const double error = std::hypot(q.lat - p.lat, (q.lon - p.lon) * std::cos(p.lat)) * 6.378e6;
                (std::fabs(dLon) <= 3.0 ? worst3 : worst4) = std::fmax(std::fabs(dLon) <= 3.0 ? worst3 : worst4, error);
            }
        }
    }
    EXPECT_LT(worst3, 0.02);
    EXPECT_LT(worst4, 0.06);
    std::printf("Cassini round trip, 0-65 N: %.4f m within 3 deg, %.4f m within 4 deg of the meridian\n", worst3,
                worst4);
}

// Every bit of the error word, each set by an input that should set it; any bit but the
// warning leaves the outputs untouched.
TEST(CassiniErrorWord, EveryBitSetByItsInput)
{
    const double a = 6378137.0;
    EXPECT_EQ(cassiniSetup(a, kGrs80F, deg(10), deg(20), 0.0, 0.0), 0);
    const struct { double a, f, lat0, lon0, fe; int word; } setups[] = {
        {0.0, kGrs80F, 0.0, 0.0, 0.0, kvCassiniSemiMajorAxis},
        {-1.0, kGrs80F, 0.0, 0.0, 0.0, kvCassiniSemiMajorAxis},
        {kNaN, kGrs80F, 0.0, 0.0, 0.0, kvCassiniSemiMajorAxis},
        {a, 1.0 / 200.0, 0.0, 0.0, 0.0, kvCassiniFlattening},
        {a, 1.0 / 351.0, 0.0, 0.0, 0.0, kvCassiniFlattening},
        {a, 0.0, 0.0, 0.0, 0.0, kvCassiniFlattening},
        {a, kGrs80F, deg(90.01), 0.0, 0.0, kvCassiniOriginLatRange},
        {a, kGrs80F, kNaN, 0.0, 0.0, kvCassiniOriginLatRange},
        {a, kGrs80F, 0.0, -3.2, 0.0, kvCassiniCentralMeridianRange},
        {a, kGrs80F, 0.0, 6.3, 0.0, kvCassiniCentralMeridianRange},
        {a, kGrs80F, 0.0, 0.0, kNaN, kvCassiniBadArgument},
        {0.0, 1.0 / 200.0, deg(-91), 7.0, 0.0, 0xF0},
    };
    for (const auto& s : setups) {
        EXPECT_EQ(cassiniSetup(s.a, s.f, s.lat0, s.lon0, s.fe, 0.0), s.word) << s.word;
    }
    // The failed set-ups left the first parameter set in place.
    double e = 0.0, n = 0.0;
    EXPECT_EQ(cassiniForward(deg(10), deg(20), &e, &n), 0);
    EXPECT_EQ(e, 0.0);
    EXPECT_EQ(n, 0.0);

    const struct { double lat, lon; int word; } forwards[] = {
        {deg(100), deg(20), kvCassiniLatitudeRange},
        {kNaN, deg(20), kvCassiniLatitudeRange},
        {deg(10), -3.2, kvCassiniLongitudeRange},
        {deg(10), 6.3, kvCassiniLongitudeRange},
        {deg(10), kNaN, kvCassiniLongitudeRange},
        {deg(-95), 9.0, kvCassiniLatitudeRange | kvCassiniLongitudeRange},
    };
    for (const auto& f : forwards) {
        double east = 11.0, north = 22.0;
        EXPECT_EQ(cassiniForward(f.lat, f.lon, &east, &north), f.word);
        EXPECT_EQ(east, 11.0);
        EXPECT_EQ(north, 22.0);
    }
    const struct { double E, N; int word; } inverses[] = {
        {20037508.5, 0.0, kvCassiniEastingRange},
        {-20037508.5, 0.0, kvCassiniEastingRange},
        {kNaN, 0.0, kvCassiniEastingRange},
        {0.0, 1e9, kvCassiniNorthingRange},
        {0.0, -1e9, kvCassiniNorthingRange},
        {0.0, kNaN, kvCassiniNorthingRange},
        {-3e7, 3e9, kvCassiniEastingRange | kvCassiniNorthingRange},
    };
    for (const auto& i : inverses) {
        double lat = 11.0, lon = 22.0;
        EXPECT_EQ(cassiniInverse(i.E, i.N, &lat, &lon), i.word);
        EXPECT_EQ(lat, 11.0);
        EXPECT_EQ(lon, 22.0);
    }

    // The warning alone writes both coordinates; 5 degrees from the central meridian.
    zoneCnstntCassini z = cassiniZone(a, kGrs80F, deg(10), deg(20), 0.0, 0.0);
    geodCoord p = geographic(deg(12), deg(25));
    EXPECT_EQ(latLong2XY_CassiniSoldner(&z, &p), 256);
    EXPECT_GT(p.easting, 500000.0);
    EXPECT_GT(p.northing, 200000.0);

    // The record's set-up errors come first, and nothing is written.
    geodCoord q = geographic(deg(100), deg(20));
    const geodCoord before = q;
    z.ell.semiMajor = 0.0;
    EXPECT_EQ(latLong2XY_CassiniSoldner(&z, &q), kvCassiniSemiMajorAxis);
    z = cassiniZone(a, 1.0 / 200.0, deg(10), deg(20), 0.0, 0.0);
    EXPECT_EQ(XY2latLong2_CassiniSoldner(&z, &q), kvCassiniFlattening);
    z = cassiniZone(a, kGrs80F, deg(10), deg(20), 0.0, 0.0);
    EXPECT_EQ(latLong2XY_CassiniSoldner(&z, &q), kvCassiniLatitudeRange);
    EXPECT_EQ(std::memcmp(&q, &before, sizeof q), 0);
    EXPECT_EQ(latLong2XY_CassiniSoldner(&z, nullptr), kvCassiniBadArgument);
    EXPECT_EQ(cassiniForward(0.0, 0.0, nullptr, &e), kvCassiniBadArgument);
    EXPECT_EQ(cassiniInverse(0.0, 0.0, &e, nullptr), kvCassiniBadArgument);
}

// The grid limits: the northings of +-31 degrees half a world away, 0.1 m of tolerance.
TEST(CassiniErrorWord, NorthingLimitsCarryATenthOfAMetre)
{
    ASSERT_EQ(cassiniSetup(6378137.0, kGrs80F, 0.0, deg(30), 0.0, 0.0), 0);
    double e = 0.0, limit = 0.0;
    EXPECT_EQ(cassiniForward(deg(31), deg(-150), &e, &limit), kvCassiniFarFromMeridian);
    double lat = 0.0, lon = 0.0;
    EXPECT_EQ(cassiniInverse(0.0, limit + 0.05, &lat, &lon) & ~kvCassiniFarFromMeridian, 0);
    EXPECT_EQ(cassiniInverse(0.0, limit + 0.2, &lat, &lon), kvCassiniNorthingRange);
    EXPECT_EQ(cassiniInverse(19926188.9, 0.0, &lat, &lon) & kvCassiniEastingRange, 0);
    EXPECT_EQ(cassiniInverse(19926189.0, 0.0, &lat, &lon), kvCassiniEastingRange);
}

} // namespace
