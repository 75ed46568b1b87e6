// kelvane nbstereo: geographic <-> New Brunswick stereographic grid.
#include <cmath>
#include <string>
#include <vector>

#include "cli.h"
#include "points.h"
#include "kelvane/kelvane.h"

namespace kelvane::cli {

namespace {

constexpr double kCentralMeridianDeg = -66.5;

int run(const Invocation& inv)
{
    if (inv.flag("--inverse")) {
        return convertLines(inv, {{kNorthing, kEasting}, {kLatitude, kLongitude, kScale, kConvergence},
                                  [](const Values& in, std::vector<double>& out) {
                                      geodCoord p{};
                                      p.northing = in[0];
                                      p.easting = in[1];
                                      XYToLatLong_newBrunswickStereographic(&p);
                                      if (std::isnan(p.lat)) {
                                          return std::optional<std::string>("northing " + in.text(0) + " easting " +
                                                                            in.text(1) + " has no geographic position");
                                      }
                                      out = {radToDeg(p.lat), nearestTurn(radToDeg(p.lon), 0.0), p.gridScale,
                                             radToDeg(p.convergence)};
                                      return std::optional<std::string>();
                                  }});
    }
    return convertLines(inv, {{kLatitude, kLongitude}, {kNorthing, kEasting, kScale, kConvergence},
                              [](const Values& in, std::vector<double>& out) {
                                  geodCoord p{};
                                  p.lat = degToRad(in[0]);
                                  p.lon = degToRad(nearestTurn(in[1], kCentralMeridianDeg));
                                  latLongToXY_newBrunswickStereographic(&p);
                                  if (std::isnan(p.northing)) {
                                      return std::optional<std::string>(
                                          "the point opposite the projection centre cannot be mapped");
                                  }
                                  out = {p.northing, p.easting, p.gridScale, radToDeg(p.convergence)};
                                  return std::optional<std::string>();
                              }});
}

const Command kCommand{
    "nbstereo",
    "geographic <-> New Brunswick stereographic grid",
    105,
    {"nbstereo [--inverse] [--input FILE]"},
    "Converts geographic coordinates to the New Brunswick double stereographic grid, or\n"
    "back with --inverse: GRS 80, centre 46.5 N 66.5 W, scale 0.999912 at the centre, false\n"
    "easting 2500000 m and false northing 7500000 m.\n"
    "\n"
    "  input (forward):  lat lon            decimal degrees, north and east positive\n"
    "  output:           northing easting scale convergence\n"
    "  input (inverse):  northing easting   metres\n"
    "  output:           lat lon scale convergence\n"
    "\n"
    "Metres to 0.1 mm, degrees and scale to 10 decimals. The convergence is in degrees,\n"
    "positive east of the central meridian.\n",
    {{"--inverse", nullptr, "northing easting -> lat lon"}},
    "Refused lines (reported on stderr with their line number; the rest are converted and\n"
    "the exit status is 1): latitudes outside -90..90. Longitudes may be given in any\n"
    "turn; the one nearest the central meridian is used.\n",
    {"echo '46 -66' | kelvane nbstereo", "echo '7444548.5102 2538728.8375' | kelvane nbstereo --inverse"},
    Input::Points,
    run,
};

const Registration kRegistration(kCommand);

} // namespace

} // namespace kelvane::cli
