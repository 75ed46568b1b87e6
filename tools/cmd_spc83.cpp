// kelvane spc83: geographic <-> state plane 1983 coordinates, and arc-to-chord corrections
// of observed angles, one point (or one angle) per line.
#include <cctype>
#include <cmath>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "commands.h"
#include "kelvane/kelvane.h"

namespace kelvane::cli {

namespace {

const char* const kSpc83Help =
    "usage: kelvane spc83 --zone CODE [--inverse] [--input FILE]\n"
    "       kelvane spc83 --tt CODE [--input FILE]\n"
    "       kelvane spc83 --list\n"
    "\n"
    "Converts geographic coordinates (NAD 83) to state plane 1983 coordinates of a zone,\n"
    "or back with --inverse, and computes arc-to-chord corrections with --tt. One point\n"
    "per line from standard input or --input FILE; fields separated by blanks, tabs or\n"
    "commas; blank lines and '#' lines are skipped.\n"
    "\n"
    "  input (forward):  lat lon            decimal degrees, north and east positive\n"
    "  output:           northing easting scale convergence\n"
    "  input (inverse):  northing easting   metres\n"
    "  output:           lat lon scale convergence\n"
    "  input (--tt):     Ns Es Nb Eb Nf Ef  metres: station, backsight, foresight\n"
    "  output:           the arc-to-chord correction (t - T) of the angle at the station\n"
    "                    from backsight to foresight, arc-seconds\n"
    "\n"
    "Metres to 0.1 mm (4 decimals), degrees and scale to 10 decimals, corrections to\n"
    "0.0001 arc-second. The convergence is the grid convergence in degrees, positive where\n"
    "true north lies west of grid north (east of a Transverse Mercator or Lambert zone's\n"
    "central meridian). The correction is that of the line to the foresight less that of\n"
    "the line to the backsight; add it to the observed angle to get the grid angle.\n"
    "\n"
    "options:\n"
    "  --zone CODE      zone code, four digits as published (0101 or 101; see --list)\n"
    "  --inverse        northing easting -> lat lon\n"
    "  --tt CODE        arc-to-chord corrections in zone CODE\n"
    "  --list           print the 124 zone codes and names, then stop\n"
    "  --input FILE     read FILE instead of standard input\n"
    "  --help           this text\n"
    "\n"
    "Refused lines (reported on stderr with their line number; the rest are converted and\n"
    "the exit status is 1): latitudes outside -90..90, points of a Transverse Mercator zone\n"
    "more than 5 degrees of longitude from its central meridian (where the series is no\n"
    "longer good to half a millimetre), and plane coordinates that lie on no point of the\n"
    "ellipsoid. Longitudes may be given in any turn (e.g. 0..360): the one nearest the\n"
    "zone's central meridian is used, and the inverse writes longitudes in -180..180.\n";

// Farthest a point of a Transverse Mercator zone may lie from its central meridian.
constexpr double kMaxTmOffsetDeg = 5.0;

// Degrees to 10 decimals, without a minus sign on a value that prints as zero.
std::string degrees(double v) { return signedFixed(v, 10); }

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

std::optional<std::string> forwardLine(const std::vector<std::string>& fields, const zoneCnstnt& zone,
                                       std::ostream& out)
{
    std::vector<double> v;
    if (auto problem = parseNumbers(fields, 2, v)) return problem;
    if (v[0] < -90.0 || v[0] > 90.0) return "latitude " + fields[0] + " is outside -90..90";
    const double lonDeg = nearestTurn(v[1], centreLongitudeEast(zone));
    if (auto problem = tooFarFromMeridian(zone, lonDeg)) return problem;

    geodCoord p{};
    p.lat = degToRad(v[0]);
    p.lon = degToRad(lonDeg);
    SPC83Geod2Grid(zone.zoneCode, &p);
    if (!std::isfinite(p.northing) || !std::isfinite(p.easting)) {
        return "the point has no plane coordinates in zone " + std::to_string(zone.zoneCode);
    }
    out << fixed(p.northing, 4) << ' ' << fixed(p.easting, 4) << ' ' << fixed(p.gridScale, 10) << ' '
        << degrees(radToDeg(p.convergence)) << '\n';
    return std::nullopt;
}

std::optional<std::string> inverseLine(const std::vector<std::string>& fields, const zoneCnstnt& zone,
                                       std::ostream& out)
{
    std::vector<double> v;
    if (auto problem = parseNumbers(fields, 2, v)) return problem;
    geodCoord p{};
    p.northing = v[0];
    p.easting = v[1];
    SPC83Grid2Geod(zone.zoneCode, &p);
    const double latDeg = radToDeg(p.lat);
    const double lonDeg = radToDeg(p.lon);
    if (!std::isfinite(latDeg) || !std::isfinite(lonDeg) || std::fabs(latDeg) > 90.0) {
        return "northing " + fields[0] + ", easting " + fields[1] + " lie on no point of the ellipsoid in zone " +
               std::to_string(zone.zoneCode);
    }
    if (auto problem = tooFarFromMeridian(zone, lonDeg)) return problem;
    out << degrees(latDeg) << ' ' << degrees(nearestTurn(lonDeg, 0.0)) << ' ' << fixed(p.gridScale, 10) << ' '
        << degrees(radToDeg(p.convergence)) << '\n';
    return std::nullopt;
}

std::optional<std::string> arcToChordLine(const std::vector<std::string>& fields, const zoneCnstnt& zone,
                                          std::ostream& out)
{
    std::vector<double> v;
    if (auto problem = parseNumbers(fields, 6, v)) return problem;
    double tT = 0.0;
    // Input is northing, easting per point; the library takes easting first.
    computeSPC83TmT(zone.zoneCode, v[1], v[0], v[3], v[2], v[5], v[4], &tT);
    if (!std::isfinite(tT)) return "the points lie on no part of the ellipsoid in zone " + std::to_string(zone.zoneCode);
    out << fixed(radToDeg(tT) * 3600.0, 4) << '\n';
    return std::nullopt;
}

int listZones()
{
    std::vector<char> buf(4096);
    SPC83GetZoneLstS(buf.data(), static_cast<int>(buf.size()));
    std::cout << buf.data();
    return kExitOk;
}

} // namespace

int runSpc83(int argc, char** argv)
{
    Args args(argc, argv);
    const std::string& cmd = args.command();
    if (args.help()) {
        std::cout << kSpc83Help;
        return kExitOk;
    }
    const bool list = args.flag("--list");
    const bool inverse = args.flag("--inverse");
    const std::optional<std::string> zoneText = args.value("--zone");
    const std::optional<std::string> ttText = args.value("--tt");
    const std::optional<std::string> input = args.value("--input");
    if (!args.finish()) return kExitUsage;
    if (list) return listZones();

    if (zoneText && ttText) return usageError(cmd, "give either --zone CODE or --tt CODE, not both");
    if (ttText && inverse) return usageError(cmd, "--tt takes plane coordinates; --inverse does not apply");
    if (!zoneText && !ttText) return usageError(cmd, "give --zone CODE, --tt CODE or --list (see --help)");

    init83ZoneConstants();
    const std::string& codeText = zoneText ? *zoneText : *ttText;
    zoneCnstnt zone{};
    const std::optional<int> code = parseZoneCode(codeText);
    if (!code || *code == 0 || initSPC83Zone(*code, &zone) != 0) {
        return usageError(cmd, "unknown state plane 1983 zone '" + codeText + "' (see --list)");
    }

    return processLines(cmd, input, [&](const std::vector<std::string>& fields, std::ostream& out) {
        if (ttText) return arcToChordLine(fields, zone, out);
        return inverse ? inverseLine(fields, zone, out) : forwardLine(fields, zone, out);
    });
}

} // namespace kelvane::cli
