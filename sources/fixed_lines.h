// Turns a writer's fixed lines into its line list.
#pragma once

#include "common/line_list.h"

#include <span>
#include <string_view>

namespace scenario::sorgenti {

// The lines in printing order, then the end marker that stops the writing.
inline lista_righe lista_con_marcatore(std::span<const std::string_view> righe) {
    lista_righe lista(righe.begin(), righe.end());
    lista.emplace_back(marcatore_fine);
    return lista;
}

}  // namespace scenario::sorgenti
