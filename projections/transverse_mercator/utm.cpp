// Universal Transverse Mercator: 120 zone codes (1..60 northern zones 1..60, 61..120 the
// same zones in the southern hemisphere) on the caller's ellipsoid, through the
// Transverse Mercator series on zone constants. The UTM operations take and return
// longitudes positive EAST and negate them around the west-positive projection routines.
#include <climits>
#include <cmath>
#include <cstring>

#include "core/batch.h"
#include "core/constants_memo.h"
#include "core/lanes.h"
#include "core/math_constants.h"
#include "projections/transverse_mercator/transverse_mercator.h"

namespace {

constexpr int kZonesPerHemisphere = 60;
constexpr int kZoneCodes = 120;
using kelvane::tm::kSouthernFalseNorthing;
using kelvane::tm::kUtmFalseEasting;
using kelvane::tm::kUtmScaleFactor;
using kelvane::Lanes2;

// The zone's number within its hemisphere: 1..60 for the codes 1..120.
int zoneInHemisphere(int code) { return code > kZonesPerHemisphere ? code - kZonesPerHemisphere : code; }

bool southernCode(int code) { return code > kZonesPerHemisphere; }

// The names of the host's pick list, in zone-code order. Rows 20 and 80 read 77 where the
// pattern of their neighbours would give 66; hosts match on these texts, so they stay.
const char* const utmZoneNames[kZoneCodes] = {
    "Zone  1 - N 174 deg. W To 180 deg. W",
    "Zone  2 - N 168 deg. W To 174 deg. W",
    "Zone  3 - N 162 deg. W To 168 deg. W",
    "Zone  4 - N 156 deg. W To 162 deg. W",
    "Zone  5 - N 150 deg. W To 156 deg. W",
    "Zone  6 - N 144 deg. W To 150 deg. W",
    "Zone  7 - N 138 deg. W To 144 deg. W",
    "Zone  8 - N 132 deg. W To 138 deg. W",
    "Zone  9 - N 126 deg. W To 132 deg. W",
    "Zone 10 - N 120 deg. W To 126 deg. W",
    "Zone 11 - N 114 deg. W To 120 deg. W",
    "Zone 12 - N 108 deg. W To 114 deg. W",
    "Zone 13 - N 102 deg. W To 108 deg. W",
    "Zone 14 - N  96 deg. W To 102 deg. W",
    "Zone 15 - N  90 deg. W To  96 deg. W",
    "Zone 16 - N  84 deg. W To  90 deg. W",
    "Zone 17 - N  78 deg. W To  84 deg. W",
    "Zone 18 - N  72 deg. W To  78 deg. W",
    "Zone 19 - N  66 deg. W To  72 deg. W",
    "Zone 20 - N  60 deg. W To  77 deg. W",
    "Zone 21 - N  54 deg. W To  60 deg. W",
    "Zone 22 - N  48 deg. W To  54 deg. W",
    "Zone 23 - N  42 deg. W To  48 deg. W",
    "Zone 24 - N  36 deg. W To  42 deg. W",
    "Zone 25 - N  30 deg. W To  36 deg. W",
    "Zone 26 - N  24 deg. W To  30 deg. W",
    "Zone 27 - N  18 deg. W To  24 deg. W",
    "Zone 28 - N  12 deg. W To  18 deg. W",
    "Zone 29 - N   6 deg. W To  12 deg. W",
    "Zone 30 - N   0 deg. W To   6 deg. W",
    "Zone 31 - N   6 deg. E To   0 deg. E",
    "Zone 32 - N  12 deg. E To   6 deg. E",
    "Zone 33 - N  18 deg. E To  12 deg. E",
    "Zone 34 - N  24 deg. E To  18 deg. E",
    "Zone 35 - N  30 deg. E To  24 deg. E",
    "Zone 36 - N  36 deg. E To  30 deg. E",
    "Zone 37 - N  42 deg. E To  36 deg. E",
    "Zone 38 - N  48 deg. E To  42 deg. E",
    "Zone 39 - N  54 deg. E To  48 deg. E",
    "Zone 40 - N  60 deg. E To  54 deg. E",
    "Zone 41 - N  66 deg. E To  60 deg. E",
    "Zone 42 - N  72 deg. E To  66 deg. E",
    "Zone 43 - N  78 deg. E To  72 deg. E",
    "Zone 44 - N  84 deg. E To  78 deg. E",
    "Zone 45 - N  90 deg. E To  84 deg. E",
    "Zone 46 - N  96 deg. E To  90 deg. E",
    "Zone 47 - N 102 deg. E To  96 deg. E",
    "Zone 48 - N 108 deg. E To 102 deg. E",
    "Zone 49 - N 114 deg. E To 108 deg. E",
    "Zone 50 - N 120 deg. E To 114 deg. E",
    "Zone 51 - N 126 deg. E To 120 deg. E",
    "Zone 52 - N 132 deg. E To 126 deg. E",
    "Zone 53 - N 138 deg. E To 132 deg. E",
    "Zone 54 - N 144 deg. E To 138 deg. E",
    "Zone 55 - N 150 deg. E To 144 deg. E",
    "Zone 56 - N 156 deg. E To 150 deg. E",
    "Zone 57 - N 162 deg. E To 156 deg. E",
    "Zone 58 - N 168 deg. E To 162 deg. E",
    "Zone 59 - N 174 deg. E To 168 deg. E",
    "Zone 60 - N 180 deg. E To 174 deg. E",
    "Zone  1 - S 174 deg. W To 180 deg. W",
    "Zone  2 - S 168 deg. W To 174 deg. W",
    "Zone  3 - S 162 deg. W To 168 deg. W",
    "Zone  4 - S 156 deg. W To 162 deg. W",
    "Zone  5 - S 150 deg. W To 156 deg. W",
    "Zone  6 - S 144 deg. W To 150 deg. W",
    "Zone  7 - S 138 deg. W To 144 deg. W",
    "Zone  8 - S 132 deg. W To 138 deg. W",
    "Zone  9 - S 126 deg. W To 132 deg. W",
    "Zone 10 - S 120 deg. W To 126 deg. W",
    "Zone 11 - S 114 deg. W To 120 deg. W",
    "Zone 12 - S 108 deg. W To 114 deg. W",
    "Zone 13 - S 102 deg. W To 108 deg. W",
    "Zone 14 - S  96 deg. W To 102 deg. W",
    "Zone 15 - S  90 deg. W To  96 deg. W",
    "Zone 16 - S  84 deg. W To  90 deg. W",
    "Zone 17 - S  78 deg. W To  84 deg. W",
    "Zone 18 - S  72 deg. W To  78 deg. W",
    "Zone 19 - S  66 deg. W To  72 deg. W",
    "Zone 20 - S  60 deg. W To  77 deg. W",
    "Zone 21 - S  54 deg. W To  60 deg. W",
    "Zone 22 - S  48 deg. W To  54 deg. W",
    "Zone 23 - S  42 deg. W To  48 deg. W",
    "Zone 24 - S  36 deg. W To  42 deg. W",
    "Zone 25 - S  30 deg. W To  36 deg. W",
    "Zone 26 - S  24 deg. W To  30 deg. W",
    "Zone 27 - S  18 deg. W To  24 deg. W",
    "Zone 28 - S  12 deg. W To  18 deg. W",
    "Zone 29 - S   6 deg. W To  12 deg. W",
    "Zone 30 - S   0 deg. W To   6 deg. W",
    "Zone 31 - S   6 deg. E To   0 deg. E",
    "Zone 32 - S  12 deg. E To   6 deg. E",
    "Zone 33 - S  18 deg. E To  12 deg. E",
    "Zone 34 - S  24 deg. E To  18 deg. E",
    "Zone 35 - S  30 deg. E To  24 deg. E",
    "Zone 36 - S  36 deg. E To  30 deg. E",
    "Zone 37 - S  42 deg. E To  36 deg. E",
    "Zone 38 - S  48 deg. E To  42 deg. E",
    "Zone 39 - S  54 deg. E To  48 deg. E",
    "Zone 40 - S  60 deg. E To  54 deg. E",
    "Zone 41 - S  66 deg. E To  60 deg. E",
    "Zone 42 - S  72 deg. E To  66 deg. E",
    "Zone 43 - S  78 deg. E To  72 deg. E",
    "Zone 44 - S  84 deg. E To  78 deg. E",
    "Zone 45 - S  90 deg. E To  84 deg. E",
    "Zone 46 - S  96 deg. E To  90 deg. E",
    "Zone 47 - S 102 deg. E To  96 deg. E",
    "Zone 48 - S 108 deg. E To 102 deg. E",
    "Zone 49 - S 114 deg. E To 108 deg. E",
    "Zone 50 - S 120 deg. E To 114 deg. E",
    "Zone 51 - S 126 deg. E To 120 deg. E",
    "Zone 52 - S 132 deg. E To 126 deg. E",
    "Zone 53 - S 138 deg. E To 132 deg. E",
    "Zone 54 - S 144 deg. E To 138 deg. E",
    "Zone 55 - S 150 deg. E To 144 deg. E",
    "Zone 56 - S 156 deg. E To 150 deg. E",
    "Zone 57 - S 162 deg. E To 156 deg. E",
    "Zone 58 - S 168 deg. E To 162 deg. E",
    "Zone 59 - S 174 deg. E To 168 deg. E",
    "Zone 60 - S 180 deg. E To 174 deg. E",
};

// UTMInitializeZoneConstants, called directly by the wrappers below.
void initZone(int code, zoneCnstnt& zc)
{
    zc.projection = kvTransverseMercator;
    zc.scaleFactor = kUtmScaleFactor;
    zc.falseNorthing = 0.0;
    zc.falseEasting = kUtmFalseEasting;
    zc.originLat = 0.0;
    zc.centralMeridian = kelvane::tm::utmCentralMeridianWest(zoneInHemisphere(code));
    zc.originLon = zc.centralMeridian;
}

// What a UTM conversion derives from the ellipsoid. Every zone has the same scale factor
// and its origin on the equator, so the series constants are those of every zone; only
// the central meridian changes from zone to zone, and each conversion passes its zone's
// (p.lambda0 is zone 1's, and unused).
struct UtmConstants {
    kelvane::tm::Parameters p;
    kelvane::tm::SeriesConstants c;
};

UtmConstants utmConstants(const ellipsoid& ell)
{
    zoneCnstnt zc{};
    initZone(1, zc);
    UtmConstants k;
    k.p = kelvane::tm::parametersOf(ell, zc);
    k.c = kelvane::tm::seriesConstants(k.p);
    return k;
}

// The constants of ell from this thread's memo, keyed by the exact bits of the three
// fields they depend on.
const UtmConstants& cachedUtmConstants(const ellipsoid& ell)
{
    thread_local kelvane::ConstantsMemo<UtmConstants, 3> memo;
    const double key[3] = {ell.semiMajor, ell.semiMinor, ell.ecc};
    return memo.get(key, [&ell] { return utmConstants(ell); });
}

// The central meridian of zone code, rad positive west.
double centralMeridianOf(int code)
{
    return kelvane::tm::utmCentralMeridianWest(zoneInHemisphere(code));
}

// The zone code a point is converted in: the caller's, or with zone 0 the one of its
// position (0 when the position has none).
int codeFor(int zone, const geodCoord& pt)
{
    return zone == 0 ? utmZoneFromPosition(pt.lat, pt.lon) : zone;
}

using kelvane::tm::GeographicOf;
using kelvane::tm::GridOf;

// A point's UTM coordinates in zone code from the series' status and result r: the zone
// code always, and when the series converted, the grid coordinates. A southern point gets
// the southern false northing even in a northern code, and every point in a southern code
// gets it, whatever its latitude. Returns the series' status (1, with only utmZone
// written, for an ellipsoid with a zero axis).
int storeForward(int code, int status, const GridOf<double>& r, geodCoord& pt)
{
    pt.utmZone = code;
    if (status != 0) return status;
    kelvane::tm::store(r, pt);
    if (southernCode(code) || pt.lat < 0.0) pt.northing += kSouthernFalseNorthing;
    return 0;
}

// One point, geographic -> UTM in zone code (the work of UTMGeod2Grid). The longitude,
// positive east, is negated for the projection; the caller's stays as it was.
int utmForwardInZone(const UtmConstants& k, int code, geodCoord& pt)
{
    GridOf<double> r;
    const int status = kelvane::tm::forward(k.p, k.c, pt.lat, -1.0 * pt.lon, centralMeridianOf(code), r);
    return storeForward(code, status, r, pt);
}

// The same with zone 0 choosing the zone from the position: 1, writing nothing, when the
// position has none.
int utmForward(const UtmConstants& k, int zone, geodCoord& pt)
{
    const int code = codeFor(zone, pt);
    if (code == 0) return 1; // no zone for the position: nothing is written
    return utmForwardInZone(k, code, pt);
}

// Two points side by side, each as utmForward converts it: in the batch's zone, or each
// in the zone of its position (which may differ between the two).
void utmForwardPair(const UtmConstants& k, int zone, geodCoord* pts, int* status)
{
    const int code[2] = {codeFor(zone, pts[0]), codeFor(zone, pts[1])};
    if (code[0] == 0 || code[1] == 0 || !kelvane::tm::pairable(pts[0].lat, pts[0].lon, pts[1].lat, pts[1].lon)) {
        for (int j = 0; j < 2; ++j) status[j] = code[j] == 0 ? 1 : utmForwardInZone(k, code[j], pts[j]);
        return;
    }
    GridOf<Lanes2> r;
    const int s = kelvane::tm::forward(k.p, k.c, Lanes2{pts[0].lat, pts[1].lat},
                                       Lanes2{-1.0 * pts[0].lon, -1.0 * pts[1].lon},
                                       Lanes2{centralMeridianOf(code[0]), centralMeridianOf(code[1])}, r);
    for (int j = 0; j < 2; ++j) status[j] = storeForward(code[j], s, lane(r, j), pts[j]);
}

// The northing the projection inverts in zone code: in a southern code, the distance
// south of the equator, which is the northing of the point's mirror image in the equator.
template <class T>
T seriesNorthing(int code, T northing)
{
    return southernCode(code) ? kSouthernFalseNorthing - northing : northing;
}

// A point's geographic coordinates from the series' status and result r. When the series
// refused (a footpoint radius of 0) nothing is written, and the caller's longitude is left
// as it was rather than negated. In a southern code r is the mirror point's: latitude and
// convergence change sign (convergence follows the sign of the latitude), and the scale
// factor is the point's, so that a host reads the same quantities for every zone.
int storeInverse(int code, int status, const GeographicOf<double>& r, geodCoord& pt)
{
    if (status != 0) return status;
    kelvane::tm::store(r, pt);
    pt.lon = -1.0 * pt.lon;
    if (southernCode(code)) {
        pt.lat = -1.0 * pt.lat;
        pt.convergence = -1.0 * pt.convergence;
    }
    return 0;
}

// One point, UTM -> geographic in zone code (the work of UTMGrid2Geod).
int utmInverse(const UtmConstants& k, int code, geodCoord& pt)
{
    GeographicOf<double> r;
    const int status =
        kelvane::tm::inverse(k.p, k.c, seriesNorthing(code, pt.northing), pt.easting, centralMeridianOf(code), r);
    return storeInverse(code, status, r, pt);
}

// Two points of zone code side by side, each as utmInverse converts it.
void utmInversePair(const UtmConstants& k, int code, geodCoord* pts, int* status)
{
    if (!kelvane::tm::pairable(pts[0].northing, pts[0].easting, pts[1].northing, pts[1].easting)) {
        for (int j = 0; j < 2; ++j) status[j] = utmInverse(k, code, pts[j]);
        return;
    }
    GeographicOf<Lanes2> r;
    const double lambda0 = centralMeridianOf(code);
    const int s = kelvane::tm::inverse(k.p, k.c, seriesNorthing(code, Lanes2{pts[0].northing, pts[1].northing}),
                                       Lanes2{pts[0].easting, pts[1].easting}, Lanes2{lambda0, lambda0}, r);
    for (int j = 0; j < 2; ++j) {
        // A refusal of either point: each alone says whose it was.
        status[j] = s == 0 ? storeInverse(code, 0, lane(r, j), pts[j]) : utmInverse(k, code, pts[j]);
    }
}

// A batch needs an ellipsoid the series can use and a zone code (0, the automatic choice,
// only forward): with anything else no point could be converted, and the call is refused.
bool usableBatch(const ellipsoid* ell, int zone, int lowestCode)
{
    return ell && ell->semiMinor != 0.0 && ell->semiMajor != 0.0 && zone >= lowestCode &&
           zone <= kZoneCodes;
}

} // namespace

