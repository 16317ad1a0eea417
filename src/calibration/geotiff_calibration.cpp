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
#include <vector>

#include "calibration/control_point_fit.h"
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

std::string SystemName(OGRSpatialReferenceH srs) {
  const char* name = OSRGetName(srs);
  return name && *name ? name : "unnamed";
}

// PROJ would convert a geostationary view only where it sees the disc, and
// a system of another body not at all (or, with older versions, as if it
// were on the Earth).
bool IsEarthSystem(OGRSpatialReferenceH srs) {
  OGRErr error = OGRERR_NONE;
  const double semi_major = OSRGetSemiMajor(srs, &error);
  constexpr double kSmallestEarthAxis = 6.35e6;  // metres; every Earth ellipsoid and sphere
  constexpr double kLargestEarthAxis = 6.40e6;   // lies between these
  if (error != OGRERR_NONE || semi_major < kSmallestEarthAxis || semi_major > kLargestEarthAxis) {
    return false;
  }
  const char* projection = OSRGetAttrValue(srs, "PROJECTION", 0);
  return !(projection && std::string_view(projection) == "Geostationary_Satellite");
}

bool ToLatLon(OGRCoordinateTransformationH transform, WorldXY world, LatLon* position) {
  double x = world.x;
  double y = world.y;
  if (!OCTTransform(transform, 1, &x, &y, nullptr) || !std::isfinite(x) || !std::isfinite(y)) {
    return false;
  }
  *position = {y, x};
  return true;
}

// The transform to WGS84 of the positions in `source`, or a status saying
// why there is none.
ImportStatus TransformFrom(OGRSpatialReferenceH source, Transform* transform,
                           GeoTiffReport* report) {
  if (!IsEarthSystem(source)) {
    report->coordinate_system = SystemName(source);
    return ImportStatus::kGeoTiffUnsupportedSystem;
  }
  *transform = ToWgs84(source);
  return *transform ? ImportStatus::kOk : ImportStatus::kGeoTiffNotGeoreferenced;
}

ImportStatus ReadGeoTransform(const std::array<double, 6>& geo, OGRSpatialReferenceH source,
                              std::int32_t width, std::int32_t height, CalibrationImport* import,
                              GeoTiffReport* report) {
  Transform transform;
  const ImportStatus status = TransformFrom(source, &transform, report);
  if (status != ImportStatus::kOk) return status;
  const WorldFileValues values = WorldValuesOf(geo);
  const ImportStatus laid_out = LayOutNinePoints(
      values, width, height,
      [&transform](WorldXY world, LatLon* position) {
        return ToLatLon(transform.get(), world, position);
      },
      import);
  if (laid_out != ImportStatus::kOk) return ImportStatus::kGeoTiffNotGeoreferenced;
  import->world_values = values;
  return ImportStatus::kOk;
}

std::vector<ControlPoint> UsableControlPoints(GDALDatasetH dataset) {
  std::vector<ControlPoint> points;
  const GDAL_GCP* gcps = GDALGetGCPs(dataset);
  const int count = GDALGetGCPCount(dataset);
  for (int i = 0; gcps && i < count; ++i) {
    const GDAL_GCP& gcp = gcps[i];
    const std::array<double, 4> values = {gcp.dfGCPPixel, gcp.dfGCPLine, gcp.dfGCPX, gcp.dfGCPY};
    if (std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); })) {
      points.push_back({{gcp.dfGCPPixel, gcp.dfGCPLine}, {gcp.dfGCPX, gcp.dfGCPY}});
    }
  }
  return points;
}

