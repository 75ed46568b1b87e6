#include "line_input.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace kelvane::cli {

namespace {

struct Span {
    std::size_t begin;
    std::size_t end;
};

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == ';' || c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::vector<Span> fieldSpans(std::string_view text, bool firstLine)
{
    std::vector<Span> spans;
    std::size_t i = firstLine && text.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
    while (i < text.size()) {
        while (i < text.size() && isSeparator(text[i])) ++i;
        if (i >= text.size() || text[i] == '#') break;
        const std::size_t begin = i;
        while (i < text.size() && !isSeparator(text[i])) ++i;
        spans.push_back({begin, i});
    }
    return spans;
}

// A field as a message shows it: bytes that are not printable ASCII as \xNN, and cut
// short when long.
std::string shown(std::string_view field)
{
    constexpr std::size_t kMaxShown = 40;
    std::string s;
    for (std::size_t i = 0; i < field.size() && i < kMaxShown; ++i) {
        const unsigned char c = static_cast<unsigned char>(field[i]);
        if (c >= 0x20 && c < 0x7F) {
            s += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            s += hex;
        }
    }
    if (field.size() > kMaxShown) s += "...";
    return s;
}

// Length of the decimal number at the start of s: digits with an optional fraction, or
// a fraction alone; with exponent when allowed. 0 when there is none.
std::size_t decimalLength(std::string_view s, bool exponent)
{
    std::size_t i = 0;
    while (i < s.size() && isDigit(s[i])) ++i;
    const std::size_t whole = i;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) ++i;
    }
    if (whole == 0 && i <= 1) return 0; // no digit at all
    if (exponent && i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        const std::size_t digits = j;
        while (j < s.size() && isDigit(s[j])) ++j;
        if (j > digits) i = j;
    }
    return i;
}

// The value of a decimal number already checked by decimalLength.
double decimalValue(std::string_view s)
{
    const std::string text(s);
    return std::strtod(text.c_str(), nullptr);
}

std::optional<std::string> plainDecimal(std::string_view field, double& v)
{
    std::string_view body = field;
    if (!body.empty() && (body[0] == '+' || body[0] == '-')) body.remove_prefix(1);
    if (body.empty() || decimalLength(body, true) != body.size()) return std::string("is not a number");
    const std::string text(field);
    errno = 0;
    const double x = std::strtod(text.c_str(), nullptr);
    if (errno == ERANGE || !std::isfinite(x)) return std::string("is out of range");
    v = x;
    return std::nullopt;
}

// Consumes a marker from the front of s when it is one of the given spellings.
bool consume(std::string_view& s, std::initializer_list<std::string_view> spellings)
{
    for (std::string_view m : spellings) {
        if (s.substr(0, m.size()) == m) {
            s.remove_prefix(m.size());
            return true;
        }
    }
    return false;
}

// Degrees, minutes and seconds without sign or hemisphere: "45:30:15", "45d30'15.2\"",
// "45°30'", "45d", "45:30.5". Each part is marked (degree sign or d; ' or the prime;
// " or '' or the double prime) or, with colons, placed by its position; the parts come
// in that order, the last one may go unmarked, and only the last may have a fraction.
std::optional<std::string> sexagesimal(std::string_view s, double& degrees)
{
    const std::string notNumber = "is not a number";
    double part[3] = {0.0, 0.0, 0.0};
    int lastUnit = -1;
    bool fraction = false;
    const bool colons = s.find(':') != std::string_view::npos;
    while (!s.empty()) {
        const std::size_t n = decimalLength(s, false);
        if (n == 0 || fraction) return notNumber;
        fraction = s.substr(0, n).find('.') != std::string_view::npos;
        const double value = decimalValue(s.substr(0, n));
        s.remove_prefix(n);
        int unit = lastUnit + 1;
        if (colons) {
            if (!s.empty() && (!consume(s, {":"}) || s.empty())) return notNumber;
        } else if (!s.empty()) {
            if (consume(s, {"d", "D", "\xC2\xB0", "\xC2\xBA"})) unit = 0;             // d, degree sign, ordinal sign
            else if (consume(s, {"''", "\"", "\xE2\x80\xB3"})) unit = 2;             // seconds
            else if (consume(s, {"'", "\xE2\x80\xB2"})) unit = 1;                    // minutes
            else return notNumber;
        }
        if (unit <= lastUnit || unit > 2) return notNumber;
        part[unit] = value;
        lastUnit = unit;
    }
    if (lastUnit < 0) return notNumber;
    if (part[1] >= 60.0) return std::string("has 60 or more minutes");
    if (part[2] >= 60.0) return std::string("has 60 or more seconds");
    degrees = part[0] + part[1] / 60.0 + part[2] / 3600.0;
    if (!std::isfinite(degrees)) return std::string("is out of range");
    return std::nullopt;
}

