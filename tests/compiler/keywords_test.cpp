// The keyword tables are what the readers test and read: each writer spelling
// matches its own row, and in the program's own sources every recognised
// keyword field is followed by exactly the value fields its row lists, with
// the widths it gives.
#include "compiler/keywords.h"

#include "common/line_list.h"
#include "compiler/compile_driver.h"
#include "compiler/text_case.h"
#include "sources/writers.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace scenario {
namespace {

std::vector<const keyword_row*> matching(std::span<const keyword_row> rows, const std::string& field) {
    std::vector<const keyword_row*> r;
    const std::string lowered = lower_ascii(field);
    for (const keyword_row& row : rows)
        if (row.matches(field, lowered, true))
            r.push_back(&row);
    return r;
}

TEST(KeywordTables, EachWriterSpellingMatchesItsOwnRowOnly) {
    for (auto rows : {line_general_keywords(), line_body_keywords(), run_keywords()}) {
        for (const keyword_row& row : rows) {
            EXPECT_FALSE(row.values.empty());
            for (std::string_view spelling : row.writer_spellings) {
                const auto m = matching(rows, std::string(spelling));
                ASSERT_EQ(m.size(), 1u) << spelling;
                EXPECT_EQ(m[0]->id, row.id) << spelling;
            }
            EXPECT_EQ(&keyword_info(row.id), &row);
        }
    }
    // The curve keyword counts only while the track plan is built.
    const keyword_row& curve = keyword_info(keyword::curve);
    EXPECT_TRUE(curve.matches("curvad5", "curvad5", true));
    EXPECT_FALSE(curve.matches("curvad5", "curvad5", false));
    // Case: the progressives compare exactly, the route length does not.
    EXPECT_FALSE(keyword_info(keyword::progressive_one).matches("Progressiva uno", "progressiva uno", true));
    EXPECT_TRUE(
        keyword_info(keyword::route_length).matches("LUNGHEZZA PERCORSO", "lunghezza percorso", true));
    EXPECT_TRUE(ends_general_section("  [curve]"));
    EXPECT_FALSE(ends_general_section(" -[curve]"));
}

field_width width_of(const value_field& v) {
    return v.width;
}

TEST(KeywordTables, EveryHandlerReadsExactlyTheFieldsItsRowLists) {
    // The program's own sources, and one abbattimento point, which they lack.
    std::string run_text = testo_lista(sorgenti::righe_treno());
    const std::size_t end = run_text.rfind("[fine]");
    ASSERT_NE(end, std::string::npos);
    run_text.insert(end, "abbattimento, 30025, 5\r\n");
    stato_scenario s;
    s.nome_scenario = "Calvena_Roccalba";
    s.numero_treno = "4127";
    sorgenti_in_memoria sources(testo_lista(sorgenti::righe_linea()), run_text);
    compile_log log;
    ASSERT_FALSE(compila_scenario(s, 1, sources, {}, &log));
    ASSERT_EQ(s.codice_errore, 0);

    enum class part { before, general, body, run };
    part where = part::before;
    std::map<keyword, int> seen;
    const std::vector<field_record>& f = log.fields;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (f[i].role != field_role::keyword)
            continue;
        const std::string& field = f[i].text;
        if (i > 0 && f[i].source != f[i - 1].source)
            where = part::before;
        if (where == part::before) {
            if (lower_ascii(field).find(general_header) != std::string::npos)
                where = f[i].source == sorgente_testo::linea ? part::general : part::run;
            continue;
        }
        const std::span<const keyword_row> rows = where == part::general ? line_general_keywords()
                                                  : where == part::body  ? line_body_keywords()
                                                                         : run_keywords();
        const auto m = matching(rows, field);
        ASSERT_LE(m.size(), 1u) << field;
        std::size_t n = 0;
        if (m.size() == 1) {
            SCOPED_TRACE(field + " on line " + std::to_string(f[i].line));
            ++seen[m[0]->id];
            for (const value_field& v : m[0]->values) {
                ++n;
                ASSERT_LT(i + n, f.size());
                EXPECT_EQ(f[i + n].role, field_role::value) << v.name;
                EXPECT_EQ(f[i + n].width, width_of(v)) << v.name;
            }
        }
        // The values are all the line holds: the next keyword field follows.
        EXPECT_EQ(fields_of_line(log, static_cast<int32_t>(i)).size(), n + 1)
            << field << " on line " << f[i].line;
        if (where == part::general && ends_general_section(field))
            where = part::body;
    }
    // Every keyword of the tables was met at least once.
    for (auto rows : {line_general_keywords(), line_body_keywords(), run_keywords()})
        for (const keyword_row& row : rows)
            EXPECT_GT(seen[row.id], 0) << row.part1 << " " << row.part2;
}

}  // namespace
}  // namespace scenario
