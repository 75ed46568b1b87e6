// Krovak oblique conic: the EPSG S-JTSK worked example, identities of the projection
// centre and the cone apex, round trips over the grid's area, and refused input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "kelvane/krovak.h"
#include "support/test_support.h"

using ktest::geographic;
using ktest::grid;
using ktest::kPi;

namespace {

// Degrees as d pi / 180: the apex identity below holds to the last bit of the cone axis.
double deg(double d, double m = 0.0, double s = 0.0) { return (d + m / 60.0 + s / 3600.0) * kPi / 180.0; }

// S-JTSK / Krovak on Bessel 1841, longitudes from Greenwich, no false origin.
zoneCnstntKrovakObliqueConic sjtsk()
{
    zoneCnstntKrovakObliqueConic z;
    std::memset(&z, 0, sizeof z);
    initEllipsoid(&z.ellipsoidDef, 6377397.155, 1.0 / 299.15281);
    z.centreLat = deg(49, 30);
    z.originLon = deg(24, 50);
    z.coneAxisColat = deg(30, 17, 17.30311);
    z.pseudoParallelLat = deg(78, 30);
    z.pseudoParallelScale = 0.9999;
    return z;
}

// Ground distance of a latitude and longitude difference, in metres.
double groundError(double dLat, double dLon, double lat) { return std::hypot(dLat, dLon * std::cos(lat)) * 6.38e6; }

TEST(KrovakWorkedExamples, EpsgSjtskBothDirectionsWithTheAxesAsAssigned)
{
    zoneCnstntKrovakObliqueConic z = sjtsk();
    geodCoord p = geographic(deg(50, 12, 32.442), deg(16, 50, 59.179));
    p.gridScale = 7.0;
    p.convergence = -3.0;
    ASSERT_EQ(latLong2XY_KrovakObliqueConic(&z, &p), 0);
    EXPECT_NEAR(p.northing, 568991.00, 0.015);  // Krovak Y, the westing
    EXPECT_NEAR(p.easting, 1050538.64, 0.015);  // Krovak X, the southing
    EXPECT_EQ(p.gridScale, 7.0);
    EXPECT_EQ(p.convergence, -3.0);

    geodCoord q = grid(568991.00, 1050538.64);
    q.gridScale = 7.0;
    ASSERT_EQ(XY2latLong_KrovakObliqueConic(&z, &q), 0);
    // Published to 0.001" (3 cm); the three-pass latitude adds about a centimetre.
    EXPECT_LT(groundError(q.lat - deg(50, 12, 32.442), q.lon - deg(16, 50, 59.179), q.lat), 0.03);
    EXPECT_EQ(q.gridScale, 7.0);
    EXPECT_EQ(q.northing, 568991.00);

    // The same example with Ferro longitudes and false values added to both axes.
    z.originLon = deg(42, 30);
    z.falseNorthing = 1000.0;
    z.falseEasting = -2000.0;
    geodCoord f = geographic(deg(50, 12, 32.442), deg(34, 30, 59.179));
    ASSERT_EQ(latLong2XY_KrovakObliqueConic(&z, &f), 0);
    EXPECT_NEAR(f.northing, 568991.00 + 1000.0, 0.015);
    EXPECT_NEAR(f.easting, 1050538.64 - 2000.0, 0.015);
}

TEST(KrovakIdentities, CentreLiesOnTheXAxisAndTheApexIsThePoleOfTheConeAxis)
{
    zoneCnstntKrovakObliqueConic z = sjtsk();
    z.falseNorthing = 5000.0;
    z.falseEasting = 7000.0;
    geodCoord centre = geographic(z.centreLat, z.originLon);
    ASSERT_EQ(latLong2XY_KrovakObliqueConic(&z, &centre), 0);
    EXPECT_EQ(centre.northing, 5000.0);
    EXPECT_NEAR(centre.easting - 7000.0, 1159048.160, 0.001);

    // The apex (both offsets 0) divides 0 by 0 in the specified quotient; it is the point
    // whose conformal latitude is 90 degrees minus the cone axis co-latitude, on the
    // origin meridian, and it projects back onto the apex.
    geodCoord apex = grid(5000.0, 7000.0);
    ASSERT_EQ(XY2latLong_KrovakObliqueConic(&z, &apex), 0);
    EXPECT_EQ(apex.lon, z.originLon);
    EXPECT_TRUE(apex.lat > deg(59) && apex.lat < deg(60)) << apex.lat; // conformal 59 deg 42.7'
    ASSERT_EQ(latLong2XY_KrovakObliqueConic(&z, &apex), 0);
    EXPECT_NEAR(apex.northing, 5000.0, 1e-3);
    EXPECT_NEAR(apex.easting, 7000.0, 1e-3);

    // Off the apex on the line easting = false easting the quotient is infinite and the
    // arc tangent takes its limit: a position comes back, with status 0.
    geodCoord side = grid(5000.0 + 1000.0, 7000.0);
    ASSERT_EQ(XY2latLong_KrovakObliqueConic(&z, &side), 0);
    EXPECT_TRUE(std::isfinite(side.lat) && std::isfinite(side.lon));
}

TEST(KrovakRoundTrip, WithinTwoDegreesOfTheCentreLatitudeTheThreePassInverseHoldsACentimetre)
{
    zoneCnstntKrovakObliqueConic z = sjtsk();
    double worstLat = 0.0;
    double worstLon = 0.0;
    for (double latDeg = 47.5; latDeg <= 51.51; latDeg += 0.25) {
        for (double lonDeg = 12.0; lonDeg <= 23.01; lonDeg += 0.5) {
            geodCoord p = geographic(deg(latDeg), deg(lonDeg));
            ASSERT_EQ(latLong2XY_KrovakObliqueConic(&z, &p), 0);
            geodCoord q = grid(p.northing, p.easting);
            ASSERT_EQ(XY2latLong_KrovakObliqueConic(&z, &q), 0);
            const double latError = std::fabs(q.lat - p.lat) * 6.38e6;
            const double lonError = std::fabs(q.lon - p.lon) * 6.38e6 * std::cos(p.lat);
            EXPECT_LT(lonError, 1e-6) << latDeg << " " << lonDeg;
            worstLon = std::fmax(worstLon, lonError);
            worstLat = std::fmax(worstLat, latError);
        }
    }
    EXPECT_LT(worstLat, 0.012);
    std::printf("Krovak round trip, 47.5-51.5 N, 12-23 E: latitude %.4f m, longitude %.2g m\n", worstLat, worstLon);
}

TEST(KrovakBadInput, RefusedWithStatusOneAndThePointUntouched)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const zoneCnstntKrovakObliqueConic good = sjtsk();

