// The shared input line reader and the shared output options of the point commands.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/cli_runner.h"
#include "tools/line_input.h"

namespace {

using kelvane::cli::InputLine;
using kelvane::cli::parseField;
using kelvane::cli::parseInputLine;
using kelvane::cli::Quantity;
using kelvane_test::lines;
using kelvane_test::runCli;

constexpr Quantity kLat = Quantity::Latitude, kLon = Quantity::Longitude, kAngle = Quantity::Angle,
                   kLength = Quantity::Length;

struct Spelling {
    const char* text;
    Quantity kind;
    double value;       // when read
    const char* refusal; // part of the reason when refused, else nullptr
};

const Spelling kSpellings[] = {
    {"45.5", kLat, 45.5, nullptr},
    {"-45.5", kLat, -45.5, nullptr},
    {"+.5", kLength, 0.5, nullptr},
    {"1e5", kLength, 1e5, nullptr},
    {"1.5E-3", kLon, 0.0015, nullptr},
    {"45d30'15\"", kLat, 45.50416666666667, nullptr},
    {"45d30'15\"N", kLat, 45.50416666666667, nullptr},
    {"N45d30'15\"", kLat, 45.50416666666667, nullptr},
    {"45d30'15\"S", kLat, -45.50416666666667, nullptr},
    {"45\xC2\xB0" "30'15.2\"", kLat, 45.504222222222225, nullptr},     // degree sign
    {"45\xC2\xB0" "30\xE2\x80\xB2" "15\xE2\x80\xB3", kLat, 45.50416666666667, nullptr}, // prime, double prime
    {"45:30:15", kLat, 45.50416666666667, nullptr},
    {"-45:30", kAngle, -45.5, nullptr},
    {"45:30.5", kLon, 45.50833333333333, nullptr},
    {"45d30.5'", kLon, 45.50833333333333, nullptr},
    {"45d30'15''", kLon, 45.50416666666667, nullptr},
    {"45d", kLon, 45.0, nullptr},
    {"12.5W", kLon, -12.5, nullptr},
    {"w12.5", kLon, -12.5, nullptr},
    {"E12.5", kLon, 12.5, nullptr},
    {"0x10", kLength, 0, "hexadecimal"},
    {"0x10", kLat, 0, "hexadecimal"},
    {"-0X1p3", kLon, 0, "hexadecimal"},
    {"inf", kLength, 0, "not a number"},
    {"nan", kLat, 0, "not a number"},
    {"1e999", kLength, 0, "out of range"},
    {"1_000", kLength, 0, "not a number"},
    {"1.2.3", kLength, 0, "not a number"},
    {"+-1", kLat, 0, "not a number"},
    {"", kLength, 0, "not a number"},
    {"N", kLat, 0, "not a number"},
    {"45E", kLat, 0, "letter of a longitude"},
    {"45N", kLon, 0, "letter of a latitude"},
    {"45N", kAngle, 0, "only latitudes and longitudes"},
    {"-45S", kLat, 0, "both a sign and a hemisphere"},
    {"N45S", kLat, 0, "not a number"},
    {"45d60'", kLat, 0, "60 or more minutes"},
    {"45d30'60\"", kLat, 0, "60 or more seconds"},
    {"45.5d30'", kLat, 0, "not a number"},
    {"45'30d", kLat, 0, "not a number"},
    {"45:30:15:1", kLat, 0, "not a number"},
    {"45:", kLat, 0, "not a number"},
    {"45d30'15\"", kLength, 0, "plain decimal"},
    {"12N", kLength, 0, "plain decimal"},
};

TEST(CliInput, SpellingsOfNumbersAndAngles)
{
    for (const Spelling& s : kSpellings) {
        double v = -999.0;
        const auto problem = parseField(s.text, s.kind, v);
        if (s.refusal) {
            ASSERT_TRUE(problem.has_value()) << s.text;
            EXPECT_NE(problem->find(s.refusal), std::string::npos) << s.text << ": " << *problem;
            EXPECT_EQ(v, -999.0) << s.text;
        } else {
            ASSERT_FALSE(problem.has_value()) << s.text << ": " << *problem;
            EXPECT_NEAR(v, s.value, 1e-12) << s.text;
        }
    }
}

// Separators, the byte-order mark, comments, IDs and the columns that pass through.
TEST(CliInput, LinesAndTheirFields)
{
    InputLine l;
    EXPECT_FALSE(parseInputLine("\xEF\xBB\xBF" "52.5;4.25\t# a comment", {kLat, kLon}, false, true, l));
    EXPECT_EQ(l.values, (std::vector<double>{52.5, 4.25}));
    EXPECT_EQ(l.rest, "");
    EXPECT_TRUE(parseInputLine("\xEF\xBB\xBF" "52.5 4.25", {kLat, kLon}, false, false, l)); // only on line 1
    EXPECT_NE(parseInputLine("\xEF\xBB\xBF" "5 4", {kLat, kLon}, false, false, l)->find("\\xEF\\xBB\\xBF"), std::string::npos);

    EXPECT_FALSE(parseInputLine("P7, 52d30'N , 4d15'E, 12.5 ;kerb #x", {kLat, kLon}, true, false, l));
    EXPECT_EQ(l.id, "P7");
    EXPECT_NEAR(l.values.at(1), 4.25, 1e-15);
    EXPECT_EQ(l.fields.at(0), "52d30'N");
    EXPECT_EQ(l.rest, "12.5 ;kerb");

    for (const char* empty : {"", "   ", "# all comment", " \t,;\r"}) {
        EXPECT_FALSE(parseInputLine(empty, {kLat, kLon}, false, false, l)) << empty;
        EXPECT_TRUE(l.empty) << empty;
    }
    const auto shortLine = parseInputLine("P1 52.5", {kLat, kLon}, true, false, l);
    ASSERT_TRUE(shortLine);
    EXPECT_EQ(*shortLine, "expected 2 numbers after the point ID, found 1 field");
    const auto bad = parseInputLine("52.5 0x10 h=3", {kLat, kLon}, false, false, l);
    ASSERT_TRUE(bad);
    EXPECT_EQ(*bad, "field 2 ('0x10') is hexadecimal; numbers are read in decimal only");
    EXPECT_EQ(l.rest, "h=3"); // kept for the placeholder line
}

const char* const kField = "# site survey, 6 Dec\n"
                           "P1 52d30'N 4d15'E 12.30 kerb\n"
                           "P2 52.51 x 11.80\n"
                           "P3 52.52N 4.26E\n";

TEST(CliInput, PassThroughPlaceholdersAndIds)
{
    auto r = runCli("utm --zone 31 --id-first", kField);
    EXPECT_EQ(r.status, 1);
    auto out = lines(r.out);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], "P1 5817386.3794 584852.1002 0.9996883765 0.9917504211 31 12.30 kerb");
    EXPECT_EQ(out[1], "P2 * * * * * 11.80");
    EXPECT_EQ(out[2].substr(0, 3), "P3 ");
    EXPECT_EQ(r.err, "kelvane utm: line 3: field 3 ('x') is not a number\n");

    r = runCli("utm --zone 31 --id-first --no-passthrough --skip-bad", kField);
    EXPECT_EQ(r.status, 1);
    out = lines(r.out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], "P1 5817386.3794 584852.1002 0.9996883765 0.9917504211 31");
}

