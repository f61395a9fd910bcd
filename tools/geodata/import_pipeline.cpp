// The import from file to draft: each step in its own file, joined here in
// order; the report gathers what each step found.
#include "tools/geodata/import_pipeline.h"

#include "compiler/cell_rules.h"
#include "compiler/source_store.h"
#include "tools/core/memory_compile.h"
#include "tools/core/scenario_names.h"
#include "tools/fit/fit_line.h"
#include "tools/geodata/dem_heights.h"
#include "tools/geodata/import_report.h"
#include "tools/geodata/line_features.h"
#include "tools/geodata/line_join.h"
#include "tools/geodata/local_projection.h"
#include "tools/geodata/source_reader.h"

#include <algorithm>
#include <cmath>

namespace scenario::geodata {

namespace fs = std::filesystem;

std::string geo_record_name(const std::string& name) {
    return name + "_geo.json";
}

namespace {

constexpr double longest_route = 1000000;  // metres: the format's positions end there
constexpr double dem_step = 20;            // metres between the heights sampled from a DEM

// Points added so that none lies more than `step` from the next (for heights
// from a raster, whose hills lie between a file's sparse points too).
void densify(joined_line& line, double step) {
    joined_line out;
    out.places = line.places;
    out.start_note = line.start_note;
    for (std::size_t i = 0; i < line.points.size(); ++i) {
        if (i > 0) {
            const double gap = line.along[i] - line.along[i - 1];
            const int extra = int(std::ceil(gap / step)) - 1;
            for (int k = 1; k <= extra; ++k) {
                const double t = double(k) / (extra + 1);
                const xy& a = line.points[i - 1];
                const xy& b = line.points[i];
                const lon_lat& ga = line.geo[i - 1];
                const lon_lat& gb = line.geo[i];
                out.points.push_back(xy{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)});
                out.geo.push_back(lon_lat{ga.lon + t * (gb.lon - ga.lon), ga.lat + t * (gb.lat - ga.lat),
                                          ga.z + t * (gb.z - ga.z)});
                out.along.push_back(line.along[i - 1] + t * gap);
            }
        }
        out.points.push_back(line.points[i]);
        out.geo.push_back(line.geo[i]);
        out.along.push_back(line.along[i]);
    }
    line = std::move(out);
}

// The file's own heights, when every point has one (a KML line all at 0 is
// one clamped to the ground: no heights).
bool own_heights(const joined_line& line) {
    bool any_nonzero = false;
    for (const lon_lat& p : line.geo) {
        if (!std::isfinite(p.z))
            return false;
        any_nonzero |= p.z != 0;
    }
    return any_nonzero;
}

std::string compile_failure(const tool::compiled_sources& c) {
    std::string m = "the draft does not compile (a fault of the import, please report it):";
    for (const auto& d : c.errors)
        m += "\n  " + d.message;
    return m;
}

}  // namespace

