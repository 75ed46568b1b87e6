// Reading one line of a point file, the same for every subcommand.
//
// A line holds fields separated by blanks, tabs, commas or semicolons (runs of them count
// as one separator). A field starting with '#' starts a comment that runs to the end of
// the line; a line with no fields before it is skipped. A UTF-8 byte-order mark at the
// start of the file is ignored. With an ID first, the first field is the point's name.
// Then come the numbers the command needs; the rest of the line passes through.
//
// Numbers are decimal: 12, -3.5, .5, 1e5. Angles may also be written in degrees, minutes
// and seconds: 45d30'15", 45°30'15.2", 45:30:15, 45d30.25' (only the last part may
// have decimals; minutes and seconds below 60), with a hemisphere letter before or after
// (N S for a latitude, E W for a longitude; S and W make it negative) instead of a sign.
// Refused: hexadecimal (0x10), infinities and NaN, digit separators, a sign together with
// a hemisphere letter, a letter of the other axis (a latitude with E), degrees-minutes-
// seconds or a hemisphere letter in a length.
#ifndef KELVANE_TOOLS_LINE_INPUT_H
#define KELVANE_TOOLS_LINE_INPUT_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane::cli {

// What a number on a line is; decides how it is read and written.
enum class Quantity {
    Latitude,   // degrees, -90..90; hemisphere N or S
    Longitude,  // degrees, positive east; hemisphere E or W
    Angle,      // degrees (a convergence, an azimuth): no hemisphere letter
    Length,     // metres, or the unit of the command; decimal only
    Scale,      // a ratio; decimal only
    ArcSeconds, // an angle in seconds of arc; decimal only
    Count,      // a whole number (a zone code), written without decimals
};

// Reads one field as a number of that kind into v. Returns the reason it cannot (v is
// then untouched).
std::optional<std::string> parseField(std::string_view field, Quantity kind, double& v);

// One line, read.
struct InputLine {
    bool empty = false;              // no fields (blank, or only a comment): skip it
    std::string id;                  // the first field, when the line carries an ID first
    std::vector<double> values;      // one per quantity asked for
    std::vector<std::string> fields; // those numbers as written
    std::string rest;                // what follows them, as written (separators inside kept)
};

// Reads a line that starts (after the ID, when idFirst) with numbers of the given kinds.
// firstLine: a byte-order mark at its start is skipped. Returns the reason the line cannot
// be read; out then holds what was read before the problem (id, rest), for the line that
// stands in its place. Never reads outside text, whatever it holds.
std::optional<std::string> parseInputLine(std::string_view text, const std::vector<Quantity>& kinds, bool idFirst,
                                          bool firstLine, InputLine& out);

// The fields of a line (comment cut off, byte-order mark skipped when firstLine).
std::vector<std::string> splitLine(std::string_view text, bool firstLine);

} // namespace kelvane::cli

#endif
