#include "command.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iostream>

#include "points.h"

namespace kelvane::cli {

const char* const kProgramDescription =
    "Reads one point per line from standard input (or --input FILE), writes one result\n"
    "per line. Longitudes are positive east; lengths are metres (US survey feet for\n"
    "spc27; --units chooses for the state planes).\n"
    "\n"
    "Input: fields are separated by blanks, tabs, commas or semicolons. A field starting\n"
    "with '#' begins a comment; lines without fields are skipped; a UTF-8 byte-order mark\n"
    "is ignored. Numbers are decimal (12, -3.5, .5, 1e5); hexadecimal (0x10) and other\n"
    "spellings are refused. Angles are decimal degrees or degrees, minutes and seconds:\n"
    "\n"
    "  45.504    45d30'15\"    45\xC2\xB0" "30'15.2\"    45:30:15    45d30.25'    -45:30\n"
    "  45d30'15\"N   N45.504   12.5W   W12d30'   (hemisphere letter before or after)\n"
    "\n"
    "A hemisphere letter takes the place of the sign: S and W are negative; N and S belong\n"
    "to latitudes, E and W to longitudes. Fields after the numbers a command needs pass\n"
    "through to the end of the output line (--no-passthrough drops them); --id-first takes\n"
    "the first field as the point's ID and writes it first.\n"
    "\n"
    "Output: one line per input line. A line that cannot be converted is named with its\n"
    "number on standard error and written as '*' for each number, then its pass-through\n"
    "fields (--skip-bad writes nothing for it); the exit status is then 1. --precision N\n"
    "sets the decimals of lengths (angles and scales follow), --dms writes angles in\n"
    "degrees, minutes and seconds, and --format csv (a header row; empty cells for a bad\n"
    "line) or --format json (one object per line with its line number, or its error)\n"
    "change the layout.\n";

namespace {

std::vector<const Command*>& registry()
{
    static std::vector<const Command*> all;
    return all;
}

const Option kHelpOption{"--help", nullptr, "this text"};
const Option kInputOption{"--input", "FILE", "read FILE instead of standard input"};

bool isHelp(const char* arg) { return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0; }

// A lone "-" and negative numbers are arguments, not options.
bool isOption(const std::string& arg)
{
    return arg.size() > 1 && arg[0] == '-' &&
           !(std::isdigit(static_cast<unsigned char>(arg[1])) || arg[1] == '.');
}

const Option* findOption(const std::vector<Option>& table, const std::string& name)
{
    for (const Option& o : table) {
        if (name == o.name) return &o;
    }
    return nullptr;
}

std::string label(const Option& o) { return std::string(o.name) + (o.value ? std::string(" ") + o.value : ""); }

} // namespace

Registration::Registration(const Command& command) { registry().push_back(&command); }

std::vector<const Command*> commands()
{
    std::vector<const Command*> all = registry();
    std::stable_sort(all.begin(), all.end(), [](const Command* a, const Command* b) {
        return a->order != b->order ? a->order < b->order : std::strcmp(a->name, b->name) < 0;
    });
    return all;
}

const Command* findCommand(const std::string& name)
{
    for (const Command* c : registry()) {
        if (name == c->name) return c;
    }
    return nullptr;
}

std::vector<Option> allOptions(const Command& command)
{
    std::vector<Option> table = command.options;
    if (command.list) table.push_back({"--list", nullptr, command.listHelp});
    if (command.input != Input::None) table.push_back(kInputOption);
    if (command.input == Input::Points) {
        const std::vector<Option>& shared = pointOptions();
        table.insert(table.end(), shared.begin(), shared.end());
    }
    table.push_back(kHelpOption);
    return table;
}

std::optional<std::string> Invocation::value(const std::string& option) const
{
    const auto it = values_.find(option);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

bool Invocation::anyGiven() const
{
    if (!positionals_.empty()) return true;
    for (const auto& entry : values_) {
        if (entry.first != "--list") return true;
    }
    return false;
}

Invocation Invocation::action(const std::string& action) const
{
    Invocation named = *this;
    named.name_ += " " + action;
    return named;
}

int Invocation::usageError(const std::string& message) const { return cli::usageError(name_, message); }

std::optional<Invocation> Invocation::parse(const Command& command, int argc, char** argv)
{
    Invocation inv;
    inv.command_ = &command;
    inv.name_ = argc > 0 ? argv[0] : command.name;
    const std::vector<Option> table = allOptions(command);
    const auto refuse = [&](const std::string& message) -> std::optional<Invocation> {
        cli::usageError(inv.name_, message);
        return std::nullopt;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!isOption(arg)) {
            if (!command.arguments) return refuse("unexpected argument '" + arg + "' (see --help)");
            inv.positionals_.push_back(arg);
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const Option* option = findOption(table, name);
        if (option == nullptr) return refuse("unknown argument '" + arg + "' (see --help)");
        if (inv.values_.count(name)) return refuse("option " + name + " is given more than once");
        if (option->value == nullptr) {
            if (equals != std::string::npos) return refuse("option " + name + " takes no value");
            inv.values_[name] = "";
        } else if (equals != std::string::npos) {
            inv.values_[name] = arg.substr(equals + 1);
        } else if (i + 1 < argc) {
            inv.values_[name] = argv[++i];
        } else {
            return refuse("option " + name + " needs a value");
        }
    }
    return inv;
}

void printHelp(const Command& command, std::ostream& out)
{
    for (std::size_t i = 0; i < command.synopsis.size(); ++i) {
        out << (i == 0 ? "usage: " : "       ") << "kelvane " << command.synopsis[i] << '\n';
    }
    out << '\n' << command.description;
    const std::vector<Option> table = allOptions(command);
    std::size_t width = 0;
    for (const Option& o : table) width = std::max(width, label(o).size());
    out << "\noptions:\n";
    for (const Option& o : table) {
        const std::string name = label(o);
        std::string pad(width - name.size() + 2, ' ');
        out << "  " << name << pad;
        for (const char* p = o.help; *p; ++p) {
            out << *p;
            if (*p == '\n') out << std::string(width + 4, ' ');
        }
        out << '\n';
    }
    if (*command.notes) out << '\n' << command.notes;
    if (!command.examples.empty()) {
        out << "\nexamples:\n";
        for (const char* e : command.examples) out << "  " << e << '\n';
    }
}

int runCommand(const Command& command, int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (isHelp(argv[i])) {
            printHelp(command, std::cout);
            return kExitOk;
        }
    }
    const std::optional<Invocation> inv = Invocation::parse(command, argc, argv);
    if (!inv) return kExitUsage;
    if (command.list && inv->flag("--list")) {
        if (inv->anyGiven()) return inv->usageError("--list takes no other option");
        return command.list();
    }
    return command.run(*inv);
}

int usageError(const std::string& command, const std::string& message)
{
    std::cerr << "kelvane " << command << ": " << message << '\n';
    return kExitUsage;
}

} // namespace kelvane::cli
