// kelvane utm: geographic <-> UTM grid coordinates, one point per line.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "points.h"
#include "kelvane/kelvane.h"

namespace kelvane::cli {

namespace {

// Farthest a point may lie from the central meridian, in degrees of longitude. Within 5
// degrees the series stays within half a millimetre of the exact projection.
constexpr double kMaxOffsetDeg = 5.0;

// Central meridian of a zone code, degrees east.
double centralMeridianEast(int code)
{
    zoneCnstnt zc{};
    UTMInitializeZoneConstants(code, &zc);
    return radToDeg(-zc.centralMeridian);
}

std::string tooFar(double offsetDeg, int code)
{
    return "point lies " + fixed(std::fabs(offsetDeg), 3) + " degrees from the central meridian of zone " +
           std::to_string(code) + " (limit " + fixed(kMaxOffsetDeg, 0) + ")";
}

// Forward in blocks: each point is checked and its degrees turned into radians, then the
// block is converted in one call. zone 0: each point's own zone.
BatchSteps forwardSteps(int zone, const ellipsoid& ell)
{
    constexpr std::size_t kIn = 2, kOut = 5;
    return {kIn, kOut,
            [zone](const Values& in, double* x) -> std::optional<std::string> {
                double lonDeg = in[1];
                int code = zone;
                if (code == 0) {
                    lonDeg = nearestTurn(lonDeg, 0.0);
                    code = utmZoneFromPosition(degToRad(in[0]), degToRad(lonDeg));
                }
                const double centre = centralMeridianEast(code);
                lonDeg = nearestTurn(lonDeg, centre);
                if (std::fabs(lonDeg - centre) > kMaxOffsetDeg) return tooFar(lonDeg - centre, code);
                x[0] = degToRad(in[0]);
                x[1] = degToRad(lonDeg);
                return std::nullopt;
            },
            [zone, ell](std::size_t n, const double* x, double* r, int* status) {
                ellipsoid e = ell;
                std::vector<int32_t> zones(n);
                UTMGeod2GridBatch(zone, &e, n, inputColumn(x, kIn, 0), inputColumn(x, kIn, 1), resultColumn(r, kOut, 0),
                                  resultColumn(r, kOut, 1), resultColumn(r, kOut, 2), resultColumn(r, kOut, 3),
                                  zones.data(), status);
                for (std::size_t i = 0; i < n; ++i) r[i * kOut + 4] = zones[i];
            },
            [](const Values&, const double* r, int status, std::vector<double>& out) -> std::optional<std::string> {
                if (status != 0) return std::string("the point has no UTM zone");
                out = {r[0], r[1], r[2], radToDeg(r[3]), r[4]};
                return std::nullopt;
            }};
}

BatchSteps inverseSteps(int zone, const ellipsoid& ell)
{
    constexpr std::size_t kIn = 2, kOut = 4;
    return {kIn, kOut,
            asGiven,
            [zone, ell](std::size_t n, const double* x, double* r, int* status) {
                ellipsoid e = ell;
                UTMGrid2GeodBatch(zone, &e, n, inputColumn(x, kIn, 0), inputColumn(x, kIn, 1), resultColumn(r, kOut, 0),
                                  resultColumn(r, kOut, 1), resultColumn(r, kOut, 2), resultColumn(r, kOut, 3), status);
            },
            [zone](const Values& in, const double* r, int status, std::vector<double>& out) -> std::optional<std::string> {
                const double latDeg = radToDeg(r[0]);
                const double centre = centralMeridianEast(zone);
                const double offset = radToDeg(r[1]) - centre;
                if (status != 0 || !std::isfinite(latDeg) || !std::isfinite(offset) || std::fabs(latDeg) > 90.0) {
                    return "northing " + in.text(0) + " easting " + in.text(1) +
                           " does not lie on the ellipsoid in zone " + std::to_string(zone);
                }
                if (std::fabs(offset) > kMaxOffsetDeg) return tooFar(offset, zone);
                out = {latDeg, nearestTurn(radToDeg(r[1]), 0.0), r[2], radToDeg(r[3]), static_cast<double>(zone)};
                return std::nullopt;
            }};
}

int listZones()
{
    std::vector<char> buf(8192);
    UTMGetZoneLstS(buf.data(), static_cast<int>(buf.size()));
    std::istringstream names(buf.data());
    int code = 0;
    for (std::string name; std::getline(names, name);) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%3d  ", ++code);
        std::cout << prefix << name << '\n';
    }
    return kExitOk;
}

int run(const Invocation& inv)
{
    const bool automatic = inv.flag("--auto");
    const bool inverseMode = inv.flag("--inverse");
    const std::optional<std::string> zoneText = inv.value("--zone");
    const std::optional<ellipsoid> ell = chosenEllipsoid(inv);
    if (!ell) return kExitUsage;

    int zone = 0;
    if (zoneText) {
        double z = 0.0;
        if (!parseNumber(*zoneText, z) || z != std::floor(z) || z < 1.0 || z > 120.0) {
            return inv.usageError("--zone must be a zone code from 1 to 120, not '" + *zoneText + "'");
        }
        zone = static_cast<int>(z);
    }
    if (zoneText && automatic) return inv.usageError("give either --zone N or --auto, not both");
    if (inverseMode && !zoneText) return inv.usageError("--inverse needs --zone N (1..120)");
    if (!inverseMode && !zoneText && !automatic) return inv.usageError("give --zone N or --auto (see --help)");

    const Column zoneColumn{"zone", Quantity::Count, 0, false};
    if (inverseMode) {
        return convertLines(inv, {{kNorthing, kEasting},
                                  {kLatitude, kLongitude, kScale, kConvergence, zoneColumn},
                                  inBatches(inverseSteps(zone, *ell))});
    }
    return convertLines(inv, {{kLatitude, kLongitude},
                              {kNorthing, kEasting, kScale, kConvergence, zoneColumn},
                              inBatches(forwardSteps(zone, *ell))});
}

const Command kCommand{
    "utm",
    "geographic <-> UTM grid coordinates (120 zones)",
    20,
    {"utm (--zone N | --auto) [--ellipsoid NAME] [--input FILE]",
     "utm --inverse --zone N [--ellipsoid NAME] [--input FILE]", "utm --list"},
    "Converts geographic coordinates to Universal Transverse Mercator grid coordinates,\n"
    "or back with --inverse. One point per line from standard input or --input FILE\n"
    "(the input format: kelvane --help).\n"
    "\n"
    "  input (forward):  lat lon            degrees, north and east positive\n"
    "  output:           northing easting scale convergence zone\n"
    "  input (inverse):  northing easting   metres\n"
    "  output:           lat lon scale convergence zone\n"
    "\n"
    "Metres to 0.1 mm (4 decimals), degrees and scale to 10 decimals. The convergence is\n"
    "the grid convergence in degrees, positive east of the central meridian in the north.\n",
    {{"--zone", "N",
      "zone code 1..120: 1..60 are zones 1..60 north, 61..120 the same\n"
      "zones south (code = zone + 60). Southern codes, and southern points\n"
      "in northern codes, carry the false northing 10000000 m."},
     {"--auto", nullptr,
      "choose the zone of each point from its position (forward only);\n"
      "a zone boundary belongs to the zone east of it, 180 E to zone 60."},
     {"--inverse", nullptr, "northing easting -> lat lon; needs --zone"},
     kEllipsoidOption},
    "Refused lines (reported on stderr with their line number; the rest are converted and\n"
    "the exit status is 1): latitudes outside -90..90, and points more than 5 degrees of\n"
    "longitude from the zone's central meridian (2 degrees beyond the zone's edge), where\n"
    "the series is no longer good to half a millimetre. Longitudes may be given in any\n"
    "turn (e.g. 0..360): the one nearest the zone's central meridian is used, and the\n"
    "inverse writes longitudes in -180..180.\n",
    {"echo '52.5 4.25' | kelvane utm --zone 31", "echo '-33.9 18.4' | kelvane utm --auto"},
    Input::Points,
    run,
    false,
    listZones,
    "print the zone codes and names, then stop",
};

const Registration kRegistration(kCommand);

} // namespace

} // namespace kelvane::cli
