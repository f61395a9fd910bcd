// The scenario notes: what the driver meets on this run, where the data
// come from and who made the scenario.
#include "sources/writers.h"

namespace scenario::sorgenti {

scenario_notes program_notes() {
    scenario_notes n;
    n.train = "4127";
    n.route = "Calvena - Roccalba Terme";
    n.points = {
        "Nella realta' la ferrovia Roccalbana e' a semplice binario. Le altre caratteristiche (curve, "
        "pendenze, gallerie e fermate) sono quelle reali, eccetto il raggio di alcune curve riadattato "
        "per motivi di corretta visualizzazione.",
        "Normalmente questa linea e' percorsa da automotrici ALe 582.",
        "Le condizioni di aderenza sono buone all'inizio poi peggiorano per tutto il tratto di montagna, "
        "soprattutto nelle gallerie.",
        "La pendenza della linea e' per la maggior parte al 25 per mille e le fermate intermedie, escluse "
        "Piteccio e Pracchia, sono anch'esse in forte pendenza, quindi occorre fare attenzione al rilascio "
        "del freno.",
        "Sono presenti due rallentamenti a 30 km/h, il primo in salita in galleria e il secondo, di ben 1 "
        "km, "
        "in discesa.",
        "Durante il viaggio si verificano alcuni imprevisti (segnali disposti a via impedita) che insieme ai "
        "rallentamenti rendono assai problematico l'arrivo in orario a Roccalba Terme.",
    };
    n.closing = {
        {"Fonti dei dati: carte topografiche in scala 1:25000, un libro sulla storia",
         "della ferrovia Roccalbana, la videocassetta dedicata alla linea in una",
         "collana di filmati ferroviari e altre informazioni raccolte sul posto."},
        {"Scenario realizzato da Lorenzo Bertacchi, Valdimonte",
         "Per segnalazioni e suggerimenti: lorenzo.bertacchi@example.org"},
    };
    return n;
}

lista_righe righe_note() {
    return notes_lines(program_notes());
}

}  // namespace scenario::sorgenti
