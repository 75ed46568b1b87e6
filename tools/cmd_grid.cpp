// kelvane grid: grid file utilities. "grid convert IN.gtx OUT.grd" turns a GTX geoid
// grid into the text grid file that the geoid models load.
#include "cli.h"
#include "gtx.h"

#include <iostream>

namespace kelvane::cli {

namespace {

int runConvert(const std::string& command, const std::string& in, const std::string& out, bool overlap)
{
    gtx::Summary summary;
    if (auto failure = gtx::convertGtxToGrid(in, out, &summary, overlap)) return usageError(command, *failure);
    const gtx::Header& h = summary.header;
    const gtx::Layout& l = summary.layout;
    std::cout << out << ": " << h.rows << " rows x " << l.columns << " columns, latitude " << h.south << " to "
              << h.south + (h.rows - 1) * h.latStep << ", longitude " << l.west << " to "
              << l.west + (l.columns - 1) * h.lonStep << (l.global ? " (global, rewrapped)" : "") << "\n";
    if (!summary.warning.empty()) std::cerr << "kelvane " << command << ": warning: " << summary.warning << "\n";
    return kExitOk;
}

int run(const Invocation& inv)
{
    // The overlapping columns are the default: without them the cubic cannot reach across
    // the 0/360 seam, and points there are answered a few centimetres less accurately.
    const bool strict = inv.flag("--no-overlap");
    const std::vector<std::string>& p = inv.positionals();
    if (strict && inv.flag("--overlap")) return inv.usageError("--overlap and --no-overlap exclude each other");
    if (p.empty()) {
        printHelp(inv.command(), std::cerr);
        return kExitUsage;
    }
    if (p[0] != "convert") return inv.usageError("unknown action '" + p[0] + "' (try --help)");
    if (p.size() != 3) return inv.usageError("convert takes an input GTX file and an output grid file");
    return runConvert(inv.name(), p[1], p[2], !strict);
}

const Command kCommand{
    "grid",
    "convert published geoid grids into the library's text format",
    71,
    {"grid convert IN.gtx OUT.grd"},
    "Converts a GTX geoid grid (40-byte big-endian header, then 32-bit big-endian\n"
    "floats from the south-west corner, -88.8888 for no data) into a text grid file\n"
    "for kelvane geoid. Longitudes are written east-positive: a global grid is\n"
    "rewrapped to start at 0, closed with a repeated column at 360, and given more\n"
    "columns beyond each end (west edge -step, east edge 360 + 2 x step) so that the\n"
    "16-node cubic interpolation reaches across 0/360 like anywhere else. Nodes\n"
    "without data are written as \"N\". OUT.grd is replaced only when the conversion\n"
    "succeeds. Name the file as the geoid model expects it (egm96.grd for EGM96).\n",
    {{"--no-overlap", nullptr,
      "write a global grid from exactly 0 to 360 (no extra columns); points\n"
      "in the first and last cell then get the interpolation within their\n"
      "cell, which is a few centimetres coarser"},
     {"--overlap", nullptr, "the default, accepted for scripts that name it"}},
    "",
    {"kelvane grid convert /usr/share/proj/egm96_15.gtx egm96.grd"},
    Input::None,
    run,
    true,
};

const Registration kRegistration(kCommand);

} // namespace

} // namespace kelvane::cli
