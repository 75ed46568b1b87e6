// kelvane: converts coordinates from the command line, one point per input line.
#include <cstring>
#include <iostream>
#include <string>

#include "command.h"

namespace {

using kelvane::cli::Command;

void printUsage(std::ostream& os)
{
    os << "usage: kelvane <command> [options]   (kelvane <command> --help for details)\n"
          "\n"
          "Reads one point per line from standard input (or --input FILE), writes one result\n"
          "per line. Angles are decimal degrees, longitudes positive east, lengths metres\n"
          "(US survey feet for spc27). Blank lines and lines starting with '#' are skipped.\n"
          "\n"
          "commands:\n";
    for (const Command* c : kelvane::cli::commands()) {
        const std::size_t n = std::strlen(c->name);
        os << "  " << c->name << std::string(n < 10 ? 10 - n : 1, ' ') << c->summary << '\n';
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        printUsage(std::cerr);
        return kelvane::cli::kExitUsage;
    }
    const std::string first = argv[1];
    if (first == "--help" || first == "-h" || first == "help") {
        printUsage(std::cout);
        return kelvane::cli::kExitOk;
    }
    if (const Command* c = kelvane::cli::findCommand(first)) return kelvane::cli::runCommand(*c, argc - 1, argv + 1);
    std::cerr << "kelvane: unknown command '" << first << "'\n\n";
    printUsage(std::cerr);
    return kelvane::cli::kExitUsage;
}
