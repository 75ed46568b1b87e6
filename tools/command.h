// The declarative description of a kelvane subcommand. A subcommand is one Command value
// (its name, synopsis, text and option table) plus the function that runs it, registered
// from its own source file (tools/cmd_<family>.cpp, picked up by the build) with one line:
//
//     int run(const Invocation& inv)               // options already checked against the table
//     {
//         const bool inverse = inv.flag("--inverse");
//         ... set up from inv.value("--zone") etc.; inv.usageError("...") for bad values ...
//         return convertLines(inv, {{kLatitude, kLongitude},          // what a line holds
//                                   {kNorthing, kEasting, kScale, kConvergence}, // what a result holds
//                                   [&](const Values& in, std::vector<double>& out) {
//                                       ... convert in[0], in[1] into out[0..3], or return the reason
//                                   }});
//     }
//     const Command kCommand{"tm", "summary", 21, {"tm --k0 K ..."}, "description\n",
//                            {{"--inverse", nullptr, "northing easting -> lat lon"}}, "notes\n",
//                            {"echo '52 4' | kelvane tm ..."}, Input::Points, run};
//     const Registration kRegistration(kCommand);
//
// Everything else is shared and driven by the table: argument parsing (unknown options,
// missing values and repeated options are refused before run is called), --help, --list,
// the options every point command takes (--input, --id-first, --format ...), the list of
// commands and the manual page (kelvane --manpage).
#ifndef KELVANE_TOOLS_COMMAND_H
#define KELVANE_TOOLS_COMMAND_H

#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kelvane::cli {

// Exit statuses of every subcommand.
constexpr int kExitOk = 0;
constexpr int kExitLineFailed = 1; // at least one input line could not be converted
constexpr int kExitUsage = 2;      // bad options, unreadable input file, unknown zone ...

// One option of a command, as --help and the manual page show it: "--zone N".
struct Option {
    const char* name;  // "--zone"
    const char* value; // the placeholder of its value ("N"), or nullptr for a flag
    const char* help;  // what it does; '\n' starts another line of the same entry
};

class Invocation;

// Which shared options a command takes besides its own.
enum class Input {
    None,   // reads no lines (e.g. grid)
    Lines,  // reads lines: --input FILE
    Points, // converts points line by line: --input and the input/output format options
};

struct Command {
    const char* name;    // "utm"
    const char* summary; // one line for the list of commands
    // Place in the list of commands: ten times the family's number, plus one for a second
    // command of the family (utm 20, tm 21, lcc 30, omerc 40, spc83 50, spc27 51, ecef 60,
    // enu 61, helmert 65, geoid 70, grid 71, national grids 100 up: dk 101, eov 102,
    // krovak 103, cassini 104, nbstereo 105).
    int order;
    std::vector<const char*> synopsis; // usage lines, each after "kelvane "
    // Text after the synopsis. Paragraphs are separated by blank lines; a paragraph whose
    // lines are indented is a table or a formula and keeps its lines as written.
    const char* description;
    std::vector<Option> options;       // the command's own, in the order help lists them
    const char* notes;                 // text after the options (refused lines, conventions)
    std::vector<const char*> examples; // shell lines that run as shown
    Input input;                       // which shared options it takes
    int (*run)(const Invocation&);
    bool arguments = false;            // takes positional arguments (an action, file names)
    // When set, --list prints this (zone codes, model names) and stops; listHelp says what.
    int (*list)() = nullptr;
    const char* listHelp = nullptr;
};

// What the program does as a whole, for kelvane --help and the manual page.
extern const char* const kProgramDescription;

// Adds a command to the program. Define one at namespace scope in the command's file.
struct Registration {
    explicit Registration(const Command& command);
};

// Every registered command, in list order.
std::vector<const Command*> commands();
const Command* findCommand(const std::string& name);

// The options of a command as parsed against its table.
class Invocation {
public:
    // Parses argv (argv[0] is the command's name). Reports problems on stderr; nothing
    // when they leave the arguments unusable.
    static std::optional<Invocation> parse(const Command& command, int argc, char** argv);

    const Command& command() const { return *command_; }
    const std::string& name() const { return name_; }
    bool flag(const std::string& option) const { return values_.count(option) != 0; }
    std::optional<std::string> value(const std::string& option) const;
    const std::vector<std::string>& positionals() const { return positionals_; }
    // Whether any of the command's own options, or any positional, was given.
    bool anyGiven() const;

    // Prints "kelvane <command>: message" on stderr and returns kExitUsage.
    int usageError(const std::string& message) const;

    // The same options under a longer name for messages ("helmert fit").
    Invocation action(const std::string& action) const;

private:
    const Command* command_ = nullptr;
    std::string name_;
    std::map<std::string, std::string> values_; // option -> value ("" for a flag)
    std::vector<std::string> positionals_;
};

// The full option table of a command: its own options and the shared ones it takes.
std::vector<Option> allOptions(const Command& command);

// The --help text of a command.
void printHelp(const Command& command, std::ostream& out);

// Runs the command named by argv[0] with the shared handling of --help and --list.
int runCommand(const Command& command, int argc, char** argv);

// Prints "kelvane <command>: message" on stderr and returns kExitUsage.
int usageError(const std::string& command, const std::string& message);

} // namespace kelvane::cli

#endif
