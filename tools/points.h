// Point conversion line by line, shared by every subcommand that converts points: a
// command describes what a line holds and what a result holds (Column), and gives the
// conversion of one point; reading, checking, formatting and the report of bad lines
// by number are done here, the same for every command.
#ifndef KELVANE_TOOLS_POINTS_H
#define KELVANE_TOOLS_POINTS_H

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "command.h"
#include "line_input.h"

namespace kelvane::cli {

struct Column {
    const char* name;  // the field's name in machine-readable output: "northing"
    Quantity quantity;
    int decimals;      // digits after the point
    bool unsignedZero; // a value that prints as zero is written without its minus sign
};

// The columns of the usual conversions as most commands write them: degrees to 10
// decimals (no minus sign on a zero), metres to 0.1 mm, the scale to 10 decimals.
extern const Column kLatitude, kLongitude, kNorthing, kEasting, kScale, kConvergence;

// The numbers read from one line, with their text as written.
class Values {
public:
    Values(std::vector<double> v, std::vector<std::string> text) : v_(std::move(v)), text_(std::move(text)) {}
    double operator[](std::size_t i) const { return v_[i]; }
    const std::string& text(std::size_t i) const { return text_[i]; }
    std::size_t size() const { return v_.size(); }

private:
    std::vector<double> v_;
    std::vector<std::string> text_;
};

// One point: writes out (sized to the output columns) and returns nothing, or returns
// the reason the point cannot be converted.
using Convert = std::function<std::optional<std::string>(const Values& in, std::vector<double>& out)>;

struct Conversion {
    std::vector<Column> inputs;
    std::vector<Column> outputs;
    Convert convert;
};

// The options every point-converting command takes besides --input.
const std::vector<Option>& pointOptions();

// Converts every line of the input (--input FILE, else standard input) and writes one
// result line per point, as the shared options ask (ID first, pass-through fields,
// precision, degrees-minutes-seconds, text, CSV or JSON lines). Lines without fields are
// skipped. A line that fails is reported on stderr as "kelvane <command>: line N: reason",
// a placeholder line takes its place (unless --skip-bad) and the other lines are still
// converted. Returns kExitOk, kExitLineFailed when any line failed, or kExitUsage for a
// bad shared option or an input file that cannot be opened.
int convertLines(const Invocation& inv, const Conversion& conversion);

// Reads lines of a shape of the command's own (control points): each non-blank,
// non-comment line's fields go to handle, which returns the reason it cannot take them.
// Reports and returns as convertLines does.
using LineHandler = std::function<std::optional<std::string>(const std::vector<std::string>& fields)>;
int readLines(const std::string& command, const std::optional<std::string>& inputPath, const LineHandler& handle);

// From within a conversion or line handler: reports a warning about the line being read
// on stderr ("kelvane <command>: line N: warning: message"). The line is not counted as
// failed; a Convert that warns still writes its result.
void warnLine(const std::string& message);

// The text of a value as a column of that kind is written by default.
std::string formatValue(double v, const Column& column);

// An angle in degrees as degrees, minutes and seconds with that many decimals of the
// second: 52d30'15.12000"N for a latitude (E or W for a longitude), -1d02'03.40000" for
// another angle.
std::string formatDms(double degrees, Quantity quantity, int secondDecimals);

} // namespace kelvane::cli

#endif
