#include "tools/documents/author_details.h"

#include "tools/core/file_io.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <set>

namespace scenario::tool {

using nlohmann::json;

namespace {

// A failure while reading one key: its path in the file and what was expected.
struct bad_value {
    std::string where, expected;
};

void only_keys(const json& object, const std::set<std::string>& known, const std::string& where) {
    if (!object.is_object())
        throw bad_value{where, "an object"};
    for (const auto& item : object.items()) {
        if (known.count(item.key()))
            continue;
        std::string list;
        for (const std::string& k : known)
            list += (list.empty() ? "" : ", ") + k;
        throw bad_value{where + "." + item.key(), "none of this name: the keys here are " + list};
    }
}

std::string text(const json& v, const std::string& where) {
    if (!v.is_string())
        throw bad_value{where, "a text in quotes"};
    return v.get<std::string>();
}

std::vector<std::string> texts(const json& v, const std::string& where) {
    if (!v.is_array())
        throw bad_value{where, "a list of texts"};
    std::vector<std::string> list;
    for (std::size_t i = 0; i < v.size(); ++i)
        list.push_back(text(v[i], where + "[" + std::to_string(i) + "]"));
    return list;
}

int32_t whole(const json& v, const std::string& where) {
    if (!v.is_number_integer() || v.get<int64_t>() < 0 || v.get<int64_t>() > 1000000)
        throw bad_value{where, "a whole number from 0 to 1000000"};
    return v.get<int32_t>();
}

// Kilometres with up to three decimals, kept as metres.
int32_t kilometres(const json& v, const std::string& where) {
    if (!v.is_number() || v.get<double>() < -10000 || v.get<double>() > 10000)
        throw bad_value{where, "kilometres as a number, e.g. 35.330"};
    return static_cast<int32_t>(std::lround(v.get<double>() * 1000));
}

// "16:22" or "16:22:30"; hours up to 47 for a run past midnight.
int32_t clock_time(const json& v, const std::string& where) {
    const std::string t = v.is_string() ? v.get<std::string>() : "";
    int h = 0, m = 0, s = 0;
    char tail = 0;
    const int n = std::sscanf(t.c_str(), "%d:%d:%d%c", &h, &m, &s, &tail);
    if ((n != 2 && n != 3) || h < 0 || h > 47 || m < 0 || m > 59 || s < 0 || s > 59 ||
        t.find_first_not_of("0123456789:") != std::string::npos)
        throw bad_value{where, "a time \"HH:MM\" or \"HH:MM:SS\""};
    return h * 3600 + m * 60 + s;
}

station_details station(const json& v, const std::string& where) {
    only_keys(v, {"card_name", "order_name", "km", "passing"}, where);
    station_details d;
    if (v.contains("card_name"))
        d.card_name = text(v["card_name"], where + ".card_name");
    if (v.contains("order_name"))
        d.order_name = text(v["order_name"], where + ".order_name");
    if (v.contains("km"))
        d.km_metres = kilometres(v["km"], where + ".km");
    if (v.contains("passing"))
        d.passing_time = clock_time(v["passing"], where + ".passing");
    return d;
}

slowdown_details slowdown(const json& v, const std::string& where) {
    only_keys(v, {"km_post", "prescriptions"}, where);
    slowdown_details d;
    if (v.contains("km_post"))
        d.km_post = whole(v["km_post"], where + ".km_post");
    if (v.contains("prescriptions"))
        d.prescriptions = text(v["prescriptions"], where + ".prescriptions");
    return d;
}

author_details details(const json& v) {
    only_keys(v,
              {"speed_category", "classification", "braked_mass_tonnes", "line_name", "route", "card_origin",
               "card_destination", "stations", "slowdowns", "notes", "notes_closing"},
              "");
    author_details d;
    for (auto [key, field] : {std::pair{"speed_category", &d.speed_category},
                              {"classification", &d.classification},
                              {"line_name", &d.line_name},
                              {"route", &d.route},
                              {"card_origin", &d.card_origin},
                              {"card_destination", &d.card_destination}})
        if (v.contains(key))
            *field = text(v[key], std::string(".") + key);
    if (v.contains("braked_mass_tonnes"))
        d.braked_mass_tonnes = whole(v["braked_mass_tonnes"], ".braked_mass_tonnes");
    if (v.contains("stations")) {
        if (!v["stations"].is_object())
            throw bad_value{".stations", "an object with one key per station name"};
        for (const auto& item : v["stations"].items())
            d.stations[item.key()] = station(item.value(), ".stations[\"" + item.key() + "\"]");
    }
    if (v.contains("slowdowns")) {
        if (!v["slowdowns"].is_array())
            throw bad_value{".slowdowns", "a list, one object per slowdown in running order"};
        for (std::size_t i = 0; i < v["slowdowns"].size(); ++i)
            d.slowdowns.push_back(slowdown(v["slowdowns"][i], ".slowdowns[" + std::to_string(i) + "]"));
    }
    if (v.contains("notes"))
        d.notes = texts(v["notes"], ".notes");
    if (v.contains("notes_closing")) {
        if (!v["notes_closing"].is_array())
            throw bad_value{".notes_closing", "a list of paragraphs, each a list of lines"};
        for (std::size_t i = 0; i < v["notes_closing"].size(); ++i)
            d.notes_closing.push_back(
                texts(v["notes_closing"][i], ".notes_closing[" + std::to_string(i) + "]"));
    }
    return d;
}

}  // namespace

result<author_details> parse_author_details(const std::string& text_in, const std::string& file) {
    json v;
    try {
        v = json::parse(text_in);
    } catch (const json::parse_error& e) {
        return failure{file + ": not JSON: " + e.what()};
    }
    try {
        return details(v);
    } catch (const bad_value& b) {
        return failure{file + ": " + (b.where.empty() ? "the file" : b.where) + ": expected " + b.expected};
    }
}

result<author_details> read_author_details(const std::filesystem::path& path) {
    result<std::string> bytes = read_file(path);
    if (!bytes)
        return failure{bytes.error()};
    return parse_author_details(*bytes, display_path(path));
}

std::string author_details_name(const std::string& scenario, const std::string& train) {
    return scenario + "_" + train + "_documenti.json";
}

}  // namespace scenario::tool
