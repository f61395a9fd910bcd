// Every recorded field carries the section its reader was in, and the heading
// that opened a section says which: before "[generale]", the line
// description's general section and body, the run description.
#include "compiler/compile_driver.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace scenario {
namespace {

compile_log compile_log_of(const std::string& line, const std::string& run) {
    stato_scenario s;
    s.nome_scenario = "Prova";
    s.numero_treno = "101";
    sorgenti_in_memoria sources(line, run);
    compile_log log;
    compila_scenario(s, 0, sources, {}, &log);
    return log;
}

// "text:section" for each keyword field of one source, "+section" after a
// field that opened one.
std::vector<std::string> sections(const compile_log& log, sorgente_testo source) {
    static const char* names[] = {"before", "general", "body", "run"};
    std::vector<std::string> list;
    for (const field_record& f : log.fields) {
        if (f.source != source || f.role != field_role::keyword)
            continue;
        std::string t = f.text + ":" + names[static_cast<int>(f.section)];
        if (f.opens)
            t += "+" + std::string(names[static_cast<int>(*f.opens)]);
        list.push_back(t);
    }
    return list;
}

const std::string line =
    "note\r\n[generale]\r\nlunghezza percorso, 2000\r\n[pendenze]\r\npendenza, 0, 2\r\n[fine]\r\n";

TEST(FieldSections, AsTheReadersWent) {
    struct run_case {
        std::string run;
        std::vector<std::string> expected;
    };
    const run_case cases[] = {
        {"x\r\n[generale]\r\nsabbia, 300\r\n[fine]\r\n",
         {"x:before", "[generale]:before+run", "sabbia:run", "[fine]:run"}},
        // A run description that ends at its heading has opened its section.
        {"[generale]\r\n", {"[generale]:before+run"}},
        // Without the heading every field is a keyword field before it.
        {"sabbia, 300\r\n", {"sabbia:before", "300:before"}},
    };
    for (const run_case& c : cases) {
        const compile_log log = compile_log_of(line, c.run);
        EXPECT_EQ(sections(log, sorgente_testo::linea),
                  (std::vector<std::string>{"note:before", "[generale]:before+general",
                                            "lunghezza percorso:general", "[pendenze]:general+body",
                                            "pendenza:body", "[fine]:body"}));
        EXPECT_EQ(sections(log, sorgente_testo::corsa), c.expected) << c.run;
    }
}

// A general section that the file ends opens no body.
TEST(FieldSections, UnendedGeneralSection) {
    const compile_log log = compile_log_of("[generale]\r\nlunghezza percorso, 2000\r\n", "[generale]\r\n");
    EXPECT_EQ(sections(log, sorgente_testo::linea),
              (std::vector<std::string>{"[generale]:before+general", "lunghezza percorso:general"}));
}

}  // namespace
}  // namespace scenario
