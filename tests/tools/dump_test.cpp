// `scenario dump`: compiled files into JSON, and a clear error with the byte
// offset for files that are truncated or are not compiled files at all.
#include "common/line_list.h"
#include "sources/writers.h"
#include "tools/command_line.h"
#include "tools/compile_command.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace scenario::strumento {
namespace {

namespace fs = std::filesystem;

std::string contenuto(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
void scrivi(const fs::path& p, const std::string& t) {
    std::ofstream(p, std::ios::binary) << t;
}

struct uscita_comando {
    int stato;
    std::string out;
    std::string err;
};
uscita_comando esegui_dump(std::vector<std::string> parole) {
    parole.insert(parole.begin(), "dump");
    std::ostringstream o, e;
    const int stato = esegui(parole, o, e);
    return {stato, o.str(), e.str()};
}

class Dump : public ::testing::Test {
protected:
    // The program's scenario, compiled once for every test.
    static void SetUpTestSuite() {
        std::random_device caso;
        radice_ = new fs::path(fs::temp_directory_path() / ("scenario_tool_dump_" + std::to_string(caso())));
        fs::create_directories(*radice_);
        scrivi(*radice_ / "l.txt", testo_lista(sorgenti::righe_linea()));
        scrivi(*radice_ / "r.txt", testo_lista(sorgenti::righe_treno()));
        const esito_compilazione e = compila_sorgenti(
            {*radice_ / "l.txt", *radice_ / "r.txt", "Calvena_Roccalba", "4127", true, *radice_ / "out"});
        ASSERT_FALSE(e.guasto);
        ASSERT_TRUE(e.errori.empty());
    }
    static void TearDownTestSuite() {
        fs::remove_all(*radice_);
        delete radice_;
    }

    static fs::path compilato(const std::string& nome) { return *radice_ / "out" / nome; }
    static fs::path celle() { return compilato("Calvena_Roccalba_4127.dat"); }
    static fs::path corsa() { return compilato("Calvena_Roccalba_4127.sim"); }
    static fs::path linea() { return compilato("Calvena_Roccalba_linea.dat"); }
    static fs::path file(const std::string& nome) { return *radice_ / nome; }

    static fs::path* radice_;
};
fs::path* Dump::radice_ = nullptr;

TEST_F(Dump, CellFileEveryCellWithItsElevenFields) {
    const uscita_comando u = esegui_dump({celle().string()});
    ASSERT_EQ(u.stato, 0) << u.err;
    EXPECT_NE(u.out.find("\"kind\": \"cells\""), std::string::npos);
    EXPECT_NE(u.out.find("\"cells\": 941"), std::string::npos);
    // Cell 1 carries the identity stamp; cell 940 is the last.
    EXPECT_NE(u.out.find("{\"indice\": 1, \"tipo\": 0, \"dato1\": 5121, \"dato2\": "), std::string::npos);
    EXPECT_NE(u.out.find("{\"indice\": 940, "), std::string::npos);
    EXPECT_EQ(u.out.find("{\"indice\": 941, "), std::string::npos);
    // Cell 74 holds the program's first signal (3650 m).
    EXPECT_NE(
        u.out.find("{\"indice\": 74, \"tipo\": 1, \"dato1\": 40, \"dato2\": 10, \"dato3\": 0, \"dato4\": 3, "
                   "\"dato5\": 0, \"dato6\": 0, \"galleria\": 0, \"velocita\": 16, "),
        std::string::npos);
}

TEST_F(Dump, RunFileEveryRecordWithItsFields) {
    const uscita_comando u = esegui_dump({corsa().string()});
    ASSERT_EQ(u.stato, 0) << u.err;
    EXPECT_NE(
        u.out.find(
            "{\"indice\": 1, \"tipo\": 4, \"valore1\": -300, \"valore2\": 300, \"valore3\": 0, \"byte1\": 0, "
            "\"testo\": \"CALVENA\", \"intero1\": 1, \"intero2\": 1, \"intero3\": 4, \"intero4\": 1, "
            "\"intero5\": 1, \"byte2\": 0, \"byte3\": 1, \"byte4\": 0, \"byte5\": 0, \"valore4\": 58800}"),
        std::string::npos);
    EXPECT_NE(u.out.find("\"testo\": \"S.MOMME'\""), std::string::npos);
    EXPECT_NE(u.out.find("{\"indice\": 86, "), std::string::npos);
}

TEST_F(Dump, LineFilePointCountAndPointsOnRequest) {
    uscita_comando u = esegui_dump({linea().string()});
    ASSERT_EQ(u.stato, 0) << u.err;
    EXPECT_NE(u.out.find("\"points\": 47001"), std::string::npos);
    EXPECT_EQ(u.out.find("\"punti\""), std::string::npos);

    u = esegui_dump({linea().string(), "--points", "0:2"});
    ASSERT_EQ(u.stato, 0) << u.err;
    // Points 0 and 1 hold 16-bit integers, the rest doubles.
    EXPECT_NE(u.out.find("{\"p\": 0, \"x\": 0, \"y\": 0}"), std::string::npos);
    EXPECT_NE(u.out.find("{\"p\": 1, \"x\": 0, \"y\": 1}"), std::string::npos);
    EXPECT_NE(u.out.find("{\"p\": 2, \"x\": 0.0, \"y\": 2.0}"), std::string::npos);
    EXPECT_EQ(u.out.find("\"p\": 3"), std::string::npos);

    // The last two points were never assigned; a range past the end stops there.
    u = esegui_dump({linea().string(), "--points=46999:99999999"});
    ASSERT_EQ(u.stato, 0) << u.err;
    EXPECT_NE(u.out.find("{\"p\": 47000, \"x\": null, \"y\": null}"), std::string::npos);
    EXPECT_NE(u.out.find("\"to\": 47000"), std::string::npos);
}

TEST_F(Dump, KindComesFromTheContentWhenTheNameDoesNotTellIt) {
    scrivi(file("a.bin"), contenuto(celle()));
    scrivi(file("b.bin"), contenuto(corsa()));
    scrivi(file("c.bin"), contenuto(linea()));
    const uscita_comando u =
        esegui_dump({file("a.bin").string(), file("b.bin").string(), file("c.bin").string()});
    ASSERT_EQ(u.stato, 0) << u.err;
    const std::size_t a = u.out.find("\"kind\": \"cells\"");
    const std::size_t b = u.out.find("\"kind\": \"run\"");
    const std::size_t c = u.out.find("\"kind\": \"line\"");
    ASSERT_NE(a, std::string::npos);
    ASSERT_NE(b, std::string::npos);
    ASSERT_NE(c, std::string::npos);
    EXPECT_TRUE(a < b && b < c);
    EXPECT_NE(u.out.find("\"recognised_by\": \"content\""), std::string::npos);
}

TEST_F(Dump, TruncatedAndGarbageFilesNameTheOffset) {
    struct caso {
        const char* nome;
        std::string dati;
        std::string atteso;  // in the error message
    };
    const std::string c = contenuto(celle()), r = contenuto(corsa()), l = contenuto(linea());
    std::mt19937 generatore(7);
    std::string rumore(4000, '\0');
    for (char& x : rumore)
        x = static_cast<char>(generatore() & 0xFF);
    const caso casi[] = {
        // 20 bytes: one whole cell, then 5 bytes of the second, which begins at offset 15.
        {"t1_4127.dat", c.substr(0, 20), "at byte offset 15"},
        // Cut inside the text of record 1 ("CALVENA"), whose length stands at 34 + 14.
        {"t2_4127.sim", r.substr(0, 52), "at byte offset 48"},
        // A run file with bytes after its 87 records.
        {"t3_4127.sim", r + "xy", "at byte offset " + std::to_string(r.size())},
        // Cut inside the double of point 2, whose tag stands at offset 8.
        {"t4_linea.dat", l.substr(0, 12), "at byte offset 8"},
        {"garbage.sim", rumore, "not a valid run file"},
        {"garbage.bin", rumore, "not a compiled file"},
        {"empty.bin", std::string(), "not a compiled file"},
    };
    for (const caso& k : casi) {
        SCOPED_TRACE(k.nome);
        scrivi(file(k.nome), k.dati);
        const uscita_comando u = esegui_dump({file(k.nome).string()});
        EXPECT_EQ(u.stato, 1);
        EXPECT_NE(u.err.find(k.atteso), std::string::npos) << u.err;
        EXPECT_NE(u.err.find("offset"), std::string::npos) << u.err;
        EXPECT_NE(u.out.find("\"error\": {\"offset\": "), std::string::npos) << u.out;
    }
}

TEST_F(Dump, EveryFileIsReportedAndTheStatusSaysTheWorst) {
    scrivi(file("short_4127.dat"), "abc");
    uscita_comando u = esegui_dump({celle().string(), file("short_4127.dat").string()});
    EXPECT_EQ(u.stato, 1);
    EXPECT_NE(u.out.find("\"cells\": 941"), std::string::npos);
    EXPECT_NE(u.out.find("short_4127.dat"), std::string::npos);

    u = esegui_dump({file("short_4127.dat").string(), file("missing.dat").string()});
    EXPECT_EQ(u.stato, 2);
    EXPECT_NE(u.err.find("no such file"), std::string::npos);

    for (const std::vector<std::string>& sbagliati : {std::vector<std::string>{},
                                                      {celle().string(), "--points", "5:2"},
                                                      {celle().string(), "--points", "x"},
                                                      {celle().string(), "--kind", "map"},
                                                      {celle().string(), "--bogus"}}) {
        u = esegui_dump(sbagliati);
        EXPECT_EQ(u.stato, 2) << u.err;
    }
}

TEST_F(Dump, KindCanBeForced) {
    // A cell file read as a run file is not one.
    uscita_comando u = esegui_dump({celle().string(), "--kind", "run"});
    EXPECT_EQ(u.stato, 1);
    scrivi(file("celle.bin"), contenuto(celle()));
    u = esegui_dump({file("celle.bin").string(), "--kind=cells"});
    EXPECT_EQ(u.stato, 0) << u.err;
    EXPECT_NE(u.out.find("\"recognised_by\": \"option\""), std::string::npos);
}

}  // namespace
}  // namespace scenario::strumento
