#include "cli.h"

#include "line_input.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kelvane::cli {

std::vector<std::string> splitFields(const std::string& line) { return splitLine(line, false); }

bool parseNumber(const std::string& text, double& v) { return !parseField(text, Quantity::Length, v); }

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

std::vector<double> geographicRow(const double* r)
{
    return {radToDeg(r[0]), nearestTurn(radToDeg(r[1]), 0.0), r[2], radToDeg(r[3])};
}

std::optional<int> parseZoneCode(const std::string& text)
{
    if (text.empty() || text.size() > 6) return std::nullopt;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    }
    return std::stoi(text);
}

// The library's named ellipsoids (a test checks that this lists them all).
const Option kEllipsoidOption{"--ellipsoid", "NAME",
                              "grs80 (default), wgs84, intl1924, clarke1866, airy1830,\n"
                              "bessel1841, grs67 or wgs72"};

std::optional<ellipsoid> chosenEllipsoid(const Invocation& inv, const char* defaultName)
{
    const std::string name = inv.value("--ellipsoid").value_or(defaultName);
    ellipsoid ell{};
    if (initNamedEllipsoid(&ell, name.c_str()) == 0) return ell;
    std::string names;
    for (int i = 0; i < namedEllipsoidCount(); ++i) {
        names += (names.empty() ? "" : ", ") + std::string(namedEllipsoidAt(i)->name);
    }
    inv.usageError("unknown ellipsoid '" + name + "' (" + names + ")");
    return std::nullopt;
}

std::optional<double> numberOption(const Invocation& inv, const std::string& name, double fallback)
{
    const std::optional<std::string> text = inv.value(name);
    if (!text) return fallback;
    double v = 0.0;
    if (parseNumber(*text, v)) return v;
    inv.usageError(name + " needs a number, not '" + *text + "'");
    return std::nullopt;
}

const LengthUnit kMetre{"m", 1.0};
const LengthUnit kUsSurveyFoot{"us-ft", 1200.0 / 3937.0};
const LengthUnit kInternationalFoot{"ft", 0.3048};

std::optional<LengthUnit> chosenUnit(const Invocation& inv, const std::vector<LengthUnit>& offered)
{
    const std::optional<std::string> name = inv.value("--units");
    std::string names;
    for (const LengthUnit& u : offered) {
        if (!name || *name == u.name) return u;
        names += (names.empty() ? "" : ", ") + std::string(u.name);
    }
    inv.usageError("--units must be one of " + names + ", not '" + *name + "'");
    return std::nullopt;
}

double convertLength(double v, const LengthUnit& from, const LengthUnit& to)
{
    return from.metres == to.metres ? v : v * from.metres / to.metres;
}

} // namespace kelvane::cli
