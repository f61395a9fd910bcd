#include "tools/documents/document_check.h"

#include "common/line_list.h"
#include "compiler/source_store.h"
#include "sources/document_names.h"
#include "tools/core/file_io.h"
#include "tools/core/memory_compile.h"
#include "tools/words/text_encoding.h"

#include <algorithm>

namespace scenario::tool {

namespace {

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string l = text.substr(at, end - at);
        if (!l.empty() && l.back() == '\r')
            l.pop_back();
        lines.push_back(std::move(l));
        at = end + 1;
    }
    return lines;
}

std::string trim(const std::string& s) {
    const std::size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos)
        return "";
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// The fields between the bars of a table row; empty when the row has not
// `count` fields.
std::vector<std::string> fields(const std::string& row, std::size_t count) {
    std::vector<std::string> f;
    if (row.size() < 2 || row.substr(0, 2) != " |" || row.back() != '|')
        return {};
    std::size_t at = 2;
    while (at < row.size()) {
        const std::size_t bar = row.find('|', at);
        f.push_back(row.substr(at, bar - at));
        at = bar + 1;
    }
    return f.size() == count ? f : std::vector<std::string>{};
}

// One timetable row as read: its line, name, kilometre point and times.
struct read_row {
    int line = 0;
    std::string name, km, times;
};

// The rows between the timetable's head rule and its closing rule.
result<std::vector<read_row>> card_rows(const std::vector<std::string>& lines) {
    const std::string rule =
        " |_____|_____|__________|_____|____________________________|________________|_____|";
    const auto head = std::find(lines.begin(), lines.end(), rule);
    if (head == lines.end())
        return failure{"no timetable: the rule under the head of the table is missing"};
    std::vector<read_row> rows;
    for (auto l = head + 1; l != lines.end() && *l != rule; ++l) {
        const std::vector<std::string> f = fields(*l, 7);
        const int number = static_cast<int>(l - lines.begin()) + 1;
        if (f.empty())
            return failure{"line " + std::to_string(number) + " is not a timetable row of seven columns"};
        rows.push_back({number, trim(f[4]), trim(f[2]), trim(f[5])});
    }
    return rows;
}

std::string times_words(const std::string& t) {
    return t.empty() ? "none" : "\"" + t + "\"";
}

std::string quoted(const std::string& s) {
    return "\"" + from_windows1252(s) + "\"";
}

}  // namespace

std::vector<document_warning> compare_card(const std::string& text, const package_documents& expected,
                                           const std::string& file) {
    std::vector<document_warning> out;
    auto warn = [&](int line, const char* code, const std::string& words) {
        out.push_back({file, line, code, words});
    };
    const result<std::vector<read_row>> got = card_rows(split_lines(text));
    const lista_righe laid = sorgenti::card_lines(expected.card);
    const result<std::vector<read_row>> want = card_rows({laid.begin(), laid.end() - 1});
    if (!got) {
        warn(0, "document-unreadable", "not laid out as a train card: " + got.error());
        return out;
    }
    // Stations in order: each expected row is looked for from the last one found.
    std::size_t next = 0;
    for (const read_row& w : *want) {
        auto found = std::find_if(got->begin() + static_cast<std::ptrdiff_t>(next), got->end(),
                                  [&](const read_row& r) { return r.name == w.name; });
        if (found == got->end()) {
            const bool earlier = std::any_of(got->begin(), got->begin() + static_cast<std::ptrdiff_t>(next),
                                             [&](const read_row& r) { return r.name == w.name; });
            const int line =
                next < got->size() ? (*got)[next].line : (got->empty() ? 0 : got->back().line + 1);
            warn(line, "document-station",
                 "the station " + quoted(w.name) +
                     (earlier ? " is out of order: the sources run through it later"
                              : " is missing: the sources have it here"));
            continue;
        }
        for (auto skipped = got->begin() + static_cast<std::ptrdiff_t>(next); skipped != found; ++skipped)
            warn(
                skipped->line, "document-station",
                "the station " + quoted(skipped->name) + " is not where the sources have it, or not in them");
        next = static_cast<std::size_t>(found - got->begin()) + 1;
        if (found->times != w.times)
            warn(found->line, "document-time",
                 "the times of " + quoted(w.name) + " are " + times_words(found->times) +
                     "; the package writes " + times_words(w.times));
        if (found->km != w.km)
            warn(found->line, "document-km",
                 "the kilometre point of " + quoted(w.name) + " is " + found->km + "; the package writes " +
                     w.km);
    }
    for (std::size_t i = next; i < got->size(); ++i)
        warn((*got)[i].line, "document-station",
             "the station " + quoted((*got)[i].name) + " is not where the sources have it, or not in them");
    return out;
}

