// Transverse Mercator on zone constants (longitudes positive west inside the zone record
// and the point). Published worked examples, the series constants of the state plane 1983
// zones, identities of the projection, and the two failure returns.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "kelvane/kelvane.h"

namespace {

const double kDeg = 4.0 * std::atan(1.0) / 180.0;

double dms(double d, double m, double s) { return (d + m / 60.0 + s / 3600.0) * kDeg; }

ellipsoid makeEllipsoid(double a, double f)
{
    ellipsoid e{};
    initEllipsoid(&e, a, f);
    return e;
}

ellipsoid grs80() { return makeEllipsoid(6378137.0, 0.0033528106811836675); }
ellipsoid wgs84() { return makeEllipsoid(6378137.0, 1.0 / 298.257223563); }
ellipsoid airy1830() { return makeEllipsoid(6377563.396, 1.0 / 299.3249646); }
// Clarke 1866 is defined by its two axes.
ellipsoid clarke1866() { return makeEllipsoid(6378206.4, (6378206.4 - 6356583.8) / 6378206.4); }

// A Transverse Mercator zone; lambda0West positive west.
zoneCnstnt tmZone(double lambda0West, double k0, double phi0, double falseNorthing, double falseEasting)
{
    zoneCnstnt z{};
    z.projection = kvTransverseMercator;
    z.centralMeridian = lambda0West;
    z.originLon = lambda0West;
    z.scaleFactor = k0;
    z.originLat = phi0;
    z.falseNorthing = falseNorthing;
    z.falseEasting = falseEasting;
    return z;
}

// The British National Grid (Airy 1830).
zoneCnstnt britishNationalGrid() { return tmZone(2.0 * kDeg, 0.9996012717, 49.0 * kDeg, -100000.0, 400000.0); }

geodCoord geographic(double lat, double lonWest)
{
    geodCoord p{};
    p.lat = lat;
    p.lon = lonWest;
    return p;
}

geodCoord grid(double northing, double easting)
{
    geodCoord p{};
    p.northing = northing;
    p.easting = easting;
    return p;
}

const double kArcSecond = kDeg / 3600.0;

} // namespace

// --- Published worked examples ----------------------------------------------------------

// EPSG Guidance Note 7-2, British National Grid. The published values are printed to the
// centimetre and the exact ellipsoidal TM falls 0.6 / 0.8 cm below them, hence 0.015 m.
// The series itself gives 577274.9838 / 69740.4923 (checked to 0.5 mm as a regression of
// the order of evaluation), scale 0.999987287 and convergence +1.92956086 degrees.
TEST(TransverseMercatorPublished, Epsg72BritishNationalGrid)
{
    ellipsoid ell = airy1830();
    zoneCnstnt zone = britishNationalGrid();
    geodCoord p = geographic(dms(50, 30, 0), -dms(0, 30, 0));
    ASSERT_EQ(geod2TM(&ell, &zone, &p), 0);
    EXPECT_NEAR(p.easting, 577274.99, 0.015);
    EXPECT_NEAR(p.northing, 69740.50, 0.015);
    EXPECT_NEAR(p.easting, 577274.9838, 0.0005);
    EXPECT_NEAR(p.northing, 69740.4923, 0.0005);
    EXPECT_NEAR(p.gridScale, 0.999987287, 1e-9);
    EXPECT_NEAR(p.convergence / kDeg, 1.92956086, 1e-8);

    geodCoord q = grid(69740.50, 577274.99);
    ASSERT_EQ(TM2Geod(&ell, &zone, &q), 0);
    // 0.015 m on the ground is about 0.0005" of arc.
    EXPECT_NEAR(q.lat, dms(50, 30, 0), 0.0005 * kArcSecond);
    EXPECT_NEAR(q.lon, -dms(0, 30, 0), 0.0008 * kArcSecond);
}

