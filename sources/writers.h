// The fixed content of the five text files the program writes, as line lists.
#pragma once

#include "common/line_list.h"

namespace scenario::sorgenti {

lista_righe righe_linea();          // <scenario>_linea.txt: the line description
lista_righe righe_treno();          // <scenario>_<train>-.txt: the run description
lista_righe righe_note();           // <scenario>_<train>_note.txt: the scenario notes
lista_righe righe_rallentamenti();  // <scenario>_<train>_rallentamenti.txt: the slow order
lista_righe righe_scheda();         // <scenario>_<train>_scheda_treno.txt: the train card

}  // namespace scenario::sorgenti