// Ground control points: each chosen one is a known point at its own
// position (converted to WGS84 as a geotransform's are), the bounds come
// from the affine fit through all of them.
ImportStatus ReadControlPoints(GDALDatasetH dataset, std::int32_t width, std::int32_t height,
                               CalibrationImport* import, GeoTiffReport* report) {
  OGRSpatialReferenceH source = GDALGetGCPSpatialRef(dataset);
  const std::vector<ControlPoint> points = UsableControlPoints(dataset);
  report->control_points = GDALGetGCPCount(dataset);
  if (source == nullptr || points.empty()) return ImportStatus::kGeoTiffNotGeoreferenced;
  Transform transform;
  const ImportStatus status = TransformFrom(source, &transform, report);
  if (status != ImportStatus::kOk) return status;
  const std::optional<AffineFit> fit = FitControlPoints(points);
  if (!fit) return ImportStatus::kGeoTiffNotGeoreferenced;
  const std::vector<ChosenControlPoint> chosen = ChooseControlPoints(points, *fit, width, height);
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    LatLon position;
    if (!ToLatLon(transform.get(), chosen[i].world, &position))
      return ImportStatus::kGeoTiffNotGeoreferenced;
    CalibrationPoint& point = import->points[i];
    point.latitude = position.latitude;
    point.longitude = position.longitude;
    point.pixel_x = point.adjusted_x = chosen[i].pixel.x;
    point.pixel_y = point.adjusted_y = chosen[i].pixel.y;
  }
  // The bounds as a world file's: from the centre of the top-left pixel to
  // one image width and height on.
  const WorldFileValues& f = fit->to_world;
  const WorldFileValues centred = {
      f.a, f.d, f.b, f.e, f.c + (f.a + f.b) / 2.0, f.f + (f.d + f.e) / 2.0};
  LatLon top_left;
  LatLon bottom_right;
  if (!ToLatLon(transform.get(), WorldPosition(centred, 0, 0), &top_left) ||
      !ToLatLon(transform.get(), WorldPosition(centred, width, height), &bottom_right)) {
    return ImportStatus::kGeoTiffNotGeoreferenced;
  }
  import->proj_mode = kCalibrationKnownPoints;
  import->world_values = centred;
  import->north_text = FormatBoundText(top_left.latitude, true);
  import->west_text = FormatBoundText(top_left.longitude, false);
  import->south_text = FormatBoundText(bottom_right.latitude, true);
  import->east_text = FormatBoundText(bottom_right.longitude, false);
  report->points_used = static_cast<int>(chosen.size());
  report->rms_pixels = fit->rms_pixels;
  return ImportStatus::kOk;
}

}  // namespace

ImportStatus ReadGeoTiffCalibration(const std::string& path, CalibrationImport* import,
                                    std::int32_t* width, std::int32_t* height) {
  GeoTiffReport report;
  return ReadGeoTiffCalibration(path, import, width, height, &report);
}

ImportStatus ReadGeoTiffCalibration(const std::string& path, CalibrationImport* import,
                                    std::int32_t* width, std::int32_t* height,
                                    GeoTiffReport* report) {
  *import = CalibrationImport{};
  *report = GeoTiffReport{};
  RegisterDriversOnce();
  QuietErrors quiet;
  const char* const drivers[] = {"GTiff", nullptr};
  const char* const options[] = {"GEOREF_SOURCES=INTERNAL", nullptr};
  Dataset dataset(
      GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, drivers, options, nullptr));
  if (!dataset) return ImportStatus::kOpenFailed;
  *width = GDALGetRasterXSize(dataset.get());
  *height = GDALGetRasterYSize(dataset.get());
  std::array<double, 6> geo{};
  OGRSpatialReferenceH source = GDALGetSpatialRef(dataset.get());
  const bool transformed = GDALGetGeoTransform(dataset.get(), geo.data()) == CE_None &&
                           IsUsableGeoTransform(geo) && source != nullptr;
  const ImportStatus status =
      transformed ? ReadGeoTransform(geo, source, *width, *height, import, report)
                  : ReadControlPoints(dataset.get(), *width, *height, import, report);
  if (status != ImportStatus::kOk) *import = CalibrationImport{};
  return status;
}

std::optional<std::string> DatumCodeFromWkt(const std::string& wkt) {
  return DatumCodeFromWkt(wkt, nullptr);
}

std::optional<std::string> DatumCodeFromWkt(const std::string& wkt,
                                            std::vector<ImportWarning>* warnings) {
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
  if (warnings) warnings->push_back({ImportWarningKind::kUnknownDatum, Underscores(datum)});
  return std::string(datum);
}

}  // namespace kv
