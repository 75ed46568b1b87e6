// UTM zones: published examples, round trips in every zone code, the southern-hemisphere
// rules, the automatic zone choice at its boundaries, and the zone-name list.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "kelvane/kelvane.h"
#include "support/test_support.h"

using namespace ktest;

namespace {

int autoZone(double latDeg, double lonDeg) { return utmZoneFromPosition(latDeg * kDeg, lonDeg * kDeg); }

} // namespace

// --- Published worked examples ----------------------------------------------------------

// DMA Technical Manual 8358.2, sample output (International 1924). Printed to 0.01 m,
// 0.001" of latitude and longitude, 0.01" of convergence (E positive) and 1e-8 of scale.
TEST(UtmPublished, Dma83582Forward)
{
    ellipsoid ell = international1924();
    struct Row {
        double lat, lon;
        int zone;
        double northing, easting, convergence, scale;
    };
    const Row rows[] = {
        {dms(73, 0, 0), dms(45, 0, 0), 38, 8100702.90, 500000.00, 0.0, 0.99960000},
        {dms(30, 0, 0), dms(102, 0, 0), 47, 3322624.35, 789422.07, dms(1, 30, 3.76), 1.00063354},
        {dms(30, 0, 0), dms(102, 0, 0), 48, 3322624.35, 210577.93, -dms(1, 30, 3.76), 1.00063354},
        {dms(72, 4, 32.110), -dms(113, 54, 43.321), 12, 8000000.01, 400000.00, -dms(2, 46, 15.31), 0.99972228},
        // Just outside zone 11, still inside the series' accuracy (within 3 mm).
        {dms(72, 4, 32.110), -dms(113, 54, 43.321), 11, 8000301.04, 606036.97, dms(2, 56, 18.08), 0.99973749},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.zone);
        geodCoord p = geographic(r.lat, r.lon);
        ASSERT_EQ(UTMGeod2Grid(r.zone, &ell, &p), 0);
        EXPECT_NEAR(p.northing, r.northing, 0.01);
        EXPECT_NEAR(p.easting, r.easting, 0.01);
        EXPECT_NEAR(p.convergence, r.convergence, 0.01 * kArcSecond);
        EXPECT_NEAR(p.gridScale, r.scale, 1e-8);
        EXPECT_EQ(p.utmZone, r.zone);
    }
}

// The inverse rows of the same manual. ID 7 lies in the south (codes 90 and 91); its
// printed convergence "W" is negative, which is what the southern inverse delivers.
TEST(UtmPublished, Dma83582Inverse)
{
    ellipsoid ell = international1924();
    struct Row {
        int zone;
        double northing, easting, lat, lon, convergence, scale;
    };
    const double id4Lat = dms(30, 0, 6.489), id4Lon = dms(101, 59, 59.805);
    const double id5Lat = dms(9, 2, 10.706), id5Lon = dms(0, 16, 17.099);
    const double id7Lat = -dms(54, 6, 28.992), id7Lon = dms(0, 3, 33.695);
    const Row rows[] = {
        {48, 3322824.35, 210577.93, id4Lat, id4Lon, -dms(1, 30, 4.15), 1.00063354},
        {47, 3322824.08, 789411.59, id4Lat, id4Lon, dms(1, 30, 3.96), 1.00063346},
        {31, 1000000.00, 200000.00, id5Lat, id5Lon, -dms(0, 25, 43.95), 1.00071386},
        {30, 1000491.75, 859739.88, id5Lat, id5Lon, dms(0, 30, 51.72), 1.00120178},
        {43, 9000000.00, 500000.00, dms(81, 3, 30.487), dms(75, 0, 0), 0.0, 0.99960000},
        {90, 4000000.00, 700000.00, id7Lat, id7Lon, -dms(2, 28, 45.39), 1.00009080},
        {91, 4000329.42, 307758.89, id7Lat, id7Lon, dms(2, 22, 58.83), 1.00005345},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.zone);
        geodCoord p = grid(r.northing, r.easting);
        ASSERT_EQ(UTMGrid2Geod(r.zone, &ell, &p), 0);
        EXPECT_NEAR(p.lat, r.lat, 0.001 * kArcSecond);
        EXPECT_NEAR(p.lon, r.lon, 0.001 * kArcSecond);
        EXPECT_NEAR(p.convergence, r.convergence, 0.01 * kArcSecond);
        EXPECT_NEAR(p.gridScale, r.scale, 1e-8);
    }
}

