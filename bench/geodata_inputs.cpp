// Inputs for the import's benchmark and the README's example, made here:
// a winding line as GeoJSON (a point every 10 m) and as an OSM PBF or XML
// extract (ways with tags, stations, a tunnel), elevation tiles as GeoTIFF;
// and, for the figures beside the import's, GDAL reading the same files alone.
//
//   geodata_inputs bench DIR      40 and 200 km lines, GeoJSON and PBF, four DEM tiles each
//   geodata_inputs example DIR    a 14 km OSM XML extract with tags and one DEM tile
//   geodata_inputs read FILE...   every feature of the vector files, every cell of the rasters
#include "tools/geodata/local_projection.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>
#include <osmium/builder/attr.hpp>
#include <osmium/io/pbf_output.hpp>
#include <osmium/io/writer.hpp>
#include <osmium/memory/buffer.hpp>
#include <string>
#include <vector>

namespace {

using scenario::geodata::lon_lat;
using scenario::geodata::xy;

const double centre_lon = 10.9, centre_lat = 44.1;

// A winding line: straights of 0.6 to 3 km and arcs of 400 to 3000 m turning
// 10 to 50 degrees, each side in turn; a point every `step` metres.
std::vector<xy> winding(double length, double step) {
    std::vector<xy> out{{0, 0}};
    uint32_t seed = 12345;
    auto rnd = [&] {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) / double(1 << 24);
    };
    double h = 0.3, x = 0, y = 0, done = 0;
    bool left = false;
    while (done < length) {
        const double straight = 600 + 2400 * rnd();
        const double radius = 400 + 2600 * rnd(), angle = (10 + 40 * rnd()) * M_PI / 180;
        const double arc = radius * angle;
        for (double s = 0; s < straight && done < length; s += step, done += step) {
            x += step * std::sin(h);
            y += step * std::cos(h);
            out.push_back({x, y});
        }
        for (double s = 0; s < arc && done < length; s += step, done += step) {
            h += (left ? -step : step) / radius;
            x += step * std::sin(h);
            y += step * std::cos(h);
            out.push_back({x, y});
        }
        left = !left;
        // Keep the line heading roughly north-east so that it spreads out.
        if (h > 1.2)
            left = true;
        if (h < -0.4)
            left = false;
    }
    return out;
}

double ground(double lon, double lat) {
    // Hills of a railway's country: gradients up to about 15 per mille.
    return 400 + 40 * std::sin(lon * 25) * std::cos(lat * 20) + 8 * std::sin(lat * 60 + lon * 15);
}

std::vector<lon_lat> on_earth(const std::vector<xy>& plane) {
    auto p = scenario::geodata::local_projection::centred_on(centre_lon, centre_lat);
    return p->inverse(plane).value();
}

void write_geojson(const std::string& path, const std::vector<lon_lat>& line) {
    std::ofstream o(path);
    o << R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{"name":"bench"},)"
      << R"("geometry":{"type":"LineString","coordinates":[)";
    char text[64];
    for (std::size_t i = 0; i < line.size(); ++i) {
        std::snprintf(text, sizeof text, "%s[%.8f,%.8f]", i ? "," : "", line[i].lon, line[i].lat);
        o << text;
    }
    o << "]}}]}\n";
}

// Ways of 100 points (about 1 km), tagged as a railway; stations every 8 km.
void write_pbf(const std::string& path, const std::vector<lon_lat>& line) {
    using namespace osmium::builder::attr;
    osmium::io::Header header;
    header.set("generator", "geodata_inputs");
    osmium::io::Writer writer{osmium::io::File{path, "pbf"}, header, osmium::io::overwrite::allow};
    osmium::memory::Buffer buffer{1u << 20, osmium::memory::Buffer::auto_grow::yes};
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (i % 800 == 400)
            osmium::builder::add_node(buffer, _id(int64_t(i + 1)), _version(1),
                                      _location(line[i].lon, line[i].lat), _tag("railway", "station"),
                                      _tag("name", "Station " + std::to_string(i / 800 + 1)));
        else
            osmium::builder::add_node(buffer, _id(int64_t(i + 1)), _version(1),
                                      _location(line[i].lon, line[i].lat));
    }
    for (std::size_t from = 0, way = 1; from + 1 < line.size(); from += 100, ++way) {
        std::vector<osmium::object_id_type> ids;
        for (std::size_t i = from; i <= std::min(from + 100, line.size() - 1); ++i)
            ids.push_back(osmium::object_id_type(i + 1));
        osmium::builder::add_way(buffer, _id(int64_t(way)), _version(1), _nodes(ids), _tag("railway", "rail"),
                                 _tag("maxspeed", "120"));
    }
    writer(std::move(buffer));
    writer.close();
}

