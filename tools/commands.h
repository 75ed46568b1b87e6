// The subcommands of the kelvane program, one per family, each in a file of its own.
// Each takes the subcommand's own arguments (argv[0] is its name) and returns an exit status.
#ifndef KELVANE_TOOLS_COMMANDS_H
#define KELVANE_TOOLS_COMMANDS_H

namespace kelvane::cli {

int runUtm(int argc, char** argv);     // cmd_utm.cpp
int runSpc83(int argc, char** argv);   // cmd_spc83.cpp
int runSpc27(int argc, char** argv);   // cmd_spc27.cpp
int runEcef(int argc, char** argv);    // cmd_geocentric.cpp
int runEnu(int argc, char** argv);     // cmd_geocentric.cpp
int runHelmert(int argc, char** argv); // cmd_helmert.cpp
int runGeoid(int argc, char** argv);   // cmd_geoid.cpp
int runGrid(int argc, char** argv);    // cmd_grid.cpp

} // namespace kelvane::cli

#endif
