#include "points.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>

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

// Opens --input (or takes standard input); nothing, after reporting, when it cannot.
std::istream* openInput(const std::string& command, const std::optional<std::string>& inputPath, std::ifstream& file)
{
    if (!inputPath || *inputPath == "-") return &std::cin;
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
    std::istream* in = openInput(command, inputPath, file);
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

int convertLines(const Invocation& inv, const Conversion& conversion)
{
    const std::optional<Style> style = readStyle(inv);
    if (!style) return kExitUsage;
    std::ifstream file;
    std::istream* in = openInput(inv.name(), inv.value("--input"), file);
    if (!in) return kExitUsage;

    std::vector<Quantity> kinds;
    for (const Column& c : conversion.inputs) kinds.push_back(c.quantity);
    const Writer writer(*style, styledColumns(conversion.outputs, *style));
    writer.header();
    std::vector<double> out(conversion.outputs.size());
    InputLine point;
    int failed = 0;
    long lineNo = 0;
    for (std::string line; std::getline(*in, line);) {
        ++lineNo;
        std::optional<std::string> problem = parseInputLine(line, kinds, style->idFirst, lineNo == 1, point);
        if (point.empty) continue;
        for (std::size_t i = 0; !problem && i < kinds.size(); ++i) {
            if (kinds[i] == Quantity::Latitude && !(point.values[i] >= -90.0 && point.values[i] <= 90.0)) {
                problem = "latitude " + point.fields[i] + " is outside -90..90";
            }
        }
        if (!problem) {
            problem = onLine(inv.name(), lineNo, [&] { return conversion.convert(Values(point.values, point.fields), out); });
        }
        if (!problem) {
            writer.result(lineNo, point, out);
            continue;
        }
        report(inv.name(), lineNo, *problem);
        ++failed;
        if (!style->skipBad) writer.placeholder(lineNo, point, *problem);
    }
    std::cout.flush();
    return failed ? kExitLineFailed : kExitOk;
}

} // namespace kelvane::cli
