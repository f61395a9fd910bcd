// The content of the five text files the program writes, as line lists, and
// the data of its three documents for their layouts.
#pragma once

#include "common/line_list.h"
#include "sources/notes_layout.h"
#include "sources/slow_order_layout.h"
#include "sources/train_card_layout.h"

namespace scenario::sorgenti {

lista_righe righe_linea();          // <scenario>_linea.txt: the line description
lista_righe righe_treno();          // <scenario>_<train>-.txt: the run description
lista_righe righe_note();           // <scenario>_<train>_note.txt: the scenario notes
lista_righe righe_rallentamenti();  // <scenario>_<train>_rallentamenti.txt: the slow order
lista_righe righe_scheda();         // <scenario>_<train>_scheda_treno.txt: the train card

// What the program's three documents say, laid out by the functions above.
train_card program_train_card();
slow_order program_slow_order();
scenario_notes program_notes();

}  // namespace scenario::sorgenti
