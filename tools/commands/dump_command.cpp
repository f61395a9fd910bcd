#include "tools/commands/dump_command.h"

#include "compiler/provenance.h"
#include "compiler/route_facts.h"
#include "compiler/state.h"
#include "tools/commands/command.h"
#include "tools/commands/exit_status.h"
#include "tools/core/compiled_reader.h"
#include "tools/core/file_io.h"
#include "tools/core/memory_compile.h"
#include "tools/words/compiled_json.h"
#include "tools/words/text_encoding.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <charconv>
#include <memory>
#include <nlohmann/json.hpp>
#include <vector>

namespace scenario::tool {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

const char* const dump_description =
    "Decodes compiled files into one JSON array, one object per file:\n"
    "  cell file (NAME_NUMBER.dat)  every cell with its eleven fields\n"
    "  run file  (NAME_NUMBER.sim)  every record of voci with its fields\n"
    "  line file (NAME_linea.dat)   the number of track plan points, and with\n"
    "                               --points FROM:TO the points FROM to TO (in\n"
    "                               metres, both included; FROM: runs to the end)\n"
    "                               as {\"p\", \"x\", \"y\"}: null for a value never\n"
    "                               assigned, an integer for a 16-bit value, a\n"
    "                               number with a decimal point for a double\n"
    "Beside a raw field whose meaning the compiler knows stands its readable\n"
    "value: each cell's start (start_m, start_km), its kind (tipo_name), the\n"
    "position its item stands for (item_position_m, item_position_km), speed\n"
    "(velocita_kmh, a slowdown's dato1_kmh) and gradient (pendenza_per_mille);\n"
    "a station record's area and position in km (valore1_km ... valore3_km) and\n"
    "time of day (valore4_time); the progressives and route length in km, the\n"
    "starting clock (intero5_clock).\n"
    "The kind of file comes from its name, else from its content; --kind forces it.\n"
    "A file that is not valid is reported with the byte offset where it stops\n"
    "making sense.\n"
    "\n"
    "--cells FROM:TO keeps the cells FROM to TO (cell indexes, both included;\n"
    "FROM: runs to the last cell) and --non-empty only the cells where something\n"
    "stands: a tipo, dato1 to dato6 or galleria that is not 0 (the speed,\n"
    "gradient and adhesion profiles fill every cell and do not count), so the\n"
    "empty cells of the run-off drop out and every item, marker and tunnel stays.\n"
    "\n"
    "With --line FILE --run FILE the two text sources are compiled in memory as\n"
    "'scenario compile' would (nothing is written; --name and --train default to\n"
    "what the file names say, --no-plan as for compile), and every cell and\n"
    "record gets \"source\": {\"file\", \"line\"}, the source line that placed\n"
    "the item (tipo) standing in it or filled the record, or null where no line\n"
    "did (profiles, approach markers and tunnel classes alone name none).\n"
    "Without FILE the compile's own files are dumped (line file, run file, cell\n"
    "file, named as compile would name them, \"recognised_by\": \"compiled\"); a\n"
    "FILE given with the sources is annotated only when its bytes are what the\n"
    "sources compile to, else its \"source\" keys are null and a warning says so.\n"
    "Errors the compile records are printed on standard error (exit status 1).";

namespace {

// Writes one file's object: the members of `head`, then, when `list_key` is
// given, a list whose elements `next` builds one at a time, so a million plan
// points never stand in memory together.
template <typename Next>
void write_file_object(std::ostream& out, const json& head, const char* list_key, std::size_t count,
                       Next&& next) {
    out << "  {";
    bool first = true;
    for (const auto& [key, value] : head.items()) {
        out << (first ? "" : ",") << json_text(json(key)) << ":" << json_text(value);
        first = false;
    }
    if (list_key) {
        out << (first ? "" : ",") << json_text(json(list_key)) << ":[";
        for (std::size_t i = 0; i < count; ++i)
            out << (i == 0 ? "\n    " : ",\n    ") << json_text(next(i));
        out << (count == 0 ? "]" : "\n  ]");
    }
    out << "}";
}

// null for a value never assigned, an integer for a 16-bit one, else a double
// (always written with a decimal point or an exponent).
json plan_value_json(const valore_tracciato& v) {
    switch (v.tipo) {
        case valore_tracciato::etichetta::intero:
            return v.intero;
        case valore_tracciato::etichetta::reale:
            return v.reale;
        case valore_tracciato::etichetta::vuoto:
            break;
    }
    return nullptr;
}

// What of a decoded file to show, and where its cells and records came from.
struct dump_view {
    std::optional<point_range> points;
    std::optional<point_range> cells;
    bool non_empty = false;
    bool with_sources = false;             // every cell and record gets a "source" key
    const compile_log* origins = nullptr;  // null: the file is not what the sources compile to
    std::string line_source;               // the source files as given
    std::string run_source;
};

json origin_json(const dump_view& v, const source_place& p) {
    if (v.origins == nullptr || !p.known)
        return nullptr;
    return json{{"file", p.source == sorgente_testo::linea ? v.line_source : v.run_source}, {"line", p.line}};
}

void write_decoded(std::ostream& out, json head, const decoded_file& f, const dump_view& view) {
    const std::optional<point_range>& points = view.points;
    switch (f.kind) {
        case compiled_kind::cells: {
            head["cell_count"] = f.celle.size();
            const int64_t last = static_cast<int64_t>(f.celle.size()) - 1;
            int64_t from = 0, to = last;
            if (view.cells) {
                from = view.cells->from;
                to = std::min(view.cells->to.value_or(last), last);
                head["from"] = from;
                head["to"] = to;
            }
            std::vector<std::size_t> chosen;
            for (int64_t i = from; i <= to; ++i)
                if (!view.non_empty || cell_is_non_empty(f.celle[static_cast<std::size_t>(i)]))
                    chosen.push_back(static_cast<std::size_t>(i));
            write_file_object(out, head, "celle", chosen.size(), [&](std::size_t n) {
                json c = cell_dump_json(chosen[n], f.celle[chosen[n]]);
                if (view.with_sources)
                    c["source"] =
                        origin_json(view, cell_origin(view.origins, static_cast<int64_t>(chosen[n])));
                return c;
            });
            return;
        }
        case compiled_kind::run: {
            const std::vector<int> stations = route::station_slots({}, f.voci, view.origins);
            write_file_object(out, head, "voci", f.voci.size(), [&](std::size_t i) {
                const bool station =
                    std::find(stations.begin(), stations.end(), static_cast<int>(i)) != stations.end();
                json r = record_dump_json(i, f.voci[i], station);
                if (view.with_sources)
                    r["source"] = origin_json(
                        view, view.origins != nullptr ? view.origins->record_origins[i] : source_place{});
                return r;
            });
            return;
        }
        case compiled_kind::line:
            break;
    }
    const int64_t n = f.plan.esiste() ? static_cast<int64_t>(f.plan.punti()) : 0;
    head["point_count"] = n;
    if (!points) {
        write_file_object(out, head, nullptr, 0, [](std::size_t) { return json(); });
        return;
    }
    const int64_t from = points->from;
    const int64_t to = std::min(points->to.value_or(n - 1), n - 1);
    head["from"] = from;
    head["to"] = to;
    const std::size_t count = to >= from ? static_cast<std::size_t>(to - from + 1) : 0;
    write_file_object(out, head, "points", count, [&](std::size_t i) {
        const int64_t p = from + static_cast<int64_t>(i);
        return json{{"p", p},
                    {"x", plan_value_json(f.plan.at(static_cast<int32_t>(p), 0))},
                    {"y", plan_value_json(f.plan.at(static_cast<int32_t>(p), 1))}};
    });
}

}  // namespace

bool cell_is_non_empty(const cella& c) {
    return c.tipo != 0 || c.dato1 != 0 || c.dato2 != 0 || c.dato3 != 0 || c.dato4 != 0 || c.dato5 != 0 ||
           c.dato6 != 0 || c.galleria != 0;
}

std::optional<point_range> parse_point_range(std::string_view t) {
    const std::size_t colon = t.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto number = [](std::string_view s, int64_t& v) {
        if (s.empty())
            return false;
        const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
        return r.ec == std::errc() && r.ptr == s.data() + s.size() && v >= 0;
    };
    point_range range;
    const std::string_view from = t.substr(0, colon);
    const std::string_view to = t.substr(colon + 1);
    if (!from.empty() && !number(from, range.from))
        return std::nullopt;
    if (!to.empty()) {
        int64_t v = 0;
        if (!number(to, v) || v < range.from)
            return std::nullopt;
        range.to = v;
    }
    return range;
}

namespace {

// What the options ask for: the view of every file and the kind forced on
// them; a usage error otherwise.
struct dump_request {
    dump_view view;
    std::optional<compiled_kind> forced;
};

result<dump_request> read_options(const dump_arguments& a) {
    dump_request r;
    dump_view& view = r.view;
    view.points = a.points ? parse_point_range(*a.points) : std::nullopt;
    if (a.points && !view.points)
        return failure{"--points takes FROM:TO, two whole numbers with FROM <= TO (\"" + *a.points +
                       "\" is not)"};
    view.cells = a.cells ? parse_point_range(*a.cells) : std::nullopt;
    if (a.cells && !view.cells)
        return failure{"--cells takes FROM:TO, two whole numbers with FROM <= TO (\"" + *a.cells +
                       "\" is not)"};
    view.non_empty = a.non_empty;
    r.forced = a.kind ? kind_from_text(*a.kind) : std::nullopt;
    if (a.kind && !r.forced)
        return failure{"--kind takes line, run or cells (not \"" + *a.kind + "\")"};
    view.with_sources = a.line || a.run;
    if (view.with_sources && !(a.line && a.run))
        return failure{"--line and --run go together"};
    if (!view.with_sources && (!a.name.empty() || !a.train.empty() || a.no_plan))
        return failure{"--name, --train and --no-plan go with --line and --run"};
    if (!view.with_sources && a.files.empty())
        return failure{"give compiled files, or the text sources with --line and --run"};
    if (view.with_sources) {
        view.line_source = display_path(path_from_utf8(*a.line));
        view.run_source = display_path(path_from_utf8(*a.run));
    }
    return r;
}

void print_compile_errors(const compiled_sources& m, const dump_view& view, std::ostream& err) {
    if (m.names.guessed)
        err << "scenario dump: " << describe_guess(m.names) << "\n";
    for (const diagnosis& d : m.errors) {
        err << "scenario dump: ";
        if (d.source)
            err << valid_utf8(*d.source == sorgente_testo::linea ? view.line_source : view.run_source)
                << (d.line > 0 ? ":" + std::to_string(d.line) : std::string()) << ": ";
        err << "error " << d.number << ": " << d.message << "\n";
    }
}

// One FILE of the command line decoded and written as a JSON object; the
// exit status it calls for.
int dump_named_file(const std::string& word, const dump_request& r, const own_files* own, std::ostream& out,
                    std::ostream& err) {
    const fs::path path = path_from_utf8(word);
    json head{{"file", display_path(path)}};
    const result<std::string> read = read_file(path);
    if (!read) {
        err << "scenario dump: " << read.error() << "\n";
        head["error"] = json{{"offset", nullptr}, {"message", read.error()}};
        write_file_object(out, head, nullptr, 0, [](std::size_t) { return json(); });
        return exit_status::usage;
    }
    const std::string_view bytes = *read;
    const char* recognised_by = "name";
    std::optional<compiled_kind> kind = kind_from_name(path);
    if (r.forced) {
        recognised_by = "option";
        kind = r.forced;
    } else if (!kind) {
        recognised_by = "content";
    }
    const result<decoded_file, decode_failure> f = decode_compiled(bytes, kind);
    kind = f ? std::optional<compiled_kind>(f->kind) : f.error().kind;

    head["kind"] = kind ? json(kind_name(*kind)) : json(nullptr);
    head["recognised_by"] = recognised_by;
    head["bytes"] = bytes.size();
    if (!f) {
        const decode_failure& e = f.error();
        err << "scenario dump: " << display_path(path) << ": "
            << (kind ? std::string("not a valid ") + kind_name(*kind) + " file: " : std::string())
            << e.message << " (at byte offset " << e.offset << ")\n";
        head["error"] = json{{"offset", e.offset}, {"message", e.message}};
        write_file_object(out, head, nullptr, 0, [](std::size_t) { return json(); });
        return exit_status::errors_found;
    }
    dump_view file_view = r.view;
    if (own && f->kind != compiled_kind::line) {
        const std::string* mine = own->bytes_of(f->kind);
        if (mine == nullptr || *mine != bytes) {
            err << "scenario dump: warning: " << display_path(path)
                << " is not what the sources compile to; its cells and records show no source line\n";
            file_view.origins = nullptr;
        }
    }
    write_decoded(out, std::move(head), *f, file_view);
    return exit_status::success;
}

}  // namespace

int run_dump(const dump_arguments& a, std::ostream& out, std::ostream& err) {
    result<dump_request> request = read_options(a);
    if (!request) {
        err << "scenario dump: " << request.error() << "\nTry 'scenario dump --help'.\n";
        return exit_status::usage;
    }
    dump_request& r = *request;

    int status = exit_status::success;
    // The sources compiled in memory: their three files, and their log.
    compiled_sources m;
    own_files own;
    if (r.view.with_sources) {
        result<named_sources> sources = name_sources(*a.line, *a.run, a.name, a.train);
        result<compiled_sources> compile = sources ? compile_files(*sources, !a.no_plan)
                                                   : result<compiled_sources>(failure{sources.error()});
        if (!compile) {
            err << "scenario dump: " << compile.error() << "\n";
            return exit_status::usage;
        }
        m = std::move(*compile);
        print_compile_errors(m, r.view, err);
        if (!m.errors.empty() || m.state->codice_errore != 0)
            status = exit_status::errors_found;
        if (m.stamp) {
            err << "scenario dump: the compile stopped at a stamp error; it writes no file\n";
            out << "[\n\n]\n";
            return exit_status::errors_found;
        }
        r.view.origins = &m.log;
        own = encode_compiled(m);
    }

    out << "[\n";
    bool first = true;
    const auto next_object = [&] {
        if (!first)
            out << ",\n";
        first = false;
    };
    for (const std::string& word : a.files) {
        next_object();
        const int file_status = dump_named_file(word, r, r.view.with_sources ? &own : nullptr, out, err);
        // An unreadable file outweighs an invalid one.
        status = std::max(status, file_status);
    }
    if (a.files.empty()) {
        for (const auto& [kind, bytes] : own.files) {
            next_object();
            json head{{"file", valid_utf8(compiled_file_name(kind, m.names))},
                      {"kind", kind_name(kind)},
                      {"recognised_by", "compiled"},
                      {"bytes", bytes.size()}};
            // The compiler's own bytes always decode.
            const result<decoded_file, decode_failure> f = decode_compiled(bytes, kind);
            if (f)
                write_decoded(out, std::move(head), *f, r.view);
        }
    }
    out << "\n]\n";
    return status;
}

namespace {
command_run declare_dump(CLI::App& c) {
    auto a = std::make_shared<dump_arguments>();
    c.add_option("FILE", a->files, "Compiled files (may be left out with --line and --run)")->type_name("");
    c.add_option("--points", a->points, "Also the plan points FROM to TO of a line file")
        ->type_name("FROM:TO");
    c.add_option("--kind", a->kind, "Decode as this kind of file whatever its name")
        ->type_name("line|run|cells");
    c.add_option("--cells", a->cells, "Only the cells FROM to TO of a cell file")->type_name("FROM:TO");
    c.add_flag("--non-empty", a->non_empty, "Only the cells where something stands");
    c.add_option("--line", a->line, "The line description the files come from")->type_name("FILE");
    c.add_option("--run", a->run, "The run description the files come from")->type_name("FILE");
    c.add_option("--name", a->name, "The scenario name (default: from the file names)")->type_name("NAME");
    c.add_option("--train", a->train, "The train number (default: from the file names)")->type_name("NUMBER");
    c.add_flag("--no-plan", a->no_plan, "Compile the sources without the track plan");
    return [a](std::ostream& out, std::ostream& err) { return run_dump(*a, out, err); };
}
}  // namespace

const command dump_command{"dump", "Decode compiled files into JSON.", dump_description, declare_dump};

}  // namespace scenario::tool
