// `scenario plan`: the SVG must be well-formed XML and show what a person
// looks for: the twelve station names, the signals and the slowdowns.
#include "common/line_list.h"
#include "sources/writers.h"
#include "tests/support/files.h"
#include "tests/support/route_fixtures.h"
#include "tools/command_line.h"
#include "tools/commands/compile_command.h"
#include "tools/commands/plan_command.h"
#include "tools/render/svg_plan.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace scenario::tool {
namespace {

namespace fs = std::filesystem;
using test_support::read_file;
using test_support::write_file;
using tool::compile_request;
using tool::compile_result;
using tool::compile_sources;

// A small XML reader: checks that tags nest and close, attributes are quoted
// and entities are known, and gathers the elements with their text.
struct xml_element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;
    std::vector<std::string> ancestors;
};

class xml_reader {
public:
    explicit xml_reader(std::string t) : t_(std::move(t)) {}

    // Empty when the document is well-formed; else what is wrong and where.
    std::string read(std::vector<xml_element>& elements) {
        std::vector<std::size_t> open_elements;
        bool root_closed = false;
        while (i_ < t_.size()) {
            if (t_.compare(i_, 5, "<?xml") == 0) {
                const std::size_t f = t_.find("?>", i_);
                if (f == std::string::npos)
                    return fault("unterminated declaration");
                i_ = f + 2;
            } else if (t_.compare(i_, 2, "</") == 0) {
                const std::size_t f = t_.find('>', i_);
                if (f == std::string::npos)
                    return fault("unterminated end tag");
                const std::string name = t_.substr(i_ + 2, f - i_ - 2);
                if (open_elements.empty() || elements[open_elements.back()].name != name)
                    return fault("mismatched </" + name + ">");
                open_elements.pop_back();
                if (open_elements.empty())
                    root_closed = true;
                i_ = f + 1;
            } else if (t_[i_] == '<') {
                if (root_closed)
                    return fault("content after the root element");
                ++i_;
                xml_element e;
                while (i_ < t_.size() && std::isalnum(static_cast<unsigned char>(t_[i_])))
                    e.name += t_[i_++];
                if (e.name.empty())
                    return fault("element without a name");
                for (std::size_t a : open_elements)
                    e.ancestors.push_back(elements[a].name + "#" + elements[a].attributes["id"]);
                bool empty_value = false;
                for (;;) {
                    skip_blanks();
                    if (i_ >= t_.size())
                        return fault("unterminated tag");
                    if (t_.compare(i_, 2, "/>") == 0) {
                        empty_value = true;
                        i_ += 2;
                        break;
                    }
                    if (t_[i_] == '>') {
                        ++i_;
                        break;
                    }
                    std::string name;
                    while (i_ < t_.size() && (std::isalnum(static_cast<unsigned char>(t_[i_])) ||
                                              t_[i_] == '-' || t_[i_] == ':'))
                        name += t_[i_++];
                    if (name.empty() || i_ + 1 >= t_.size() || t_[i_] != '=' || t_[i_ + 1] != '"')
                        return fault("bad attribute in <" + e.name + ">");
                    i_ += 2;
                    const std::size_t f = t_.find('"', i_);
                    if (f == std::string::npos)
                        return fault("unterminated attribute");
                    std::string value;
                    if (!decoded(t_.substr(i_, f - i_), value))
                        return fault("bad entity in an attribute");
                    if (e.attributes.count(name))
                        return fault("attribute " + name + " given twice");
                    e.attributes[name] = value;
                    i_ = f + 1;
                }
                elements.push_back(std::move(e));
                if (!empty_value)
                    open_elements.push_back(elements.size() - 1);
            } else {
                const std::size_t f = t_.find('<', i_);
                const std::string raw = t_.substr(i_, f == std::string::npos ? std::string::npos : f - i_);
                std::string text;
                if (!decoded(raw, text))
                    return fault("bad entity in text");
                if (!open_elements.empty())
                    elements[open_elements.back()].text += text;
                i_ = f == std::string::npos ? t_.size() : f;
            }
        }
        if (!open_elements.empty())
            return fault("unclosed <" + elements[open_elements.back()].name + ">");
        if (!root_closed)
            return fault("no root element");
        return {};
    }

private:
    std::string fault(const std::string& what) const { return what + " at offset " + std::to_string(i_); }
    void skip_blanks() {
        while (i_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[i_])))
            ++i_;
    }
    static bool decoded(const std::string& raw, std::string& out) {
        for (std::size_t k = 0; k < raw.size(); ++k) {
            if (raw[k] == '<')
                return false;
            if (raw[k] != '&') {
                out += raw[k];
                continue;
            }
            const std::size_t f = raw.find(';', k);
            if (f == std::string::npos)
                return false;
            const std::string entity_name = raw.substr(k + 1, f - k - 1);
            static const std::map<std::string, std::string> note = {
                {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"#39", "'"}};
            const auto it = note.find(entity_name);
            if (it == note.end())
                return false;
            out += it->second;
            k = f;
        }
        return true;
    }

    std::string t_;
    std::size_t i_ = 0;
};