// Ordnance Survey, "A guide to coordinate systems in Great Britain", Annexe C.
TEST(TransverseMercatorPublished, OrdnanceSurveyAnnexeC)
{
    ellipsoid ell = airy1830();
    zoneCnstnt zone = britishNationalGrid();
    const double lat = dms(52, 39, 27.2531);
    const double lonWest = -dms(1, 43, 4.5177);
    geodCoord p = geographic(lat, lonWest);
    ASSERT_EQ(geod2TM(&ell, &zone, &p), 0);
    EXPECT_NEAR(p.easting, 651409.903, 0.002);
    EXPECT_NEAR(p.northing, 313177.270, 0.002);

    geodCoord q = grid(313177.270, 651409.903);
    ASSERT_EQ(TM2Geod(&ell, &zone, &q), 0);
    EXPECT_NEAR(q.lat, lat, 0.0001 * kArcSecond);
    EXPECT_NEAR(q.lon, lonWest, 0.0001 * kArcSecond);
}

// USGS Professional Paper 1395, Appendix A (Clarke 1866), printed to 0.1 m and 7 decimals of
// k: tolerances 0.06 m and 6e-8. The series gives 127106.4674 / 4484124.4344.
TEST(TransverseMercatorPublished, Snyder1987Clarke1866)
{
    ellipsoid ell = clarke1866();
    zoneCnstnt zone = tmZone(75.0 * kDeg, 0.9996, 0.0, 0.0, 0.0);
    geodCoord p = geographic(dms(40, 30, 0), dms(73, 30, 0));
    ASSERT_EQ(geod2TM(&ell, &zone, &p), 0);
    EXPECT_NEAR(p.easting, 127106.5, 0.06);
    EXPECT_NEAR(p.northing, 4484124.4, 0.06);
    EXPECT_NEAR(p.gridScale, 0.9997989, 6e-8);
}

// EPSG Guidance Note 7-2, Hartebeesthoek94 / Lo29 (WGS 84), a southern point. The grid is
// south-orientated (westing, southing); in plain TM terms both axes change sign.
TEST(TransverseMercatorPublished, Epsg72Lo29SouthernHemisphere)
{
    ellipsoid ell = wgs84();
    zoneCnstnt zone = tmZone(-29.0 * kDeg, 1.0, 0.0, 0.0, 0.0);
    geodCoord p = geographic(-dms(25, 43, 55.302), -dms(28, 16, 57.479));
    ASSERT_EQ(geod2TM(&ell, &zone, &p), 0);
    EXPECT_NEAR(p.easting, -71984.49, 0.015);
    EXPECT_NEAR(p.northing, -2847342.74, 0.015);
}

// NOAA Manual NOS NGS 5, Table 3.22 (GRS 80): the rectifying radius and the scaled arc to
// the grid origin S0 of four state plane zones, to the last printed digit. With no false
// northing a point on the central meridian at the equator has northing -S0, and with
// k0 = 1 the pole has northing r * pi / 2; both come straight from the derived constants.
TEST(TransverseMercatorPublished, Ngs5RectifyingRadiusAndOriginArcs)
{
    ellipsoid ell = grs80();
    {
        zoneCnstnt zone = tmZone(0.0, 1.0, 0.0, 0.0, 0.0);
        geodCoord pole = geographic(90.0 * kDeg, 0.0);
        ASSERT_EQ(geod2TM(&ell, &zone, &pole), 0);
        EXPECT_NEAR(pole.northing / (2.0 * std::atan(1.0)), 6367449.14577, 1e-5);
    }
    struct Zone {
        const char* name;
        double k0;
        double phi0;
        double S0;
    };
    const Zone zones[] = {
        {"0101 Alabama East", 0.99996, dms(30, 30, 0), 3375406.7112},
        {"0102 Alabama West", 1.0 - 1.0 / 15000.0, dms(30, 0, 0), 3319892.0570},
        {"1301 Indiana East", 1.0 - 1.0 / 30000.0, dms(37, 30, 0), 4151863.7425},
        {"0901 Florida East", 1.0 - 1.0 / 17000.0, dms(24, 20, 0), 2692050.5001},
    };
    for (const Zone& z : zones) {
        SCOPED_TRACE(z.name);
        zoneCnstnt zone = tmZone(85.0 * kDeg, z.k0, z.phi0, 0.0, 0.0);
        geodCoord equator = geographic(0.0, 85.0 * kDeg);
        ASSERT_EQ(geod2TM(&ell, &zone, &equator), 0);
        EXPECT_NEAR(-equator.northing, z.S0, 1e-4);
        geodCoord origin = geographic(z.phi0, 85.0 * kDeg);
        ASSERT_EQ(geod2TM(&ell, &zone, &origin), 0);
        EXPECT_NEAR(origin.northing, 0.0, 1e-9);
    }
}

