// Lines made by the tests and written in the formats `import` reads: a known
// route in metres (straights and arcs), laid on the Earth near a chosen point,
// and written as GeoJSON, GPX, KML or OpenStreetMap XML, with elevation
// rasters (GeoTIFF, ASCII grid) made with GDAL.
#pragma once

#include "tools/geodata/local_projection.h"

#include <cmath>
#include <cpl_conv.h>
#include <cstdio>
#include <fstream>
#include <functional>
#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <string>
#include <vector>

namespace scenario::test_support {

using geodata::lon_lat;
using geodata::xy;

// One part of a route: a straight (radius 0) or an arc (radius > 0, turning
// right; left when `left`).
struct route_part {
    double length = 0;
    double radius = 0;
    bool left = false;
};

// Points every `step` metres along the parts, starting at (0, 0) heading
// `heading_deg` clockwise from north.
inline std::vector<xy> trace(const std::vector<route_part>& parts, double step, double heading_deg = 0) {
    std::vector<xy> out{{0, 0}};
    double h = heading_deg * M_PI / 180, x = 0, y = 0;
    for (const route_part& p : parts) {
        const int n = int(std::ceil(p.length / step));
        const double ds = p.length / n;
        for (int i = 0; i < n; ++i) {
            if (p.radius > 0) {
                const double dh = (p.left ? -ds : ds) / p.radius;
                // Along the chord of the arc step.
                const double mid = h + dh / 2, chord = 2 * p.radius * std::sin(ds / (2 * p.radius));
                x += chord * std::sin(mid);
                y += chord * std::cos(mid);
                h += dh;
            } else {
                x += ds * std::sin(h);
                y += ds * std::cos(h);
            }
            out.push_back({x, y});
        }
    }
    return out;
}

// The points on the Earth, the plane centred on (lon, lat).
inline std::vector<lon_lat> to_earth(const std::vector<xy>& points, double lon = 11.0, double lat = 46.0) {
    auto p = geodata::local_projection::centred_on(lon, lat);
    return p->inverse(points).value();
}

inline std::string number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.9f", v);
    return text;
}

// A tagged point of a fixture: a station, a halt, a signal.
struct fixture_point {
    lon_lat at;
    std::vector<std::pair<std::string, std::string>> tags;
};

inline std::string geojson(const std::vector<lon_lat>& line, const std::vector<fixture_point>& points = {},
                           bool heights = false) {
    std::string s = R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{},)"
                    R"("geometry":{"type":"LineString","coordinates":[)";
    for (std::size_t i = 0; i < line.size(); ++i)
        s += (i ? "," : "") + std::string("[") + number(line[i].lon) + "," + number(line[i].lat) +
             (heights ? "," + number(line[i].z) : "") + "]";
    s += "]}}";
    for (const fixture_point& p : points) {
        s += R"(,{"type":"Feature","properties":{)";
        for (std::size_t i = 0; i < p.tags.size(); ++i)
            s += (i ? "," : "") + std::string("\"") + p.tags[i].first + "\":\"" + p.tags[i].second + "\"";
        s += R"(},"geometry":{"type":"Point","coordinates":[)" + number(p.at.lon) + "," + number(p.at.lat) +
             "]}}";
    }
    return s + "]}\n";
}

inline std::string tag_value(const fixture_point& p, const std::string& key) {
    for (const auto& [k, v] : p.tags)
        if (k == key)
            return v;
    return "";
}

// A GPX track; the points become waypoints with their name and type.
inline std::string gpx(const std::vector<lon_lat>& line, const std::vector<fixture_point>& points = {}) {
    std::string s =
        "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"test\" "
        "xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
    for (const fixture_point& p : points)
        s += "<wpt lat=\"" + number(p.at.lat) + "\" lon=\"" + number(p.at.lon) + "\"><name>" +
             tag_value(p, "name") + "</name><type>" + tag_value(p, "railway") + "</type></wpt>\n";
    s += "<trk><name>line</name><trkseg>\n";
    for (const lon_lat& q : line)
        s += "<trkpt lat=\"" + number(q.lat) + "\" lon=\"" + number(q.lon) + "\"/>\n";
    return s + "</trkseg></trk></gpx>\n";
}

// A KML placemark with the line; the points as placemarks whose extended
// data carry their tags.
inline std::string kml(const std::vector<lon_lat>& line, const std::vector<fixture_point>& points = {}) {
    std::string s =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">"
        "<Document><Placemark><name>line</name><LineString><coordinates>\n";
    for (const lon_lat& q : line)
        s += number(q.lon) + "," + number(q.lat) + " ";
    s += "\n</coordinates></LineString></Placemark>\n";
    for (const fixture_point& p : points) {
        s += "<Placemark><name>" + tag_value(p, "name") + "</name><ExtendedData>";
        for (const auto& [k, v] : p.tags)
            if (k != "name")
                s += "<Data name=\"" + k + "\"><value>" + v + "</value></Data>";
        s += "</ExtendedData><Point><coordinates>" + number(p.at.lon) + "," + number(p.at.lat) +
             "</coordinates></Point></Placemark>\n";
    }
    return s + "</Document></kml>\n";
}

