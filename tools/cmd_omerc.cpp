// kelvane omerc: geographic <-> Hotine oblique Mercator grid coordinates with the grid
// origin at the projection centre, on parameters given on the command line, one point per
// line; --object runs the points through the OGCTObliqueMercator object.
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

std::optional<zoneCnstntObliqueMerc> parameters(const Invocation& inv)
{
    const std::optional<ellipsoid> ell = chosenEllipsoid(inv);
    if (!ell) return std::nullopt;
    const std::optional<double> latc = latitudeOption(inv, "--latc", std::nullopt);
    const std::optional<double> lonc = latc ? longitudeOption(inv, "--lonc", std::nullopt) : std::nullopt;
    const std::optional<double> alpha = lonc ? numberOption(inv, "--alpha", std::nullopt, -360.0, 360.0) : std::nullopt;
    const std::optional<double> gamma = alpha ? numberOption(inv, "--gamma", *alpha, -360.0, 360.0) : std::nullopt;
    const std::optional<ScaleAndFalseOrigin> k0FeFn = gamma ? scaleAndFalseOrigin(inv) : std::nullopt;
    if (!k0FeFn) return std::nullopt;
    if (std::fabs(*latc) == 90.0 || *latc == 0.0) {
        inv.usageError("the projection centre must lie off the poles and off the equator");
        return std::nullopt;
    }
    zoneCnstntObliqueMerc z{};
    z.ell = *ell;
    z.centreLat = degToRad(*latc);
    z.centreLon = degToRad(*lonc);
    z.azimuth = degToRad(*alpha);
    z.rectifiedGridAngle = degToRad(*gamma);
    z.scaleFactor = k0FeFn->k0;
    z.falseEasting = k0FeFn->fe;
    z.falseNorthing = k0FeFn->fn;
    return z;
}

const char* const kNoImage = "the point has no image on this projection (a pole, or 90 degrees from the central line)";

int run(const Invocation& inv)
{
    const std::optional<zoneCnstntObliqueMerc> params = parameters(inv);
    if (!params) return kExitUsage;
    const zoneCnstntObliqueMerc zone = *params;
    const bool inverseMode = inv.flag("--inverse");
    const double lonc = radToDeg(zone.centreLon);

    if (inv.flag("--object")) {
        OGCTObliqueMercator om;
        om.Init(zone);
        if (inverseMode) {
            return convertLines(inv, {{kNorthing, kEasting}, {kLatitude, kLongitude},
                                      [&](const Values& in, std::vector<double>& out) -> std::optional<std::string> {
                                          geodCoord g{};
                                          g.northing = in[0];
                                          g.easting = in[1];
                                          om.TransMapToGeo(&g);
                                          out = {radToDeg(g.lat), nearestTurn(radToDeg(g.lon), 0.0)};
                                          return finiteResults({g.lat, g.lon}, "the grid point lies on no point of the map");
                                      }});
        }
        return convertLines(inv, {{kLatitude, kLongitude}, {kNorthing, kEasting},
                                  [&](const Values& in, std::vector<double>& out) -> std::optional<std::string> {
                                      geodCoord g{};
                                      g.lat = degToRad(in[0]);
                                      g.lon = degToRad(in[1]); // the object takes the turn nearest the centre
                                      om.TransGeoToMap(&g);
                                      out = {g.northing, g.easting};
                                      return finiteResults({g.northing, g.easting}, kNoImage);
                                  }});
    }
    constexpr std::size_t kIn = 2, kOut = 3;
    if (inverseMode) {
        return convertLines(
            inv, {{kNorthing, kEasting},
                  {kLatitude, kLongitude, kScale},
                  inBatches({kIn, kOut,
                             asGiven,
                             [zone](std::size_t n, const double* x, double* r, int* status) {
                                 XY2latLong_OMProjCenterBatch(&zone, n, inputColumn(x, kIn, 0), inputColumn(x, kIn, 1),
                                                              resultColumn(r, kOut, 0), resultColumn(r, kOut, 1),
                                                              resultColumn(r, kOut, 2), status);
                             },
                             [](const Values&, const double* r, int, std::vector<double>& out) {
                                 out = {radToDeg(r[0]), nearestTurn(radToDeg(r[1]), 0.0), r[2]};
                                 return finiteResults({r[0], r[1], r[2]}, "the grid point lies on no point of the map");
                             }})});
    }
    return convertLines(
        inv, {{kLatitude, kLongitude},
              {kNorthing, kEasting, kScale},
              inBatches({kIn, kOut,
                         [lonc](const Values& in, double* x) -> std::optional<std::string> {
                             x[0] = degToRad(in[0]);
                             x[1] = degToRad(nearestTurn(in[1], lonc));
                             return std::nullopt;
                         },
                         [zone](std::size_t n, const double* x, double* r, int* status) {
                             latLong2XY_OMProjCenterBatch(&zone, n, inputColumn(x, kIn, 0), inputColumn(x, kIn, 1),
                                                          resultColumn(r, kOut, 0), resultColumn(r, kOut, 1),
                                                          resultColumn(r, kOut, 2), status);
                         },
                         [](const Values&, const double* r, int, std::vector<double>& out) {
                             out = {r[0], r[1], r[2]};
                             return finiteResults({r[0], r[1], r[2]}, kNoImage);
                         }})});
}

