// kelvane geoid: geoid heights from a folder of model grid files, one point per line.
#include <cctype>
#include <cstdlib>
#include <iostream>
#include <string>

#include "cli.h"
#include "points.h"
#include "kelvane/geoid.h"

namespace kelvane::cli {
namespace {

std::string modelName(int id)
{
    char name[kvGeoidNameSize];
    get_geoid_name(id, name);
    return name;
}

std::string lowered(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A model id 1..39 or a display name (case ignored); 0 when it is neither.
int parseModel(const std::string& text)
{
    char* end = nullptr;
    const long id = std::strtol(text.c_str(), &end, 10);
    if (!text.empty() && *end == '\0') {
        return id >= kvGeoidFirstModel && id <= kvGeoidLastModel ? static_cast<int>(id) : 0;
    }
    for (int m = kvGeoidFirstModel; m <= kvGeoidLastModel; ++m) {
        if (lowered(modelName(m)) == lowered(text)) return m;
    }
    return 0;
}

std::string describeFailure(int code)
{
    std::string why;
    switch (code) {
    case kvGeoidOutsideTiles: why = "the point lies in none of the model's tiles"; break;
    case kvGeoidNoFile:
        why = getGeoidLoadFailure() == kvGeoidLoadUnreadable
                  ? "the model's grid file for this point is missing, no regular file, or cannot be read"
                  : "the model's grid file for this point cannot be opened";
        break;
    case kvGeoidBadModel: why = "the model is not valid"; break;
    case kvGeoidNoMemory:
        why = getGeoidLoadFailure() == kvGeoidLoadBadHeader
                  ? "the grid file's header is invalid (cut short, bad counts, or more nodes than the file holds)"
                  : "the grid cannot be built (out of memory or scratch space)";
        break;
    case kvGeoidNoData: why = "no geoid height here (outside the grid, or no data nearby)"; break;
    default: why = "the geoid height cannot be computed"; break;
    }
    return why + " (code " + std::to_string(code) + ")";
}

int listModels()
{
    for (int m = kvGeoidFirstModel; m <= kvGeoidLastModel; ++m) {
        std::cout << (m < 10 ? " " : "") << m << "  " << modelName(m) << '\n';
    }
    return kExitOk;
}

int run(const Invocation& inv)
{
    const std::optional<std::string> dir = inv.value("--dir");
    const std::optional<std::string> model = inv.value("--model");
    if (!dir || !model) return inv.usageError("--dir and --model are required (see --help)");

    const int id = parseModel(*model);
    if (id == 0) return inv.usageError("unknown model '" + *model + "' (kelvane geoid --list names them)");
    // The library puts the folder right before each file name, so it needs the separator.
    std::string folder = *dir;
    if (folder.empty()) folder = ".";
    if (folder.back() != '/') folder += '/';
    if (folder.size() > static_cast<std::size_t>(kvGeoidMaxFolderLength)) {
        return inv.usageError("folder name longer than " + std::to_string(kvGeoidMaxFolderLength) +
                              " characters: '" + *dir + "'");
    }
    if (openGeoidGrid(folder.c_str(), id) != 0) {
        return inv.usageError("no grid file of model " + std::to_string(id) + " (" + modelName(id) +
                              ") in folder '" + folder + "'");
    }
    const int status = convertLines(inv, {{kLatitude, kLongitude},
                                          {{"N", Quantity::Length, 4, false}},
                                          [](const Values& in, std::vector<double>& out) -> std::optional<std::string> {
                                              const int code = getElevFromGeoidGrid(in[0], in[1], &out[0]);
                                              if (code != kvGeoidOk) return describeFailure(code);
                                              return std::nullopt;
                                          }});
    closeGeoidGrid();
    return status;
}

const Command kCommand{
    "geoid",
    "geoid heights from the 39 geoid models' grid files",
    70,
    {"geoid --dir DIR --model N [--input FILE]", "geoid --list"},
    "Reads 'lat lon' per line (decimal degrees, longitude positive east; a negative\n"
    "longitude is west) from FILE or stdin and prints the geoid height N (the unit of\n"
    "the grid files, metres for every published model) with 4 decimals, one per line.\n",
    {{"--dir", "DIR", "folder holding the model's .grd files (trailing '/' optional)"},
     {"--model", "N", "model id 1..39 or its name as --list prints it (e.g. 4 or EGM96)"}},
    "A point without a height (outside the model's tiles or grid, no data nearby) is\n"
    "reported on stderr with its line number and the library's return code; the other\n"
    "lines are still converted and the exit status is 1.\n",
    {"kelvane geoid --list"},
    Input::Points,
    run,
    false,
    listModels,
    "print the id and name of every model",
};

const Registration kRegistration(kCommand);

} // namespace

} // namespace kelvane::cli
