// The slow order handed to the driver: the form with the line's two
// slowdowns and the legend of its special prescriptions.
#include "sources/writers.h"

namespace scenario::sorgenti {

slow_order program_slow_order() {
    return {"Calvena - Roccalba T.",
            "4127",
            {
                {"Corbezzi", "Castagno", 52, 30, 300, "---"},
                {"Molino del Pallone", "Ponte della Venturina", 67, 30, 1000, "---"},
            }};
}

lista_righe righe_rallentamenti() {
    return slow_order_lines(program_slow_order());
}

}  // namespace scenario::sorgenti