    const struct { double lat, lon; } badPoints[] = {
        {nan, deg(15)}, {deg(50), nan}, {inf, deg(15)}, {deg(50), -inf}, {deg(90.5), deg(15)}, {deg(50), deg(400)},
    };
    for (const auto& b : badPoints) {
        zoneCnstntKrovakObliqueConic z = good;
        geodCoord p = geographic(b.lat, b.lon);
        p.northing = 11.0;
        p.easting = 22.0;
        const geodCoord before = p;
        EXPECT_EQ(latLong2XY_KrovakObliqueConic(&z, &p), 1) << b.lat << " " << b.lon;
        EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0);
    }
    for (const auto& g : {grid(nan, 1e6), grid(5e5, inf), grid(-inf, 1e6)}) {
        zoneCnstntKrovakObliqueConic z = good;
        geodCoord p = g;
        p.lat = 0.5;
        const geodCoord before = p;
        EXPECT_EQ(XY2latLong_KrovakObliqueConic(&z, &p), 1);
        EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0);
    }

    // Records that describe no Krovak projection.
    void (*const spoil[])(zoneCnstntKrovakObliqueConic&) = {
        [](zoneCnstntKrovakObliqueConic& z) { z.ellipsoidDef.semiMajor = 0.0; },
        [](zoneCnstntKrovakObliqueConic& z) { z.ellipsoidDef.ecc = 1.0; },
        [](zoneCnstntKrovakObliqueConic& z) { z.pseudoParallelLat = 0.0; },
        [](zoneCnstntKrovakObliqueConic& z) { z.pseudoParallelScale = 0.0; },
        [](zoneCnstntKrovakObliqueConic& z) { z.centreLat = std::numeric_limits<double>::quiet_NaN(); },
        [](zoneCnstntKrovakObliqueConic& z) { z.falseEasting = std::numeric_limits<double>::infinity(); },
    };
    for (auto s : spoil) {
        zoneCnstntKrovakObliqueConic z = good;
        s(z);
        const zoneCnstntKrovakObliqueConic zoneBefore = z;
        geodCoord p = geographic(deg(50), deg(15));
        const geodCoord before = p;
        EXPECT_EQ(latLong2XY_KrovakObliqueConic(&z, &p), 1);
        EXPECT_EQ(XY2latLong_KrovakObliqueConic(&z, &p), 1);
        EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0);
        EXPECT_EQ(std::memcmp(&z, &zoneBefore, sizeof z), 0);
    }

    zoneCnstntKrovakObliqueConic z = good;
    geodCoord p{};
    EXPECT_EQ(latLong2XY_KrovakObliqueConic(nullptr, &p), 1);
    EXPECT_EQ(XY2latLong_KrovakObliqueConic(&z, nullptr), 1);
}

} // namespace
