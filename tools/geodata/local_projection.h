// A transverse Mercator projection centred on the line, through PROJ: near
// its centre a metre on the plane is a metre on the ground.
#pragma once

#include "common/result.h"
#include "tools/geodata/geo_source.h"

#include <memory>
#include <string>
#include <vector>

class OGRCoordinateTransformation;

namespace scenario::geodata {

struct xy {
    double x = 0, y = 0;  // metres, x east, y north
};

class local_projection {
public:
    // Centred on (lon, lat), scale 1 on the central meridian.
    static result<local_projection> centred_on(double lon, double lat);
    // From the PROJ string `definition()` gave.
    static result<local_projection> from_definition(const std::string& proj);

    // Longitude/latitude to metres, in place of `out` (same count).
    result<std::vector<xy>> forward(const std::vector<lon_lat>& points) const;
    // Metres back to longitude/latitude.
    result<std::vector<lon_lat>> inverse(const std::vector<xy>& points) const;

    const std::string& definition() const { return definition_; }  // the PROJ string
    double centre_lon() const { return lon_; }
    double centre_lat() const { return lat_; }

    local_projection(local_projection&&) noexcept;
    local_projection& operator=(local_projection&&) noexcept;
    ~local_projection();

private:
    local_projection() = default;
    std::unique_ptr<OGRCoordinateTransformation> to_plane_, to_earth_;
    std::string definition_;
    double lon_ = 0, lat_ = 0;
};

// The centre of the pieces' bounding box in longitude and latitude.
lon_lat centre_of(const std::vector<geo_piece>& pieces);

}  // namespace scenario::geodata
