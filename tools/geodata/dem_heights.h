// Heights of the line's points from elevation rasters (GeoTIFF, SRTM .hgt,
// ASCII grid: whatever GDAL reads), several tiles at once.
#pragma once

#include "common/result.h"
#include "tools/geodata/geo_source.h"

#include <filesystem>
#include <vector>

namespace scenario::geodata {

// The height of every point, interpolated between the four nearest cells of
// the first tile that covers it. A point that no tile covers (or that falls
// on a cell without data) makes an error naming the uncovered stretches by
// their km from the start (`along`: metres per point).
result<std::vector<double>> dem_heights(const std::vector<lon_lat>& points, const std::vector<double>& along,
                                        const std::vector<std::filesystem::path>& tiles);

}  // namespace scenario::geodata
