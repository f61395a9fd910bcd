#include "tools/words/document_reference.h"

namespace scenario::tool {

namespace {

constexpr std::string_view rules[] = {
    "The documents are laid out as the program's own: CR LF, Windows-1252, each file replaced whole.",
    "Train card: the train number from the file names; origin and destination the first and last station "
    "(run description spelling, or card_name, or card_origin / card_destination); the braking percentage "
    "from \"percentuale massa frenata\"; the first row's speed the first speed limit; one row per station "
    "in running order.",
    "Times: the first station shows its departure alone (at the right), the last its arrival alone (at the "
    "left). A station between with a dwell shows arrival (its time minus the dwell) and departure (its "
    "time); one with a time and dwell 0 shows that time as a passing time (centred); one with time 0 shows "
    "none, unless the details give it a \"passing\" time.",
    "A time is written hours.minutes; seconds 30 to 59 add \"+\" (half a minute) and seconds are otherwise "
    "dropped, so odd seconds round down to the half minute (16:42:47 is \"16.42+\", 16:42:17 is "
    "\"16.42\"); hours of 24 and more go round the clock (24:03 is \" 0.03\"); an hour of one digit takes a "
    "blank before it.",
    "Kilometre points (a convention of this tool: the sources give no rule): the first progressive's "
    "kilometre value plus the position, in kilometres with three decimals; with no progressive, the "
    "position itself. The details' \"km\" of a station replaces it on the card.",
    "Slow order: one entry per slowdown in running order, its speed and its length (end minus start); "
    "\"between\" the last station at or before its start and the next one, or the station alone when "
    "its start lies within that station's area (or before the first, after the last station). Its post "
    "is the kilometre point of its start rounded down to whole kilometres, unless the details give "
    "\"km_post\". Prescriptions \"---\" unless given. Station names in capitals as the run description "
    "has them, unless \"order_name\" is given.",
    "The slow order's form has 21 rows: each entry takes an empty row and its own row, or two rows when "
    "\"A - B\" does not fit the column (\" A -\" then \"   - B\"); entries that do not fit go on to a second "
    "form, laid out the same, and the legend closes the document.",
    "Notes: the title \"Treno NUMBER sul percorso ROUTE\" (ROUTE from \"route\", else first - last station); "
    "the points are the details' \"notes\", each wrapped at 77 characters, else what the sources state "
    "(each slowdown with speed and length, the steepest gradient, the tunnels); then each paragraph of "
    "\"notes_closing\" after an empty line.",
    "A box the sources and the details leave empty stays blank, as the program's card leaves its empty "
    "columns. Texts too long for their box are cut.",
};

constexpr std::string_view keys[] = {
    "speed_category: text, the card's box beside the percentage (\"V160 B\")",
    "classification: text, the card's CLASSIFICAZIONE box (\"REGIONALE\")",
    "braked_mass_tonnes: whole number, the card's MASSA BLOCCATA box (250 gives \"250T\")",
    "line_name: text, the slow order's \"Linea\" (default: first - last station)",
    "route: text, the notes' title (default: first - last station)",
    "card_origin, card_destination: text, the card's \"da:\" and \"a:\"",
    "stations: object, one key per station name as the run description writes it, each with any of "
    "card_name, order_name (texts), km (kilometres, e.g. 35.330), passing (\"HH:MM\" or \"HH:MM:SS\", "
    "only for a station with time 0)",
    "slowdowns: list in running order, each with any of km_post (whole kilometres), prescriptions (text)",
    "notes: list of texts, the notes' points",
    "notes_closing: list of paragraphs, each a list of lines",
    "Any other key is an error, as is a station name the run does not have.",
};

}  // namespace

std::span<const std::string_view> document_rules() {
    return rules;
}

std::span<const std::string_view> details_keys() {
    return keys;
}

}  // namespace scenario::tool