void UTMInitializeZoneConstants(int zone, zoneCnstnt* zc)
{
    if (zc != nullptr) initZone(zone, *zc);
}

// The conversions never fail on a real record; a missing one is answered with 1, and
// nothing is written. One point takes the constants from this thread's memo.
int UTMGeod2Grid(int zone, ellipsoid* ell, geodCoord* pt)
{
    if (ell == nullptr || pt == nullptr) return 1;
    const int code = codeFor(zone, *pt);
    if (code == 0) return 1; // no zone for the position: nothing is written
    utmForwardInZone(cachedUtmConstants(*ell), code, *pt);
    return 0;
}

int UTMGrid2Geod(int zone, ellipsoid* ell, geodCoord* pt)
{
    if (ell == nullptr || pt == nullptr) return 1;
    utmInverse(cachedUtmConstants(*ell), zone, *pt);
    return 0;
}

// The batches convert two points at a time side by side, bit for bit as one at a time.
int UTMGeod2GridBatch(int zone, ellipsoid* ell, size_t n, batchIn lat, batchIn lon, batchOut northing,
                      batchOut easting, batchOut gridScale, batchOut convergence, int32_t* utmZone, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    if (!usableBatch(ell, zone, 0)) return kvBatchRefused;
    const UtmConstants k = utmConstants(*ell);
    auto zoneOut = [utmZone](int s, const geodCoord& pt, std::size_t i) {
        if (s == 0 && utmZone) utmZone[i] = pt.utmZone;
    };
    return kelvane::batch::forwardPoints(
        n, status, lat, lon, northing, easting, gridScale, convergence,
        [&](geodCoord* pts, int* s, std::size_t i) {
            utmForwardPair(k, zone, pts, s);
            zoneOut(s[0], pts[0], i);
            zoneOut(s[1], pts[1], i + 1);
        },
        [&](geodCoord& pt, std::size_t i) {
            const int s = utmForward(k, zone, pt);
            zoneOut(s, pt, i);
            return s;
        });
}

