#include "tools/lsp/diagnostics.h"

#include "compiler/error_codes.h"
#include "compiler/unread_parts.h"
#include "compiler/warnings.h"
#include "tools/core/compile_report.h"
#include "tools/lsp/positions.h"
#include "tools/words/report_json.h"
#include "tools/words/text_encoding.h"
#include "tools/words/warning_words.h"

namespace scenario::tool::lsp {

using nlohmann::json;

namespace {

constexpr int error_severity_lsp = 1;
constexpr int warning_severity_lsp = 2;
constexpr int information_severity_lsp = 3;

struct sources_view {
    const compiled_sources& c;
    const pair_uris& uris;
    line_index line;
    line_index run;

    const line_index& index(sorgente_testo s) const { return s == sorgente_testo::linea ? line : run; }
    const std::string& uri(sorgente_testo s) const {
        return s == sorgente_testo::linea ? uris.line : uris.run;
    }

    // The field a diagnosis points at: the recorded field starting there.
    const field_record* field_at(sorgente_testo s, int32_t line_number, int32_t column) const {
        for (const field_record& f : c.log.fields)
            if (f.source == s && f.line == line_number && f.first_column == column)
                return &f;
        return nullptr;
    }

    json columns(sorgente_testo s, int32_t line_number, int32_t first, int32_t last) const {
        const line_index& i = index(s);
        if (line_number <= 0)
            return i.whole_line(1);
        if (first <= 0)
            return i.whole_line(line_number);
        return i.range(i.offset(line_number, first), i.offset(line_number, std::max(first, last + 1)));
    }

    json related(const related_place& r) const {
        return {{"location", {{"uri", uri(r.source)}, {"range", columns(r.source, r.line, r.column, 0)}}},
                {"message", valid_utf8(r.message)}};
    }
};

json diagnostic(json range, int severity, const std::string& code, const std::string& message) {
    return {{"range", std::move(range)},
            {"severity", severity},
            {"code", code},
            {"source", "scenario"},
            {"message", valid_utf8(message)}};
}

bool is_keyword_warning(warning_code c) {
    return c == warning_code::unknown_keyword || c == warning_code::misplaced_keyword ||
           c == warning_code::keyword_case || c == warning_code::missing_comma;
}

json& list_of(pair_diagnostics& d, sorgente_testo s) {
    return s == sorgente_testo::linea ? d.line : d.run;
}

}  // namespace

pair_diagnostics diagnose_pair(const compiled_sources& c, const pair_uris& uris) {
    const sources_view v{c, uris, line_index(c.line_text), line_index(c.run_text)};
    pair_diagnostics out;

    for (const unread_part& u : unread_parts(*c.state, c.log)) {
        const int32_t line = u.place.known ? u.place.line : 1;
        list_of(out, u.source)
            .push_back(diagnostic(v.columns(u.source, line, 0, 0), error_severity_lsp,
                                  unread_cause_name(u.cause), "not read: " + unread_message(u)));
    }

    for (const diagnosis& d : c.errors) {
        const sorgente_testo s = d.source.value_or(sorgente_testo::corsa);
        json range = v.columns(s, d.source ? d.line : 0, 0, 0);
        if (d.source && d.column > 0) {
            const field_record* f = v.field_at(s, d.line, d.column);
            range = v.columns(s, d.line, d.column, f != nullptr ? f->last_column : d.column);
        }
        std::string message = std::string(severity_name(d.severity)) + " error " + std::to_string(d.number);
        if (d.position)
            message += " at " + std::to_string(*d.position) + " m";
        message += ": " + d.message + " [" + severity_effect(d.severity) + "]";
        json entry = diagnostic(std::move(range), error_severity_lsp, error_code_name(d.number), message);
        json related = json::array();
        for (const related_place& r : d.related)
            related.push_back(v.related(r));
        if (!related.empty())
            entry["relatedInformation"] = std::move(related);
        list_of(out, s).push_back(std::move(entry));
    }

    const worded_warnings warnings = word_warnings(*c.state, c.log, {});
    for (const worded_warning& w : warnings.list) {
        const sorgente_testo s = w.source.value_or(sorgente_testo::linea);
        int32_t last = w.last_column;
        // A keyword's warning lies on the keyword field, though it speaks of the values it swallowed.
        if (w.source && is_keyword_warning(w.code))
            if (const field_record* f = v.field_at(s, w.line, w.first_column))
                last = f->last_column;
        json entry = diagnostic(v.columns(s, w.source ? w.line : 0, w.first_column, last),
                                warning_severity_lsp, std::string(warning_name(w.code)), w.message);
        json related = json::array();
        for (const related_place& r : w.related)
            related.push_back(v.related(r));
        // What follows from this warning is shown beside it, as `check --verbose` lists it.
        for (const worded_warning& q : w.consequences) {
            const sorgente_testo qs = q.source.value_or(s);
            related.push_back(
                {{"location",
                  {{"uri", v.uri(qs)}, {"range", v.columns(qs, q.line, q.first_column, q.last_column)}}},
                 {"message",
                  valid_utf8("consequence [" + std::string(warning_name(q.code)) + "]: " + q.message)}});
        }
        if (!related.empty())
            entry["relatedInformation"] = std::move(related);
        list_of(out, s).push_back(std::move(entry));
    }
    // The compile keeps a limited number of each warning; the rest are counted
    // on the first line of the file of the last one shown, as `check` counts them.
    for (const auto& [code, n] : warnings.not_shown) {
        sorgente_testo s = sorgente_testo::linea;
        for (const worded_warning& w : warnings.list)
            if (w.code == code && w.source)
                s = *w.source;
        list_of(out, s).push_back(diagnostic(v.columns(s, 1, 0, 0), information_severity_lsp,
                                             std::string(warning_name(code)),
                                             std::to_string(n) + " more warning" + (n == 1 ? "" : "s") +
                                                 " [" + std::string(warning_name(code)) + "] not shown"));
    }
    return out;
}

json encoding_diagnostics(const std::vector<unencodable>& lost) {
    json list = json::array();
    for (const unencodable& u : lost) {
        const json range = {{"start", {{"line", u.line}, {"character", u.column}}},
                            {"end", {{"line", u.line}, {"character", u.column + u.units}}}};
        list.push_back(
            diagnostic(range, warning_severity_lsp, "not-windows-1252",
                       "the character " + code_point_name(u.code_point) +
                           " cannot be written in Windows-1252, the code page the simulator reads: "
                           "saving loses it, and it is read here as '?'"));
    }
    return list;
}

json missing_line_diagnostic(const std::string& expected_name) {
    const json range = {{"start", {{"line", 0}, {"character", 0}}}, {"end", {{"line", 0}, {"character", 0}}}};
    return diagnostic(range, error_severity_lsp, "no-line-description",
                      "no line description beside this run description: expected " + expected_name +
                          " in the same folder (open it or save it there)");
}

}  // namespace scenario::tool::lsp
