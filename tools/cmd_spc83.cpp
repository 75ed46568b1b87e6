// kelvane spc83: geographic <-> state plane 1983 coordinates, and arc-to-chord corrections
// of observed angles, one point (or one angle) per line.
#include <cctype>
#include <cmath>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "points.h"
#include "kelvane/kelvane.h"

namespace kelvane::cli {

namespace {

// Farthest a point of a Transverse Mercator zone may lie from its central meridian.
constexpr double kMaxTmOffsetDeg = 5.0;

// The zone's central meridian (Transverse Mercator, Lambert) or centre longitude (oblique
// Mercator), degrees east.
double centreLongitudeEast(const zoneCnstnt& zone)
{
    return radToDeg(-zone.originLon);
}

std::optional<std::string> tooFarFromMeridian(const zoneCnstnt& zone, double lonDeg)
{
    const double offset = lonDeg - centreLongitudeEast(zone);
    if (zone.projection != kvTransverseMercator || std::fabs(offset) <= kMaxTmOffsetDeg) return std::nullopt;
    return "point lies " + fixed(std::fabs(offset), 3) + " degrees from the central meridian of zone " +
           std::to_string(zone.zoneCode) + " (limit " + fixed(kMaxTmOffsetDeg, 0) + ")";
}

// Both directions in blocks: each point is checked and put in metres and radians, then the
// block is converted in one call.
constexpr std::size_t kIn = 2, kOut = 4;

BatchSteps forwardSteps(const zoneCnstnt& zone, const LengthUnit& unit)
{
    return {kIn, kOut,
            [zone](const Values& in, double* x) -> std::optional<std::string> {
                const double lonDeg = nearestTurn(in[1], centreLongitudeEast(zone));
                if (auto problem = tooFarFromMeridian(zone, lonDeg)) return problem;
                x[0] = degToRad(in[0]);
                x[1] = degToRad(lonDeg);
                return std::nullopt;
            },
            [code = zone.zoneCode](std::size_t n, const double* x, double* r, int* status) {
                SPC83Geod2GridBatch(code, n, inputColumn(x, kIn, 0), inputColumn(x, kIn, 1), resultColumn(r, kOut, 0),
                                    resultColumn(r, kOut, 1), resultColumn(r, kOut, 2), resultColumn(r, kOut, 3),
                                    status);
            },
            [code = zone.zoneCode, unit](const Values&, const double* r, int status,
                                         std::vector<double>& out) -> std::optional<std::string> {
                if (status != 0 || !std::isfinite(r[0]) || !std::isfinite(r[1])) {
                    return "the point has no plane coordinates in zone " + std::to_string(code);
                }
                out = {convertLength(r[0], kMetre, unit), convertLength(r[1], kMetre, unit), r[2], radToDeg(r[3])};
                return std::nullopt;
            }};
}

BatchSteps inverseSteps(const zoneCnstnt& zone, const LengthUnit& unit)
{
    return {kIn, kOut,
            [unit](const Values& in, double* x) -> std::optional<std::string> {
                x[0] = convertLength(in[0], unit, kMetre);
                x[1] = convertLength(in[1], unit, kMetre);
                return std::nullopt;
            },
            [code = zone.zoneCode](std::size_t n, const double* x, double* r, int* status) {
                SPC83Grid2GeodBatch(code, n, inputColumn(x, kIn, 0), inputColumn(x, kIn, 1), resultColumn(r, kOut, 0),
                                    resultColumn(r, kOut, 1), resultColumn(r, kOut, 2), resultColumn(r, kOut, 3),
                                    status);
            },
            [zone](const Values& in, const double* r, int status, std::vector<double>& out) -> std::optional<std::string> {
                const double latDeg = radToDeg(r[0]);
                const double lonDeg = radToDeg(r[1]);
                if (status != 0 || !std::isfinite(latDeg) || !std::isfinite(lonDeg) || std::fabs(latDeg) > 90.0) {
                    return "northing " + in.text(0) + ", easting " + in.text(1) +
                           " lie on no point of the ellipsoid in zone " + std::to_string(zone.zoneCode);
                }
                if (auto problem = tooFarFromMeridian(zone, lonDeg)) return problem;
                out = {latDeg, nearestTurn(lonDeg, 0.0), r[2], radToDeg(r[3])};
                return std::nullopt;
            }};
}

std::optional<std::string> arcToChord(const Values& in, const zoneCnstnt& zone, const LengthUnit& unit,
                                      std::vector<double>& out)
{
    double m[6];
    for (std::size_t i = 0; i < 6; ++i) m[i] = convertLength(in[i], unit, kMetre);
    double tT = 0.0;
    // Input is northing, easting per point; the library takes easting first.
    computeSPC83TmT(zone.zoneCode, m[1], m[0], m[3], m[2], m[5], m[4], &tT);
    if (!std::isfinite(tT)) return "the points lie on no part of the ellipsoid in zone " + std::to_string(zone.zoneCode);
    out = {radToDeg(tT) * 3600.0};
    return std::nullopt;
}

int listZones()
{
    std::vector<char> buf(4096);
    SPC83GetZoneLstS(buf.data(), static_cast<int>(buf.size()));
    std::cout << buf.data();
    return kExitOk;
}

int run(const Invocation& inv)
{
    const bool inverseMode = inv.flag("--inverse");
    const std::optional<std::string> zoneText = inv.value("--zone");
    const std::optional<std::string> ttText = inv.value("--tt");
    if (zoneText && ttText) return inv.usageError("give either --zone CODE or --tt CODE, not both");
    if (ttText && inverseMode) return inv.usageError("--tt takes plane coordinates; --inverse does not apply");
    if (!zoneText && !ttText) return inv.usageError("give --zone CODE, --tt CODE or --list (see --help)");

    const std::optional<LengthUnit> unit = chosenUnit(inv, {kMetre, kUsSurveyFoot, kInternationalFoot});
    if (!unit) return kExitUsage;

    init83ZoneConstants();
    const std::string& codeText = zoneText ? *zoneText : *ttText;
    zoneCnstnt zone{};
    const std::optional<int> code = parseZoneCode(codeText);
    if (!code || *code == 0 || initSPC83Zone(*code, &zone) != 0) {
        return inv.usageError("unknown state plane 1983 zone '" + codeText + "' (see --list)");
    }

    if (ttText) {
        const Column n{"northing", Quantity::Length, 4, false}, e{"easting", Quantity::Length, 4, false};
        return convertLines(inv, {{n, e, n, e, n, e},
                                  {{"correction", Quantity::ArcSeconds, 4, false}},
                                  [&](const Values& in, std::vector<double>& out) { return arcToChord(in, zone, *unit, out); }});
    }
    if (inverseMode) {
        return convertLines(inv, {{kNorthing, kEasting}, {kLatitude, kLongitude, kScale, kConvergence},
                                  inBatches(inverseSteps(zone, *unit))});
    }
    return convertLines(inv, {{kLatitude, kLongitude}, {kNorthing, kEasting, kScale, kConvergence},
                              inBatches(forwardSteps(zone, *unit))});
}

const Command kCommand{
    "spc83",
    "geographic <-> state plane 1983 (metres or feet)",
    50,
    {"spc83 --zone CODE [--inverse] [--units UNIT] [--input FILE]", "spc83 --tt CODE [--units UNIT] [--input FILE]",
     "spc83 --list"},
    "Converts geographic coordinates (NAD 83) to state plane 1983 coordinates of a zone,\n"
    "or back with --inverse, and computes arc-to-chord corrections with --tt. One point\n"
    "per line from standard input or --input FILE (the input format: kelvane --help).\n"
    "\n"
    "  input (forward):  lat lon            degrees, north and east positive\n"
    "  output:           northing easting scale convergence\n"
    "  input (inverse):  northing easting   metres (or --units)\n"
    "  output:           lat lon scale convergence\n"
    "  input (--tt):     Ns Es Nb Eb Nf Ef  metres (or --units): station, backsight, foresight\n"
    "  output:           the arc-to-chord correction (t - T) of the angle at the station\n"
    "                    from backsight to foresight, arc-seconds\n"
    "\n"
    "Lengths to 4 decimals (0.1 mm), degrees and scale to 10 decimals, corrections to\n"
    "0.0001 arc-second. The convergence is the grid convergence in degrees, positive where\n"
    "true north lies west of grid north (east of a Transverse Mercator or Lambert zone's\n"
    "central meridian). The correction is that of the line to the foresight less that of\n"
    "the line to the backsight; add it to the observed angle to get the grid angle.\n",
    {{"--zone", "CODE", "zone code, four digits as published (0101 or 101; see --list)"},
     {"--inverse", nullptr, "northing easting -> lat lon"},
     {"--tt", "CODE", "arc-to-chord corrections in zone CODE"},
     {"--units", "UNIT",
      "unit of northings and eastings, in and out: m (metres, the default),\n"
      "us-ft (US survey foot, 1200/3937 m) or ft (international foot, 0.3048 m)"}},
    "Refused lines (reported on stderr with their line number; the rest are converted and\n"
    "the exit status is 1): latitudes outside -90..90, points of a Transverse Mercator zone\n"
    "more than 5 degrees of longitude from its central meridian (where the series is no\n"
    "longer good to half a millimetre), and plane coordinates that lie on no point of the\n"
    "ellipsoid. Longitudes may be given in any turn (e.g. 0..360): the one nearest the\n"
    "zone's central meridian is used, and the inverse writes longitudes in -180..180.\n",
    {"echo '33.5 -86.5' | kelvane spc83 --zone 0102",
     "echo '41 -111.5' | kelvane spc83 --zone 4301 --units us-ft"},
    Input::Points,
    run,
    false,
    listZones,
    "print the 124 zone codes and names, then stop",
};

const Registration kRegistration(kCommand);

} // namespace

} // namespace kelvane::cli
