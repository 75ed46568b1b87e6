// Hotine oblique Mercator with the grid origin at the projection centre (EPSG variant B),
// through the free functions and through the object: the EPSG Timbalai 1948 / RSO Borneo
// example and the IOGP GIGS 5105 rows, round trips, the east-west central line (azimuth of
// exactly 90 degrees) and the object's longitude wrapping.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "kelvane/oblique_mercator.h"
#include "projections/oblique_mercator/om_proj_center.h"
#include "support/test_support.h"

using namespace ktest;

namespace {

zoneCnstntObliqueMerc zone(double a, double f, double phiC, double lambdaC, double alphaC, double gammaC,
                           double k0, double fe, double fn)
{
    zoneCnstntObliqueMerc z{};
    initEllipsoid(&z.ell, a, f);
    z.centreLat = phiC;
    z.centreLon = lambdaC;
    z.azimuth = alphaC;
    z.rectifiedGridAngle = gammaC;
    z.scaleFactor = k0;
    z.falseEasting = fe;
    z.falseNorthing = fn;
    return z;
}

// Timbalai 1948 / RSO Borneo on Everest 1830 (1967 definition).
zoneCnstntObliqueMerc rsoBorneo()
{
    return zone(6377298.556, 1.0 / 300.8017, deg(4), deg(115), deg(53, 18, 56.9537), deg(53, 7, 48.3685),
                0.99984, 590476.87, 442857.65);
}

// The three ways to project one point: free function, object, one-point wrapper.
enum class Route { Free, Object, Wrapper };
const Route kRoutes[] = {Route::Free, Route::Object, Route::Wrapper};

geodCoord forward(zoneCnstntObliqueMerc z, geodCoord p, Route r)
{
    if (r == Route::Free) {
        EXPECT_EQ(latLong2XY_OMProjCenter(z, &p), 0);
    } else if (r == Route::Object) {
        OGCTObliqueMercator om;
        EXPECT_EQ(om.Init(z), 1);
        om.TransGeoToMap(&p);
    } else {
        EXPECT_EQ(latLong2XY_ObliqueMercator(&z, &p), 0);
    }
    return p;
}

geodCoord inverse(zoneCnstntObliqueMerc z, geodCoord p, Route r)
{
    if (r == Route::Free) {
        EXPECT_EQ(XY2latLong_OMProjCenter(z, &p), 0);
    } else if (r == Route::Object) {
        OGCTObliqueMercator om;
        om.Init(z);
        om.TransMapToGeo(&p);
    } else {
        EXPECT_EQ(XY2latLong_ObliqueMercator(&z, &p), 0);
    }
    return p;
}

TEST(OmProjCenterConstants, TimbalaiIntermediatesAsTabulated)
{
    double B, A, t0, D, H, G, gamma0, lambda0, uc, vc = 1.0, F;
    kelvane::omProjCenterConstants(rsoBorneo(), &B, &A, &t0, &D, &H, &G, &gamma0, &lambda0, &uc, &vc, &F);
    EXPECT_NEAR(B, 1.003303209, 1e-9);
    EXPECT_NEAR(A, 6376278.686, 1e-3);
    EXPECT_NEAR(t0, 0.932946976, 1e-9);
    EXPECT_NEAR(D, 1.002425787, 1e-9);
    EXPECT_NEAR(F, 1.072121256, 1e-9);
    EXPECT_NEAR(H, 1.000002991, 1e-9);
    EXPECT_NEAR(G, 0.069695469, 1e-9);
    EXPECT_NEAR(gamma0, 0.927295218, 1e-9);
    EXPECT_NEAR(lambda0, 1.914373469, 1e-9);
    EXPECT_NEAR(uc, 738096.094, 1e-3);
    EXPECT_EQ(vc, 0.0);
    EXPECT_EQ(kelvane::signOf(0.0), 1.0);
    EXPECT_EQ(kelvane::signOf(-1e-300), -1.0);
    EXPECT_EQ(kelvane::signOf(std::nan("")), 1.0);
}

TEST(OmProjCenterWorkedExamples, TimbalaiRsoBorneoEveryRouteBothWays)
{
    const double phi = deg(5, 23, 14.1129), lambda = deg(115, 48, 19.8196);
    for (Route r : kRoutes) {
        SCOPED_TRACE(static_cast<int>(r));
        geodCoord p = geographic(phi, lambda);
        p.gridScale = 7.0;
        p.convergence = 7.0;
        p = forward(rsoBorneo(), p, r);
        EXPECT_NEAR(p.easting, 679245.73, 0.005);
        EXPECT_NEAR(p.northing, 596562.78, 0.005);
        EXPECT_EQ(p.convergence, r == Route::Free ? 0.0 : 7.0);
        EXPECT_NEAR(p.gridScale, r == Route::Free ? 0.999900131 : 7.0, 1e-9);

        geodCoord q = grid(596562.78, 679245.73);
        q.convergence = 7.0;
        q = inverse(rsoBorneo(), q, r);
        EXPECT_NEAR(q.lat, phi, 2e-9); // the published 0.0001 arc-second
        EXPECT_NEAR(q.lon, lambda, 2e-9);
        EXPECT_EQ(q.convergence, r == Route::Free ? 0.0 : 7.0);
        if (r == Route::Free) {
            EXPECT_NEAR(q.gridScale, 0.999900131, 1e-9);
        }

        const geodCoord centre = forward(rsoBorneo(), geographic(deg(4), deg(115)), r);
        EXPECT_NEAR(centre.easting, 590476.87, 1e-6);
        EXPECT_NEAR(centre.northing, 442857.65, 1e-6);
        if (r == Route::Free) {
            EXPECT_NEAR(centre.gridScale, 0.99984, 1e-12);
        }

        const geodCoord west = forward(rsoBorneo(), geographic(deg(4.5), deg(114.5)), r);
        EXPECT_NEAR(west.easting, 534822.526, 1e-3);
        EXPECT_NEAR(west.northing, 497973.493, 1e-3);
    }
}

TEST(OmProjCenterWorkedExamples, GigsEastMalaysiaBrso)
{
    const zoneCnstntObliqueMerc z = zone(6378137.0, 0.0033528106811836675, deg(4), deg(115),
                                         deg(53, 18, 56.9158), deg(53, 7, 48.3685), 0.99984, 590521.147, 442890.861);
    struct Row { double lat, lon, e, n; } const rows[] = {
        {12, 117, 807919.144, 1329535.334}, {4, 115, 590521.147, 442890.861},
        {6, 123, 1475669.281, 673118.573},  {6, 114, 479068.802, 663798.63},
    };
    for (Route r : kRoutes) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.lon);
            const geodCoord p = forward(z, geographic(deg(row.lat), deg(row.lon)), r);
            EXPECT_NEAR(p.easting, row.e, 0.002);
            EXPECT_NEAR(p.northing, row.n, 0.002);
            const geodCoord q = inverse(z, grid(row.n, row.e), r);
            EXPECT_NEAR(q.lat, deg(row.lat), 1e-9);
            EXPECT_NEAR(q.lon, deg(row.lon), 1e-9);
        }
    }
}

