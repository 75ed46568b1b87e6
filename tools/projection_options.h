// Options shared by the commands of the general projections (tm, lcc, omerc): the numbers
// that define a projection, given in degrees, metres or as a ratio on the command line.
#ifndef KELVANE_TOOLS_PROJECTION_OPTIONS_H
#define KELVANE_TOOLS_PROJECTION_OPTIONS_H

#include <initializer_list>
#include <optional>
#include <string>

#include "command.h"

namespace kelvane::cli {

// The value of a numeric option within [lo, hi]; fallback when it is not given (no
// fallback: the option is required). Reports a usage error and gives nothing otherwise.
std::optional<double> numberOption(const Invocation& inv, const char* name, std::optional<double> fallback,
                                   double lo, double hi);

// A latitude option in degrees, -90..90.
std::optional<double> latitudeOption(const Invocation& inv, const char* name, std::optional<double> fallback);

// A longitude option in degrees, -360..360.
std::optional<double> longitudeOption(const Invocation& inv, const char* name, std::optional<double> fallback);

// The scale factor --k0 (a ratio, default 1) and the false origin --fe, --fn (metres,
// default 0) that every general projection takes.
struct ScaleAndFalseOrigin {
    double k0, fe, fn;
};
std::optional<ScaleAndFalseOrigin> scaleAndFalseOrigin(const Invocation& inv);

// The reason a conversion's results cannot be written, when any is not a finite number.
std::optional<std::string> finiteResults(std::initializer_list<double> values, const char* what);

} // namespace kelvane::cli

#endif
