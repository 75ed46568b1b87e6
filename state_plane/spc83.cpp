// State plane 1983: the zone table and the conversions by zone code. Every conversion
// copies the zone's row, builds a GRS 80 ellipsoid and hands both to the zone dispatch,
// which picks Transverse Mercator, Lambert or oblique Mercator by the row's kind.
#include "kelvane/spc83.h"

#include <cmath>
#include <cstring>

#include "core/batch.h"
#include "core/math_constants.h"
#include "core/named_ellipsoids.h"
#include "kelvane/dispatch.h"
#include "projections/zone_projection.h"
#include "state_plane/spc83_zones.h"

namespace kelvane {

zoneCnstnt spc83Zones[kSpc83ZoneCount];

void setSPC83ZoneRow(int index, int zoneCode, int kind, double d1, double d2, double d3, double d4, double d5,
                     double d6)
{
    if (index < 0 || index >= kSpc83ZoneCount) return;
    zoneCnstnt& row = spc83Zones[index];
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

// The row of a zone code, or nullptr. Rows not yet built carry code 0, which names no
// zone, so nothing at all is found before init83ZoneConstants has run.
const zoneCnstnt* findZone(int zoneCode, int* index = nullptr)
{
    if (zoneCode == 0) return nullptr;
    for (int i = 0; i < kSpc83ZoneCount; ++i) {
        if (spc83Zones[i].zoneCode == zoneCode) {
            if (index) *index = i;
            return &spc83Zones[i];
        }
    }
    return nullptr;
}

ellipsoid grs80()
{
    ellipsoid ell;
    std::memset(&ell, 0, sizeof ell);
    initEllipsoid(&ell, kGrs80.a, kGrs80.f);
    return ell;
}

// Plane to geographic with the longitude left positive west, as getTMT takes it. The
// caller has checked the code.
void spc83PointToGeod(int zoneCode, geodCoord* point)
{
    ellipsoid ell = grs80();
    zoneCnstnt zone = *findZone(zoneCode);
    grid2Geod(&ell, &zone, point);
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
    ellipsoid ell = kelvane::grs80();
    zoneCnstnt zone;
    if (!point || initSPC83Zone(zoneCode, &zone) != 0) return 1;
    grid2Geod(&ell, &zone, point);
    point->lon = -point->lon; // the projections work with longitudes positive west
    return 0;
}

int SPC83Geod2Grid(int zoneCode, geodCoord* point)
{
    ellipsoid ell = kelvane::grs80();
    zoneCnstnt zone;
    if (!point || initSPC83Zone(zoneCode, &zone) != 0) return 1;
    point->lon = -point->lon;
    geod2Grid(&ell, &zone, point);
    point->lon = -point->lon; // exact: the caller gets back the longitude it gave
    return 0;
}

// The batches derive the zone's projection constants once and then convert every point as
// SPC83Geod2Grid and SPC83Grid2Geod do (the longitude negated around the projection).
int SPC83Geod2GridBatch(int zoneCode, size_t n, batchIn lat, batchIn lon, batchOut northing, batchOut easting,
                        batchOut gridScale, batchOut convergence, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    const zoneCnstnt* row = findZone(zoneCode);
    if (!row) return kvBatchRefused;
    const kelvane::ZoneProjection z = kelvane::zoneProjection(kelvane::grs80(), *row);
    return kelvane::batch::forwardPoints(n, status, lat, lon, northing, easting, gridScale, convergence,
                                         [&](geodCoord& pt, std::size_t) {
                                             pt.lon = -pt.lon;
                                             return kelvane::zoneForward(z, pt);
                                         });
}

int SPC83Grid2GeodBatch(int zoneCode, size_t n, batchIn northing, batchIn easting, batchOut lat, batchOut lon,
                        batchOut gridScale, batchOut convergence, int* status)
{
    if (n == 0) return kvBatchAllConverted;
    const zoneCnstnt* row = findZone(zoneCode);
    if (!row) return kvBatchRefused;
    const kelvane::ZoneProjection z = kelvane::zoneProjection(kelvane::grs80(), *row);
    return kelvane::batch::inversePoints(n, status, northing, easting, lat, lon, gridScale, convergence,
                                         [&](geodCoord& pt, std::size_t) {
                                             const int r = kelvane::zoneInverse(z, pt);
                                             pt.lon = -pt.lon;
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
    ellipsoid ell = kelvane::grs80();
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
