#include "tools/report/compiled_json.h"

#include "tools/report/text_encoding.h"

namespace scenario::tool {

using json = nlohmann::ordered_json;

json cell_fields_json(const cella& c) {
    return json{{"tipo", c.tipo},         {"dato1", c.dato1},       {"dato2", c.dato2},
                {"dato3", c.dato3},       {"dato4", c.dato4},       {"dato5", c.dato5},
                {"dato6", c.dato6},       {"galleria", c.galleria}, {"velocita", c.velocita},
                {"pendenza", c.pendenza}, {"aderenza", c.aderenza}};
}

json record_fields_json(const voce& v) {
    return json{{"tipo", v.tipo},       {"valore1", v.valore1}, {"valore2", v.valore2},
                {"valore3", v.valore3}, {"byte1", v.byte1},     {"testo", from_windows1252(v.testo)},
                {"intero1", v.intero1}, {"intero2", v.intero2}, {"intero3", v.intero3},
                {"intero4", v.intero4}, {"intero5", v.intero5}, {"byte2", v.byte2},
                {"byte3", v.byte3},     {"byte4", v.byte4},     {"byte5", v.byte5},
                {"valore4", v.valore4}};
}

std::string json_text(const json& j) {
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace scenario::tool
