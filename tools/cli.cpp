#include "cli.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

namespace kelvane::cli {

Args::Args(int argc, char** argv)
{
    if (argc > 0) command_ = argv[0];
    for (int i = 1; i < argc; ++i) rest_.emplace_back(argv[i]);
}

bool Args::flag(const std::string& name)
{
    for (auto it = rest_.begin(); it != rest_.end(); ++it) {
        if (*it == name) {
            rest_.erase(it);
            return true;
        }
    }
    return false;
}

std::optional<std::string> Args::value(const std::string& name)
{
    for (std::size_t i = 0; i < rest_.size(); ++i) {
        const std::string& a = rest_[i];
        if (a == name) {
            if (i + 1 >= rest_.size()) {
                missing_ = name;
                rest_.erase(rest_.begin() + static_cast<std::ptrdiff_t>(i));
                return std::nullopt;
            }
            std::string v = rest_[i + 1];
            rest_.erase(rest_.begin() + static_cast<std::ptrdiff_t>(i),
                        rest_.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            return v;
        }
        if (a.size() > name.size() && a.compare(0, name.size(), name) == 0 && a[name.size()] == '=') {
            std::string v = a.substr(name.size() + 1);
            rest_.erase(rest_.begin() + static_cast<std::ptrdiff_t>(i));
            return v;
        }
    }
    return std::nullopt;
}

std::vector<std::string> Args::positionals()
{
    std::vector<std::string> p;
    for (auto it = rest_.begin(); it != rest_.end();) {
        // A lone "-" and negative numbers are positionals, not options.
        const bool option = it->size() > 1 && (*it)[0] == '-' &&
                            !(std::isdigit(static_cast<unsigned char>((*it)[1])) || (*it)[1] == '.');
        if (!option) {
            p.push_back(*it);
            it = rest_.erase(it);
        } else {
            ++it;
        }
    }
    return p;
}

bool Args::finish()
{
    bool ok = true;
    if (!missing_.empty()) {
        std::cerr << "kelvane " << command_ << ": option " << missing_ << " needs a value\n";
        ok = false;
    }
    for (const auto& a : rest_) {
        std::cerr << "kelvane " << command_ << ": unknown argument '" << a << "' (see --help)\n";
        ok = false;
    }
    return ok;
}

std::vector<std::string> splitFields(const std::string& line)
{
    std::vector<std::string> f;
    std::string cur;
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == ',' || c == '\r') {
            if (!cur.empty()) f.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) f.push_back(cur);
    return f;
}

bool parseNumber(const std::string& text, double& v)
{
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const double x = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(x)) return false;
    v = x;
    return true;
}

std::optional<std::string> parseNumbers(const std::vector<std::string>& fields, std::size_t n,
                                        std::vector<double>& v)
{
    if (fields.size() != n) {
        return "expected " + std::to_string(n) + " numbers, found " + std::to_string(fields.size()) +
               " fields";
    }
    std::vector<double> out(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (!parseNumber(fields[i], out[i])) {
            return "field " + std::to_string(i + 1) + " ('" + fields[i] + "') is not a number";
        }
    }
    v.swap(out);
    return std::nullopt;
}

int processLines(const std::string& command, const std::optional<std::string>& inputPath,
                 const LineHandler& handle)
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
        std::ostringstream result;
        const std::optional<std::string> problem = handle(fields, result);
        if (problem) {
            std::cerr << "kelvane " << command << ": line " << lineNo << ": " << *problem << '\n';
            ++failed;
        } else {
            std::cout << result.str();
        }
    }
    std::cout.flush();
    return failed ? kExitLineFailed : kExitOk;
}

std::string fixed(double v, int decimals)
{
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof buf) return buf;
    // A huge value needs more room than the usual coordinate: never cut digits off.
    std::string big(static_cast<std::size_t>(n > 0 ? n : 0) + 1, '\0');
    std::snprintf(&big[0], big.size(), "%.*f", decimals, v);
    big.resize(big.size() - 1);
    return big;
}

std::string signedFixed(double v, int decimals)
{
    std::string text = fixed(v, decimals);
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

double degToRad(double deg) { return deg * (4.0 * std::atan(1.0) / 180.0); }
double radToDeg(double rad) { return rad / (4.0 * std::atan(1.0) / 180.0); }

double nearestTurn(double lonDeg, double centreDeg)
{
    const double offset = lonDeg - centreDeg;
    return std::fabs(offset) <= 180.0 ? lonDeg : centreDeg + std::remainder(offset, 360.0);
}

std::optional<int> parseZoneCode(const std::string& text)
{
    if (text.empty() || text.size() > 6) return std::nullopt;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    }
    return std::stoi(text);
}

const NamedEllipsoid* findEllipsoid(const std::string& name)
{
    return findNamedEllipsoid(name.c_str());
}

std::string ellipsoidNames()
{
    std::string names;
    for (int i = 0; i < namedEllipsoidCount(); ++i) {
        names += (names.empty() ? "" : ", ") + std::string(namedEllipsoidAt(i)->name);
    }
    return names;
}

int usageError(const std::string& command, const std::string& message)
{
    std::cerr << "kelvane " << command << ": " << message << '\n';
    return kExitUsage;
}

} // namespace kelvane::cli
