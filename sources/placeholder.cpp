// Placeholder until the writers land.
#include "writers.h"

namespace scenario::sorgenti {
lista_righe righe_linea() { return {std::string(marcatore_fine)}; }
lista_righe righe_treno() { return {std::string(marcatore_fine)}; }
lista_righe righe_note() { return {std::string(marcatore_fine)}; }
lista_righe righe_rallentamenti() { return {std::string(marcatore_fine)}; }
lista_righe righe_scheda() { return {std::string(marcatore_fine)}; }
}  // namespace scenario::sorgenti
