// The import report as data and as words, and the geo record.
#include "tools/geodata/import_report.h"

#include "compiler/route_facts.h"
#include "tools/words/text_encoding.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace scenario::geodata {

namespace {

// Figures to a tenth (metres) or hundredth (degrees): enough for a person.
double round_to(double v, double step) {
    return std::isfinite(v) ? std::nearbyint(v / step) * step : 0.0;
}

std::string clock(int32_t s) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
    return text;
}

std::string fixed(double v, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

}  // namespace

nlohmann::ordered_json report_json(const report_inputs& in) {
    const fit::fit_report& r = in.draft.line.report;
    nlohmann::ordered_json j;
    j["draft"] = true;
    j["note"] = "a draft scenario: the timetable is the running-time estimate plus " +
                fixed(in.options.margin_percent, 0) + "% and is for the author to set";
    j["source"] = {{"file", in.options.geometry.filename().string()},
                   {"driver", in.source.driver},
                   {"pieces", in.source.pieces.size()},
                   {"points", in.source_line.size()}};
    j["start"] = in.notes.start;
    j["heights"] = in.notes.heights;
    j["line_length"] = round_to(r.line_length, 0.1);
    j["route_length"] = in.draft.line.length;
    j["start_km_m"] = in.draft.start_km_m;
    nlohmann::ordered_json bends = nlohmann::ordered_json::array();
    for (const fit::bend_report& b : r.bends) {
        nlohmann::ordered_json pieces = nlohmann::ordered_json::array();
        for (const fit::curve_line& c : b.pieces)
            pieces.push_back({{"start", c.start},
                              {"length", c.length},
                              {"class", c.curve_class},
                              {"side", c.left ? "left" : "right"}});
        bends.push_back({{"from", round_to(b.from, 0.1)},
                         {"to", round_to(b.to, 0.1)},
                         {"line_radius", round_to(b.line_radius, 1)},
                         {"line_angle_deg", round_to(b.line_angle_deg, 0.01)},
                         {"fitted_angle_deg", round_to(b.fitted_angle_deg, 0.01)},
                         {"angle_error_deg", round_to(b.fitted_angle_deg - b.line_angle_deg, 0.01)},
                         {"sharper_than_class6", b.sharper_than_class6},
                         {"pieces", pieces}});
    }
    j["bends"] = bends;
    j["heading_error"] = {{"max_deg", round_to(r.heading_error_max_deg, 0.01)},
                          {"at", round_to(r.heading_error_at, 1)},
                          {"outside_bends_max_deg", round_to(r.heading_error_straight_max_deg, 0.01)}};
    j["lateral"] = {{"max", round_to(r.lateral_max, 0.1)},
                    {"rms", round_to(r.lateral_rms, 0.1)},
                    {"at", round_to(r.lateral_at, 1)}};
    j["height_error"] = {{"rms", round_to(r.height_rms, 0.01)},
                         {"max", round_to(r.height_max, 0.01)},
                         {"at", round_to(r.height_at, 1)}};
    j["compiler_stretch"] = round_to(r.compiler_stretch, 0.0001);
    j["taken"] = in.features.taken;
    nlohmann::ordered_json dropped = nlohmann::ordered_json::array();
    for (const fit::dropped& d : in.features.dropped)
        dropped.push_back({{"what", d.what}, {"why", d.why}});
    for (const fit::dropped& d : in.written.dropped)
        dropped.push_back({{"what", d.what}, {"why", d.why}});
    j["dropped"] = dropped;
    j["added"] = in.written.added;
    j["warnings"] = in.notes.warnings;
    nlohmann::ordered_json timetable = nlohmann::ordered_json::array();
    const stato_scenario& s = *in.compiled.state;
    for (const route::station& st : route::stations(s.celle, s.voci, &in.compiled.log)) {
        nlohmann::ordered_json e{{"name", tool::from_windows1252(st.name)}, {"position", st.position}};
        if (st.arrival)
            e["arrival"] = clock(*st.arrival);
        if (st.departure)
            e["departure"] = clock(*st.departure);
        timetable.push_back(e);
    }
    j["timetable"] = timetable;
    j["placing"] = placing_json(in.place);
    return j;
}