// IOGP GIGS test 5101 (Publication 430): WGS 84 / UTM 31N and GDA94 / MGA 54 (GRS 1980,
// the southern zone 54 is code 114). IOGP tolerances 0.03 m and 3e-7 degrees.
TEST(UtmPublished, IogpGigs5101)
{
    struct Row {
        const char* point;
        int zone;
        double latDeg, lonDeg, easting, northing;
        bool forward; // published as a forward result, else as the inverse of the grid values
    };
    // 5101-66: IOGP applies zone 31N south of the equator with no false northing; a
    // southern point in a northern code gets 10000000 m added here, so it is shifted.
    const Row utm31[] = {
        {"5101-77", 31, 60, 3, 500000, 6651411.191, true},
        {"5101-79", 31, 60, 5, 611544.042, 6653097.436, true},
        {"5101-62", 31, 40, -2, 73106.698, 4439746.917, false},
        {"5101-64", 31, 0, -2, -57087.117, 0, true},
        {"5101-66", 31, -40, -2, 73106.696, -4439746.917 + 10000000.0, true},
    };
    const Row mga54[] = {
        {"5101-97", 114, -60, 141, 500000, 3348588.81, false},
        {"5101-94", 114, -60, 138, 332705.179, 3344794.516, true},
        {"5101-99", 114, -60, 143, 611544.042, 3346902.565, false},
        {"5101-102", 114, -60, 146, 778711.23, 3338046.959, true},
        {"5101-89", 114, -40, 146, 926893.304, 5560253.083, true},
        {"5101-88", 114, -20, 146, 1023538.687, 7780691.762, true},
        {"5101-87", 114, 0, 146, 1057087.12, 10000000, false},
    };
    auto check = [](ellipsoid ell, const Row& r) {
        SCOPED_TRACE(r.point);
        if (r.forward) {
            geodCoord p = geographic(r.latDeg * kDeg, r.lonDeg * kDeg);
            ASSERT_EQ(UTMGeod2Grid(r.zone, &ell, &p), 0);
            EXPECT_NEAR(p.easting, r.easting, 0.03);
            EXPECT_NEAR(p.northing, r.northing, 0.03);
        } else {
            geodCoord p = grid(r.northing, r.easting);
            ASSERT_EQ(UTMGrid2Geod(r.zone, &ell, &p), 0);
            EXPECT_NEAR(p.lat / kDeg, r.latDeg, 3e-7);
            EXPECT_NEAR(p.lon / kDeg, r.lonDeg, 3e-7);
        }
    };
    for (const Row& r : utm31) check(wgs84(), r);
    for (const Row& r : mga54) check(grs80(), r);
}

// --- Zone constants and codes -----------------------------------------------------------

TEST(Utm, ZoneConstantsAndValidCodes)
{
    for (int code : {0, 121, -5, INT_MIN, INT_MAX}) EXPECT_EQ(invalidUTMZone(code), 1) << code;
    for (int code : {1, 60, 61, 120}) EXPECT_EQ(invalidUTMZone(code), 0) << code;

    const struct {
        int code;
        double centralMeridianWestDeg;
    } expected[] = {{1, 177}, {31, -3}, {60, -177}, {61, 177}, {91, -3}, {120, -177}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.code);
        // The fields the builder does not set keep the caller's bytes.
        zoneCnstnt z;
        std::memset(&z, 0x77, sizeof z);
        zoneCnstnt want;
        std::memcpy(&want, &z, sizeof z);
        want.projection = kvTransverseMercator;
        want.scaleFactor = 0.9996;
        want.falseNorthing = 0.0;
        want.falseEasting = 500000.0;
        want.originLat = 0.0;
        want.centralMeridian = want.originLon = e.centralMeridianWestDeg * kDeg;
        UTMInitializeZoneConstants(e.code, &z);
        EXPECT_EQ(std::memcmp(&z, &want, sizeof z), 0);
    }
    // Wild codes still give a central meridian by the same formula, without overflow; a
    // missing record is ignored.
    zoneCnstnt wild{};
    UTMInitializeZoneConstants(INT_MAX, &wild);
    EXPECT_TRUE(std::isfinite(wild.centralMeridian));
    UTMInitializeZoneConstants(31, nullptr);
}

// --- Automatic zone choice --------------------------------------------------------------

