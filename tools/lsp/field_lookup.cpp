#include "tools/lsp/field_lookup.h"

#include <algorithm>
#include <cstdlib>

namespace scenario::tool::lsp {

nlohmann::json position_json(int32_t line, int32_t character) {
    return {{"line", std::max(line, 0)}, {"character", std::max(character, 0)}};
}

nlohmann::json field_range(const field_record& f) {
    return fields_range(f, f);
}

nlohmann::json fields_range(const field_record& first, const field_record& last) {
    return {{"start", position_json(first.line - 1, first.first_column - 1)},
            {"end", position_json(last.line - 1, std::max(last.last_column, last.first_column - 1))}};
}

int32_t field_at(const compile_log& log, sorgente_testo source, int line, int byte_column) {
    int32_t found = -1;
    for (std::size_t i = 0; i < log.fields.size(); ++i) {
        const field_record& f = log.fields[i];
        if (f.source != source || f.line != line + 1)
            continue;
        // Columns 0-based: the field covers [first_column - 1, last_column).
        if (byte_column >= f.first_column - 1 && byte_column <= f.last_column) {
            found = static_cast<int32_t>(i);
            if (byte_column < f.last_column)
                break;  // strictly inside: no later field can be a better match
        }
    }
    return found;
}

int32_t keyword_field_of(const compile_log& log, int32_t field) {
    if (field < 0 || static_cast<std::size_t>(field) >= log.fields.size())
        return -1;
    const sorgente_testo source = log.fields[static_cast<std::size_t>(field)].source;
    for (int32_t i = field; i >= 0; --i) {
        const field_record& f = log.fields[static_cast<std::size_t>(i)];
        if (f.source != source)
            return -1;
        if (f.role == field_role::keyword)
            return i;
    }
    return -1;
}

const keyword_row* row_read(const compile_log& log, int32_t keyword_field) {
    const auto it = std::lower_bound(log.keywords_read.begin(), log.keywords_read.end(), keyword_field,
                                     [](const keyword_read& k, int32_t f) { return k.field < f; });
    return it != log.keywords_read.end() && it->field == keyword_field ? it->row : nullptr;
}

std::vector<int32_t> headings(const compile_log& log, sorgente_testo source) {
    std::vector<int32_t> found;
    for (std::size_t i = 0; i < log.fields.size(); ++i) {
        const field_record& f = log.fields[i];
        if (f.source == source && f.role == field_role::keyword && is_heading(f.text) &&
            row_read(log, static_cast<int32_t>(i)) == nullptr)
            found.push_back(static_cast<int32_t>(i));
    }
    return found;
}

}  // namespace scenario::tool::lsp
