// kelvane spc27: geographic (NAD 27) <-> state plane 1927 coordinates in US survey feet.
#include <cctype>
#include <cmath>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli.h"
#include "commands.h"
#include "kelvane/spc27.h"

namespace kelvane::cli {

namespace {

const char* const kHelp =
    "usage: kelvane spc27 --zone CODE [--inverse] [--input FILE]\n"
    "       kelvane spc27 --list\n"
    "\n"
    "Converts between NAD 27 latitude/longitude and the state plane coordinates of 1927\n"
    "(SPCS 27, Clarke 1866) of one zone, one point per line.\n"
    "\n"
    "  forward (default)  reads   lat lon           decimal degrees, longitude positive east\n"
    "                     writes  northing easting  US survey feet, 4 decimals,\n"
    "                             then the point scale factor and the convergence in degrees\n"
    "  --inverse          reads   northing easting  US survey feet\n"
    "                     writes  lat lon           decimal degrees, longitude positive east,\n"
    "                             then the point scale factor and the convergence in degrees\n"
    "\n"
    "  --zone CODE   SPCS 27 zone code, with or without its leading zero (0101 or 101)\n"
    "  --list        lists the 130 zone codes in table order with their projection kinds\n"
    "  --input FILE  reads FILE instead of standard input\n"
    "\n"
    "Fields are separated by blanks, tabs or commas. The convergence is positive east of\n"
    "the central meridian. Longitudes may be given in any turn (173.2 or -186.8 for a\n"
    "point of the Aleutian zone 5010 west of 180 degrees): the one nearest the zone's\n"
    "central meridian is used, and the inverse writes longitudes in -180..180.\n";

const char* kindName(int kind)
{
    switch (kind) {
    case 0: return "Transverse Mercator";
    case 1: return "Lambert conformal conic";
    case 2: return "oblique Mercator (Alaska zone 1)";
    case 3: return "Transverse Mercator (Alaska zones 2 to 9)";
    default: return "unknown";
    }
}

// The zone's central meridian in degrees west. Alaska zone 1 carries no constants (zero
// here); its points all lie between 129 and 142 degrees west, far from either wrap.
double centralMeridianWest(const zoneconstant27& zone) { return zone.param[1] / 3600.0; }

std::string fourDigits(int code)
{
    std::string s = std::to_string(code);
    return std::string(s.size() < 4 ? 4 - s.size() : 0, '0') + s;
}

int listZones()
{
    // The table is reached only through its lookups: find every code's row, then print
    // the rows in table order.
    std::map<int, zoneconstant27> byIndex;
    for (int code = 1; code <= 9999; ++code) {
        int index = 0;
        zoneconstant27 zone{};
        if (getSPC27ZoneIndex(code, &index) == 0 && initSPC27Zone(code, &zone) == 0) byIndex[index] = zone;
    }
    for (const auto& [index, zone] : byIndex) {
        std::cout << fourDigits(zone.zoneCode) << ' ' << zone.projection << ' ' << kindName(zone.projection)
                  << '\n';
    }
    return kExitOk;
}

std::optional<std::string> forward(zoneconstant27& zone, const std::vector<std::string>& fields,
                                   std::ostream& out)
{
    std::vector<double> v;
    if (auto problem = parseNumbers(fields, 2, v)) return problem;
    if (std::fabs(v[0]) > 90.0) return "latitude " + fields[0] + " is outside -90..90 degrees";
    geodCoord p{};
    p.lat = degToRad(v[0]);
    p.lon = degToRad(nearestTurn(-v[1], centralMeridianWest(zone))); // the family takes them positive west
    if (geod2SPC27(&zone, &p) != 0) return std::string("the zone's projection kind is not known");
    if (!std::isfinite(p.northing) || !std::isfinite(p.easting)) return std::string("the point has no grid position");
    out << fixed(p.northing, 4) << ' ' << fixed(p.easting, 4) << ' ' << fixed(p.gridScale, 10) << ' '
        << fixed(radToDeg(p.convergence), 9) << '\n';
    return std::nullopt;
}

std::optional<std::string> inverse(zoneconstant27& zone, const std::vector<std::string>& fields,
                                   std::ostream& out)
{
    std::vector<double> v;
    if (auto problem = parseNumbers(fields, 2, v)) return problem;
    geodCoord p{};
    p.northing = v[0];
    p.easting = v[1];
    if (SPC272Geod(&zone, &p) != 0) return std::string("the zone's projection kind is not known");
    if (!std::isfinite(p.lat) || !std::isfinite(p.lon)) return std::string("the point has no geographic position");
    out << fixed(radToDeg(p.lat), 10) << ' ' << fixed(nearestTurn(-radToDeg(p.lon), 0.0), 10) << ' ' << fixed(p.gridScale, 10)
        << ' ' << fixed(radToDeg(p.convergence), 9) << '\n';
    return std::nullopt;
}

} // namespace

int runSpc27(int argc, char** argv)
{
    Args args(argc, argv);
    const std::string& cmd = args.command();
    if (args.help()) {
        std::cout << kHelp;
        return kExitOk;
    }
    const bool list = args.flag("--list");
    const bool inverseMode = args.flag("--inverse");
    const std::optional<std::string> zoneText = args.value("--zone");
    const std::optional<std::string> input = args.value("--input");
    const std::vector<std::string> extra = args.positionals();
    if (!args.finish()) return kExitUsage;
    if (!extra.empty()) return usageError(cmd, "unexpected argument '" + extra.front() + "' (see --help)");

    init27ZoneConstants();
    if (list) {
        if (zoneText || inverseMode || input) return usageError(cmd, "--list takes no other option");
        return listZones();
    }
    if (!zoneText) return usageError(cmd, "--zone CODE is required (see --list for the codes)");
    const std::optional<int> code = parseZoneCode(*zoneText);
    if (!code) return usageError(cmd, "invalid zone code '" + *zoneText + "': expected a code such as 0101 or 101");
    zoneconstant27 zone{};
    if (initSPC27Zone(*code, &zone) != 0) {
        return usageError(cmd, "unknown SPCS 27 zone '" + *zoneText + "' (see --list)");
    }
    return processLines(cmd, input, [&](const std::vector<std::string>& fields, std::ostream& out) {
        return inverseMode ? inverse(zone, fields, out) : forward(zone, fields, out);
    });
}

} // namespace kelvane::cli
