// The log notes which row every keyword field was read as, and nothing for
// headings or fields no row accepts.
#include "common/line_list.h"
#include "compiler/compile_driver.h"
#include "compiler/keywords.h"
#include "compiler/text_case.h"
#include "sources/writers.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace scenario {
namespace {

compile_log compile_log_of(const std::string& line, const std::string& run) {
    stato_scenario s;
    s.nome_scenario = "Calvena_Roccalba";
    s.numero_treno = "4127";
    sorgenti_in_memoria sources(line, run);
    compile_log log;
    compila_scenario(s, 1, sources, {}, &log);
    return log;
}

TEST(KeywordsRead, EveryLineOfTheProgramsSourcesIsNotedWithItsRow) {
    const compile_log log =
        compile_log_of(testo_lista(sorgenti::righe_linea()), testo_lista(sorgenti::righe_treno()));
    std::map<line_item, int> count;
    int32_t previous = -1;
    for (const keyword_read& k : log.keywords_read) {
        ASSERT_GE(k.field, 0);
        ASSERT_LT(static_cast<std::size_t>(k.field), log.fields.size());
        const field_record& f = log.fields[static_cast<std::size_t>(k.field)];
        EXPECT_EQ(f.role, field_role::keyword);
        EXPECT_TRUE(k.row->matches(f.text, lower_ascii(f.text), true)) << f.text;
        EXPECT_FALSE(is_heading(f.text)) << f.text;
        EXPECT_GT(k.field, previous) << "in reading order, one row a field here";
        previous = k.field;
        ++count[k.row->item];
    }
    EXPECT_EQ(count[line_item::route_length], 1);
    EXPECT_EQ(count[line_item::scenery], 3);
    EXPECT_EQ(count[line_item::gradient], 32);
    EXPECT_EQ(count[line_item::tunnel], 42);
    EXPECT_EQ(count[line_item::tunnel_board], 43);
    EXPECT_EQ(count[line_item::station], 12);
    EXPECT_EQ(count[line_item::signal], 12);
    EXPECT_EQ(count[line_item::slowdown], 2);
    EXPECT_EQ(count[line_item::adhesion], 23);
}

TEST(KeywordsRead, AFieldNoRowAcceptsIsNotNoted) {
    std::string run = testo_lista(sorgenti::righe_treno());
    run.replace(run.find("segnale,    3650"), 7, "segnal");
    const compile_log log = compile_log_of(testo_lista(sorgenti::righe_linea()), run);
    for (const keyword_read& k : log.keywords_read)
        EXPECT_NE(log.fields[static_cast<std::size_t>(k.field)].text, "segnal");
}

}  // namespace
}  // namespace scenario
