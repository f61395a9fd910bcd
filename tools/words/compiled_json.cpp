#include "tools/words/compiled_json.h"

#include "compiler/route_facts.h"
#include "tools/words/km_words.h"
#include "tools/words/text_encoding.h"

#include <string>
#include <vector>

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

namespace {

json km(int64_t metres) {
    return kilometres(metres);
}

// A whole number with at least two digits ("08", "-5" as "-05").
std::string two_digits(int64_t v) {
    const std::string digits = std::to_string(v < 0 ? -v : v);
    return (v < 0 ? "-" : "") + (digits.size() < 2 ? "0" + digits : digits);
}

// Seconds as "HH:MM:SS"; hours go on past 23 (a time after midnight).
std::string time_of_day(int64_t seconds) {
    const int64_t t = seconds < 0 ? -seconds : seconds;
    return (seconds < 0 ? "-" : "") + two_digits(t / 3600) + ":" + two_digits(t / 60 % 60) + ":" +
           two_digits(t % 60);
}

// A readable value and the raw field it follows.
struct readable {
    const char* after;
    const char* name;
    json value;
};

// `fields` with each readable value inserted after its raw field.
json interleaved(std::size_t index, const json& fields, const std::vector<readable>& values,
                 const json& head = json::object()) {
    json j{{"index", index}};
    j.update(head);
    for (const auto& [key, value] : fields.items()) {
        j[key] = value;
        for (const readable& r : values)
            if (key == r.after)
                j[r.name] = r.value;
    }
    return j;
}

}  // namespace

json cell_dump_json(std::size_t index, const cella& c) {
    const int64_t start = route::cell_span(static_cast<int64_t>(index)).from;
    std::vector<readable> values;
    if (const auto kind = route::cell_kind(c.tipo))
        values.push_back({"tipo", "tipo_name", kind->name});
    if (route::cell_after_position(c.tipo)) {
        const int64_t item = route::item_position(index);
        values.push_back({"tipo", "item_position_m", item});
        values.push_back({"tipo", "item_position_km", km(item)});
    }
    // Slowdown cells keep the slowdown's speed whole.
    if (c.tipo == tipo_cella::fine_rallentamento || c.tipo == tipo_cella::inizio_rallentamento ||
        c.tipo == tipo_cella::avviso_rallentamento)
        values.push_back({"dato1", "dato1_kmh", c.dato1});
    values.push_back({"velocita", "velocita_kmh", route::cell_speed_kmh(c)});
    values.push_back({"pendenza", "pendenza_per_mille", route::cell_gradient(c)});
    return interleaved(index, cell_fields_json(c), values, json{{"start_m", start}, {"start_km", km(start)}});
}

json record_dump_json(std::size_t index, const voce& v, bool station) {
    std::vector<readable> values;
    const auto slot = static_cast<int>(index);
    if (station) {
        values.push_back({"valore1", "valore1_km", km(route::area_start(v))});
        values.push_back({"valore2", "valore2_km", km(route::area_end(v))});
        values.push_back({"valore3", "valore3_km", km(route::station_position(v))});
        const int32_t t = route::station_time(v);
        values.push_back({"valore4", "valore4_time", t == 0 ? json(nullptr) : json(time_of_day(t))});
    } else if (slot == voce_progressiva_tre || slot == voce_progressiva_due || slot == voce_progressiva_uno) {
        values.push_back({"valore1", "valore1_km", km(v.valore1)});
        values.push_back({"valore2", "valore2_km", km(v.valore2)});
    } else if (slot == voce_treno) {
        values.push_back({"valore2", "valore2_km", km(v.valore2)});
    } else if (slot == voce_identita_treno) {
        values.push_back({"intero5", "intero5_clock",
                          two_digits(v.intero3) + ":" + two_digits(v.intero4) + ":" + two_digits(v.intero5)});
    }
    return interleaved(index, record_fields_json(v), values);
}

std::string json_text(const json& j) {
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace scenario::tool
