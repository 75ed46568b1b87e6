// Small helpers the kelvane subcommands share: numbers from text and back, degrees,
// longitude turns, zone codes and the named ellipsoids.
#ifndef KELVANE_TOOLS_CLI_H
#define KELVANE_TOOLS_CLI_H

#include <optional>
#include <string>
#include <vector>

#include "command.h"
#include "kelvane/core.h"
#include "kelvane/ellipsoids.h"

namespace kelvane::cli {

// Splits a line into fields at blanks, tabs and commas.
std::vector<std::string> splitFields(const std::string& line);

// Parses a finite decimal number; false (and v untouched) for anything else, NaN included.
bool parseNumber(const std::string& text, double& v);

// Parses exactly n numeric fields into v; on failure returns a message naming the field.
std::optional<std::string> parseNumbers(const std::vector<std::string>& fields, std::size_t n,
                                        std::vector<double>& v);

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

// The --ellipsoid option of the commands that take one.
extern const Option kEllipsoidOption;

// The ellipsoid that --ellipsoid names, GRS 80 when it is not given; nothing (after
// reporting the names it knows) for an unknown name.
std::optional<ellipsoid> chosenEllipsoid(const Invocation& inv);

} // namespace kelvane::cli

#endif
