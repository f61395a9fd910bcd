#include "compiler/compiled_files.h"

#include "compiler/source_store.h"

#include <bit>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>

namespace scenario {
namespace {

namespace fs = std::filesystem;

std::string byte(std::initializer_list<int> b) {
    std::string r;
    for (int x : b)
        r.push_back(static_cast<char>(x));
    return r;
}

// A plan shaped as the line reader builds it: points 0 and 1 integers,
// floating points up to ultimo - 2, the last two empty.
tracciato_linea piano(int32_t ultimo) {
    tracciato_linea t;
    t.dimensiona(ultimo);
    t.at(0, 0) = valore_tracciato::da_intero(0);
    t.at(0, 1) = valore_tracciato::da_intero(0);
    t.at(1, 0) = valore_tracciato::da_intero(0);
    t.at(1, 1) = valore_tracciato::da_intero(1);
    for (int32_t p = 2; p <= ultimo - 2; ++p) {
        t.at(p, 0) = valore_tracciato::da_reale(0.001 * p);
        t.at(p, 1) = valore_tracciato::da_reale(static_cast<double>(p));
    }
    return t;
}

std::array<voce, numero_voci> voci_di_prova() {
    std::array<voce, numero_voci> v{};
    for (int i = 0; i < numero_voci; ++i) {
        voce& x = v[static_cast<std::size_t>(i)];
        x.tipo = static_cast<uint8_t>(i);
        x.valore1 = -i * 100000;
        x.valore2 = i;
        x.valore3 = 2147483647 - i;
        x.byte1 = 255;
        x.testo = i % 3 == 0
                      ? ""
                      : "voce " + std::to_string(i) + " \xE8\xE0";  // Windows-1252 bytes kept as they are
        x.intero1 = static_cast<int16_t>(-32768 + i);
        x.intero5 = 32767;
        x.byte5 = static_cast<uint8_t>(i * 3);
        x.valore4 = -1;
    }
    return v;
}

std::vector<cella> celle_di_prova(std::size_t n) {
    std::vector<cella> c(n);
    for (std::size_t i = 0; i < n; ++i) {
        c[i].tipo = static_cast<uint8_t>(i % 15);
        c[i].dato1 = static_cast<int16_t>(i * 37 - 500);
        c[i].dato2 = -1;
        c[i].dato4 = static_cast<int16_t>(-32768 + static_cast<int>(i));
        c[i].dato6 = 84;
        c[i].aderenza = static_cast<uint8_t>(i);
    }
    return c;
}

// ---- encoding ---------------------------------------------------------------

TEST(RunFileEncoding, RecordLayout) {
    std::array<voce, numero_voci> v{};
    std::string f = codifica_voci(v);
    ASSERT_EQ(f.size(), 87u * 34);  // 34 bytes a record without text
    EXPECT_EQ(f, std::string(87 * 34, '\0'));

    v[0].testo = "abc";
    v[0].tipo = 0x7F;
    v[0].valore1 = 0x01020304;
    v[0].intero1 = -2;
    v[0].valore4 = 610;
    f = codifica_voci(v);
    ASSERT_EQ(f.size(), 87u * 34 + 3);
    EXPECT_EQ(f.substr(0, 5), byte({0x7F, 0x04, 0x03, 0x02, 0x01}));
    EXPECT_EQ(f.substr(14, 5), byte({0x03, 0x00, 0x61, 0x62, 0x63}));
    EXPECT_EQ(f.substr(19, 2), byte({0xFE, 0xFF}));              // intero1 at 16 + L
    EXPECT_EQ(f.substr(33, 4), byte({0x62, 0x02, 0x00, 0x00}));  // valore4 at 30 + L
    EXPECT_EQ(f[37], '\0');                                      // record 1 follows at 37
}

TEST(RunFileEncoding, TextBytesAreWrittenAsStored) {
    std::array<voce, numero_voci> v{};
    v[85].testo = "Calvena_Roccalba";
    v[86].testo = "\xC8";  // È in Windows-1252
    const std::string f = codifica_voci(v);
    ASSERT_EQ(f.size(), 87u * 34 + 16 + 1);
    const std::size_t r86 = 86 * 34 + 16;
    EXPECT_EQ(f.substr(r86 + 14, 3), byte({0x01, 0x00, 0xC8}));
}

TEST(RunFileEncoding, OverlongTextIsCutSoTheLengthNeverLies) {
    std::array<voce, numero_voci> v{};
    v[0].testo = std::string(40000, 'x');
    const std::string f = codifica_voci(v);
    EXPECT_EQ(f.size(), 87u * 34 + 32767);
    EXPECT_EQ(f.substr(14, 2), byte({0xFF, 0x7F}));
    std::array<voce, numero_voci> letti{};
    ASSERT_TRUE(decodifica_voci(f, letti).ok());
    EXPECT_EQ(letti[0].testo, std::string(32767, 'x'));
}

TEST(CellFileEncoding, FifteenBytesACellFieldByField) {
    std::vector<cella> c(3);
    c[1] = {12, 5121, 1573, -2, 0x0102, 245, 61, 3, 16, 83, 100};
    const std::string f = codifica_celle(c);
    ASSERT_EQ(f.size(), 45u);
    EXPECT_EQ(f.substr(0, 15), std::string(15, '\0'));
    EXPECT_EQ(f.substr(15, 15),
              byte({12, 0x01, 0x14, 0x25, 0x06, 0xFE, 0xFF, 0x02, 0x01, 245, 61, 3, 16, 83, 100}));
    EXPECT_EQ(codifica_celle(std::vector<cella>(941)).size(), 14115u);
    EXPECT_EQ(codifica_celle({}), "");
}

TEST(LineFileEncoding, TaggedValuesXHalfThenYHalf) {
    const tracciato_linea t = piano(10);
    const std::string f = codifica_tracciato(t);
    ASSERT_EQ(f.size(), 20u * 10 - 36);
    EXPECT_EQ(f.substr(0, 10), byte({0x02, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x05, 0x00}));
    uint64_t bit_x2 = 0;
    for (int b = 7; b >= 0; --b)
        bit_x2 = (bit_x2 << 8) | static_cast<unsigned char>(f[10 + static_cast<std::size_t>(b)]);
    EXPECT_EQ(std::bit_cast<double>(bit_x2), 0.002);
    const std::size_t meta = f.size() / 2;
    EXPECT_EQ(f.substr(meta - 4, 4), byte({0x00, 0x00, 0x00, 0x00}));  // points 9 and 10 of x: empty
    EXPECT_EQ(f.substr(meta, 4), byte({0x02, 0x00, 0x00, 0x00}));      // y of point 0
    EXPECT_EQ(f.substr(meta + 4, 4), byte({0x02, 0x00, 0x01, 0x00}));  // y of point 1
}

TEST(LineFileEncoding, DoublesAreLittleEndianIeee) {
    tracciato_linea t;
    t.dimensiona(0);
    t.at(0, 0) = valore_tracciato::da_reale(1.0);
    t.at(0, 1) = valore_tracciato::da_reale(-2.5);
    EXPECT_EQ(codifica_tracciato(t), byte({0x05, 0x00, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F,  //
                                           0x05, 0x00, 0, 0, 0, 0, 0, 0, 0x04, 0xC0}));
    EXPECT_EQ(codifica_tracciato(tracciato_linea{}), "");  // a plan that does not exist
}

TEST(LineFileEncoding, SizeOfTheProgramsOwnRoute) {
    EXPECT_EQ(codifica_tracciato(piano(47000)).size(), 939964u);
}

// ---- round trips and hostile input -------------------------------------------

TEST(CompiledFilesRoundTrip, EncodeThenDecodeGivesTheSameBytes) {
    const auto v = voci_di_prova();
    std::array<voce, numero_voci> v2{};
    const std::string fv = codifica_voci(v);
    ASSERT_TRUE(decodifica_voci(fv, v2).ok());
    EXPECT_EQ(codifica_voci(v2), fv);
    EXPECT_EQ(v2[5].testo, v[5].testo);
    EXPECT_EQ(v2[86].intero1, v[86].intero1);

    const auto c = celle_di_prova(300);
    std::vector<cella> c2;
    const std::string fc = codifica_celle(c);
    ASSERT_TRUE(decodifica_celle(fc, c2).ok());
    ASSERT_EQ(c2.size(), 300u);
    EXPECT_EQ(codifica_celle(c2), fc);
    EXPECT_EQ(c2[299].dato4, c[299].dato4);

    const tracciato_linea t = piano(500);
    tracciato_linea t2;
    const std::string ft = codifica_tracciato(t);
    ASSERT_TRUE(decodifica_tracciato(ft, t2).ok());
    EXPECT_EQ(t2.ultimo_punto, 500);
    EXPECT_EQ(t2.at(401, 0).reale, t.at(401, 0).reale);
    EXPECT_EQ(t2.at(1, 1).tipo, valore_tracciato::etichetta::intero);
    EXPECT_EQ(t2.at(500, 1).tipo, valore_tracciato::etichetta::vuoto);
    EXPECT_EQ(codifica_tracciato(t2), ft);

    ASSERT_TRUE(decodifica_tracciato("", t2).ok());
    EXPECT_FALSE(t2.esiste());
}

TEST(CompiledFilesDecoding, DamagedDataReportsWhereItStoppedMakingSense) {
    const std::string fv = codifica_voci(voci_di_prova());
    const std::string fc = codifica_celle(celle_di_prova(10));
    const std::string ft = codifica_tracciato(piano(20));
    std::array<voce, numero_voci> v{};
    std::vector<cella> c;
    tracciato_linea t;

    struct caso {
        const char* nome;
        result<void, errore_decodifica> esito;
        std::size_t offset;
    };
    std::string lunghezza_negativa = fv;
    lunghezza_negativa[14] = '\xFF';
    lunghezza_negativa[15] = '\xFF';
    std::string lunghezza_eccessiva = codifica_voci({});
    lunghezza_eccessiva[34 * 86 + 15] = 0x10;  // 4096 bytes of text announced
    std::string etichetta_ignota = ft;
    etichetta_ignota[8] = 0x07;  // the tag of x(2)
    const caso casi[] = {
        {"run file cut inside record 0", decodifica_voci(fv.substr(0, 10), v), 0},
        {"run file cut inside the last record", decodifica_voci(fv.substr(0, fv.size() - 1), v),
         fv.size() - 34 - voci_di_prova()[86].testo.size()},
        {"run file with a byte too many", decodifica_voci(fv + "x", v), fv.size()},
        {"negative text length", decodifica_voci(lunghezza_negativa, v), 14},
        {"text length past the end", decodifica_voci(lunghezza_eccessiva, v), 34 * 86 + 14},
        {"cell file cut inside a record", decodifica_celle(fc.substr(0, 40), c), 30},
        {"line file cut inside a double", decodifica_tracciato(ft.substr(0, 13), t), 8},
        {"line file cut inside a tag", decodifica_tracciato(ft.substr(0, 9), t), 8},
        {"line file with an unknown tag", decodifica_tracciato(etichetta_ignota, t), 8},
        {"line file with halves of different length", decodifica_tracciato(ft.substr(0, ft.size() - 2), t),
         ft.size() - 2},
    };
    for (const caso& k : casi) {
        SCOPED_TRACE(k.nome);
        ASSERT_FALSE(k.esito.ok());
        EXPECT_EQ(k.esito.error().offset, k.offset);
        EXPECT_FALSE(k.esito.error().messaggio.empty());
    }
}

TEST(CompiledFilesDecoding, FailureLeavesTheOutputUntouched) {
    std::vector<cella> c(2);
    c[1].tipo = 9;
    EXPECT_FALSE(decodifica_celle("abc", c).ok());
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[1].tipo, 9);
}

TEST(CompiledFilesDecoding, GarbageNeverCrashes) {
    std::mt19937 gen(610);
    std::array<voce, numero_voci> v{};
    std::vector<cella> c;
    tracciato_linea t;
    const std::string buoni[] = {codifica_voci(voci_di_prova()), codifica_tracciato(piano(30)),
                                 codifica_celle(celle_di_prova(7))};
    for (int giro = 0; giro < 3000; ++giro) {
        std::string dati = buoni[giro % 3];
        dati.resize(gen() % (dati.size() + 20));
        for (int n = 0; n < 4 && !dati.empty(); ++n)
            dati[gen() % dati.size()] = static_cast<char>(gen());
        for (const result<void, errore_decodifica>& e :
             {decodifica_voci(dati, v), decodifica_tracciato(dati, t), decodifica_celle(dati, c)}) {
            if (!e.ok()) {
                EXPECT_LE(e.error().offset, dati.size());
            }
        }
    }
}

// ---- writing the files --------------------------------------------------------

class CompiledFilesWriting : public testing::Test {
protected:
    void SetUp() override {
        cartella_ = fs::temp_directory_path() /
                    ("compiled_files_test_" +
                     std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(cartella_);
        s_.nome_scenario = "Calvena_Roccalba";
        s_.numero_treno = "4127";
        s_.compila_linea = 1;
        s_.tracciato = piano(100);
        s_.voci = voci_di_prova();
        s_.celle = celle_di_prova(20);
        s_.n_celle = 19;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(cartella_, ec);
    }
    fs::path file(const char* nome) const { return cartella_ / nome; }
    static std::string contenuto(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path cartella_;
    stato_scenario s_;
};

TEST_F(CompiledFilesWriting, WritesTheThreeFilesUnderTheirNames) {
    ASSERT_TRUE(scrivi_file_compilati(s_, cartella_).ok());
    EXPECT_EQ(contenuto(file("Calvena_Roccalba_linea.dat")), codifica_tracciato(s_.tracciato));
    EXPECT_EQ(contenuto(file("Calvena_Roccalba_4127.sim")), codifica_voci(s_.voci));
    EXPECT_EQ(contenuto(file("Calvena_Roccalba_4127.dat")), codifica_celle(s_.celle));
    EXPECT_EQ(std::distance(fs::directory_iterator(cartella_), fs::directory_iterator()),
              3);  // no temporary left
}

TEST_F(CompiledFilesWriting, ASecondRunReplacesEveryFileWhole) {
    ASSERT_TRUE(scrivi_file_compilati(s_, cartella_).ok());
    const std::string linea = contenuto(file("Calvena_Roccalba_linea.dat"));
    const std::string corsa = contenuto(file("Calvena_Roccalba_4127.sim"));
    const std::string celle = contenuto(file("Calvena_Roccalba_4127.dat"));
    std::ofstream(file("Calvena_Roccalba_4127.dat"), std::ios::app) << std::string(5000, 'z');
    ASSERT_TRUE(scrivi_file_compilati(s_, cartella_).ok());
    EXPECT_EQ(contenuto(file("Calvena_Roccalba_linea.dat")), linea);
    EXPECT_EQ(contenuto(file("Calvena_Roccalba_4127.sim")), corsa);
    EXPECT_EQ(contenuto(file("Calvena_Roccalba_4127.dat")), celle);
}

TEST_F(CompiledFilesWriting, WithoutTheLineFlagTheLineFileIsLeftAlone) {
    s_.compila_linea = 0;
    ASSERT_TRUE(scrivi_file_compilati(s_, cartella_).ok());
    EXPECT_FALSE(fs::exists(file("Calvena_Roccalba_linea.dat")));

    std::ofstream(file("Calvena_Roccalba_linea.dat"), std::ios::binary) << "old plan";
    ASSERT_TRUE(scrivi_file_compilati(s_, cartella_).ok());
    EXPECT_EQ(contenuto(file("Calvena_Roccalba_linea.dat")), "old plan");
    EXPECT_TRUE(fs::exists(file("Calvena_Roccalba_4127.dat")));
}

TEST_F(CompiledFilesWriting, AFailureNamesTheFileAndStopsTheLaterOnes) {
    // The run file's name is taken by a directory: it cannot be replaced.
    fs::create_directory(file("Calvena_Roccalba_4127.sim"));
    const auto scritti = scrivi_file_compilati(s_, cartella_);
    ASSERT_FALSE(scritti.ok());
    const file_failure& guasto = scritti.error();
    EXPECT_EQ(guasto.file, file("Calvena_Roccalba_4127.sim"));
    EXPECT_EQ(guasto.step, replace_step::open);
    EXPECT_TRUE(guasto.cause) << describe_failure(guasto);
    EXPECT_TRUE(fs::exists(file("Calvena_Roccalba_linea.dat")));  // written before
    EXPECT_FALSE(fs::exists(file("Calvena_Roccalba_4127.dat")));  // never reached
}

}  // namespace
}  // namespace scenario