int UTMGrid2GeodBatch(int zone, ellipsoid* ell, size_t n, batchIn northing, batchIn easting, batchOut lat,
                      batchOut lon, batchOut gridScale, batchOut convergence, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    if (!usableBatch(ell, zone, 1)) return kvBatchRefused;
    const UtmConstants k = utmConstants(*ell);
    return kelvane::batch::inversePoints(
        n, status, northing, easting, lat, lon, gridScale, convergence,
        [&](geodCoord* pts, int* s, std::size_t) { utmInversePair(k, zone, pts, s); },
        [&](geodCoord& pt, std::size_t) { return utmInverse(k, zone, pt); });
}

int invalidUTMZone(int zone)
{
    return (zone < 1 || zone > kZoneCodes) ? 1 : 0;
}

int UTMGetZoneLstS(char* buf, int size)
{
    // Not even room for the terminating NUL: nothing is written.
    if (buf == nullptr || size < 1) return 1;
    buf[0] = '\0';
    long total = 0;
    for (const char* name : utmZoneNames) {
        const long length = static_cast<long>(std::strlen(name));
        total += length + 1;
        if (total >= size) return 1; // the name, its newline and the NUL would not fit
        char* end = buf + (total - length - 1);
        std::memcpy(end, name, static_cast<std::size_t>(length));
        end[length] = '\n';
        end[length + 1] = '\0';
    }
    return 0;
}

