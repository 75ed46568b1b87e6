#include "points.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#if defined(__GLIBCXX__) && !defined(_WIN32)
#include <ext/stdio_filebuf.h>
#endif

#include "cli.h"

namespace kelvane::cli {

const Column kLatitude{"lat", Quantity::Latitude, 10, true};
const Column kLongitude{"lon", Quantity::Longitude, 10, true};
const Column kNorthing{"northing", Quantity::Length, 4, false};
const Column kEasting{"easting", Quantity::Length, 4, false};
const Column kScale{"scale", Quantity::Scale, 10, false};
const Column kConvergence{"convergence", Quantity::Angle, 10, true};

namespace {

// Lengths are written to this many decimals unless --precision says otherwise; the
// other columns keep their distance from it (degrees 6 more, as 1e-10 degree is about
// 0.01 mm on the ground).
constexpr int kDefaultLengthDecimals = 4;
constexpr int kMaxPrecision = 12;
// Seconds of arc get 5 decimals fewer than degrees (1e-5" is about 0.3 mm).
constexpr int kSecondDecimalsLess = 5;
constexpr int kMaxSecondDecimals = 9;

enum class Format { Text, Csv, Json };

// How results are written, from the shared options.
struct Style {
    Format format = Format::Text;
    bool idFirst = false;
    bool passThrough = true;
    bool skipBad = false;
    bool dms = false;
    std::optional<int> precision;
};

std::optional<Style> readStyle(const Invocation& inv)
{
    Style style;
    style.idFirst = inv.flag("--id-first");
    style.passThrough = !inv.flag("--no-passthrough");
    style.skipBad = inv.flag("--skip-bad");
    style.dms = inv.flag("--dms");
    if (const auto format = inv.value("--format")) {
        if (*format == "text") style.format = Format::Text;
        else if (*format == "csv") style.format = Format::Csv;
        else if (*format == "json") style.format = Format::Json;
        else {
            inv.usageError("--format must be text, csv or json, not '" + *format + "'");
            return std::nullopt;
        }
    }
    if (const auto precision = inv.value("--precision")) {
        const std::optional<int> n = parseZoneCode(*precision); // digits only
        if (!n || *n > kMaxPrecision) {
            inv.usageError("--precision must be a whole number from 0 to " + std::to_string(kMaxPrecision) +
                           ", not '" + *precision + "'");
            return std::nullopt;
        }
        style.precision = n;
    }
    return style;
}

bool isAngle(Quantity q) { return q == Quantity::Latitude || q == Quantity::Longitude || q == Quantity::Angle; }

// The columns as this run writes them: decimals moved by --precision.
std::vector<Column> styledColumns(const std::vector<Column>& columns, const Style& style)
{
    std::vector<Column> out = columns;
    if (!style.precision) return out;
    for (Column& c : out) {
        if (c.quantity != Quantity::Count) c.decimals = std::max(0, c.decimals + *style.precision - kDefaultLengthDecimals);
    }
    return out;
}

std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos && (text.empty() || text[0] != ' ')) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string jsonString(const std::string& text)
{
    std::string s = "\"";
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            s += '\\';
            s += c;
        } else if (u < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", u);
            s += esc;
        } else {
            s += c;
        }
    }
    return s + "\"";
}

// Writes result lines (and placeholders) in the chosen format.
class Writer {
public:
    Writer(const Style& style, std::vector<Column> columns) : style_(style), columns_(std::move(columns)) {}

    void header() const
    {
        if (style_.format != Format::Csv) return;
        std::string line = style_.idFirst ? "id" : "";
        for (const Column& c : columns_) line += (line.empty() ? "" : ",") + std::string(c.name);
        if (style_.passThrough) line += ",extra";
        std::cout << line << '\n';
    }

    void result(long lineNo, const InputLine& in, const std::vector<double>& values) const
    {
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            // JSON has no spelling for a value that is not finite.
            const bool none = style_.format == Format::Json && !std::isfinite(values[i]);
            texts.push_back(none ? "null" : value(values[i], columns_[i]));
        }
        write(lineNo, in, texts, std::nullopt);
    }

    void placeholder(long lineNo, const InputLine& in, const std::string& problem) const
    {
        write(lineNo, in, std::vector<std::string>(columns_.size(), style_.format == Format::Csv ? "" : "*"), problem);
    }

