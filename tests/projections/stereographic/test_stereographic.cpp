// Oblique stereographic on a zone record: the EPSG, Kadaster and IOGP RD New examples
// through stereographic_calc, the centre, and points the projection cannot map.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "kelvane/stereographic.h"
#include "support/test_support.h"

using namespace ktest;

namespace {

struct Zone {
    ellipsoid ell;
    zoneCnstnt zone;
};

// Amersfoort / RD New on Bessel 1841.
Zone rdNew()
{
    Zone z;
    std::memset(&z, 0, sizeof z);
    initEllipsoid(&z.ell, 6377397.155, 1.0 / 299.15281);
    z.zone.originLat = deg(52, 9, 22.178);
    z.zone.centralMeridian = deg(5, 23, 15.500);
    z.zone.scaleFactor = 0.9999079;
    z.zone.falseEasting = 155000.0;
    z.zone.falseNorthing = 463000.0;
    return z;
}

geodCoord forward(Zone& z, double lat, double lon)
{
    geodCoord p = geographic(lat, lon);
    stereographic_calc(&z.ell, &z.zone, &p, 1);
    return p;
}

geodCoord inverse(Zone& z, double northing, double easting)
{
    geodCoord p = grid(northing, easting);
    stereographic_calc(&z.ell, &z.zone, &p, 0);
    return p;
}

// The EPSG example (with its scale and convergence) and a Kadaster point on the
// defining flattening, to the millimetre; IOGP GIGS 5104 rows on Bessel's 1/299.1528128,
// to 0.05 m. Each row is also run backwards to the same tolerance on the ground.
TEST(StereographicWorkedExamples, RdNewRows)
{
    const struct { double invF, lat, lon, E, N, tol; } rows[] = {
        {299.15281, deg(53), deg(6), 196105.283, 557057.739, 0.001},
        {299.15281, deg(52, 12, 34.567), deg(4, 23, 45.678), 87232.211, 469408.512, 0.001},
        {299.1528128, deg(58), deg(5), 132023.27, 1114054.872, 0.05},
        {299.1528128, deg(53), deg(11), 531469.202, 571538.839, 0.05},
        {299.1528128, deg(47.97526111), deg(3.31372806), 0.0, 0.0, 0.05},
    };
    for (const auto& row : rows) {
        Zone z = rdNew();
        initEllipsoid(&z.ell, 6377397.155, 1.0 / row.invF);
        const geodCoord p = forward(z, row.lat, row.lon);
        EXPECT_NEAR(p.easting, row.E, row.tol) << row.N;
        EXPECT_NEAR(p.northing, row.N, row.tol) << row.N;
        const geodCoord q = inverse(z, row.N, row.E);
        EXPECT_LT(groundDistance(row.lat, row.lon, q.lat, q.lon), row.tol) << row.N;
    }
    Zone z = rdNew();
    const geodCoord p = forward(z, deg(53), deg(6));
    EXPECT_NEAR(p.gridScale, 0.999972566, 1e-9);
    EXPECT_NEAR(p.convergence, deg(0.486341391), deg(1e-9));
}

TEST(StereographicIdentities, TheCentreBothWaysAndRoundTripsOverTheNetherlands)
{
    Zone z = rdNew();
    const geodCoord c = forward(z, z.zone.originLat, z.zone.centralMeridian);
    EXPECT_NEAR(c.northing, 463000.0, 1e-6);
    EXPECT_EQ(c.easting, 155000.0);
    EXPECT_EQ(c.convergence, 0.0);
    EXPECT_NEAR(c.gridScale, 0.9999079, 1e-15);

    // At the centre the inverse's x/rho and y/rho are 0/0: the centre itself comes back.
    const geodCoord back = inverse(z, 463000.0, 155000.0);
    EXPECT_EQ(back.lat, z.zone.originLat);
    EXPECT_EQ(back.lon, z.zone.centralMeridian);
    EXPECT_EQ(back.convergence, 0.0);
    EXPECT_EQ(back.gridScale, 0.9999079);

    double worst = 0.0;
    for (double lat = 50.5; lat <= 53.71; lat += 0.2) {
        for (double lon = 3.2; lon <= 7.31; lon += 0.2) {
            const geodCoord p = forward(z, deg(lat), deg(lon));
            const geodCoord q = inverse(z, p.northing, p.easting);
            worst = std::fmax(worst, std::hypot(q.lat - deg(lat), (q.lon - deg(lon)) * std::cos(q.lat)) * 6.38e6);
            EXPECT_NEAR(q.convergence, p.convergence, 1e-12);
            EXPECT_NEAR(q.gridScale, p.gridScale, 1e-12);
        }
    }
    EXPECT_LT(worst, 1e-6);
    std::printf("RD New round trip, 50.5-53.7 N, 3.2-7.3 E: %.2g m\n", worst);
}

// No status to return: a point that cannot be mapped comes back NaN in every field the
// direction writes, and the fields it reads stay as they were.
TEST(StereographicBadInput, UnmappablePointsComeBackAsNaN)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    Zone z = rdNew();
    const struct { double lat, lon; } badPoints[] = {
        {nan, 0.1}, {0.9, inf}, {deg(91), 0.1}, {-deg(91), 0.1},
    };
    for (const auto& b : badPoints) {
        const geodCoord p = forward(z, b.lat, b.lon);
        EXPECT_TRUE(std::isnan(p.northing) && std::isnan(p.easting) && std::isnan(p.gridScale) &&
                    std::isnan(p.convergence))
            << b.lat;
        EXPECT_TRUE(std::memcmp(&p.lat, &b.lat, sizeof b.lat) == 0 && std::memcmp(&p.lon, &b.lon, sizeof b.lon) == 0);
    }
    for (const geodCoord& g : {inverse(z, nan, 1e5), inverse(z, 4e5, -inf)}) {
        EXPECT_TRUE(std::isnan(g.lat) && std::isnan(g.lon) && std::isnan(g.gridScale) && std::isnan(g.convergence));
    }
    Zone broken = rdNew();
    broken.zone.scaleFactor = 0.0;
    EXPECT_TRUE(std::isnan(forward(broken, deg(52), deg(5)).northing));
    broken = rdNew();
    broken.ell.semiMajor = nan;
    EXPECT_TRUE(std::isnan(inverse(broken, 4e5, 1e5).lat));

    geodCoord p{};
    stereographic_calc(nullptr, &z.zone, &p, 1);
    stereographic_calc(&z.ell, nullptr, &p, 0);
    stereographic_calc(&z.ell, &z.zone, nullptr, 1);
    EXPECT_EQ(p.northing, 0.0);
}

} // namespace
