// Runs the kelvane command-line program as a user would, feeding a text to its standard
// input and capturing standard output, standard error and the exit status.
#ifndef KELVANE_TESTS_SUPPORT_CLI_RUNNER_H
#define KELVANE_TESTS_SUPPORT_CLI_RUNNER_H

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "process_token.h"

namespace kelvane_test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A fresh scratch path below the build tree's tests/tmp folder.
inline std::string scratchPath(const std::string& name)
{
    return std::string(KELVANE_TEST_TMPDIR) + "/" + processToken() + "_" + name;
}

// args is appended to the program path as it stands (the caller quotes where needed).
inline CliResult runCli(const std::string& args, const std::string& input = std::string())
{
    const std::string in = scratchPath("cli_in.txt");
    const std::string out = scratchPath("cli_out.txt");
    const std::string err = scratchPath("cli_err.txt");
    {
        std::ofstream f(in, std::ios::binary);
        f << input;
    }
    std::string cmd = std::string("\"") + KELVANE_CLI_PATH + "\" " + args + " <\"" + in +
                      "\" >\"" + out + "\" 2>\"" + err + "\"";
#if defined(_WIN32)
    cmd = "\"" + cmd + "\""; // cmd.exe /c drops the first and the last quote of the line
#endif
    CliResult r;
    const int raw = std::system(cmd.c_str());
#if defined(WIFEXITED)
    r.status = (raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1;
#else
    r.status = raw; // Windows: std::system gives the program's exit status itself
#endif
    r.out = readWholeFile(out);
    r.err = readWholeFile(err);
    std::remove(in.c_str());
    std::remove(out.c_str());
    std::remove(err.c_str());
    return r;
}

// The lines of a text, without their newlines.
inline std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> v;
    std::istringstream s(text);
    for (std::string l; std::getline(s, l);) v.push_back(l);
    return v;
}

// The numbers of one output line, in order (reading stops at the first field that is not one).
inline std::vector<double> numbers(const std::string& line)
{
    std::istringstream s(line);
    std::vector<double> v;
    for (double x; s >> x;) v.push_back(x);
    return v;
}

} // namespace kelvane_test

#endif
