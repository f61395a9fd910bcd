// The permitted speed along a route, the slowdowns' warning cells, the
// maximum-speed boards and the running-time bound: on the program's own route
// (worked out by hand from its sources) and on small routes built to show one
// rule each.
#include "compiler/speed_profile.h"

#include "common/line_list.h"
#include "compiler/compile_driver.h"
#include "compiler/route_facts.h"
#include "compiler/running_times.h"
#include "compiler/source_store.h"
#include "sources/writers.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace scenario {
namespace {

struct compiled {
    stato_scenario state;
    compile_log log;
};

compiled compile(const std::string& line, const std::string& run) {
    compiled c;
    c.state.nome_scenario = "Prova";
    c.state.numero_treno = "101";
    sorgenti_in_memoria store(line, run);
    compila_scenario(c.state, 1, store, {}, &c.log);
    return c;
}

const compiled& program() {
    static const compiled c =
        compile(testo_lista(sorgenti::righe_linea()), testo_lista(sorgenti::righe_treno()));
    return c;
}

// A 12 km line, straight and level, with the run lines given.
std::string small_line(const std::string& boards = "") {
    return "[generale]\r\nlunghezza percorso, 12000\r\n[curve]\r\n" + boards + "[fine]\r\n";
}
std::string small_run(const std::string& lines) {
    return "[generale]\r\n" + lines + "[fine]\r\n";
}

struct stretch_row {
    int64_t from, to;
    int speed, line;
    std::optional<std::size_t> slowdown;
};

void expect_stretches(const std::vector<route::speed_stretch>& got, const std::vector<stretch_row>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE("stretch " + std::to_string(i));
        EXPECT_EQ(got[i].from, want[i].from);
        EXPECT_EQ(got[i].to, want[i].to);
        EXPECT_EQ(got[i].speed_kmh, want[i].speed);
        EXPECT_EQ(got[i].line_kmh, want[i].line);
        EXPECT_EQ(got[i].slowdown, want[i].slowdown);
    }
}

TEST(PermittedSpeed, TheProgramsRouteRunsAt80SaveItsTwoSlowdownsAt30) {
    const compiled& c = program();
    const auto stretches = route::permitted_speed(c.state.celle, 40000, &c.log);
    expect_stretches(stretches, {{0, 18650, 80, 80, {}},
                                 {18650, 18950, 30, 80, 0},
                                 {18950, 34000, 80, 80, {}},
                                 {34000, 35000, 30, 80, 1},
                                 {35000, 40000, 80, 80, {}}});
    // The line's limit comes from the one speed line, line 31 of the run description.
    for (const route::speed_stretch& s : stretches) {
        EXPECT_TRUE(s.line.known);
        EXPECT_EQ(s.line.source, sorgente_testo::corsa);
        EXPECT_EQ(s.line.line, 31);
    }
}

TEST(PermittedSpeed, SlowdownsLowerOnlyWhereTheyAreBelowTheLine) {
    const std::string speeds = "velocita, 0, 100\r\nvelocita, 4000, 60\r\nvelocita, 8000, 120\r\n";
    struct row {
        const char* name;
        std::string slowdowns;
        std::vector<stretch_row> want;
    };
    const std::vector<row> rows = {
        {"none", "", {{0, 4000, 100, 100, {}}, {4000, 8000, 60, 60, {}}, {8000, 12000, 120, 120, {}}}},
        {"across a change of limit",
         "rallentamento, 3500, 40, 1000, 0, 0, 0\r\n",
         {{0, 3500, 100, 100, {}},
          {3500, 4000, 40, 100, 0},
          {4000, 4500, 40, 60, 0},
          {4500, 8000, 60, 60, {}},
          {8000, 12000, 120, 120, {}}}},
        {"faster than the line",
         "rallentamento, 5000, 80, 500, 0, 0, 0\r\n",
         {{0, 4000, 100, 100, {}}, {4000, 8000, 60, 60, {}}, {8000, 12000, 120, 120, {}}}},
        {"two in a row",
         "rallentamento, 9000, 50, 500, 0, 0, 0\r\nrallentamento, 10000, 20, 500, 0, 0, 0\r\n",
         {{0, 4000, 100, 100, {}},
          {4000, 8000, 60, 60, {}},
          {8000, 9000, 120, 120, {}},
          {9000, 9500, 50, 120, 0},
          {9500, 10000, 120, 120, {}},
          {10000, 10500, 20, 120, 1},
          {10500, 12000, 120, 120, {}}}},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        const compiled c = compile(small_line(), small_run(speeds + r.slowdowns));
        expect_stretches(route::permitted_speed(c.state.celle, 12000, &c.log), r.want);
    }
}

