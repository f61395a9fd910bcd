#include "tools/core/compiled_reader.h"

#include "compiler/compiled_files.h"
#include "compiler/route_facts.h"
#include "compiler/source_store.h"
#include "tools/core/file_io.h"

#include <algorithm>
#include <system_error>

namespace scenario::tool {

namespace fs = std::filesystem;

const char* kind_name(compiled_kind k) {
    switch (k) {
        case compiled_kind::line:
            return "line";
        case compiled_kind::run:
            return "run";
        case compiled_kind::cells:
            return "cells";
    }
    return "cells";
}

std::optional<compiled_kind> kind_from_text(std::string_view t) {
    if (t == "line")
        return compiled_kind::line;
    if (t == "run")
        return compiled_kind::run;
    if (t == "cells")
        return compiled_kind::cells;
    return std::nullopt;
}

namespace {

result<decoded_file, decode_failure> decode_as(compiled_kind k, std::string_view bytes) {
    decoded_file f;
    f.kind = k;
    result<void, errore_decodifica> r;
    switch (k) {
        case compiled_kind::line:
            r = decodifica_tracciato(bytes, f.plan);
            break;
        case compiled_kind::run:
            r = decodifica_voci(bytes, f.voci);
            break;
        case compiled_kind::cells:
            r = decodifica_celle(bytes, f.celle);
            break;
    }
    if (!r)
        return failure{decode_failure{k, r.error().offset, r.error().messaggio}};
    return f;
}

result<decoded_file, decode_failure> recognise_content(std::string_view bytes) {
    std::string why;
    std::size_t offset = 0;
    const auto note = [&](const char* as_what, std::size_t at, const std::string& message) {
        why += std::string(why.empty() ? "" : "; ") + "as a " + as_what + " file: " + message +
               " at offset " + std::to_string(at);
        offset = std::max(offset, at);
    };

    auto run = decode_as(compiled_kind::run, bytes);
    if (run)
        return run;
    note("run", run.error().offset, run.error().message);

    auto line = decode_as(compiled_kind::line, bytes);
    if (line && line->plan.esiste())
        return line;
    if (line)
        note("line", 0, "no values");
    else
        note("line", line.error().offset, line.error().message);

    auto cells = decode_as(compiled_kind::cells, bytes);
    if (cells && cells->celle.empty()) {
        note("cell", 0, "no cells");
    } else if (cells) {
        const std::vector<cella>& c = cells->celle;
        std::size_t i = 0;
        while (i < c.size() && route::cell_kind(c[i].tipo))
            ++i;
        if (i == c.size())
            return cells;
        note("cell", i * 15,
             "unknown cell kind " + std::to_string(c[i].tipo) + " in cell " + std::to_string(i));
    } else {
        note("cell", cells.error().offset, cells.error().message);
    }
    return failure{decode_failure{std::nullopt, offset, "not a compiled file (" + why + ")"}};
}

}  // namespace

result<decoded_file, decode_failure> decode_compiled(std::string_view bytes,
                                                     std::optional<compiled_kind> kind) {
    return kind ? decode_as(*kind, bytes) : recognise_content(bytes);
}

const std::string* own_files::bytes_of(compiled_kind k) const {
    for (const auto& [kind, bytes] : files)
        if (kind == k)
            return &bytes;
    return nullptr;
}

own_files encode_compiled(const compiled_sources& m) {
    own_files own;
    const stato_scenario& s = *m.state;
    if (m.plan)
        own.files.emplace_back(compiled_kind::line, codifica_tracciato(s.tracciato));
    own.files.emplace_back(compiled_kind::run, codifica_voci(s.voci));
    own.files.emplace_back(compiled_kind::cells, codifica_celle(s.celle));
    return own;
}

result<compiled_scenario, compiled_read_failure> read_compiled_scenario(const fs::path& directory,
                                                                        const std::string& name,
                                                                        const std::string& train) {
    compiled_scenario read;
    std::optional<compiled_read_failure> broken;
    const auto decode = [&](const fs::path& p, compiled_kind k) -> std::optional<decoded_file> {
        result<std::string> f = read_file(p);
        if (!f) {
            broken = compiled_read_failure{f.error(), false};
            return std::nullopt;
        }
        result<decoded_file, decode_failure> d = decode_as(k, *f);
        if (!d) {
            broken =
                compiled_read_failure{display_path(p) + ": not a valid compiled file: " + d.error().message +
                                          " (at byte offset " + std::to_string(d.error().offset) + ")",
                                      true};
            return std::nullopt;
        }
        return std::move(*d);
    };

    const fs::path cells = percorso_in(directory, nome_file_celle_compilato(name, train));
    const fs::path run = percorso_in(directory, nome_file_corsa_compilato(name, train));
    const fs::path line = percorso_in(directory, nome_file_linea_compilato(name));
    std::optional<decoded_file> c = decode(cells, compiled_kind::cells);
    if (!c)
        return failure{std::move(*broken)};
    read.celle = std::move(c->celle);
    std::optional<decoded_file> r = decode(run, compiled_kind::run);
    if (!r)
        return failure{std::move(*broken)};
    read.voci = std::move(r->voci);
    std::error_code ec;
    if (fs::exists(line, ec)) {
        std::optional<decoded_file> l = decode(line, compiled_kind::line);
        if (!l)
            return failure{std::move(*broken)};
        const tracciato_linea& t = l->plan;
        if (t.esiste() && route::cells_for_plan_points(t.punti()) != read.celle.size()) {
            read.warnings.push_back(
                display_path(line) + " does not belong to " + display_path(cells) + ": its track plan has " +
                std::to_string(t.punti()) + " points, a route of " +
                std::to_string(route::cells_for_plan_points(t.punti())) + " cells, but the cell file has " +
                std::to_string(read.celle.size()) +
                " (a line file left by a compile of another route?); the line is drawn straight");
            read.plan_left_out = true;
        } else if (t.esiste()) {
            read.tracciato = std::move(l->plan);
        }
    }
    return read;
}

}  // namespace scenario::tool
