#include "cli/calibration_source.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/exceptions.h"
#include "bitmap/image_source_library.h"
#include "calibration/calibration_file_import.h"
#include "calibration/calibration_text_reader.h"
#include "calibration/chart_calibration.h"
#include "calibration/geotiff_calibration.h"
#include "geo/position_text.h"
#include "geo/text_match.h"
#include "map/c_image_container.h"
#include "map/map_file.h"

namespace kv::cli {
namespace {

std::string ExtensionOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot + 1);
}

bool IsOneOf(const std::string& extension, std::initializer_list<std::string_view> names) {
  for (std::string_view name : names) {
    if (EqualsIgnoreCase(extension, name)) return true;
  }
  return false;
}

void SetBoundTexts(CalibrationResult* result) {
  const CalibrationRecord& record = result->record;
  result->north_text = FormatBoundText(record.north, true);
  result->west_text = FormatBoundText(record.west, false);
  result->south_text = FormatBoundText(record.south, true);
  result->east_text = FormatBoundText(record.east, false);
}

CalibrationResult FromImport(const CalibrationImport& import, const CalibrationRequest& request) {
  CalibrationResult result;
  result.record =
      CalibrationRecordFromImport(import, request.negative_letters, request.width, request.height);
  result.north_text = import.north_text;
  result.west_text = import.west_text;
  result.south_text = import.south_text;
  result.east_text = import.east_text;
  return result;
}

CalibrationResult ReadCalibrationFileSource(const CalibrationRequest& request, int type_hint,
                                            std::ostream& diagnostics) {
  CoordinateContext coordinates;
  CalibrationImportState state;
  ImportEnvironment environment{coordinates, state, diagnostics, request.negative_letters};
  CalibrationImport import;
  int type = type_hint;
  const int status = ImportCalibrationFile(request.path, request.world_system, environment, &import,
                                           request.width, request.height, &type);
  if (status == kImportReadFailed) throw ErrFileRead(request.path.c_str());
  if (status == kImportNotOziExplorer) {
    throw CalibrationSourceError("not an OziExplorer map file: " + request.path);
  }
  if (status == kImportBadWorldSystem) {
    throw CalibrationSourceError(
        "the world file's positions cannot be converted in that "
        "coordinate system (UTM and MTM need --zone)");
  }
  if (state.needs_image_size) {
    throw CalibrationSourceError("this file needs the image size: give --image or --size");
  }
  CalibrationResult result = FromImport(import, request);
  // The two text formats are also read as calibration text, which knows
  // more keys than the importer.
  if ((type == kCalibrationFileKvm || type == kCalibrationFileCal) && import.raw_text) {
    ReadCalibrationIntoRecord(
        *import.raw_text,
        type == kCalibrationFileKvm ? kCalibrationSourceKvm : kCalibrationSourceCal,
        &result.record);
    SetBoundTexts(&result);
  }
  return result;
}

CalibrationResult ReadGeoTiffSource(const CalibrationRequest& request) {
  CalibrationImport import;
  CalibrationRequest sized = request;
  const int status = ReadGeoTiffCalibration(request.path, &import, &sized.width, &sized.height);
  if (status == kImportReadFailed) throw ErrFileOpen(request.path.c_str());
  if (status != kImportOk) {
    throw CalibrationSourceError("the TIFF carries no georeferencing: " + request.path);
  }
  return FromImport(import, sized);
}

CalibrationResult ReadChartSource(const CalibrationRequest& request) {
  ImageSourceLibrary library;
  ImageSourcePtr source;
  if (library.Open(request.path, ImageSourceKind::kChart, &source) != kConvOk || !source) {
    throw ErrUnknownImageKind(request.path.c_str());
  }
  std::vector<ChartCalibrationPoint> points;
  for (const ChartReferencePoint& reference : source->reference_points()) {
    points.push_back(
        {reference.pixel_x, reference.pixel_y, reference.latitude, reference.longitude});
  }
  CalibrationResult result;
  CalibrateChart(points, DatumCodeFromWkt(source->geographic_system_wkt()), source->Width(),
                 source->Height(), &result.record);
  library.Release(&source);
  SetBoundTexts(&result);
  return result;
}

// The map's first image carries the calibration text, its size and its
// corner texts, as re-opening the map in the desktop program reads them.
CalibrationResult ReadMapSource(const CalibrationRequest& request) {
  CImageContainer container("map", nullptr);
  ConversionSettings settings;
  LoadMapFile(request.path, container, settings, nullptr);
  if (container.images().empty()) throw CalibrationSourceError("the map holds no image");
  const CImage& image = *container.images().front();
  CalibrationResult result;
  CalibrationRecord& record = result.record;
  record.width = static_cast<std::int32_t>(image.map_width());
  record.height = static_cast<std::int32_t>(image.map_height());
  const auto bound = [&](CornerText which) {
    const std::string& text = image.corner_text(which);
    return text.empty() ? 0.0 : ParsePosition(text, request.negative_letters);
  };
  record.north = bound(kTopLeftLatitude);
  record.west = bound(kTopLeftLongitude);
  record.south = bound(kBottomRightLatitude);
  record.east = bound(kBottomRightLongitude);
  const std::vector<std::uint8_t>& bytes = image.calibration();
  std::string text(bytes.begin(), bytes.end());
  text.resize(std::min(text.size(), text.find('\0')));
  if (!text.empty()) ReadCalibrationIntoRecord(text, kCalibrationSourceMap, &record);
  SetBoundTexts(&result);
  return result;
}

}  // namespace

CalibrationResult ReadCalibrationSource(const CalibrationRequest& request,
                                        std::ostream& diagnostics) {
  const std::string extension = ExtensionOf(request.path);
  if (IsOneOf(extension, {"tif", "tiff"})) return ReadGeoTiffSource(request);
  if (IsOneOf(extension, {"kap", "cap"})) return ReadChartSource(request);
  if (IsOneOf(extension, {"prc"})) return ReadMapSource(request);
  const int type = CalibrationFileType(request.path);
  if (type < 0) {
    throw CalibrationSourceError("not a calibration source kvmap knows: " + request.path);
  }
  return ReadCalibrationFileSource(request, type, diagnostics);
}

void ReadImageSize(const std::string& path, std::int32_t* width, std::int32_t* height) {
  ImageSourceLibrary library;
  ImageSourcePtr source;
  if (library.Open(path, ImageSourceKind::kRaster, &source) != kConvOk || !source) {
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
  json["north_text"] = result.north_text;
  json["west_text"] = result.west_text;
  json["south_text"] = result.south_text;
  json["east_text"] = result.east_text;
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