private:
    std::string value(double v, const Column& c) const
    {
        if (style_.dms && isAngle(c.quantity) && std::isfinite(v)) {
            return formatDms(v, c.quantity, std::min(kMaxSecondDecimals, std::max(0, c.decimals - kSecondDecimalsLess)));
        }
        return formatValue(v, c);
    }

    // A number of the JSON output: angles written as text stay strings.
    bool quoted(const Column& c, const std::string& text) const { return style_.dms && isAngle(c.quantity) && text != "null"; }

    void write(long lineNo, const InputLine& in, const std::vector<std::string>& texts,
               const std::optional<std::string>& problem) const
    {
        const bool extra = style_.passThrough && !in.rest.empty();
        std::string line;
        switch (style_.format) {
        case Format::Text:
            if (style_.idFirst) line = in.id + ' ';
            for (std::size_t i = 0; i < texts.size(); ++i) line += (i ? " " : "") + texts[i];
            if (extra) line += ' ' + in.rest;
            break;
        case Format::Csv:
            if (style_.idFirst) line = csvField(in.id) + ',';
            for (std::size_t i = 0; i < texts.size(); ++i) line += (i ? "," : "") + texts[i];
            if (style_.passThrough) line += ',' + csvField(in.rest);
            break;
        case Format::Json:
            line = "{\"line\":" + std::to_string(lineNo);
            if (style_.idFirst) line += ",\"id\":" + jsonString(in.id);
            if (problem) {
                line += ",\"error\":" + jsonString(*problem);
            } else {
                for (std::size_t i = 0; i < texts.size(); ++i) {
                    line += ",\"" + std::string(columns_[i].name) + "\":" + (quoted(columns_[i], texts[i]) ? jsonString(texts[i]) : texts[i]);
                }
            }
            if (extra) line += ",\"extra\":" + jsonString(in.rest);
            line += '}';
            break;
        }
        std::cout << line << '\n';
    }

    Style style_;
    std::vector<Column> columns_;
};

// Standard input as a stream that can tell whether more input is ready: std::cin, kept in
// step with C's stdin, cannot. On POSIX hosts descriptor 0 is read through a buffer of its
// own (nothing else in the program reads standard input); elsewhere std::cin is used and
// every block ends with the line in hand.
class StandardInput {
public:
    std::istream* stream()
    {
#if defined(__GLIBCXX__) && !defined(_WIN32)
        if (!stream_) {
            buffer_ = std::make_unique<__gnu_cxx::stdio_filebuf<char>>(0, std::ios::in);
            stream_ = std::make_unique<std::istream>(buffer_.get());
        }
        return stream_.get();
#else
        return &std::cin;
#endif
    }

private:
#if defined(__GLIBCXX__) && !defined(_WIN32)
    std::unique_ptr<__gnu_cxx::stdio_filebuf<char>> buffer_;
    std::unique_ptr<std::istream> stream_;
#endif
};

// Opens --input (or takes standard input); nothing, after reporting, when it cannot.
std::istream* openInput(const std::string& command, const std::optional<std::string>& inputPath, std::ifstream& file,
                        StandardInput& standardInput)
{
    if (!inputPath || *inputPath == "-") return standardInput.stream();
    file.open(*inputPath, std::ios::binary);
    if (!file) {
        usageError(command, "cannot open input file '" + *inputPath + "'");
        return nullptr;
    }
    return &file;
}

void report(const std::string& command, long lineNo, const std::string& problem)
{
    std::cerr << "kelvane " << command << ": line " << lineNo << ": " << problem << '\n';
}

// The line being handed to a conversion or line handler, for warnLine.
struct CurrentLine {
    const std::string* command = nullptr;
    long number = 0;
};
CurrentLine gCurrentLine;

