#include "tools/documents/package_documents.h"

#include "common/line_list.h"
#include "compiler/gradient_profile.h"
#include "compiler/route_facts.h"
#include "sources/document_names.h"
#include "tools/words/km_words.h"
#include "tools/words/text_encoding.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace scenario::tool {

namespace {

// A station as the documents see it: the route's facts and the author's words.
struct named_station {
    route::station facts;
    station_details details;  // texts already Windows-1252
};

std::string or_else(const std::string& given, const std::string& fallback) {
    return given.empty() ? fallback : given;
}

// The kilometre point of a position: the author's value, or the first
// progressive's kilometre value plus the position.
int32_t km_of(const stato_scenario& s, int64_t position) {
    return static_cast<int32_t>(route::first_progressive_metres(s.voci) + position);
}

int32_t floor_km(int32_t metres) {
    return static_cast<int32_t>(std::floor(metres / 1000.0));
}

sorgenti::card_row card_row_of(const stato_scenario& s, const named_station& st, bool first, bool last) {
    sorgenti::card_row r;
    r.km_metres = st.details.km_metres ? *st.details.km_metres : km_of(s, st.facts.position);
    r.name = or_else(st.details.card_name, st.facts.name);
    const route::station& f = st.facts;
    if (first || last) {
        r.departure = first ? f.departure : std::nullopt;
        r.arrival = last ? f.arrival : std::nullopt;
    } else if (f.arrival) {
        r.arrival = f.arrival;
        r.departure = f.departure;
    } else if (f.departure) {
        r.passing = f.departure;  // a time without a stop: the train passes then
    } else {
        r.passing = st.details.passing_time;
    }
    return r;
}

sorgenti::slow_order_entry order_entry(const stato_scenario& s, const std::vector<named_station>& st,
                                       const route::slowdown& d) {
    sorgenti::slow_order_entry e;
    auto name = [](const named_station& n) { return or_else(n.details.order_name, n.facts.name); };
    const auto inside = std::find_if(st.begin(), st.end(), [&](const named_station& n) {
        return n.facts.area_from <= d.from && d.from <= n.facts.area_to;
    });
    if (inside != st.end()) {
        e.from = name(*inside);
    } else {
        const named_station* before = nullptr;
        const named_station* after = nullptr;
        for (const named_station& n : st) {
            if (n.facts.position <= d.from)
                before = &n;
            else if (after == nullptr)
                after = &n;
        }
        if (before != nullptr && after != nullptr) {
            e.from = name(*before);
            e.to = name(*after);
        } else if (before != nullptr || after != nullptr) {
            e.from = name(before != nullptr ? *before : *after);
        }
    }
    e.km_post = floor_km(km_of(s, d.from));
    e.speed = d.speed;
    e.length = static_cast<int32_t>(d.to - d.from);
    return e;
}

// What the sources state, in Italian, when the author gives no notes.
std::vector<std::string> stated_points(const stato_scenario& s, const sorgenti::slow_order& order) {
    std::vector<std::string> points;
    for (std::size_t n = 0; n < order.entries.size(); ++n) {
        const sorgenti::slow_order_entry& e = order.entries[n];
        std::string where = e.to.empty() ? (e.from.empty() ? "" : " nella stazione di " + e.from)
                                         : " fra " + e.from + " e " + e.to;
        points.push_back("Rallentamento N. " + std::to_string(n + 1) + " a " + std::to_string(e.speed) +
                         " km/h per " + std::to_string(e.length) + " metri" + where + ".");
    }
    const int64_t length = route::route_length(s.celle, s.voci);
    int steepest = 0;
    int64_t at = 0;
    for (const route::gradient_stretch& g : route::profile_of(s.celle, length).gradients) {
        if (std::abs(g.per_mille) > std::abs(steepest)) {
            steepest = g.per_mille;
            at = g.from;
        }
    }
    if (steepest != 0)
        points.push_back("La pendenza massima e' del " + std::to_string(std::abs(steepest)) +
                         " per mille in " + (steepest > 0 ? "salita" : "discesa") + " al " +
                         km_words(km_of(s, at)) + ".");
    const std::vector<route::tunnel> tunnels = route::tunnels(s.celle, length);
    if (!tunnels.empty()) {
        int64_t metres = 0;
        for (const route::tunnel& t : tunnels)
            metres += t.to - t.from;
        points.push_back(tunnels.size() == 1 ? "Una galleria di " + std::to_string(metres) + " metri."
                                             : std::to_string(tunnels.size()) + " gallerie per " +
                                                   std::to_string(metres) + " metri in tutto.");
    }
    return points;
}

}  // namespace

