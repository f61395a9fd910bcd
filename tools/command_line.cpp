#include "tools/command_line.h"

#include "common/version.h"
#include "tools/commands/command.h"
#include "tools/commands/compile_command.h"
#include "tools/commands/dump_command.h"
#include "tools/commands/exit_status.h"
#include "tools/commands/export_command.h"
#include "tools/commands/format_command.h"
#include "tools/commands/import_command.h"
#include "tools/commands/lsp_command.h"
#include "tools/commands/new_command.h"
#include "tools/commands/package_command.h"
#include "tools/commands/plan_command.h"
#include "tools/commands/sources_command.h"
#include "tools/commands/view_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>
#include <memory>
#include <new>
#include <sstream>

namespace scenario::tool {

namespace {

const char* const tool_description =
    "A tool for scenario authors: compiles a line description and a run\n"
    "description with the program's own compiler, explains every error in words\n"
    "with its file and line, and shows what the compiled files hold.\n";

// The table of commands: a new command is its own file in tools/commands/ and
// one row here. The order is the order of the tool's help.
const command* const commands[] = {&sources_command,    &new_command,  &compile_command, &check_command,
                                   &package_command,    &dump_command, &plan_command,    &format_command,
                                   &view::view_command, &lsp_command,  &import_command,  &export_command};

bool is_command(const std::string& word) {
    return std::any_of(std::begin(commands), std::end(commands),
                       [&](const command* c) { return word == c->name; });
}

// "sources, new, ... or lsp".
std::string command_names() {
    std::string names;
    const std::size_t n = std::size(commands);
    for (std::size_t i = 0; i < n; ++i)
        names += (i == 0 ? "" : i + 1 == n ? " or " : ", ") + std::string(commands[i]->name);
    return names;
}

// The list of commands in the tool's help shows the first line of each
// command's description; the command's own help shows all of it.
class command_list_formatter : public CLI::Formatter {
public:
    std::string make_subcommand(const CLI::App* sub) const override {
        std::stringstream out;
        const std::string& d = sub->get_description();
        CLI::detail::format_help(out, sub->get_display_name(true), d.substr(0, d.find('\n')), column_width_);
        return out.str();
    }
};

// Every command of the table on the parser, its help made of its summary and
// description with the exit statuses after its options; gives the runs, in
// the table's order.
std::vector<command_run> describe(CLI::App& app) {
    auto formatter = std::make_shared<command_list_formatter>();
    formatter->label("SUBCOMMAND", "COMMAND");
    app.formatter(formatter);
    app.description(tool_description);
    app.footer("'scenario COMMAND --help' (or 'scenario help COMMAND') describes each command.\n\n" +
               std::string(exit_status::help));
    app.set_version_flag("--version", std::string("scenario ") + program_version,
                         "Print the version and exit");
    app.require_subcommand(1);

    std::vector<command_run> runs;
    for (const command* c : commands) {
        CLI::App* sub = app.add_subcommand(c->name, std::string(c->summary) + "\n\n" + c->description + "\n");
        sub->group("Commands");
        sub->footer(exit_status::help);
        runs.push_back(c->declare(*sub));
    }
    return runs;
}

}  // namespace

int run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args = words;
    // `scenario help [COMMAND]` is `scenario [COMMAND] --help`.
    if (!args.empty() && args[0] == "help") {
        args.erase(args.begin());
        args.push_back("--help");
    }
    const std::string named = !args.empty() && is_command(args[0]) ? args[0] : std::string();
    const std::string who = named.empty() ? "scenario" : "scenario " + named;
    if (args.empty()) {
        err << "scenario: give a command: " << command_names() << "\nTry 'scenario --help'.\n";
        return exit_status::usage;
    }
    if (named.empty() && args[0] != "--help" && args[0] != "-h" && args[0] != "--version") {
        err << "scenario: unknown " << (args[0].rfind('-', 0) == 0 ? "option" : "command") << " '" << args[0]
            << "'\nTry 'scenario --help'.\n";
        return exit_status::usage;
    }

    CLI::App app("", "scenario");
    std::vector<command_run> runs;
    try {
        runs = describe(app);
        std::reverse(args.begin(), args.end());  // the parser takes the words last first
        app.parse(args);
    } catch (const CLI::CallForHelp&) {
        // The help of the command that was asked about, or of the tool.
        out << app.help();
        return exit_status::success;
    } catch (const CLI::CallForVersion& e) {
        out << e.what() << "\n";
        return exit_status::success;
    } catch (const CLI::ParseError& e) {
        err << who << ": " << e.what() << "\nTry '" << who << " --help'.\n";
        return exit_status::usage;
    }

    try {
        for (std::size_t i = 0; i < runs.size(); ++i)
            if (app.got_subcommand(commands[i]->name))
                return runs[i](out, err);
    } catch (const std::bad_alloc&) {
        err << who << ": out of memory\n";
    } catch (const std::exception& e) {
        err << who << ": " << e.what() << "\n";
    }
    return exit_status::usage;
}

}  // namespace scenario::tool