int utmZoneFromPosition(double lat, double lon)
{
    if (!std::isfinite(lat) || !std::isfinite(lon)) return 0;
    const int h = lat < 0.0 ? kZonesPerHemisphere : 0; // the equator itself is northern
    const double lonDeg = lon / kelvane::degToRad();
    const int code = roundHalfUp((183.0 + lonDeg) / 6.0 + h);
    // A boundary belongs to the zone to its east, so 180 degrees east rounds one past the
    // hemisphere's last zone (61, or 121 in the south). A user there wants the zone whose
    // edge it is: zone 60 (code 120 in the south), central meridian 177 E, rather than
    // zone 1, whose central meridian 177 W the east-positive longitude would put 357
    // degrees away. The same fold keeps a longitude written a little past 180 E in zone 60.
    const int folded = code == kZonesPerHemisphere + 1 + h ? kZonesPerHemisphere + h : code;
    // A longitude beyond about 183 degrees either way would name no zone or a zone of the
    // other hemisphere: no zone is chosen for it.
    return (folded >= 1 + h && folded <= kZonesPerHemisphere + h) ? folded : 0;
}

int roundHalfUp(double x)
{
    if (std::isnan(x)) return 0;
    if (x >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (x <= static_cast<double>(INT_MIN)) return INT_MIN;
    double integral = 0.0;
    const double fraction = std::modf(x, &integral);
    return static_cast<int>(integral) + (std::fabs(fraction) >= 0.5 ? 1 : 0);
}
