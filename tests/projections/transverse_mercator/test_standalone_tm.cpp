// The stand-alone Transverse Mercator (own record, longitudes positive east): published
// worked examples, agreement with the zone-record routines, the UTM builder and bad input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "kelvane/kelvane.h"
#include "support/test_support.h"

using namespace ktest;

namespace {

zoneCnstntTM tmRecord(const ellipsoid& ell, double lambda0East, double k0, double phi0, double falseNorthing,
                      double falseEasting)
{
    zoneCnstntTM z{};
    z.ell = ell;
    z.centralMeridian = -lambda0East;
    z.scaleFactor = k0;
    z.originLat = phi0;
    z.falseNorthing = falseNorthing;
    z.falseEasting = falseEasting;
    return z;
}

zoneCnstntTM utm(int zone, int hemisphere)
{
    zoneCnstntTM z{};
    EXPECT_EQ(initUTMZone(zone, hemisphere, grs80(), &z), 0);
    return z;
}

} // namespace

// EPSG Guidance Note 7-2: the British National Grid (Airy 1830), and the south-orientated
// Lo29 grid of Hartebeesthoek94 (WGS 84), whose westing and southing are the plain
// Transverse Mercator easting and northing with their signs changed. Both print to the
// centimetre; the exact ellipsoidal values lie within 1 cm of the print, hence 0.015 m.
TEST(StandaloneTransverseMercator, PublishedExamples)
{
    struct Row {
        const char* source;
        zoneCnstntTM zone;
        double lat, lonEast;        // rad
        double northing, easting;   // m
    };
    const Row rows[] = {
        {"EPSG GN7-2 British National Grid", tmRecord(airy1830(), dms(-2, 0, 0), 0.9996012717, dms(49, 0, 0),
                                                       -100000.0, 400000.0),
         dms(50, 30, 0), dms(0, 30, 0), 69740.50, 577274.99},
        {"EPSG GN7-2 Lo29 (south orientated)", tmRecord(wgs84(), dms(29, 0, 0), 1.0, 0.0, 0.0, 0.0),
         -dms(25, 43, 55.302), dms(28, 16, 57.479), -2847342.74, -71984.49},
    };
    for (const Row& r : rows) {
        geodCoord p = geographic(r.lat, r.lonEast);
        ASSERT_EQ(latLong2XY_TransverseMercator(r.zone, &p), 0) << r.source;
        EXPECT_NEAR(p.northing, r.northing, 0.015) << r.source;
        EXPECT_NEAR(p.easting, r.easting, 0.015) << r.source;
        EXPECT_EQ(p.lon, r.lonEast) << r.source;

        geodCoord q = grid(r.northing, r.easting);
        ASSERT_EQ(XY_TransverseMercator2latLong(r.zone, &q), 0) << r.source;
        EXPECT_LT(groundDistance(r.lat, r.lonEast, q.lat, q.lon), 0.015) << r.source;
    }
}

// One series: the stand-alone form gives bit for bit what geod2TM / TM2Geod give on the
// same zone, and what the UTM wrappers give for a northern zone.
TEST(StandaloneTransverseMercator, SameBitsAsTheZoneRecordRoutines)
{
    ellipsoid ell = grs80();
    const zoneCnstntTM standalone = utm(32, 0);
    zoneCnstnt record{};
    UTMInitializeZoneConstants(32, &record);
    for (double latDeg = -80.0; latDeg <= 84.0; latDeg += 8.2) {
        for (double lonDeg = 5.0; lonDeg <= 13.0; lonDeg += 0.9) {
            geodCoord a = geographic(deg(latDeg), deg(lonDeg));
            geodCoord b = geographic(deg(latDeg), -deg(lonDeg));
            ASSERT_EQ(latLong2XY_TransverseMercator(standalone, &a), 0);
            ASSERT_EQ(geod2TM(&ell, &record, &b), 0);
            EXPECT_EQ(a.northing, b.northing);
            EXPECT_EQ(a.easting, b.easting);
            EXPECT_EQ(a.gridScale, b.gridScale);
            EXPECT_EQ(a.convergence, b.convergence);

            geodCoord c = grid(a.northing, a.easting);
            geodCoord d = grid(a.northing, a.easting);
            ASSERT_EQ(XY_TransverseMercator2latLong(standalone, &c), 0);
            ASSERT_EQ(TM2Geod(&ell, &record, &d), 0);
            EXPECT_EQ(c.lat, d.lat);
            EXPECT_EQ(c.lon, -d.lon);
            EXPECT_EQ(c.gridScale, d.gridScale);
            EXPECT_EQ(c.convergence, d.convergence);

            if (latDeg >= 0.0) {
                geodCoord u = geographic(deg(latDeg), deg(lonDeg));
                UTMGeod2Grid(32, &ell, &u);
                EXPECT_EQ(u.northing, a.northing);
                EXPECT_EQ(u.easting, a.easting);
            }
        }
    }
}

