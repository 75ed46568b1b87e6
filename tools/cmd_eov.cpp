// kelvane eov: WGS84 <-> the Hungarian EOV grid, one point per line.
#include <iomanip>
#include <iostream>
#include <sstream>
#include <optional>
#include <string>
#include <vector>

#include "cli.h"
#include "points.h"
#include "kelvane/kelvane.h"

namespace kelvane::cli {

namespace {

// The shift WGS84 -> HD72 used when --shift is not given: EPSG transformation 1448
// "HD72 to WGS 84 (3)" negated (m, arc-seconds, ppm).
constexpr double kDefaultShift[7] = {-52.684, 71.194, 13.975, -0.312, -0.1063, -0.3729, -1.0191};

// Seven numbers separated by commas (blanks allowed), or "zero".
std::optional<std::vector<double>> parseShift(const std::string& text)
{
    if (text == "zero") return std::vector<double>(7, 0.0);
    std::vector<double> v;
    if (parseNumbers(splitFields(text), 7, v)) return std::nullopt;
    return v;
}

// The seven numbers as --shift takes them, each in its shortest form.
std::string describe(const std::vector<double>& s)
{
    std::ostringstream text;
    text << std::setprecision(12);
    for (std::size_t i = 0; i < s.size(); ++i) text << (i ? "," : "") << s[i];
    return text.str();
}

const Column kEovY{"Y", Quantity::Length, 4, false};
const Column kEovX{"X", Quantity::Length, 4, false};
const Column kHeight{"height", Quantity::Length, 4, false};

const char* const kRefused =
    "cannot be converted (beyond 90 degrees of longitude, or the shift parameters are absurd)";

int run(const Invocation& inv)
{
    std::vector<double> s(kDefaultShift, kDefaultShift + 7);
    if (const std::optional<std::string> text = inv.value("--shift")) {
        const std::optional<std::vector<double>> parsed = parseShift(*text);
        if (!parsed) return inv.usageError("--shift takes seven numbers dx,dy,dz,rx,ry,rz,ds or 'zero', not '" + *text + "'");
        s = *parsed;
    } else {
        std::cerr << "kelvane eov: shift WGS84 -> HD72 (EPSG 1448 negated): " << describe(s) << '\n';
    }

    if (inv.flag("--inverse")) {
        return convertLines(inv, {{kEovY, kEovX, kHeight}, {kLatitude, kLongitude, kHeight},
                                  [s](const Values& in, std::vector<double>& out) -> std::optional<std::string> {
                                      double lat, lon, h;
                                      if (EOV_XYToLatLongWGS84(in[0], in[1], in[2], s[0], s[1], s[2], s[3], s[4], s[5],
                                                               s[6], &lat, &lon, &h) != 0)
                                          return std::string(kRefused);
                                      out = {radToDeg(lat), radToDeg(lon), h};
                                      return std::nullopt;
                                  }});
    }
    return convertLines(inv, {{kLatitude, kLongitude, kHeight}, {kEovY, kEovX, kHeight},
                              [s](const Values& in, std::vector<double>& out) -> std::optional<std::string> {
                                  double y, x, h;
                                  if (latLongWGS84ToXY_EOV(degToRad(in[0]), degToRad(in[1]), in[2], s[0], s[1], s[2],
                                                           s[3], s[4], s[5], s[6], &y, &x, &h) != 0)
                                      return std::string(kRefused);
                                  out = {y, x, h};
                                  return std::nullopt;
                              }});
}

const Command kCommand{
    "eov",
    "WGS84 <-> Hungarian EOV grid (HD72)",
    102,
    {"eov [--inverse] [--shift dx,dy,dz,rx,ry,rz,ds] [--input FILE]"},
    "Converts WGS84 geographic coordinates to the Hungarian national grid EOV, or back\n"
    "with --inverse: a seven-parameter shift from WGS84 to HD72 (IUGG 1967 ellipsoid),\n"
    "then the oblique cylindrical projection of the Gauss sphere. One point per line from\n"
    "standard input or --input FILE; fields separated by blanks, tabs or commas.\n"
    "\n"
    "  input (forward):  lat lon height   degrees (north, east positive), metres (WGS84)\n"
    "  output:           Y X height       EOV easting (about 650000 at the centre),\n"
    "                                     northing (about 200000), HD72 height\n"
    "  input (inverse):  Y X height\n"
    "  output:           lat lon height   WGS84\n",
    {{"--shift", "LIST",
      "the shift FROM WGS84 TO HD72 as seven numbers: dx,dy,dz (m),\n"
      "rx,ry,rz (arc-seconds, coordinate frame), ds (ppm); the same seven\n"
      "serve --inverse. 'zero' for none. Default: EPSG 1448 \"HD72 to WGS 84 (3)\"\n"
      "negated, -52.684,71.194,13.975,-0.312,-0.1063,-0.3729,-1.0191, which the\n"
      "command names on stderr whenever it is used."},
     {"--inverse", nullptr, "Y X height -> lat lon height"}},
    "Refused lines (reported on stderr with their line number; the rest are converted and\n"
    "the exit status is 1): points more than 90 degrees of longitude from Greenwich and\n"
    "results that are not finite numbers (absurd shift parameters).\n",
    {"echo '47.5 19.05 150' | kelvane eov", "echo '650000 200000 0' | kelvane eov --inverse --shift zero"},
    Input::Points,
    run,
};

const Registration kRegistration(kCommand);

} // namespace

} // namespace kelvane::cli
