// What the sources do not say about the driver's documents, from the author's
// optional JSON file: speed category, classification, braked mass, the line's
// name, station spellings, passing times, kilometre posts, prescriptions and
// the notes' own text.
#pragma once

#include "common/result.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace scenario::tool {

// Texts are UTF-8 as written in the file.
struct station_details {
    std::string card_name;                // the card's spelling
    std::string order_name;               // the slow order's spelling
    std::optional<int32_t> km_metres;     // the kilometre post, metres
    std::optional<int32_t> passing_time;  // seconds after midnight
};

struct slowdown_details {
    std::optional<int32_t> km_post;  // whole kilometres
    std::string prescriptions;       // empty: "---"
};

struct author_details {
    std::string speed_category;
    std::string classification;
    std::optional<int32_t> braked_mass_tonnes;
    std::string line_name;  // the slow order's "Linea"
    std::string route;      // the notes' title
    std::string card_origin, card_destination;
    std::map<std::string, station_details> stations;  // by the run description's name
    std::vector<slowdown_details> slowdowns;          // in running order
    std::vector<std::string> notes;                   // the notes' points
    std::vector<std::vector<std::string>> notes_closing;
};

// Reads the details from JSON text; `file` names it in the errors. Unknown
// keys, values of the wrong type and malformed times are errors that say what
// was expected.
result<author_details> parse_author_details(const std::string& text, const std::string& file);

// Reads and parses the file.
result<author_details> read_author_details(const std::filesystem::path& path);

// The file the details are looked for beside the run description when none is
// given: NAME_NUMBER_documenti.json.
std::string author_details_name(const std::string& scenario, const std::string& train);

}  // namespace scenario::tool