// --- Identities of the projection -------------------------------------------------------

TEST(TransverseMercator, CentralMeridianPoint)
{
    ellipsoid ell = grs80();
    zoneCnstnt zone = tmZone(81.0 * kDeg, 0.9999, 24.0 * kDeg, 1000.0, 200000.0);
    geodCoord p = geographic(24.0 * kDeg, 81.0 * kDeg);
    ASSERT_EQ(geod2TM(&ell, &zone, &p), 0);
    EXPECT_EQ(p.easting, 200000.0);
    EXPECT_EQ(p.convergence, 0.0);
    EXPECT_EQ(p.gridScale, 0.9999);
    EXPECT_NEAR(p.northing, 1000.0, 1e-9);
}

TEST(TransverseMercator, EquatorMirrorAndSignOfConvergence)
{
    ellipsoid ell = grs80();
    zoneCnstnt zone = tmZone(-3.0 * kDeg, 0.9996, 0.0, 0.0, 500000.0);
    // 2 degrees east of the central meridian: west-positive longitude below lambda0.
    geodCoord north = geographic(40.0 * kDeg, -5.0 * kDeg);
    geodCoord south = geographic(-40.0 * kDeg, -5.0 * kDeg);
    ASSERT_EQ(geod2TM(&ell, &zone, &north), 0);
    ASSERT_EQ(geod2TM(&ell, &zone, &south), 0);
    EXPECT_GT(north.easting, 500000.0);
    EXPECT_GT(north.convergence, 0.0);
    EXPECT_NEAR(south.northing, -north.northing, 1e-8);
    EXPECT_NEAR(south.convergence, -north.convergence, 1e-15);
    EXPECT_NEAR(south.easting, north.easting, 1e-8);
    EXPECT_NEAR(south.gridScale, north.gridScale, 1e-15);
}

// The inverse undoes the forward to well below a millimetre within the zone and its
// overlap, and both directions agree on scale and convergence to series accuracy (the
// truncated series part by a few 1e-9 at 3.5 degrees out, 1e-8 at 4 near the equator).
TEST(TransverseMercator, RoundTripOverZoneWidth)
{
    ellipsoid ell = grs80();
    zoneCnstnt zone = tmZone(96.0 * kDeg, 0.9996, 0.0, 0.0, 500000.0);
    double worstGround = 0.0;
    for (double latDeg = -84.0; latDeg <= 84.0; latDeg += 3.5) {
        for (double dLon = -3.5; dLon <= 3.5; dLon += 0.5) {
            geodCoord p = geographic(latDeg * kDeg, (96.0 + dLon) * kDeg);
            ASSERT_EQ(geod2TM(&ell, &zone, &p), 0);
            geodCoord q = grid(p.northing, p.easting);
            ASSERT_EQ(TM2Geod(&ell, &zone, &q), 0);
            const double ground = 6378137.0 * std::hypot(q.lat - p.lat, (q.lon - p.lon) * std::cos(p.lat));
            worstGround = std::max(worstGround, ground);
            EXPECT_NEAR(q.gridScale, p.gridScale, 5e-9) << latDeg << " " << dLon;
            EXPECT_NEAR(q.convergence, p.convergence, 5e-9) << latDeg << " " << dLon;
        }
    }
    EXPECT_LT(worstGround, 1e-4);
}

