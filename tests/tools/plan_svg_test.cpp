// `scenario plan`: the SVG must be well-formed XML and show what a person
// looks for: the twelve station names, the signals and the slowdowns.
#include "common/line_list.h"
#include "sources/writers.h"
#include "tests/support/files.h"
#include "tools/command_line.h"
#include "tools/commands/compile_command.h"
#include "tools/commands/plan_command.h"

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
            {root_ / "l.txt", root_ / "r.txt", "Calvena_Roccalba", "4127", with_plan, root_ / "out"});
        ASSERT_FALSE(e.failure);
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

const char* const station_names[] = {
    "CALVENA",
    "CALVENA OVEST",
    "VALDIBRANA",
    "PITECCIO",
    "CORBEZZI",
    "CASTAGNO",
    "S.MOMME'",
    "PRACCHIA",
    "BIAGIONI LAGACCI",
    "MOLINO DEL PALLONE",
    "PONTE DELLA VENTURINA",
    "ROCCALBA TERME",
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
    for (const char* name : station_names)
        EXPECT_GE(names_in_plan[name], 1) << name;
    EXPECT_EQ(signal_marks, 12);
    EXPECT_EQ(rallentamenti, 2);
    EXPECT_NE(heading.find("route 40 km, 12 stations, 12 signals, 2 slowdowns"), std::string::npos)
        << heading;
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
    for (const char* name : station_names)
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

}  // namespace
}  // namespace scenario::tool
