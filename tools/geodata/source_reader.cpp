// Reading a geometry file with OGR: lines and tagged points, turned into
// longitude and latitude, each coordinate checked.
#include "tools/geodata/source_reader.h"

#include "tools/geodata/gdal_session.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <gdal_priv.h>
#include <memory>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>
#include <set>
#include <sstream>
#include <system_error>

namespace scenario::geodata {

namespace fs = std::filesystem;

tag_map parse_hstore(const std::string& text) {
    tag_map tags;
    std::size_t i = 0;
    // One quoted word from position i, with \" and \\ escapes.
    auto quoted = [&](std::string& out) {
        while (i < text.size() && text[i] != '"')
            ++i;
        if (i >= text.size())
            return false;
        ++i;
        out.clear();
        while (i < text.size() && text[i] != '"') {
            if (text[i] == '\\' && i + 1 < text.size())
                ++i;
            out += text[i++];
        }
        if (i >= text.size())
            return false;
        ++i;
        return true;
    };
    std::string key, value;
    while (quoted(key) && quoted(value))
        tags[key] = value;
    return tags;
}

namespace {

std::string lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The feature's fields as tags: OSM's other_tags opened up, KML's "Name" as
// "name", GPX's waypoint type "station"/"halt" as railway=... .
tag_map tags_of(OGRFeature& f) {
    tag_map tags;
    for (int i = 0; i < f.GetFieldCount(); ++i) {
        if (!f.IsFieldSetAndNotNull(i))
            continue;
        std::string key = f.GetFieldDefnRef(i)->GetNameRef();
        const std::string value = f.GetFieldAsString(i);
        if (key == "other_tags") {
            for (auto& [k, v] : parse_hstore(value))
                tags.emplace(k, v);
            continue;
        }
        if (key == "z_order" || value.empty())
            continue;
        if (key == "Name" || key == "Description" || key == "Type")
            key = lower(key);
        tags[key] = value;
    }
    auto type = tags.find("type");
    if (type != tags.end() && !tags.count("railway") &&
        (lower(type->second) == "station" || lower(type->second) == "halt"))
        tags["railway"] = lower(type->second);
    return tags;
}

struct reader {
    const fs::path& file;
    std::string fault;  // the first coordinate fault met

    // The points of a line string in longitude/latitude.
    std::vector<lon_lat> points_of(const OGRLineString& line, OGRCoordinateTransformation* to_wgs84) {
        std::vector<lon_lat> out;
        out.reserve(std::size_t(line.getNumPoints()));
        const bool has_z = line.Is3D();
        for (int i = 0; i < line.getNumPoints(); ++i) {
            lon_lat p{line.getX(i), line.getY(i), has_z ? line.getZ(i) : std::nan("")};
            if (!std::isfinite(p.lon) || !std::isfinite(p.lat) || (has_z && !std::isfinite(p.z))) {
                note_fault("a coordinate that is not a number (NaN or infinite)");
                return {};
            }
            if (to_wgs84 != nullptr && !to_wgs84->Transform(1, &p.lon, &p.lat)) {
                note_fault("a point that its coordinate system cannot place on the Earth");
                return {};
            }
            if (std::abs(p.lon) > 180 || std::abs(p.lat) > 90) {
                std::ostringstream m;
                m.precision(10);
                m << "a point off the Earth (longitude " << p.lon << ", latitude " << p.lat << ")";
                note_fault(m.str());
                return {};
            }
            out.push_back(p);
        }
        return out;
    }

