#include "compiler/field_reader.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace scenario {
namespace {

// Reads text fields until the end of the source.
std::vector<std::string> testi(std::string_view dati) {
    lettore_campi l(dati);
    std::vector<std::string> r;
    while (!l.fine())
        r.push_back(l.leggi_testo());
    return r;
}

std::vector<int32_t> interi(std::string_view dati) {
    lettore_campi l(dati);
    std::vector<int32_t> r;
    while (!l.fine())
        r.push_back(l.leggi_intero());
    return r;
}

using campi = std::vector<std::string>;
using numeri = std::vector<int32_t>;

TEST(FieldReader, TextFieldsEndAtCommasAndAnyLineEnd) {
    struct caso {
        const char* dati;
        campi attesi;
    } casi[] = {
        {"a,b\r\nc", {"a", "b", "c"}},
        {"a\rb\nc\r\n", {"a", "b", "c"}},
        {"\r\n\r\n[generale]\r\n", {"", "", "[generale]"}},
        {"   lunghezza percorso  ,  7", {"lunghezza percorso", "7"}},
        {"a,,b", {"a", "", "b"}},
        {"\"x, y\",z", {"x, y", "z"}},
        {"  \"(A)(1 m.)\" tail,next", {"(A)(1 m.)", "next"}},
        {"\"open, to the end", {"open, to the end"}},
        {"ab\"c,d", {"ab\"c", "d"}},
    };
    for (const caso& c : casi)
        EXPECT_EQ(testi(c.dati), c.attesi) << c.dati;
    // Bytes of every value are kept, a NUL included.
    EXPECT_EQ(testi(std::string("\x00\xff,\x01", 4)), (campi{std::string("\x00\xff", 2), "\x01"}));
}

TEST(FieldReader, NumbersEndAtBlanksAndReadBadTokensAsZero) {
    struct caso {
        const char* dati;
        numeri attesi;
    } casi[] = {
        {"7,8\r\n9", {7, 8, 9}},
        {"16   19   30 \r\n", {16, 19, 30}},
        {" 7 8", {7, 8}},
        {"0    ,0", {0, 0}},
        {"  ,  ,0", {0, 0, 0}},
        {"+5,-17", {5, -17}},
        {"-,12abc,1.5,1e3,--5,+", {0, 0, 0, 0, 0, 0}},
        {"99999999999abc,4", {0, 4}},
        {"2147483647,-2147483648", {2147483647, -2147483648}},
        {"0000000000000000000042", {42}},
        {"\" 12 \",3", {12, 3}},
    };
    for (const caso& c : casi)
        EXPECT_EQ(interi(c.dati), c.attesi) << c.dati;
}

TEST(FieldReader, NumbersBeyondTheirWidthAreReadFailures) {
    for (const char* dati : {"2147483648", "-2147483649", "99999999999"}) {
        lettore_campi l(dati);
        EXPECT_THROW(l.leggi_intero(), errore_lettura) << dati;
    }
    lettore_campi l16("32767,-32768,32768");
    EXPECT_EQ(l16.leggi_intero16(), 32767);
    EXPECT_EQ(l16.leggi_intero16(), -32768);
    EXPECT_THROW(l16.leggi_intero16(), errore_lettura);
    lettore_campi l8("255,0,256,-1");
    EXPECT_EQ(l8.leggi_byte(), 255);
    EXPECT_EQ(l8.leggi_byte(), 0);
    EXPECT_THROW(l8.leggi_byte(), errore_lettura);
    EXPECT_THROW(l8.leggi_byte(), errore_lettura);
}

TEST(FieldReader, ReadingAtTheEndFailsButAFinalFieldWithoutLineEndIsRead) {
    lettore_campi vuoto("");
    EXPECT_TRUE(vuoto.fine());
    EXPECT_THROW(vuoto.leggi_testo(), errore_lettura);
    EXPECT_THROW(vuoto.leggi_intero(), errore_lettura);

    lettore_campi l("[fine]");
    EXPECT_FALSE(l.fine());
    EXPECT_EQ(l.leggi_testo(), "[fine]");
    EXPECT_TRUE(l.fine());
    EXPECT_THROW(l.leggi_testo(), errore_lettura);

    // The line end after the last field is consumed with it.
    lettore_campi n("5\r\n");
    EXPECT_EQ(n.leggi_intero(), 5);
    EXPECT_TRUE(n.fine());
}

TEST(FieldReader, TellsTheLineOnWhichEachFieldBegan) {
    lettore_campi l("a,b\r\n\r\nc\rd\ne,\"x\r\ny\",  \r\n   7  \r\nz");
    EXPECT_EQ(l.riga(), 0);
    struct atteso {
        const char* testo;
        int32_t riga;
    } attesi[] = {{"a", 1}, {"b", 1},      {"", 2}, {"c", 3}, {"d", 4},
                  {"e", 5}, {"x\r\ny", 5}, {"", 6}, {"7", 7}, {"z", 8}};
    for (const atteso& a : attesi) {
        EXPECT_EQ(l.leggi_testo(), a.testo);
        EXPECT_EQ(l.riga(), a.riga) << a.testo;
    }
    EXPECT_TRUE(l.fine());
}

}  // namespace
}  // namespace scenario