TEST(CliInput, PrecisionDmsAndFormats)
{
    const std::string point = "52d30'N 4d15'E h=12\n";
    EXPECT_EQ(runCli("utm --zone 31 --precision 2", point).out, "5817386.38 584852.10 0.99968838 0.99175042 31 h=12\n");
    EXPECT_EQ(runCli("utm --zone 31 --inverse --dms --precision 3", "5817386.3794 584852.1002\n").out,
              "52d30'00.0000\"N 4d15'00.0000\"E 0.999688376 0d59'30.3015\" 31\n");
    EXPECT_EQ(runCli("utm --zone 31 --precision 13", point).status, 2);
    EXPECT_EQ(runCli("utm --zone 31 --format xml", point).status, 2);

    auto r = runCli("utm --zone 31 --format csv --id-first", "P1 52.5 4.25 \"kerb, east\"\nP2 91 0\n");
    EXPECT_EQ(r.out, "id,northing,easting,scale,convergence,zone,extra\n"
                     "P1,5817386.3794,584852.1002,0.9996883765,0.9917504211,31,\"\"\"kerb, east\"\"\"\n"
                     "P2,,,,,,\n");
    r = runCli("utm --zone 31 --format json --dms", "52.5 4.25 kerb\n91 0\n");
    EXPECT_EQ(r.out, "{\"line\":1,\"northing\":5817386.3794,\"easting\":584852.1002,\"scale\":0.9996883765,"
                     "\"convergence\":\"0d59'30.30152\\\"\",\"zone\":31,\"extra\":\"kerb\"}\n"
                     "{\"line\":2,\"error\":\"latitude 91 is outside -90..90\"}\n");
}

// What comes out in degrees-minutes-seconds reads back in as the same point (the scale
// and convergence after it pass through, or are dropped).
TEST(CliInput, DmsOutputReadsBack)
{
    const auto geo = runCli("spc83 --zone 0101 --inverse --dms", "166607.5100 278742.3617\n");
    ASSERT_EQ(geo.status, 0) << geo.err;
    const auto back = runCli("spc83 --zone 0101 --no-passthrough", geo.out);
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(back.out.substr(0, 24), "166607.5100 278742.3617 ");
}

} // namespace
