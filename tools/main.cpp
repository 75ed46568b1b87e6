// kelvane: converts coordinates from the command line, one point per input line.
#include <cstring>
#include <iostream>
#include <string>

#include "command.h"
#include "kelvane/version.h"
#include "manual.h"

namespace {

using kelvane::cli::Command;

void printUsage(std::ostream& os)
{
    os << "usage: kelvane <command> [options]   (kelvane <command> --help for details)\n"
          "       kelvane --version\n"
          "       kelvane --manpage                (the manual page, in roff)\n"
          "\n"
       << kelvane::cli::kProgramDescription << "\ncommands:\n";
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
    if (first == "--version") {
        std::cout << "kelvane " << KELVANE_VERSION << '\n';
        return kelvane::cli::kExitOk;
    }
    if (first == "--manpage") {
        kelvane::cli::printManual(std::cout);
        return kelvane::cli::kExitOk;
    }
    if (const Command* c = kelvane::cli::findCommand(first)) return kelvane::cli::runCommand(*c, argc - 1, argv + 1);
    std::cerr << "kelvane: unknown command '" << first << "'\n\n";
    printUsage(std::cerr);
    return kelvane::cli::kExitUsage;
}