TEST(PermittedSpeed, TimeAtThePermittedSpeed) {
    const std::vector<route::speed_stretch> s = {
        {0, 1000, 36, 36, {}, 0, {}}, {1000, 2000, 72, 72, {}, 20, {}}, {2000, 3000, 0, 0, {}, 40, {}}};
    EXPECT_DOUBLE_EQ(*route::time_at_permitted_speed(s, 0, 1000), 100.0);
    EXPECT_DOUBLE_EQ(*route::time_at_permitted_speed(s, 500, 1500), 75.0);
    EXPECT_DOUBLE_EQ(*route::time_at_permitted_speed(s, 700, 700), 0.0);
    // A stretch without speed, or no stretch at all: no time.
    EXPECT_EQ(route::time_at_permitted_speed(s, 1500, 2500), std::nullopt);
    EXPECT_EQ(route::time_at_permitted_speed(s, 2500, 3500), std::nullopt);
}

TEST(SlowdownCells, AdvanceAndApproachCellsOfTheProgramsSlowdowns) {
    const auto r = route::slowdowns(program().state.celle);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].advance_cell, 350u);
    EXPECT_EQ(r[0].approach_cells, (std::vector<std::size_t>{349, 348, 347, 346}));
    EXPECT_EQ(r[1].advance_cell, 657u);
    EXPECT_TRUE(r[1].approach_cells.empty());
}

TEST(SlowdownCells, NoAdvanceCellAt1500OrBefore) {
    const compiled c =
        compile(small_line(), small_run("velocita, 0, 100\r\nrallentamento, 1500, 30, 300, 0, 1, 0\r\n"
                                        "rallentamento, 4000, 30, 300, 0, 1, 0\r\n"));
    const auto r = route::slowdowns(c.state.celle);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].advance_cell, std::nullopt);
    EXPECT_TRUE(r[0].approach_cells.empty());
    EXPECT_EQ(r[1].advance_cell, 57u);
    EXPECT_EQ(r[1].approach_cells, (std::vector<std::size_t>{56, 55, 54, 53}));
}

TEST(SpeedBoards, ValuesAsWrittenAndWorkedBackFromTheCell) {
    const compiled& c = program();
    for (const compile_log* log : std::vector<const compile_log*>{&c.log, nullptr}) {
        SCOPED_TRACE(log ? "with the log" : "cells alone");
        const auto boards = route::speed_boards(c.state.celle, log);
        ASSERT_EQ(boards.size(), 1u);
        EXPECT_EQ(boards[0].cell, 9u);
        EXPECT_EQ(boards[0].position, 400);
        EXPECT_EQ(boards[0].values, (std::array<int32_t, 8>{75, 80, 80, 0, 0, 0, 0, 0}));
        EXPECT_EQ(boards[0].as_written, log != nullptr);
    }
    // A right-hand speed: the cell keeps a fifth of it; the line keeps it whole.
    const compiled r = compile(small_line("indicatori_vmax, 1000, 60, 70, 80, 1, 50, 55, 62, 2\r\n"),
                               small_run("velocita, 0, 100\r\n"));
    EXPECT_EQ(route::speed_boards(r.state.celle, &r.log).at(0).values,
              (std::array<int32_t, 8>{60, 70, 80, 1, 50, 55, 62, 2}));
    EXPECT_EQ(route::speed_boards(r.state.celle, nullptr).at(0).values,
              (std::array<int32_t, 8>{60, 70, 80, 1, 50, 55, 60, 2}));
    // Boards do not change the permitted speed.
    expect_stretches(route::permitted_speed(r.state.celle, 12000, &r.log), {{0, 12000, 100, 100, {}}});
}

route::station timed(int32_t position, int32_t time, uint8_t dwell) {
    route::station s;
    s.position = position;
    s.dwell = dwell;
    if (time > 0)
        s.departure = time;
    return s;
}