// Runs f with the line known to warnLine.
template <typename F>
std::optional<std::string> onLine(const std::string& command, long lineNo, F f)
{
    gCurrentLine = {&command, lineNo};
    std::optional<std::string> problem = f();
    gCurrentLine = {};
    return problem;
}

} // namespace

const std::vector<Option>& pointOptions()
{
    static const std::vector<Option> options{
        {"--id-first", nullptr, "the first field of each line is the point's ID; it is written first"},
        {"--no-passthrough", nullptr, "drop the fields after the numbers instead of writing them\nafter the result"},
        {"--skip-bad", nullptr, "write nothing for a line that fails (default: a placeholder\nline with '*' for each number, so that output lines match input lines)"},
        {"--precision", "N", "digits after the point for lengths (default 4); angles and\nscales get as many more or fewer"},
        {"--dms", nullptr, "write angles in degrees, minutes and seconds (52d30'15.12000\"N)"},
        {"--format", "FMT", "text (default), csv (with a header row) or json (one object\nper line, with the line number)"},
    };
    return options;
}

std::string formatValue(double v, const Column& column)
{
    if (column.quantity == Quantity::Count && std::fabs(v) < 1e15) return std::to_string(static_cast<long long>(v));
    return column.unsignedZero ? signedFixed(v, column.decimals) : fixed(v, column.decimals);
}

std::string formatDms(double degrees, Quantity quantity, int secondDecimals)
{
    long long unitsPerSecond = 1;
    for (int i = 0; i < secondDecimals; ++i) unitsPerSecond *= 10;
    const long long total = std::llround(std::fabs(degrees) * 3600.0 * static_cast<double>(unitsPerSecond));
    const long long d = total / (3600 * unitsPerSecond);
    const long long m = total / (60 * unitsPerSecond) % 60;
    const double s = static_cast<double>(total % (60 * unitsPerSecond)) / static_cast<double>(unitsPerSecond);
    char text[64];
    std::snprintf(text, sizeof text, "%lldd%02lld'%0*.*f\"", d, m, secondDecimals + (secondDecimals ? 3 : 2),
                  secondDecimals, s);
    const bool negative = degrees < 0.0 && total != 0;
    if (quantity == Quantity::Latitude) return text + std::string(negative ? "S" : "N");
    if (quantity == Quantity::Longitude) return text + std::string(negative ? "W" : "E");
    return (negative ? "-" : "") + std::string(text);
}

void warnLine(const std::string& message)
{
    if (gCurrentLine.command) report(*gCurrentLine.command, gCurrentLine.number, "warning: " + message);
}

int readLines(const std::string& command, const std::optional<std::string>& inputPath, const LineHandler& handle)
{
    std::ifstream file;
    StandardInput standardInput;
    std::istream* in = openInput(command, inputPath, file, standardInput);
    if (!in) return kExitUsage;
    int failed = 0;
    long lineNo = 0;
    for (std::string line; std::getline(*in, line);) {
        ++lineNo;
        const std::vector<std::string> fields = splitLine(line, lineNo == 1);
        if (fields.empty()) continue;
        if (const std::optional<std::string> problem = onLine(command, lineNo, [&] { return handle(fields); })) {
            report(command, lineNo, *problem);
            ++failed;
        }
    }
    std::cout.flush();
    return failed ? kExitLineFailed : kExitOk;
}

ConvertBlock inBatches(BatchSteps steps)
{
    return [steps](Block& block) {
        const std::size_t n = block.points.size();
        std::vector<double> inputs(n * steps.inputsPerPoint);
        std::vector<std::size_t> prepared; // the points that go to the batch, in order
        for (std::size_t i = 0; i < n; ++i) {
            block.problems[i] = steps.prepare(block.points[i], inputs.data() + prepared.size() * steps.inputsPerPoint);
            if (!block.problems[i]) prepared.push_back(i);
        }
        const std::size_t m = prepared.size();
        // A call the library refuses writes nothing: its points keep a failing status.
        std::vector<double> results(m * steps.resultsPerPoint, std::nan(""));
        std::vector<int> status(m, kvBatchRefused);
        if (m > 0) steps.convertMany(m, inputs.data(), results.data(), status.data());
        for (std::size_t j = 0; j < m; ++j) {
            const std::size_t i = prepared[j];
            block.problems[i] =
                steps.finish(block.points[i], results.data() + j * steps.resultsPerPoint, status[j], block.results[i]);
        }
    };
}

