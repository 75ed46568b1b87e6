#include "projection_options.h"

#include <cmath>

#include "cli.h"

namespace kelvane::cli {

std::optional<double> numberOption(const Invocation& inv, const char* name, std::optional<double> fallback,
                                   double lo, double hi)
{
    const std::optional<std::string> text = inv.value(name);
    if (!text) {
        if (!fallback) inv.usageError(std::string(name) + " is required (see --help)");
        return fallback;
    }
    double v = 0.0;
    if (!parseNumber(*text, v) || v < lo || v > hi) {
        inv.usageError(std::string(name) + " must be a number from " + signedFixed(lo, 0) + " to " +
                       signedFixed(hi, 0) + ", not '" + *text + "'");
        return std::nullopt;
    }
    return v;
}

std::optional<double> latitudeOption(const Invocation& inv, const char* name, std::optional<double> fallback)
{
    return numberOption(inv, name, fallback, -90.0, 90.0);
}

std::optional<double> longitudeOption(const Invocation& inv, const char* name, std::optional<double> fallback)
{
    return numberOption(inv, name, fallback, -360.0, 360.0);
}

std::optional<ScaleAndFalseOrigin> scaleAndFalseOrigin(const Invocation& inv)
{
    constexpr double kMaxFalseOrigin = 1e9; // metres
    const std::optional<double> k0 = numberOption(inv, "--k0", 1.0, 0.001, 1000.0);
    const std::optional<double> fe = k0 ? numberOption(inv, "--fe", 0.0, -kMaxFalseOrigin, kMaxFalseOrigin) : k0;
    const std::optional<double> fn = fe ? numberOption(inv, "--fn", 0.0, -kMaxFalseOrigin, kMaxFalseOrigin) : fe;
    if (!fn) return std::nullopt;
    return ScaleAndFalseOrigin{*k0, *fe, *fn};
}

std::optional<std::string> finiteResults(std::initializer_list<double> values, const char* what)
{
    for (double v : values) {
        if (!std::isfinite(v)) return std::string(what);
    }
    return std::nullopt;
}

} // namespace kelvane::cli
