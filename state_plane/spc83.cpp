// State plane 1983: the zone table and the conversions by zone code. Beside each row of
// the table, init83ZoneConstants derives the constants of the row's projection on GRS 80
// once; a conversion finds the row by its code in one step and runs Transverse Mercator,
// Lambert or oblique Mercator by the row's kind on those constants. The arithmetic is
// that of the zone dispatch on a copy of the row and a GRS 80 ellipsoid built for the
// call, so the results are bit for bit the same.
#include "kelvane/spc83.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/batch.h"
#include "core/math_constants.h"
#include "core/named_ellipsoids.h"
#include "kelvane/dispatch.h"
#include "projections/zone_projection.h"
#include "state_plane/spc83_zones.h"

namespace kelvane {

zoneCnstnt spc83Zones[kSpc83ZoneCount];

namespace {

// Each row's projection with its constants on GRS 80, derived by init83ZoneConstants.
ZoneProjection spc83RowProjections[kSpc83ZoneCount];

// The GRS 80 record every operation of the family works on, built by init83ZoneConstants.
ellipsoid spc83Ellipsoid;

// Row index + 1 by zone code (0: no such zone), filled with the rows. Codes run from 101 to
// 5200.
constexpr int kMaxSpc83Code = 5200;
std::int16_t spc83RowOfCode[kMaxSpc83Code + 1];

} // namespace

void setSPC83ZoneRow(int index, int zoneCode, int kind, double d1, double d2, double d3, double d4, double d5,
                     double d6)
{
    if (index < 0 || index >= kSpc83ZoneCount) return;
    zoneCnstnt& row = spc83Zones[index];
    const int oldCode = row.zoneCode;
    if (oldCode > 0 && oldCode <= kMaxSpc83Code && spc83RowOfCode[oldCode] == index + 1) spc83RowOfCode[oldCode] = 0;
    if (zoneCode > 0 && zoneCode <= kMaxSpc83Code && spc83RowOfCode[zoneCode] == 0) {
        spc83RowOfCode[zoneCode] = static_cast<std::int16_t>(index + 1);
    }
    row.zoneCode = zoneCode;
    row.projection = kind;
    switch (kind) {
    case kvTransverseMercator:
    case kvHotineObliqueMercator:
        row.centralMeridian = d1;
        row.scaleFactor = d2;
        break;
    case kvLambertConformalConic:
        row.southParallel = d1;
        row.northParallel = d2;
        break;
    default: return;
    }
    row.falseNorthing = d3;
    row.falseEasting = d4;
    row.originLat = d5;
    row.originLon = d6;
}

namespace {

// The row index of a zone code, or -1: one look into the code index. Before
// init83ZoneConstants has run the index is empty, so nothing at all is found.
int rowOf(int zoneCode)
{
    if (zoneCode <= 0 || zoneCode > kMaxSpc83Code) return -1;
    return spc83RowOfCode[zoneCode] - 1;
}

const zoneCnstnt* findZone(int zoneCode, int* index = nullptr)
{
    const int i = rowOf(zoneCode);
    if (i < 0) return nullptr;
    if (index) *index = i;
    return &spc83Zones[i];
}

// Row i's projection, as the zone dispatch runs it on a copy of the row: forward,
// geographic (longitude positive west) to plane coordinates, as geod2Grid; otherwise back,
// as grid2Geod.
void project(int i, geodCoord& pt, bool forward)
{
    const ZoneProjection& z = spc83RowProjections[i];
    forward ? zoneForward(z, pt) : zoneInverse(z, pt);
}

// Plane to geographic with the longitude left positive west, as getTMT takes it. The
// caller has checked the code.
void spc83PointToGeod(int zoneCode, geodCoord* point)
{
    project(rowOf(zoneCode), *point, false);
}

} // namespace
} // namespace kelvane

using kelvane::findZone;

void init83ZoneConstants(void)
{
    const double toRad = kelvane::degToRad();
    for (int i = 0; i < kelvane::kSpc83ZoneCount; ++i) {
        const kelvane::Spc83Definition& z = kelvane::spc83Definitions[i];
        double d1 = z.d1 * toRad;
        double d2 = z.d2; // the scale factor, except in Lambert rows
        if (z.kind == kvLambertConformalConic) d2 = z.d2 * toRad;
        if (z.kind == kvHotineObliqueMercator) d1 = std::atan(z.d1); // the azimuth from its tangent
        kelvane::setSPC83ZoneRow(i, z.zoneCode, z.kind, d1, d2, z.d3, z.d4, z.d5 * toRad, z.d6 * toRad);
    }
    ellipsoid& ell = kelvane::spc83Ellipsoid;
    std::memset(&ell, 0, sizeof ell);
    initEllipsoid(&ell, kelvane::kGrs80.a, kelvane::kGrs80.f);
    for (int i = 0; i < kelvane::kSpc83ZoneCount; ++i) {
        kelvane::spc83RowProjections[i] = kelvane::zoneProjection(ell, kelvane::spc83Zones[i]);
    }
}

