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
    return 0;
}