    void note_fault(const std::string& what) {
        if (fault.empty())
            fault = what;
    }
};

// The transformation from the layer's coordinate system to longitude and
// latitude on WGS84; none when it is that already. Fails for a layer without
// a coordinate system.
result<std::unique_ptr<OGRCoordinateTransformation>> to_wgs84(OGRLayer& layer, const fs::path& file) {
    const OGRSpatialReference* from = layer.GetSpatialRef();
    if (from == nullptr)
        return failure{file.string() + ": its coordinate system is unknown (layer '" + layer.GetName() +
                       "' names none); give the file a .prj or convert it to longitude/latitude (EPSG:4326)"};
    OGRSpatialReference source(*from);
    source.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    OGRSpatialReference wgs84;
    wgs84.SetWellKnownGeogCS("WGS84");
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    if (source.IsSame(&wgs84))
        return std::unique_ptr<OGRCoordinateTransformation>();
    std::unique_ptr<OGRCoordinateTransformation> t(OGRCreateCoordinateTransformation(&source, &wgs84));
    if (!t)
        return failure{file.string() + ": its coordinate system cannot be turned into longitude/latitude (" +
                       take_gdal_message() + ")"};
    return t;
}

int64_t id_of(const tag_map& tags) {
    auto it = tags.find("osm_id");
    if (it == tags.end())
        return 0;
    try {
        return std::stoll(it->second);
    } catch (const std::exception&) {
        return 0;
    }
}

bool is_railway_way(const tag_map& tags) {
    static const std::set<std::string> kinds = {"rail", "light_rail", "narrow_gauge", "subway",
                                                "tram", "funicular",  "monorail",     "preserved"};
    auto r = tags.find("railway");
    // Sidings, yards and spurs are not the running line.
    return r != tags.end() && kinds.count(r->second) && !tags.count("service");
}

// The lines of an OSM geometry, in the way's or the relation's order.
void add_lines(const OGRGeometry& g, const tag_map& tags, int64_t id, reader& r,
               OGRCoordinateTransformation* t, std::vector<geo_piece>& into) {
    const auto type = wkbFlatten(g.getGeometryType());
    if (type == wkbLineString) {
        geo_piece p{r.points_of(*g.toLineString(), t), tags, id};
        into.push_back(std::move(p));
    } else if (type == wkbMultiLineString) {
        for (const OGRLineString* part : *g.toMultiLineString())
            into.push_back(geo_piece{r.points_of(*part, t), tags, id});
    }
}

bool same_point(const lon_lat& a, const lon_lat& b) {
    return std::abs(a.lon - b.lon) < 1e-9 && std::abs(a.lat - b.lat) < 1e-9;
}

// The relation's parts carry no way ids: each gets the tags of the way with
// the same ends and number of points.
void tag_relation_parts(std::vector<geo_piece>& parts, const std::vector<geo_piece>& ways) {
    for (geo_piece& part : parts) {
        if (part.points.empty())
            continue;
        for (const geo_piece& w : ways) {
            if (w.points.size() != part.points.size())
                continue;
            const bool forward = same_point(w.points.front(), part.points.front()) &&
                                 same_point(w.points.back(), part.points.back());
            const bool backward = same_point(w.points.front(), part.points.back()) &&
                                  same_point(w.points.back(), part.points.front());
            if (forward || backward) {
                part.tags = w.tags;
                part.id = w.id;
                break;
            }
        }
    }
}

std::string id_list(const std::vector<int64_t>& ids, std::size_t most = 10) {
    std::string out;
    for (std::size_t i = 0; i < ids.size() && i < most; ++i)
        out += (i ? ", " : "") + std::to_string(ids[i]);
    if (ids.size() > most)
        out += ", ...";
    return out.empty() ? "none" : out;
}

result<geo_source> read_osm(GDALDataset& ds, const fs::path& file, const read_options& o) {
    geo_source src;
    src.driver = "OSM";
    reader r{file, {}};
    std::vector<geo_piece> ways;      // every way with tags
    std::vector<geo_piece> relation;  // the chosen relation's parts
    std::vector<int64_t> relations_seen;
    OGRLayer* layer = nullptr;
    // The OSM driver reads its layers interleaved: one pass over the dataset.
    for (;;) {
        OGRFeatureUniquePtr f(ds.GetNextFeature(&layer, nullptr, nullptr, nullptr));
        if (!f)
            break;
        const OGRGeometry* g = f->GetGeometryRef();
        if (g == nullptr || layer == nullptr)
            continue;
        const std::string name = layer->GetName();
        tag_map tags = tags_of(*f);
        const int64_t id = id_of(tags);
        if (name == "points") {
            if (wkbFlatten(g->getGeometryType()) == wkbPoint) {
                const OGRPoint* p = g->toPoint();
                const double x = p->getX(), y = p->getY();
                if (!std::isfinite(x) || !std::isfinite(y) || std::abs(x) > 180 || std::abs(y) > 90)
                    continue;
                src.points.push_back(geo_point{lon_lat{x, y, std::nan("")}, std::move(tags)});
            }
        } else if (name == "lines") {
            add_lines(*g, tags, id, r, nullptr, ways);
        } else if (name == "multilinestrings") {
            relations_seen.push_back(id);
            if (o.relation != 0 && id == o.relation)
                add_lines(*g, {}, id, r, nullptr, relation);
        }
    }
    if (!r.fault.empty())
        return failure{file.string() + ": " + r.fault};
    if (o.relation != 0) {
        if (relation.empty())
            return failure{file.string() + ": relation " + std::to_string(o.relation) +
                           " is not in the file (route relations found: " + id_list(relations_seen) + ")"};
        tag_relation_parts(relation, ways);
        src.pieces = std::move(relation);
        src.tagged_lines = std::move(ways);
        return src;
    }
    if (!o.ways.empty()) {
        for (int64_t want : o.ways) {
            auto it =
                std::find_if(ways.begin(), ways.end(), [&](const geo_piece& w) { return w.id == want; });
            if (it == ways.end())
                return failure{file.string() + ": way " + std::to_string(want) + " is not in the file"};
            src.pieces.push_back(*it);
        }
        return src;
    }
    for (geo_piece& w : ways)
        if (is_railway_way(w.tags))
            src.pieces.push_back(std::move(w));
    if (src.pieces.empty())
        return failure{file.string() +
                       ": no railway way in the file (railway=rail and the like, not a siding); "
                       "name the line with --relation or --ways"};
    return src;
}

result<geo_source> read_layers(GDALDataset& ds, const fs::path& file) {
    geo_source src;
    src.driver = ds.GetDriver() != nullptr ? ds.GetDriver()->GetDescription() : "";
    reader r{file, {}};
    for (OGRLayer* layer : ds.GetLayers()) {
        const std::string layer_name = layer->GetName();
        // GPX lists every vertex again as a point layer: the lines are enough.
        if (src.driver == "GPX" && (layer_name == "route_points" || layer_name == "track_points"))
            continue;
        auto t = to_wgs84(*layer, file);
        if (!t && layer->GetFeatureCount() != 0)
            return failure{t.error()};
        layer->ResetReading();
        for (auto& f : *layer) {
            const OGRGeometry* g = f->GetGeometryRef();
            if (g == nullptr)
                continue;
            tag_map tags = tags_of(*f);
            const auto type = wkbFlatten(g->getGeometryType());
            if (type == wkbLineString || type == wkbMultiLineString) {
                add_lines(*g, tags, 0, r, t->get(), src.pieces);
            } else if (type == wkbPoint) {
                OGRLineString one;
                one.addPoint(g->toPoint());
                auto p = r.points_of(one, t->get());
                if (!p.empty())
                    src.points.push_back(geo_point{p.front(), std::move(tags)});
            } else if (type == wkbGeometryCollection) {
                for (const OGRGeometry* part : *g->toGeometryCollection())
                    add_lines(*part, tags, 0, r, t->get(), src.pieces);
            }
        }
    }
    if (!r.fault.empty())
        return failure{file.string() + ": " + r.fault};
    // A file `export` wrote: the route is the line of kind "route", the
    // others (tunnels, slowdowns) lie on it.
    if (std::any_of(src.pieces.begin(), src.pieces.end(), [](const geo_piece& p) {
            return p.tags.count("kind") && p.tags.at("kind") == "route";
        })) {
        std::vector<geo_piece> route;
        for (geo_piece& p : src.pieces)
            (p.tags.count("kind") && p.tags.at("kind") == "route" ? route : src.tagged_lines)
                .push_back(std::move(p));
        src.pieces = std::move(route);
    }
    return src;
}

}  // namespace

result<geo_source> read_geometry(const fs::path& file, const read_options& options) {
    start_gdal();
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (ec || !fs::is_regular_file(file, ec))
        return failure{file.string() + ": cannot be read (" + (ec ? ec.message() : "not a file") + ")"};
    if (size == 0)
        return failure{file.string() + ": the file is empty"};
    std::string ext = lower(file.extension().string());
    if ((ext == ".kml" || ext == ".kmz") && size > options.kml_limit_bytes)
        return failure{file.string() + ": a KML file over " + std::to_string(options.kml_limit_bytes >> 20) +
                       " MB is refused (GDAL reads KML whole, at several times its size); convert it first, "
                       "e.g. 'ogr2ogr -f GeoJSON line.geojson " +
                       file.filename().string() + "'"};
    take_gdal_message();
    GDALDatasetUniquePtr ds(GDALDataset::Open(file.string().c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY,
                                              nullptr, nullptr, nullptr));
    if (!ds) {
        const std::string why = take_gdal_message();
        return failure{file.string() + ": not a geometry file GDAL reads" +
                       (why.empty() ? "" : " (" + why + ")")};
    }
    const std::string driver = ds->GetDriver() != nullptr ? ds->GetDriver()->GetDescription() : "";
    auto src = driver == "OSM" ? read_osm(*ds, file, options) : read_layers(*ds, file);
    if (!src)
        return src;
    if (driver != "OSM" && (options.relation != 0 || !options.ways.empty()))
        return failure{file.string() + ": --relation and --ways are for OpenStreetMap files, and this is " +
                       driver};
    std::size_t points = 0;
    for (const geo_piece& p : src->pieces)
        points += p.points.size();
    if (src->pieces.empty())
        return failure{file.string() + ": holds no line (a LineString, a track, a route, a way)"};
    if (points < 2)
        return failure{file.string() + ": the line has fewer than two points"};
    return src;
}

}  // namespace scenario::geodata
