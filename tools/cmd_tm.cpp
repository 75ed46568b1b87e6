// kelvane tm: geographic <-> Transverse Mercator grid coordinates on the stand-alone
// record, for a UTM zone (through initUTMZone) or on parameters given on the command line,
// one point per line.
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "cli.h"
#include "points.h"
#include "projection_options.h"
#include "kelvane/kelvane.h"

namespace kelvane::cli {

namespace {

// Farthest a point may lie from the central meridian, in degrees of longitude: within 5
// degrees the series stays within half a millimetre of the exact projection.
constexpr double kMaxOffsetDeg = 5.0;

std::optional<zoneCnstntTM> parameters(const Invocation& inv)
{
    const std::optional<ellipsoid> ell = chosenEllipsoid(inv);
    if (!ell) return std::nullopt;
    zoneCnstntTM zc{};
    if (const std::optional<std::string> zoneText = inv.value("--zone")) {
        for (const char* explicitOption : {"--lat0", "--lon0", "--k0", "--fe", "--fn"}) {
            if (inv.value(explicitOption)) {
                inv.usageError(std::string("give either --zone N or ") + explicitOption + ", not both");
                return std::nullopt;
            }
        }
        double z = 0.0;
        if (!parseNumber(*zoneText, z) || z != std::floor(z) || z < 1.0 || z > 60.0 ||
            initUTMZone(static_cast<int>(z), inv.flag("--south") ? 1 : 0, *ell, &zc) != 0) {
            inv.usageError("--zone must be a UTM zone number from 1 to 60, not '" + *zoneText + "'");
            return std::nullopt;
        }
        return zc;
    }
    if (inv.flag("--south")) {
        inv.usageError("--south goes with --zone N; give --fn 10000000 for a southern false northing");
        return std::nullopt;
    }
    const std::optional<double> lat0 = latitudeOption(inv, "--lat0", 0.0);
    const std::optional<double> lon0 = lat0 ? longitudeOption(inv, "--lon0", std::nullopt) : std::nullopt;
    const std::optional<ScaleAndFalseOrigin> k0FeFn = lon0 ? scaleAndFalseOrigin(inv) : std::nullopt;
    if (!k0FeFn) return std::nullopt;
    zc.ell = *ell;
    zc.originLat = degToRad(*lat0);
    zc.centralMeridian = -1.0 * degToRad(*lon0); // the record keeps it positive west
    zc.scaleFactor = k0FeFn->k0;
    zc.falseEasting = k0FeFn->fe;
    zc.falseNorthing = k0FeFn->fn;
    return zc;
}

std::string tooFar(double offsetDeg)
{
    return "point lies " + fixed(std::fabs(offsetDeg), 3) + " degrees from the central meridian (limit " +
           fixed(kMaxOffsetDeg, 0) + ")";
}

int run(const Invocation& inv)
{
    const std::optional<zoneCnstntTM> params = parameters(inv);
    if (!params) return kExitUsage;
    const zoneCnstntTM zc = *params;
    const double centre = -radToDeg(zc.centralMeridian);

    constexpr std::size_t kIn = 2, kOut = 4;
    if (inv.flag("--inverse")) {
        return convertLines(
            inv, {{kNorthing, kEasting},
                  {kLatitude, kLongitude, kScale, kConvergence},
                  inBatches({kIn, kOut,
                             asGiven,
                             [zc](std::size_t n, const double* x, double* r, int* status) {
                                 XY_TransverseMercator2latLongBatch(&zc, n, inputColumn(x, kIn, 0), inputColumn(x, kIn, 1),
                                                                    resultColumn(r, kOut, 0), resultColumn(r, kOut, 1),
                                                                    resultColumn(r, kOut, 2), resultColumn(r, kOut, 3),
                                                                    status);
                             },
                             [centre](const Values& in, const double* r, int status,
                                      std::vector<double>& out) -> std::optional<std::string> {
                                 if (status != 0 || !(std::fabs(r[0]) <= 2.0)) {
                                     return "northing " + in.text(0) + " easting " + in.text(1) +
                                            " does not lie on the ellipsoid";
                                 }
                                 const double offset = radToDeg(r[1]) - centre;
                                 if (std::fabs(offset) > kMaxOffsetDeg) return tooFar(offset);
                                 out = geographicRow(r);
                                 return std::nullopt;
                             }})});
    }
    return convertLines(
        inv, {{kLatitude, kLongitude},
              {kNorthing, kEasting, kScale, kConvergence},
              inBatches({kIn, kOut,
                         [centre](const Values& in, double* x) -> std::optional<std::string> {
                             const double lonDeg = nearestTurn(in[1], centre);
                             if (std::fabs(lonDeg - centre) > kMaxOffsetDeg) return tooFar(lonDeg - centre);
                             x[0] = degToRad(in[0]);
                             x[1] = degToRad(lonDeg);
                             return std::nullopt;
                         },
                         [zc](std::size_t n, const double* x, double* r, int* status) {
                             latLong2XY_TransverseMercatorBatch(&zc, n, inputColumn(x, kIn, 0), inputColumn(x, kIn, 1),
                                                                resultColumn(r, kOut, 0), resultColumn(r, kOut, 1),
                                                                resultColumn(r, kOut, 2), resultColumn(r, kOut, 3), status);
                         },
                         [](const Values&, const double* r, int status, std::vector<double>& out) -> std::optional<std::string> {
                             if (status != 0) return std::string("the point has no finite image on this projection");
                             out = {r[0], r[1], r[2], radToDeg(r[3])};
                             return std::nullopt;
                         }})});
}

const Command kCommand{
    "tm",
    "geographic <-> Transverse Mercator on a UTM zone or given parameters",
    21,
    {"tm --zone N [--south] [--ellipsoid NAME] [--inverse] [--input FILE]",
     "tm --lon0 DEG [--lat0 DEG] [--k0 K] [--fe M] [--fn M] [--ellipsoid NAME] [--inverse] [--input FILE]"},
    "Converts geographic coordinates to Transverse Mercator grid coordinates on the\n"
    "stand-alone Transverse Mercator record, or back with --inverse: for UTM zone N\n"
    "(north, or south with --south) or for any central meridian, origin latitude, scale\n"
    "factor and false origin. One point per line from standard input or --input FILE;\n"
    "fields separated by blanks, tabs or commas.\n"
    "\n"
    "  input (forward):  lat lon            decimal degrees, north and east positive\n"
    "  output:           northing easting scale convergence\n"
    "  input (inverse):  northing easting   metres\n"
    "  output:           lat lon scale convergence\n"
    "\n"
    "Metres to 0.1 mm, degrees and scale to 10 decimals; the convergence in degrees,\n"
    "positive east of the central meridian in the north.\n",
    {{"--zone", "N", "UTM zone number 1..60 (k0 0.9996, false easting 500000 m)"},
     {"--south", nullptr, "with --zone: the southern zone (false northing 10000000 m)"},
     {"--lat0", "DEG", "latitude of the grid origin, degrees (default 0)"},
     {"--lon0", "DEG", "central meridian, degrees east (needed without --zone)"},
     {"--k0", "K", "scale factor on the central meridian, a ratio (default 1)"},
     {"--fe", "M", "false easting, metres (default 0)"},
     {"--fn", "M", "false northing, metres (default 0)"},
     {"--inverse", nullptr, "northing easting -> lat lon"},
     kEllipsoidOption},
    "Refused lines (reported on stderr with their line number; the rest are converted and\n"
    "the exit status is 1): latitudes outside -90..90 and points more than 5 degrees of\n"
    "longitude from the central meridian, where the series is no longer good to half a\n"
    "millimetre. Longitudes may be given in any turn; the one nearest the central meridian\n"
    "is used, and the inverse writes longitudes in -180..180.\n",
    {"echo '50.5 0.5' | kelvane tm --lat0 49 --lon0 -2 --k0 0.9996012717 --fe 400000 --fn -100000 "
     "--ellipsoid airy1830",
     "echo '-33.9 18.4' | kelvane tm --zone 34 --south"},
    Input::Points,
    run,
};

const Registration kRegistration(kCommand);

} // namespace

} // namespace kelvane::cli
