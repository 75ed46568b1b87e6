// The stand-alone Transverse Mercator both ways (UTM zone 31 through initUTMZone), the
// stand-alone Lambert (latLong2XY_Lambert, forward only), lambert_calc both ways, and
// the projection-centre oblique Mercator both ways through the free functions, an
// initialised OGCTObliqueMercator and the one-point wrappers; nanoseconds per point over
// 4096 points. With PROJ available, "+proj=utm", "+proj=lcc" and "+proj=omerc" (variant B, the grid
// origin at the centre) run over the same points in the same program, with the largest
// difference from this library's coordinates as the counter "max_diff_m".
#include <cmath>

#include "bench/point_batch.h"
#include "kelvane/kelvane.h"

#ifdef KELVANE_BENCH_WITH_PROJ
#include <proj.h>
#endif

namespace {

using kelvane::bench::BoxPoint;
using kelvane::bench::runBatch;

const double kDeg = 4.0 * std::atan(1.0) / 180.0;

using kelvane::bench::grs80;

// Lambert: 33 and 45 degrees north, origin 23 N 96 W, k0 = 0.9999 for lambert_calc (the
// record form has no scale factor). Points 25 to 50 N, 110 to 80 W.
zoneCnstntLambert lambertRecord()
{
    zoneCnstntLambert z{};
    z.ell = grs80();
    z.southParallel = 33.0 * kDeg;
    z.northParallel = 45.0 * kDeg;
    z.originLat = 23.0 * kDeg;
    z.centralMeridian = 96.0 * kDeg; // positive west
    z.falseEasting = 500000.0;
    return z;
}

zoneCnstnt lambertCalcZone()
{
    zoneCnstnt z{};
    z.southParallel = 33.0 * kDeg;
    z.northParallel = 45.0 * kDeg;
    z.calcOriginLat = 23.0 * kDeg;
    z.centralMeridian = -96.0 * kDeg; // positive east
    z.scaleFactor = 0.9999;
    z.falseEasting = 500000.0;
    return z;
}

const std::vector<BoxPoint>& lambertPoints()
{
    static const std::vector<BoxPoint> points = [] {
        std::vector<BoxPoint> v = kelvane::bench::pointsInBox(25 * kDeg, 50 * kDeg, -110 * kDeg, -80 * kDeg);
        ellipsoid ell = grs80();
        zoneCnstnt z = lambertCalcZone();
        for (BoxPoint& p : v) {
            double k, gamma;
            lambert_calc(&ell, &z, p.lat, p.lon, &p.easting, &p.northing, &k, &gamma, 1);
        }
        return v;
    }();
    return points;
}

using kelvane::bench::rsoBorneo;

const std::vector<BoxPoint>& omPoints()
{
    static const std::vector<BoxPoint> points = [] {
        std::vector<BoxPoint> v = kelvane::bench::pointsInBox(-1 * kDeg, 9 * kDeg, 110 * kDeg, 120 * kDeg);
        for (BoxPoint& p : v) {
            geodCoord g{};
            g.lat = p.lat;
            g.lon = p.lon;
            latLong2XY_OMProjCenter(rsoBorneo(), &g);
            p.northing = g.northing;
            p.easting = g.easting;
        }
        return v;
    }();
    return points;
}

geodCoord geographic(const BoxPoint& p)
{
    geodCoord g{};
    g.lat = p.lat;
    g.lon = p.lon;
    return g;
}

geodCoord grid(const BoxPoint& p)
{
    geodCoord g{};
    g.northing = p.northing;
    g.easting = p.easting;
    return g;
}

// UTM zone 31 north on the stand-alone record; points 0 to 80 N within 3.5 degrees of 3 E.
zoneCnstntTM utm31()
{
    zoneCnstntTM z{};
    initUTMZone(31, 0, grs80(), &z);
    return z;
}

const std::vector<BoxPoint>& tmPoints()
{
    static const std::vector<BoxPoint> points = [] {
        std::vector<BoxPoint> v = kelvane::bench::pointsInBox(0.0, 80 * kDeg, -0.5 * kDeg, 6.5 * kDeg);
        for (BoxPoint& p : v) {
            geodCoord g{};
            g.lat = p.lat;
            g.lon = p.lon;
            latLong2XY_TransverseMercator(utm31(), &g);
            p.northing = g.northing;
            p.easting = g.easting;
        }
        return v;
    }();
    return points;
}

void BM_latLong2XY_TransverseMercator(benchmark::State& state)
{
    const zoneCnstntTM z = utm31();
    runBatch(state, tmPoints(), [&z](const BoxPoint& p) {
        geodCoord g = geographic(p);
        latLong2XY_TransverseMercator(z, &g);
        return g;
    });
}
BENCHMARK(BM_latLong2XY_TransverseMercator);

void BM_XY_TransverseMercator2latLong(benchmark::State& state)
{
    const zoneCnstntTM z = utm31();
    runBatch(state, tmPoints(), [&z](const BoxPoint& p) {
        geodCoord g = grid(p);
        XY_TransverseMercator2latLong(z, &g);
        return g;
    });
}
BENCHMARK(BM_XY_TransverseMercator2latLong);

void BM_latLong2XY_Lambert(benchmark::State& state)
{
    zoneCnstntLambert z = lambertRecord();
    runBatch(state, lambertPoints(), [&z](const BoxPoint& p) {
        geodCoord g = geographic(p);
        latLong2XY_Lambert(&z, &g);
        return g;
    });
}
BENCHMARK(BM_latLong2XY_Lambert);

struct CalcOut {
    double x, y, k, gamma;
};

void lambertCalc(benchmark::State& state, int direction)
{
    ellipsoid ell = grs80();
    zoneCnstnt z = lambertCalcZone();
    runBatch(state, lambertPoints(), [&ell, &z, direction](const BoxPoint& p) {
        CalcOut o;
        if (direction == 1) {
            lambert_calc(&ell, &z, p.lat, p.lon, &o.x, &o.y, &o.k, &o.gamma, 1);
        } else {
            lambert_calc(&ell, &z, p.northing, p.easting, &o.x, &o.y, &o.k, &o.gamma, 0);
        }
        return o;
    });
}

void BM_lambert_calc_forward(benchmark::State& state) { lambertCalc(state, 1); }
BENCHMARK(BM_lambert_calc_forward);
void BM_lambert_calc_inverse(benchmark::State& state) { lambertCalc(state, 0); }
BENCHMARK(BM_lambert_calc_inverse);

void BM_latLong2XY_OMProjCenter(benchmark::State& state)
{
    const zoneCnstntObliqueMerc z = rsoBorneo();
    runBatch(state, omPoints(), [&z](const BoxPoint& p) {
        geodCoord g = geographic(p);
        latLong2XY_OMProjCenter(z, &g);
        return g;
    });
}
BENCHMARK(BM_latLong2XY_OMProjCenter);

void BM_XY2latLong_OMProjCenter(benchmark::State& state)
{
    const zoneCnstntObliqueMerc z = rsoBorneo();
    runBatch(state, omPoints(), [&z](const BoxPoint& p) {
        geodCoord g = grid(p);
        XY2latLong_OMProjCenter(z, &g);
        return g;
    });
}
BENCHMARK(BM_XY2latLong_OMProjCenter);

void BM_OGCTObliqueMercator_TransGeoToMap(benchmark::State& state)
{
    OGCTObliqueMercator om;
    om.Init(rsoBorneo());
    runBatch(state, omPoints(), [&om](const BoxPoint& p) {
        geodCoord g = geographic(p);
        om.TransGeoToMap(&g);
        return g;
    });
}
BENCHMARK(BM_OGCTObliqueMercator_TransGeoToMap);

void BM_OGCTObliqueMercator_TransMapToGeo(benchmark::State& state)
{
    OGCTObliqueMercator om;
    om.Init(rsoBorneo());
    runBatch(state, omPoints(), [&om](const BoxPoint& p) {
        geodCoord g = grid(p);
        om.TransMapToGeo(&g);
        return g;
    });
}
BENCHMARK(BM_OGCTObliqueMercator_TransMapToGeo);

void BM_latLong2XY_ObliqueMercator(benchmark::State& state)
{
    zoneCnstntObliqueMerc z = rsoBorneo();
    runBatch(state, omPoints(), [&z](const BoxPoint& p) {
        geodCoord g = geographic(p);
        latLong2XY_ObliqueMercator(&z, &g);
        return g;
    });
}
BENCHMARK(BM_latLong2XY_ObliqueMercator);

void BM_XY2latLong_ObliqueMercator(benchmark::State& state)
{
    zoneCnstntObliqueMerc z = rsoBorneo();
    runBatch(state, omPoints(), [&z](const BoxPoint& p) {
        geodCoord g = grid(p);
        XY2latLong_ObliqueMercator(&z, &g);
        return g;
    });
}
BENCHMARK(BM_XY2latLong_ObliqueMercator);

#ifdef KELVANE_BENCH_WITH_PROJ

// One PROJ transformation, made before timing starts and kept for the run.
PJ* projFor(const char* definition)
{
    PJ* pj = proj_create(PJ_DEFAULT_CTX, definition);
    return pj;
}

PJ* projUtm31()
{
    static PJ* pj = projFor("+proj=utm +zone=31 +ellps=GRS80");
    return pj;
}

PJ* projLambert()
{
    static PJ* pj = projFor("+proj=lcc +lat_1=45 +lat_2=33 +lat_0=23 +lon_0=-96 +k_0=0.9999 +x_0=500000 "
                            "+y_0=0 +ellps=GRS80");
    return pj;
}

PJ* projOmerc()
{
    static PJ* pj = projFor("+proj=omerc +lat_0=4 +lonc=115 +alpha=53.315820472222 +gamma=53.130102361111 "
                            "+k=0.99984 +x_0=590476.87 +y_0=442857.65 +a=6377298.556 +rf=300.8017");
    return pj;
}

double largestDifference(PJ* pj, const std::vector<BoxPoint>& points)
{
    double worst = 0.0;
    for (const BoxPoint& p : points) {
        const PJ_COORD out = proj_trans(pj, PJ_FWD, proj_coord(p.lon, p.lat, 0.0, 0.0));
        worst = std::fmax(worst, std::hypot(out.xy.x - p.easting, out.xy.y - p.northing));
    }
    return worst;
}

void projBatch(benchmark::State& state, PJ* pj, const std::vector<BoxPoint>& points, PJ_DIRECTION direction)
{
    if (!pj) {
        state.SkipWithError("PROJ could not create the transformation");
        return;
    }
    runBatch(state, points, [pj, direction](const BoxPoint& p) {
        const PJ_COORD in = direction == PJ_FWD ? proj_coord(p.lon, p.lat, 0.0, 0.0)
                                                : proj_coord(p.easting, p.northing, 0.0, 0.0);
        return proj_trans(pj, direction, in);
    });
    if (direction == PJ_FWD) state.counters["max_diff_m"] = largestDifference(pj, points);
}

void BM_PROJ_utm31_forward(benchmark::State& state) { projBatch(state, projUtm31(), tmPoints(), PJ_FWD); }
BENCHMARK(BM_PROJ_utm31_forward);
void BM_PROJ_utm31_inverse(benchmark::State& state) { projBatch(state, projUtm31(), tmPoints(), PJ_INV); }
BENCHMARK(BM_PROJ_utm31_inverse);
void BM_PROJ_lcc_forward(benchmark::State& state) { projBatch(state, projLambert(), lambertPoints(), PJ_FWD); }
BENCHMARK(BM_PROJ_lcc_forward);
void BM_PROJ_lcc_inverse(benchmark::State& state) { projBatch(state, projLambert(), lambertPoints(), PJ_INV); }
BENCHMARK(BM_PROJ_lcc_inverse);
void BM_PROJ_omerc_forward(benchmark::State& state) { projBatch(state, projOmerc(), omPoints(), PJ_FWD); }
BENCHMARK(BM_PROJ_omerc_forward);
void BM_PROJ_omerc_inverse(benchmark::State& state) { projBatch(state, projOmerc(), omPoints(), PJ_INV); }
BENCHMARK(BM_PROJ_omerc_inverse);

#endif // KELVANE_BENCH_WITH_PROJ

} // namespace
