// The batch entry points, nanoseconds per point over 4096 points converted in one call,
// against PROJ's proj_trans_generic on the same arrays in the same run. Each iteration
// times proj_trans_generic over copies of the input arrays ("proj_per_point") and one
// batch call of this library ("time_per_point"), in turn, so that both see the same load
// on the machine; "ratio_kelvane_over_proj" divides the two CPU times. "max_diff_m" (or "max_diff_rad") is the
// largest difference between the two results, so the timings are known to do the same
// work. This library also delivers the scale factor and convergence of every point, which
// PROJ does not. Without PROJ only this library is timed.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <ctime>
#include <functional>
#include <vector>

#include "bench/point_batch.h"
#include "bench/support/peer_comparison.h"
#include "kelvane/kelvane.h"

#ifdef KELVANE_BENCH_WITH_PROJ
#include <proj.h>
#endif

namespace {

using kelvane::bench::kBatch;
using kelvane::bench::pointsInBox;
const double kDeg = 4.0 * std::atan(1.0) / 180.0;

using kelvane::bench::grs80;

batchIn in(const std::vector<double>& v) { return {v.data(), sizeof(double)}; }
batchOut out(std::vector<double>& v) { return {v.data(), sizeof(double)}; }

// Two input columns and the four output columns of one conversion, and its statuses.
struct Arrays {
    std::vector<double> in1, in2, in3; // in3: heights (geocentric) or unused
    std::vector<double> out1 = std::vector<double>(kBatch), out2 = std::vector<double>(kBatch);
    std::vector<double> out3 = std::vector<double>(kBatch), out4 = std::vector<double>(kBatch);
    std::vector<int> status = std::vector<int>(kBatch);
};

double cpuSeconds(const std::function<void()>& f)
{
    const std::clock_t start = std::clock();
    f();
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

// The geographic inputs (lat, lon in radians) of kBatch points in a box (degrees), with the
// heights of a geocentric conversion.
Arrays geographic(double lat0, double lat1, double lon0, double lon1)
{
    Arrays a;
    for (const auto& p : pointsInBox(lat0 * kDeg, lat1 * kDeg, lon0 * kDeg, lon1 * kDeg)) {
        a.in1.push_back(p.lat);
        a.in2.push_back(p.lon);
        a.in3.push_back(1000.0 * p.lat); // heights from -1.4 km to 1.4 km
    }
    return a;
}

// The outputs of a forward batch as the inputs of the inverse one.
Arrays inverseOf(const Arrays& forward, bool geocentric = false)
{
    Arrays a;
    a.in1 = forward.out1;
    a.in2 = forward.out2;
    if (geocentric) a.in3 = forward.out3;
    return a;
}

// What PROJ is compared on: its definition, direction, and where its inputs (x, y, z) and
// its results (x, y) stand among this library's columns. Angles are radians on both sides;
// `units` scales this library's lengths to PROJ's (US survey feet).
struct Peer {
    const char* definition;
    bool forward;
    std::vector<double> Arrays::*x;
    std::vector<double> Arrays::*y;
    std::vector<double> Arrays::*z; // nullptr: two-dimensional
    std::vector<double> Arrays::*resultX;
    std::vector<double> Arrays::*resultY;
    std::vector<double> Arrays::*resultZ;
    double resultXSign = 1.0; // -1: this library's x result is a longitude positive west
};

// Times ours (one batch call on a) and the peer as described above in turn, in every
// iteration; the CPU times per point and their ratio are the counters.
void versusProj(benchmark::State& state, Arrays& a, const std::function<int(Arrays&)>& ours, const Peer& peer)
{
    if (ours(a) < 0) {
        state.SkipWithError("the batch call was refused");
        return;
    }
    const auto oursOnce = [&] { return cpuSeconds([&] { benchmark::DoNotOptimize(ours(a)); }); };
#ifdef KELVANE_BENCH_WITH_PROJ
    const kelvane_bench::ProjPipeline proj(peer.definition);
    if (!proj.get()) {
        state.SkipWithError("PROJ could not create the transformation");
        return;
    }
    std::vector<double> x, y, z;
    const auto load = [&] {
        x = a.*peer.x;
        y = a.*peer.y;
        if (peer.z) z = a.*peer.z;
    };
    const auto run = [&] {
        proj_trans_generic(proj.get(), peer.forward ? PJ_FWD : PJ_INV, x.data(), sizeof(double), x.size(), y.data(),
                           sizeof(double), y.size(), peer.z ? z.data() : nullptr, sizeof(double),
                           peer.z ? z.size() : 0, nullptr, 0, 0);
    };
    const auto [theirsSeconds, oursSeconds] = kelvane_bench::secondsInTurn(
        state, [&] { load(); return cpuSeconds(run); }, oursOnce);
    const double points = static_cast<double>(state.iterations()) * static_cast<double>(kBatch);
    state.counters["proj_per_point"] = theirsSeconds / points;
    if (theirsSeconds > 0.0) state.counters["ratio_kelvane_over_proj"] = oursSeconds / theirsSeconds;
    load();
    run();
    double worst = 0.0;
    for (std::size_t i = 0; i < kBatch; ++i) {
        double d = std::hypot(x[i] - peer.resultXSign * (a.*peer.resultX)[i], y[i] - (a.*peer.resultY)[i]);
        if (peer.resultZ) d = std::hypot(d, z[i] - (a.*peer.resultZ)[i]);
        worst = std::fmax(worst, d);
    }
    state.counters[peer.forward || peer.resultZ ? "max_diff_m" : "max_diff_rad"] = worst;
#else
    static_cast<void>(peer);
    double oursSeconds = 0.0;
    for (auto _ : state) oursSeconds += oursOnce();
    const double points = static_cast<double>(state.iterations()) * static_cast<double>(kBatch);
#endif
    state.counters["time_per_point"] = oursSeconds / points;
}

// Forward peers read (lon, lat) and give (easting, northing); inverse ones the reverse.
Peer forwardPeer(const char* definition)
{
    return {definition, true, &Arrays::in2, &Arrays::in1, nullptr, &Arrays::out2, &Arrays::out1, nullptr};
}
Peer inversePeer(const char* definition)
{
    return {definition, false, &Arrays::in2, &Arrays::in1, nullptr, &Arrays::out2, &Arrays::out1, nullptr};
}

// ---- UTM, zone 31 north, with scale factor and convergence ----

const char* const kUtm31 = "+proj=utm +zone=31 +ellps=GRS80";

int utmForward(Arrays& a)
{
    ellipsoid ell = grs80();
    return UTMGeod2GridBatch(31, &ell, kBatch, in(a.in1), in(a.in2), out(a.out1), out(a.out2), out(a.out3),
                             out(a.out4), nullptr, a.status.data());
}

int utmInverse(Arrays& a)
{
    ellipsoid ell = grs80();
    return UTMGrid2GeodBatch(31, &ell, kBatch, in(a.in1), in(a.in2), out(a.out1), out(a.out2), out(a.out3),
                             out(a.out4), a.status.data());
}

Arrays utmPoints()
{
    Arrays a = geographic(0.0, 84.0, -0.5, 6.5);
    utmForward(a);
    return a;
}

void BM_Batch_UTMGeod2Grid(benchmark::State& state)
{
    Arrays a = utmPoints();
    versusProj(state, a, utmForward, forwardPeer(kUtm31));
}
BENCHMARK(BM_Batch_UTMGeod2Grid);

void BM_Batch_UTMGrid2Geod(benchmark::State& state)
{
    Arrays a = inverseOf(utmPoints());
    versusProj(state, a, utmInverse, inversePeer(kUtm31));
}
BENCHMARK(BM_Batch_UTMGrid2Geod);

// ---- state plane 1983: 0101 Alabama East (TM), 4803 Wisconsin South (Lambert) ----

const char* const kSpc0101 =
    "+proj=tmerc +lat_0=30.5 +lon_0=-85.83333333333333 +k=0.99996 +x_0=200000 +y_0=0 +ellps=GRS80";
const char* const kSpc4803 = "+proj=lcc +lat_1=44.06666666666667 +lat_2=42.733333333333334 +lat_0=42 +lon_0=-90 "
                             "+x_0=600000 +y_0=0 +ellps=GRS80";

std::function<int(Arrays&)> spc83(int zone, bool forward)
{
    return [zone, forward](Arrays& a) {
        init83ZoneConstants();
        return (forward ? SPC83Geod2GridBatch : SPC83Grid2GeodBatch)(zone, kBatch, in(a.in1), in(a.in2), out(a.out1),
                                                                     out(a.out2), out(a.out3), out(a.out4),
                                                                     a.status.data());
    };
}

Arrays spc83Points(int zone)
{
    Arrays a = zone == 101 ? geographic(30.5, 35.0, -87.0, -84.9) : geographic(42.5, 44.3, -91.5, -87.0);
    spc83(zone, true)(a);
    return a;
}

void BM_Batch_SPC83Geod2Grid_0101(benchmark::State& state)
{
    Arrays a = spc83Points(101);
    versusProj(state, a, spc83(101, true), forwardPeer(kSpc0101));
}
BENCHMARK(BM_Batch_SPC83Geod2Grid_0101);

void BM_Batch_SPC83Grid2Geod_0101(benchmark::State& state)
{
    Arrays a = inverseOf(spc83Points(101));
    versusProj(state, a, spc83(101, false), inversePeer(kSpc0101));
}
BENCHMARK(BM_Batch_SPC83Grid2Geod_0101);

void BM_Batch_SPC83Geod2Grid_4803(benchmark::State& state)
{
    Arrays a = spc83Points(4803);
    versusProj(state, a, spc83(4803, true), forwardPeer(kSpc4803));
}
BENCHMARK(BM_Batch_SPC83Geod2Grid_4803);

void BM_Batch_SPC83Grid2Geod_4803(benchmark::State& state)
{
    Arrays a = inverseOf(spc83Points(4803));
    versusProj(state, a, spc83(4803, false), inversePeer(kSpc4803));
}
BENCHMARK(BM_Batch_SPC83Grid2Geod_4803);

// ---- state plane 1927: 0101 (TM) and 4204 (Lambert), US survey feet ----

const char* const kSpc27_0101 = "+proj=tmerc +lat_0=30.5 +lon_0=-85.83333333333333 +k=0.99996 +x_0=152400.3048006096 "
                                "+y_0=0 +ellps=clrk66 +units=us-ft";
const char* const kSpc27_4204 = "+proj=lcc +lat_1=28.38333333333333 +lat_2=30.28333333333333 +lat_0=27.83333333333333 "
                                "+lon_0=-99 +x_0=609601.2192024384 +y_0=0 +ellps=clrk66 +units=us-ft";

// The family takes longitudes positive west; PROJ gets them positive east in a column of
// their own (in3). Lengths are US survey feet on both sides, and so is "max_diff_m" here.
std::function<int(Arrays&)> spc27Forward(int code)
{
    return [code](Arrays& a) {
        init27ZoneConstants();
        zoneconstant27 zone{};
        initSPC27Zone(code, &zone);
        return geod2SPC27Batch(&zone, kBatch, in(a.in1), in(a.in2), out(a.out1), out(a.out2), out(a.out3),
                               out(a.out4), a.status.data());
    };
}

Arrays spc27Points(int code)
{
    Arrays a = code == 101 ? geographic(30.5, 35.0, -87.0, -84.9) : geographic(27.9, 30.2, -101.0, -97.0);
    for (std::size_t i = 0; i < kBatch; ++i) {
        a.in3[i] = a.in2[i];
        a.in2[i] = -a.in2[i];
    }
    spc27Forward(code)(a);
    return a;
}

void spc27VersusProj(benchmark::State& state, int code, const char* definition)
{
    Arrays a = spc27Points(code);
    versusProj(state, a, spc27Forward(code),
               {definition, true, &Arrays::in3, &Arrays::in1, nullptr, &Arrays::out2, &Arrays::out1, nullptr});
}

void BM_Batch_geod2SPC27_0101(benchmark::State& state) { spc27VersusProj(state, 101, kSpc27_0101); }
BENCHMARK(BM_Batch_geod2SPC27_0101);
void BM_Batch_geod2SPC27_4204(benchmark::State& state) { spc27VersusProj(state, 4204, kSpc27_4204); }
BENCHMARK(BM_Batch_geod2SPC27_4204);

// The inverse on the forward's grid coordinates; the longitude comes back positive west.
void spc27InverseVersusProj(benchmark::State& state, int code, const char* definition)
{
    Arrays a = inverseOf(spc27Points(code));
    Peer peer = inversePeer(definition);
    peer.resultXSign = -1.0;
    versusProj(
        state, a,
        [code](Arrays& b) {
            zoneconstant27 zone{};
            initSPC27Zone(code, &zone);
            return SPC272GeodBatch(&zone, kBatch, in(b.in1), in(b.in2), out(b.out1), out(b.out2), out(b.out3),
                                   out(b.out4), b.status.data());
        },
        peer);
}

void BM_Batch_SPC272Geod_0101(benchmark::State& state) { spc27InverseVersusProj(state, 101, kSpc27_0101); }
BENCHMARK(BM_Batch_SPC272Geod_0101);
void BM_Batch_SPC272Geod_4204(benchmark::State& state) { spc27InverseVersusProj(state, 4204, kSpc27_4204); }
BENCHMARK(BM_Batch_SPC272Geod_4204);

// ---- stand-alone projections: Transverse Mercator (UTM 32), lambert_calc, oblique Mercator ----

const char* const kUtm32 = "+proj=utm +zone=32 +ellps=GRS80";
const char* const kLcc = "+proj=lcc +lat_1=45 +lat_2=33 +lat_0=23 +lon_0=-96 +x_0=0 +y_0=0 +ellps=GRS80";
const char* const kOmerc = "+proj=omerc +lat_0=4 +lonc=115 +alpha=53.31582047222222 +gamma=53.13010236111111 "
                           "+k=0.99984 +x_0=590476.87 +y_0=442857.65 +a=6377298.556 +rf=300.8017";

zoneCnstntTM utm32()
{
    zoneCnstntTM zc{};
    initUTMZone(32, 0, grs80(), &zc);
    return zc;
}

int tmForward(Arrays& a)
{
    const zoneCnstntTM zc = utm32();
    return latLong2XY_TransverseMercatorBatch(&zc, kBatch, in(a.in1), in(a.in2), out(a.out1), out(a.out2),
                                              out(a.out3), out(a.out4), a.status.data());
}

int tmInverse(Arrays& a)
{
    const zoneCnstntTM zc = utm32();
    return XY_TransverseMercator2latLongBatch(&zc, kBatch, in(a.in1), in(a.in2), out(a.out1), out(a.out2),
                                              out(a.out3), out(a.out4), a.status.data());
}

Arrays tmPoints()
{
    Arrays a = geographic(35.0, 70.0, 5.5, 12.5);
    tmForward(a);
    return a;
}

void BM_Batch_latLong2XY_TransverseMercator(benchmark::State& state)
{
    Arrays a = tmPoints();
    versusProj(state, a, tmForward, forwardPeer(kUtm32));
}
BENCHMARK(BM_Batch_latLong2XY_TransverseMercator);

void BM_Batch_XY_TransverseMercator2latLong(benchmark::State& state)
{
    Arrays a = inverseOf(tmPoints());
    versusProj(state, a, tmInverse, inversePeer(kUtm32));
}
BENCHMARK(BM_Batch_XY_TransverseMercator2latLong);

// lambert_calc writes easting (x) before northing (y): out1 holds the easting here, so the
// peer reads its results the other way round.
std::function<int(Arrays&)> lambertCalc(int direction)
{
    return [direction](Arrays& a) {
        ellipsoid ell = grs80();
        zoneCnstnt zone{};
        zone.northParallel = 45.0 * kDeg;
        zone.southParallel = 33.0 * kDeg;
        zone.calcOriginLat = 23.0 * kDeg;
        zone.centralMeridian = -96.0 * kDeg;
        zone.scaleFactor = 1.0;
        return lambert_calcBatch(&ell, &zone, kBatch, in(a.in1), in(a.in2), out(a.out1), out(a.out2), out(a.out3),
                                 out(a.out4), direction, a.status.data());
    };
}

void BM_Batch_lambert_calc_forward(benchmark::State& state)
{
    Arrays a = geographic(25.0, 50.0, -125.0, -67.0);
    versusProj(state, a, lambertCalc(1),
               {kLcc, true, &Arrays::in2, &Arrays::in1, nullptr, &Arrays::out1, &Arrays::out2, nullptr});
}
BENCHMARK(BM_Batch_lambert_calc_forward);

void BM_Batch_lambert_calc_inverse(benchmark::State& state)
{
    Arrays geo = geographic(25.0, 50.0, -125.0, -67.0);
    lambertCalc(1)(geo);
    Arrays a;
    a.in1 = geo.out2; // northing
    a.in2 = geo.out1; // easting
    versusProj(state, a, lambertCalc(0),
               {kLcc, false, &Arrays::in2, &Arrays::in1, nullptr, &Arrays::out1, &Arrays::out2, nullptr});
}
BENCHMARK(BM_Batch_lambert_calc_inverse);

// The stand-alone Lambert record of the same zone (central meridian positive west).
int lambertRecordForward(Arrays& a)
{
    zoneCnstntLambert zl{};
    zl.ell = grs80();
    zl.centralMeridian = 96.0 * kDeg;
    zl.originLat = 23.0 * kDeg;
    zl.southParallel = 33.0 * kDeg;
    zl.northParallel = 45.0 * kDeg;
    return latLong2XY_LambertBatch(&zl, kBatch, in(a.in1), in(a.in2), out(a.out1), out(a.out2), out(a.out3),
                                   out(a.out4), a.status.data());
}

void BM_Batch_latLong2XY_Lambert(benchmark::State& state)
{
    Arrays a = geographic(25.0, 50.0, -125.0, -67.0);
    versusProj(state, a, lambertRecordForward,
               {kLcc, true, &Arrays::in2, &Arrays::in1, nullptr, &Arrays::out2, &Arrays::out1, nullptr});
}
BENCHMARK(BM_Batch_latLong2XY_Lambert);

using kelvane::bench::rsoBorneo;

int omForward(Arrays& a)
{
    const zoneCnstntObliqueMerc z = rsoBorneo();
    return latLong2XY_OMProjCenterBatch(&z, kBatch, in(a.in1), in(a.in2), out(a.out1), out(a.out2), out(a.out3),
                                        a.status.data());
}

int omInverse(Arrays& a)
{
    const zoneCnstntObliqueMerc z = rsoBorneo();
    return XY2latLong_OMProjCenterBatch(&z, kBatch, in(a.in1), in(a.in2), out(a.out1), out(a.out2), out(a.out3),
                                        a.status.data());
}

Arrays omPoints()
{
    Arrays a = geographic(0.5, 7.5, 109.5, 119.5);
    omForward(a);
    return a;
}

void BM_Batch_latLong2XY_OMProjCenter(benchmark::State& state)
{
    Arrays a = omPoints();
    versusProj(state, a, omForward, forwardPeer(kOmerc));
}
BENCHMARK(BM_Batch_latLong2XY_OMProjCenter);

void BM_Batch_XY2latLong_OMProjCenter(benchmark::State& state)
{
    Arrays a = inverseOf(omPoints());
    versusProj(state, a, omInverse, inversePeer(kOmerc));
}
BENCHMARK(BM_Batch_XY2latLong_OMProjCenter);

// ---- geocentric, GRS 80, points over the globe ----

const char* const kCart = "+proj=cart +ellps=GRS80";

int toGeocentric(Arrays& a)
{
    const ellipsoid ell = grs80();
    return latLongElev2XYZ_ECBatch(&ell, kBatch, in(a.in1), in(a.in2), in(a.in3), out(a.out1), out(a.out2),
                                   out(a.out3), a.status.data());
}

int fromGeocentric(Arrays& a)
{
    const ellipsoid ell = grs80();
    return XYZ_EC2latLongElevBatch(&ell, kBatch, in(a.in1), in(a.in2), in(a.in3), out(a.out1), out(a.out2),
                                   out(a.out3), a.status.data());
}

Arrays geocentricPoints()
{
    Arrays a = geographic(-89.0, 89.0, -179.0, 179.0);
    toGeocentric(a);
    return a;
}

void BM_Batch_latLongElev2XYZ_EC(benchmark::State& state)
{
    Arrays a = geocentricPoints();
    versusProj(state, a, toGeocentric,
               {kCart, true, &Arrays::in2, &Arrays::in1, &Arrays::in3, &Arrays::out1, &Arrays::out2, &Arrays::out3});
}
BENCHMARK(BM_Batch_latLongElev2XYZ_EC);

void BM_Batch_XYZ_EC2latLongElev(benchmark::State& state)
{
    Arrays a = inverseOf(geocentricPoints(), true);
    // PROJ's inverse gives (lon, lat, h): the difference mixes radians and metres, and is
    // reported as max_diff_m (it is dominated by the height).
    versusProj(state, a, fromGeocentric,
               {kCart, false, &Arrays::in1, &Arrays::in2, &Arrays::in3, &Arrays::out2, &Arrays::out1, &Arrays::out3});
}
BENCHMARK(BM_Batch_XYZ_EC2latLongElev);

} // namespace
