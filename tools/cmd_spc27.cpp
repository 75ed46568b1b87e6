// kelvane spc27: geographic (NAD 27) <-> state plane 1927 coordinates in US survey feet.
#include <cctype>
#include <cmath>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli.h"
#include "points.h"
#include "kelvane/spc27.h"

namespace kelvane::cli {

namespace {

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

// Both directions in blocks: each point is put in feet and west-positive radians, then the
// block is converted in one call.
constexpr std::size_t kIn = 2, kOut = 4;

BatchSteps forwardSteps(const zoneconstant27& zone, const LengthUnit& unit)
{
    return {kIn, kOut,
            [zone](const Values& in, double* x) -> std::optional<std::string> {
                x[0] = degToRad(in[0]);
                x[1] = degToRad(nearestTurn(-in[1], centralMeridianWest(zone))); // the family takes them positive west
                return std::nullopt;
            },
            [zone](std::size_t n, const double* x, double* r, int* status) {
                geod2SPC27Batch(&zone, n, inputColumn(x, kIn, 0), inputColumn(x, kIn, 1), resultColumn(r, kOut, 0),
                                resultColumn(r, kOut, 1), resultColumn(r, kOut, 2), resultColumn(r, kOut, 3), status);
            },
            [unit](const Values&, const double* r, int status, std::vector<double>& out) -> std::optional<std::string> {
                if (status != 0) return std::string("the zone's projection kind is not known");
                if (!std::isfinite(r[0]) || !std::isfinite(r[1])) return std::string("the point has no grid position");
                out = {convertLength(r[0], kUsSurveyFoot, unit), convertLength(r[1], kUsSurveyFoot, unit), r[2],
                       radToDeg(r[3])};
                return std::nullopt;
            }};
}

BatchSteps inverseSteps(const zoneconstant27& zone, const LengthUnit& unit)
{
    return {kIn, kOut,
            [unit](const Values& in, double* x) -> std::optional<std::string> {
                x[0] = convertLength(in[0], unit, kUsSurveyFoot);
                x[1] = convertLength(in[1], unit, kUsSurveyFoot);
                return std::nullopt;
            },
            [zone](std::size_t n, const double* x, double* r, int* status) {
                SPC272GeodBatch(&zone, n, inputColumn(x, kIn, 0), inputColumn(x, kIn, 1), resultColumn(r, kOut, 0),
                                resultColumn(r, kOut, 1), resultColumn(r, kOut, 2), resultColumn(r, kOut, 3), status);
            },
            [](const Values&, const double* r, int status, std::vector<double>& out) -> std::optional<std::string> {
                if (status != 0) return std::string("the zone's projection kind is not known");
                if (!std::isfinite(r[0]) || !std::isfinite(r[1])) return std::string("the point has no geographic position");
                out = {radToDeg(r[0]), nearestTurn(-radToDeg(r[1]), 0.0), r[2], radToDeg(r[3])};
                return std::nullopt;
            }};
}

int run(const Invocation& inv)
{
    const bool inverseMode = inv.flag("--inverse");
    const std::optional<std::string> zoneText = inv.value("--zone");
    if (!zoneText) return inv.usageError("--zone CODE is required (see --list for the codes)");
    const std::optional<int> code = parseZoneCode(*zoneText);
    if (!code) return inv.usageError("invalid zone code '" + *zoneText + "': expected a code such as 0101 or 101");
    const std::optional<LengthUnit> unit = chosenUnit(inv, {kUsSurveyFoot, kMetre});
    if (!unit) return kExitUsage;
    init27ZoneConstants();
    zoneconstant27 zone{};
    if (initSPC27Zone(*code, &zone) != 0) return inv.usageError("unknown SPCS 27 zone '" + *zoneText + "' (see --list)");

    // The degrees keep their minus sign on zero, the convergence has 9 decimals.
    const Column lat{"lat", Quantity::Latitude, 10, false}, lon{"lon", Quantity::Longitude, 10, false};
    const Column northing{"northing", Quantity::Length, 4, false}, easting{"easting", Quantity::Length, 4, false};
    const Column convergence{"convergence", Quantity::Angle, 9, false};
    if (inverseMode) {
        return convertLines(inv, {{northing, easting}, {lat, lon, kScale, convergence}, inBatches(inverseSteps(zone, *unit))});
    }
    return convertLines(inv, {{lat, lon}, {northing, easting, kScale, convergence}, inBatches(forwardSteps(zone, *unit))});
}

int list()
{
    init27ZoneConstants();
    return listZones();
}

const Command kCommand{
    "spc27",
    "geographic <-> state plane 1927 (US survey feet)",
    51,
    {"spc27 --zone CODE [--inverse] [--units UNIT] [--input FILE]", "spc27 --list"},
    "Converts between NAD 27 latitude/longitude and the state plane coordinates of 1927\n"
    "(SPCS 27, Clarke 1866) of one zone, one point per line.\n"
    "\n"
    "  forward (default)  reads   lat lon           degrees, longitude positive east\n"
    "                     writes  northing easting  US survey feet (or --units), 4 decimals,\n"
    "                             then the point scale factor and the convergence in degrees\n"
    "  --inverse          reads   northing easting  US survey feet (or --units)\n"
    "                     writes  lat lon           decimal degrees, longitude positive east,\n"
    "                             then the point scale factor and the convergence in degrees\n",
    {{"--zone", "CODE", "SPCS 27 zone code, with or without its leading zero (0101 or 101)"},
     {"--inverse", nullptr, "northing easting -> lat lon"},
     {"--units", "UNIT", "unit of northings and eastings, in and out: us-ft (US survey foot,\n"
                         "1200/3937 m, the system's own and the default) or m"}},
    "The input format is that of every command (kelvane --help). The convergence is\n"
    "positive east of the central meridian. Longitudes may be given in any turn (173.2 or\n"
    "-186.8 for a point of the Aleutian zone 5010 west of 180 degrees): the one nearest the\n"
    "zone's central meridian is used, and the inverse writes longitudes in -180..180.\n",
    {"echo '31.5 -85.83333333333333' | kelvane spc27 --zone 0101"},
    Input::Points,
    run,
    false,
    list,
    "lists the 130 zone codes in table order with their projection kinds",
};

const Registration kRegistration(kCommand);

} // namespace

} // namespace kelvane::cli
