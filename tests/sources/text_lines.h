// Helpers for the writers' tests: the lines of a written text file and a
// line-by-line comparison that names the first lines that differ.
#pragma once

#include <cstddef>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::prove {

// The lines of a text whose every line ends in CR LF, the last included.
// A text that does not end in CR LF gives one more (partial) line, so the
// comparison below fails on it.
inline std::vector<std::string> righe_testo(std::string_view testo) {
    std::vector<std::string> righe;
    std::size_t inizio = 0;
    while (inizio < testo.size()) {
        const std::size_t fine = testo.find("\r\n", inizio);
        if (fine == std::string_view::npos) {
            righe.emplace_back(testo.substr(inizio));
            break;
        }
        righe.emplace_back(testo.substr(inizio, fine - inizio));
        inizio = fine + 2;
    }
    return righe;
}

// Compares the written text with the expected lines, line by line, and
// then byte for byte (CR LF after every line, nothing else).
inline void confronta_righe(const std::string& testo, const std::vector<std::string>& attese) {
    const auto righe = righe_testo(testo);
    EXPECT_EQ(righe.size(), attese.size());
    for (std::size_t i = 0; i < righe.size() && i < attese.size(); ++i) {
        EXPECT_EQ(righe[i], attese[i]) << "line " << i + 1;
    }
    std::string atteso;
    for (const auto& riga : attese)
        atteso += riga + "\r\n";
    EXPECT_TRUE(testo == atteso) << "the bytes differ from the expected lines closed by CR LF";
}

// A line as a document lists it: its length without CR LF, and its text.
struct riga_contata {
    std::size_t lunghezza;
    std::string_view testo;
};

// Checks the first lines of the written text against the listed ones: each
// line's length and text. Gives the listed texts, for a whole-file comparison.
inline std::vector<std::string> confronta_righe_contate(const std::string& testo,
                                                        const std::vector<riga_contata>& elenco) {
    auto righe = righe_testo(testo);
    std::vector<std::string> attese;
    EXPECT_GE(righe.size(), elenco.size());
    for (std::size_t i = 0; i < elenco.size(); ++i) {
        attese.emplace_back(elenco[i].testo);
        EXPECT_EQ(attese.back().size(), elenco[i].lunghezza) << "listed length of line " << i + 1;
        if (i < righe.size()) {
            EXPECT_EQ(righe[i], attese.back()) << "line " << i + 1;
        }
    }
    return attese;
}

}  // namespace scenario::prove
