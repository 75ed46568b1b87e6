// Shared plumbing of the kelvane command-line program: option parsing, reading one
// point per line, reporting malformed lines by number, and number formatting.
#ifndef KELVANE_TOOLS_CLI_H
#define KELVANE_TOOLS_CLI_H

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "kelvane/ellipsoids.h"

namespace kelvane::cli {

// Exit statuses of every subcommand.
constexpr int kExitOk = 0;
constexpr int kExitLineFailed = 1; // at least one input line could not be converted
constexpr int kExitUsage = 2;      // bad options, unreadable input file, unknown zone ...

// The arguments of one subcommand (argv[0] is the subcommand's name). Options are taken
// out as they are asked for; finish() then reports anything left that was not understood.
class Args {
public:
    Args(int argc, char** argv);

    const std::string& command() const { return command_; }
    bool help() { return flag("--help") || flag("-h"); } // --help or -h
    bool flag(const std::string& name);                        // --name
    std::optional<std::string> value(const std::string& name); // --name V or --name=V
    bool missingValue() const { return !missing_.empty(); }    // --name given without V
    std::vector<std::string> positionals();                    // everything not an option
    // Reports unknown options (and options missing their value) on stderr; false if any.
    bool finish();

private:
    std::string command_;
    std::vector<std::string> rest_;
    std::string missing_;
};

// Splits a line into fields at blanks, tabs and commas.
std::vector<std::string> splitFields(const std::string& line);

// Parses a finite decimal number; false (and v untouched) for anything else, NaN included.
bool parseNumber(const std::string& text, double& v);

// Parses exactly n numeric fields into v; on failure returns a message naming the field.
std::optional<std::string> parseNumbers(const std::vector<std::string>& fields, std::size_t n,
                                        std::vector<double>& v);

// Converts one input line. Writes its result line(s) to out and returns nothing, or
// returns the reason the line could not be converted (and writes nothing).
using LineHandler =
    std::function<std::optional<std::string>(const std::vector<std::string>& fields, std::ostream& out)>;

// Feeds every line of the input (the --input file when given, else stdin) to handle.
// Blank lines and lines starting with '#' are skipped. A failing line is reported on
// stderr as "<command>: line N: reason" and the remaining lines are still converted.
// Returns kExitOk, kExitLineFailed when any line failed, or kExitUsage when the input
// file cannot be opened.
int processLines(const std::string& command, const std::optional<std::string>& inputPath,
                 const LineHandler& handle);

// Fixed-point text with the given number of decimals.
std::string fixed(double v, int decimals);

// Fixed-point text without a minus sign on a value that prints as zero ("-0.0000").
std::string signedFixed(double v, int decimals);

// Degrees <-> radians, with pi taken as 4 atan(1) as in the library.
double degToRad(double deg);
double radToDeg(double rad);

// The same meridian as lonDeg (degrees, any turn), taken within 180 degrees of
// centreDeg; a longitude already within reach is returned as given, bit for bit.
double nearestTurn(double lonDeg, double centreDeg);

// A state plane zone code written with or without its leading zero ("0101", "101"):
// one to six digits; nothing for anything else.
std::optional<int> parseZoneCode(const std::string& text);

// The ellipsoids that the commands offer by name: the library's table, GRS 80 first (the
// default). The ellipsoid of that name, or nullptr.
using NamedEllipsoid = ::namedEllipsoid;
const NamedEllipsoid* findEllipsoid(const std::string& name);
// Their names, comma-separated, for help and error texts.
std::string ellipsoidNames();

// Prints "kelvane <command>: message" on stderr and returns kExitUsage.
int usageError(const std::string& command, const std::string& message);

} // namespace kelvane::cli

#endif
