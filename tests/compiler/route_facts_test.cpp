// The one reading of a compiled route that every view uses, against lists
// written out by hand: the program's own route, and small routes built to
// show where a compiled run file alone is ambiguous.
#include "compiler/route_facts.h"

#include "common/line_list.h"
#include "compiler/compile_driver.h"
#include "sources/writers.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace scenario {
namespace {

struct expected_station {
    int slot;
    int32_t position;
    const char* name;
    std::optional<int32_t> arrival, departure;
};

constexpr int32_t at(int h, int m, int s = 0) {
    return h * 3600 + m * 60 + s;
}

class ProgramRoute : public testing::Test {
protected:
    static void SetUpTestSuite() {
        state_.nome_scenario = "Calvena_Roccalba";
        state_.numero_treno = "4127";
        sorgenti_in_memoria sources(testo_lista(sorgenti::righe_linea()),
                                    testo_lista(sorgenti::righe_treno()));
        compila_scenario(state_, 1, sources, {}, &log_);
    }
    static inline stato_scenario state_;
    static inline compile_log log_;
};

TEST_F(ProgramRoute, LengthStationsAndTimetable) {
    EXPECT_EQ(route::route_length(state_.celle, state_.voci), 40000);
    const std::vector<expected_station> expected = {
        {1, 0, "CALVENA", {}, at(16, 20)},
        {2, 1800, "CALVENA OVEST", {}, {}},
        {3, 5250, "VALDIBRANA", {}, {}},
        {4, 11550, "PITECCIO", {}, {}},
        {5, 17550, "CORBEZZI", at(16, 36), at(16, 37)},
        {6, 19900, "CASTAGNO", {}, {}},
        {7, 21900, "S.MOMME'", at(16, 42, 30), at(16, 43)},
        {8, 25050, "PRACCHIA", at(16, 46), at(16, 47)},
        {9, 30150, "BIAGIONI LAGACCI", {}, {}},
        {10, 32100, "MOLINO DEL PALLONE", at(16, 55), at(16, 56)},
        {11, 36300, "PONTE DELLA VENTURINA", at(17, 1, 30), at(17, 2)},
        {12, 39800, "ROCCALBA TERME", at(17, 8), {}},
    };
    // With the compile's log, and from the compiled records alone: the same list.
    for (const compile_log* log : std::vector<const compile_log*>{&log_, nullptr}) {
        SCOPED_TRACE(log ? "with the log" : "records alone");
        const std::vector<route::station> st = route::stations(state_.celle, state_.voci, log);
        ASSERT_EQ(st.size(), expected.size());
        for (std::size_t i = 0; i < st.size(); ++i) {
            SCOPED_TRACE(expected[i].name);
            EXPECT_EQ(st[i].slot, expected[i].slot);
            EXPECT_EQ(st[i].position, expected[i].position);
            EXPECT_EQ(st[i].name, expected[i].name);
            EXPECT_EQ(st[i].arrival, expected[i].arrival);
            EXPECT_EQ(st[i].departure, expected[i].departure);
        }
    }
    // CALVENA stops in cell 5; stations of kind 25 and above have no stop cell.
    const std::vector<route::station> st = route::stations(state_.celle, state_.voci, &log_);
    EXPECT_EQ(st[0].stop_cell, 5u);
    EXPECT_EQ(st[1].stop_cell, std::nullopt);
}

TEST_F(ProgramRoute, SlowdownsSignalsTunnelsAndBoards) {
    const std::vector<route::slowdown> r = route::slowdowns(state_.celle);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].from, 18650);
    EXPECT_EQ(r[0].to, 18950);
    EXPECT_EQ(r[0].speed, 30);
    EXPECT_EQ(r[1].from, 34000);
    EXPECT_EQ(r[1].to, 35000);
    const std::vector<route::signal> s = route::signals(state_.celle);
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(s.front().position, 3650);
    EXPECT_EQ(s.front().cell, 74u);
    // The line description has 42 tunnel lines, none abutting another.
    EXPECT_EQ(route::tunnels(state_.celle, 40000).size(), 42u);
    for (const route::tunnel& g : route::tunnels(state_.celle, 40000)) {
        EXPECT_LT(g.from, g.to);
        EXPECT_LE(g.to, 40050);
        EXPECT_NE(g.tunnel_class, 0);
    }
    const std::vector<route::board> b = route::tunnel_boards(state_.celle, state_.voci);
    ASSERT_FALSE(b.empty());
    EXPECT_EQ(b.front().slot, prima_voce_cartelli);
    EXPECT_EQ(route::last_plan_point(state_.tracciato), 46998);
}

// Records built by hand: what a compiled run file alone can and cannot say.
struct hand_route {
    std::vector<cella> celle = std::vector<cella>(100);
    route::records voci{};
    compile_log log;