// Forward then inverse over a 20-degree square about the centre; returns the largest
// latitude or longitude error in radians.
double worstRoundTrip(const zoneCnstntObliqueMerc& z, Route r)
{
    double worst = 0.0;
    for (double dLat = -10.0; dLat <= 10.0; dLat += 1.25) {
        for (double dLon = -10.0; dLon <= 10.0; dLon += 1.25) {
            const geodCoord p = forward(z, geographic(z.centreLat + deg(dLat), z.centreLon + deg(dLon)), r);
            const geodCoord q = inverse(z, grid(p.northing, p.easting), r);
            worst = std::max({worst, std::fabs(q.lat - (z.centreLat + deg(dLat))),
                              std::fabs(q.lon - (z.centreLon + deg(dLon)))});
        }
    }
    return worst;
}

TEST(OmProjCenterRoundTrips, TwentyDegreesAboutTheCentre)
{
    const zoneCnstntObliqueMerc south =
        zone(6378137.0, 0.0033528106811836675, deg(-35), deg(147), deg(-30), deg(-30), 0.9996, 400000, 800000);
    for (Route r : kRoutes) {
        EXPECT_LT(worstRoundTrip(rsoBorneo(), r), 1e-11);
        EXPECT_LT(worstRoundTrip(south, r), 1e-11);
    }
}

