// The New Brunswick stereographic grid: its definition, the reference points computed
// for it, round trips over the province, and the zone fields left alone.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "kelvane/stereographic.h"
#include "support/test_support.h"

using namespace ktest;

namespace {

TEST(NewBrunswick, DefinitionCentreAndReferencePoints)
{
    // lat, lon (east positive), northing, easting, scale, convergence (degrees).
    const struct { double lat, lon, N, E, k, gammaDeg; } rows[] = {
        {46.5, -66.5, 7500000.0000, 2500000.0000, 0.999912, 0.0},
        {46.0, -66.0, 7444548.5102, 2538728.8375, 0.9999401070, 0.361186585},
        {47.0, -67.5, 7556061.8482, 2423950.3906, 0.9999668432, -0.728386744},
        {45.5, -64.5, 7390818.3188, 2656305.4907, 1.0001353426, 1.438806152},
        {47.9, -68.5, 7657553.9893, 2350461.3187, 1.0002018995, -1.467640324},
    };
    for (const auto& r : rows) {
        geodCoord p = geographic(deg(r.lat), deg(r.lon));
        latLongToXY_newBrunswickStereographic(&p);
        EXPECT_NEAR(p.northing, r.N, 1e-4) << r.lat;
        EXPECT_NEAR(p.easting, r.E, 1e-4) << r.lat;
        EXPECT_NEAR(p.gridScale, r.k, 1e-10) << r.lat;
        EXPECT_NEAR(p.convergence, deg(r.gammaDeg), deg(2e-9)) << r.lat;

        geodCoord q = grid(p.northing, p.easting);
        XYToLatLong_newBrunswickStereographic(&q);
        EXPECT_NEAR(q.lat, deg(r.lat), 1e-12) << r.lat;
        EXPECT_NEAR(q.lon, deg(r.lon), 1e-12) << r.lat;
        EXPECT_NEAR(q.convergence, p.convergence, 1e-12);
    }
}

TEST(NewBrunswick, RoundTripsOverTheProvince)
{
    auto forward = [](geodCoord& p) { return latLongToXY_newBrunswickStereographic(&p), 0; };
    auto inverse = [](geodCoord& p) { return XYToLatLong_newBrunswickStereographic(&p), 0; };
    double worst = 0.0;
    for (double lat = 44.5; lat <= 48.11; lat += 0.1) {
        for (double lon = -69.1; lon <= -63.7; lon += 0.15) {
            worst = std::fmax(worst, geographicRoundTrip(geographic(deg(lat), deg(lon)), forward, inverse));
        }
    }
    EXPECT_LT(worst, 1e-6);
    std::printf("New Brunswick round trip, 44.5-48.1 N, 63.7-69.1 W: %.2g m\n", worst);
}

TEST(NewBrunswick, InitialisationWritesOnlyTheFiveZoneFields)
{
    zoneCnstnt zone;
    std::memset(&zone, 0xAB, sizeof zone);
    zoneCnstnt expected = zone;
    ellipsoid ell;
    std::memset(&ell, 0xCD, sizeof ell);
    initNewBrunswickParams(&ell, &zone);
    expected.originLat = 46.5 * kPi / 180.0; // as the grid defines it, to the bit
    expected.centralMeridian = -66.5 * kPi / 180.0;
    expected.scaleFactor = 0.999912;
    expected.falseNorthing = 7500000.0;
    expected.falseEasting = 2500000.0;
    EXPECT_EQ(std::memcmp(&zone, &expected, sizeof zone), 0);
    EXPECT_EQ(ell.semiMajor, 6378137.0);
    EXPECT_EQ(ell.flattening, 0.0033528106811836675);
    initNewBrunswickParams(nullptr, nullptr);
    latLongToXY_newBrunswickStereographic(nullptr);
    XYToLatLong_newBrunswickStereographic(nullptr);
}

} // namespace