int invalidSPC83Zone(int zoneCode)
{
    return findZone(zoneCode) ? 0 : 1;
}

int initSPC83Zone(int zoneCode, zoneCnstnt* zone)
{
    const zoneCnstnt* row = findZone(zoneCode);
    if (!row || !zone) return 1;
    *zone = *row;
    return 0;
}

int getSPC83ZoneIndex(int zoneCode, int* index)
{
    if (!index) return 1;
    return findZone(zoneCode, index) ? 0 : 1;
}

int SPC83Grid2Geod(int zoneCode, geodCoord* point)
{
    const int i = kelvane::rowOf(zoneCode);
    if (!point || i < 0) return 1;
    kelvane::project(i, *point, false);
    point->lon = -point->lon; // the projections work with longitudes positive west
    return 0;
}

int SPC83Geod2Grid(int zoneCode, geodCoord* point)
{
    const int i = kelvane::rowOf(zoneCode);
    if (!point || i < 0) return 1;
    point->lon = -point->lon;
    kelvane::project(i, *point, true);
    point->lon = -point->lon; // exact: the caller gets back the longitude it gave
    return 0;
}

namespace {

// The longitudes of n points negated: the projections take them positive west.
void negateLongitudes(geodCoord* pts, int n)
{
    for (int k = 0; k < n; ++k) pts[k].lon = -pts[k].lon;
}

} // namespace

// The batches convert every point on the row's constants as SPC83Geod2Grid and
// SPC83Grid2Geod do (the longitude negated around the projection), four at a time: side by
// side in a Lambert zone, as two pairs in the others (a Transverse Mercator pair side by
// side).
int SPC83Geod2GridBatch(int zoneCode, size_t n, batchIn lat, batchIn lon, batchOut northing, batchOut easting,
                        batchOut gridScale, batchOut convergence, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    const int row = kelvane::rowOf(zoneCode);
    if (row < 0) return kvBatchRefused;
    const kelvane::ZoneProjection& z = kelvane::spc83RowProjections[row];
    return kelvane::batch::forwardPoints<4>(
        n, status, lat, lon, northing, easting, gridScale, convergence,
        [&](geodCoord(&pts)[4], int(&s)[4], std::size_t) {
            negateLongitudes(pts, 4);
            kelvane::zoneForwardGroup(z, pts, s);
        },
        [&](geodCoord& pt, std::size_t) {
            negateLongitudes(&pt, 1);
            return kelvane::zoneForward(z, pt);
        });
}

int SPC83Grid2GeodBatch(int zoneCode, size_t n, batchIn northing, batchIn easting, batchOut lat, batchOut lon,
                        batchOut gridScale, batchOut convergence, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    const int row = kelvane::rowOf(zoneCode);
    if (row < 0) return kvBatchRefused;
    const kelvane::ZoneProjection& z = kelvane::spc83RowProjections[row];
    return kelvane::batch::inversePoints<4>(
        n, status, northing, easting, lat, lon, gridScale, convergence,
        [&](geodCoord(&pts)[4], int(&s)[4], std::size_t) {
            kelvane::zoneInverseGroup(z, pts, s);
            negateLongitudes(pts, 4);
        },
        [&](geodCoord& pt, std::size_t) {
            const int r = kelvane::zoneInverse(z, pt);
            negateLongitudes(&pt, 1);
            return r;
        });
}

int computeSPC83TmT(int zoneCode, double easting1, double northing1, double easting2, double northing2,
                    double easting3, double northing3, double* tT)
{
    if (!tT || invalidSPC83Zone(zoneCode)) return 1;
    const double plane[3][2] = {{easting1, northing1}, {easting2, northing2}, {easting3, northing3}};
    geodCoord points[3];
    for (int i = 0; i < 3; ++i) {
        std::memset(&points[i], 0, sizeof points[i]);
        points[i].easting = plane[i][0];
        points[i].northing = plane[i][1];
        points[i].gridScale = 1.0;
        points[i].convergence = 0.0;
        kelvane::spc83PointToGeod(zoneCode, &points[i]);
    }
    ellipsoid ell = kelvane::spc83Ellipsoid;
    zoneCnstnt zone;
    initSPC83Zone(zoneCode, &zone);
    // No zone of the table has coinciding standard parallels, so this cannot fail here.
    getTMT(&ell, &zone, &points[0], &points[1], &points[2], tT);
    return 0;
}

int SPC83GetZoneLstS(char* buffer, int bufferSize)
{
    if (!buffer || bufferSize < 1) return 1;
    buffer[0] = '\0';
    long count = 0; // characters in the buffer, without the terminating zero
    for (const char* name : kelvane::spc83ZoneNames) {
        const long length = static_cast<long>(std::strlen(name));
        if (count + length + 1 >= bufferSize) return 1; // keep room for the terminating zero
        std::memcpy(buffer + count, name, static_cast<std::size_t>(length));
        buffer[count + length] = '\n';
        count += length + 1;
        buffer[count] = '\0';
    }
    return 0;
}
