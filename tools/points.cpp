#include "points.h"

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

const std::vector<Option>& pointOptions()
{
    static const std::vector<Option> options;
    return options;
}

int readLines(const std::string& command, const std::optional<std::string>& inputPath, const LineHandler& handle)
{
    std::ifstream file;
    std::istream* in = &std::cin;
    if (inputPath && *inputPath != "-") {
        file.open(*inputPath);
        if (!file) return usageError(command, "cannot open input file '" + *inputPath + "'");
        in = &file;
    }
    int failed = 0;
    long lineNo = 0;
    for (std::string line; std::getline(*in, line);) {
        ++lineNo;
        const std::vector<std::string> fields = splitFields(line);
        if (fields.empty() || fields[0][0] == '#') continue;
        if (const std::optional<std::string> problem = handle(fields)) {
            std::cerr << "kelvane " << command << ": line " << lineNo << ": " << *problem << '\n';
            ++failed;
        }
    }
    std::cout.flush();
    return failed ? kExitLineFailed : kExitOk;
}

std::string formatValue(double v, const Column& column)
{
    if (column.quantity == Quantity::Count) return std::to_string(static_cast<long long>(v));
    return column.unsignedZero ? signedFixed(v, column.decimals) : fixed(v, column.decimals);
}

namespace {

std::optional<std::string> readPoint(const std::vector<std::string>& fields, const std::vector<Column>& inputs,
                                     std::optional<Values>& point)
{
    std::vector<double> v;
    if (auto problem = parseNumbers(fields, inputs.size(), v)) return problem;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (inputs[i].quantity == Quantity::Latitude && !(v[i] >= -90.0 && v[i] <= 90.0)) {
            return "latitude " + fields[i] + " is outside -90..90";
        }
    }
    point.emplace(std::move(v), fields);
    return std::nullopt;
}

} // namespace

int convertLines(const Invocation& inv, const Conversion& conversion)
{
    std::vector<double> out(conversion.outputs.size());
    return readLines(inv.name(), inv.value("--input"), [&](const std::vector<std::string>& fields) {
        std::optional<Values> point;
        if (auto problem = readPoint(fields, conversion.inputs, point)) return problem;
        if (auto problem = conversion.convert(*point, out)) return problem;
        std::string line;
        for (std::size_t i = 0; i < out.size(); ++i) {
            line += (i ? " " : "") + formatValue(out[i], conversion.outputs[i]);
        }
        std::cout << line << '\n';
        return std::optional<std::string>();
    });
}

} // namespace kelvane::cli
