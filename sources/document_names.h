// The file names of the three driver documents, built from the scenario
// identity as the program writes them.
#pragma once

#include <string>

namespace scenario::sorgenti {

// <scenario>_<train>_note.txt: the scenario notes.
inline std::string notes_document_name(const std::string& scenario, const std::string& train) {
    return scenario + "_" + train + "_note.txt";
}
// <scenario>_<train>_rallentamenti.txt: the slow order.
inline std::string slow_order_document_name(const std::string& scenario, const std::string& train) {
    return scenario + "_" + train + "_rallentamenti.txt";
}
// <scenario>_<train>_scheda_treno.txt: the train card.
inline std::string train_card_document_name(const std::string& scenario, const std::string& train) {
    return scenario + "_" + train + "_scheda_treno.txt";
}

}  // namespace scenario::sorgenti
