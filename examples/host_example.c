/* A C host: the same UTM round trip as host_example.cpp, through the C interface.
 * Built by the test suite, and by the install check from an installed tree with
 *
 *   cc host_example.c $(pkg-config --cflags --libs kelvane) -lm
 */
#include <math.h>
#include <stdio.h>

#include "kelvane/kelvane.h"

int main(void)
{
    const double deg = 3.14159265358979323846 / 180.0;
    ellipsoid grs80;
    geodCoord point = {0};
    geodCoord back = {0};
    double groundError;

    printf("Kelvane %s\n", KELVANE_VERSION);
    if (initEllipsoid(&grs80, 6378137.0, 0.0033528106811836675) != 0) return 1;

    /* Radians, longitude positive east; zone 0 lets the library choose the zone. */
    point.lat = -33.856784 * deg; /* Sydney */
    point.lon = 151.215297 * deg;
    UTMGeod2Grid(0, &grs80, &point);
    if (invalidUTMZone(point.utmZone)) {
        fprintf(stderr, "no UTM zone for this point\n");
        return 1;
    }
    printf("zone %d  N %.4f  E %.4f\n", point.utmZone, point.northing, point.easting);

    back.northing = point.northing;
    back.easting = point.easting;
    UTMGrid2Geod(point.utmZone, &grs80, &back);
    printf("lat %.9f  lon %.9f\n", back.lat / deg, back.lon / deg);

    /* Zone 56 south is code 116; the round trip closes to well below a millimetre. */
    groundError = 6378137.0 * hypot(back.lat - point.lat, (back.lon - point.lon) * cos(point.lat));
    if (point.utmZone != 116 || groundError > 1e-4) {
        fprintf(stderr, "unexpected result (zone %d, round trip %.3g m)\n", point.utmZone, groundError);
        return 1;
    }

    /* Many points per call: the same point among others, read as columns of an array of
     * records (stride: the record's size), results written into plain arrays. */
    {
        geodCoord points[3];
        double northing[3], easting[3];
        int status[3];
        batchIn lat, lon;
        batchOut n, e, none = {NULL, 0};
        points[0] = points[1] = points[2] = point;
        points[1].lat = -34.0 * deg;
        points[1].lon = 151.0 * deg;
        points[2].lat = -33.0 * deg;
        points[2].lon = 152.0 * deg;
        lat.data = &points[0].lat;
        lat.stride = sizeof(geodCoord);
        lon.data = &points[0].lon;
        lon.stride = sizeof(geodCoord);
        n.data = northing;
        n.stride = sizeof(double);
        e.data = easting;
        e.stride = sizeof(double);
        if (UTMGeod2GridBatch(116, &grs80, 3, lat, lon, n, e, none, none, NULL, status) != kvBatchAllConverted ||
            northing[0] != point.northing || easting[0] != point.easting) {
            fprintf(stderr, "the batch differs from the one-point conversion\n");
            return 1;
        }
        printf("batch: N %.4f  E %.4f\n", northing[2], easting[2]);
    }
    return 0;
}
