// kelvane as a whole: the list of commands, --help of every command and the manual page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "kelvane/ellipsoids.h"
#include "support/cli_runner.h"

using kelvane_test::lines;
using kelvane_test::runCli;
using kelvane_test::scratchPath;

namespace {

// The commands the program lists, from its usage text.
std::vector<std::string> listedCommands()
{
    std::vector<std::string> names;
    bool inList = false;
    for (const std::string& l : lines(runCli("--help").out)) {
        if (l == "commands:") inList = true;
        else if (inList && l.size() > 2) names.push_back(l.substr(2, l.find(' ', 2) - 2));
    }
    return names;
}

} // namespace

TEST(CliProgram, EveryCommandHasHelpAndRefusesUnknownOptions)
{
    const std::vector<std::string> names = listedCommands();
    ASSERT_GE(names.size(), 8u);
    for (const std::string& name : names) {
        const auto help = runCli(name + " --help");
        EXPECT_EQ(help.status, 0) << name;
        EXPECT_EQ(help.out.rfind("usage: kelvane " + name, 0), 0u) << name;
        EXPECT_NE(help.out.find("  --help "), std::string::npos) << name;
        const auto bad = runCli(name + " --no-such-option");
        EXPECT_EQ(bad.status, 2) << name;
        EXPECT_NE(bad.err.find("unknown argument '--no-such-option'"), std::string::npos) << name;
    }
    EXPECT_EQ(runCli("").status, 2);
    EXPECT_EQ(runCli("nosuch").status, 2);
    EXPECT_EQ(runCli("utm --zone 31 --zone 32", "0 3\n").status, 2); // repeated option
    EXPECT_EQ(runCli("utm --inverse=yes --zone 31", "0 3\n").status, 2);
    EXPECT_EQ(runCli("utm --zone", "0 3\n").status, 2);
}

// The manual page covers every command and renders without a warning.
TEST(CliProgram, ManualPage)
{
    const auto man = runCli("--manpage");
    ASSERT_EQ(man.status, 0);
    EXPECT_EQ(man.out.rfind(".TH KELVANE 1", 0), 0u);
    for (const std::string& name : listedCommands()) EXPECT_NE(man.out.find(".SS " + name + "\n"), std::string::npos) << name;
    EXPECT_NE(man.out.find(".SH EXIT STATUS"), std::string::npos);

    if (std::system("command -v groff >/dev/null 2>&1") != 0) GTEST_SKIP() << "groff is not installed";
    const std::string page = scratchPath("kelvane.1"), warnings = scratchPath("groff.err");
    std::ofstream(page) << man.out;
    const std::string cmd = "groff -man -Tutf8 -ww -z \"" + page + "\" 2>\"" + warnings + "\"";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    EXPECT_EQ(kelvane_test::readWholeFile(warnings), "");
    std::remove(page.c_str());
    std::remove(warnings.c_str());
}

// --ellipsoid offers every ellipsoid of the library's table, and each gives its own result.
TEST(CliProgram, EllipsoidOptionNamesTheLibraryTable)
{
    const std::string help = runCli("ecef --help").out;
    std::vector<std::string> seen;
    for (int i = 0; i < namedEllipsoidCount(); ++i) {
        const std::string name = namedEllipsoidAt(i)->name;
        EXPECT_NE(help.find(name), std::string::npos) << name;
        const auto r = runCli("ecef --ellipsoid " + name, "0 0 0\n");
        EXPECT_EQ(r.status, 0) << name;
        seen.push_back(r.out);
    }
    EXPECT_EQ(seen.at(0), "6378137.0000 0.0000 0.0000\n"); // GRS 80, the default
    EXPECT_EQ(runCli("ecef", "0 0 0\n").out, seen.at(0));
}
