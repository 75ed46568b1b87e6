// Lambert conformal conic on zone constants: published worked examples (EPSG, USGS,
// NGS, IOGP), the manual's derived zone constants, and the projection's identities.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "kelvane/lambert.h"
#include "projections/lambert/lambert.h"
#include "support/test_support.h"

using namespace ktest;

namespace {

// Angles in radians, central meridian positive west.
zoneCnstnt lambertZone(double south, double north, double originLat, double originLonWest, double fn, double fe)
{
    zoneCnstnt z;
    std::memset(&z, 0, sizeof z);
    z.projection = 1;
    z.southParallel = south;
    z.northParallel = north;
    z.originLat = originLat;
    z.originLon = originLonWest;
    z.falseNorthing = fn;
    z.falseEasting = fe;
    return z;
}

zoneCnstnt wisconsinSouth() { return lambertZone(deg(42, 44), deg(44, 4), deg(42), deg(90), 0.0, 600000.0); }
zoneCnstnt utahNorth() { return lambertZone(deg(40, 43), deg(41, 47), deg(40, 20), deg(111, 30), 1000000.0, 500000.0); }


// Published reference points, longitudes positive west, each run forward and (where the
// source prints the grid values to invert) backwards. EPSG GN7-2 Texas South Central
// (NAD27, US survey feet, 0.01 ft); USGS PP 1395 (Clarke 1866, 0.1 m); IOGP GIGS 5103
// Belgian Lambert 72 (International 1924), whose grid origin at the north pole makes Rb 0
// and measures northings from the pole (IOGP's tolerances per row).
TEST(LambertWorkedExamples, ReferencePoints)
{
    const zoneCnstnt texas = lambertZone(deg(28, 23), deg(30, 17), deg(27, 50), deg(99), 0.0, 2000000.0 * kFtUS);
    const zoneCnstnt belgian = lambertZone(deg(49, 50, 0.00204), deg(51, 10, 0.00204), deg(90), -deg(4, 22, 2.952),
                                           5400088.438, 150000.013);
    struct Row {
        const char* source;
        ellipsoid ell;
        zoneCnstnt zone;
        double lat, lonWest, northing, easting, tolN, tolE;
        bool inverse;
    };
    const ellipsoid clarkeTexas = makeEllipsoid(6378206.4, 1.0 / 294.97870);
    const ellipsoid intl = international1924();
    const Row rows[] = {
        {"EPSG Texas South Central", clarkeTexas, texas, deg(28, 30), deg(96), 254759.80 * kFtUS, 2963503.91 * kFtUS,
         0.01 * kFtUS, 0.01 * kFtUS, true},
        {"Snyder PP1395", clarke1866(), lambertZone(deg(33), deg(45), deg(23), deg(96), 0.0, 0.0), deg(35), deg(75),
         1564649.5, 1894410.9, 0.06, 0.06, false},
        {"GIGS 5103 Belgian 1", intl, belgian, deg(58), -deg(5), 969521.653, 187742.7, 0.001, 0.05, false},
        {"GIGS 5103 Belgian 2", intl, belgian, deg(52.15616056), -deg(5.387638889), 316827.604, 219843.841, 0.002,
         0.002, false},
        {"GIGS 5103 Belgian 3", intl, belgian, deg(49), -deg(4), -34711.068, 123101.889, 0.001, 0.001, true},
        {"GIGS 5103 Belgian 4", intl, belgian, deg(53), -deg(11), 430202.63, 595117.95, 0.005, 0.005, false},
    };
    for (const Row& r : rows) {
        ellipsoid ell = r.ell;
        zoneCnstnt z = r.zone;
        geodCoord p = geographic(r.lat, r.lonWest);
        ASSERT_EQ(geod2Lambert(&ell, &z, &p), 0) << r.source;
        EXPECT_NEAR(p.northing, r.northing, r.tolN) << r.source;
        EXPECT_NEAR(p.easting, r.easting, r.tolE) << r.source;
        if (!r.inverse) continue;
        geodCoord q = grid(r.northing, r.easting);
        ASSERT_EQ(Lambert2Geod(&ell, &z, &q), 0) << r.source;
        EXPECT_LT(groundDistance(r.lat, r.lonWest, q.lat, q.lon), 0.01) << r.source;
    }
    // Texas: theta of the published intermediates; Snyder: the printed k; Belgian: Rb = 0.
    ellipsoid ell = rows[0].ell;
    zoneCnstnt z = texas;
    geodCoord p = geographic(deg(28, 30), deg(96));
    ASSERT_EQ(geod2Lambert(&ell, &z, &p), 0);
    EXPECT_NEAR(p.convergence, 0.025651765, 1e-9);
    ellipsoid clarke = clarke1866();
    zoneCnstnt snyder = rows[1].zone;
    geodCoord k = geographic(deg(35), deg(75));
    ASSERT_EQ(geod2Lambert(&clarke, &snyder, &k), 0);
    EXPECT_NEAR(k.gridScale, 0.9970171, 6e-8);
    kelvane::LambertConstants c{};
    ASSERT_TRUE(kelvane::lambertConstants(intl, belgian, c));
    EXPECT_EQ(c.Rb, 0.0);
}

TEST(LambertWorkedExamples, NgsDerivedZoneConstants)
{
    const ellipsoid ell = grs80();
    kelvane::LambertConstants c{};
    ASSERT_TRUE(kelvane::lambertConstants(ell, wisconsinSouth(), c));
    EXPECT_NEAR(c.n, 0.687103235566, 1e-12);
    EXPECT_NEAR(c.K, 12012072.0457, 1e-4);
    EXPECT_NEAR(c.Rb, 6910290.1546, 1e-4);

    const zoneCnstnt nc = lambertZone(deg(34, 20), deg(36, 10), deg(33, 45), deg(79), 0.0, 609601.22);
    ASSERT_TRUE(kelvane::lambertConstants(ell, nc, c));
    EXPECT_NEAR(c.n, 0.577170255241, 1e-12);
    EXPECT_NEAR(c.K, 13178320.6222, 1e-4);
    EXPECT_NEAR(c.Rb, 9199785.5932, 1e-4);

    // On the central meridian at the central parallel: northing No = Rb - Ro, scale k0.
    ellipsoid e = grs80();
    zoneCnstnt wi = wisconsinSouth();
    geodCoord p = geographic(std::asin(0.687103235566), deg(90));
    ASSERT_EQ(geod2Lambert(&e, &wi, &p), 0);
    EXPECT_NEAR(p.northing, 155664.2988, 2e-4);
    EXPECT_NEAR(p.gridScale, 0.999932547079, 1e-12);
}

TEST(LambertIdentities, RoundTripReturnsPointScaleAndConvergence)
{
    ellipsoid ell = grs80();
    zoneCnstnt z = lambertZone(deg(40), deg(41, 40), deg(39, 20), deg(122), 500000.0, 2000000.0);
    geodCoord p = geographic(deg(41), deg(121));
    p.elev = 123.25;
    p.spare = 7;
    p.utmZone = 11;
    ASSERT_EQ(geod2Lambert(&ell, &z, &p), 0);
    EXPECT_EQ(p.lat, deg(41));
    EXPECT_EQ(p.lon, deg(121));
    EXPECT_EQ(p.elev, 123.25);
    EXPECT_EQ(p.spare, 7);
    EXPECT_EQ(p.utmZone, 11);

    geodCoord q = p;
    q.lat = q.lon = q.gridScale = q.convergence = 0.0;
    ASSERT_EQ(Lambert2Geod(&ell, &z, &q), 0);
    EXPECT_EQ(q.northing, p.northing);
    EXPECT_EQ(q.easting, p.easting);
    EXPECT_NEAR(q.lat, p.lat, 1e-14);
    EXPECT_NEAR(q.convergence, p.convergence, 1e-14);
}

// The header's contract: a tangent cone, a zero axis (forward) or a missing record is
// refused with 1 and not a byte changed; NaN input finishes with status 0.
TEST(LambertContract, RefusalsLeaveEverythingUntouched)
{
    ellipsoid ell = grs80();
    zoneCnstnt tangent = lambertZone(deg(40), deg(40), deg(39), deg(100), 0.0, 500000.0);
    geodCoord p = geographic(deg(40.5), deg(100.5));
    p.northing = 11.0;
    p.easting = 22.0;
    p.gridScale = 33.0;
    p.convergence = 44.0;
    const geodCoord before = p;
    double t = 5.0;
    EXPECT_EQ(geod2Lambert(&ell, &tangent, &p), 1);
    EXPECT_EQ(Lambert2Geod(&ell, &tangent, &p), 1);
    EXPECT_EQ(lambertArcToChord(&ell, &tangent, &p, &p, &t), 1);

    zoneCnstnt z = utahNorth();
    for (int which = 0; which < 2; ++which) {
        ellipsoid empty = grs80();
        (which == 0 ? empty.semiMinor : empty.semiMajor) = 0.0;
        EXPECT_EQ(geod2Lambert(&empty, &z, &p), 1);
    }
    for (auto f : {geod2Lambert, Lambert2Geod}) {
        EXPECT_EQ(f(nullptr, &z, &p), 1);
        EXPECT_EQ(f(&ell, nullptr, &p), 1);
        EXPECT_EQ(f(&ell, &z, nullptr), 1);
    }
    EXPECT_EQ(lambertArcToChord(nullptr, &z, &p, &p, &t), 1);
    EXPECT_EQ(lambertArcToChord(&ell, &z, &p, nullptr, &t), 1);
    EXPECT_EQ(lambertArcToChord(&ell, &z, &p, &p, nullptr), 1);
    EXPECT_EQ(t, 5.0);
    EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    geodCoord g = grid(nan, 500000.0);
    EXPECT_EQ(Lambert2Geod(&ell, &z, &g), 0);
    EXPECT_TRUE(std::isnan(g.lat));
    geodCoord q = geographic(nan, nan);
    EXPECT_EQ(geod2Lambert(&ell, &z, &q), 0);
    EXPECT_TRUE(std::isnan(q.northing));
}

} // namespace
