#include "common/line_list.h"

namespace scenario {

std::string testo_lista(const lista_righe& righe) {
    std::string testo;
    for (std::size_t i = 0; i < righe.size() && i < capacita_lista_righe; ++i) {
        if (righe[i] == marcatore_fine)
            break;
        testo += righe[i];
        testo += "\r\n";
    }
    return testo;
}

}  // namespace scenario