class Piano : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(root_ / "l.txt", testo_lista(sorgenti::righe_linea()));
        write_file(root_ / "r.txt", testo_lista(sorgenti::righe_treno()));
    }

    void compile(bool with_plan) {
        const compile_result e = compile_sources(
            {{root_ / "l.txt", root_ / "r.txt", {"Calvena_Roccalba", "4127"}}, with_plan, root_ / "out"});
        ASSERT_TRUE(e.status) << e.status.error();
        ASSERT_TRUE(e.errors.empty());
    }

    int draw(std::string& err) {
        std::ostringstream o, e;
        const int status = run({"plan", "--name", "Calvena_Roccalba", "--train", "4127",
                                (root_ / "out").string(), "--svg", (root_ / "plan.svg").string()},
                               o, e);
        err = e.str();
        return status;
    }

    std::vector<xml_element> read_svg() {
        std::vector<xml_element> elements;
        const std::string fault = xml_reader(read_file(root_ / "plan.svg")).read(elements);
        EXPECT_EQ(fault, "");
        return elements;
    }

    test_support::temporary_directory root_{"scenario_tool_plan_"};
};

TEST_F(Piano, TheDrawingNamesTheTwelveStationsAndMarksSignalsAndSlowdowns) {
    compile(true);
    std::string err;
    ASSERT_EQ(draw(err), 0) << err;
    const std::vector<xml_element> elements = read_svg();
    ASSERT_FALSE(elements.empty());
    EXPECT_EQ(elements.front().name, "svg");
    EXPECT_EQ(elements.front().attributes.at("xmlns"), "http://www.w3.org/2000/svg");

    std::map<std::string, int> names_in_plan;
    int signal_marks = 0, rallentamenti = 0;
    std::string heading;
    for (const xml_element& e : elements) {
        const bool in_plan = !e.ancestors.empty() && e.ancestors.back() == "g#plan";
        if (e.name == "text" && in_plan)
            ++names_in_plan[e.text];
        if (e.name == "text" && e.ancestors.size() == 1)
            heading += e.text + "\n";
        if (e.name == "circle" && in_plan && e.attributes.at("fill") == "#d62728")
            ++signal_marks;
        if (e.name == "polyline" && in_plan && e.attributes.at("stroke") == "#f08c00")
            ++rallentamenti;
    }
    for (const std::string& name : test_support::program_stations())
        EXPECT_GE(names_in_plan[name], 1) << name;
    EXPECT_EQ(signal_marks, 12);
    EXPECT_EQ(rallentamenti, 2);
    EXPECT_NE(heading.find("route 40 km, 12 stations, 12 signals, 2 slowdowns"), std::string::npos)
        << heading;
}

TEST_F(Piano, TheSpeedBandShowsTheSlowdownsTheBoardAndTheTimedStations) {
    compile(true);
    std::string err;
    ASSERT_EQ(draw(err), 0) << err;
    const std::vector<xml_element> elements = read_svg();
    ASSERT_FALSE(elements.empty());
    const double height = std::stod(elements.front().attributes.at("height"));
    int slowdowns = 0, timed_stations = 0;
    std::string texts;
    double lowest = 0;
    for (const xml_element& e : elements) {
        if (e.ancestors.empty() || e.ancestors.back() != "g#speed")
            continue;
        if (e.name == "text")
            texts += e.text + "\n";
        if (e.name == "rect" && e.attributes.at("fill") == "#f1c7c1")
            ++slowdowns;
        if (e.name == "line" && e.attributes.count("stroke-dasharray") &&
            e.attributes.at("stroke") == "#1f4e9c")
            ++timed_stations;
        for (const char* y : {"y", "y1", "y2"})
            if (e.attributes.count(y))
                lowest = std::max(lowest, std::stod(e.attributes.at(y)));
    }
    EXPECT_EQ(slowdowns, 2);
    EXPECT_EQ(timed_stations, 7);  // the first and last stations and the five stops
    EXPECT_NE(texts.find("30\n"), std::string::npos) << texts;
    EXPECT_NE(texts.find("75/80/80"), std::string::npos) << texts;
    EXPECT_NE(texts.find("they do not change the permitted speed"), std::string::npos) << texts;
    EXPECT_LT(lowest, height);
}

