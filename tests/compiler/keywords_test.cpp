// The keyword tables are what the readers test and read: each writer spelling
// matches its own row, and in the program's own sources and in a fixture that
// uses every row, every recognised keyword field is followed by exactly the
// value fields its row lists, with the widths it gives.
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

std::vector<const keyword_row*> matching(std::span<const keyword_row> rows, const std::string& field,
                                         bool plan_built = true) {
    std::vector<const keyword_row*> r;
    const std::string lowered = lower_ascii(field);
    for (const keyword_row& row : rows)
        if (row.matches(field, lowered, plan_built))
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

// Walks the field records of a compile: each keyword field that a row of its
// section recognises is followed by exactly that row's value fields, with the
// widths it gives, and then by the next keyword field. Counts the rows met.
void check_handlers(const compile_log& log, bool plan_built, std::map<keyword, int>& seen) {
    enum class part { before, general, body, run };
    part where = part::before;
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
        const auto m = matching(rows, field, plan_built);
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
}

compile_log compile_logged(const std::string& line, const std::string& run, int32_t j) {
    stato_scenario s;
    s.nome_scenario = "Calvena_Roccalba";
    s.numero_treno = "4127";
    sorgenti_in_memoria sources(line, run);
    compile_log log;
    EXPECT_FALSE(compila_scenario(s, j, sources, {}, &log));
    EXPECT_EQ(s.codice_errore, 0);
    return log;
}

TEST(KeywordTables, TheProgramsOwnSourcesReadExactlyTheFieldsOfTheRows) {
    const compile_log log =
        compile_logged(testo_lista(sorgenti::righe_linea()), testo_lista(sorgenti::righe_treno()), 1);
    std::map<keyword, int> seen;
    check_handlers(log, true, seen);
    for (auto rows : {line_general_keywords(), line_body_keywords(), run_keywords()})
        for (const keyword_row& row : rows) {
            if (!row.writer_spellings.empty()) {
                EXPECT_GT(seen[row.id], 0) << row.part1 << " " << row.part2;
            }
        }
}

// Every row at least once, the ones the program's own sources lack included,
// with a plan and without one (the curve line is then not recognised and its
// values are read as keyword fields).
TEST(KeywordTables, EveryRowReadsExactlyItsFieldsWithAndWithoutThePlan) {
    const std::string line =
        "intestazione libera\r\n"
        "[generale]\r\n"
        "lunghezza percorso, 10000\r\n"
        "progressiva chilometrica tre, 0, 0, 0\r\n"
        "progressiva chilometrica due, 0, 0, 0\r\n"
        "progressiva chilometrica uno, 0, 5000, 1\r\n"
        "sfondo uno, 1\r\n"
        "sfondo due, 2\r\n"
        "sfondo tre, 3\r\n"
        "ripetizione segnali 9, 100, 300\r\n"
        "-----\r\n"
        "[curve]\r\n"
        "curvas2, 100, 200\r\n"
        "pendenza, 0, -5\r\n"
        "pendenza, 2000, 3\r\n"
        "montagna, 3000, 4000, 11\r\n"
        "indicatori_vmax, 1000, 60, 0, 0, 0, , , , 0\r\n"
        "cartello_indicatore, 3000, (GALLERIA)(1000 m.)\r\n"
        "[fine]\r\n";
    const std::string run =
        "[generale]\r\n"
        "numero vetture, 4\r\n"
        "percentuale massa frenata, 90\r\n"
        "sabbia, 200\r\n"
        "orologio, 8 15 0\r\n"
        "aderenza, 0, 100\r\n"
        "velocita, 0, 100\r\n"
        "stazione, 500, 4, 600, 0,0,0, 1,1,0, 4,1,1, 30, 8,20,0, PRIMA\r\n"
        "segnale, 2000, 1, 4, 1, 0, 0, 0, 0,0,0, 0\r\n"
        "rallentamento, 5000, 30, 300, 0, 1, 0\r\n"
        "abbattimento, 7000, 5\r\n"
        "[fine]\r\n";
    for (const int32_t j : {1, 0}) {
        SCOPED_TRACE("j = " + std::to_string(j));
        const compile_log log = compile_logged(line, run, j);
        std::map<keyword, int> seen;
        check_handlers(log, j != 0, seen);
        for (auto rows : {line_general_keywords(), line_body_keywords(), run_keywords()}) {
            for (const keyword_row& row : rows) {
                if (row.id == keyword::curve && j == 0) {
                    EXPECT_EQ(seen[row.id], 0);
                } else {
                    EXPECT_GT(seen[row.id], 0) << row.part1 << " " << row.part2;
                }
            }
        }
        if (j == 0) {
            // "curvas2" stands alone; 100 and 200 are keyword fields of their own.
            std::size_t curve = 0;
            while (curve < log.fields.size() && log.fields[curve].text != "curvas2")
                ++curve;
            ASSERT_LT(curve + 2, log.fields.size());
            EXPECT_EQ(log.fields[curve + 1].role, field_role::keyword);
            EXPECT_EQ(log.fields[curve + 1].text, "100");
            EXPECT_EQ(log.fields[curve + 2].role, field_role::keyword);
        }
    }
}

}  // namespace
}  // namespace scenario