// A central line running due east at the centre (azimuth exactly 90 degrees), in both
// hemispheres, with and without a rectified grid rotation.
TEST(OmProjCenterEastWestLine, CentreMapsToFalseOriginAndInverseUndoesForward)
{
    const double halfPi = 4.0 * std::atan(1.0) / 2.0;
    for (double phiC : {deg(46.9524), deg(-18.9), deg(4)}) {
        for (double gammaC : {halfPi, 0.0}) {
            const zoneCnstntObliqueMerc z =
                zone(6377397.155, 1.0 / 299.1528128, phiC, deg(7.4395833), halfPi, gammaC, 1.0, 600000, 200000);
            for (Route r : kRoutes) {
                SCOPED_TRACE(phiC);
                const geodCoord c = forward(z, geographic(phiC, z.centreLon), r);
                EXPECT_NEAR(c.easting, 600000.0, 1e-6);
                EXPECT_NEAR(c.northing, 200000.0, 1e-6);
                const geodCoord back = inverse(z, grid(200000.0, 600000.0), r);
                EXPECT_NEAR(back.lat, phiC, 1e-11); // the latitude series' truncation
                EXPECT_NEAR(back.lon, z.centreLon, 1e-12);
                // Continuous across the centre's meridian: a step of 1e-7 rad moves ~0.6 m.
                const geodCoord w = forward(z, geographic(phiC, z.centreLon - 1e-7), r);
                const geodCoord e = forward(z, geographic(phiC, z.centreLon + 1e-7), r);
                EXPECT_LT(std::hypot(e.easting - w.easting, e.northing - w.northing), 2.0);
                EXPECT_LT(worstRoundTrip(z, r), 2e-11);
            }
        }
    }
}

TEST(OmProjCenterEastWestLine, ObjectTakesAzimuthsWithinItsToleranceAsEastWest)
{
    const zoneCnstntObliqueMerc z = zone(6377397.155, 1.0 / 299.1528128, deg(46.9524), deg(7.4395833),
                                         kPi / 2.0 + 5e-11, kPi / 2.0, 1.0, 600000, 200000);
    const geodCoord c = forward(z, geographic(z.centreLat, z.centreLon), Route::Object);
    EXPECT_NEAR(c.easting, 600000.0, 1e-6);
    EXPECT_NEAR(c.northing, 200000.0, 1e-6);
    EXPECT_LT(worstRoundTrip(z, Route::Object), 1e-11);
}

TEST(OmObject, WrapsLongitudesAcrossTheAntimeridian)
{
    zoneCnstntObliqueMerc z = rsoBorneo();
    const geodCoord plain = forward(z, geographic(deg(5), z.centreLon + 0.01), Route::Object);
    const geodCoord turned = forward(z, geographic(deg(5), z.centreLon + 2.0 * kPi + 0.01), Route::Object);
    EXPECT_NEAR(turned.easting, plain.easting, 1e-6);
    EXPECT_NEAR(turned.northing, plain.northing, 1e-6);

    // A zone centred at 179 degrees east: 179.5 west is 1.5 degrees east of the centre.
    z.centreLon = deg(179);
    const geodCoord across = forward(z, geographic(deg(5), deg(-179.5)), Route::Object);
    const geodCoord same = forward(z, geographic(deg(5), deg(180.5)), Route::Object);
    EXPECT_NEAR(across.easting, same.easting, 1e-6);
    EXPECT_NEAR(across.northing, same.northing, 1e-6);
    const geodCoord back = inverse(z, grid(across.northing, across.easting), Route::Object);
    EXPECT_NEAR(back.lon, deg(180.5), 1e-11); // within pi of the centre, not wrapped back
}

TEST(OmObject, CopiesAndNullPoints)
{
    OGCTObliqueMercator a;
    a.Init(rsoBorneo());
    OGCTObliqueMercator b(a), c;
    c = b;
    geodCoord p = geographic(deg(5), deg(116)), q = p;
    a.TransGeoToMap(&p);
    c.TransGeoToMap(&q);
    EXPECT_EQ(p.easting, q.easting);
    EXPECT_EQ(p.northing, q.northing);
    a.TransGeoToMap(nullptr);
    a.TransMapToGeo(nullptr);
}

TEST(OmProjCenterBadInput, NullPointersAreRefused)
{
    zoneCnstntObliqueMerc z = rsoBorneo();
    EXPECT_EQ(latLong2XY_OMProjCenter(z, nullptr), 1);
    EXPECT_EQ(XY2latLong_OMProjCenter(z, nullptr), 1);
    geodCoord p{};
    EXPECT_EQ(latLong2XY_ObliqueMercator(nullptr, &p), 1);
    EXPECT_EQ(XY2latLong_ObliqueMercator(&z, nullptr), 1);
}

} // namespace
