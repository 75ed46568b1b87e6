// Geographic <-> geocentric conversions and the local east/north/up frame.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "kelvane/kelvane.h"
#include "support/test_support.h"

using namespace ktest;

namespace {

const double kArcSec = kArcSecond;

struct Geo {
    double lat, lon, h;
};
struct Xyz {
    double X, Y, Z;
};

Xyz forward(const ellipsoid& e, Geo g)
{
    geodCoord pt{};
    pt.lat = g.lat;
    pt.lon = g.lon;
    pt.elev = g.h;
    EXPECT_EQ(latLongElev2XYZ_EC(e, &pt), 0);
    return {pt.easting, pt.northing, pt.elev};
}

Geo inverse(const ellipsoid& e, Xyz c)
{
    geodCoord pt{};
    pt.easting = c.X;
    pt.northing = c.Y;
    pt.elev = c.Z;
    EXPECT_EQ(XYZ_EC2latLongElev(e, &pt), 0);
    return {pt.lat, pt.lon, pt.elev};
}


// The latitude-height iteration the inverse ran everywhere before it took one step
// outside the deep interior: start at atan(Z / (p (1 - e^2))), repeat until a pass moves
// the height by no more than 0.1 mm and the latitude by no more than 1e-10 rad, heights
// along the normal from whichever of p and Z is the larger side, 1000 passes at most.
Geo iteratedInverse(double a, double b, double e2, Xyz c)
{
    const double a2 = a * a, b2 = b * b, p = std::sqrt(c.X * c.X + c.Y * c.Y);
    double phi = std::atan((c.Z / p) / (1.0 - e2)), N = 0.0, h = 0.0;
    auto radiusAndHeight = [&] {
        const double cp = std::cos(phi), sp = std::sin(phi);
        N = a2 / std::sqrt(a2 * cp * cp + b2 * sp * sp);
        h = std::fabs(cp) >= std::fabs(sp) ? (p - N * cp) / cp : c.Z / sp - N * b2 / a2;
    };
    radiusAndHeight();
    double dh = 5.0, dphi = 5.0;
    for (int pass = 0; (dh > 1e-4 || dphi > 1e-10) && pass < 1000; ++pass) {
        const double hPrev = h, phiPrev = phi;
        phi = std::atan((c.Z / p) / (1.0 - e2 * N / (N + h)));
        radiusAndHeight();
        dh = std::fabs(h - hPrev);
        dphi = std::fabs(phi - phiPrev);
    }
    return {phi, 2.0 * std::atan(c.Y / (p + c.X)), h};
}

} // namespace

// EPSG Guidance Note 7-2, geographic/geocentric conversion on WGS 84.
TEST(Geocentric, EpsgWorkedExampleBothWays)
{
    const Geo g{0.939151101560, 0.037167659086, 73.0};
    const Xyz c = forward(wgs84(), g);
    EXPECT_NEAR(c.X, 3771793.968, 0.001);
    EXPECT_NEAR(c.Y, 140253.342, 0.001);
    EXPECT_NEAR(c.Z, 5124304.349, 0.001);

    const Geo back = inverse(wgs84(), {3771793.968, 140253.342, 5124304.349});
    EXPECT_NEAR(back.lat, g.lat, 0.0002 * kArcSec);
    EXPECT_NEAR(back.lon, g.lon, 0.0002 * kArcSec);
    EXPECT_NEAR(back.h, 73.0, 0.001);

    // The fixed-GRS80 pair differs from WGS 84 by far less than a millimetre here.
    double X, Y, Z, lat, lon, h;
    lat2ecef(&X, &Y, &Z, g.lat, g.lon, g.h);
    EXPECT_NEAR(X, 3771793.968, 0.001);
    EXPECT_NEAR(Y, 140253.342, 0.001);
    EXPECT_NEAR(Z, 5124304.349, 0.001);
    ecef2lat(X, Y, Z, &lat, &lon, &h);
    EXPECT_NEAR(lat, g.lat, 1e-10);
    EXPECT_NEAR(lon, g.lon, 1e-12);
    EXPECT_NEAR(h, 73.0, 0.0002);
}

