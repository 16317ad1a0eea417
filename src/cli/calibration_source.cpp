#include "cli/calibration_source.h"

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/exceptions.h"
#include "base/file_extension.h"
#include "bitmap/gdal/image_source_library.h"
#include "calibration/calibration_file_import.h"
#include "calibration/imported_calibration.h"
#include "calibration/raise_import_error.h"
#include "calibration/source_calibration.h"
#include "map/c_image_container.h"
#include "map/map_file.h"
#include "map/map_image_calibration.h"

namespace kv::cli {
namespace {

bool IsOneOf(std::string_view extension, std::initializer_list<std::string_view> names) {
  for (std::string_view name : names) {
    if (extension == name) return true;
  }
  return false;
}

// The bound texts as the map would store them: from the record's bounds,
// none when it has none.
CalibrationResult ResultOf(CalibrationRecord record) {
  CalibrationResult result;
  result.record = std::move(record);
  result.bound_texts = FormatBoundTexts(result.record).value_or(BoundTextSet{});
  return result;
}

// Statuses the user can mend with kvmap's own options are told so; every
// other one is the file's error as the document reports it.
void RaiseCalibrationFileError(ImportStatus status, const std::string& path,
                               std::string_view detail) {
  if (status == ImportStatus::kNotOziExplorer) {
    throw CalibrationSourceError("not an OziExplorer map file: " + path);
  }
  if (status == ImportStatus::kBadWorldSystem) {
    throw CalibrationSourceError(
        "the world file's positions cannot be converted in that "
        "coordinate system (UTM and MTM need --zone)");
  }
  RaiseImportError(status, path, detail);
}

CalibrationResult ReadCalibrationFileSource(const CalibrationRequest& request,
                                            std::ostream& diagnostics) {
  CoordinateContext coordinates;
  CalibrationImportState state;
  ImportEnvironment environment{coordinates, state, diagnostics, request.negative_letters};
  ImportedCalibrationFile file;
  const ImportStatus status = ImportCalibrationRecord(
      request.path, request.world_system, environment, request.width, request.height, &file);
  if (status != ImportStatus::kOk)
    RaiseCalibrationFileError(status, request.path, ImportErrorDetail(file));
  if (state.needs_image_size) {
    throw CalibrationSourceError("this file needs the image size: give --image or --size");
  }
  CalibrationResult result = ResultOf(std::move(file.record));
  result.warnings = file.import.warnings;
  return result;
}

std::string ControlPointNote(const GeoTiffReport& report) {
  char line[160];
  std::snprintf(line, sizeof line,
                "%d of %d ground control points taken; RMS of their affine fit %.2f pixels",
                report.points_used, report.control_points, report.rms_pixels);
  return line;
}

CalibrationResult ReadGeoTiffSource(const CalibrationRequest& request) {
  GeoTiffSourceCalibration geotiff;
  const ImportStatus status =
      ReadGeoTiffSourceCalibration(request.path, request.negative_letters, &geotiff);
  const GeoTiffReport& report = geotiff.report;
  if (status == ImportStatus::kGeoTiffNotGeoreferenced) {
    throw CalibrationSourceError("the TIFF carries no georeferencing: " + request.path);
  }
  if (status == ImportStatus::kGeoTiffUnsupportedSystem) {
    throw CalibrationSourceError("the TIFF's coordinate system \"" + report.coordinate_system +
                                 "\" gives no latitude and longitude on the Earth (another "
                                 "body, or a geostationary view): " +
                                 request.path);
  }
  if (status != ImportStatus::kOk) RaiseImportError(status, request.path, geotiff.refusal);
  CalibrationResult result = ResultOf(std::move(geotiff.record));
  result.warnings = std::move(geotiff.warnings);
  if (report.control_points > 0) result.notes.push_back(ControlPointNote(report));
  return result;
}

CalibrationResult ReadChartSource(const CalibrationRequest& request) {
  ImageSourceLibrary library;
  ImageSourcePtr source;
  if (library.Open(request.path, ImageSourceKind::kChart, &source) != ConversionStatus::kOk ||
      !source) {
    throw ErrUnknownImageKind(request.path.c_str());
  }
  std::optional<SourceCalibrationRecord> chart = ReadChartCalibration(*source);
  library.Release(&source);
  if (!chart) {
    throw CalibrationSourceError("the chart carries fewer than two reference points: " +
                                 request.path);
  }
  CalibrationResult result = ResultOf(std::move(chart->record));
  result.warnings = std::move(chart->warnings);
  return result;
}

// The map's first image carries the calibration, as re-opening the map in
// the desktop program reads it.
CalibrationResult ReadMapSource(const CalibrationRequest& request) {
  CImageContainer container("map", nullptr);
  ConversionSettings settings;
  LoadMapFile(request.path, container, settings, nullptr);
  if (container.images().empty()) throw CalibrationSourceError("the map holds no image");
  CalibrationRecord record;
  ReadMapImageCalibration(*container.images().front(), request.negative_letters, &record);
  return ResultOf(std::move(record));
}

}  // namespace

CalibrationResult ReadCalibrationSource(const CalibrationRequest& request,
                                        std::ostream& diagnostics) {
  const std::string extension = LowerFileExtension(request.path);
  if (IsOneOf(extension, {"tif", "tiff"})) return ReadGeoTiffSource(request);
  if (IsOneOf(extension, {"kap", "cap"})) return ReadChartSource(request);
  if (IsOneOf(extension, {"prc"})) return ReadMapSource(request);
  if (CalibrationFileType(request.path) < 0) {
    throw CalibrationSourceError("not a calibration source kvmap knows: " + request.path);
  }
  return ReadCalibrationFileSource(request, diagnostics);
}

void ReadImageSize(const std::string& path, std::int32_t* width, std::int32_t* height) {
  ImageSourceLibrary library;
  ImageSourcePtr source;
  if (library.Open(path, ImageSourceKind::kRaster, &source) != ConversionStatus::kOk || !source) {
    throw ErrFileOpen(path.c_str());
  }
  *width = source->Width();
  *height = source->Height();
  library.Release(&source);
}

bool ParseImageSize(const std::string& text, std::int32_t* width, std::int32_t* height) {
  std::istringstream in(text);
  long w = 0;
  long h = 0;
  char separator = 0;
  if (!(in >> w >> separator >> h) || (separator != 'x' && separator != 'X') || !in.eof()) {
    return false;
  }
  if (w <= 0 || h <= 0 || w > 1000000 || h > 1000000) return false;
  *width = static_cast<std::int32_t>(w);
  *height = static_cast<std::int32_t>(h);
  return true;
}

std::string CalibrationJson(const CalibrationResult& result) {
  const CalibrationRecord& record = result.record;
  nlohmann::ordered_json json;
  json["kind"] = record.proj_mode;
  json["datum"] = record.datum_name.value_or("WGS84");
  json["north"] = record.north;
  json["west"] = record.west;
  json["south"] = record.south;
  json["east"] = record.east;
  json["north_text"] = result.bound_texts.north;
  json["west_text"] = result.bound_texts.west;
  json["south_text"] = result.bound_texts.south;
  json["east_text"] = result.bound_texts.east;
  json["points"] = nlohmann::ordered_json::array();
  const int count = CountPositionedPoints(record);
  for (int i = 0; i < count; ++i) {
    const CalibrationPoint& point = (*record.points)[static_cast<std::size_t>(i)];
    json["points"].push_back({{"lat", point.latitude},
                              {"lon", point.longitude},
                              {"x", point.pixel_x},
                              {"y", point.pixel_y}});
  }
  return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace kv::cli