TEST(TimingPoints, KindOfEachStation) {
    using k = route::timing_kind;
    struct row {
        const char* name;
        int32_t time;
        uint8_t dwell;
        bool first, last;
        k want;
    };
    const std::vector<row> rows = {
        {"time 0: passed untimed", 0, 0, false, false, k::untimed},
        {"time 0 with a dwell: still untimed", 0, 60, false, false, k::untimed},
        {"time and no dwell: passing time", 30000, 0, false, false, k::passing},
        {"time and a dwell: stop", 30000, 60, false, false, k::stop},
        {"first with a time", 30000, 1, true, false, k::start},
        {"first without a time", 0, 1, true, false, k::untimed},
        {"last with a time: terminal", 30000, 0, false, true, k::terminal},
        {"last with a time and a dwell: terminal", 30000, 60, false, true, k::terminal},
        {"last without a time", 0, 0, false, true, k::untimed},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        route::station s = timed(0, r.time, r.dwell);
        if (r.last && s.departure)
            std::swap(s.arrival, s.departure);
        EXPECT_EQ(route::timing_of(s, r.first, r.last), r.want);
    }
}

TEST(RunningTimeBound, ProgramsLegsWorkedByHand) {
    const compiled& c = program();
    const auto stations = route::stations(c.state.celle, c.state.voci, &c.log);
    const auto legs = route::legs(stations, route::permitted_speed(c.state.celle, 40000));
    struct row {
        const char* to;
        int64_t scheduled;
        double bound;
    };
    // Metres at 80 km/h (0.045 s/m) and at 30 km/h in the slowdowns (0.12 s/m), plus the stop.
    const std::vector<row> rows = {
        {"CORBEZZI", 17 * 60, 17550 * 0.045 + 60},
        {"S.MOMME'", 6 * 60, 4050 * 0.045 + 300 * 0.12 + 30},
        {"PRACCHIA", 4 * 60, 3150 * 0.045 + 60},
        {"MOLINO DEL PALLONE", 9 * 60, 7050 * 0.045 + 60},
        {"PONTE DELLA VENTURINA", 6 * 60, 3200 * 0.045 + 1000 * 0.12 + 30},
        {"ROCCALBA TERME", 6 * 60, 3500 * 0.045},
    };
    ASSERT_EQ(legs.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].to);
        EXPECT_EQ(stations[legs[i].to.station].name, rows[i].to);
        EXPECT_EQ(legs[i].scheduled, rows[i].scheduled);
        ASSERT_TRUE(legs[i].bound);
        EXPECT_NEAR(*legs[i].bound, rows[i].bound, 1e-9);
        EXPECT_GT(static_cast<double>(legs[i].scheduled), *legs[i].bound);
    }
}

TEST(RunningTimeBound, LegsSkipUntimedStationsAndCountTheStopAtTheirEnd) {
    const std::vector<route::speed_stretch> s = {{0, 10000, 72, 72, {}, 0, {}}};  // 20 m/s
    std::vector<route::station> list = {timed(0, 1000, 1),     timed(2000, 0, 60), timed(4000, 1300, 0),
                                        timed(6000, 1500, 45), timed(8000, 0, 0),  timed(10000, 2000, 0)};
    std::swap(list.back().arrival, list.back().departure);
    const auto legs = route::legs(list, s);
    ASSERT_EQ(legs.size(), 3u);
    // start -> passing: 4000 m; passing -> stop: 2000 m and the 45 s stop; stop -> terminal.
    EXPECT_EQ(legs[0].from.kind, route::timing_kind::start);
    EXPECT_EQ(legs[0].to.kind, route::timing_kind::passing);
    EXPECT_DOUBLE_EQ(*legs[0].bound, 200.0);
    EXPECT_EQ(legs[0].scheduled, 300);
    EXPECT_EQ(legs[1].to.kind, route::timing_kind::stop);
    EXPECT_EQ(legs[1].dwell, 45);
    EXPECT_DOUBLE_EQ(*legs[1].bound, 145.0);
    EXPECT_EQ(legs[2].to.kind, route::timing_kind::terminal);
    EXPECT_EQ(legs[2].dwell, 0);
    EXPECT_DOUBLE_EQ(*legs[2].bound, 200.0);
    EXPECT_EQ(legs[2].scheduled, 500);
}

TEST(RunningTimeBound, ALegOverMidnightCountsTheDay) {
    const std::vector<route::speed_stretch> s = {{0, 10000, 72, 72, {}, 0, {}}};
    std::vector<route::station> list = {timed(0, 23 * 3600 + 59 * 60, 1), timed(6000, 60, 0)};
    std::swap(list.back().arrival, list.back().departure);
    EXPECT_EQ(route::legs(list, s).at(0).scheduled, 120);
}

}  // namespace
}  // namespace scenario