namespace {

struct read_entry {
    int line = 0;
    std::string stations, km, speed, length;
};

// The entries of every form: a row with a speed closes an entry, the rows of
// names before it belong to it.
result<std::vector<read_entry>> order_entries(const std::vector<std::string>& lines) {
    const std::string rule =
        " |___|____________________________|____________|__________|_________|____________|";
    std::vector<read_entry> entries;
    bool body = false;
    bool any = false;
    std::string names;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == rule) {
            body = !body;
            any = true;
            continue;
        }
        if (!body)
            continue;
        const std::vector<std::string> f = fields(lines[i], 6);
        if (f.empty())
            return failure{"line " + std::to_string(i + 1) + " is not a row of the form's six columns"};
        std::string n = trim(f[1]);
        if (n.rfind("- ", 0) == 0)
            n = n.substr(2);
        if (!n.empty())
            names += (names.empty() ? "" : " ") + n;
        if (!trim(f[3]).empty()) {
            entries.push_back({static_cast<int>(i) + 1, names, trim(f[2]), trim(f[3]), trim(f[4])});
            names.clear();
        }
    }
    if (!any)
        return failure{"no form: the rules of the table are missing"};
    return entries;
}

}  // namespace

std::vector<document_warning> compare_slow_order(const std::string& text, const package_documents& expected,
                                                 const std::string& file) {
    std::vector<document_warning> out;
    const std::vector<std::string> lines = split_lines(text);
    const result<std::vector<read_entry>> got = order_entries(lines);
    const lista_righe laid = sorgenti::slow_order_lines(expected.order);
    const result<std::vector<read_entry>> want = order_entries({laid.begin(), laid.end() - 1});
    if (!got) {
        out.push_back({file, 0, "document-unreadable", "not laid out as a slow order: " + got.error()});
        return out;
    }
    for (std::size_t i = 0; i < want->size(); ++i) {
        const read_entry& w = (*want)[i];
        const std::string which =
            "slowdown " + std::to_string(i + 1) + " (" + from_windows1252(w.stations) + ")";
        if (i >= got->size()) {
            const int end = static_cast<int>(lines.size());
            out.push_back(
                {file, end, "document-slowdown",
                 which + " is missing: " + w.speed + " km/h for " + w.length + " m after post " + w.km});
            continue;
        }
        const read_entry& g = (*got)[i];
        if (g.speed != w.speed || g.length != w.length)
            out.push_back({file, g.line, "document-slowdown",
                           which + ": the order says " + g.speed + " km/h for " + g.length +
                               " m; the sources give " + w.speed + " km/h for " + w.length + " m"});
        if (g.km != w.km)
            out.push_back({file, g.line, "document-km",
                           which + ": the order says post " + g.km + "; the package writes " + w.km});
    }
    for (std::size_t i = want->size(); i < got->size(); ++i)
        out.push_back({file, (*got)[i].line, "document-slowdown",
                       "entry " + std::to_string(i + 1) + " is a slowdown the sources do not have"});
    return out;
}

result<std::vector<document_warning>> check_documents(const named_sources& sources,
                                                      const author_details& details,
                                                      const std::filesystem::path& directory) {
    result<compiled_sources> c = compile_files(sources, true);
    if (!c)
        return failure{c.error()};
    if (!c->errors.empty() || c->state->codice_errore != 0 || c->stamp)
        return std::vector<document_warning>{};
    result<package_documents> expected = derive_documents(*c->state, &c->log, sources.names, details);
    if (!expected)
        return failure{expected.error()};
    const scenario_names& n = sources.names;
    std::vector<document_warning> out;
    struct document {
        std::string name;
        std::vector<document_warning> (*compare)(const std::string&, const package_documents&,
                                                 const std::string&);
    };
    const document documents[] = {
        {sorgenti::train_card_document_name(n.name, n.train), &compare_card},
        {sorgenti::slow_order_document_name(n.name, n.train), &compare_slow_order},
        {sorgenti::notes_document_name(n.name, n.train), nullptr},
    };
    for (const document& d : documents) {
        const std::filesystem::path path = percorso_in(directory, d.name);
        const std::string shown = display_path(path);
        result<std::string> text = read_file(path);
        if (!text) {
            out.push_back({shown, 0, "document-unreadable", text.error()});
            continue;
        }
        if (d.compare != nullptr)
            for (document_warning& w : d.compare(*text, *expected, shown))
                out.push_back(std::move(w));
    }
    return out;
}

}  // namespace scenario::tool
