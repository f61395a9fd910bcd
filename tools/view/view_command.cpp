#include "tools/view/view_command.h"

#include "tools/compile_command.h"
#include "tools/exit_status.h"
#include "tools/file_io.h"
#include "tools/scenario_names.h"
#include "tools/text_encoding.h"
#include "tools/view/browser_launch.h"
#include "tools/view/http_server.h"
#include "tools/view/live_scenario.h"

#include <charconv>
#include <exception>
#include <filesystem>
#include <optional>

namespace scenario::view {

namespace fs = std::filesystem;
namespace uscita = strumento::uscita;

const strumento::opzioni_ammesse view_options{{"--line", "--run", "--name", "--train", "--port", "--host"},
                                              {"--open"}};

const char* const view_help =
    "Usage: scenario view --line FILE --run FILE [--name NAME --train NUMBER]\n"
    "                     [--port N] [--host ADDRESS] [--open]\n"
    "\n"
    "Compiles the two text sources in memory (no compiled file is written) and\n"
    "shows the scenario on a local web page: the track plan with stations,\n"
    "signals, slowdowns and tunnels, the gradient profile, every cell with the\n"
    "source line behind it, the errors with their lines, and the timetable.\n"
    "When either file changes on disk the page follows within a moment.\n"
    "\n"
    "Without --name and --train they are taken from the file names\n"
    "(NAME_linea.txt and NAME_NUMBER-.txt).\n"
    "\n"
    "  --port N        the port to listen on (default: a free one)\n"
    "  --host ADDRESS  listen on ADDRESS instead of 127.0.0.1 (other machines\n"
    "                  can then read the scenario)\n"
    "  --open          open the page in the default browser\n"
    "\n"
    "Runs until Ctrl-C. Exit status: 0 stopped, 2 usage error or no port.\n";

namespace {

std::optional<unsigned short> port_of(const std::string& text) {
    unsigned value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size() || value > 65535)
        return std::nullopt;
    return static_cast<unsigned short>(value);
}

bool is_loopback(const std::string& host) {
    return host == "127.0.0.1" || host == "::1";
}

}  // namespace

int view_command(const strumento::argomenti& a, std::ostream& out, std::ostream& err) {
    const auto usage = [&err](const std::string& what) {
        err << "scenario view: " << what << "\nTry 'scenario view --help'.\n";
        return uscita::uso;
    };
    if (!a.valore("--line") || !a.valore("--run"))
        return usage(!a.valore("--line") ? "missing --line" : "missing --run");
    if (!a.posizionali.empty())
        return usage("unexpected argument " + a.posizionali.front());

    watched_sources w;
    w.line = fs::path(*a.valore("--line"));
    w.run = fs::path(*a.valore("--run"));
    const tool::names_result names =
        tool::complete_names(w.line, w.run, a.valore("--name") ? *a.valore("--name") : "",
                             a.valore("--train") ? *a.valore("--train") : "");
    if (!names.names)
        return usage(names.error);
    w.name = names.names->name;
    w.train = names.names->train;
    for (const auto& [what, value] :
         {std::pair{"the scenario name", &w.name}, std::pair{"the train number", &w.train}})
        if (auto wrong = strumento::controlla_nome_file(what, *value))
            return usage(*wrong);
    if (names.names->guessed)
        out << tool::describe_guess(*names.names) << "\n";
    w.labels = {strumento::utf8_sicuro(strumento::mostra_percorso(w.line)),
                strumento::utf8_sicuro(strumento::mostra_percorso(w.run))};

    unsigned short port = 0;
    if (const std::string* p = a.valore("--port")) {
        const auto parsed = port_of(*p);
        if (!parsed)
            return usage("--port " + *p + " is not a port number");
        port = *parsed;
    }
    std::string host = "127.0.0.1";
    if (const std::string* h = a.valore("--host"))
        host = *h == "localhost" ? "127.0.0.1" : *h;

    http_server* server_seen = nullptr;
    live_scenario live(w, [&server_seen](const std::string& event) {
        if (server_seen)
            server_seen->broadcast(event);
    });
    std::optional<http_server> server;
    try {
        server.emplace(host, port, is_loopback(host) ? "" : host, live);
    } catch (const std::exception& e) {
        err << "scenario view: " << e.what() << "\n";
        return uscita::uso;
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
    if (a.ha("--open") && !open_in_browser(url))
        err << "scenario view: could not open a browser; open " << url << " yourself\n";
    server->run();
    out << "stopped\n";
    return uscita::riuscita;
}

}  // namespace scenario::view
