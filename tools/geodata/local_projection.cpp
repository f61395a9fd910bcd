// The local transverse Mercator projection, both ways, with longitude first.
#include "tools/geodata/local_projection.h"

#include "tools/geodata/gdal_session.h"

#include <algorithm>
#include <cstdio>
#include <ogr_spatialref.h>

namespace scenario::geodata {

local_projection::local_projection(local_projection&&) noexcept = default;
local_projection& local_projection::operator=(local_projection&&) noexcept = default;
local_projection::~local_projection() = default;

result<local_projection> local_projection::centred_on(double lon, double lat) {
    start_gdal();
    char text[160];
    std::snprintf(text, sizeof text,
                  "+proj=tmerc +lat_0=%.9f +lon_0=%.9f +k=1 +x_0=0 +y_0=0 +ellps=WGS84 +units=m +no_defs",
                  lat, lon);
    auto p = from_definition(text);
    if (p) {
        p->lon_ = lon;
        p->lat_ = lat;
    }
    return p;
}

result<local_projection> local_projection::from_definition(const std::string& text) {
    start_gdal();
    OGRSpatialReference plane, earth;
    earth.SetWellKnownGeogCS("WGS84");
    earth.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    if (plane.importFromProj4(text.c_str()) != OGRERR_NONE || !plane.IsProjected())
        return failure{"PROJ does not take the projection " + text};
    plane.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    local_projection p;
    p.to_plane_.reset(OGRCreateCoordinateTransformation(&earth, &plane));
    p.to_earth_.reset(OGRCreateCoordinateTransformation(&plane, &earth));
    if (!p.to_plane_ || !p.to_earth_)
        return failure{"PROJ cannot make the local projection (" + take_gdal_message() + ")"};
    p.definition_ = text;
    return p;
}

result<std::vector<xy>> local_projection::forward(const std::vector<lon_lat>& points) const {
    std::vector<double> x(points.size()), y(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        x[i] = points[i].lon;
        y[i] = points[i].lat;
    }
    std::vector<int> ok(points.size(), 0);
    if (!points.empty() && !to_plane_->Transform(int(points.size()), x.data(), y.data(), nullptr, ok.data()))
        return failure{"a point cannot be projected onto the local plane"};
    std::vector<xy> out(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        out[i] = xy{x[i], y[i]};
    return out;
}

result<std::vector<lon_lat>> local_projection::inverse(const std::vector<xy>& points) const {
    std::vector<double> x(points.size()), y(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        x[i] = points[i].x;
        y[i] = points[i].y;
    }
    std::vector<int> ok(points.size(), 0);
    if (!points.empty() && !to_earth_->Transform(int(points.size()), x.data(), y.data(), nullptr, ok.data()))
        return failure{"a point of the local plane cannot be put back on the Earth"};
    std::vector<lon_lat> out(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        out[i] = lon_lat{x[i], y[i]};
    return out;
}

lon_lat centre_of(const std::vector<geo_piece>& pieces) {
    double w = 180, e = -180, s = 90, n = -90;
    for (const geo_piece& p : pieces)
        for (const lon_lat& q : p.points) {
            w = std::min(w, q.lon);
            e = std::max(e, q.lon);
            s = std::min(s, q.lat);
            n = std::max(n, q.lat);
        }
    return lon_lat{(w + e) / 2, (s + n) / 2};
}

}  // namespace scenario::geodata
