// kelvane ecef: geographic <-> Earth-centred Cartesian coordinates; kelvane enu:
// geocentric differences <-> local east/north/up. One point per line.
#include <cmath>
#include <initializer_list>
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"
#include "points.h"
#include "kelvane/kelvane.h"

namespace kelvane::cli {

namespace {

// Closer to the centre than this the latitude-height iteration need not settle.
constexpr double kMinDistanceFromCentre = 100000.0;

// Lengths beyond this (a billion kilometres) are refused rather than printed, as are
// results that are not finite.
constexpr double kMaxLength = 1e12;

std::optional<std::string> lengthsInRange(std::initializer_list<double> values)
{
    for (double v : values) {
        if (!(std::fabs(v) < kMaxLength)) return std::string("the result lies beyond 1e12 m");
    }
    return std::nullopt;
}

// Both directions in blocks of three columns in, three out: each point is checked and put
// in radians, then the block is converted in one call.
constexpr std::size_t kColumns = 3;

BatchSteps forwardSteps(const ellipsoid& ell)
{
    return {kColumns, kColumns,
            [](const Values& in, double* x) -> std::optional<std::string> {
                x[0] = degToRad(in[0]);
                x[1] = degToRad(std::remainder(in[1], 360.0));
                x[2] = in[2];
                return std::nullopt;
            },
            [ell](std::size_t n, const double* x, double* r, int* status) {
                latLongElev2XYZ_ECBatch(&ell, n, inputColumn(x, kColumns, 0), inputColumn(x, kColumns, 1),
                                        inputColumn(x, kColumns, 2), resultColumn(r, kColumns, 0),
                                        resultColumn(r, kColumns, 1), resultColumn(r, kColumns, 2), status);
            },
            [](const Values&, const double* r, int, std::vector<double>& out) {
                out = {r[0], r[1], r[2]};
                return lengthsInRange({r[0], r[1], r[2]});
            }};
}

BatchSteps inverseSteps(const ellipsoid& ell)
{
    return {kColumns, kColumns,
            [](const Values& in, double* x) -> std::optional<std::string> {
                const double r = std::sqrt(in[0] * in[0] + in[1] * in[1] + in[2] * in[2]);
                if (!(r >= kMinDistanceFromCentre)) {
                    return "point lies " + fixed(r / 1000.0, 3) + " km from the Earth's centre (at least " +
                           fixed(kMinDistanceFromCentre / 1000.0, 0) + " km needed)";
                }
                x[0] = in[0];
                x[1] = in[1];
                x[2] = in[2];
                return std::nullopt;
            },
            [ell](std::size_t n, const double* x, double* r, int* status) {
                XYZ_EC2latLongElevBatch(&ell, n, inputColumn(x, kColumns, 0), inputColumn(x, kColumns, 1),
                                        inputColumn(x, kColumns, 2), resultColumn(r, kColumns, 0),
                                        resultColumn(r, kColumns, 1), resultColumn(r, kColumns, 2), status);
            },
            [](const Values&, const double* r, int, std::vector<double>& out) {
                out = {radToDeg(r[0]), radToDeg(r[1]), r[2]};
                return lengthsInRange({r[2]});
            }};
}

// Metres to 0.1 mm, without a minus sign on a value that prints as zero.
Column metres(const char* name) { return {name, Quantity::Length, 4, true}; }

int runEcef(const Invocation& inv)
{
    const std::optional<ellipsoid> ell = chosenEllipsoid(inv);
    if (!ell) return kExitUsage;
    const std::vector<Column> geographic{kLatitude, kLongitude, metres("h")};
    const std::vector<Column> cartesian{metres("X"), metres("Y"), metres("Z")};
    if (inv.flag("--inverse")) return convertLines(inv, {cartesian, geographic, inBatches(inverseSteps(*ell))});
    return convertLines(inv, {geographic, cartesian, inBatches(forwardSteps(*ell))});
}

int runEnu(const Invocation& inv)
{
    const bool inverseMode = inv.flag("--inverse");
    const std::optional<std::string> originText = inv.value("--origin");
    if (!originText) return inv.usageError("give the frame's origin as --origin LAT,LON (see --help)");

    InputLine origin;
    if (parseInputLine(*originText, {Quantity::Latitude, Quantity::Longitude}, false, false, origin) ||
        origin.values.size() != 2 || !origin.rest.empty() || !(std::fabs(origin.values[0]) <= 90.0)) {
        return inv.usageError("--origin must be LAT,LON in degrees with LAT in -90..90, not '" + *originText + "'");
    }
    const double phi = degToRad(origin.values[0]);
    const double lambda = degToRad(origin.values[1]);
    const std::vector<Column> deltas{metres("dX"), metres("dY"), metres("dZ")};
    const std::vector<Column> local{metres("east"), metres("north"), metres("up")};
    return convertLines(inv, {inverseMode ? local : deltas, inverseMode ? deltas : local,
                              [&](const Values& in, std::vector<double>& out) {
                                  double a, b, c;
                                  if (inverseMode) {
                                      localGeodeticToLocal(phi, lambda, in[0], in[1], in[2], &a, &b, &c);
                                  } else {
                                      localToLocalGeodetic(phi, lambda, in[0], in[1], in[2], &a, &b, &c);
                                  }
                                  out = {a, b, c};
                                  return lengthsInRange({a, b, c});
                              }});
}

const Command kEcef{
    "ecef",
    "geographic <-> Earth-centred Cartesian X Y Z",
    60,
    {"ecef [--inverse] [--ellipsoid NAME] [--input FILE]"},
    "Converts geographic coordinates to Earth-centred, Earth-fixed Cartesian coordinates,\n"
    "or back with --inverse. One point per line from standard input or --input FILE\n"
    "(the input format: kelvane --help).\n"
    "\n"
    "  input (forward):  lat lon h    degrees (north, east positive), metres\n"
    "  output:           X Y Z        metres\n"
    "  input (inverse):  X Y Z        metres\n"
    "  output:           lat lon h\n"
    "\n"
    "X points to latitude 0, longitude 0; Y to longitude 90 E; Z to the north pole.\n"
    "Metres to 0.1 mm (4 decimals), degrees to 10 decimals; longitudes come out in\n"
    "-180..180 (180 itself as 180). On the polar axis the inverse gives latitude +90 or\n"
    "-90, longitude 0 and the height above (or below) the pole.\n",
    {{"--inverse", nullptr, "X Y Z -> lat lon h"}, kEllipsoidOption},
    "Refused lines (reported on stderr with their line number; the rest are converted and\n"
    "the exit status is 1): latitudes outside -90..90, results beyond 1e12 m, and for\n"
    "the inverse points less than 100 km from the Earth's centre, where latitude and\n"
    "height are not defined well.\n",
    {"echo '52 4.5 20' | kelvane ecef", "echo '3882000 305000 5002000' | kelvane ecef --inverse"},
    Input::Points,
    runEcef,
};

const Command kEnu{
    "enu",
    "geocentric differences -> local east/north/up",
    61,
    {"enu --origin LAT,LON [--inverse] [--input FILE]"},
    "Rotates geocentric coordinate differences into the local east/north/up frame at the\n"
    "origin, or back with --inverse. One vector per line from standard input or\n"
    "--input FILE (the input format: kelvane --help).\n"
    "\n"
    "  input:            dX dY dZ            metres (e.g. X Y Z of a point minus the origin's)\n"
    "  output:           east north up       metres\n"
    "  input (inverse):  east north up\n"
    "  output:           dX dY dZ\n"
    "\n"
    "'up' follows the ellipsoid normal at the origin (geodetic latitude), so the frame\n"
    "does not depend on the ellipsoid's size. Metres to 0.1 mm (4 decimals).\n",
    {{"--origin", "LAT,LON", "the frame's origin in degrees, north and east positive\n(52.5,4.25 or 52d30'N,4d15'E)"},
     {"--inverse", nullptr, "east north up -> dX dY dZ"}},
    "",
    {"echo '123.4 -56.7 890.1' | kelvane enu --origin -33.9,18.4"},
    Input::Points,
    runEnu,
};

const Registration kEcefRegistration(kEcef);
const Registration kEnuRegistration(kEnu);

} // namespace

} // namespace kelvane::cli
