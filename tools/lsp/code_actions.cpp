#include "tools/lsp/code_actions.h"

#include "compiler/warnings.h"
#include "tools/lsp/positions.h"
#include "tools/words/text_encoding.h"

namespace scenario::tool::lsp {

using nlohmann::json;

namespace {

struct fix {
    std::string title;
    std::size_t first = 0;  // the bytes replaced, [first, last)
    std::size_t last = 0;
    std::string text;
};

// The fix of one warning, when it has a certain one.
std::optional<fix> fix_of(const compiled_sources& c, const logged_warning& w, const line_index& index) {
    const field_record* f = w.field >= 0 && static_cast<std::size_t>(w.field) < c.log.fields.size()
                                ? &c.log.fields[static_cast<std::size_t>(w.field)]
                                : nullptr;
    switch (w.code) {
        case warning_code::unknown_keyword:
        case warning_code::misplaced_keyword: {
            if (w.nearest_keyword.empty() || f == nullptr)
                return std::nullopt;
            const std::size_t first = index.offset(f->line, f->first_column);
            return fix{"Replace with '" + from_windows1252(w.nearest_keyword) + "'", first,
                       first + f->raw.size(), std::string(w.nearest_keyword)};
        }
        case warning_code::missing_comma: {
            if (f == nullptr)
                return std::nullopt;
            // "keyword 123": the comma goes right after the keyword.
            std::size_t cut = f->raw.find_last_of(" \t");
            if (cut == std::string::npos)
                return std::nullopt;
            while (cut > 0 && (f->raw[cut - 1] == ' ' || f->raw[cut - 1] == '\t'))
                --cut;
            const std::size_t at = index.offset(f->line, f->first_column) + cut;
            return fix{"Insert the missing comma", at, at, ","};
        }
        case warning_code::byte_order_mark:
            if (!c.line_text.starts_with("\xEF\xBB\xBF") && w.place.source == sorgente_testo::linea)
                return std::nullopt;
            if (!c.run_text.starts_with("\xEF\xBB\xBF") && w.place.source == sorgente_testo::corsa)
                return std::nullopt;
            return fix{"Remove the byte-order mark", 0, 3, ""};
        default:
            return std::nullopt;
    }
}

}  // namespace

json code_actions(const compiled_sources& c, sorgente_testo s, const std::string& uri, const json& range) {
    const line_index index(s == sorgente_testo::linea ? c.line_text : c.run_text);
    const int64_t from = range.at("start").at("line").get<int64_t>();
    const int64_t to = range.at("end").at("line").get<int64_t>();
    json actions = json::array();
    for (const logged_warning& w : c.log.warnings) {
        if (!w.place.known || w.place.source != s)
            continue;
        const std::optional<fix> f = fix_of(c, w, index);
        if (!f)
            continue;
        const int64_t first_line = index.position(f->first).at("line").get<int64_t>();
        const int64_t last_line = index.position(f->last).at("line").get<int64_t>();
        if (last_line < from || first_line > to)
            continue;
        json edit = {{"range", index.range(f->first, f->last)}, {"newText", from_windows1252(f->text)}};
        actions.push_back({{"title", f->title},
                           {"kind", "quickfix"},
                           {"isPreferred", true},
                           {"edit", {{"changes", {{uri, json::array({edit})}}}}}});
    }
    return actions;
}

nlohmann::json answer_code_actions(const document_request& r) {
    if (r.view == nullptr || r.document == nullptr)
        return nlohmann::json::array();
    return code_actions(*r.view->pair, r.view->source, r.document->uri, r.params.at("range"));
}

}  // namespace scenario::tool::lsp