    void station(int slot, int32_t position, const char* name, bool logged = true) {
        voce& v = voci[static_cast<std::size_t>(slot)];
        v.valore3 = position;
        v.valore1 = position - 100;
        v.valore2 = position + 100;
        v.tipo = 12;
        v.testo = name;
        if (logged)
            log.record_origins[static_cast<std::size_t>(slot)] = {true, sorgente_testo::corsa, slot + 3,
                                                                  line_item::station, -1};
    }
    std::vector<int> slots(bool with_log) const {
        return route::station_slots(celle, voci, with_log ? &log : nullptr);
    }
};

TEST(RouteFacts, WhichRecordsAreStations) {
    {
        SCOPED_TRACE("a board's record between stations");
        hand_route h;
        h.station(1, 0, "A");
        h.voci[2].testo = "(TUNNEL)";
        h.celle[20].tipo = tipo_cella::cartello_galleria;
        h.celle[20].dato1 = 2;
        h.station(3, 2000, "C");
        EXPECT_EQ(h.slots(true), (std::vector<int>{1, 3}));
        EXPECT_EQ(h.slots(false), (std::vector<int>{1, 3}));
    }
    {
        SCOPED_TRACE("an all-zero station record");
        hand_route h;
        h.station(1, 0, "A");
        h.log.record_origins[2] = {true, sorgente_testo::corsa, 5, line_item::station, -1};  // all zero
        h.station(3, 2000, "C");
        EXPECT_EQ(h.slots(true), (std::vector<int>{1, 2, 3}));
        // Alone, the zero record reads as the end of the stations.
        EXPECT_EQ(h.slots(false), (std::vector<int>{1}));
    }
    {
        SCOPED_TRACE("the station counter reached the board records");
        hand_route h;
        for (int slot = 80; slot >= 3; --slot) {
            h.voci[static_cast<std::size_t>(slot)].testo = "(B)";
            h.celle[static_cast<std::size_t>(slot)].tipo = tipo_cella::cartello_galleria;
            h.celle[static_cast<std::size_t>(slot)].dato1 = static_cast<int16_t>(slot);
        }
        h.station(1, 0, "A");
        h.station(2, 2000, "B");
        EXPECT_EQ(h.slots(true), (std::vector<int>{1, 2}));
        EXPECT_EQ(h.slots(false), (std::vector<int>{1, 2}));
    }
}

TEST(RouteFacts, LengthWhenTheRecordHasNone) {
    // From the cells: n_celle + 1 cells, n_celle = (length + 7000) / 50
    // rounded half to even; a length that is no multiple of 50 reads to the
    // nearest cell boundary.
    const struct {
        std::size_t cells;
        int64_t read;  // record 84
        int64_t length;
    } cases[] = {{941, 0, 40000}, {941, 40020, 40020}, {141, 0, 0}, {0, 0, 0}, {10, 0, 0}};
    for (const auto& c : cases) {
        route::records voci{};
        voci[voce_treno].valore2 = static_cast<int32_t>(c.read);
        EXPECT_EQ(route::route_length(std::vector<cella>(c.cells), voci), c.length)
            << c.cells << " " << c.read;
    }
}

TEST(RouteFacts, CellsOfARouteFromItsPlanPoints) {
    // The last point over 50, rounded half to even, is the last cell.
    const std::pair<std::size_t, std::size_t> cases[] = {{47001, 941}, {1, 1},   {26, 1}, {27, 2},
                                                         {76, 3},      {126, 3}, {0, 0}};
    for (const auto& [points, cells] : cases)
        EXPECT_EQ(route::cells_for_plan_points(points), cells) << points;
}

TEST(RouteFacts, EveryCellKindHasWords) {
    for (int k = 0; k < 256; ++k) {
        const std::optional<route::cell_kind_words> w = route::cell_kind(static_cast<uint8_t>(k));
        const bool written = k <= 6 || (k >= 10 && k <= 14);
        EXPECT_EQ(w.has_value(), written) << k;
    }
    EXPECT_STREQ(route::cell_kind(tipo_cella::inizio_rallentamento)->name, "slowdown start");
}

}  // namespace
}  // namespace scenario

namespace scenario {
namespace {

// A line description stopped by a reader error leaves the cells past its last
// gradient unwritten (0, read as -100 per mille) and its plan without points.
TEST(RouteFacts, LineReadToEndsWithTheLastGradientCellAndPlanPointWritten) {
    std::vector<cella> celle(30);
    for (std::size_t c = 0; c < 12; ++c)
        celle[c].pendenza = c < 6 ? 100 : 112;
    const tracciato_linea no_plan;
    struct row {
        int64_t length;
        int64_t read_to;
    };
    for (const row r : {row{1000, 600}, row{400, 400}}) {
        SCOPED_TRACE(r.length);
        EXPECT_EQ(route::line_read_to(celle, no_plan, r.length), r.read_to);
    }
    EXPECT_EQ(route::line_read_to(std::vector<cella>(30), no_plan, 1000), 0);
}

}  // namespace
}  // namespace scenario
