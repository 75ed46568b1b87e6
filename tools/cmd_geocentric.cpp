// kelvane ecef: geographic <-> Earth-centred Cartesian coordinates; kelvane enu:
// geocentric differences <-> local east/north/up. One point per line.
#include <cmath>
#include <initializer_list>
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"
#include "commands.h"
#include "kelvane/kelvane.h"

namespace kelvane::cli {

namespace {

const char* const kEcefHelp =
    "usage: kelvane ecef [--inverse] [--ellipsoid NAME] [--input FILE]\n"
    "\n"
    "Converts geographic coordinates to Earth-centred, Earth-fixed Cartesian coordinates,\n"
    "or back with --inverse. One point per line from standard input or --input FILE;\n"
    "fields separated by blanks, tabs or commas; blank lines and '#' lines are skipped.\n"
    "\n"
    "  input (forward):  lat lon h    decimal degrees (north, east positive), metres\n"
    "  output:           X Y Z        metres\n"
    "  input (inverse):  X Y Z        metres\n"
    "  output:           lat lon h\n"
    "\n"
    "X points to latitude 0, longitude 0; Y to longitude 90 E; Z to the north pole.\n"
    "Metres to 0.1 mm (4 decimals), degrees to 10 decimals; longitudes come out in\n"
    "-180..180 (180 itself as 180). On the polar axis the inverse gives latitude +90 or\n"
    "-90, longitude 0 and the height above (or below) the pole.\n"
    "\n"
    "options:\n"
    "  --inverse        X Y Z -> lat lon h\n"
    "  --ellipsoid NAME grs80 (default), wgs84, intl1924 or clarke1866\n"
    "  --input FILE     read FILE instead of standard input\n"
    "  --help           this text\n"
    "\n"
    "Refused lines (reported on stderr with their line number; the rest are converted and\n"
    "the exit status is 1): latitudes outside -90..90, results beyond 1e12 m, and for\n"
    "the inverse points less than 100 km from the Earth's centre, where latitude and\n"
    "height are not defined well.\n";

const char* const kEnuHelp =
    "usage: kelvane enu --origin LAT,LON [--inverse] [--input FILE]\n"
    "\n"
    "Rotates geocentric coordinate differences into the local east/north/up frame at the\n"
    "origin, or back with --inverse. One vector per line from standard input or\n"
    "--input FILE; fields separated by blanks, tabs or commas.\n"
    "\n"
    "  input:            dX dY dZ            metres (e.g. X Y Z of a point minus the origin's)\n"
    "  output:           east north up       metres\n"
    "  input (inverse):  east north up\n"
    "  output:           dX dY dZ\n"
    "\n"
    "'up' follows the ellipsoid normal at the origin (geodetic latitude), so the frame\n"
    "does not depend on the ellipsoid's size. Metres to 0.1 mm (4 decimals).\n"
    "\n"
    "options:\n"
    "  --origin LAT,LON  the frame's origin, decimal degrees, north and east positive\n"
    "  --inverse         east north up -> dX dY dZ\n"
    "  --input FILE      read FILE instead of standard input\n"
    "  --help            this text\n";

// Closer to the centre than this the latitude-height iteration need not settle.
constexpr double kMinDistanceFromCentre = 100000.0;

std::string degrees(double v) { return signedFixed(v, 10); }
std::string metres(double v) { return signedFixed(v, 4); }

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

std::optional<std::string> writeTriple(std::ostream& out, double a, double b, double c)
{
    if (auto problem = lengthsInRange({a, b, c})) return problem;
    out << metres(a) << ' ' << metres(b) << ' ' << metres(c) << '\n';
    return std::nullopt;
}

std::optional<std::string> forwardLine(const std::vector<std::string>& fields, const ellipsoid& ell,
                                       std::ostream& out)
{
    std::vector<double> v;
    if (auto problem = parseNumbers(fields, 3, v)) return problem;
    if (v[0] < -90.0 || v[0] > 90.0) return "latitude " + fields[0] + " is outside -90..90";
    geodCoord p{};
    p.lat = degToRad(v[0]);
    p.lon = degToRad(std::remainder(v[1], 360.0));
    p.elev = v[2];
    latLongElev2XYZ_EC(ell, &p);
    return writeTriple(out, p.easting, p.northing, p.elev);
}

std::optional<std::string> inverseLine(const std::vector<std::string>& fields, const ellipsoid& ell,
                                       std::ostream& out)
{
    std::vector<double> v;
    if (auto problem = parseNumbers(fields, 3, v)) return problem;
    const double r = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!(r >= kMinDistanceFromCentre)) {
        return "point lies " + fixed(r / 1000.0, 3) + " km from the Earth's centre (at least " +
               fixed(kMinDistanceFromCentre / 1000.0, 0) + " km needed)";
    }
    geodCoord p{};
    p.easting = v[0];
    p.northing = v[1];
    p.elev = v[2];
    XYZ_EC2latLongElev(ell, &p);
    if (auto problem = lengthsInRange({p.elev})) return problem;
    out << degrees(radToDeg(p.lat)) << ' ' << degrees(radToDeg(p.lon)) << ' ' << metres(p.elev) << '\n';
    return std::nullopt;
}

} // namespace

int runEcef(int argc, char** argv)
{
    Args args(argc, argv);
    const std::string& cmd = args.command();
    if (args.help()) {
        std::cout << kEcefHelp;
        return kExitOk;
    }
    const bool inverse = args.flag("--inverse");
    const std::optional<std::string> input = args.value("--input");
    const std::optional<std::string> ellipsoidName = args.value("--ellipsoid");
    if (!args.finish()) return kExitUsage;

    const NamedEllipsoid* chosen = findEllipsoid(ellipsoidName.value_or("grs80"));
    if (!chosen) return usageError(cmd, "unknown ellipsoid '" + *ellipsoidName + "' (" + ellipsoidNames() + ")");
    ellipsoid ell{};
    initEllipsoid(&ell, chosen->semiMajor, chosen->flattening);

    return processLines(cmd, input, [&](const std::vector<std::string>& fields, std::ostream& out) {
        return inverse ? inverseLine(fields, ell, out) : forwardLine(fields, ell, out);
    });
}

int runEnu(int argc, char** argv)
{
    Args args(argc, argv);
    const std::string& cmd = args.command();
    if (args.help()) {
        std::cout << kEnuHelp;
        return kExitOk;
    }
    const bool inverse = args.flag("--inverse");
    const std::optional<std::string> input = args.value("--input");
    const std::optional<std::string> originText = args.value("--origin");
    if (!args.finish()) return kExitUsage;
    if (!originText) return usageError(cmd, "give the frame's origin as --origin LAT,LON (see --help)");

    std::vector<double> origin;
    if (parseNumbers(splitFields(*originText), 2, origin) || origin[0] < -90.0 || origin[0] > 90.0) {
        return usageError(cmd, "--origin must be LAT,LON in decimal degrees with LAT in -90..90, not '" +
                                   *originText + "'");
    }
    const double phi = degToRad(origin[0]);
    const double lambda = degToRad(origin[1]);

    return processLines(cmd, input, [&](const std::vector<std::string>& fields, std::ostream& out) {
        std::vector<double> v;
        if (auto problem = parseNumbers(fields, 3, v)) return problem;
        double a, b, c;
        if (inverse) {
            localGeodeticToLocal(phi, lambda, v[0], v[1], v[2], &a, &b, &c);
        } else {
            localToLocalGeodetic(phi, lambda, v[0], v[1], v[2], &a, &b, &c);
        }
        return writeTriple(out, a, b, c);
    });
}

} // namespace kelvane::cli