result<import_result> import_line(const import_options& o) {
    const tool::scenario_names names{o.name, o.train, false};
    if (auto ok = tool::check_names(names); !ok)
        return failure{ok.error()};
    // The name goes into the compiled files byte for byte: plain ASCII.
    if (!std::all_of(o.name.begin(), o.name.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return failure{"the scenario name '" + o.name + "' is not plain ASCII"};
    int train = 0;
    if (o.train.empty() || o.train.size() > 6 ||
        !std::all_of(o.train.begin(), o.train.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return failure{"the train number must be a whole number of 1 to 6 digits, not '" + o.train + "'"};
    train = std::stoi(o.train);

    auto source = read_geometry(o.geometry, o.read);
    if (!source)
        return failure{source.error()};
    const lon_lat centre = centre_of(source->pieces);
    auto projection = local_projection::centred_on(centre.lon, centre.lat);
    if (!projection)
        return failure{projection.error()};
    std::vector<std::vector<xy>> plane;
    for (const geo_piece& p : source->pieces) {
        auto q = projection->forward(p.points);
        if (!q)
            return failure{o.geometry.string() + ": " + q.error()};
        plane.push_back(std::move(*q));
    }
    std::vector<lon_lat> point_places;
    for (const geo_point& p : source->points)
        point_places.push_back(p.at);
    auto plane_points = projection->forward(point_places);
    if (!plane_points)
        return failure{o.geometry.string() + ": " + plane_points.error()};

    auto joined = join_pieces(source->pieces, plane, o.join_gap);
    if (!joined)
        return failure{o.geometry.string() + ": " + joined.error()};
    joined_line& line = *joined;
    if (auto chosen = choose_start(line, parse_start(o.start), source->points, *projection); !chosen)
        return failure{chosen.error()};
    if (line.length() > longest_route)
        return failure{o.geometry.string() + ": the line is " + std::to_string(int64_t(line.length())) +
                       " m long; a route holds at most 1000000 m (cut the line, or name a part with --ways)"};
    if (line.length() < 1)
        return failure{o.geometry.string() + ": the line is shorter than a metre"};
    const std::vector<lon_lat> source_line = line.geo;  // before any point is added
    const std::vector<xy> source_plane = line.points;

    import_notes notes;
    notes.start = line.start_note;
    fit::line_input input;
    if (own_heights(line)) {
        notes.heights = "the file's own heights";
        if (!o.dems.empty())
            notes.warnings.push_back("the file has its own heights: the elevation rasters were not used");
        for (const lon_lat& p : line.geo)
            input.heights.push_back(p.z);
    } else if (!o.dems.empty()) {
        densify(line, dem_step);
        auto h = dem_heights(line.geo, line.along, o.dems);
        if (!h)
            return failure{h.error()};
        input.heights = std::move(*h);
        notes.heights = "the elevation rasters (" + std::to_string(o.dems.size()) + " given), every " +
                        std::to_string(int(dem_step)) + " m at most";
    } else {
        notes.heights = "none: a flat line";
        notes.warnings.push_back("no heights (the file has none and no --dem was given): the line is flat");
    }
    for (const xy& p : line.points)
        input.points.push_back(fit::point{p.x, p.y});

    feature_options fo;
    fo.station_distance = o.station_distance;
    std::vector<std::vector<xy>> plane_lines;
    if (source->driver != "OSM")
        for (const geo_piece& p : source->tagged_lines) {
            auto q = projection->forward(p.points);
            plane_lines.push_back(q ? std::move(*q) : std::vector<xy>{});
        }
    line_features features = read_features(*source, line, *plane_points, plane_lines, fo);
    input.level_spans = features.level_spans;

    auto fitted = fit::fit_line(input, o.fit);
    if (!fitted)
        return failure{o.geometry.string() + ": " + fitted.error()};

    fit::draft d;
    d.name = o.name;
    d.train = train;
    if (features.start_km_m)
        d.start_km_m = *features.start_km_m;
    else if (o.start_km)
        d.start_km_m = route::nearest_cell_start(std::max(0.0, *o.start_km) * 1000);
    d.line = std::move(*fitted);
    d.tunnels = features.tunnels;
    d.stations = features.stations;
    d.signals = features.signals;
    d.speeds = features.speeds;
    d.departure = o.departure;
    d.margin = o.margin_percent / 100;
    const fit::draft_result final_draft = fit::write_draft(d);
    // What the author gets must compile: a draft that does not is the import's fault.
    const tool::compiled_sources c =
        tool::compile_texts(final_draft.texts.line, final_draft.texts.run, names, true);
    if (!c.errors.empty() || c.stamp)
        return failure{compile_failure(c)};

    placing place;
    place.projection = projection->definition();
    place.origin_plane = line.points.front();
    place.origin = line.geo.front();
    place.heading_deg = d.line.report.start_heading_deg;
    if (!d.line.heights_along.empty())
        place.start_height = d.line.heights_along.front();
    else if (!input.heights.empty())
        place.start_height = input.heights.front();

    import_result out;
    report_inputs in{o, *source, line, features, d, final_draft, c, notes, place, source_line, source_plane};
    out.report = report_json(in);
    out.report_text = report_text(out.report);
    out.files.push_back({nome_file_linea_testo(o.name), final_draft.texts.line});
    out.files.push_back({nome_file_corsa_testo(o.name, o.train), final_draft.texts.run});
    out.files.push_back({o.name + "_import.txt", out.report_text});
    out.files.push_back({geo_record_name(o.name), geo_record_json(in).dump(1) + "\n"});
    return out;
}

}  // namespace scenario::geodata
