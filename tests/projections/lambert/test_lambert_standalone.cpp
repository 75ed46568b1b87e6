// The stand-alone Lambert record and lambert_calc: the EPSG Texas South Central and USGS
// examples through both, agreement with the zone-constant form, lambert_calc's identities
// and its bounded inverse, and the record's refusals of bad input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "kelvane/lambert.h"
#include "support/test_support.h"

using namespace ktest;

namespace {

// Central meridian positive WEST, as the record stores it.
zoneCnstntLambert record(ellipsoid ell, double south, double north, double originLat, double cmWest, double fn,
                         double fe)
{
    zoneCnstntLambert z;
    std::memset(&z, 0, sizeof z);
    z.ell = ell;
    z.southParallel = south;
    z.northParallel = north;
    z.originLat = originLat;
    z.centralMeridian = cmWest;
    z.falseNorthing = fn;
    z.falseEasting = fe;
    return z;
}

// The lambert_calc zone: central meridian positive EAST, grid origin in calcOriginLat.
zoneCnstnt calcZone(double south, double north, double originLat, double cmEast, double k0, double fn, double fe)
{
    zoneCnstnt z;
    std::memset(&z, 0, sizeof z);
    z.southParallel = south;
    z.northParallel = north;
    z.calcOriginLat = originLat;
    z.centralMeridian = cmEast;
    z.scaleFactor = k0;
    z.falseNorthing = fn;
    z.falseEasting = fe;
    return z;
}

struct Calc {
    double x, y, k, gamma;
};
Calc calc(ellipsoid ell, zoneCnstnt zone, double y, double x, int direction)
{
    Calc r{};
    lambert_calc(&ell, &zone, y, x, &r.x, &r.y, &r.k, &r.gamma, direction);
    return r;
}

TEST(LambertStandAloneExamples, EpsgTexasSouthCentral)
{
    // In metres through the record.
    const ellipsoid clarke = makeEllipsoid(6378206.4, 1.0 / 294.97870);
    zoneCnstntLambert zl = record(clarke, deg(28, 23), deg(30, 17), deg(27, 50), deg(99), 0.0, 609601.2192);
    geodCoord p = geographic(deg(28, 30), -deg(96));
    ASSERT_EQ(latLong2XY_Lambert(&zl, &p), 0);
    EXPECT_NEAR(p.easting / kFtUS, 2963503.91, 0.01);
    EXPECT_NEAR(p.northing / kFtUS, 254759.80, 0.01);
    EXPECT_NEAR(p.convergence, 0.025651765, 1e-9);
    EXPECT_EQ(p.lon, -deg(96));

    // The same arithmetic as the zone-constant form, to the bit.
    ellipsoid ell = clarke;
    zoneCnstnt zone{};
    zone.southParallel = zl.southParallel;
    zone.northParallel = zl.northParallel;
    zone.originLat = zl.originLat;
    zone.originLon = zl.centralMeridian;
    zone.falseEasting = zl.falseEasting;
    geodCoord q = geographic(deg(28, 30), deg(96));
    ASSERT_EQ(geod2Lambert(&ell, &zone, &q), 0);
    EXPECT_EQ(p.northing, q.northing);
    EXPECT_EQ(p.easting, q.easting);
    EXPECT_EQ(p.gridScale, q.gridScale);
    EXPECT_EQ(p.convergence, q.convergence);

    // In US survey feet through lambert_calc, both ways.
    const ellipsoid feet = makeEllipsoid(20925832.16, 1.0 / 294.97870);
    const zoneCnstnt z = calcZone(deg(28, 23), deg(30, 17), deg(27, 50), -deg(99), 1.0, 0.0, 2000000.0);
    const Calc fwd = calc(feet, z, deg(28, 30), -deg(96), 1);
    EXPECT_NEAR(fwd.x, 2963503.91, 0.01);
    EXPECT_NEAR(fwd.y, 254759.80, 0.01);
    EXPECT_NEAR(fwd.gamma, 0.02565177, 1e-8);
    const Calc inv = calc(feet, z, 254759.80, 2963503.91, 0);
    EXPECT_NEAR(inv.y, deg(28, 30), 5e-9); // the published 0.001 arc-second
    EXPECT_NEAR(inv.x, -deg(96), 5e-9);
    EXPECT_NEAR(inv.gamma, 0.025651765, 1e-9);
}

TEST(LambertStandAloneExamples, UsgsClarke1866)
{
    const ellipsoid clarke = clarke1866();
    zoneCnstntLambert zl = record(clarke, deg(33), deg(45), deg(23), deg(96), 0.0, 0.0);
    geodCoord p = geographic(deg(35), -deg(75));
    ASSERT_EQ(latLong2XY_Lambert(&zl, &p), 0);
    EXPECT_NEAR(p.easting, 1894410.9, 0.06);
    EXPECT_NEAR(p.northing, 1564649.5, 0.06);
    EXPECT_NEAR(p.gridScale, 0.9970171, 6e-8);

    const zoneCnstnt z = calcZone(deg(33), deg(45), deg(23), -deg(96), 1.0, 0.0, 0.0);
    const Calc fwd = calc(clarke, z, deg(35), -deg(75), 1);
    EXPECT_NEAR(fwd.x, 1894410.9, 0.06);
    EXPECT_NEAR(fwd.y, 1564649.5, 0.06);
    EXPECT_NEAR(fwd.k, 0.9970171, 6e-8);
    EXPECT_NEAR(fwd.gamma, deg(13.2404256), 1e-9);
    const Calc inv = calc(clarke, z, fwd.y, fwd.x, 2);
    EXPECT_NEAR(inv.y, deg(35), 1e-9);
    EXPECT_NEAR(inv.x, -deg(75), 1e-12);
    EXPECT_NEAR(inv.k, fwd.k, 1e-9);
}

TEST(LambertCalc, OriginStandardParallelsAndScale)
{
    const ellipsoid grs = grs80();
    for (double k0 : {1.0, 0.9999}) {
        const zoneCnstnt z = calcZone(deg(40), deg(41, 40), deg(39, 20), -deg(122), k0, 500000.0, 2000000.0);
        const Calc origin = calc(grs, z, deg(39, 20), -deg(122), 1);
        EXPECT_NEAR(origin.x, 2000000.0, 1e-8);
        EXPECT_NEAR(origin.y, 500000.0, 1e-8);
        EXPECT_EQ(origin.gamma, 0.0);
        for (int direction : {0, 2, -1}) {
            const Calc back = calc(grs, z, 500000.0, 2000000.0, direction);
            EXPECT_NEAR(back.y, deg(39, 20), 1e-9);
            EXPECT_NEAR(back.x, -deg(122), 1e-15);
        }
        EXPECT_NEAR(calc(grs, z, deg(40), -deg(121), 1).k, k0, 1e-14);
        EXPECT_NEAR(calc(grs, z, deg(41, 40), -deg(123), 1).k, k0, 1e-14);
    }
}

// Forward then inverse over 30 by 60 degrees about the origin; the loop's 1e-7 step leaves
// the latitude within about 1e-9.
TEST(LambertCalc, RoundTripsInBothHemispheresAndOnATangentCone)
{
    const ellipsoid grs = grs80();
    const zoneCnstnt zones[] = {
        calcZone(deg(33), deg(45), deg(23), -deg(96), 0.9999, 0.0, 0.0),
        calcZone(deg(-45), deg(-33), deg(-23), deg(135), 1.0, 10000000.0, 500000.0), // the cone opens north
        calcZone(deg(40), deg(40), deg(40), deg(10), 0.9996, 0.0, 0.0),              // one parallel
    };
    for (const zoneCnstnt& z : zones) {
        double worstLat = 0.0, worstLon = 0.0;
        for (double dLat = -15.0; dLat <= 15.0; dLat += 2.5) {
            for (double dLon = -30.0; dLon <= 30.0; dLon += 5.0) {
                const double phi = z.calcOriginLat + deg(dLat), lambda = z.centralMeridian + deg(dLon);
                const Calc f = calc(grs, z, phi, lambda, 1);
                const Calc b = calc(grs, z, f.y, f.x, 0);
                worstLat = std::max(worstLat, std::fabs(b.y - phi));
                worstLon = std::max(worstLon, std::fabs(b.x - lambda));
                EXPECT_NEAR(b.k, f.k, 1e-8);
                EXPECT_NEAR(b.gamma, f.gamma, 1e-14);
            }
        }
        EXPECT_LT(worstLat, 2e-9);
        EXPECT_LT(worstLon, 1e-13);
    }
    // The tangent cone takes n = sin(origin latitude): scale k0 on its one parallel.
    EXPECT_NEAR(calc(grs, zones[2], deg(40), deg(12), 1).k, 0.9996, 1e-14);
}

TEST(LambertCalc, BadInputEndsWithNaNAndNullsAreSkipped)
{
    ellipsoid grs = grs80();
    zoneCnstnt z = calcZone(deg(33), deg(45), deg(23), -deg(96), 1.0, 0.0, 0.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Calc c = calc(grs, z, nan, 1.0e6, 0); // the bounded loop runs out and returns
    EXPECT_TRUE(std::isnan(c.y));
    double x = 7.0;
    lambert_calc(&grs, &z, deg(35), -deg(75), &x, nullptr, nullptr, nullptr, 1);
    EXPECT_NEAR(x, 1894410.9, 1.0e3);
    x = 7.0;
    lambert_calc(nullptr, &z, 0.0, 0.0, &x, nullptr, nullptr, nullptr, 1);
    lambert_calc(&grs, nullptr, 0.0, 0.0, &x, nullptr, nullptr, nullptr, 1);
    EXPECT_EQ(x, 7.0);
}

TEST(LambertStandAloneBadInput, RefusedWithTheRecordsUntouched)
{
    const zoneCnstntLambert good =
        record(grs80(), deg(40), deg(41, 40), deg(39, 20), deg(122), 0, 0);
    struct Case {
        const char* what;
        void (*spoil)(zoneCnstntLambert&, geodCoord&);
    } const cases[] = {
        {"semi-minor 0", [](zoneCnstntLambert& z, geodCoord&) { z.ell.semiMinor = 0.0; }},
        {"semi-major 0", [](zoneCnstntLambert& z, geodCoord&) { z.ell.semiMajor = 0.0; }},
        {"negative a", [](zoneCnstntLambert& z, geodCoord&) { z.ell.semiMajor = -6378137.0; }},
        {"eccentricity 1", [](zoneCnstntLambert& z, geodCoord&) { z.ell.ecc = 1.0; }},
        {"equal parallels", [](zoneCnstntLambert& z, geodCoord&) { z.northParallel = z.southParallel; }},
        {"opposite parallels", [](zoneCnstntLambert& z, geodCoord&) { z.northParallel = -z.southParallel; }},
        {"parallel at the pole", [](zoneCnstntLambert& z, geodCoord&) { z.northParallel = 2.0 * std::atan(1.0); }},
        {"parallel beyond the pole", [](zoneCnstntLambert& z, geodCoord&) { z.northParallel = 2.0; }},
        {"NaN origin", [](zoneCnstntLambert& z, geodCoord&) { z.originLat = std::nan(""); }},
        {"infinite meridian", [](zoneCnstntLambert& z, geodCoord&) { z.centralMeridian = HUGE_VAL; }},
        {"NaN latitude", [](zoneCnstntLambert&, geodCoord& p) { p.lat = std::nan(""); }},
        {"latitude beyond the pole", [](zoneCnstntLambert&, geodCoord& p) { p.lat = 1.6; }},
        {"infinite longitude", [](zoneCnstntLambert&, geodCoord& p) { p.lon = -HUGE_VAL; }},
        {"the south pole", [](zoneCnstntLambert&, geodCoord& p) { p.lat = -2.0 * std::atan(1.0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        zoneCnstntLambert z = good;
        geodCoord p = geographic(deg(41), -deg(121));
        p.northing = p.easting = p.gridScale = p.convergence = 12345.0;
        c.spoil(z, p);
        const zoneCnstntLambert zBefore = z;
        const geodCoord pBefore = p;
        EXPECT_EQ(latLong2XY_Lambert(&z, &p), 1);
        EXPECT_EQ(std::memcmp(&p, &pBefore, sizeof p), 0);
        EXPECT_EQ(std::memcmp(&z, &zBefore, sizeof z), 0);
    }
    zoneCnstntLambert z = good;
    geodCoord p = geographic(2.0 * std::atan(1.0), 0.0); // the north pole is the cone's apex
    EXPECT_EQ(latLong2XY_Lambert(&z, &p), 0);
    EXPECT_EQ(latLong2XY_Lambert(nullptr, &p), 1);
    EXPECT_EQ(latLong2XY_Lambert(&z, nullptr), 1);
}

} // namespace
