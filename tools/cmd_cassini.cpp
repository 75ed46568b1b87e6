// kelvane cassini: geographic <-> Cassini-Soldner grid, parameters on the command line.
#include <cmath>
#include <string>
#include <vector>

#include "cli.h"
#include "points.h"
#include "kelvane/kelvane.h"

namespace kelvane::cli {

namespace {

// The meaning of every bit set in an error word, in words, "; "-separated.
std::string meaning(int word)
{
    static const struct { int bit; const char* text; } kBits[] = {
        {kvCassiniLatitudeRange, "latitude outside -90..90"},
        {kvCassiniLongitudeRange, "longitude outside -180..360"},
        {kvCassiniEastingRange, "easting outside the grid limits"},
        {kvCassiniNorthingRange, "northing outside the grid limits"},
        {kvCassiniOriginLatRange, "origin latitude outside -90..90"},
        {kvCassiniCentralMeridianRange, "central meridian outside -180..360"},
        {kvCassiniSemiMajorAxis, "semi-major axis not greater than 0"},
        {kvCassiniFlattening, "inverse flattening outside 250..350"},
        {kvCassiniFarFromMeridian, "point more than 4 degrees of longitude from the central meridian"},
        {kvCassiniBadArgument, "false easting or northing not a finite number"},
    };
    std::string text;
    for (const auto& b : kBits) {
        if (word & b.bit) text += (text.empty() ? "" : "; ") + std::string(b.text);
    }
    return text;
}

// The word of one conversion: a failure for any bit but the warning, which is reported
// as a warning with the result written.
std::optional<std::string> outcome(int word)
{
    if (word & ~kvCassiniFarFromMeridian) return meaning(word & ~kvCassiniFarFromMeridian);
    if (word != 0) warnLine(meaning(word) + "; the result is less accurate");
    return std::nullopt;
}

int run(const Invocation& inv)
{
    const std::optional<ellipsoid> ell = chosenEllipsoid(inv);
    if (!ell) return kExitUsage;
    if (!inv.value("--lat0") || !inv.value("--lon0")) return inv.usageError("give --lat0 and --lon0 (see --help)");
    const auto lat0 = numberOption(inv, "--lat0", 0.0);
    const auto lon0 = numberOption(inv, "--lon0", 0.0);
    const auto fe = numberOption(inv, "--false-easting", 0.0);
    const auto fn = numberOption(inv, "--false-northing", 0.0);
    if (!lat0 || !lon0 || !fe || !fn) return kExitUsage;

    zoneCnstntCassini zone{};
    zone.ell = *ell;
    zone.originLat = degToRad(*lat0);
    zone.centralMeridian = degToRad(*lon0);
    zone.falseEasting = *fe;
    zone.falseNorthing = *fn;
    const int word = cassiniSetup(zone.ell.semiMajor, zone.ell.flattening, zone.originLat, zone.centralMeridian,
                                  zone.falseEasting, zone.falseNorthing);
    if (word != 0) return inv.usageError("the parameters are refused: " + meaning(word));

    if (inv.flag("--inverse")) {
        return convertLines(inv, {{kNorthing, kEasting}, {kLatitude, kLongitude},
                                  [&](const Values& in, std::vector<double>& out) {
                                      geodCoord p{};
                                      p.northing = in[0];
                                      p.easting = in[1];
                                      const int w = XY2latLong2_CassiniSoldner(&zone, &p);
                                      if (w & ~kvCassiniFarFromMeridian) return outcome(w);
                                      out = {radToDeg(p.lat), radToDeg(p.lon)};
                                      return outcome(w);
                                  }});
    }
    return convertLines(inv, {{kLatitude, kLongitude}, {kNorthing, kEasting},
                              [&](const Values& in, std::vector<double>& out) {
                                  geodCoord p{};
                                  p.lat = degToRad(in[0]);
                                  // Folded into -180..180 here, so that a longitude written as
                                  // 0..360 is judged by its distance from the central meridian.
                                  p.lon = degToRad(nearestTurn(in[1], 0.0));
                                  const int w = latLong2XY_CassiniSoldner(&zone, &p);
                                  if (w & ~kvCassiniFarFromMeridian) return outcome(w);
                                  out = {p.northing, p.easting};
                                  return outcome(w);
                              }});
}

const Command kCommand{
    "cassini",
    "geographic <-> Cassini-Soldner grid (origin and false origin as options)",
    104,
    {"cassini --lat0 DEG --lon0 DEG [--false-easting M] [--false-northing M] [--ellipsoid NAME]\n"
     "        [--inverse] [--input FILE]"},
    "Converts geographic coordinates to a Cassini-Soldner grid, or back with --inverse, in\n"
    "the series form of the USGS map projection manual.\n"
    "\n"
    "  input (forward):  lat lon            decimal degrees, north and east positive\n"
    "  output:           northing easting   in the unit of the ellipsoid (metres)\n"
    "  input (inverse):  northing easting\n"
    "  output:           lat lon\n"
    "\n"
    "Metres to 0.1 mm, degrees to 10 decimals. The series is good to a few millimetres\n"
    "within 3 degrees of longitude of the central meridian (2 cm at 60 N) and 5 cm at 4.\n",
    {{"--lat0", "DEG", "latitude of the origin"},
     {"--lon0", "DEG", "central meridian, east positive (-180..360)"},
     {"--false-easting", "M", "false easting (0)"},
     {"--false-northing", "M", "false northing (0)"},
     {"--inverse", nullptr, "northing easting -> lat lon"},
     kEllipsoidOption},
    "A point more than 4 degrees of longitude from the central meridian is converted and\n"
    "reported on stderr as a warning with its line number; it does not fail the run.\n"
    "Refused lines (reported on stderr with their line number and the reasons in words;\n"
    "the rest are converted and the exit status is 1): latitudes outside -90..90, and\n"
    "grid coordinates outside the grid's limits (half a world east and west, to 31\n"
    "degrees of latitude half a world away north and south).\n",
    {"echo '43 -73' | kelvane cassini --lat0 40 --lon0 -75 --ellipsoid clarke1866",
     "echo '335127.5876 163071.1279' | kelvane cassini --lat0 40 --lon0 -75 --ellipsoid clarke1866 --inverse"},
    Input::Points,
    run,
};

const Registration kRegistration(kCommand);

} // namespace

} // namespace kelvane::cli