TEST(UtmZoneChoice, BoundariesBelongToTheZoneToTheirEast)
{
    // The equator itself is northern; 180 E is the eastern edge of zone 60 (120 south);
    // beyond it, up to about 183 E, positions are still folded into zone 60.
    const struct {
        double lat, lon;
        int zone;
    } rows[] = {{45, 3, 31},     {-45, 3, 91},         {45, 177, 60},       {45, -180, 1},
                {-45, -180, 61}, {45, -174, 2},        {45, -174.000001, 1}, {45, 0, 31},
                {45, 6, 32},     {45, -0.000001, 30},  {0, 3, 31},          {-1e-12, 3, 91},
                {45, 180, 60},   {-45, 180, 120},      {45, 179.999999, 60}, {45, 183, 60}};
    for (const auto& r : rows) EXPECT_EQ(autoZone(r.lat, r.lon), r.zone) << r.lat << " " << r.lon;
}

TEST(UtmZoneChoice, RoundHalfUp)
{
    // Negative values: the magnitude of the fraction decides, then 1 is added.
    const struct {
        double x;
        int want;
    } rows[] = {{1.5, 2},  {1.4999999, 1},    {60.0, 60},      {0.0, 0},          {-0.4, 0},
                {-0.7, 1}, {std::nan(""), 0}, {-1.5, 0},       {1e300, INT_MAX},  {-1e300, INT_MIN}};
    for (const auto& r : rows) EXPECT_EQ(roundHalfUp(r.x), r.want) << r.x;
    EXPECT_EQ(utmZoneFromPosition(0.5, std::nan("")), 0);
}

// A position without a zone (not finite, or a longitude beyond about 183 degrees) gets no
// zone code, and the automatic choice fails without writing anything.
TEST(UtmZoneChoice, NoZoneForPositionsOutsideTheZones)
{
    const double inf = HUGE_VAL;
    for (const auto& [lat, lon] : std::vector<std::pair<double, double>>{
             {45, inf}, {45, -inf}, {45, 1e308}, {inf, 3}, {std::nan(""), 3}, {45, 186.1}, {-45, -183.1}}) {
        EXPECT_EQ(autoZone(lat, lon), 0) << lat << " " << lon;
        ellipsoid ell = grs80();
        geodCoord p{};
        p.lat = lat * kDeg;
        p.lon = lon * kDeg;
        p.northing = p.easting = 7.0;
        p.utmZone = 7;
        EXPECT_EQ(UTMGeod2Grid(0, &ell, &p), 1);
        EXPECT_EQ(p.northing, 7.0);
        EXPECT_EQ(p.easting, 7.0);
        EXPECT_EQ(p.utmZone, 7);
    }
}

// --- Round trips in all 120 zone codes --------------------------------------------------

// Points across each zone and half a degree into its neighbours, from 80 S to 84 N in the
// codes of their hemisphere: the inverse returns them to well below 0.1 mm on the ground
// and delivers the forward's scale factor and convergence (to series accuracy), in the
// southern codes too.
TEST(UtmRoundTrip, EveryZoneCode)
{
    ellipsoid ell = grs80();
    double worstGround = 0.0;
    for (int code = 1; code <= 120; ++code) {
        const int z = code > 60 ? code - 60 : code;
        const double centralMeridianEast = -183.0 + 6.0 * z;
        const bool south = code > 60;
        for (double latAbs = 0.0; latAbs <= 84.0; latAbs += 6.0) {
            for (double dLon = -3.5; dLon <= 3.5; dLon += 1.75) {
                const double lat = (south ? -std::min(latAbs, 80.0) - 0.25 : latAbs) * kDeg;
                const double lon = (centralMeridianEast + dLon) * kDeg;
                geodCoord p = geographic(lat, lon);
                ASSERT_EQ(UTMGeod2Grid(code, &ell, &p), 0);
                ASSERT_EQ(p.utmZone, code); // written even when the code is given
                ASSERT_EQ(p.lon, lon);      // restored as the caller gave it
                ASSERT_GE(p.northing, south ? 1000000.0 : 0.0);
                geodCoord q = grid(p.northing, p.easting);
                ASSERT_EQ(UTMGrid2Geod(code, &ell, &q), 0);
                const double ground = groundDistance(lat, lon, q.lat, q.lon);
                worstGround = std::max(worstGround, ground);
                EXPECT_NEAR(q.gridScale, p.gridScale, 5e-9) << code << " " << lat / kDeg << " " << dLon;
                EXPECT_NEAR(q.convergence, p.convergence, 5e-9) << code << " " << lat / kDeg << " " << dLon;
            }
        }
    }
    EXPECT_LT(worstGround, 1e-4);
}