std::string report_text(const nlohmann::ordered_json& j) {
    std::ostringstream o;
    o << "Import of " << j["source"]["file"].get<std::string>() << " ("
      << j["source"]["driver"].get<std::string>() << ", " << j["source"]["pieces"] << " piece(s), "
      << j["source"]["points"] << " points)\n";
    o << "DRAFT: " << j["note"].get<std::string>() << "\n";
    o << "route start: " << j["start"].get<std::string>() << "\n";
    o << "heights: " << j["heights"].get<std::string>() << "\n";
    o << "line length " << fixed(j["line_length"].get<double>(), 1) << " m, route length "
      << j["route_length"] << " m, first km post " << j["start_km_m"] << " m\n";
    o << "bends: " << j["bends"].size() << "\n";
    for (const auto& b : j["bends"]) {
        o << "  " << fixed(b["from"].get<double>(), 0) << "-" << fixed(b["to"].get<double>(), 0)
          << " m: line radius " << fixed(b["line_radius"].get<double>(), 0) << " m, angle "
          << fixed(b["line_angle_deg"].get<double>(), 2) << " deg; fitted "
          << fixed(b["fitted_angle_deg"].get<double>(), 2) << " deg (error "
          << fixed(b["angle_error_deg"].get<double>(), 2) << ") with";
        for (const auto& p : b["pieces"])
            o << " class " << p["class"] << " " << p["side"].get<std::string>() << " " << p["length"]
              << " m from " << p["start"];
        if (b["sharper_than_class6"].get<bool>())
            o << "; sharper than class 6: its angle kept over a longer stretch";
        o << "\n";
    }
    o << "heading error: max " << fixed(j["heading_error"]["max_deg"].get<double>(), 2) << " deg at "
      << fixed(j["heading_error"]["at"].get<double>(), 0) << " m; outside the bends max "
      << fixed(j["heading_error"]["outside_bends_max_deg"].get<double>(), 2) << " deg\n";
    o << "lateral deviation (route drawn 1 m per metre): max " << fixed(j["lateral"]["max"].get<double>(), 1)
      << " m at " << fixed(j["lateral"]["at"].get<double>(), 0) << " m, RMS "
      << fixed(j["lateral"]["rms"].get<double>(), 1) << " m\n";
    o << "height error: RMS " << fixed(j["height_error"]["rms"].get<double>(), 2) << " m, max "
      << fixed(j["height_error"]["max"].get<double>(), 2) << " m at "
      << fixed(j["height_error"]["at"].get<double>(), 0) << " m\n";
    o << "compiler's stretch: the compiled plan is " << fixed(j["compiler_stretch"].get<double>(), 4)
      << " times the route's length (the compiler's own, kept)\n";
    o << "from tags:" << (j["taken"].empty() ? " nothing" : "") << "\n";
    for (const auto& t : j["taken"])
        o << "  " << t.get<std::string>() << "\n";
    if (!j["dropped"].empty()) {
        o << "dropped:\n";
        for (const auto& d : j["dropped"])
            o << "  " << d["what"].get<std::string>() << ": " << d["why"].get<std::string>() << "\n";
    }
    for (const auto& a : j["added"])
        o << "added: " << a.get<std::string>() << "\n";
    for (const auto& w : j["warnings"])
        o << "warning: " << w.get<std::string>() << "\n";
    o << "draft timetable:\n";
    for (const auto& t : j["timetable"]) {
        o << "  " << t["name"].get<std::string>() << " at " << t["position"] << " m";
        if (t.contains("arrival"))
            o << ", arrives " << t["arrival"].get<std::string>();
        if (t.contains("departure"))
            o << ", leaves " << t["departure"].get<std::string>();
        o << "\n";
    }
    o << "placed at "
      << describe(lon_lat{j["placing"]["origin"]["lon"].get<double>(),
                          j["placing"]["origin"]["lat"].get<double>()})
      << ", heading " << fixed(j["placing"]["heading_deg"].get<double>(), 3) << " deg\n";
    return o.str();
}

nlohmann::ordered_json geo_record_json(const report_inputs& in) {
    nlohmann::ordered_json j;
    j["format"] = "scenario geo record 1";
    j["name"] = in.options.name;
    j["train"] = in.options.train;
    j["placing"] = placing_json(in.place);
    nlohmann::ordered_json line = nlohmann::ordered_json::array();
    for (const lon_lat& p : in.source_line)
        line.push_back({p.lon, p.lat});
    j["source_line"] = line;
    // The same line in the plan's frame (metres: +y the route's first
    // heading, +x to its right), for the page that draws the plan.
    const double a = in.place.heading_deg * M_PI / 180, c = std::cos(a), s = std::sin(a);
    nlohmann::ordered_json plan = nlohmann::ordered_json::array();
    for (const xy& p : in.source_plane) {
        const double dx = p.x - in.place.origin_plane.x, dy = p.y - in.place.origin_plane.y;
        plan.push_back({round_to(dx * c - dy * s, 0.01), round_to(dx * s + dy * c, 0.01)});
    }
    j["source_plan"] = plan;
    const fit::fit_report& r = in.draft.line.report;
    j["figures"] = {{"line_length", round_to(r.line_length, 0.1)},
                    {"route_length", in.draft.line.length},
                    {"bends", r.bends.size()},
                    {"heading_error_max_deg", round_to(r.heading_error_max_deg, 0.01)},
                    {"lateral_max", round_to(r.lateral_max, 0.1)},
                    {"lateral_rms", round_to(r.lateral_rms, 0.1)},
                    {"height_rms", round_to(r.height_rms, 0.01)},
                    {"height_max", round_to(r.height_max, 0.01)},
                    {"compiler_stretch", round_to(r.compiler_stretch, 0.0001)},
                    {"dropped", in.features.dropped.size() + in.written.dropped.size()}};
    return j;
}

}  // namespace scenario::geodata