TEST(TransverseMercator, ForwardAndInverseTouchOnlyTheirOutputs)
{
    ellipsoid ell = grs80();
    zoneCnstnt zone = tmZone(-9.0 * kDeg, 0.9996, 0.0, 0.0, 500000.0);
    zoneCnstnt zoneBefore = zone;
    geodCoord p = geographic(51.0 * kDeg, -10.0 * kDeg);
    p.elev = 123.4;
    p.spare = 77;
    p.utmZone = 32;
    ASSERT_EQ(geod2TM(&ell, &zone, &p), 0);
    EXPECT_EQ(p.lat, 51.0 * kDeg);
    EXPECT_EQ(p.lon, -10.0 * kDeg);
    EXPECT_EQ(p.elev, 123.4);
    EXPECT_EQ(p.spare, 77);
    EXPECT_EQ(p.utmZone, 32);
    geodCoord q = p;
    ASSERT_EQ(TM2Geod(&ell, &zone, &q), 0);
    EXPECT_EQ(q.northing, p.northing);
    EXPECT_EQ(q.easting, p.easting);
    EXPECT_EQ(q.elev, 123.4);
    EXPECT_EQ(q.spare, 77);
    EXPECT_EQ(std::memcmp(&zone, &zoneBefore, sizeof zone), 0);
}

// --- Failure returns --------------------------------------------------------------------

TEST(TransverseMercatorFailure, ForwardRefusesAnEllipsoidWithAZeroAxis)
{
    zoneCnstnt zone = tmZone(0.0, 0.9996, 0.0, 0.0, 500000.0);
    for (int which = 0; which < 2; ++which) {
        ellipsoid ell = grs80();
        (which == 0 ? ell.semiMinor : ell.semiMajor) = 0.0;
        geodCoord p;
        std::memset(&p, 0xa5, sizeof p);
        p.lat = 0.5;
        p.lon = 0.01;
        const geodCoord before = p;
        EXPECT_EQ(geod2TM(&ell, &zone, &p), 1);
        EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0);
    }
}

TEST(TransverseMercatorFailure, InverseRefusesAZeroFootpointRadius)
{
    // The footpoint radius k0 a / sqrt(1 - e^2 sin^2 phi_f) is never below k0 a. A zero
    // a or k0 also zeroes k0 r and makes the footpoint itself undefined, so the radius is
    // exactly 0 only when k0 a underflows while k0 r does not: here k0 a = 2^-1075 rounds
    // to 0 and k0 r (about twice as large, b = 3a) to the smallest subnormal.
    ellipsoid ell{};
    ell.semiMajor = std::ldexp(1.0, -537);
    ell.semiMinor = 3.0 * ell.semiMajor;
    ell.ecc = 0.0;
    zoneCnstnt zone = tmZone(0.0, std::ldexp(1.0, -538), 0.0, 0.0, 500000.0);
    geodCoord p;
    std::memset(&p, 0x3c, sizeof p);
    p.northing = 0.0;
    p.easting = 450000.0;
    const geodCoord before = p;
    EXPECT_EQ(TM2Geod(&ell, &zone, &p), 1);
    EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0);
}

// A longitude 360 degrees away is not folded back: the series is evaluated as it stands.
TEST(TransverseMercator, LongitudeIsNotReduced)
{
    ellipsoid ell = grs80();
    zoneCnstnt zone = tmZone(-3.0 * kDeg, 0.9996, 0.0, 0.0, 500000.0);
    geodCoord near = geographic(45.0 * kDeg, -4.0 * kDeg);
    geodCoord far = geographic(45.0 * kDeg, (-4.0 + 360.0) * kDeg);
    ASSERT_EQ(geod2TM(&ell, &zone, &near), 0);
    ASSERT_EQ(geod2TM(&ell, &zone, &far), 0);
    EXPECT_GT(std::fabs(far.easting - near.easting), 1e6);
}
