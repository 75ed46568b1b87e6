// Zone dispatch and arc-to-chord corrections: routing by projection kind, the refusals,
// the identities of the corrections, and an independent geometric check of their size
// and sign from the geodetic azimuth of short lines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "kelvane/dispatch.h"
#include "kelvane/lambert.h"
#include "kelvane/oblique_mercator.h"
#include "kelvane/spc83.h"
#include "support/test_support.h"

using namespace ktest;

namespace {

// State plane 1983 zones 0101 Alabama East (TM), 4803 Wisconsin South (Lambert) and 5001
// Alaska Zone 1 (oblique Mercator) from the library's table; longitudes positive west.
zoneCnstnt spc83Zone(int code)
{
    init83ZoneConstants();
    zoneCnstnt z{};
    EXPECT_EQ(initSPC83Zone(code, &z), 0);
    return z;
}
zoneCnstnt alabamaEast() { return spc83Zone(101); }
zoneCnstnt wisconsinSouth() { return spc83Zone(4803); }
zoneCnstnt alaskaZone1() { return spc83Zone(5001); }

geodCoord marked()
{
    geodCoord p;
    std::memset(&p, 0x5a, sizeof p);
    return p;
}

geodCoord projected(zoneCnstnt z, double lat, double lonWest)
{
    ellipsoid ell = grs80();
    geodCoord p;
    std::memset(&p, 0, sizeof p);
    p.lat = lat;
    p.lon = lonWest;
    EXPECT_EQ(geod2Grid(&ell, &z, &p), 0);
    return p;
}

// Unknown kinds, missing records and a projection's refusal give 1 and write nothing;
// only the forward passes a projection's refusal on (the inverse returns 0).
TEST(Dispatch, RefusalsTouchNothing)
{
    ellipsoid ell = grs80();
    zoneCnstnt z = wisconsinSouth();
    geodCoord p = marked();
    const geodCoord before = p;
    double t = 12.5;
    for (int kind : {-1, 3}) {
        zoneCnstnt bad = alabamaEast();
        bad.projection = kind;
        const zoneCnstnt zoneBefore = bad;
        EXPECT_EQ(geod2Grid(&ell, &bad, &p), 1);
        EXPECT_EQ(grid2Geod(&ell, &bad, &p), 1);
        EXPECT_EQ(getTMT(&ell, &bad, &p, &p, &p, &t), 1);
        EXPECT_EQ(std::memcmp(&bad, &zoneBefore, sizeof bad), 0);
    }
    zoneCnstnt tangent = z;
    tangent.northParallel = tangent.southParallel;
    EXPECT_EQ(geod2Grid(&ell, &tangent, &p), 1);
    EXPECT_EQ(grid2Geod(&ell, &tangent, &p), 0);
    ellipsoid noAxis = grs80();
    noAxis.semiMinor = 0.0;
    zoneCnstnt tm = alabamaEast();
    EXPECT_EQ(geod2Grid(&noAxis, &tm, &p), 1);
    for (auto f : {geod2Grid, grid2Geod}) {
        EXPECT_EQ(f(nullptr, &z, &p), 1);
        EXPECT_EQ(f(&ell, nullptr, &p), 1);
        EXPECT_EQ(f(&ell, &z, nullptr), 1);
    }
    EXPECT_EQ(getTMT(&ell, nullptr, &p, &p, &p, &t), 1);
    EXPECT_EQ(getTMT(&ell, &z, &p, &p, nullptr, &t), 1);
    EXPECT_EQ(getTMT(&ell, &z, &p, &p, &p, nullptr), 1);
    EXPECT_EQ(t, 12.5);
    EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0);
}

TEST(ArcToChord, SameBacksightAndForesightGiveExactlyZero)
{
    ellipsoid ell = grs80();
    for (zoneCnstnt z : {alabamaEast(), wisconsinSouth(), alaskaZone1()}) {
        geodCoord station = projected(z, z.originLat + deg(0, 40), z.originLon - deg(0, 50));
        geodCoord target = projected(z, z.originLat + deg(0, 55), z.originLon - deg(0, 20));
        double correction = 99.0;
        ASSERT_EQ(getTMT(&ell, &z, &station, &target, &target, &correction), 0);
        EXPECT_EQ(correction, 0.0);
    }
}

TEST(ArcToChord, LambertSameMeridianAndTangentCone)
{
    ellipsoid ell = grs80();
    zoneCnstnt z = wisconsinSouth();
    geodCoord p1 = projected(z, deg(42, 10), deg(89, 30));
    geodCoord p2 = projected(z, deg(43, 50), deg(89, 30));
    double t = 99.0;
    ASSERT_EQ(lambertArcToChord(&ell, &z, &p1, &p2, &t), 0);
    EXPECT_EQ(t, 0.0);

    zoneCnstnt tangent = z;
    tangent.northParallel = tangent.southParallel;
    double correction = 7.0;
    t = 7.0;
    EXPECT_EQ(lambertArcToChord(&ell, &tangent, &p1, &p2, &t), 1);
    EXPECT_EQ(getTMT(&ell, &tangent, &p1, &p2, &p1, &correction), 1);
    EXPECT_EQ(t, 7.0);
    EXPECT_EQ(correction, 7.0);
}

