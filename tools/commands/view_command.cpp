#include "tools/commands/view_command.h"

#include "tools/commands/command.h"
#include "tools/commands/exit_status.h"
#include "tools/core/scenario_names.h"
#include "tools/view/browser_launch.h"
#include "tools/view/http_server.h"
#include "tools/view/live_scenario.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>

namespace scenario::view {

namespace exit_status = tool::exit_status;

const char* const view_description =
    "Compiles the two text sources in memory (no compiled file is written) and\n"
    "shows the scenario on a local web page: the track plan with stations,\n"
    "signals, slowdowns and tunnels, the gradient profile, every cell with the\n"
    "source line behind it, the errors with their lines, and the timetable.\n"
    "When either file changes on disk the page follows within a moment.\n"
    "Without --name and --train they are taken from the file names\n"
    "(NAME_linea.txt and NAME_NUMBER-.txt). Runs until Ctrl-C (exit status 0).";

namespace {

bool is_loopback(const std::string& host) {
    return host == "127.0.0.1" || host == "::1";
}

}  // namespace

int run_view(const view_arguments& a, std::ostream& out, std::ostream& err) {
    const auto usage = [&err](const std::string& what) {
        err << "scenario view: " << what << "\nTry 'scenario view --help'.\n";
        return exit_status::usage;
    };
    const result<tool::named_sources> sources = tool::name_sources(a.line, a.run, a.name, a.train);
    if (!sources)
        return usage(sources.error());
    watched_sources w;
    w.line = sources->line_file;
    w.run = sources->run_file;
    w.name = sources->names.name;
    w.train = sources->names.train;
    if (sources->names.guessed)
        out << tool::describe_guess(sources->names) << "\n";
    // The files as the author typed them: the page and `compile --json` name
    // them alike.
    w.labels = {a.line, a.run};
    w.model = a.model;

    std::string host = a.host.empty() || a.host == "localhost" ? "127.0.0.1" : a.host;
    http_server* server_seen = nullptr;
    live_scenario live(w, [&server_seen](const std::string& event) {
        if (server_seen)
            server_seen->broadcast(event);
    });
    std::optional<http_server> server;
    try {
        server.emplace(host, static_cast<unsigned short>(a.port), is_loopback(host) ? "" : host, live);
    } catch (const std::exception& e) {
        err << "scenario view: " << e.what() << "\n";
        return exit_status::usage;
    }
    server_seen = &*server;
    // The watcher ends before the server goes, however this function ends.
    struct stop_watcher {
        live_scenario& live;
        ~stop_watcher() { live.stop(); }
    } const watcher{live};
    live.start();

    const std::string shown_host = host.find(':') != std::string::npos ? "[" + host + "]" : host;
    const std::string url = "http://" + shown_host + ":" + std::to_string(server->port()) + "/";
    if (!is_loopback(host))
        err << "scenario view: warning: listening on " << host
            << ", not only on this machine: anyone who can reach it can read the scenario\n";
    out << "serving " << url << " (Ctrl-C to stop)\n";
    out.flush();
    if (a.open && !open_in_browser(url))
        err << "scenario view: could not open a browser; open " << url << " yourself\n";
    server->run();
    out << "stopped\n";
    return exit_status::success;
}

namespace {
tool::command_run declare_view(CLI::App& c) {
    auto a = std::make_shared<view_arguments>();
    tool::add_required(c, "--line", a->line, "The line description text source", "FILE");
    tool::add_required(c, "--run", a->run, "The run description text source", "FILE");
    c.add_option("--name", a->name, "The scenario name (default: from the line file's name)")
        ->type_name("NAME");
    c.add_option("--train", a->train, "The train number (default: from the run file's name)")
        ->type_name("NUMBER");
    c.add_option("--port", a->port, "The port to listen on (default: a free one)")
        ->type_name("N")
        ->check(CLI::Range(0, 65535));
    c.add_option("--host", a->host, "Listen on ADDRESS instead of 127.0.0.1 (others can then read it)")
        ->type_name("ADDRESS");
    c.add_flag("--open", a->open, "Open the page in the default browser");
    tool::add_train_model_options(c, a->model);
    return [a](std::ostream& out, std::ostream& err) { return run_view(*a, out, err); };
}
}  // namespace

const tool::command view_command{"view", "Show two text sources on a local web page that follows them.",
                                 view_description, declare_view};

}  // namespace scenario::view
