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