// The normal-section azimuth at p1 towards p2 (from the chord through the ellipsoid),
// which for lines of a few kilometres equals the geodesic azimuth to far below 1e-9 rad.
double geodeticAzimuth(double lat1, double lonWest1, double lat2, double lonWest2)
{
    const ellipsoid ell = grs80();
    auto ecef = [&](double lat, double lonWest, double xyz[3]) {
        const double N = ell.semiMajor / std::sqrt(1.0 - ell.eccSq * std::pow(std::sin(lat), 2.0));
        xyz[0] = N * std::cos(lat) * std::cos(-lonWest);
        xyz[1] = N * std::cos(lat) * std::sin(-lonWest);
        xyz[2] = N * (1.0 - ell.eccSq) * std::sin(lat);
    };
    double a[3], b[3];
    ecef(lat1, lonWest1, a);
    ecef(lat2, lonWest2, b);
    const double d[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const double lon = -lonWest1;
    const double east = -std::sin(lon) * d[0] + std::cos(lon) * d[1];
    const double north = -std::sin(lat1) * std::cos(lon) * d[0] - std::sin(lat1) * std::sin(lon) * d[1] +
                         std::cos(lat1) * d[2];
    return std::atan2(east, north);
}

// T is the grid azimuth of the chord less the grid azimuth of the projected geodesic,
// which is the geodetic azimuth less the convergence.
double geometricArcToChord(zoneCnstnt z, double lat1, double lon1, double lat2, double lon2)
{
    const geodCoord p1 = projected(z, lat1, lon1);
    const geodCoord p2 = projected(z, lat2, lon2);
    const double chord = std::atan2(p2.easting - p1.easting, p2.northing - p1.northing);
    const double arc = geodeticAzimuth(lat1, lon1, lat2, lon2) - p1.convergence;
    return chord - arc;
}

double correctionAt(zoneCnstnt z, double lat1, double lon1, double lat2, double lon2)
{
    ellipsoid ell = grs80();
    geodCoord station = projected(z, lat1, lon1);
    geodCoord foresight = projected(z, lat2, lon2);
    double t = 0.0;
    EXPECT_EQ(getTMT(&ell, &z, &station, &station, &foresight, &t), 0);
    return t;
}

TEST(ArcToChord, TransverseMercatorAndLambertAgreeWithTheGeometryOfShortLines)
{
    struct Line {
        zoneCnstnt zone;
        double lat1, lon1, lat2, lon2;
    };
    const Line lines[] = {
        {alabamaEast(), deg(32), deg(84, 30), deg(32, 6), deg(84, 26)},
        {alabamaEast(), deg(33), deg(87), deg(32, 57), deg(86, 52)},
        {wisconsinSouth(), deg(42, 5), deg(88), deg(42, 9), deg(88, 5)},
        {wisconsinSouth(), deg(44, 20), deg(91, 30), deg(44, 16), deg(91, 22)},
    };
    for (const Line& l : lines) {
        const double expected = geometricArcToChord(l.zone, l.lat1, l.lon1, l.lat2, l.lon2);
        EXPECT_GT(std::fabs(expected), 1e-6); // a line that actually bends
        EXPECT_NEAR(correctionAt(l.zone, l.lat1, l.lon1, l.lat2, l.lon2), expected, 0.01 * std::fabs(expected))
            << l.zone.projection;
    }
}

// The oblique Mercator form evaluates both ends of the line at its mean latitude (each
// with its own longitude), so it is coarser than the other two: it carries the sign of
// the geometric correction, and a line along a meridian gets none.
TEST(ArcToChord, ObliqueMercatorSignAndMeridianLine)
{
    const zoneCnstnt z = alaskaZone1();
    const double lines[][4] = {
        {deg(55, 30), deg(131), deg(55, 35), deg(131, 6)},
        {deg(59), deg(137), deg(58, 56), deg(136, 50)},
        {deg(56), deg(135), deg(56, 3), deg(135, 10)},
    };
    for (const auto& l : lines) {
        const double expected = geometricArcToChord(z, l[0], l[1], l[2], l[3]);
        const double t = correctionAt(z, l[0], l[1], l[2], l[3]);
        EXPECT_GT(std::fabs(expected), 1e-7);
        EXPECT_EQ(std::signbit(t), std::signbit(expected));
    }
    EXPECT_EQ(correctionAt(z, deg(56), deg(135), deg(57), deg(135)), 0.0);
}

} // namespace
