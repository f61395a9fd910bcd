#include "tools/lsp/symbols.h"

#include "compiler/route_facts.h"
#include "tools/lsp/field_lookup.h"
#include "tools/words/diagnostics.h"
#include "tools/words/km_words.h"
#include "tools/words/text_encoding.h"

#include <optional>
#include <span>
#include <string>
#include <unordered_map>

namespace scenario::tool::lsp {

namespace {

// The editor's symbol kinds used here.
namespace kind {
constexpr int namespace_ = 3;
constexpr int field = 8;
constexpr int function = 12;
constexpr int string = 15;
constexpr int object = 19;
constexpr int struct_ = 23;
constexpr int event = 24;
}  // namespace kind

std::string utf8(std::string_view source_text) {
    return valid_utf8(from_windows1252(source_text));
}

struct line_symbol {
    std::string name, detail;
    int kind = kind::field;
};

class outline {
public:
    outline(const compiled_sources& pair, sorgente_testo file) : pair_(pair), file_(file) {
        // The cell each line placed an item in, looked up once for all lines.
        const auto& origins = pair.log.cell_origins;
        for (std::size_t c = 0; c < origins.size() && c < pair.state->celle.size(); ++c)
            if (origins[c].known && route::holds_an_item(pair.state->celle[c].tipo))
                item_cells_.emplace(origins[c].keyword_field, c);
    }

    nlohmann::json build() const;

private:
    line_symbol describe(int32_t keyword_field, const keyword_row& row) const;
    int64_t value(std::span<const field_record> line, std::size_t k) const {
        return k + 1 < line.size() ? line[k + 1].value : 0;
    }
    std::string station_name(int32_t keyword_field, std::span<const field_record> line) const;
    std::string tunnel_name(int64_t start) const;
    nlohmann::json symbol(int32_t keyword_field, const keyword_row& row) const;

    const compiled_sources& pair_;
    sorgente_testo file_;
    std::unordered_map<int32_t, std::size_t> item_cells_;  // keyword field -> first item cell
};

std::string outline::station_name(int32_t keyword_field, std::span<const field_record> line) const {
    const auto& origins = pair_.log.record_origins;
    for (std::size_t slot = 0; slot < origins.size(); ++slot)
        if (origins[slot].known && origins[slot].keyword_field == keyword_field &&
            origins[slot].item == line_item::station)
            return utf8(pair_.state->voci[slot].testo);
    return line.size() > 1 ? utf8(line.back().text) : std::string();
}

// A tunnel is named by the tunnel-name board standing in its first cell.
std::string outline::tunnel_name(int64_t start) const {
    const auto& celle = pair_.state->celle;
    const int64_t c = route::item_cell(line_item::tunnel, start);
    if (c < 0 || c >= static_cast<int64_t>(celle.size()))
        return {};
    const cella& first = celle[static_cast<std::size_t>(c)];
    const std::optional<int> record = route::record_of_cell(first);
    if (first.tipo != tipo_cella::cartello_galleria || !record)
        return {};
    return utf8(pair_.state->voci[static_cast<std::size_t>(*record)].testo);
}

line_symbol outline::describe(int32_t keyword_field, const keyword_row& row) const {
    const std::span<const field_record> line = fields_of_line(pair_.log, keyword_field);
    const std::string what = element_name(row.item);
    const std::string at = km_words(value(line, 0));
    switch (row.item) {
        case line_item::station:
            return {station_name(keyword_field, line), at, kind::struct_};
        case line_item::signal: {
            const auto cell = item_cells_.find(keyword_field);
            return {what + " " + at,
                    cell != item_cells_.end() ? "cell " + std::to_string(cell->second) : "not placed",
                    kind::event};
        }
        case line_item::slowdown:
            return {what + " " + at,
                    std::to_string(value(line, 1)) + " km/h over " + std::to_string(value(line, 2)) + " m",
                    kind::event};
        case line_item::tunnel: {
            const std::string name = tunnel_name(value(line, 0));
            return {name.empty() ? what : name, at + " to " + km_words(value(line, 1), km_style::figure),
                    kind::object};
        }
        case line_item::tunnel_board:
            return {line.size() > 2 ? utf8(line[2].text) : what, at, kind::string};
        case line_item::speed_board:
        case line_item::abbattimento:
            return {what, at, kind::string};
        case line_item::gradient:
            return {what + " " + at, std::to_string(value(line, 1)) + " per mille", kind::field};
        case line_item::speed_limit:
            return {what + " " + at, std::to_string(value(line, 1)) + " km/h", kind::field};
        case line_item::adhesion:
            return {what + " " + at, std::to_string(value(line, 1)), kind::field};
        case line_item::curve:
            return {what + " " + at, std::to_string(value(line, 1)) + " m", kind::function};
        default: {
            std::string values;
            for (std::size_t k = 1; k < line.size(); ++k)
                values +=
                    (k > 1 ? ", " : "") +
                    (line[k].width == field_width::text ? utf8(line[k].text) : std::to_string(line[k].value));
            return {what, values, kind::field};
        }
    }
}

nlohmann::json outline::symbol(int32_t keyword_field, const keyword_row& row) const {
    const std::span<const field_record> line = fields_of_line(pair_.log, keyword_field);
    line_symbol s = describe(keyword_field, row);
    if (s.name.empty())
        s.name = element_name(row.item);
    return {{"name", s.name},
            {"detail", s.detail},
            {"kind", s.kind},
            {"range", fields_range(line.front(), line.back())},
            {"selectionRange", field_range(line.front())},
            {"children", nlohmann::json::array()}};
}

nlohmann::json outline::build() const {
    const compile_log& log = pair_.log;
    const std::vector<int32_t> heads = headings(log, file_);
    nlohmann::json top = nlohmann::json::array();
    nlohmann::json* section = nullptr;
    std::size_t next_head = 0;
    int32_t last_field = -1;  // the last field of the open section
    const auto close = [&] {
        if (section != nullptr && last_field >= 0)
            (*section)["range"]["end"] =
                fields_range(log.fields[static_cast<std::size_t>(last_field)],
                             log.fields[static_cast<std::size_t>(last_field)])["end"];
    };
    int32_t previous = -1;
    for (std::size_t i = 0; i < log.fields.size(); ++i) {
        const field_record& f = log.fields[i];
        if (f.source != file_)
            continue;
        const int32_t index = static_cast<int32_t>(i);
        if (next_head < heads.size() && heads[next_head] == index) {
            close();
            top.push_back({{"name", utf8(f.text)},
                           {"detail", ""},
                           {"kind", kind::namespace_},
                           {"range", field_range(f)},
                           {"selectionRange", field_range(f)},
                           {"children", nlohmann::json::array()}});
            section = &top.back();
            ++next_head;
        } else if (f.role == field_role::keyword && index != previous) {
            const keyword_row* row = row_read(log, index);
            if (row != nullptr && !fields_of_line(log, index).empty()) {
                previous = index;
                nlohmann::json s = symbol(index, *row);
                (section != nullptr ? (*section)["children"] : top).push_back(std::move(s));
            }
        }
        if (section != nullptr && !(f.raw.empty() && f.role == field_role::keyword))
            last_field = index;
    }
    close();
    return top;
}

}  // namespace

nlohmann::json document_symbols(const compiled_sources& pair, sorgente_testo file) {
    return outline(pair, file).build();
}

nlohmann::json answer_document_symbols(const document_request& r) {
    return r.view == nullptr ? nlohmann::json::array() : document_symbols(*r.view->pair, r.view->source);
}

}  // namespace scenario::tool::lsp