// Tiles of `cells` a side over the line's box cut in `split` x `split`.
void write_tiles(const std::string& stem, const std::vector<lon_lat>& line, int split, int cells) {
    double w = 180, e = -180, s = 90, n = -90;
    for (const lon_lat& p : line) {
        w = std::min(w, p.lon);
        e = std::max(e, p.lon);
        s = std::min(s, p.lat);
        n = std::max(n, p.lat);
    }
    w -= 0.01, e += 0.01, s -= 0.01, n += 0.01;
    GDALDriver* gtiff = GetGDALDriverManager()->GetDriverByName("GTiff");
    for (int i = 0; i < split; ++i)
        for (int j = 0; j < split; ++j) {
            const double tw = w + (e - w) * i / split, te = w + (e - w) * (i + 1) / split + 0.001;
            const double ts = s + (n - s) * j / split, tn = s + (n - s) * (j + 1) / split + 0.001;
            const std::string path = stem + "_" + std::to_string(i) + std::to_string(j) + ".tif";
            GDALDataset* ds = gtiff->Create(path.c_str(), cells, cells, 1, GDT_Float32, nullptr);
            if (!ds) {
                std::fprintf(stderr, "geodata_inputs: cannot write %s\n", path.c_str());
                std::exit(2);
            }
            double gt[6] = {tw, (te - tw) / cells, 0, tn, 0, -(tn - ts) / cells};
            ds->SetGeoTransform(gt);
            OGRSpatialReference wgs84;
            wgs84.SetWellKnownGeogCS("WGS84");
            ds->SetSpatialRef(&wgs84);
            std::vector<float> v(std::size_t(cells) * std::size_t(cells));
            for (int r = 0; r < cells; ++r)
                for (int c = 0; c < cells; ++c)
                    v[std::size_t(r) * std::size_t(cells) + std::size_t(c)] =
                        float(ground(tw + (c + 0.5) * gt[1], tn + (r + 0.5) * gt[5]));
            if (ds->GetRasterBand(1)->RasterIO(GF_Write, 0, 0, cells, cells, v.data(), cells, cells,
                                               GDT_Float32, 0, 0) != CE_None)
                std::fprintf(stderr, "%s: not written\n", path.c_str());
            GDALClose(ds);
            std::printf("%s\n", path.c_str());
        }
}