namespace scenario {
namespace {

// ---- the records of what was read ------------------------------------------------

enum class kind { keyword, text, n32, n16, n8 };

// Reads `dati` with the given kinds in turn and gives the records.
std::vector<field_record> records(std::string_view dati, std::initializer_list<kind> kinds) {
    std::vector<field_record> r;
    lettore_campi l(dati, &r, sorgente_testo::corsa);
    for (kind k : kinds) {
        try {
            switch (k) {
                case kind::keyword:
                    (void)l.leggi_parola_chiave();
                    break;
                case kind::text:
                    (void)l.leggi_testo();
                    break;
                case kind::n32:
                    (void)l.leggi_intero();
                    break;
                case kind::n16:
                    (void)l.leggi_intero16();
                    break;
                case kind::n8:
                    (void)l.leggi_byte();
                    break;
            }
        } catch (const errore_lettura&) {
            break;
        }
    }
    return r;
}

TEST(FieldRecords, SayWhereEachFieldStoodAndHowItWasTaken) {
    using fr = field_reading;
    using fw = field_width;
    struct expected {
        int32_t line, first, last;
        const char* raw;
        int32_t value;
        fr reading;
        fw width;
        field_role role;
    };
    struct caso {
        const char* name;
        const char* data;
        std::initializer_list<kind> kinds;
        std::vector<expected> fields;
    } cases[] = {
        {"keyword and numbers ending at blanks",
         "orologio,    16   19 30 \r\n",
         {kind::keyword, kind::n16, kind::n16, kind::n16},
         {{1, 1, 8, "orologio", 0, fr::text, fw::text, field_role::keyword},
          {1, 14, 15, "16", 16, fr::number, fw::bits16, field_role::value},
          {1, 19, 20, "19", 19, fr::number, fw::bits16, field_role::value},
          {1, 22, 23, "30", 30, fr::number, fw::bits16, field_role::value}}},
        {"empty and not-a-number fields read as 0",
         "x,,12abc,-\r\n",
         {kind::keyword, kind::n32, kind::n32, kind::n32},
         {{1, 1, 1, "x", 0, fr::text, fw::text, field_role::keyword},
          {1, 3, 2, "", 0, fr::empty_as_zero, fw::bits32, field_role::value},
          {1, 4, 8, "12abc", 0, fr::not_a_number, fw::bits32, field_role::value},
          {1, 10, 10, "-", 0, fr::not_a_number, fw::bits32, field_role::value}}},
        {"a number beyond its width is recorded, then fails",
         "a\r\n  300,5",
         {kind::keyword, kind::n8, kind::n8},
         {{1, 1, 1, "a", 0, fr::text, fw::text, field_role::keyword},
          {2, 3, 5, "300", 0, fr::beyond_width, fw::bits8, field_role::value}}},
        {"beyond 32 bits",
         "99999999999",
         {kind::n32},
         {{1, 1, 11, "99999999999", 0, fr::beyond_width, fw::bits32, field_role::value}}},
        {"a quoted text keeps its quotes as written; trailing blanks are not part of it",
         "cartello, 5750, \"(GALLERIA, LUNGA)\"  \r\nnext",
         {kind::keyword, kind::n32, kind::text, kind::keyword},
         {{1, 1, 8, "cartello", 0, fr::text, fw::text, field_role::keyword},
          {1, 11, 14, "5750", 5750, fr::number, fw::bits32, field_role::value},
          {1, 17, 35, "\"(GALLERIA, LUNGA)\"", 0, fr::text, fw::text, field_role::value},
          {2, 1, 4, "next", 0, fr::text, fw::text, field_role::keyword}}},
        {"a station name with inner blanks",
         "  SAN MARCO  ,x",
         {kind::text},
         {{1, 3, 11, "SAN MARCO", 0, fr::text, fw::text, field_role::value}}},
    };
    for (const caso& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<field_record> r = records(c.data, c.kinds);
        ASSERT_EQ(r.size(), c.fields.size());
        for (std::size_t i = 0; i < r.size(); ++i) {
            SCOPED_TRACE(i);
            const expected& e = c.fields[i];
            EXPECT_EQ(r[i].source, sorgente_testo::corsa);
            EXPECT_EQ(r[i].line, e.line);
            EXPECT_EQ(r[i].first_column, e.first);
            EXPECT_EQ(r[i].last_column, e.last);
            EXPECT_EQ(r[i].raw, e.raw);
            EXPECT_EQ(std::string_view(c.data).substr(r[i].offset, r[i].raw.size()), r[i].raw);
            EXPECT_EQ(r[i].value, e.value);
            EXPECT_EQ(r[i].reading, e.reading);
            EXPECT_EQ(r[i].width, e.width);
            EXPECT_EQ(r[i].role, e.role);
        }
    }
    // The value of a text field is what the reader gave, quotes removed.
    EXPECT_EQ(records("\"a, b\" ,c", {kind::text})[0].text, "a, b");
}

TEST(FieldRecords, NothingIsRecordedWithoutAPlaceForThem) {
    lettore_campi l("a,1");
    EXPECT_EQ(l.last_record(), -1);
    (void)l.leggi_parola_chiave();
    EXPECT_EQ(l.leggi_intero(), 1);
    EXPECT_EQ(l.last_record(), -1);
}

}  // namespace
}  // namespace scenario
