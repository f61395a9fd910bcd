// Sampling elevation tiles: each tile reads only the window its points fall
// in, so a large tile costs the memory of the line's strip.
#include "tools/geodata/dem_heights.h"

#include "tools/geodata/gdal_session.h"
#include "tools/words/km_words.h"

#include <algorithm>
#include <cmath>
#include <gdal_priv.h>
#include <memory>
#include <ogr_spatialref.h>

namespace scenario::geodata {

namespace fs = std::filesystem;

namespace {

// Fills heights[i] for the points the tile covers and that are still NaN.
result<void> sample_tile(const fs::path& file, const std::vector<lon_lat>& points,
                         std::vector<double>& heights) {
    take_gdal_message();
    GDALDatasetUniquePtr ds(GDALDataset::Open(file.string().c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY,
                                              nullptr, nullptr, nullptr));
    if (!ds) {
        const std::string why = take_gdal_message();
        return failure{file.string() + ": not an elevation raster GDAL reads" +
                       (why.empty() ? "" : " (" + why + ")")};
    }
    if (ds->GetRasterCount() < 1)
        return failure{file.string() + ": the raster has no band"};
    double gt[6];
    if (ds->GetGeoTransform(gt) != CE_None || gt[2] != 0 || gt[4] != 0 || gt[1] == 0 || gt[5] == 0)
        return failure{file.string() + ": the raster is not placed on the Earth (no north-up geotransform)"};
    std::unique_ptr<OGRCoordinateTransformation> t;
    if (const OGRSpatialReference* srs = ds->GetSpatialRef()) {
        OGRSpatialReference to(*srs), wgs84;
        to.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        wgs84.SetWellKnownGeogCS("WGS84");
        wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        if (!to.IsSame(&wgs84)) {
            t.reset(OGRCreateCoordinateTransformation(&wgs84, &to));
            if (!t)
                return failure{file.string() +
                               ": its coordinate system cannot be reached from longitude/latitude"};
        }
    }
    // An ASCII grid without a .prj is taken to be in longitude/latitude.
    const int w = ds->GetRasterXSize(), h = ds->GetRasterYSize();
    std::vector<double> col(points.size(), -1), row(points.size(), -1);
    double c0 = w, c1 = -1, r0 = h, r1 = -1;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!std::isnan(heights[i]))
            continue;
        double x = points[i].lon, y = points[i].lat;
        if (t && !t->Transform(1, &x, &y))
            continue;
        // Cell centres sit at half cells: the interpolation runs between them.
        const double c = (x - gt[0]) / gt[1] - 0.5, r = (y - gt[3]) / gt[5] - 0.5;
        if (c < -0.5 || r < -0.5 || c > w - 0.5 || r > h - 0.5)
            continue;
        col[i] = std::clamp(c, 0.0, double(w - 1));
        row[i] = std::clamp(r, 0.0, double(h - 1));
        c0 = std::min(c0, std::floor(col[i]));
        c1 = std::max(c1, std::floor(col[i]) + 1);
        r0 = std::min(r0, std::floor(row[i]));
        r1 = std::max(r1, std::floor(row[i]) + 1);
    }
    if (c1 < 0)
        return {};
    c1 = std::min(c1, double(w - 1));
    r1 = std::min(r1, double(h - 1));
    const int wx = int(c0), wy = int(r0), ww = int(c1) - wx + 1, wh = int(r1) - wy + 1;
    std::vector<float> cells(std::size_t(ww) * std::size_t(wh));
    GDALRasterBand* band = ds->GetRasterBand(1);
    if (band->RasterIO(GF_Read, wx, wy, ww, wh, cells.data(), ww, wh, GDT_Float32, 0, 0) != CE_None)
        return failure{file.string() + ": cannot be read (" + take_gdal_message() + ")"};
    int has_nodata = 0;
    const double nodata = band->GetNoDataValue(&has_nodata);
    auto cell = [&](int c, int r) {
        c = std::clamp(c - wx, 0, ww - 1);
        r = std::clamp(r - wy, 0, wh - 1);
        const double v = cells[std::size_t(r) * std::size_t(ww) + std::size_t(c)];
        return (has_nodata && v == nodata) || !std::isfinite(v) ? std::nan("") : v;
    };
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (col[i] < 0)
            continue;
        const int c = int(std::floor(col[i])), r = int(std::floor(row[i]));
        const double fc = col[i] - c, fr = row[i] - r;
        const double top = cell(c, r) * (1 - fc) + cell(c + 1, r) * fc;
        const double bottom = cell(c, r + 1) * (1 - fc) + cell(c + 1, r + 1) * fc;
        heights[i] = top * (1 - fr) + bottom * fr;  // NaN when a cell has no data
    }
    return {};
}

}  // namespace

result<std::vector<double>> dem_heights(const std::vector<lon_lat>& points, const std::vector<double>& along,
                                        const std::vector<fs::path>& tiles) {
    start_gdal();
    std::vector<double> heights(points.size(), std::nan(""));
    for (const fs::path& tile : tiles) {
        auto done = sample_tile(tile, points, heights);
        if (!done)
            return failure{done.error()};
    }
    std::string uncovered;
    int stretches = 0;
    for (std::size_t i = 0; i < points.size();) {
        if (!std::isnan(heights[i])) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j + 1 < points.size() && std::isnan(heights[j + 1]))
            ++j;
        if (++stretches <= 5)
            uncovered += (uncovered.empty() ? "" : ", ") + tool::km_words(int64_t(std::nearbyint(along[i]))) +
                         " to " + tool::km_words(int64_t(std::nearbyint(along[j])), tool::km_style::figure);
        i = j + 1;
    }
    if (stretches > 0)
        return failure{"the elevation rasters do not cover the line " + uncovered +
                       (stretches > 5 ? ", ..." : "") +
                       " (no tile there, or cells without data); add the tiles that cover it"};
    return heights;
}

}  // namespace scenario::geodata
