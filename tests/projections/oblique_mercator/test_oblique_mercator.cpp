// Hotine oblique Mercator on zone constants, on the state plane 1983 Alaska zone 1:
// the manual's published zone constants, round trips and bad input. The zone's reference
// points and its projection centre are checked through the state plane table.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "kelvane/oblique_mercator.h"
#include "projections/oblique_mercator/oblique_mercator.h"
#include "support/test_support.h"

using namespace ktest;

namespace {

zoneCnstnt alaskaZone1()
{
    zoneCnstnt z;
    std::memset(&z, 0, sizeof z);
    z.projection = 2;
    z.centralMeridian = std::atan(-0.75);
    z.scaleFactor = 0.9999;
    z.falseNorthing = -5000000.0;
    z.falseEasting = 5000000.0;
    z.originLat = deg(57);
    z.originLon = deg(133, 40);
    return z;
}


TEST(ObliqueMercatorConstants, AlaskaZone1AsPublished)
{
    for (const kelvane::ObliqueMercatorConstants& c :
         {kelvane::obliqueMercatorConstantsForward(grs80(), alaskaZone1()),
          kelvane::obliqueMercatorConstantsInverse(grs80(), alaskaZone1())}) {
        EXPECT_NEAR(c.B, 1.0002964614, 1e-10);
        EXPECT_NEAR(c.H0, 0.0044268339, 1e-10);
        EXPECT_NEAR(c.D, 6386186.73253, 1e-5);
        EXPECT_NEAR(c.sinAlpha0, -0.3270129554, 1e-10);
        EXPECT_NEAR(c.cosAlpha0, 0.9450198553, 1e-10);
        EXPECT_NEAR(c.F, 1.0015589177, 1e-10);
        EXPECT_NEAR(c.lambda0 * 180.0 / kPi, 101.513839560, 1e-9);
    }
}

TEST(ObliqueMercatorPoints, RoundTripsOverSoutheastAlaska)
{
    ellipsoid ell = grs80();
    zoneCnstnt z = alaskaZone1();
    for (double lat = 54.5; lat <= 60.0; lat += 0.5) {
        for (double lon = 130.0; lon <= 141.0; lon += 1.0) {
            geodCoord p = geographic(deg(lat), deg(lon));
            p.elev = 42.0;
            ASSERT_EQ(geod2OM(&ell, &z, &p), 0);
            geodCoord q = p;
            q.lat = q.lon = q.gridScale = q.convergence = 0.0;
            ASSERT_EQ(OM2Geod(&ell, &z, &q), 0);
            EXPECT_NEAR(q.lat, p.lat, 1e-12) << lat << " " << lon;
            EXPECT_NEAR(q.lon, p.lon, 1e-12) << lat << " " << lon;
            EXPECT_NEAR(q.gridScale, p.gridScale, 1e-12);
            EXPECT_NEAR(q.convergence, p.convergence, 1e-12);
            EXPECT_EQ(q.northing, p.northing);
            EXPECT_EQ(q.easting, p.easting);
            EXPECT_EQ(q.elev, 42.0);
        }
    }
}

// The header's contract: a zero axis (forward) or a missing record is refused with 1 and
// not a byte changed; the pole and NaN input finish with status 0.
TEST(ObliqueMercatorContract, RefusalsLeaveEverythingUntouched)
{
    zoneCnstnt z = alaskaZone1();
    geodCoord p = geographic(deg(57), deg(134));
    p.northing = 1.0;
    p.easting = 2.0;
    p.gridScale = 3.0;
    p.convergence = 4.0;
    const geodCoord before = p;
    for (int which = 0; which < 2; ++which) {
        ellipsoid ell = grs80();
        (which == 0 ? ell.semiMinor : ell.semiMajor) = 0.0;
        EXPECT_EQ(geod2OM(&ell, &z, &p), 1);
    }
    ellipsoid ell = grs80();
    for (auto f : {geod2OM, OM2Geod}) {
        EXPECT_EQ(f(nullptr, &z, &p), 1);
        EXPECT_EQ(f(&ell, nullptr, &p), 1);
        EXPECT_EQ(f(&ell, &z, nullptr), 1);
    }
    double t = 5.0;
    EXPECT_EQ(omArcToChord(nullptr, &z, &p, &p, &t), 1);
    EXPECT_EQ(omArcToChord(&ell, &z, &p, nullptr, &t), 1);
    EXPECT_EQ(omArcToChord(&ell, &z, &p, &p, nullptr), 1);
    EXPECT_EQ(t, 5.0);
    EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0);

    geodCoord pole = geographic(deg(90), deg(134));
    EXPECT_EQ(geod2OM(&ell, &z, &pole), 0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    geodCoord q = geographic(nan, nan);
    EXPECT_EQ(geod2OM(&ell, &z, &q), 0);
    EXPECT_TRUE(std::isnan(q.northing));
    q.northing = nan;
    EXPECT_EQ(OM2Geod(&ell, &z, &q), 0);
    EXPECT_TRUE(std::isnan(q.lat));
}

} // namespace
