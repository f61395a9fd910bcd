// The scenario notes: the fixed points of lines 1 to 20, and the roles of
// the source and signature lines that follow them.
#include "common/line_list.h"
#include "sources/writers.h"
#include "tests/sources/text_lines.h"

#include <cstddef>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {
namespace {

using prove::riga_contata;

// The document line by line, with the length of each line.
const std::vector<riga_contata>& righe_attese() {
    static const std::vector<riga_contata> righe = {
        {63, "               Treno 4127 sul percorso Calvena - Roccalba Terme"},
        {0, ""},
        {21, " Note sullo scenario:"},
        {0, ""},
        {71, " - Nella realta' la ferrovia Roccalbana e' a semplice binario. Le altre"},
        {75, "   caratteristiche (curve, pendenze, gallerie e fermate) sono quelle reali,"},
        {70, "   eccetto il raggio di alcune curve riadattato per motivi di corretta"},
        {19, "   visualizzazione."},
        {63, " - Normalmente questa linea e' percorsa da automotrici ALe 582."},
        {75, " - Le condizioni di aderenza sono buone all'inizio poi peggiorano per tutto"},
        {53, "   il tratto di montagna, soprattutto nelle gallerie."},
        {71, " - La pendenza della linea e' per la maggior parte al 25 per mille e le"},
        {75, "   fermate intermedie, escluse Piteccio e Pracchia, sono anch'esse in forte"},
        {66, "   pendenza, quindi occorre fare attenzione al rilascio del freno."},
        {76, " - Sono presenti due rallentamenti a 30 km/h, il primo in salita in galleria"},
        {41, "   e il secondo, di ben 1 km, in discesa."},
        {77, " - Durante il viaggio si verificano alcuni imprevisti (segnali disposti a via"},
        {77, "   impedita) che insieme ai rallentamenti rendono assai problematico l'arrivo"},
        {30, "   in orario a Roccalba Terme."},
        {0, ""},
    };
    return righe;
}

TEST(ScenarioNotes, WritesEveryLineWithItsListedLength) {
    const std::string testo = testo_lista(sorgenti::righe_note());
    prove::confronta_righe_contate(testo, righe_attese());  // lines 21 to 26: below
}

TEST(ScenarioNotes, SourcesAndSignatureFollowTheNotes) {
    const auto righe = prove::righe_testo(testo_lista(sorgenti::righe_note()));
    ASSERT_EQ(righe.size(), 26u);
    for (std::size_t i = 0; i < righe.size(); ++i) {
        const bool vuota = i == 1 || i == 3 || i == 19 || i == 23;
        EXPECT_EQ(righe[i].empty(), vuota) << "line " << i + 1;
    }
    // Lines 21 to 23 name the sources, lines 25 and 26 sign the scenario;
    // each begins with exactly one blank.
    for (std::size_t i : {20u, 21u, 22u, 24u, 25u}) {
        EXPECT_TRUE(righe[i].starts_with(" ") && !righe[i].starts_with("  ")) << "line " << i + 1;
        EXPECT_LE(righe[i].size(), 80u) << "line " << i + 1;
    }
    const std::string fonti = righe[20] + righe[21] + righe[22];
    for (const char* fonte : {"1:25000", "libro", "videocassetta", "informazioni"}) {
        EXPECT_NE(fonti.find(fonte), std::string::npos) << fonte;
    }
    EXPECT_NE(righe[25].find("@example."), std::string::npos) << "contact address at an example domain";
}

}  // namespace
}  // namespace scenario
