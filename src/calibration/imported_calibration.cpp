#include "calibration/imported_calibration.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "calibration/calibration_file_import.h"
#include "calibration/calibration_residuals.h"
#include "calibration/calibration_text_reader.h"

namespace kv {
namespace {

// How much better the points must fit with their western longitudes taken
// 360° on before the map counts as crossing 180°; a map that does not
// cross it fits worse that way by orders of magnitude.
constexpr double kCrossingFitGain = 10.0;
constexpr double kFarEast = 90.0;

// Points computed from the file's georeferencing, not typed by anyone.
bool IsGeoreferencedSource(const CalibrationImport& import, int type) {
  return type == 0 || type == kCalibrationFileWorld || import.world_file;
}

double RmsPixels(const CalibrationPoints& points) {
  const CalibrationResiduals residuals = ComputeCalibrationResiduals(points, kWgs84Ellipsoid);
  return residuals.status == ResidualStatus::kOk ? residuals.rms_pixels : -1.0;
}

std::string CrossingText(const CalibrationPoints& points) {
  double east = -180.0;
  double west = 180.0;
  for (const CalibrationPoint& point : points) {
    if (IsEmptyPosition(point)) continue;
    const double longitude = point.longitude - 360.0 * std::round(point.longitude / 360.0);
    if (longitude > 0.0) east = std::max(east, longitude);
    if (longitude < 0.0) west = std::min(west, longitude);
  }
  char text[128];
  std::snprintf(text, sizeof text, "the map crosses the 180° meridian (longitudes %.8f and %.8f)",
                east, west);
  return text;
}

}  // namespace

bool CrossesAntimeridian(const CalibrationRecord& record) {
  // A frame of half the Earth or more (a whole-world map, one round a
  // pole) holds all of its longitudes as they are.
  if (!record.points || record.east - record.west >= 180.0) return false;
  bool far_east = false;
  bool far_west = false;
  // Shifted by 180° as well, so that every longitude stays on the Earth:
  // the fit does not care where its origin lies.
  // Some grid conversions run on past 180° themselves; taken back within
  // ±180° such points show the jump like any other.
  CalibrationPoints as_given = *record.points;
  for (CalibrationPoint& point : as_given) {
    if (std::isfinite(point.longitude) && std::fabs(point.longitude) > 180.0) {
      point.longitude -= 360.0 * std::round(point.longitude / 360.0);
    }
  }
  CalibrationPoints shifted = as_given;
  for (CalibrationPoint& point : shifted) {
    if (IsEmptyPosition(point)) continue;
    far_east = far_east || point.longitude > kFarEast;
    far_west = far_west || point.longitude < -kFarEast;
    point.longitude = (point.longitude < 0.0 ? point.longitude + 360.0 : point.longitude) - 180.0;
  }
  if (!far_east || !far_west) return false;
  const double given_rms = RmsPixels(as_given);
  const double run_on_rms = RmsPixels(shifted);
  return run_on_rms >= 0.0 && given_rms >= 0.0 && run_on_rms * kCrossingFitGain < given_rms;
}

ImportStatus ReadImportedCalibration(const CalibrationImport& import, int type,
                                     std::string_view negative_letters, std::int32_t width,
                                     std::int32_t height, CalibrationRecord* record,
                                     std::string* refusal) {
  CalibrationRecord read = CalibrationRecordFromImport(import, negative_letters, width, height);
  const bool text_format = type == kCalibrationFileKvm || type == kCalibrationFileCal;
  if (text_format && import.raw_text) {
    ReadCalibrationIntoRecord(
        *import.raw_text,
        type == kCalibrationFileKvm ? kCalibrationSourceKvm : kCalibrationSourceCal, &read);
  }
  std::string reason = CrossesAntimeridian(read) ? CrossingText(*read.points) : std::string();
  if (reason.empty()) reason = OffTheEarthValue(read);
  if (!reason.empty()) {
    if (refusal) *refusal = std::move(reason);
    return ImportStatus::kOffTheEarth;
  }
  ClampBoundsToTheEarth(&read);
  if (IsGeoreferencedSource(import, type)) read.source_points = read.points;
  *record = std::move(read);
  return ImportStatus::kOk;
}

ImportStatus ImportCalibrationRecord(const std::string& path,
                                     const std::optional<WorldFileSystem>& world_system,
                                     const ImportEnvironment& environment, std::int32_t width,
                                     std::int32_t height, ImportedCalibrationFile* file) {
  const ImportStatus status = ImportCalibrationFile(path, world_system, environment, &file->import,
                                                    width, height, &file->type);
  if (status != ImportStatus::kOk) return status;
  return ReadImportedCalibration(file->import, file->type, environment.negative_letters, width,
                                 height, &file->record, &file->refusal);
}

}  // namespace kv