// An OpenStreetMap way: a run of the line's points with tags.
struct fixture_way {
    long long id = 0;
    std::size_t from = 0, to = 0;  // indices into the line, both included
    std::vector<std::pair<std::string, std::string>> tags;
};

// Nodes 1..n are the line's points; tagged points of the line (`on_line`
// index, else their own node) carry the tags. The relation (when `relation`)
// lists the ways in `member_order`.
struct osm_fixture {
    std::vector<lon_lat> line;
    std::vector<fixture_way> ways;
    std::vector<std::pair<std::size_t, fixture_point>> line_nodes;  // tags on a node of the line
    std::vector<fixture_point> free_nodes;
    long long relation = 0;
    std::vector<long long> member_order;
};

inline std::string osm_xml(const osm_fixture& f) {
    auto tags = [](const std::vector<std::pair<std::string, std::string>>& t) {
        std::string s;
        for (const auto& [k, v] : t)
            s += "<tag k=\"" + k + "\" v=\"" + v + "\"/>";
        return s;
    };
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<osm version=\"0.6\" generator=\"test\">\n";
    for (std::size_t i = 0; i < f.line.size(); ++i) {
        s += "<node id=\"" + std::to_string(i + 1) + "\" version=\"1\" lat=\"" + number(f.line[i].lat) +
             "\" lon=\"" + number(f.line[i].lon) + "\">";
        for (const auto& [at, p] : f.line_nodes)
            if (at == i)
                s += tags(p.tags);
        s += "</node>\n";
    }
    long long id = 100000;
    for (const fixture_point& p : f.free_nodes)
        s += "<node id=\"" + std::to_string(id++) + "\" version=\"1\" lat=\"" + number(p.at.lat) +
             "\" lon=\"" + number(p.at.lon) + "\">" + tags(p.tags) + "</node>\n";
    for (const fixture_way& w : f.ways) {
        s += "<way id=\"" + std::to_string(w.id) + "\" version=\"1\">";
        for (std::size_t i = w.from; i <= w.to; ++i)
            s += "<nd ref=\"" + std::to_string(i + 1) + "\"/>";
        s += tags(w.tags) + "</way>\n";
    }
    if (f.relation) {
        s += "<relation id=\"" + std::to_string(f.relation) + "\" version=\"1\">";
        for (long long m : f.member_order)
            s += "<member type=\"way\" ref=\"" + std::to_string(m) + "\" role=\"\"/>";
        s += "<tag k=\"type\" v=\"route\"/><tag k=\"route\" v=\"railway\"/></relation>\n";
    }
    return s + "</osm>\n";
}

// An elevation raster over [west, east] x [south, north] with `cells` cells
// a side, heights from `height(lon, lat)`: GeoTIFF through GDAL's Create, or
// an ASCII grid written as text.
inline void write_dem(const std::string& path, double west, double south, double east, double north,
                      int cells, const std::function<double(double, double)>& height,
                      bool ascii_grid = false) {
    const double dx = (east - west) / cells, dy = (north - south) / cells;
    std::vector<float> v(std::size_t(cells) * std::size_t(cells));
    for (int r = 0; r < cells; ++r)
        for (int c = 0; c < cells; ++c)
            v[std::size_t(r) * std::size_t(cells) + std::size_t(c)] =
                float(height(west + (c + 0.5) * dx, north - (r + 0.5) * dy));
    if (ascii_grid) {
        std::ofstream o(path);
        o << "ncols " << cells << "\nnrows " << cells << "\nxllcorner " << number(west) << "\nyllcorner "
          << number(south) << "\ncellsize " << number(dx) << "\nNODATA_value -9999\n";
        for (int r = 0; r < cells; ++r) {
            for (int c = 0; c < cells; ++c)
                o << v[std::size_t(r) * std::size_t(cells) + std::size_t(c)] << " ";
            o << "\n";
        }
        return;
    }
    GDALAllRegister();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    GDALDataset* ds = driver->Create(path.c_str(), cells, cells, 1, GDT_Float32, nullptr);
    double gt[6] = {west, dx, 0, north, 0, -dy};
    ds->SetGeoTransform(gt);
    OGRSpatialReference wgs84;
    wgs84.SetWellKnownGeogCS("WGS84");
    ds->SetSpatialRef(&wgs84);
    if (ds->GetRasterBand(1)->RasterIO(GF_Write, 0, 0, cells, cells, v.data(), cells, cells, GDT_Float32, 0,
                                       0) != CE_None)
        std::fprintf(stderr, "the test raster was not written\n");
    GDALClose(ds);
}

}  // namespace scenario::test_support