TEST_F(Piano, WithoutALineFileTheLineIsDrawnStraight) {
    compile(false);
    std::string err;
    ASSERT_EQ(draw(err), 0) << err;
    std::string texts;
    for (const xml_element& e : read_svg())
        if (e.name == "text")
            texts += e.text + "\n";
    EXPECT_NE(texts.find("no line file"), std::string::npos);
    for (const std::string& name : test_support::program_stations())
        EXPECT_NE(texts.find(name), std::string::npos) << name;
}

// A line file left by an earlier compile of a longer route: warned about and
// left out, and the picture is still drawn.
TEST_F(Piano, ALineFileOfAnotherRouteIsLeftOutWithAWarning) {
    std::string line = testo_lista(sorgenti::righe_linea());
    const std::string length = "lunghezza percorso,    40000";
    ASSERT_NE(line.find(length), std::string::npos);
    write_file(root_ / "l.txt",
               line.replace(line.find(length), length.size(), "lunghezza percorso,    45000"));
    compile(true);
    write_file(root_ / "l.txt", testo_lista(sorgenti::righe_linea()));
    compile(false);  // the cells of the 40 km route, the line file of the 45 km one

    std::string err;
    ASSERT_EQ(draw(err), 0) << err;
    EXPECT_NE(err.find("warning: "), std::string::npos) << err;
    EXPECT_NE(err.find("Calvena_Roccalba_linea.dat does not belong to"), std::string::npos) << err;
    EXPECT_NE(err.find("52001 points"), std::string::npos) << err;
    EXPECT_NE(err.find("has 941"), std::string::npos) << err;
    std::string texts;
    for (const xml_element& e : read_svg())
        if (e.name == "text")
            texts += e.text + "\n";
    EXPECT_NE(texts.find("belongs to another route"), std::string::npos) << texts;

    // The plan's own line file matches again: no warning.
    compile(true);
    ASSERT_EQ(draw(err), 0);
    EXPECT_EQ(err, "");
}

