// Placeholder until this family's subcommand lands.
#include "cli.h"
#include "commands.h"

namespace kelvane::cli {

int runSpc83(int argc, char** argv)
{
    Args args(argc, argv);
    return usageError(args.command(), "not available in this build yet");
}

} // namespace kelvane::cli
