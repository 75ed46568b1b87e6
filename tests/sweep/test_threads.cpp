// The re-entrant conversions from several threads at once: each thread converts the same
// points in many zones and caller-built records, in an order of its own (so that the
// constants each thread remembers keep changing under it), and every result must be bit
// for bit what one thread alone computed. Run under the sanitizers too.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "kelvane/kelvane.h"

namespace {

const double kDeg = 4.0 * std::atan(1.0) / 180.0;
using Convert = std::function<void(int point, geodCoord& p)>; // point index 0..kPoints-1
constexpr int kPoints = 64;

ellipsoid ellipsoidOf(double a, double f)
{
    ellipsoid e{};
    return initEllipsoid(&e, a, f), e;
}

// A pointer to a copy of r that lives until the end of the full expression.
template <class R> R* copy(const R& r, R&& scratch = R{})
{
    return &(scratch = r);
}

// A forward conversion of a point near (lat0, lon0) degrees and the inverse of its result.
template <class F, class G> Convert roundTrip(double lat0, double lon0, F forward, G inverse)
{
    return [=](int i, geodCoord& p) {
        p = geodCoord{};
        p.lat = (lat0 + (i % 8) * 0.3) * kDeg, p.lon = (lon0 + (i / 8) * 0.4) * kDeg;
        forward(p);
        const double n = p.northing, e = p.easting;
        p = geodCoord{};
        p.northing = n, p.easting = e;
        inverse(p);
    };
}

std::vector<Convert> tasks()
{
    std::vector<Convert> t;
    const ellipsoid ells[3] = {ellipsoidOf(6378137.0, 0.0033528106811836675), ellipsoidOf(6378388.0, 1 / 297.0),
                               ellipsoidOf(6377563.396, 1 / 299.3249646)};
    for (const ellipsoid& e : ells) {
        for (int code : {31, 33, 91}) {
            const double lon0 = -183.0 + 6.0 * (code > 60 ? code - 60 : code) - 1.0;
            t.push_back(roundTrip(code > 60 ? -40.0 : 40.0, lon0,
                                  [=](geodCoord& p) { UTMGeod2Grid(code, copy(e), &p); },
                                  [=](geodCoord& p) { UTMGrid2Geod(code, copy(e), &p); }));
        }
        for (int k = 0; k < 6; ++k) // caller-built records of every kind, more than a thread remembers
            for (int kind = 0; kind < 3; ++kind) {
                zoneCnstnt z{};
                z.projection = kind, z.scaleFactor = 0.9999 - k * 1e-5, z.falseEasting = 5e5;
                z.centralMeridian = kind == 2 ? (10.0 + 7 * k) * kDeg : (-20.0 - 3 * k) * kDeg;
                z.originLat = (30.0 + 2 * k) * kDeg, z.originLon = (-20.0 - 3 * k) * kDeg;
                z.southParallel = (29.0 + 2 * k) * kDeg, z.northParallel = (33.0 + 2 * k) * kDeg;
                t.push_back(roundTrip(30.0 + 2 * k, 19.0 + 3 * k,
                                      [=](geodCoord& p) { p.lon = -p.lon, geod2Grid(copy(e), copy(z), &p); },
                                      [=](geodCoord& p) { grid2Geod(copy(e), copy(z), &p); }));
            }
    }
    for (int code : {101, 4803, 5001, 3200, 5010, 1301})
        t.push_back(roundTrip(30.0, -100.0, [=](geodCoord& p) { SPC83Geod2Grid(code, &p); },
                              [=](geodCoord& p) { SPC83Grid2Geod(code, &p); }));
    for (int code : {101, 4204, 5001, 5005, 2111}) {
        zoneconstant27 z{};
        initSPC27Zone(code, &z);
        t.push_back(roundTrip(33.0, 95.0, [=](geodCoord& p) { geod2SPC27(copy(z), &p); },
                              [=](geodCoord& p) { SPC272Geod(copy(z), &p); }));
    }
    return t;
}

using Results = std::vector<std::vector<geodCoord>>;

// Runs every task over every point, starting with task `first` and wrapping round.
Results run(const std::vector<Convert>& t, std::size_t first)
{
    Results r(t.size(), std::vector<geodCoord>(kPoints));
    for (int i = 0; i < kPoints; ++i)
        for (std::size_t k = 0; k < t.size(); ++k) {
            const std::size_t task = (first + k * 7) % t.size();
            t[task](i, r[task][i]);
        }
    return r;
}

TEST(Threads, ConcurrentConversionsGiveTheSingleThreadResults)
{
    init83ZoneConstants();
    init27ZoneConstants();
    const std::vector<Convert> t = tasks();
    ASSERT_NE(t.size() % 7, 0u); // the stride 7 visits every task
    const Results expected = run(t, 0);

    constexpr int kThreads = 4, kRounds = 4;
    std::vector<Results> got(kThreads * kRounds);
    std::vector<std::thread> threads;
    for (int n = 0; n < kThreads; ++n)
        threads.emplace_back([&, n] {
            for (int r = 0; r < kRounds; ++r) got[n * kRounds + r] = run(t, 5 * n + r + 1);
        });
    for (std::thread& th : threads) th.join();

    for (std::size_t n = 0; n < got.size(); ++n)
        for (std::size_t k = 0; k < t.size(); ++k)
            EXPECT_EQ(std::memcmp(got[n][k].data(), expected[k].data(), kPoints * sizeof(geodCoord)), 0)
                << "thread " << n / kRounds << ", round " << n % kRounds << ", task " << k;
}

} // namespace