bool isHemisphere(char c)
{
    switch (c) {
    case 'N': case 'S': case 'E': case 'W': case 'n': case 's': case 'e': case 'w': return true;
    default: return false;
    }
}

std::optional<std::string> angle(std::string_view field, Quantity kind, double& v)
{
    std::string_view body = field;
    char hemisphere = 0;
    if (!body.empty() && isHemisphere(body.front())) {
        hemisphere = body.front();
        body.remove_prefix(1);
    } else if (!body.empty() && isHemisphere(body.back()) && body.size() > 1) {
        hemisphere = body.back();
        body.remove_suffix(1);
    }
    double x = 0.0;
    char sign = 0;
    if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
        sign = body[0];
        body.remove_prefix(1);
    }
    if (body.empty()) return std::string("is not a number");
    if (decimalLength(body, true) == body.size()) {
        x = decimalValue(body);
        if (!std::isfinite(x)) return std::string("is out of range");
    } else if (auto problem = sexagesimal(body, x)) {
        return problem;
    }
    if (hemisphere) {
        const char h = static_cast<char>(hemisphere & ~0x20); // upper case
        const bool northSouth = h == 'N' || h == 'S';
        if (kind == Quantity::Angle) return std::string("has a hemisphere letter, which only latitudes and longitudes take");
        if (kind == Quantity::Latitude && !northSouth) return std::string("is a latitude with the letter of a longitude (E or W)");
        if (kind == Quantity::Longitude && northSouth) return std::string("is a longitude with the letter of a latitude (N or S)");
        if (sign) return std::string("has both a sign and a hemisphere letter");
        if (h == 'S' || h == 'W') x = -x;
    } else if (sign == '-') {
        x = -x;
    }
    v = x;
    return std::nullopt;
}

bool hexadecimal(std::string_view field)
{
    if (!field.empty() && (field[0] == '+' || field[0] == '-')) field.remove_prefix(1);
    return field.size() >= 2 && field[0] == '0' && (field[1] == 'x' || field[1] == 'X');
}

} // namespace

std::optional<std::string> parseField(std::string_view field, Quantity kind, double& v)
{
    if (hexadecimal(field)) return std::string("is hexadecimal; numbers are read in decimal only");
    const bool isAngle = kind == Quantity::Latitude || kind == Quantity::Longitude || kind == Quantity::Angle;
    if (isAngle) return angle(field, kind, v);
    double x = 0.0;
    if (auto problem = plainDecimal(field, x)) {
        double unused = 0.0;
        if (!angle(field, Quantity::Latitude, unused) || !angle(field, Quantity::Longitude, unused)) {
            return std::string("is written as an angle; this field takes a plain decimal number");
        }
        return problem;
    }
    v = x;
    return std::nullopt;
}

std::vector<std::string> splitLine(std::string_view text, bool firstLine)
{
    std::vector<std::string> fields;
    for (const Span& s : fieldSpans(text, firstLine)) fields.emplace_back(text.substr(s.begin, s.end - s.begin));
    return fields;
}

std::optional<std::string> parseInputLine(std::string_view text, const std::vector<Quantity>& kinds, bool idFirst,
                                          bool firstLine, InputLine& out)
{
    out = InputLine{};
    const std::vector<Span> spans = fieldSpans(text, firstLine);
    const auto field = [&](std::size_t k) { return text.substr(spans[k].begin, spans[k].end - spans[k].begin); };
    if (spans.empty()) {
        out.empty = true;
        return std::nullopt;
    }
    std::size_t first = 0;
    if (idFirst) out.id = std::string(field(first++));
    const std::size_t found = spans.size() - first;
    if (found > kinds.size()) {
        const std::size_t k = first + kinds.size();
        out.rest = std::string(text.substr(spans[k].begin, spans.back().end - spans[k].begin));
    }
    if (found < kinds.size()) {
        return "expected " + std::to_string(kinds.size()) + " numbers" + (idFirst ? " after the point ID" : "") +
               ", found " + std::to_string(found) + (found == 1 ? " field" : " fields");
    }
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        const std::string_view f = field(first + k);
        double v = 0.0;
        if (auto problem = parseField(f, kinds[k], v)) {
            return "field " + std::to_string(first + k + 1) + " ('" + shown(f) + "') " + *problem;
        }
        out.values.push_back(v);
        out.fields.emplace_back(f);
    }
    return std::nullopt;
}

} // namespace kelvane::cli
