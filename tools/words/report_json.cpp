#include "tools/words/report_json.h"

#include "compiler/error_codes.h"
#include "compiler/warnings.h"

namespace scenario::tool {

using json = nlohmann::ordered_json;

namespace {

json optional_number(std::optional<int64_t> v) {
    return v ? json(*v) : json(nullptr);
}

}  // namespace

// The stable code of an error: "E" and its number.
std::string error_code_name(int32_t number) {
    return "E" + std::to_string(number);
}

json related_json(const std::vector<related_place>& places, const std::string& line_file,
                  const std::string& run_file) {
    json list = json::array();
    for (const related_place& r : places)
        list.push_back({
            {"file", *file_named(r.source, line_file, run_file)},
            {"line", r.line},
            {"column", optional_number(r.column > 0 ? std::optional<int64_t>(r.column) : std::nullopt)},
            {"message", r.message},
        });
    return list;
}

std::optional<std::string> file_named(std::optional<sorgente_testo> source, const std::string& line_file,
                                      const std::string& run_file) {
    if (!source)
        return std::nullopt;
    return *source == sorgente_testo::linea ? line_file : run_file;
}

json diagnosis_json(const diagnosis& d, const std::string& line_file, const std::string& run_file) {
    const std::optional<std::string> file = file_named(d.source, line_file, run_file);
    return json{
        {"severity", tool::severity_name(d.severity)},
        {"code", error_code_name(d.number)},
        {"number", d.number},
        {"message", d.message},
        {"description", error_description(d.code)},
        {"file", file ? json(*file) : json(nullptr)},
        {"line", optional_number(d.line > 0 ? std::optional<int64_t>(d.line) : std::nullopt)},
        {"column", optional_number(d.column > 0 ? std::optional<int64_t>(d.column) : std::nullopt)},
        {"position", optional_number(d.position)},
        {"related", related_json(d.related, line_file, run_file)},
    };
}

// A warning entry: the keys of an error entry that a warning has, in the same order.
json warning_json(const worded_warning& w, const std::string& line_file, const std::string& run_file) {
    const std::optional<std::string> file = file_named(w.source, line_file, run_file);
    json consequences = json::array();
    for (const worded_warning& c : w.consequences)
        consequences.push_back(warning_json(c, line_file, run_file));
    return json{
        {"severity", "warning"},
        {"code", std::string(warning_name(w.code))},
        {"message", w.message},
        {"file", file ? json(*file) : json(nullptr)},
        {"line", optional_number(w.line > 0 ? std::optional<int64_t>(w.line) : std::nullopt)},
        {"column",
         optional_number(w.first_column > 0 ? std::optional<int64_t>(w.first_column) : std::nullopt)},
        {"last_column",
         optional_number(w.first_column > 0 ? std::optional<int64_t>(w.last_column) : std::nullopt)},
        {"related", related_json(w.related, line_file, run_file)},
        {"consequences", consequences},
    };
}

}  // namespace scenario::tool