// IOGP GIGS 5201 rows on WGS 84 (0.01 m, 0.0003 arc-seconds).
TEST(Geocentric, GigsEdgeRows)
{
    struct Row {
        double X, Y, Z, latDeg, lonDeg, h;
    };
    const Row rows[] = {
        {6378137.0, 0.0, 0.0, 0.0, 0.0, 0.0},
        {-962479.592, 555687.852, 6260738.653, 80.0, 150.0, 1214.137},
        {6367934.396, -112.0, 434.0, 0.00393129, -0.00100773, -10202.5881},
        {-2187336.719, -112.0, 5971017.093, 70.00490733, -179.9970662, -223.6178},
        {-2904698.555, -2904698.555, 4862789.038, 50.0, -135.0, 0.0},
        {-2187336.719, -112.0, -5970149.093, -70.00224647, -179.9970662, -1039.2896},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.X);
        const Geo g = inverse(wgs84(), {r.X, r.Y, r.Z});
        // The published angles carry 8 decimals of a degree (0.00004 arc-seconds).
        EXPECT_NEAR(g.lat, deg(r.latDeg), 0.0003 * kArcSec);
        EXPECT_NEAR(g.lon, deg(r.lonDeg), 0.0003 * kArcSec);
        EXPECT_NEAR(g.h, r.h, 0.01);
        const Xyz c = forward(wgs84(), {deg(r.latDeg), deg(r.lonDeg), r.h});
        EXPECT_NEAR(c.X, r.X, 0.01);
        EXPECT_NEAR(c.Y, r.Y, 0.01);
        EXPECT_NEAR(c.Z, r.Z, 0.01);
    }
}

// Forward then inverse over the globe, from 100 m below the ellipsoid to 10 km above it,
// returns within the loop's tolerances (0.1 mm, 1e-10 rad).
TEST(Geocentric, RoundTripsFromBelowToHighAbove)
{
    const ellipsoid e = grs80();
    double worstH = 0.0;
    double worstAngle = 0.0;
    for (double h : {-100.0, 0.0, 0.5, 1000.0, 10000.0}) {
        for (int latDeg = -90; latDeg <= 90; latDeg += 5) {
            for (int lonDeg = -180; lonDeg <= 180; lonDeg += 15) {
                const Geo g{deg(latDeg), deg(lonDeg), h};
                const Geo back = inverse(e, forward(e, g));
                worstH = std::fmax(worstH, std::fabs(back.h - h));
                worstAngle = std::fmax(worstAngle, std::fabs(back.lat - g.lat));
                if (std::abs(latDeg) != 90) {
                    // The same meridian; -180 and +180 are one longitude, given as +pi.
                    double dlon = std::remainder(back.lon - g.lon, 2.0 * kPi);
                    worstAngle = std::fmax(worstAngle, std::fabs(dlon));
                }
                // The fixed-ellipsoid pair agrees with the record pair on GRS80.
                double X, Y, Z, lat, lon, hh;
                lat2ecef(&X, &Y, &Z, g.lat, g.lon, g.h);
                ecef2lat(X, Y, Z, &lat, &lon, &hh);
                worstH = std::fmax(worstH, std::fabs(hh - h));
                worstAngle = std::fmax(worstAngle, std::fabs(lat - g.lat));
            }
        }
    }
    EXPECT_LT(worstH, 1e-4);
    EXPECT_LT(worstAngle, 1e-10);
}

