#include "tools/lsp/workspace.h"

#include "compiler/source_store.h"
#include "tools/core/file_io.h"
#include "tools/core/scenario_names.h"
#include "tools/lsp/diagnostics.h"
#include "tools/lsp/pairing.h"
#include "tools/lsp/uri.h"

#include <algorithm>

namespace scenario::tool::lsp {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// A run description's place when a line description is compiled alone.
fs::path absent_run(const fs::path& line) {
    const std::string name = name_of_line_file(display_path(line.filename())).value_or(std::string());
    return line.parent_path() / path_from_utf8(nome_file_corsa_testo(name, "0"));
}

void append(json& list, const json& more) {
    for (const json& d : more)
        list.push_back(d);
}

}  // namespace

workspace::workspace(pair_compiler compile) : compile_(std::move(compile)) {
    if (!compile_)
        compile_ = [](std::string line, std::string run, const scenario_names& names) {
            return compile_texts(std::move(line), std::move(run), names, true);
        };
}

std::vector<workspace::pair_job> workspace::jobs_for(const fs::path& path) const {
    const presence present = [this](const fs::path& p) { return documents_.present(p); };
    std::vector<pair_job> jobs;
    switch (kind_of(path)) {
        case source_kind::line: {
            std::vector<fs::path> open_runs;
            for (const open_document* d : documents_.all())
                if (kind_of(d->path) == source_kind::run)
                    open_runs.push_back(d->path);
            const std::optional<fs::path> first = run_of_line(path, open_runs, present);
            jobs.push_back({path, first, true});
            // Every other open run of this line is compiled with it too.
            for (const fs::path& r : open_runs)
                if (r != first && line_of_run(r, present) == path)
                    jobs.push_back({path, r, false});
            break;
        }
        case source_kind::run: {
            const std::optional<fs::path> line = line_of_run(path, present);
            std::vector<fs::path> open_runs;
            for (const open_document* d : documents_.all())
                if (kind_of(d->path) == source_kind::run)
                    open_runs.push_back(d->path);
            const bool first = line && run_of_line(*line, open_runs, present) == path;
            jobs.push_back({line, path, first});
            break;
        }
        case source_kind::other:
            jobs.push_back({std::nullopt, std::nullopt, false});
            if (documents_.find(path) != nullptr)
                jobs.back().run = path;
            break;
    }
    return jobs;
}

void workspace::publish(const fs::path& path, json diagnostics, std::vector<json>& out) {
    const open_document* d = documents_.find(path);
    if (d == nullptr)
        return;
    append(diagnostics, encoding_diagnostics(d->text.lost));
    out.push_back({{"uri", d->uri}, {"version", d->version}, {"diagnostics", std::move(diagnostics)}});
}

void workspace::run_job(const pair_job& job, std::vector<json>& out) {
    if (job.run && kind_of(*job.run) != source_kind::run) {
        publish(*job.run, json::array(), out);
        return;
    }
    const std::optional<std::string> line_bytes = job.line ? documents_.bytes(*job.line) : std::nullopt;
    if (!line_bytes) {
        if (job.run) {
            compiled_.erase(*job.run);
            publish(*job.run, json::array({missing_line_diagnostic(expected_line_name(*job.run))}), out);
        }
        return;
    }
    const fs::path run_path = job.run ? *job.run : absent_run(*job.line);
    const std::optional<std::string> run_bytes = job.run ? documents_.bytes(*job.run) : std::nullopt;
    scenario_names names;
    if (result<scenario_names> n = complete_names(*job.line, run_path, "", ""))
        names = *n;
    auto c = std::make_shared<const compiled_sources>(
        compile_(*line_bytes, run_bytes.value_or(std::string()), names));
    const pair_uris uris{uri_of_path(*job.line), uri_of_path(run_path)};
    pair_uris published = uris;
    if (const open_document* d = documents_.find(*job.line))
        published.line = d->uri;
    if (const open_document* d = documents_.find(run_path))
        published.run = d->uri;
    pair_diagnostics diagnostics = diagnose_pair(*c, published);
    if (job.publish_line) {
        compiled_[*job.line] = {c, sorgente_testo::linea};
        publish(*job.line, std::move(diagnostics.line), out);
    }
    if (job.run) {
        compiled_[*job.run] = {c, sorgente_testo::corsa};
        publish(*job.run, std::move(diagnostics.run), out);
    }
}

std::vector<json> workspace::compile_pending() {
    std::vector<pair_job> jobs;
    for (const fs::path& p : changed_) {
        if (documents_.find(p) == nullptr)
            compiled_.erase(p);
        for (pair_job& j : jobs_for(p)) {
            const auto same = [&](const pair_job& k) { return k.line == j.line && k.run == j.run; };
            const auto found = std::find_if(jobs.begin(), jobs.end(), same);
            if (found == jobs.end())
                jobs.push_back(j);
            else
                found->publish_line = found->publish_line || j.publish_line;
        }
    }
    changed_.clear();
    std::vector<json> out;
    for (const pair_job& j : jobs)
        run_job(j, out);
    return out;
}

const compiled_view* workspace::compiled(const fs::path& path) const {
    const auto i = compiled_.find(path);
    return i == compiled_.end() ? nullptr : &i->second;
}

}  // namespace scenario::tool::lsp
