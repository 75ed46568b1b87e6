// kelvane utm: geographic <-> UTM grid coordinates, one point per line.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "commands.h"
#include "kelvane/kelvane.h"

namespace kelvane::cli {

namespace {

const char* const kUtmHelp =
    "usage: kelvane utm (--zone N | --auto) [--ellipsoid NAME] [--input FILE]\n"
    "       kelvane utm --inverse --zone N [--ellipsoid NAME] [--input FILE]\n"
    "       kelvane utm --list\n"
    "\n"
    "Converts geographic coordinates to Universal Transverse Mercator grid coordinates,\n"
    "or back with --inverse. One point per line from standard input or --input FILE;\n"
    "fields separated by blanks, tabs or commas; blank lines and '#' lines are skipped.\n"
    "\n"
    "  input (forward):  lat lon            decimal degrees, north and east positive\n"
    "  output:           northing easting scale convergence zone\n"
    "  input (inverse):  northing easting   metres\n"
    "  output:           lat lon scale convergence zone\n"
    "\n"
    "Metres to 0.1 mm (4 decimals), degrees and scale to 10 decimals. The convergence is\n"
    "the grid convergence in degrees, positive east of the central meridian in the north.\n"
    "\n"
    "options:\n"
    "  --zone N         zone code 1..120: 1..60 are zones 1..60 north, 61..120 the same\n"
    "                   zones south (code = zone + 60). Southern codes, and southern points\n"
    "                   in northern codes, carry the false northing 10000000 m.\n"
    "  --auto           choose the zone of each point from its position (forward only);\n"
    "                   a zone boundary belongs to the zone east of it, 180 E to zone 60.\n"
    "  --inverse        northing easting -> lat lon; needs --zone\n"
    "  --ellipsoid NAME grs80 (default), wgs84, intl1924 or clarke1866\n"
    "  --list           print the zone codes and names, then stop\n"
    "  --input FILE     read FILE instead of standard input\n"
    "  --help           this text\n"
    "\n"
    "Refused lines (reported on stderr with their line number; the rest are converted and\n"
    "the exit status is 1): latitudes outside -90..90, and points more than 5 degrees of\n"
    "longitude from the zone's central meridian (2 degrees beyond the zone's edge), where\n"
    "the series is no longer good to half a millimetre. Longitudes may be given in any\n"
    "turn (e.g. 0..360): the one nearest the zone's central meridian is used, and the\n"
    "inverse writes longitudes in -180..180.\n";

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

// Degrees to 10 decimals, without a minus sign on a value that prints as zero.
std::string degrees(double v) { return signedFixed(v, 10); }

std::string tooFar(double offsetDeg, int code)
{
    return "point lies " + fixed(std::fabs(offsetDeg), 3) + " degrees from the central meridian of zone " +
           std::to_string(code) + " (limit " + fixed(kMaxOffsetDeg, 0) + ")";
}

std::optional<std::string> forwardLine(const std::vector<std::string>& fields, int zone, ellipsoid ell,
                                       std::ostream& out)
{
    std::vector<double> v;
    if (auto problem = parseNumbers(fields, 2, v)) return problem;
    const double latDeg = v[0];
    double lonDeg = v[1];
    if (latDeg < -90.0 || latDeg > 90.0) return "latitude " + fields[0] + " is outside -90..90";

    int code = zone;
    if (code == 0) {
        lonDeg = nearestTurn(lonDeg, 0.0);
        code = utmZoneFromPosition(degToRad(latDeg), degToRad(lonDeg));
    }
    const double centre = centralMeridianEast(code);
    lonDeg = nearestTurn(lonDeg, centre);
    if (std::fabs(lonDeg - centre) > kMaxOffsetDeg) return tooFar(lonDeg - centre, code);

    geodCoord p{};
    p.lat = degToRad(latDeg);
    p.lon = degToRad(lonDeg);
    UTMGeod2Grid(code, &ell, &p);
    out << fixed(p.northing, 4) << ' ' << fixed(p.easting, 4) << ' ' << fixed(p.gridScale, 10) << ' '
        << degrees(radToDeg(p.convergence)) << ' ' << p.utmZone << '\n';
    return std::nullopt;
}

std::optional<std::string> inverseLine(const std::vector<std::string>& fields, int zone, ellipsoid ell,
                                       std::ostream& out)
{
    std::vector<double> v;
    if (auto problem = parseNumbers(fields, 2, v)) return problem;
    geodCoord p{};
    p.northing = v[0];
    p.easting = v[1];
    UTMGrid2Geod(zone, &ell, &p);
    const double latDeg = radToDeg(p.lat);
    const double centre = centralMeridianEast(zone);
    const double offset = radToDeg(p.lon) - centre;
    if (!std::isfinite(latDeg) || !std::isfinite(offset) || std::fabs(latDeg) > 90.0) {
        return "northing " + fields[0] + " easting " + fields[1] + " does not lie on the ellipsoid in zone " +
               std::to_string(zone);
    }
    if (std::fabs(offset) > kMaxOffsetDeg) return tooFar(offset, zone);
    out << degrees(latDeg) << ' ' << degrees(nearestTurn(radToDeg(p.lon), 0.0)) << ' ' << fixed(p.gridScale, 10)
        << ' ' << degrees(radToDeg(p.convergence)) << ' ' << zone << '\n';
    return std::nullopt;
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

} // namespace

int runUtm(int argc, char** argv)
{
    Args args(argc, argv);
    const std::string& cmd = args.command();
    if (args.help()) {
        std::cout << kUtmHelp;
        return kExitOk;
    }
    const bool list = args.flag("--list");
    const bool automatic = args.flag("--auto");
    const bool inverse = args.flag("--inverse");
    const std::optional<std::string> zoneText = args.value("--zone");
    const std::optional<std::string> input = args.value("--input");
    const std::optional<std::string> ellipsoidName = args.value("--ellipsoid");
    if (!args.finish()) return kExitUsage;
    if (list) return listZones();

    ellipsoid ell{};
    const NamedEllipsoid* chosen = findEllipsoid(ellipsoidName.value_or("grs80"));
    if (!chosen) return usageError(cmd, "unknown ellipsoid '" + *ellipsoidName + "' (" + ellipsoidNames() + ")");
    initEllipsoid(&ell, chosen->semiMajor, chosen->flattening);

    int zone = 0;
    if (zoneText) {
        double z = 0.0;
        if (!parseNumber(*zoneText, z) || z != std::floor(z) || z < 1.0 || z > 120.0) {
            return usageError(cmd, "--zone must be a zone code from 1 to 120, not '" + *zoneText + "'");
        }
        zone = static_cast<int>(z);
    }
    if (zoneText && automatic) return usageError(cmd, "give either --zone N or --auto, not both");
    if (inverse && !zoneText) return usageError(cmd, "--inverse needs --zone N (1..120)");
    if (!inverse && !zoneText && !automatic) return usageError(cmd, "give --zone N or --auto (see --help)");

    return processLines(cmd, input, [&](const std::vector<std::string>& fields, std::ostream& out) {
        return inverse ? inverseLine(fields, zone, ell, out) : forwardLine(fields, zone, ell, out);
    });
}

} // namespace kelvane::cli