// Both inverses agree with the iteration above to 1e-11 rad and 1 micrometre (and the
// longitude bit for bit) from 100 km to 400 000 km from the centre (closer in, the
// iteration no longer settles everywhere), at every latitude, the equator and points
// within nanometres of the polar axis included.
TEST(Geocentric, InverseAgreesWithTheLatitudeHeightIteration)
{
    const double kGrs80E2 = 0.0066943800229034; // ecef2lat's own e^2
    const ellipsoid ells[] = {grs80(), clarke1866()};
    double worstLat = 0.0, worstH = 0.0;
    for (int i = 0; i <= 80; ++i) {
        const double r = 1e5 * std::pow(4000.0, i / 80.0);
        for (int j = -902; j <= 902; ++j) {
            // Geocentric angles every 0.1 degrees; the outermost pairs lie 1e-6 and 1e-15 rad
            // from the axis.
            const double theta = std::abs(j) <= 900 ? deg(0.1 * j)
                                                    : std::copysign(kPi / 2 - (std::abs(j) == 901 ? 1e-6 : 1e-15), j);
            const double p = r * std::cos(theta);
            const Xyz c{p * std::cos(0.3 * j), p * std::sin(0.3 * j), r * std::sin(theta)};
            Geo ours;
            ecef2lat(c.X, c.Y, c.Z, &ours.lat, &ours.lon, &ours.h);
            Geo ref = iteratedInverse(6378137.0, 6356752.3141403, kGrs80E2, c);
            for (int k = 0;; ++k) {
                worstLat = std::fmax(worstLat, std::fabs(ours.lat - ref.lat));
                worstH = std::fmax(worstH, std::fabs(ours.h - ref.h));
                ASSERT_EQ(ours.lon, ref.lon) << r << " " << theta;
                if (k == 2) break;
                const ellipsoid& e = ells[k];
                ours = inverse(e, c);
                ref = iteratedInverse(e.semiMajor, e.semiMinor, e.ecc * e.ecc, c);
            }
        }
    }
    EXPECT_LT(worstLat, 1e-11);
    EXPECT_LT(worstH, 1e-6);
}

TEST(Geocentric, EquatorAndAntimeridian)
{
    const Geo g = inverse(grs80(), {6378137.0 + 250.0, 0.0, 0.0});
    EXPECT_EQ(g.lat, 0.0);
    EXPECT_EQ(g.lon, 0.0);
    EXPECT_NEAR(g.h, 250.0, 1e-9);
    // On the 180-degree meridian the longitude is +pi, not 0/0.
    const Geo w = inverse(grs80(), {-6378137.0, 0.0, 0.0});
    EXPECT_DOUBLE_EQ(w.lon, kPi);
    EXPECT_NEAR(w.h, 0.0, 1e-9);
}

TEST(Geocentric, PolarAxisGivesThePoleAndHeightAboveIt)
{
    const ellipsoid e = grs80();
    for (double Z : {6356752.314140 + 2000.0, -(6356752.314140 + 2000.0), 6356752.314140 - 100.0}) {
        SCOPED_TRACE(Z);
        const Geo g = inverse(e, {0.0, 0.0, Z});
        EXPECT_DOUBLE_EQ(g.lat, Z < 0 ? -kPi / 2 : kPi / 2);
        EXPECT_EQ(g.lon, 0.0);
        EXPECT_NEAR(g.h, std::fabs(Z) - e.semiMinor, 1e-9);
        double lat, lon, h;
        ecef2lat(0.0, 0.0, Z, &lat, &lon, &h);
        EXPECT_DOUBLE_EQ(lat, g.lat);
        EXPECT_EQ(lon, 0.0);
        EXPECT_NEAR(h, g.h, 1e-6);
    }
    // The centre lies on the axis too: the north pole, 'b' below it.
    const Geo c = inverse(e, {0.0, 0.0, 0.0});
    EXPECT_DOUBLE_EQ(c.lat, kPi / 2);
    EXPECT_DOUBLE_EQ(c.h, -e.semiMinor);
}