// The README's example: 14 km of line in four ways (one a named tunnel),
// three stations, a signal, two speed limits and a km post, as OSM XML.
void write_example(const std::string& dir) {
    std::vector<xy> plane = winding(14000, 10);
    const std::vector<lon_lat> line = on_earth(plane);
    std::ofstream o(dir + "/valle.osm");
    o << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<osm version=\"0.6\" generator=\"geodata_inputs\">\n";
    char text[160];
    auto node = [&](std::size_t id, const lon_lat& p, const std::string& tags) {
        std::snprintf(text, sizeof text, "<node id=\"%zu\" version=\"1\" lat=\"%.8f\" lon=\"%.8f\">", id,
                      p.lat, p.lon);
        o << text << tags << "</node>\n";
    };
    auto tag = [](const char* k, const std::string& v) {
        return std::string("<tag k=\"") + k + "\" v=\"" + v + "\"/>";
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
        std::string tags;
        if (i == 30)
            tags = tag("railway", "station") + tag("name", "Valle Alta");
        else if (i == 620)
            tags = tag("railway", "halt") + tag("name", "Molino");
        else if (i == 1360)
            tags = tag("railway", "station") + tag("name", "Porto Basso");
        else if (i == 500 || i == 1100)
            tags = tag("railway", "signal");
        else if (i == 100)
            tags = tag("railway", "milestone") + tag("railway:position", "31.0");
        node(i + 1, line[i], tags);
    }
    const std::size_t last = line.size() - 1;
    struct way {
        int id;
        std::size_t from, to;
        std::string tags;
    };
    const std::vector<way> ways = {
        {1, 0, 380, tag("maxspeed", "100")},
        {2, 380, 460, tag("maxspeed", "100") + tag("tunnel", "yes") + tag("name", "Galleria Cima")},
        {3, 460, 900, tag("maxspeed", "100")},
        {4, 900, last, tag("maxspeed", "80")}};
    for (const way& w : ways) {
        o << "<way id=\"" << w.id << "\" version=\"1\">";
        for (std::size_t i = w.from; i <= w.to; ++i)
            o << "<nd ref=\"" << i + 1 << "\"/>";
        o << tag("railway", "rail") << w.tags << "</way>\n";
    }
    o << "<relation id=\"77\" version=\"1\">";
    for (int id : {3, 1, 4, 2})
        o << "<member type=\"way\" ref=\"" << id << "\" role=\"\"/>";
    o << tag("type", "route") << tag("route", "railway") << tag("name", "Valle Alta - Porto Basso")
      << "</relation>\n</osm>\n";
    write_tiles(dir + "/valle_dem", line, 1, 600);
    std::printf("%s/valle.osm\n", dir.c_str());
}

// Every feature of a vector file, every cell of a raster: GDAL alone.
int read_all(const std::vector<std::string>& files) {
    std::size_t features = 0, cells = 0;
    for (const std::string& f : files) {
        GDALDatasetUniquePtr ds(GDALDataset::Open(
            f.c_str(), GDAL_OF_VECTOR | GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
        if (!ds) {
            std::fprintf(stderr, "%s: not read\n", f.c_str());
            return 1;
        }
        if (ds->GetRasterCount() > 0) {
            const int w = ds->GetRasterXSize(), h = ds->GetRasterYSize();
            std::vector<float> v(static_cast<std::size_t>(w));
            for (int r = 0; r < h; ++r)
                if (ds->GetRasterBand(1)->RasterIO(GF_Read, 0, r, w, 1, v.data(), w, 1, GDT_Float32, 0, 0) ==
                    CE_None)
                    cells += std::size_t(w);
            continue;
        }
        OGRLayer* layer = nullptr;
        for (;;) {
            OGRFeatureUniquePtr feature(ds->GetNextFeature(&layer, nullptr, nullptr, nullptr));
            if (!feature)
                break;
            ++features;
        }
    }
    std::printf("%zu features, %zu cells\n", features, cells);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    GDALAllRegister();
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "read")
        return read_all(std::vector<std::string>(argv + 2, argv + argc));
    if (argc != 3 || (mode != "bench" && mode != "example")) {
        std::fprintf(stderr, "usage: geodata_inputs bench DIR | example DIR | read FILE...\n");
        return 2;
    }
    const std::string dir = argv[2];
    // The folder is made when it is not there: GDAL's drivers do not make it.
    std::error_code made;
    std::filesystem::create_directories(dir, made);
    if (made) {
        std::fprintf(stderr, "geodata_inputs: cannot make %s: %s\n", dir.c_str(), made.message().c_str());
        return 2;
    }
    if (mode == "example") {
        write_example(dir);
        return 0;
    }
    for (int km : {40, 200}) {
        const std::vector<lon_lat> line = on_earth(winding(km * 1000.0, 10));
        const std::string stem = dir + "/line_" + std::to_string(km) + "km";
        write_geojson(stem + ".geojson", line);
        write_pbf(stem + ".osm.pbf", line);
        write_tiles(stem + "_dem", line, 2, 1200);
        std::printf("%s.geojson %s.osm.pbf (%zu points)\n", stem.c_str(), stem.c_str(), line.size());
    }
    return 0;
}
