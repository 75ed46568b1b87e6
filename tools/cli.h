// Small helpers the kelvane subcommands share: numbers from text and back, degrees,
// longitude turns, zone codes and the named ellipsoids.
#ifndef KELVANE_TOOLS_CLI_H
#define KELVANE_TOOLS_CLI_H

#include <optional>
#include <string>
#include <vector>

#include "command.h"
#include "kelvane/ellipsoids.h"

namespace kelvane::cli {

// Splits a line into fields at blanks, tabs, commas and semicolons.
std::vector<std::string> splitFields(const std::string& line);

// Parses a finite decimal number; false (and v untouched) for anything else: NaN,
// hexadecimal, degrees-minutes-seconds.
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

// The printed row of an inverse projection's result r (latitude and longitude in radians,
// scale factor, convergence in radians): degrees, the longitude within 180 degrees of
// Greenwich, then the scale factor and the convergence in degrees.
std::vector<double> geographicRow(const double* r);

// A state plane zone code written with or without its leading zero ("0101", "101"):
// one to six digits; nothing for anything else.
std::optional<int> parseZoneCode(const std::string& text);

// The --ellipsoid option of the commands that take one: the library's named ellipsoids.
extern const Option kEllipsoidOption;

// The ellipsoid that --ellipsoid names, GRS 80 (or the command's own default) when it is
// not given; nothing (after reporting the names it knows) for an unknown name.
std::optional<ellipsoid> chosenEllipsoid(const Invocation& inv, const char* defaultName = "grs80");

// The number given to option name, or fallback when it is not given; nothing (after
// reporting it) for a value that is not a finite number.
std::optional<double> numberOption(const Invocation& inv, const std::string& name, double fallback);

// A unit of length that --units offers.
struct LengthUnit {
    const char* name; // as --units takes it
    double metres;    // its length in metres
};
extern const LengthUnit kMetre;             // m
extern const LengthUnit kUsSurveyFoot;      // us-ft, 1200/3937 m exactly
extern const LengthUnit kInternationalFoot; // ft, 0.3048 m exactly

// The unit --units names among those offered (the first when it is not given); nothing,
// after naming the offered ones, for another.
std::optional<LengthUnit> chosenUnit(const Invocation& inv, const std::vector<LengthUnit>& offered);

// A length given in one unit, in another (the same value when the units are the same).
double convertLength(double v, const LengthUnit& from, const LengthUnit& to);

} // namespace kelvane::cli

#endif