std::optional<std::string> asGiven(const Values& in, double* inputs)
{
    for (std::size_t i = 0; i < in.size(); ++i) inputs[i] = in[i];
    return std::nullopt;
}

batchIn inputColumn(const double* inputs, std::size_t perPoint, std::size_t k)
{
    return {inputs + k, perPoint * sizeof(double)};
}

batchOut resultColumn(double* results, std::size_t perPoint, std::size_t k)
{
    return {results + k, perPoint * sizeof(double)};
}

namespace {

// A line read and checked, waiting in its block for conversion and output.
struct PendingLine {
    long number;
    InputLine point;
    std::optional<std::string> problem;
};

// Whether the next line can be read without waiting for the producer of the input.
bool moreInputReady(std::istream& in)
{
    return in.rdbuf()->in_avail() > 0;
}

} // namespace

int convertLines(const Invocation& inv, const Conversion& conversion)
{
    const std::optional<Style> style = readStyle(inv);
    if (!style) return kExitUsage;
    std::ifstream file;
    StandardInput standardInput;
    std::istream* in = openInput(inv.name(), inv.value("--input"), file, standardInput);
    if (!in) return kExitUsage;

    std::vector<Quantity> kinds;
    for (const Column& c : conversion.inputs) kinds.push_back(c.quantity);
    const Writer writer(*style, styledColumns(conversion.outputs, *style));
    writer.header();
    int failed = 0;
    std::vector<PendingLine> pending;

    // Converts the lines read so far, then writes their results (or reports them) in order.
    const auto convertPending = [&] {
        Block block;
        std::vector<PendingLine*> converted;
        for (PendingLine& line : pending) {
            if (line.problem) continue;
            block.points.emplace_back(line.point.values, line.point.fields);
            converted.push_back(&line);
        }
        block.results.assign(converted.size(), std::vector<double>(conversion.outputs.size()));
        block.problems.assign(converted.size(), std::nullopt);
        if (conversion.convertBlock) {
            if (!converted.empty()) conversion.convertBlock(block);
        } else {
            for (std::size_t i = 0; i < converted.size(); ++i) {
                block.problems[i] = onLine(inv.name(), converted[i]->number,
                                           [&] { return conversion.convert(block.points[i], block.results[i]); });
            }
        }
        std::size_t next = 0;
        for (PendingLine& line : pending) {
            const std::vector<double>* result = nullptr;
            if (!line.problem) {
                line.problem = block.problems[next];
                result = &block.results[next];
                ++next;
            }
            if (!line.problem) {
                writer.result(line.number, line.point, *result);
                continue;
            }
            report(inv.name(), line.number, *line.problem);
            ++failed;
            if (!style->skipBad) writer.placeholder(line.number, line.point, *line.problem);
        }
        pending.clear();
        std::cout.flush();
    };

    long lineNo = 0;
    for (std::string line; std::getline(*in, line);) {
        ++lineNo;
        PendingLine read{lineNo, {}, std::nullopt};
        read.problem = parseInputLine(line, kinds, style->idFirst, lineNo == 1, read.point);
        if (!read.point.empty) {
            for (std::size_t i = 0; !read.problem && i < kinds.size(); ++i) {
                if (kinds[i] == Quantity::Latitude && !(read.point.values[i] >= -90.0 && read.point.values[i] <= 90.0)) {
                    read.problem = "latitude " + read.point.fields[i] + " is outside -90..90";
                }
            }
            pending.push_back(std::move(read));
        }
        if (pending.size() >= (conversion.convertBlock ? kBlockLines : 1) || (!pending.empty() && !moreInputReady(*in))) {
            convertPending();
        }
    }
    convertPending();
    return failed ? kExitLineFailed : kExitOk;
}

} // namespace kelvane::cli