const Command kCommand{
    "omerc",
    "geographic <-> oblique Mercator, grid origin at the projection centre",
    40,
    {"omerc --latc DEG --lonc DEG --alpha DEG [--gamma DEG] [--k0 K] [--fe M] [--fn M] [--ellipsoid NAME]",
     "omerc --inverse --latc DEG --lonc DEG --alpha DEG ... [--object]"},
    "Converts geographic coordinates to Hotine oblique Mercator grid coordinates whose origin\n"
    "is the projection centre (EPSG variant B), or back with --inverse. One point per line\n"
    "from standard input or --input FILE; fields separated by blanks, tabs or commas.\n"
    "\n"
    "  input (forward):  lat lon            decimal degrees, north and east positive\n"
    "  output:           northing easting scale    (with --object: northing easting)\n"
    "  input (inverse):  northing easting   metres\n"
    "  output:           lat lon scale             (with --object: lat lon)\n"
    "\n"
    "The grid convergence of this projection is not computed. Metres to 0.1 mm, degrees\n"
    "and scale to 10 decimals. An azimuth of exactly 90 degrees (a central line running\n"
    "due east at the centre) is supported.\n",
    {{"--latc", "DEG", "latitude of the projection centre, degrees (off the equator and poles)"},
     {"--lonc", "DEG", "longitude of the projection centre, degrees east"},
     {"--alpha", "DEG", "azimuth of the central line at the centre, degrees clockwise from north"},
     {"--gamma", "DEG", "angle from the rectified to the oblique grid, degrees\n(default: the azimuth)"},
     {"--k0", "K", "scale factor on the central line at the centre, a ratio (default 1)"},
     {"--fe", "M", "easting of the projection centre, metres (default 0)"},
     {"--fn", "M", "northing of the projection centre, metres (default 0)"},
     {"--inverse", nullptr, "northing easting -> lat lon"},
     {"--object", nullptr, "convert through the oblique Mercator object (no scale factor;\n"
                           "longitudes wrapped to the centre, inverse branch corrected)"},
     kEllipsoidOption},
    "Refused lines (reported on stderr with their line number; the rest are converted and\n"
    "the exit status is 1): latitudes outside -90..90, the poles, and points or grid\n"
    "coordinates where the projection gives no finite result. Longitudes may be given in\n"
    "any turn; the one within 180 degrees of the centre is used, and the inverse writes\n"
    "longitudes in -180..180.\n",
    {"echo '12 117' | kelvane omerc --latc 4 --lonc 115 --alpha 53.31580995 --gamma 53.13010236 "
     "--k0 0.99984 --fe 590521.147 --fn 442890.861"},
    Input::Points,
    run,
};

const Registration kRegistration(kCommand);

} // namespace

} // namespace kelvane::cli
