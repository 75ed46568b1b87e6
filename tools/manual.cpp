// The manual page, written in roff from the same command tables as --help.
#include "manual.h"

#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>

#include "command.h"

namespace kelvane::cli {

namespace {

// Text as roff reads it literally: backslashes and minus signs escaped, and no line
// taken for a request by a leading dot or quote.
std::string roff(const std::string& text)
{
    // The non-ASCII signs the help texts use, by their roff names.
    static const std::pair<std::string_view, const char*> kSigns[] = {
        {"\xC2\xB0", "\\(de"}, {"\xE2\x80\xB2", "\\(fm"}, {"\xE2\x80\xB3", "\\(sd"}};
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        bool sign = false;
        for (const auto& [utf8, name] : kSigns) {
            if (text.compare(i, utf8.size(), utf8) == 0) {
                out += name;
                i += utf8.size() - 1;
                sign = true;
                break;
            }
        }
        if (sign) continue;
        if (c == '\\') out += "\\e";
        else if (c == '-') out += "\\-";
        else out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
    return out;
}

// Text written for --help, as roff: runs of unindented lines are filled into paragraphs,
// indented lines (tables, formulas) keep their lines, and blank lines separate paragraphs.
void writeText(std::ostream& out, const std::string& text)
{
    std::istringstream lines(text);
    bool verbatim = false;
    bool paragraph = false;
    for (std::string line; std::getline(lines, line);) {
        const bool indented = !line.empty() && line[0] == ' ';
        if (line.empty()) {
            if (verbatim) out << ".fi\n";
            verbatim = false;
            paragraph = false;
            continue;
        }
        if (indented != verbatim) {
            out << (indented ? ".nf\n" : ".fi\n");
            verbatim = indented;
        }
        if (!paragraph) out << ".PP\n";
        paragraph = true;
        out << roff(line) << '\n';
    }
    if (verbatim) out << ".fi\n";
}

void writeCommand(std::ostream& out, const Command& c)
{
    out << ".SS " << c.name << '\n' << roff(c.summary) << ".\n.PP\n.nf\n";
    for (const char* s : c.synopsis) out << "\\fBkelvane\\fR " << roff(s) << '\n';
    out << ".fi\n";
    writeText(out, c.description);
    out << ".PP\nOptions:\n";
    for (const Option& o : allOptions(c)) {
        out << ".TP\n\\fB" << roff(o.name) << "\\fR";
        if (o.value) out << " \\fI" << roff(o.value) << "\\fR";
        std::string help = o.help;
        for (char& ch : help) {
            if (ch == '\n') ch = ' ';
        }
        out << '\n' << roff(help) << '\n';
    }
    if (*c.notes) writeText(out, c.notes);
    if (!c.examples.empty()) {
        out << ".PP\nExamples:\n.PP\n.RS\n.nf\n";
        for (const char* e : c.examples) out << roff(e) << '\n';
        out << ".fi\n.RE\n";
    }
}

} // namespace

void printManual(std::ostream& out)
{
    out << ".TH KELVANE 1 \"\" \"kelvane\" \"User Commands\"\n"
           ".SH NAME\n"
           "kelvane \\- coordinate conversions for surveying and mapping, one point per line\n"
           ".SH SYNOPSIS\n"
           ".B kelvane\n"
           ".I command\n"
           "[\\fIoptions\\fR]\n"
           ".br\n"
           ".B kelvane\n"
           ".I command\n"
           ".B \\-\\-help\n"
           ".SH DESCRIPTION\n";
    writeText(out, kProgramDescription);
    out << ".SH COMMANDS\n";
    for (const Command* c : commands()) writeCommand(out, *c);
    out << ".SH EXIT STATUS\n"
           ".TP\n0\nevery line was converted (or the command's action succeeded)\n"
           ".TP\n1\nat least one input line could not be converted; the others were\n"
           ".TP\n2\nthe command could not run: a bad option, an unknown zone or model, an\n"
           "input file that cannot be opened\n"
           ".SH EXAMPLES\n"
           ".nf\n";
    for (const Command* c : commands()) {
        for (const char* e : c->examples) out << roff(e) << '\n';
    }
    out << ".fi\n";
}

} // namespace kelvane::cli