// --- Southern hemisphere ----------------------------------------------------------------

// The automatic choice gives a southern point code 91 and the false northing; a northern
// point in a southern code gets it too and comes back through that code, while the
// northern code 31 reads a southern northing as a point far north.
TEST(UtmSouth, FalseNorthingFollowsTheCodeBothWays)
{
    ellipsoid ell = grs80();
    geodCoord chosen = geographic(-33.0 * kDeg, 4.0 * kDeg);
    ASSERT_EQ(UTMGeod2Grid(0, &ell, &chosen), 0);
    EXPECT_EQ(chosen.utmZone, 91);
    EXPECT_GT(chosen.northing, 6000000.0);
    EXPECT_LT(chosen.convergence, 0.0); // east of the central meridian, south of the equator
    geodCoord back31 = grid(chosen.northing, chosen.easting);
    ASSERT_EQ(UTMGrid2Geod(31, &ell, &back31), 0);
    EXPECT_GT(back31.lat, 50.0 * kDeg);

    geodCoord northern = geographic(1.0 * kDeg, 3.0 * kDeg);
    ASSERT_EQ(UTMGeod2Grid(91, &ell, &northern), 0);
    EXPECT_GT(northern.northing, 10000000.0);
    geodCoord back = grid(northern.northing, northern.easting);
    ASSERT_EQ(UTMGrid2Geod(91, &ell, &back), 0);
    EXPECT_NEAR(back.lat, 1.0 * kDeg, 1e-11);
    EXPECT_NEAR(back.lon, 3.0 * kDeg, 1e-11);
}

// --- Zone-name list ---------------------------------------------------------------------

namespace {

// The rule of the names, written out independently of the library's table.
std::string zoneNameByRule(int code)
{
    const int z = code > 60 ? code - 60 : code;
    const char hemisphere = code > 60 ? 'S' : 'N';
    const int from = z <= 30 ? 180 - 6 * z : 6 * z - 180;
    int to = z <= 30 ? 186 - 6 * z : 6 * z - 186;
    const char side = z <= 30 ? 'W' : 'E';
    if (z == 20) to = 77; // the two rows that read 77, not 66
    char buf[64];
    std::snprintf(buf, sizeof buf, "Zone %2d - %c %3d deg. %c To %3d deg. %c", z, hemisphere, from, side,
                  to, side);
    return buf;
}

std::string fullList()
{
    std::string s;
    for (int code = 1; code <= 120; ++code) s += zoneNameByRule(code) + "\n";
    return s;
}

} // namespace

TEST(UtmZoneList, BufferSizeContract)
{
    const std::string all = fullList();
    ASSERT_EQ(all.substr(all.size() - 37), "Zone 60 - S 180 deg. E To 174 deg. E\n");
    const int exact = static_cast<int>(all.size()) + 1; // every name, its newline, and the NUL
    const char guard = '#';

    // 1 byte: only the terminating NUL.
    std::vector<char> one(8, guard);
    EXPECT_EQ(UTMGetZoneLstS(one.data(), 1), 1);
    EXPECT_EQ(one[0], '\0');
    EXPECT_EQ(one[1], guard);

    std::vector<char> fit(exact + 8, guard);
    EXPECT_EQ(UTMGetZoneLstS(fit.data(), exact), 0);
    EXPECT_EQ(std::string(fit.data()), all);
    EXPECT_EQ(fit[exact], guard);

    // One byte short: the last name does not fit; the first 119 are there, and nothing is
    // written past the given size.
    std::vector<char> shortBuf(exact + 8, guard);
    EXPECT_EQ(UTMGetZoneLstS(shortBuf.data(), exact - 1), 1);
    EXPECT_EQ(std::string(shortBuf.data()), all.substr(0, all.size() - 37));
    for (int i = exact - 1; i < exact + 8; ++i) EXPECT_EQ(shortBuf[i], guard) << i;

    // No room at all, or no buffer: nothing written.
    char untouched = guard;
    EXPECT_EQ(UTMGetZoneLstS(&untouched, 0), 1);
    EXPECT_EQ(UTMGetZoneLstS(&untouched, -3), 1);
    EXPECT_EQ(untouched, guard);
    EXPECT_EQ(UTMGetZoneLstS(nullptr, 100), 1);
}
