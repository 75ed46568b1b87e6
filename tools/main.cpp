// kelvane: converts coordinates from the command line, one point per input line.
#include <cstring>
#include <iostream>

#include "commands.h"
#include "kelvane/version.h"

namespace {

struct Subcommand {
    const char* name;
    int (*run)(int, char**);
    const char* summary;
};

const Subcommand kSubcommands[] = {
    {"utm", kelvane::cli::runUtm, "geographic <-> UTM grid coordinates (120 zones)"},
    {"spc83", kelvane::cli::runSpc83, "geographic <-> state plane 1983 (metres)"},
    {"spc27", kelvane::cli::runSpc27, "geographic <-> state plane 1927 (US survey feet)"},
    {"ecef", kelvane::cli::runEcef, "geographic <-> Earth-centred Cartesian X Y Z"},
    {"enu", kelvane::cli::runEnu, "geocentric differences -> local east/north/up"},
    {"helmert", kelvane::cli::runHelmert, "fit or apply 4-/7-parameter 3D similarity transformations"},
    {"geoid", kelvane::cli::runGeoid, "geoid heights from the 39 geoid models' grid files"},
    {"grid", kelvane::cli::runGrid, "convert published geoid grids into the library's text format"},
};

void printUsage(std::ostream& os)
{
    os << "usage: kelvane <command> [options]   (kelvane <command> --help for details)\n"
          "       kelvane --version\n"
          "\n"
          "Reads one point per line from standard input (or --input FILE), writes one result\n"
          "per line. Angles are decimal degrees, longitudes positive east, lengths metres\n"
          "(US survey feet for spc27). Blank lines and lines starting with '#' are skipped.\n"
          "\n"
          "commands:\n";
    for (const auto& s : kSubcommands) {
        os << "  " << s.name << std::string(10 - std::strlen(s.name), ' ') << s.summary << '\n';
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        printUsage(std::cerr);
        return 2;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        std::strcmp(argv[1], "help") == 0) {
        printUsage(std::cout);
        return 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::cout << "kelvane " << KELVANE_VERSION << '\n';
        return 0;
    }
    for (const auto& s : kSubcommands) {
        if (std::strcmp(argv[1], s.name) == 0) return s.run(argc - 1, argv + 1);
    }
    std::cerr << "kelvane: unknown command '" << argv[1] << "'\n\n";
    printUsage(std::cerr);
    return 2;
}