// No input keeps the caller waiting: NaN, infinities and points near the centre where
// the iteration never settles all return. Null pointers are refused.
TEST(Geocentric, GarbageInputReturns)
{
    const ellipsoid e = grs80();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Geo n = inverse(e, {nan, 1.0, 2.0});
    EXPECT_TRUE(std::isnan(n.lat) && std::isnan(n.lon) && std::isnan(n.h));
    double lat, lon, h;
    ecef2lat(1.0, 2.0, nan, &lat, &lon, &h);
    EXPECT_TRUE(std::isnan(lat) && std::isnan(h));
    ecef2lat(0.0, 0.0, nan, &lat, &lon, &h); // not taken for a point on the axis
    EXPECT_TRUE(std::isnan(lat) && std::isnan(lon) && std::isnan(h));
    inverse(e, {inf, 0.0, 1.0});
    inverse(e, {inf, -inf, inf});
    inverse(e, {1e308, 1e308, 1e308});
    // 30 km from the centre the latitude-height iteration oscillates for ever.
    inverse(e, {30000.0 * std::cos(0.5), 0.0, 30000.0 * std::sin(0.5)});
    ecef2lat(30000.0 * std::cos(0.5), 0.0, 30000.0 * std::sin(0.5), &lat, &lon, &h);

    // Null pointers are refused without writing anything.
    double v[3] = {7.0, 7.0, 7.0};
    ecef2lat(4e6, 1e5, 5e6, &v[0], nullptr, &v[2]);
    lat2ecef(&v[0], &v[1], nullptr, 0.9, 0.1, 0.0);
    EXPECT_EQ(latLongElev2XYZ_EC(e, nullptr), 1);
    EXPECT_EQ(XYZ_EC2latLongElev(e, nullptr), 1);
    EXPECT_EQ(localToLocalGeodetic(0.9, 0.1, 1.0, 2.0, 3.0, &v[0], &v[1], nullptr), 1);
    EXPECT_EQ(localGeodeticToLocal(0.9, 0.1, 1.0, 2.0, 3.0, nullptr, &v[1], &v[2]), 1);
    for (double x : v) EXPECT_EQ(x, 7.0);
}

TEST(Geocentric, RecordPairTouchesOnlyItsFields)
{
    const ellipsoid e = grs80();
    geodCoord pt{};
    pt.lat = deg(47.5);
    pt.lon = deg(-122.25);
    pt.elev = 150.0;
    pt.gridScale = 0.9996;
    pt.convergence = 0.01;
    pt.spare = 7;
    pt.utmZone = 10;
    latLongElev2XYZ_EC(e, &pt);
    const double X = pt.easting;
    const double Y = pt.northing;
    XYZ_EC2latLongElev(e, &pt);
    EXPECT_NEAR(pt.lat, deg(47.5), 1e-11);
    EXPECT_NEAR(pt.lon, deg(-122.25), 1e-12);
    EXPECT_NEAR(pt.elev, 150.0, 1e-4);
    EXPECT_EQ(pt.easting, X);
    EXPECT_EQ(pt.northing, Y);
    EXPECT_EQ(pt.gridScale, 0.9996);
    EXPECT_EQ(pt.convergence, 0.01);
    EXPECT_EQ(pt.spare, 7);
    EXPECT_EQ(pt.utmZone, 10);
}

// Against the frame built independently: up is the ellipsoid normal, east the unit
// vector along the parallel, north = up x east.
TEST(LocalFrame, MatchesIndependentFrameAndInvertsBack)
{
    for (double latDeg : {-63.0, -5.0, 38.5, 89.0}) {
        for (double lonDeg : {-170.0, -45.0, 12.0, 135.0}) {
            const double phi = deg(latDeg);
            const double lam = deg(lonDeg);
            const double up[3] = {std::cos(phi) * std::cos(lam), std::cos(phi) * std::sin(lam),
                                  std::sin(phi)};
            const double east[3] = {-std::sin(lam), std::cos(lam), 0.0};
            const double north[3] = {up[1] * east[2] - up[2] * east[1],
                                     up[2] * east[0] - up[0] * east[2],
                                     up[0] * east[1] - up[1] * east[0]};
            const double d[3] = {123.4, -56.7, 890.1};
            double e, n, u;
            EXPECT_EQ(localToLocalGeodetic(phi, lam, d[0], d[1], d[2], &e, &n, &u), 0);
            auto dot = [&](const double* v) { return v[0] * d[0] + v[1] * d[1] + v[2] * d[2]; };
            EXPECT_NEAR(e, dot(east), 1e-9);
            EXPECT_NEAR(n, dot(north), 1e-9);
            EXPECT_NEAR(u, dot(up), 1e-9);

            double X, Y, Z;
            EXPECT_EQ(localGeodeticToLocal(phi, lam, e, n, u, &X, &Y, &Z), 0);
            EXPECT_NEAR(X, d[0], 1e-9);
            EXPECT_NEAR(Y, d[1], 1e-9);
            EXPECT_NEAR(Z, d[2], 1e-9);
        }
    }
}
