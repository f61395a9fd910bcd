// The rules that the line description's curves, tunnels and tunnel-name
// boards keep, checked on the rows the writer produces: counts, keyword mix,
// order, ranges, multiples of 50, overlaps, gaps, the board for each tunnel
// and the cells the boards take on the route.
#include "common/line_list.h"
#include "sources/writers.h"
#include "tests/sources/text_lines.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {
namespace {

struct curva {
    std::string parola;
    int inizio, lunghezza;
};
struct galleria {
    int inizio, fine, tipo;
};
struct cartello {
    int posizione;
    std::string testo;
};

// The rows of the line description, section by section, parsed with the
// exact blanks each row kind is written with.
struct descrizione {
    std::vector<curva> curve;
    std::vector<galleria> gallerie;
    std::vector<cartello> cartelli;
    int posizione_vmax = -1;
};

int numero(const std::ssub_match& m) {
    return std::atoi(m.str().c_str());
}

descrizione leggi() {
    static const std::regex riga_curva(R"(^(curva[ds][1-6]),  (\d+),  (\d+)$)");
    static const std::regex riga_galleria(R"(^montagna,   (\d+),  (\d+),  (\d+)$)");
    static const std::regex riga_vmax(R"(^indicatori_vmax,  (\d+),.*$)");
    static const std::regex riga_cartello(R"(^cartello_indicatore,  (\d+),   (\S.*)$)");
    descrizione d;
    std::string sezione;
    for (const auto& riga : prove::righe_testo(testo_lista(sorgenti::righe_linea()))) {
        std::smatch m;
        if (riga.starts_with("[")) {
            sezione = riga;
        } else if (sezione == "[curve]") {
            EXPECT_TRUE(std::regex_match(riga, m, riga_curva)) << riga;
            if (!m.empty())
                d.curve.push_back({m[1].str(), numero(m[2]), numero(m[3])});
        } else if (sezione == "[montagne]") {
            EXPECT_TRUE(std::regex_match(riga, m, riga_galleria)) << riga;
            if (!m.empty())
                d.gallerie.push_back({numero(m[1]), numero(m[2]), numero(m[3])});
        } else if (sezione == "[cartelli]") {
            EXPECT_TRUE(std::regex_match(riga, m, riga_vmax)) << riga;
            if (!m.empty())
                d.posizione_vmax = numero(m[1]);
        } else if (sezione == "[indicazioni]") {
            EXPECT_TRUE(std::regex_match(riga, m, riga_cartello)) << riga;
            if (!m.empty())
                d.cartelli.push_back({numero(m[1]), m[2].str()});
        }
    }
    return d;
}

// A board's text: the name in brackets, then the length and "m." in
// brackets, the shorter of the two padded with blanks before its closing
// bracket so both have the same width.
std::string testo_cartello(const std::string& nome, int metri) {
    std::string a = "(" + nome;
    std::string b = "(" + std::to_string(metri) + " m.";
    const std::size_t larghezza = std::max(a.size(), b.size());
    a.resize(larghezza, ' ');
    b.resize(larghezza, ' ');
    return a + ")" + b + ")";
}

TEST(LineDescriptionRules, CurvesKeepCountsOrderLengthsAndSpacing) {
    const auto curve = leggi().curve;
    ASSERT_EQ(curve.size(), 82u);

    std::map<std::string, int> per_parola;
    for (const auto& c : curve)
        ++per_parola[c.parola];
    const std::map<std::string, int> attese{{"curvas6", 25}, {"curvad5", 19}, {"curvad6", 17},
                                            {"curvas5", 13}, {"curvad4", 5},  {"curvas4", 3}};
    EXPECT_EQ(per_parola, attese);

    EXPECT_EQ(curve.front().inizio, 400);
    EXPECT_EQ(curve.back().inizio, 39450);
    int somma = 0, contigue = 0, piu_lunghe = 0;
    for (std::size_t i = 0; i < curve.size(); ++i) {
        const auto& c = curve[i];
        EXPECT_EQ(c.inizio % 50, 0) << c.inizio;
        EXPECT_EQ(c.lunghezza % 50, 0) << c.inizio;
        EXPECT_GE(c.lunghezza, 50) << c.inizio;
        EXPECT_LE(c.lunghezza, 1200) << c.inizio;
        somma += c.lunghezza;
        if (c.lunghezza == 1200)
            ++piu_lunghe;
        if (i + 1 < curve.size()) {
            const auto& dopo = curve[i + 1];
            EXPECT_LT(c.inizio, dopo.inizio) << c.inizio;
            EXPECT_LE(c.inizio + c.lunghezza, dopo.inizio) << "curve at " << c.inizio << " overlaps the next";
            if (c.inizio + c.lunghezza == dopo.inizio)
                ++contigue;
        }
    }
    EXPECT_EQ(somma, 19950);
    EXPECT_EQ(contigue, 14);
    EXPECT_EQ(piu_lunghe, 1) << "one longest curve, 1200 m";
    EXPECT_TRUE(std::any_of(curve.begin(), curve.end(), [](const curva& c) { return c.lunghezza == 50; }));
}

TEST(LineDescriptionRules, TunnelsKeepCountsOrderLengthsAndGaps) {
    const auto gallerie = leggi().gallerie;
    ASSERT_EQ(gallerie.size(), 42u);

    EXPECT_EQ(std::count_if(gallerie.begin(), gallerie.end(), [](const galleria& g) { return g.tipo == 11; }),
              16);
    EXPECT_EQ(std::count_if(gallerie.begin(), gallerie.end(), [](const galleria& g) { return g.tipo == 12; }),
              26);
    EXPECT_EQ(gallerie.front().inizio, 5800);
    EXPECT_EQ(gallerie.front().fine, 6350);
    EXPECT_EQ(gallerie.back().inizio, 38950);
    EXPECT_EQ(gallerie.back().fine, 39200);

    int vicine = 0, varco_minimo = 1 << 30, varco_massimo = 0;
    int corta = 1 << 30, lunga = 0, quante_lunghe = 0;
    for (std::size_t i = 0; i < gallerie.size(); ++i) {
        const auto& g = gallerie[i];
        EXPECT_EQ(g.inizio % 50, 0) << g.inizio;
        EXPECT_EQ(g.fine % 50, 0) << g.inizio;
        const int lunghezza = g.fine - g.inizio;
        corta = std::min(corta, lunghezza);
        if (lunghezza > lunga)
            quante_lunghe = 0;
        lunga = std::max(lunga, lunghezza);
        if (lunghezza == lunga)
            ++quante_lunghe;
        if (i + 1 < gallerie.size()) {
            const int varco = gallerie[i + 1].inizio - g.fine;
            EXPECT_GT(varco, 0) << "tunnel at " << g.inizio << " overlaps or touches the next";
            varco_minimo = std::min(varco_minimo, varco);
            varco_massimo = std::max(varco_massimo, varco);
            if (varco <= 150)
                ++vicine;
        }
    }
    EXPECT_EQ(corta, 50);
    EXPECT_EQ(lunga, 2750);
    EXPECT_EQ(quante_lunghe, 1);
    EXPECT_EQ(varco_minimo, 50);
    EXPECT_EQ(varco_massimo, 2500);
    EXPECT_EQ(vicine, 18) << "tunnels following the previous one within 150 m";
}

TEST(LineDescriptionRules, EachTunnelHasItsNamedBoardFiftyMetresBeforeIt) {
    const auto d = leggi();
    ASSERT_EQ(d.gallerie.size(), 42u);
    ASSERT_EQ(d.cartelli.size(), 43u);
    const std::vector<std::string> nomi{
        "VAIONI",    "PONZANO",     "GRAZZINI",  "ROVINA",     "PITECCIO",   "VIGNACCI",    "FABBIANA",
        "COLLE",     "CASALECCHIO", "LE CALDE",  "MARRONETA",  "CROCICCHIO", "BOLOGNESE",   "BORRINA",
        "CUGNA",     "CASCIANO",    "CORBEZZI",  "PONTICELLI", "SIGNORINO",  "SECCHETO",    "CASTAGNO",
        "CICERBAIA", "PISANECCO",   "CATALDERA", "APPENNINO",  "CULMINE",    "FRASSIGNONI", "MORELLO",
        "CHIOMBI",   "OLIVACCI",    "BIAGIONI",  "RANDARAGNA", "BOSCHI",     "CUPANDIA",    "DIAVOLO",
        "CAMPEDA",   "GRANAGLIONE", "LUSTROLA",  "CIGNO",      "PAVANA",     "CAPANNE",     "VENTURINA",
        "MADONNA"};
    static const std::regex due_campi(R"(^\(([A-Z ]*[A-Z]) *\)\((\d+) m\. *\)$)");

    std::size_t g = 0;
    for (std::size_t i = 0; i < d.cartelli.size(); ++i) {
        const auto& c = d.cartelli[i];
        if (i > 0) {
            EXPECT_LT(d.cartelli[i - 1].posizione, c.posizione) << c.testo;
        }
        if (nomi[i] == "CULMINE") {
            EXPECT_EQ(c.testo, "(CULMINE)");
            EXPECT_EQ(c.posizione, 24800);
            EXPECT_TRUE(g > 0 && d.gallerie[g - 1].fine == 24800)
                << "the summit board stands where the longest tunnel ends";
            continue;
        }
        ASSERT_LT(g, d.gallerie.size());
        const auto& tunnel = d.gallerie[g++];
        EXPECT_EQ(c.posizione, tunnel.inizio - 50) << c.testo;
        std::smatch m;
        ASSERT_TRUE(std::regex_match(c.testo, m, due_campi)) << c.testo;
        EXPECT_EQ(m[1].str(), nomi[i]);
        const int metri = numero(m[2]);
        EXPECT_EQ(c.testo, testo_cartello(nomi[i], metri)) << "padding of the two bracketed fields";
        // The board gives its own measure of the tunnel, close to the row's.
        EXPECT_LE(std::abs(metri - (tunnel.fine - tunnel.inizio)), 50) << c.testo;
    }
    EXPECT_EQ(g, d.gallerie.size());
}

TEST(LineDescriptionRules, BoardCellsStayClearOfTheRunItems) {
    // Board cells must not collide with the run description's signals,
    // slowdowns, stop cells and the marks placed around them; a board at
    // position p takes cell p / 50 + 1.
    const std::set<int> occupate{5,   9,   74,  94,  108, 197, 216, 233, 322, 341, 342, 343, 346, 347,
                                 348, 349, 350, 353, 354, 355, 356, 361, 362, 363, 367, 368, 369, 374,
                                 380, 471, 489, 503, 605, 626, 645, 657, 661, 662, 663, 668, 669, 670,
                                 674, 675, 676, 681, 688, 689, 690, 696, 697, 698, 701, 752, 778, 799};
    const auto d = leggi();
    ASSERT_EQ(d.posizione_vmax, 400);
    std::set<int> celle_cartelli{d.posizione_vmax / 50 + 1};
    for (const auto& c : d.cartelli) {
        ASSERT_EQ(c.posizione % 50, 0) << c.testo;
        const int cella = c.posizione / 50 + 1;
        EXPECT_FALSE(occupate.contains(cella)) << c.testo << " in cell " << cella;
        EXPECT_TRUE(celle_cartelli.insert(cella).second) << c.testo << " shares cell " << cella;
    }
}

}  // namespace
}  // namespace scenario
