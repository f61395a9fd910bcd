// The program's own sources compiled in memory for the editor features'
// tests, with a helper that finds a place by the text around it.
#pragma once

#include "common/line_list.h"
#include "sources/identity.h"
#include "sources/writers.h"
#include "tools/core/memory_compile.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace scenario::test_support {

inline std::string program_text(sorgente_testo file) {
    return testo_lista(file == sorgente_testo::linea ? sorgenti::righe_linea() : sorgenti::righe_treno());
}

// The program's sources with `from` replaced by `to` in `file` (nothing when `from` is empty).
inline tool::compiled_sources program_pair(sorgente_testo file = sorgente_testo::linea,
                                           const std::string& from = "", const std::string& to = "") {
    std::string line = program_text(sorgente_testo::linea), run = program_text(sorgente_testo::corsa);
    std::string& edited = file == sorgente_testo::linea ? line : run;
    if (!from.empty()) {
        const std::size_t at = edited.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos)
            edited.replace(at, from.size(), to);
    }
    return tool::compile_texts(std::move(line), std::move(run),
                               {sorgenti::nome_scenario, sorgenti::numero_treno}, true);
}

// The 0-based line and byte column of `word` in the first line of `text` that starts with `line_start`.
inline std::pair<int, int> place_of(const std::string& text, const std::string& line_start,
                                    const std::string& word) {
    int line = 0;
    for (std::size_t at = 0; at < text.size(); ++line) {
        const std::size_t end = text.find("\r\n", at);
        const std::string l = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (l.starts_with(line_start)) {
            const std::size_t column = l.find(word);
            EXPECT_NE(column, std::string::npos) << word << " in " << l;
            return {line, static_cast<int>(column)};
        }
        if (end == std::string::npos)
            break;
        at = end + 2;
    }
    ADD_FAILURE() << "no line starts with " << line_start;
    return {-1, -1};
}

}  // namespace scenario::test_support
