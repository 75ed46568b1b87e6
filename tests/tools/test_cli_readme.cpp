// Every console example of the README runs as shown: each "$ " line is run from the source
// folder with this build's kelvane, and its standard output must be the lines below it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/cli_runner.h"

namespace {

struct Example {
    std::string command;
    std::string output;
};

std::vector<Example> readmeExamples()
{
    std::ifstream readme(std::string(KELVANE_SOURCE_DIR) + "/README.md");
    std::vector<Example> examples;
    bool inBlock = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.rfind("```", 0) == 0) {
            inBlock = line == "```console";
        } else if (inBlock && line.rfind("$ ", 0) == 0) {
            examples.push_back({line.substr(2), ""});
        } else if (inBlock && !examples.empty()) {
            examples.back().output += line + "\n";
        }
    }
    return examples;
}

// The command with this build's program in place of each "kelvane" it runs.
std::string withProgram(const std::string& command)
{
    std::string out;
    for (std::size_t i = 0; i < command.size();) {
        const bool starts = i == 0 || (i >= 2 && command.compare(i - 2, 2, "| ") == 0);
        if (starts && command.compare(i, 8, "kelvane ") == 0) {
            out += std::string("\"") + KELVANE_CLI_PATH + "\" ";
            i += 8;
        } else {
            out += command[i++];
        }
    }
    return out;
}

} // namespace

TEST(CliReadme, ConsoleExamplesRunAsShown)
{
    const std::vector<Example> examples = readmeExamples();
    ASSERT_GE(examples.size(), 6u);
    const std::string out = kelvane_test::scratchPath("readme_out.txt");
    for (const Example& e : examples) {
        const std::string cmd = "cd \"" + std::string(KELVANE_SOURCE_DIR) + "\" && " + withProgram(e.command) + " >\"" +
                                out + "\" 2>/dev/null";
        std::system(cmd.c_str()); // some examples end with status 1: they show a bad line
        EXPECT_EQ(kelvane_test::readWholeFile(out), e.output) << e.command;
    }
    std::remove(out.c_str());
}
