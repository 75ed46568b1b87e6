// Transverse Mercator on zone constants (longitudes positive west inside the zone record
// and the point): published worked examples, an independent formulation, and the failure
// returns.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "kelvane/kelvane.h"
#include "support/test_support.h"
#include "projections/transverse_mercator/transverse_mercator.h"

using namespace ktest;

namespace {

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

} // namespace

// --- Published worked examples ----------------------------------------------------------

// Published examples, longitudes positive west as the zone record takes them. EPSG GN7-2
// British National Grid (Airy 1830): printed to the centimetre, the exact ellipsoidal TM
// 0.6 / 0.8 cm below, hence 0.015 m; its scale and convergence computed (0.999987287,
// +1.92956086 deg). Ordnance Survey guide, Annexe C: the millimetre. USGS PP 1395
// (Clarke 1866): 0.1 m, and the printed k. EPSG GN7-2 Lo29 (WGS 84), westing and southing
// as plain easting and northing with their signs changed: the centimetre. Each row is also
// run backwards from the printed grid values, to the same tolerance on the ground. A scale
// tolerance of 0 leaves scale and convergence unchecked.
TEST(TransverseMercatorPublished, ReferencePoints)
{
    const zoneCnstnt bng = tmZone(deg(2.0), 0.9996012717, deg(49.0), -100000.0, 400000.0);
    struct Row {
        const char* source;
        ellipsoid ell;
        zoneCnstnt zone;
        double lat, lonWest, northing, easting, tolerance, k, tolK, gammaDeg, tolGammaDeg;
    };
    const Row rows[] = {
        {"EPSG GN7-2 BNG", airy1830(), bng, dms(50, 30, 0), -dms(0, 30, 0), 69740.50, 577274.99, 0.015, 0.999987287,
         1e-9, 1.92956086, 1e-8},
        {"NGS 5 series on BNG (regression)", airy1830(), bng, dms(50, 30, 0), -dms(0, 30, 0), 69740.4923, 577274.9838,
         0.0005, 0, 0, 0, 0},
        {"OS guide Annexe C", airy1830(), bng, dms(52, 39, 27.2531), -dms(1, 43, 4.5177), 313177.270, 651409.903,
         0.002, 0, 0, 0, 0},
        {"Snyder PP1395", clarke1866(), tmZone(deg(75.0), 0.9996, 0.0, 0.0, 0.0), dms(40, 30, 0), dms(73, 30, 0),
         4484124.4, 127106.5, 0.06, 0.9997989, 6e-8, 0, 0},
        {"EPSG GN7-2 Lo29", wgs84(), tmZone(-deg(29.0), 1.0, 0.0, 0.0, 0.0), -dms(25, 43, 55.302),
         -dms(28, 16, 57.479), -2847342.74, -71984.49, 0.015, 0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        ellipsoid ell = r.ell;
        zoneCnstnt zone = r.zone;
        geodCoord p = geographic(r.lat, r.lonWest);
        ASSERT_EQ(geod2TM(&ell, &zone, &p), 0) << r.source;
        EXPECT_NEAR(p.northing, r.northing, r.tolerance) << r.source;
        EXPECT_NEAR(p.easting, r.easting, r.tolerance) << r.source;
        if (r.tolK > 0) { EXPECT_NEAR(p.gridScale, r.k, r.tolK) << r.source; }
        if (r.tolGammaDeg > 0) { EXPECT_NEAR(toDeg(p.convergence), r.gammaDeg, r.tolGammaDeg) << r.source; }
        geodCoord q = grid(r.northing, r.easting);
        ASSERT_EQ(TM2Geod(&ell, &zone, &q), 0) << r.source;
        EXPECT_LT(groundDistance(r.lat, r.lonWest, q.lat, q.lon), r.tolerance) << r.source;
    }
}

// NOAA Manual NOS NGS 5, Table 3.22 (GRS 80), to the last printed digit: the rectifying
// radius, the arc and footpoint coefficients (NGS 5's U0..U6 and V0..V6), and the scaled
// arc S0 to the grid origin of four state plane zones, seen as the northing -S0 of a point
// on the central meridian at the equator when there is no false northing.
TEST(TransverseMercatorPublished, Ngs5SeriesConstants)
{
    ellipsoid ell = grs80();
    const kelvane::tm::SeriesConstants c = kelvane::tm::seriesConstants(ell, tmZone(0.0, 1.0, 0.0, 0.0, 0.0));
    EXPECT_NEAR(c.r, 6367449.14577, 1e-5);
    const double got[] = {c.P0, c.P2, c.P4, c.P6, c.H0, c.H2, c.H4, c.H6};
    const double printed[] = {-0.005048250776, 0.000021259204, -0.000000111423, 0.000000000626,
                              0.005022893948,  0.000029370625, 0.000000235059,  0.000000002181};
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(got[i], printed[i], 1e-12) << i;

    struct Zone {
        const char* name;
        double k0, phi0, S0;
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
    }
}

namespace {

// An independent formulation of the same projection: Kruger's series in the third
// flattening to the sixth order, good to a few nanometres across a zone. Returns
// northing, easting (east positive) for a scale k0 on the central meridian.
void krugerForward(double f, double a, double k0, double phi, double dLambdaEast, double& N, double& E)
{
    const double n = f / (2.0 - f);
    const double n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n, n6 = n5 * n;
    const double A = a / (1.0 + n) * (1.0 + n2 / 4.0 + n4 / 64.0 + n6 / 256.0);
    const double alpha[7] = {
        0.0,
        n / 2.0 - 2.0 * n2 / 3.0 + 5.0 * n3 / 16.0 + 41.0 * n4 / 180.0 - 127.0 * n5 / 288.0 + 7891.0 * n6 / 37800.0,
        13.0 * n2 / 48.0 - 3.0 * n3 / 5.0 + 557.0 * n4 / 1440.0 + 281.0 * n5 / 630.0 - 1983433.0 * n6 / 1935360.0,
        61.0 * n3 / 240.0 - 103.0 * n4 / 140.0 + 15061.0 * n5 / 26880.0 + 167603.0 * n6 / 181440.0,
        49561.0 * n4 / 161280.0 - 179.0 * n5 / 168.0 + 6601661.0 * n6 / 7257600.0,
        34729.0 * n5 / 80640.0 - 3418889.0 * n6 / 1995840.0,
        212378941.0 * n6 / 319334400.0,
    };
    const double e = std::sqrt(f * (2.0 - f));
    const double t = std::sinh(std::atanh(std::sin(phi)) - e * std::atanh(e * std::sin(phi)));
    const double xi = std::atan2(t, std::cos(dLambdaEast));
    const double eta = std::atanh(std::sin(dLambdaEast) / std::sqrt(1.0 + t * t));
    double x = xi, y = eta;
    for (int j = 1; j <= 6; ++j) {
        x += alpha[j] * std::sin(2.0 * j * xi) * std::cosh(2.0 * j * eta);
        y += alpha[j] * std::cos(2.0 * j * xi) * std::sinh(2.0 * j * eta);
    }
    N = k0 * A * x;
    E = k0 * A * y;
}

} // namespace

// The closed series agrees with the independent formulation to 0.1 mm within 3.5 degrees
// of the central meridian and to 0.5 mm at 5 degrees (its truncation error grows with the
// sixth power of the distance), from the equator to 84 degrees, both hemispheres.
TEST(TransverseMercator, AgreesWithAnIndependentFormulation)
{
    const double f = 0.0033528106811836675;
    ellipsoid ell = grs80();
    zoneCnstnt zone = tmZone(0.0, 0.9996, 0.0, 0.0, 0.0);
    for (double latDeg = -84.0; latDeg <= 84.0; latDeg += 2.0) {
        for (double dLonDeg : {-5.0, -3.5, -2.0, -0.5, 1.0, 2.5, 3.5, 5.0}) {
            geodCoord p = geographic(latDeg * kDeg, -dLonDeg * kDeg);
            ASSERT_EQ(geod2TM(&ell, &zone, &p), 0);
            double N = 0.0, E = 0.0;
            krugerForward(f, 6378137.0, 0.9996, latDeg * kDeg, dLonDeg * kDeg, N, E);
            const double tolerance = std::fabs(dLonDeg) <= 3.5 ? 1e-4 : 5e-4;
            EXPECT_NEAR(p.northing, N, tolerance) << latDeg << " " << dLonDeg;
            EXPECT_NEAR(p.easting, E, tolerance) << latDeg << " " << dLonDeg;
        }
    }
}

// The contract of the header's conversions: each writes only its outputs (forward keeps
// lat, lon, elev, spare, utmZone; inverse keeps northing, easting, elev) and never the
// zone record; a missing record or a refused ellipsoid gives 1 and not a byte changed. A
// longitude 360 degrees away is not folded back.
TEST(TransverseMercatorContract, OutputsOnlyAndRefusalsUntouched)
{
    ellipsoid ell = grs80();
    zoneCnstnt zone = tmZone(-9.0 * kDeg, 0.9996, 0.0, 0.0, 500000.0);
    const zoneCnstnt zoneBefore = zone;
    geodCoord p = geographic(51.0 * kDeg, -10.0 * kDeg);
    p.elev = 123.4;
    p.spare = 77;
    p.utmZone = 32;
    geodCoord expected = p;
    ASSERT_EQ(geod2TM(&ell, &zone, &p), 0);
    expected.northing = p.northing;
    expected.easting = p.easting;
    expected.gridScale = p.gridScale;
    expected.convergence = p.convergence;
    EXPECT_EQ(std::memcmp(&p, &expected, sizeof p), 0);

    geodCoord q = p;
    ASSERT_EQ(TM2Geod(&ell, &zone, &q), 0);
    expected.lat = q.lat;
    expected.lon = q.lon;
    expected.gridScale = q.gridScale;
    expected.convergence = q.convergence;
    EXPECT_EQ(std::memcmp(&q, &expected, sizeof q), 0);
    EXPECT_EQ(std::memcmp(&zone, &zoneBefore, sizeof zone), 0);

    geodCoord farTurn = geographic(p.lat, p.lon + 360.0 * kDeg);
    ASSERT_EQ(geod2TM(&ell, &zone, &farTurn), 0);
    EXPECT_GT(std::fabs(farTurn.easting - p.easting), 1e6);

    // Refusals: a zero axis (forward), and a footpoint radius of exactly 0 (inverse). The
    // footpoint radius k0 a / W is never below k0 a; it is exactly 0 only when k0 a
    // underflows while k0 r does not: k0 a = 2^-1075 rounds to 0, k0 r (b = 3a) to the
    // smallest subnormal.
    ellipsoid noMinor = grs80();
    noMinor.semiMinor = 0.0;
    ellipsoid noMajor = grs80();
    noMajor.semiMajor = 0.0;
    ellipsoid tiny{};
    tiny.semiMajor = std::ldexp(1.0, -537);
    tiny.semiMinor = 3.0 * tiny.semiMajor;
    zoneCnstnt tinyZone = tmZone(0.0, std::ldexp(1.0, -538), 0.0, 0.0, 500000.0);
    geodCoord marked;
    std::memset(&marked, 0xa5, sizeof marked);
    marked.lat = -0.5; // southern: a refused UTM point must not get the false northing added
    marked.lon = 0.01;
    marked.northing = 0.0;
    marked.easting = 450000.0;
    const geodCoord before = marked;
    EXPECT_EQ(geod2TM(&noMinor, &zone, &marked), 1);
    EXPECT_EQ(geod2TM(&noMajor, &zone, &marked), 1);
    EXPECT_EQ(TM2Geod(&tiny, &tinyZone, &marked), 1);
    EXPECT_EQ(UTMGeod2Grid(0, &noMinor, &marked), 0); // not passed on, and nothing written...
    EXPECT_EQ(marked.utmZone, 91);                     // ...but the zone code
    marked.utmZone = before.utmZone;
    zoneCnstntTM standalone{};
    EXPECT_EQ(initUTMZone(32, 0, noMajor, &standalone), 0);
    EXPECT_EQ(latLong2XY_TransverseMercator(standalone, &marked), 1);

    using Convert = int (*)(ellipsoid*, zoneCnstnt*, geodCoord*);
    for (Convert f : {geod2TM, TM2Geod}) {
        EXPECT_EQ(f(nullptr, &zone, &marked), 1);
        EXPECT_EQ(f(&ell, nullptr, &marked), 1);
        EXPECT_EQ(f(&ell, &zone, nullptr), 1);
    }
    for (int code : {0, 31, 91}) {
        EXPECT_EQ(UTMGeod2Grid(code, nullptr, &marked), 1);
        EXPECT_EQ(UTMGrid2Geod(code, nullptr, &marked), 1);
        EXPECT_EQ(UTMGeod2Grid(code, &ell, nullptr), 1);
        EXPECT_EQ(UTMGrid2Geod(code, &ell, nullptr), 1);
    }
    double t = 7.0;
    EXPECT_EQ(tmArcToChord(&ell, &zone, &marked, nullptr, &t), 1);
    EXPECT_EQ(tmArcToChord(&ell, &zone, &marked, &marked, nullptr), 1);
    EXPECT_EQ(t, 7.0);
    EXPECT_EQ(latLong2XY_TransverseMercator(standalone, nullptr), 1);
    EXPECT_EQ(XY_TransverseMercator2latLong(standalone, nullptr), 1);
    EXPECT_EQ(initUTMZone(32, 0, ell, nullptr), 1);
    EXPECT_EQ(std::memcmp(&marked, &before, sizeof marked), 0);
}
