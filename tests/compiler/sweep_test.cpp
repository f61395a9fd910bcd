#include "compiler/compiled_files.h"
#include "compiler/finishing_sweep.h"

#include <gtest/gtest.h>
#include <random>
#include <utility>
#include <vector>

namespace scenario {
namespace {

using errore = std::pair<int32_t, int32_t>;  // number, position

// A route of n_celle + 1 cells with the items a test places by hand.
struct percorso {
    stato_scenario s;
    compile_log log;

    explicit percorso(int32_t n_celle) {
        s.n_celle = n_celle;
        s.celle.assign(static_cast<std::size_t>(n_celle) + 1, cella{});
    }
    cella& operator[](int32_t c) { return s.celle.at(static_cast<std::size_t>(c)); }
    percorso& metti(int32_t c, uint8_t tipo, int16_t dato1 = 0) {
        (*this)[c].tipo = tipo;
        (*this)[c].dato1 = dato1;
        return *this;
    }
    percorso& rallentamento(int32_t inizio, int32_t fine, int16_t velocita) {
        metti(inizio, tipo_cella::inizio_rallentamento, velocita);
        return metti(fine, tipo_cella::fine_rallentamento, velocita);
    }
    void rifinisci() { rifinisci_percorso(s, &log); }

    // Cells carrying a mark of the sweep (kind 12, value 180), in order.
    std::vector<int32_t> segni() const {
        std::vector<int32_t> r;
        for (std::size_t c = 0; c < s.celle.size(); ++c)
            if (s.celle[c].tipo == tipo_cella::segno && s.celle[c].dato1 == valore_segno)
                r.push_back(static_cast<int32_t>(c));
        return r;
    }
    std::vector<errore> errori() const {
        std::vector<errore> r;
        for (const auto& e : log.errors)
            r.emplace_back(e.number(), e.position);
        return r;
    }
};

using celle_segnate = std::vector<int32_t>;

TEST(Minimo, GivesTheSmallerAndTheFirstWhenEqual) {
    EXPECT_EQ(minimo(180, 250), 180);
    EXPECT_EQ(minimo(180, 100), 100);
    EXPECT_EQ(minimo(180, -5), -5);
    EXPECT_EQ(minimo(2.5, 2.5), 2.5);
}

TEST(Sweep, RouteWithoutSlowdownsComesOutUnchanged) {
    percorso p(60);
    const uint8_t tipi[] = {0, 1, 2, 5, 6, 10, 11, 12, 13, 14};
    for (int32_t c = 0; c <= 60; ++c) {
        p[c].tipo = tipi[c % 10];
        p[c].dato1 = static_cast<int16_t>(c * 7);
        p[c].galleria = static_cast<uint8_t>(c);
    }
    const std::string prima = codifica_celle(p.s.celle);
    p.rifinisci();
    EXPECT_EQ(codifica_celle(p.s.celle), prima);
    EXPECT_EQ(p.s.codice_errore, 0);
}

TEST(Sweep, NoCellsNoWork) {
    stato_scenario s;
    compile_log log;
    rifinisci_percorso(s, &log);
    EXPECT_TRUE(s.celle.empty());
    EXPECT_TRUE(log.errors.empty());
}

TEST(SweepSignalsBehindAdvancePoint, EverySignalInTheWindowDownToCell3IsServed) {
    percorso p(40);
    p.metti(10, tipo_cella::avviso_rallentamento, 30)
        .metti(8, tipo_cella::segnale)
        .metti(4, tipo_cella::segnale)
        .metti(2, tipo_cella::segnale);
    p.rifinisci();
    EXPECT_EQ(p.segni(), (celle_segnate{3, 7}));
    EXPECT_EQ(p[1].tipo, 0);  // the signal at cell 2 lies outside the window
    EXPECT_TRUE(p.errori().empty());
}

TEST(SweepSignalsBehindAdvancePoint, WindowReaches1000MetresBack) {
    percorso p(60);
    p.metti(40, tipo_cella::avviso_rallentamento)
        .metti(20, tipo_cella::segnale)
        .metti(19, tipo_cella::segnale);
    p.rifinisci();
    // 20 is served (k = 20); 19 lies 21 cells back.
    EXPECT_EQ(p.segni(), (celle_segnate{18}));
    EXPECT_EQ(p[17].tipo, 0);
}

TEST(SweepSignalsBehindAdvancePoint, FrontCellRules) {
    constexpr uint8_t occupata = tipo_cella::indicatore_vmax;
    struct caso {
        const char* nome;
        uint8_t tipo_d1;
        int16_t dato1_d1;
        uint8_t tipo_d2;
        int16_t dato1_d2;
        uint8_t atteso_tipo_d1;
        int16_t atteso_dato1_d1;
        uint8_t atteso_tipo_d2;
        int16_t atteso_dato1_d2;
        bool errore_11;
    };
    const caso casi[] = {
        {"both free: the nearer is marked", 0, 0, 0, 0, 12, 180, 0, 0, false},
        {"lamp mark counts as free", 11, 0, 0, 0, 12, 180, 0, 0, false},
        {"nearer taken: the farther is marked", occupata, 7, 0, 0, occupata, 7, 12, 180, false},
        {"nearer is a mark above 180: lowered", 12, 250, occupata, 7, 12, 180, occupata, 7, false},
        {"nearer is a mark below 180: kept", 12, 100, occupata, 7, 12, 100, occupata, 7, false},
        {"a free farther cell wins over lowering", 12, 250, 0, 0, 12, 250, 12, 180, false},
        {"farther is a mark above 180: lowered", occupata, 7, 12, 300, occupata, 7, 12, 180, false},
        {"both taken, no mark: error", occupata, 7, 13, 0, occupata, 7, 13, 0, true},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        percorso p(40);
        p.metti(30, tipo_cella::avviso_rallentamento).metti(25, tipo_cella::segnale);
        p.metti(24, c.tipo_d1, c.dato1_d1).metti(23, c.tipo_d2, c.dato1_d2);
        p[24].galleria = 2;
        p.rifinisci();
        EXPECT_EQ(p[24].tipo, c.atteso_tipo_d1);
        EXPECT_EQ(p[24].dato1, c.atteso_dato1_d1);
        EXPECT_EQ(p[23].tipo, c.atteso_tipo_d2);
        EXPECT_EQ(p[23].dato1, c.atteso_dato1_d2);
        EXPECT_EQ(p[24].galleria, 2);  // a mark changes only kind and value
        if (c.errore_11)
            EXPECT_EQ(p.errori(), (std::vector<errore>{{11, 25 * 50}}));
        else
            EXPECT_TRUE(p.errori().empty());
    }
}

TEST(SweepSlowdownApproach, MarksBeforeTheStartByHowFarItLies) {
    struct caso {
        int32_t inizio;
        celle_segnate attesi;
    };
    const caso casi[] = {
        {7, {}},             // each step needs the start beyond 7, 13, 20
        {8, {3}},            // 250 m
        {13, {8}},           // still only 250 m
        {14, {3, 9}},        // 550 m and 250 m
        {20, {9, 15}},       //
        {21, {3, 10, 16}},   // 1000 m: first free of 3, 2, 1
        {30, {12, 19, 25}},  //
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.inizio);
        percorso p(60);
        p.metti(c.inizio, tipo_cella::inizio_rallentamento, 120);
        p.rifinisci();
        EXPECT_EQ(p.segni(), c.attesi);
        EXPECT_TRUE(p.errori().empty());
    }
}

TEST(SweepSlowdownApproach, TakesTheNextCandidateOrRecordsError12) {
    percorso p(60);
    p.metti(30, tipo_cella::inizio_rallentamento, 120);
    p.metti(25, tipo_cella::segnale);                             // 250 m: 24 instead
    p.metti(19, tipo_cella::segnale).metti(18, 6).metti(17, 10);  // 550..650 m all taken
    p.metti(12, tipo_cella::lampada_galleria);                    // free
    p.rifinisci();
    EXPECT_EQ(p.segni(), (celle_segnate{12, 24}));
    EXPECT_EQ(p.errori(), (std::vector<errore>{{12, 30 * 50}}));
}

TEST(SweepRepeatMarks, EveryEightCellsCountedFromTheMarkPlaced) {
    struct caso {
        const char* nome;
        int16_t velocita;
        std::vector<int32_t> occupate;
        celle_segnate attesi;  // inside the slowdown only
        std::vector<errore> errori;
    };
    const caso casi[] = {
        {"all free", 60, {}, {108, 116, 124}, {}},
        {"108 taken: one cell back", 60, {108}, {107, 115, 123}, {}},
        {"108 and 107 taken: one cell on", 60, {107, 108}, {109, 117, 125}, {}},
        {"no room: error 13, then no more marks", 60, {107, 108, 109}, {}, {{13, 108 * 50}}},
        {"speed 109 still gets them", 109, {}, {108, 116, 124}, {}},
        {"speed exactly 110 gets none", 110, {}, {}, {}},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        percorso p(200);
        p.rallentamento(100, 130, c.velocita);
        for (int32_t o : c.occupate)
            p.metti(o, tipo_cella::indicatore_vmax);
        p.rifinisci();
        celle_segnate dentro;
        for (int32_t m : p.segni())
            if (m > 100)
                dentro.push_back(m);
        EXPECT_EQ(dentro, c.attesi);
        EXPECT_EQ(p.errori(), c.errori);
    }
}

TEST(SweepRepeatMarks, TheEndCellItselfIsExamined) {
    percorso p(200);
    p.rallentamento(100, 108, 30);
    p.rifinisci();
    EXPECT_EQ(p[107].tipo, tipo_cella::segno);  // 108 is the end cell, so one back
    EXPECT_EQ(p[108].tipo, tipo_cella::fine_rallentamento);
}

TEST(SweepSignalAfterSlowdown, MarkInFrontOfTheFirstSignalWithin600Metres) {
    struct caso {
        const char* nome;
        int16_t velocita;
        std::vector<int32_t> segnali;
        std::vector<int32_t> occupate;
        celle_segnate attesi;  // beyond the end cell
        std::vector<errore> errori;
    };
    const caso casi[] = {
        {"signal 5 cells on", 30, {135}, {}, {134}, {}},
        {"only the first signal", 30, {135, 138}, {}, {134}, {}},
        {"front cell taken", 30, {135}, {134}, {133}, {}},
        {"both front cells taken", 30, {135}, {134, 133}, {}, {{13, 130 * 50}}},
        {"signal at the edge of the window", 30, {142}, {}, {141}, {}},
        {"signal beyond the window", 30, {143}, {}, {}, {}},
        {"signal right after the end", 30, {131}, {}, {}, {}},  // its front cell is the end
        {"fast slowdown: the end is found all the same", 120, {135}, {}, {134}, {}},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        percorso p(200);
        p.rallentamento(100, 130, c.velocita);
        for (int32_t g : c.segnali)
            p.metti(g, tipo_cella::segnale);
        for (int32_t o : c.occupate)
            p.metti(o, tipo_cella::indicatore_vmax);
        p.rifinisci();
        celle_segnate oltre;
        for (int32_t m : p.segni())
            if (m > 130)
                oltre.push_back(m);
        EXPECT_EQ(oltre, c.attesi);
        EXPECT_EQ(p.errori(), c.errori);
    }
}

TEST(SweepSignalAfterSlowdown, SignalRightAfterTheEndFallsBackBehindIt) {
    // The front cell of a signal at 131 is the end cell: the cell before it
    // (inside the slowdown) takes the mark.
    percorso p(200);
    p.rallentamento(100, 130, 120).metti(131, tipo_cella::segnale);
    p.rifinisci();
    EXPECT_EQ(p[129].tipo, tipo_cella::segno);
}

TEST(SweepHostileLayouts, ScansStopAtTheLastCell) {
    struct caso {
        const char* nome;
        int32_t n_celle;
        int32_t inizio;
        int32_t fine;  // -1: no end cell
        std::vector<int32_t> occupate;
        celle_segnate attesi;
        std::vector<errore> errori;
    };
    const caso casi[] = {
        {"length 0: start without end", 40, 30, -1, {}, {12, 19, 25}, {}},
        {"end before the start", 40, 30, 20, {}, {12, 19, 25}, {}},
        {"repeat due on the last cell, no room around it", 40, 32, 40, {39}, {14, 21, 27}, {{13, 40 * 50}}},
        {"end on the last cell", 40, 30, 40, {}, {12, 19, 25, 38}, {}},
        {"tiny route", 4, 2, 3, {}, {}, {}},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        percorso p(c.n_celle);
        p.metti(c.inizio, tipo_cella::inizio_rallentamento, 30);
        if (c.fine >= 0)
            p.metti(c.fine, tipo_cella::fine_rallentamento, 30);
        for (int32_t o : c.occupate)
            p.metti(o, tipo_cella::indicatore_vmax);
        p.rifinisci();
        EXPECT_EQ(p.s.celle.size(), static_cast<std::size_t>(c.n_celle) + 1);
        EXPECT_EQ(p.segni(), c.attesi);
        EXPECT_EQ(p.errori(), c.errori);
    }
}

TEST(SweepHostileLayouts, SignalSearchPastTheLastCell) {
    percorso p(40);
    p.rallentamento(30, 37, 120).metti(40, tipo_cella::segnale);
    p.rifinisci();
    EXPECT_EQ(p[39].tipo, tipo_cella::segno);  // found on the last cell
}

TEST(SweepHostileLayouts, RandomRoutesOnlyMarkFreeCellsAndLowerMarks) {
    // Dense random layouts on small routes: every cell the sweep changes was
    // free or a kind-12 cell, becomes a kind-12 cell and only changes kind
    // and value; the array keeps its size. Run under the sanitizers this also
    // proves no index leaves the cells.
    std::mt19937 gen(4127);
    const uint8_t tipi[] = {0, 0, 0, 1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14};
    for (int giro = 0; giro < 2000; ++giro) {
        const int32_t n = static_cast<int32_t>(gen() % 60);
        percorso p(n);
        for (cella& c : p.s.celle) {
            c.tipo = tipi[gen() % std::size(tipi)];
            c.dato1 = static_cast<int16_t>(static_cast<int32_t>(gen() % 400) - 50);
            c.galleria = static_cast<uint8_t>(gen());
        }
        const std::vector<cella> prima = p.s.celle;
        p.rifinisci();
        ASSERT_EQ(p.s.celle.size(), prima.size());
        for (std::size_t c = 0; c < prima.size(); ++c) {
            const cella& a = prima[c];
            const cella& b = p.s.celle[c];
            if (a.tipo == b.tipo && a.dato1 == b.dato1)
                continue;
            SCOPED_TRACE(testing::Message() << "round " << giro << " cell " << c);
            EXPECT_TRUE(cella_libera(a) || a.tipo == tipo_cella::segno);
            EXPECT_EQ(b.tipo, tipo_cella::segno);
            EXPECT_LE(b.dato1, valore_segno);
            EXPECT_EQ(a.galleria, b.galleria);
        }
        for (const auto& e : p.log.errors) {
            EXPECT_EQ(error_severity_of(e.code), error_severity::sweep);
            EXPECT_GE(e.position, 0);
            EXPECT_LE(e.position, n * 50);
        }
    }
}

}  // namespace
}  // namespace scenario