// Compiled files alone: the boards' records are left out; an all-zero station
// record cannot be told from an empty one and ends the stations (the page,
// with the compile at hand, lists it).
TEST_F(Piano, StationsOfCompiledFilesWhereTheRecordsAreHardToRead) {
    const std::vector<std::string>& all = test_support::program_stations();
    const struct {
        const char* what;
        std::string line, run;
        std::vector<std::string> stations;
        const char* heading;
    } cases[] = {
        {"the boards fill the records", test_support::line_with_boards_filling_the_records(),
         testo_lista(sorgenti::righe_treno()), std::vector<std::string>(all.begin(), all.begin() + 11),
         "route 40 km, 11 stations,"},
        {"an all-zero station",
         testo_lista(sorgenti::righe_linea()),
         test_support::run_with_an_all_zero_station(),
         {"CALVENA"},
         "route 40 km, 1 station,"},
        {"a length that is no multiple of 50", test_support::line_of_40020_metres(),
         testo_lista(sorgenti::righe_treno()), all, "route 40.0 km, 12 stations,"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        write_file(root_ / "l.txt", c.line);
        write_file(root_ / "r.txt", c.run);
        const compile_result compiled = compile_sources(
            {{root_ / "l.txt", root_ / "r.txt", {"Calvena_Roccalba", "4127"}}, true, root_ / "out"});
        ASSERT_TRUE(compiled.status) << compiled.status.error();
        std::string err;
        ASSERT_EQ(draw(err), 0) << err;
        std::vector<std::string> names;
        std::string heading;
        for (const xml_element& e : read_svg()) {
            const std::string parent = e.ancestors.empty() ? "" : e.ancestors.back();
            if (e.name == "text" && parent == "g#plan" && e.attributes.at("fill") == "#12336b")
                names.push_back(e.text);
            if (e.name == "text" && parent == "svg#" && e.attributes.at("y") == "56")
                heading = e.text;
        }
        EXPECT_EQ(names, c.stations);
        EXPECT_EQ(heading.rfind(c.heading, 0), 0u) << heading;
    }
}

TEST_F(Piano, MissingOrInvalidFilesAreReported) {
    std::string err;
    EXPECT_EQ(draw(err), 2);  // nothing compiled yet
    EXPECT_NE(err.find("no such file"), std::string::npos) << err;

    compile(true);
    write_file(root_ / "out" / "Calvena_Roccalba_4127.sim", "short");
    EXPECT_EQ(draw(err), 1);
    EXPECT_NE(err.find("offset"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(root_ / "plan.svg"));
}

// Compiled files built by hand: the stations and the length the drawing
// shows where a run file read alone is ambiguous.
struct drawn_route {
    std::vector<std::string> stations;  // the names by the stations' marks, in order
    std::string heading;                // the line under the title
    std::vector<std::string> profile_texts;
};

drawn_route drawn(const plan_data& d) {
    std::vector<xml_element> elements;
    EXPECT_EQ(xml_reader(draw_plan(d)).read(elements), "");
    drawn_route r;
    for (const xml_element& e : elements) {
        if (e.name != "text")
            continue;
        const std::string parent = e.ancestors.empty() ? "" : e.ancestors.back();
        if (parent == "g#plan" && e.attributes.at("fill") == "#12336b")
            r.stations.push_back(e.text);
        if (parent == "svg#" && e.attributes.at("y") == "56")
            r.heading = e.text;
        if (parent == "g#profile")
            r.profile_texts.push_back(e.text);
    }
    return r;
}

plan_data hand_route() {
    plan_data d;
    d.title = "hand";
    d.celle.resize(181);  // a 2000 m route: (2000 + 7000) / 50 + 1 cells
    for (cella& c : d.celle)
        c.pendenza = 100;
    d.voci[voce_treno].valore2 = 2000;
    return d;
}

void add_station(plan_data& d, int slot, int32_t position, const char* name) {
    voce& v = d.voci[static_cast<std::size_t>(slot)];
    v.tipo = 12;
    v.valore3 = position;
    v.valore1 = position - 100;
    v.valore2 = position + 100;
    v.testo = name;
}

void add_board(plan_data& d, int slot, std::size_t cell, const char* text) {
    d.voci[static_cast<std::size_t>(slot)].testo = text;
    d.celle[cell].tipo = tipo_cella::cartello_galleria;
    d.celle[cell].dato1 = static_cast<int16_t>(slot);
}

TEST(PlanOfHandBuiltFiles, StationsAndLength) {
    using names = std::vector<std::string>;
    {
        SCOPED_TRACE("a board's record between two stations");
        plan_data d = hand_route();
        add_station(d, 1, 0, "ALFA");
        add_board(d, 2, 20, "(GALLERIA)");
        add_station(d, 3, 1500, "GAMMA");
        const drawn_route r = drawn(d);
        EXPECT_EQ(r.stations, (names{"ALFA", "GAMMA"}));
        EXPECT_EQ(r.heading.rfind("route 2 km, 2 stations,", 0), 0u) << r.heading;
    }
    {
        SCOPED_TRACE("an all-zero station record: read alone, it ends the stations");
        plan_data d = hand_route();
        add_station(d, 1, 0, "ALFA");
        add_station(d, 3, 1500, "GAMMA");
        EXPECT_EQ(drawn(d).stations, (names{"ALFA"}));
    }
    {
        SCOPED_TRACE("the station records reach the board records");
        plan_data d = hand_route();
        for (int slot = 80; slot >= 3; --slot)
            add_board(d, slot, static_cast<std::size_t>(slot) + 10, "(B)");
        add_station(d, 1, 0, "ALFA");
        add_station(d, 2, 1500, "BETA");
        const drawn_route r = drawn(d);
        EXPECT_EQ(r.stations, (names{"ALFA", "BETA"}));
        EXPECT_EQ(r.heading.rfind("route 2 km, 2 stations,", 0), 0u) << r.heading;
    }
    {
        SCOPED_TRACE("a length that is no multiple of 50");
        plan_data d = hand_route();
        d.celle.resize(180);  // (1970 + 7000) / 50 = 179.4: 179 + 1 cells
        d.voci[voce_treno].valore2 = 1970;
        for (cella& c : d.celle)
            c.pendenza = 110;  // +10 per mille: 19.7 m up over the route
        add_station(d, 1, 0, "ALFA");
        const drawn_route r = drawn(d);
        EXPECT_EQ(r.heading.rfind("route 2.0 km, 1 station, 0 signals, 0 slowdowns, 0 tunnels", 0), 0u)
            << r.heading;
        EXPECT_NE(std::find(r.profile_texts.begin(), r.profile_texts.end(), "19.7 m"), r.profile_texts.end());
        EXPECT_EQ(std::find(r.profile_texts.begin(), r.profile_texts.end(), "20.0 m"), r.profile_texts.end());
    }
}

}  // namespace
}  // namespace scenario::tool
