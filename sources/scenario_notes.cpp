// The scenario notes: what the driver meets on this run, where the data
// come from and who made the scenario.
#include "sources/fixed_lines.h"
#include "sources/writers.h"

#include <string_view>

namespace scenario::sorgenti {
namespace {

constexpr std::string_view righe[] = {
    "               Treno 4127 sul percorso Calvena - Roccalba Terme",
    "",
    " Note sullo scenario:",
    "",
    " - Nella realta' la ferrovia Roccalbana e' a semplice binario. Le altre",
    "   caratteristiche (curve, pendenze, gallerie e fermate) sono quelle reali,",
    "   eccetto il raggio di alcune curve riadattato per motivi di corretta",
    "   visualizzazione.",
    " - Normalmente questa linea e' percorsa da automotrici ALe 582.",
    " - Le condizioni di aderenza sono buone all'inizio poi peggiorano per tutto",
    "   il tratto di montagna, soprattutto nelle gallerie.",
    " - La pendenza della linea e' per la maggior parte al 25 per mille e le",
    "   fermate intermedie, escluse Piteccio e Pracchia, sono anch'esse in forte",
    "   pendenza, quindi occorre fare attenzione al rilascio del freno.",
    " - Sono presenti due rallentamenti a 30 km/h, il primo in salita in galleria",
    "   e il secondo, di ben 1 km, in discesa.",
    " - Durante il viaggio si verificano alcuni imprevisti (segnali disposti a via",
    "   impedita) che insieme ai rallentamenti rendono assai problematico l'arrivo",
    "   in orario a Roccalba Terme.",
    "",
    " Fonti dei dati: carte topografiche in scala 1:25000, un libro sulla storia",
    " della ferrovia Roccalbana, la videocassetta dedicata alla linea in una",
    " collana di filmati ferroviari e altre informazioni raccolte sul posto.",
    "",
    " Scenario realizzato da Lorenzo Bertacchi, Valdimonte",
    " Per segnalazioni e suggerimenti: lorenzo.bertacchi@example.org",
};

}  // namespace

lista_righe righe_note() {
    return lista_con_marcatore(righe);
}

}  // namespace scenario::sorgenti
