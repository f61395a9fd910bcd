// What every file the writers produce has in common: its number of lines,
// the end marker closing the list and never written, CR LF after every
// line, printable ASCII only and no byte-order mark.
#include "common/line_list.h"
#include "sources/writers.h"

#include <algorithm>
#include <cstddef>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace scenario {
namespace {

struct file_scritto {
    const char* nome;
    lista_righe (*scrittore)();
    std::size_t righe;
};

void PrintTo(const file_scritto& f, std::ostream* os) {
    *os << f.nome;
}

class FormatoFile : public testing::TestWithParam<file_scritto> {};

TEST_P(FormatoFile, ListHoldsTheLinesThenTheEndMarkerOnly) {
    const lista_righe lista = GetParam().scrittore();
    ASSERT_EQ(lista.size(), GetParam().righe + 1);
    ASSERT_LE(lista.size(), capacita_lista_righe);
    EXPECT_EQ(lista.back(), marcatore_fine);
    EXPECT_EQ(std::count(lista.begin(), lista.end(), std::string(marcatore_fine)), 1);
}

TEST_P(FormatoFile, BytesArePrintableAsciiLinesEachClosedByCrLf) {
    const std::string testo = testo_lista(GetParam().scrittore());
    ASSERT_GE(testo.size(), 2u);
    EXPECT_FALSE(testo.starts_with("\xEF\xBB\xBF")) << "byte-order mark";
    EXPECT_TRUE(testo.ends_with("\r\n")) << "the last line must end in CR LF too";
    EXPECT_EQ(testo.find(marcatore_fine), std::string::npos);

    std::size_t fine_riga = 0;
    for (std::size_t i = 0; i < testo.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(testo[i]);
        if (c == '\r') {
            ASSERT_TRUE(i + 1 < testo.size() && testo[i + 1] == '\n') << "lone CR at byte " << i;
            ++fine_riga;
            ++i;
        } else {
            ASSERT_TRUE(c >= 0x20 && c <= 0x7E) << "byte " << int(c) << " at " << i;
        }
    }
    EXPECT_EQ(fine_riga, GetParam().righe);
}

INSTANTIATE_TEST_SUITE_P(Scrittori, FormatoFile,
                         testing::Values(file_scritto{"line_description", sorgenti::righe_linea, 217},
                                         file_scritto{"run_description", sorgenti::righe_treno, 62},
                                         file_scritto{"scenario_notes", sorgenti::righe_note, 26},
                                         file_scritto{"slow_order", sorgenti::righe_rallentamenti, 41},
                                         file_scritto{"train_card", sorgenti::righe_scheda, 31}),
                         [](const testing::TestParamInfo<file_scritto>& p) {
                             return std::string(p.param.nome);
                         });

}  // namespace
}  // namespace scenario