result<package_documents> derive_documents(const stato_scenario& s, const compile_log* log,
                                           const scenario_names& names, const author_details& a) {
    std::vector<named_station> st;
    std::map<std::string, station_details> unused = a.stations;
    for (route::station& f : route::stations(s.celle, s.voci, log)) {
        named_station n{std::move(f), {}};
        const std::string key = from_windows1252(n.facts.name);
        if (auto d = unused.find(key); d != unused.end()) {
            n.details = d->second;
            n.details.card_name = to_windows1252(n.details.card_name);
            n.details.order_name = to_windows1252(n.details.order_name);
            unused.erase(d);
            if (n.details.passing_time &&
                route::station_time(s.voci[static_cast<std::size_t>(n.facts.slot)]) > 0)
                return failure{"station \"" + key +
                               "\": the run description gives its time, so a passing time is not taken"};
        }
        st.push_back(std::move(n));
    }
    if (!unused.empty()) {
        std::string list;
        for (const named_station& n : st)
            list += (list.empty() ? "" : ", ") + from_windows1252(n.facts.name);
        return failure{"no station of the run is called \"" + unused.begin()->first +
                       "\"; the stations are: " + (list.empty() ? "none" : list)};
    }
    const std::vector<route::slowdown> slowdowns = route::slowdowns(s.celle);
    if (a.slowdowns.size() > slowdowns.size())
        return failure{"the details list " + std::to_string(a.slowdowns.size()) + " slowdowns, the run has " +
                       std::to_string(slowdowns.size())};

    package_documents d;
    const std::string first = st.empty() ? "" : st.front().facts.name;
    const std::string last = st.empty() ? "" : st.back().facts.name;
    sorgenti::train_card& c = d.card;
    c.train = names.train;
    c.origin = to_windows1252(or_else(
        a.card_origin, from_windows1252(st.empty() ? "" : or_else(st.front().details.card_name, first))));
    c.destination = to_windows1252(or_else(
        a.card_destination, from_windows1252(st.empty() ? "" : or_else(st.back().details.card_name, last))));
    c.speed_category = to_windows1252(a.speed_category);
    const int32_t braking = route::braked_mass_percentage(s.voci);
    c.braking = braking != 0 ? std::to_string(braking) + "%" : "";
    c.classification = to_windows1252(a.classification);
    c.braked_mass = a.braked_mass_tonnes ? std::to_string(*a.braked_mass_tonnes) + "T" : "";
    for (std::size_t i = 0; i < st.size(); ++i)
        c.rows.push_back(card_row_of(s, st[i], i == 0, i + 1 == st.size()));
    if (const int speed = route::first_speed_limit(s.celle); speed != 0 && !c.rows.empty())
        c.rows.front().speed = std::to_string(speed);

    auto order_name = [](const named_station& n) { return or_else(n.details.order_name, n.facts.name); };
    const std::string route_words = st.empty() ? "" : order_name(st.front()) + " - " + order_name(st.back());
    d.order.train = names.train;
    d.order.line_name = a.line_name.empty() ? route_words : to_windows1252(a.line_name);
    for (std::size_t i = 0; i < slowdowns.size(); ++i) {
        sorgenti::slow_order_entry e = order_entry(s, st, slowdowns[i]);
        if (i < a.slowdowns.size()) {
            if (a.slowdowns[i].km_post)
                e.km_post = *a.slowdowns[i].km_post;
            if (!a.slowdowns[i].prescriptions.empty())
                e.prescriptions = to_windows1252(a.slowdowns[i].prescriptions);
        }
        d.order.entries.push_back(std::move(e));
    }

    d.notes.train = names.train;
    d.notes.route = a.route.empty() ? route_words : to_windows1252(a.route);
    if (!a.notes.empty()) {
        for (const std::string& p : a.notes)
            d.notes.points.push_back(to_windows1252(p));
    } else {
        d.notes.points = stated_points(s, d.order);
    }
    for (const std::vector<std::string>& paragraph : a.notes_closing) {
        d.notes.closing.emplace_back();
        for (const std::string& line : paragraph)
            d.notes.closing.back().push_back(to_windows1252(line));
    }
    return d;
}

std::vector<document_file> document_files(const package_documents& d, const scenario_names& n) {
    return {
        {sorgenti::train_card_document_name(n.name, n.train), testo_lista(sorgenti::card_lines(d.card))},
        {sorgenti::slow_order_document_name(n.name, n.train),
         testo_lista(sorgenti::slow_order_lines(d.order))},
        {sorgenti::notes_document_name(n.name, n.train), testo_lista(sorgenti::notes_lines(d.notes))},
    };
}

}  // namespace scenario::tool