TEST(StandaloneTransverseMercator, UtmZones)
{
    zoneCnstntTM z;
    std::memset(&z, 0x5a, sizeof z);
    const zoneCnstntTM before = z;
    EXPECT_EQ(initUTMZone(0, 0, grs80(), &z), 1);
    EXPECT_EQ(initUTMZone(61, 0, grs80(), &z), 1);
    EXPECT_EQ(std::memcmp(&z, &before, sizeof z), 0);

    ASSERT_EQ(initUTMZone(60, 0, grs80(), &z), 0);
    EXPECT_DOUBLE_EQ(z.centralMeridian, -deg(177.0));
    EXPECT_EQ(z.spareDouble, 0.0);
    EXPECT_EQ(z.spareInt, 0);
    EXPECT_EQ(z.ell.semiMajor, 6378137.0);

    // Zone 32 south: 10 S lies 10000000 m less the northing of 10 N, and converts back.
    const zoneCnstntTM south = utm(32, 1);
    EXPECT_EQ(south.falseNorthing, 10000000.0);
    geodCoord n = geographic(deg(10.0), deg(9.0));
    geodCoord s = geographic(-deg(10.0), deg(9.0));
    ASSERT_EQ(latLong2XY_TransverseMercator(utm(32, 0), &n), 0);
    ASSERT_EQ(latLong2XY_TransverseMercator(south, &s), 0);
    EXPECT_NEAR(s.northing, 10000000.0 - n.northing, 1e-6);
    geodCoord back = grid(s.northing, s.easting);
    ASSERT_EQ(XY_TransverseMercator2latLong(south, &back), 0);
    EXPECT_LT(groundDistance(-deg(10.0), deg(9.0), back.lat, back.lon), 1e-6);
}

// What cannot give a finite answer is refused with 1, and the point is left untouched.
TEST(StandaloneTransverseMercator, BadInputWritesNothing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const zoneCnstntTM good = utm(31, 0);
    struct Case {
        const char* what;
        zoneCnstntTM zone;
        double lat, lon, northing, easting;
    };
    auto with = [&](auto change) {
        zoneCnstntTM z = good;
        change(z);
        return z;
    };
    const Case cases[] = {
        {"NaN latitude / northing", good, nan, 0.05, nan, 500000.0},
        {"infinite longitude / easting", good, 0.5, inf, 5e6, inf},
        {"zero semi-major axis", with([](zoneCnstntTM& z) { z.ell.semiMajor = 0.0; }), 0.5, 0.05, 5e6, 5e5},
        {"negative semi-major axis", with([](zoneCnstntTM& z) { z.ell.semiMajor = -6378137.0; }), 0.5, 0.05, 5e6, 5e5},
        {"zero semi-minor axis", with([](zoneCnstntTM& z) { z.ell.semiMinor = 0.0; }), 0.5, 0.05, 5e6, 5e5},
        {"zero scale factor", with([](zoneCnstntTM& z) { z.scaleFactor = 0.0; }), 0.5, 0.05, 5e6, 5e5},
        {"negative scale factor", with([](zoneCnstntTM& z) { z.scaleFactor = -0.9996; }), 0.5, 0.05, 5e6, 5e5},
        {"NaN false easting", with([nan](zoneCnstntTM& z) { z.falseEasting = nan; }), 0.5, 0.05, 5e6, 5e5},
    };
    for (const Case& c : cases) {
        geodCoord p;
        std::memset(&p, 0x5a, sizeof p);
        p.lat = c.lat;
        p.lon = c.lon;
        p.northing = c.northing;
        p.easting = c.easting;
        const geodCoord before = p;
        EXPECT_EQ(latLong2XY_TransverseMercator(c.zone, &p), 1) << c.what;
        EXPECT_EQ(XY_TransverseMercator2latLong(c.zone, &p), 1) << c.what;
        EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0) << c.what;
    }
    geodCoord beyondPole = geographic(deg(90.5), 0.05);
    EXPECT_EQ(latLong2XY_TransverseMercator(good, &beyondPole), 1);
}
