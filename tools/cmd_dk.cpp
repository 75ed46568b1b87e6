// kelvane dk: WGS84 <-> the Danish grids (System 34 Jylland and Sjaelland, System 45
// Bornholm, UTM zone 32 on ED50), one point per line.
#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "cli.h"
#include "points.h"
#include "kelvane/kelvane.h"

namespace kelvane::cli {

namespace {

using Forward = int (*)(double, double, double, double*, double*, double*);
using Inverse = int (*)(double, double, double, double*, double*, double*);

struct DanishSystem {
    const char* name;   // as --system takes it
    const char* letter; // the short form
    const char* title;  // for messages
    bool local;         // a local grid (x north, y west) rather than UTM
    Forward forward;
    Inverse inverse;
};

const DanishSystem kSystems[] = {
    {"jylland", "j", "System 34 Jylland", true, latlongWGS84ToXYSys34Jylland, XYSys34Jylland2latlongWGS84},
    {"sjaelland", "s", "System 34 Sjaelland", true, latlongWGS84ToXYSys34Sjlland, XYSys34Sjlland2latlongWGS84},
    {"bornholm", "b", "System 45 Bornholm", true, latlongWGS84ToXYSys45Bornholm, XYSys34Bornholm2latlongWGS84},
    {"utm32ed50", "u", "UTM zone 32 / ED50", false, latlongWGS84ToXYSys34UTM32ED50,
     XYSys34UTM32ED502latlongWGS84},
};

const DanishSystem* findSystem(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    if (text == "sjælland") text = "sjaelland";
    for (const DanishSystem& s : kSystems) {
        if (text == s.name || text == s.letter) return &s;
    }
    return nullptr;
}

// The words for a refusal of the library.
std::string refusal(int status, const DanishSystem& s)
{
    switch (status) {
    case -1: return std::string("outside the polygon of ") + s.title;
    case -2: return std::string("back-transformation check failed (") + s.title + ")";
    case -3: return std::string("outside the validity area of ") + s.title;
    default: return "cannot be converted (status " + std::to_string(status) + ")";
    }
}

const Column kX{"x", Quantity::Length, 4, false};
const Column kY{"y", Quantity::Length, 4, false};
const Column kHeight{"height", Quantity::Length, 4, false};

int run(const Invocation& inv)
{
    const std::optional<std::string> systemText = inv.value("--system");
    if (!systemText) return inv.usageError("give --system jylland|sjaelland|bornholm|utm32ed50");
    const DanishSystem* s = findSystem(*systemText);
    if (!s) return inv.usageError("unknown --system '" + *systemText + "' (jylland, sjaelland, bornholm, utm32ed50)");

    // Local grids: x (north), y (west); UTM: northing, easting. The library's exports take
    // and give them the other way round (y, x / easting, northing).
    const std::vector<Column> grid = s->local ? std::vector<Column>{kX, kY, kHeight}
                                              : std::vector<Column>{kNorthing, kEasting, kHeight};
    if (inv.flag("--inverse")) {
        return convertLines(inv, {grid, {kLatitude, kLongitude, kHeight},
                                  [s](const Values& in, std::vector<double>& out) -> std::optional<std::string> {
                                      double lat, lon, h;
                                      const int status = s->inverse(in[1], in[0], in[2], &lat, &lon, &h);
                                      if (status != 0) return refusal(status, *s);
                                      out = {radToDeg(lat), radToDeg(lon), h};
                                      return std::nullopt;
                                  }});
    }
    return convertLines(inv, {{kLatitude, kLongitude, kHeight}, grid,
                              [s](const Values& in, std::vector<double>& out) -> std::optional<std::string> {
                                  double second, first, h;
                                  const int status = s->forward(degToRad(in[0]), degToRad(in[1]), in[2], &second,
                                                                &first, &h);
                                  if (status != 0) return refusal(status, *s);
                                  out = {first, second, h};
                                  return std::nullopt;
                              }});
}

const Command kCommand{
    "dk",
    "WGS84 <-> Danish System 34 / 45 grids and UTM 32 on ED50",
    101,
    {"dk --system NAME [--inverse] [--input FILE]"},
    "Converts WGS84 geographic coordinates to a Danish grid, or back with --inverse:\n"
    "a seven-parameter shift to ED50 and UTM zone 32, then the grid's polynomial\n"
    "transformation, checked by transforming back. One point per line from standard\n"
    "input or --input FILE; fields separated by blanks, tabs or commas.\n"
    "\n"
    "  input (forward):  lat lon height      degrees (north, east positive), metres (WGS84)\n"
    "  output:           x y height          local grid (x grows north, y grows west),\n"
    "                                        ED50 ellipsoidal height\n"
    "                    northing easting height   for utm32ed50\n"
    "  input (inverse):  the forward's output, in the same order\n"
    "  output:           lat lon height      WGS84\n",
    {{"--system", "NAME",
      "jylland (System 34 Jylland), sjaelland (System 34 Sjaelland),\n"
      "bornholm (System 45 Bornholm) or utm32ed50 (UTM zone 32 on ED50,\n"
      "corrected); the first letter alone will do."},
     {"--inverse", nullptr, "grid -> WGS84"}},
    "Refused lines (reported on stderr with their line number; the rest are converted and\n"
    "the exit status is 1): \"outside the validity area\" (the grid's rectangle),\n"
    "\"outside the polygon\" (the area where the grid's polynomials hold) and\n"
    "\"back-transformation check failed\" (transforming back misses the point by more\n"
    "than 0.04 m). utm32ed50 refuses nothing: outside the corrected area it gives plain\n"
    "UTM zone 32 / ED50 coordinates.\n",
    {"echo '56.2 9.5 40' | kelvane dk --system jylland",
     "echo '6208000 562000 0' | kelvane dk --system utm32ed50 --inverse"},
    Input::Points,
    run,
};

const Registration kRegistration(kCommand);

} // namespace

} // namespace kelvane::cli
