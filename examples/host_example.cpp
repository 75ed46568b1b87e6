// A host program as a surveying application would write it: set up the ellipsoid once,
// then convert points one call at a time, checking every status. Built and run by the
// test suite (ctest -R example_host).
//
//   target_link_libraries(my_app PRIVATE kelvane)   // and #include "kelvane/kelvane.h"
#include <cmath>
#include <cstdio>

#include "kelvane/kelvane.h"

int main()
{
    const double deg = 4.0 * std::atan(1.0) / 180.0;

    // GRS 80, the ellipsoid of UTM on NAD 83 and ETRS89.
    ellipsoid grs80;
    initEllipsoid(&grs80, 6378137.0, 0.0033528106811836675);

    // Angles in radians, longitudes positive east for the UTM operations.
    geodCoord point{};
    point.lat = 52.520008 * deg; // Berlin
    point.lon = 13.404954 * deg;

    // Zone 0: let the library choose the zone from the position.
    UTMGeod2Grid(0, &grs80, &point);
    if (invalidUTMZone(point.utmZone)) {
        std::fprintf(stderr, "no UTM zone for this point\n");
        return 1;
    }
    std::printf("zone %d  N %.4f  E %.4f  k %.10f  convergence %.8f deg\n", point.utmZone, point.northing,
                point.easting, point.gridScale, point.convergence / deg);

    // And back: only the grid coordinates and the zone code go in.
    geodCoord back{};
    back.northing = point.northing;
    back.easting = point.easting;
    UTMGrid2Geod(point.utmZone, &grs80, &back);
    std::printf("lat %.9f  lon %.9f\n", back.lat / deg, back.lon / deg);

    // The zone names, for a pick list.
    char names[5000];
    if (UTMGetZoneLstS(names, sizeof names) != 0) {
        std::fprintf(stderr, "zone list did not fit\n");
        return 1;
    }

    // A host checks what it relies on: Berlin is in zone 33 north and comes back to
    // well below a millimetre.
    const double groundError = 6378137.0 * std::hypot(back.lat - point.lat, (back.lon - point.lon) * std::cos(point.lat));
    if (point.utmZone != 33 || groundError > 1e-4) {
        std::fprintf(stderr, "unexpected result (zone %d, round trip %.3g m)\n", point.utmZone, groundError);
        return 1;
    }
    return 0;
}
