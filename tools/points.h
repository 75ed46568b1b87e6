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
#include "kelvane/batch.h"
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

// Many points in one call, for the commands that convert through a batch entry point of
// the library. points[i] holds the numbers of one line; the conversion writes results[i]
// (sized to the output columns) or problems[i], the reason point i cannot be converted.
struct Block {
    std::vector<Values> points;
    std::vector<std::vector<double>> results;
    std::vector<std::optional<std::string>> problems;
};
using ConvertBlock = std::function<void(Block& block)>;

// Checks and converts each point of a block with one, but the conversion proper, done
// for the whole block by convertMany: one turns a point's numbers into the batch's inputs
// (or returns the reason it cannot be converted), convertMany converts every prepared
// point (inputs and results hold inputsPerPoint and resultsPerPoint doubles a point, so
// point i's are at i * inputsPerPoint and i * resultsPerPoint; status[i] is the library's
// status of point i), and finish turns point i's results and status into its output
// columns (or the reason).
struct BatchSteps {
    std::size_t inputsPerPoint;
    std::size_t resultsPerPoint;
    std::function<std::optional<std::string>(const Values& in, double* inputs)> prepare;
    std::function<void(std::size_t n, const double* inputs, double* results, int* status)> convertMany;
    std::function<std::optional<std::string>(const Values& in, const double* results, int status,
                                             std::vector<double>& out)>
        finish;
};
ConvertBlock inBatches(BatchSteps steps);

// The prepare step of a batch that takes a line's numbers as they stand.
std::optional<std::string> asGiven(const Values& in, double* inputs);

// The batch column of input or result k of a block laid out as BatchSteps describes it.
batchIn inputColumn(const double* inputs, std::size_t perPoint, std::size_t k);
batchOut resultColumn(double* results, std::size_t perPoint, std::size_t k);

// What a command converts: the columns of a line and of a result, and either the
// conversion of one point or that of a block of up to kBlockLines points.
struct Conversion {
    Conversion(std::vector<Column> in, std::vector<Column> out, Convert one)
        : inputs(std::move(in)), outputs(std::move(out)), convert(std::move(one))
    {
    }
    Conversion(std::vector<Column> in, std::vector<Column> out, ConvertBlock many)
        : inputs(std::move(in)), outputs(std::move(out)), convertBlock(std::move(many))
    {
    }

    std::vector<Column> inputs;
    std::vector<Column> outputs;
    Convert convert;
    ConvertBlock convertBlock;
};

// Lines read, converted and written together by a command that converts in blocks.
constexpr std::size_t kBlockLines = 4096;

// The options every point-converting command takes besides --input.
const std::vector<Option>& pointOptions();

// Converts every line of the input (--input FILE, else standard input) and writes one
// result line per point, as the shared options ask (ID first, pass-through fields,
// precision, degrees-minutes-seconds, text, CSV or JSON lines). Lines without fields are
// skipped. Lines are read and converted in blocks of up to kBlockLines, and a block is
// cut short whenever the next line is not yet there to be read (a person typing, a program
// waiting for each answer), so that every result is written as soon as its line is in. A line that fails is reported on stderr as "kelvane <command>: line N: reason",
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
