#include "calibration/geotiff_calibration.h"

#include <cpl_error.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string_view>
#include <type_traits>

#include "calibration/import_datum.h"
#include "calibration/nine_point_layout.h"

namespace kv {
namespace {

void RegisterDriversOnce() {
  static const bool registered = [] {
    GDALAllRegister();
    return true;
  }();
  (void)registered;
}

// GDAL reports failures on standard error unless told otherwise; ours come
// back as statuses.
class QuietErrors {
 public:
  QuietErrors() { CPLPushErrorHandler(CPLQuietErrorHandler); }
  ~QuietErrors() { CPLPopErrorHandler(); }
  QuietErrors(const QuietErrors&) = delete;
  QuietErrors& operator=(const QuietErrors&) = delete;
};

struct DatasetCloser {
  void operator()(GDALDatasetH dataset) const { GDALClose(dataset); }
};
using Dataset = std::unique_ptr<std::remove_pointer_t<GDALDatasetH>, DatasetCloser>;

struct SrsReleaser {
  void operator()(OGRSpatialReferenceH srs) const { OSRRelease(srs); }
};
using SpatialReference = std::unique_ptr<std::remove_pointer_t<OGRSpatialReferenceH>, SrsReleaser>;

struct TransformDestroyer {
  void operator()(OGRCoordinateTransformationH transform) const {
    OCTDestroyCoordinateTransformation(transform);
  }
};
using Transform =
    std::unique_ptr<std::remove_pointer_t<OGRCoordinateTransformationH>, TransformDestroyer>;

// Longitude first, latitude second, whatever the authority's axis order.
SpatialReference Wgs84LonLat() {
  SpatialReference wgs84(OSRNewSpatialReference(nullptr));
  if (!wgs84 || OSRSetWellKnownGeogCS(wgs84.get(), "WGS84") != OGRERR_NONE) return nullptr;
  OSRSetAxisMappingStrategy(wgs84.get(), OAMS_TRADITIONAL_GIS_ORDER);
  return wgs84;
}

Transform ToWgs84(OGRSpatialReferenceH source) {
  SpatialReference copy(OSRClone(source));
  SpatialReference wgs84 = Wgs84LonLat();
  if (!copy || !wgs84) return nullptr;
  OSRSetAxisMappingStrategy(copy.get(), OAMS_TRADITIONAL_GIS_ORDER);
  return Transform(OCTNewCoordinateTransformation(copy.get(), wgs84.get()));
}

// A geotransform names the outer corner of the top-left pixel; a world file
// (and our layout) the centre of that pixel.
WorldFileValues WorldValuesOf(const std::array<double, 6>& geo) {
  WorldFileValues values;
  values.a = geo[1];
  values.b = geo[2];
  values.d = geo[4];
  values.e = geo[5];
  values.c = geo[0] + geo[1] / 2.0 + geo[2] / 2.0;
  values.f = geo[3] + geo[4] / 2.0 + geo[5] / 2.0;
  return values;
}

bool IsUsableGeoTransform(const std::array<double, 6>& geo) {
  const bool finite =
      std::all_of(geo.begin(), geo.end(), [](double v) { return std::isfinite(v); });
  // GDAL's default (0, 1, 0, 0, 0, 1) stands for "none".
  const bool default_transform =
      geo[0] == 0 && geo[1] == 1 && geo[2] == 0 && geo[3] == 0 && geo[4] == 0 && geo[5] == 1;
  return finite && !default_transform && geo[1] * geo[5] - geo[2] * geo[4] != 0.0;
}

std::string Underscores(std::string_view name) {
  std::string text(name);
  std::replace(text.begin(), text.end(), '_', ' ');
  return text;
}

}  // namespace

int ReadGeoTiffCalibration(const std::string& path, CalibrationImport* import, std::int32_t* width,
                           std::int32_t* height) {
  *import = CalibrationImport{};
  RegisterDriversOnce();
  QuietErrors quiet;
  const char* const drivers[] = {"GTiff", nullptr};
  const char* const options[] = {"GEOREF_SOURCES=INTERNAL", nullptr};
  Dataset dataset(
      GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, drivers, options, nullptr));
  if (!dataset) return kImportOpenFailed;
  *width = GDALGetRasterXSize(dataset.get());
  *height = GDALGetRasterYSize(dataset.get());
  std::array<double, 6> geo{};
  OGRSpatialReferenceH source = GDALGetSpatialRef(dataset.get());
  if (GDALGetGeoTransform(dataset.get(), geo.data()) != CE_None || !IsUsableGeoTransform(geo) ||
      source == nullptr) {
    return kGeoTiffNotGeoreferenced;
  }
  Transform transform = ToWgs84(source);
  if (!transform) return kGeoTiffNotGeoreferenced;
  const WorldFileValues values = WorldValuesOf(geo);
  const int status = LayOutNinePoints(
      values, *width, *height,
      [&transform](WorldXY world, LatLon* position) {
        double x = world.x;
        double y = world.y;
        if (!OCTTransform(transform.get(), 1, &x, &y, nullptr) || !std::isfinite(x) ||
            !std::isfinite(y)) {
          return false;
        }
        *position = {y, x};
        return true;
      },
      import);
  if (status != kImportOk) {
    *import = CalibrationImport{};
    return kGeoTiffNotGeoreferenced;
  }
  import->world_values = values;
  return kImportOk;
}

std::optional<std::string> DatumCodeFromWkt(const std::string& wkt) {
  if (wkt.empty()) return std::nullopt;
  QuietErrors quiet;
  SpatialReference srs(OSRNewSpatialReference(nullptr));
  if (!srs) return std::nullopt;
  char* text = const_cast<char*>(wkt.c_str());
  if (OSRImportFromWkt(srs.get(), &text) != OGRERR_NONE) return std::nullopt;
  const char* authority = OSRGetAuthorityCode(srs.get(), "GEOGCS");
  const char* datum = OSRGetAttrValue(srs.get(), "DATUM", 0);
  if ((authority && std::string_view(authority) == "4326") ||
      (datum && (std::string_view(datum) == "WGS_1984" || std::string_view(datum) == "WGS 84" ||
                 std::string_view(datum) == "World Geodetic System 1984"))) {
    return std::nullopt;
  }
  if (!datum || !*datum) return std::nullopt;
  std::string code;
  if (KnownDatumCode(datum, &code) || KnownDatumCode(Underscores(datum), &code)) return code;
  return std::string(datum);
}

}  // namespace kv
