#include "calibration/calibration_export.h"

#include <cstdio>

#include "base/exceptions.h"
#include "base/file_extension.h"
#include "base/string_ids.h"
#include "calibration/calibration_file_import.h"
#include "calibration/calibration_text_writer.h"
#include "calibration/ozi_map_writer.h"
#include "calibration/world_file_writer.h"

namespace kv {
namespace {

ExportOutcome Written(int system_error) {
  ExportOutcome outcome;
  outcome.system_error = system_error;
  if (system_error != 0) outcome.status = ExportStatus::kWriteFailed;
  return outcome;
}

ExportOutcome ExportWorldFile(const CalibrationRecord& record, const std::string& path,
                              const std::optional<WorldFileSystem>& world_system) {
  WorldFileContents contents;
  ExportOutcome outcome = MakeWorldFile(record, world_system, &contents);
  if (outcome.status != ExportStatus::kOk) return outcome;
  return WriteWorldFiles(path, contents);
}

ExportOutcome ExportOziMap(const CalibrationRecord& record, const std::string& path,
                           std::string_view image_name) {
  if (ExportOutcome outcome = CheckNamedDatum(record); outcome.status != ExportStatus::kOk) {
    return outcome;
  }
  const std::optional<std::string> text = OziMapText(record, image_name);
  if (!text) return ExportFailure(ExportStatus::kNoPlacement);
  return Written(WriteTextFile(path, text));
}

std::string PixelsText(double pixels) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", pixels);
  return text;
}

}  // namespace

CalibrationExportFormat ExportFormatOf(std::string_view path) {
  switch (CalibrationFileType(path)) {
    case kCalibrationFileMap:
      return CalibrationExportFormat::kOziMap;
    case kCalibrationFileWorld:
      return CalibrationExportFormat::kWorldFile;
    case kCalibrationFileCal:
    case kCalibrationFileJpr:
    case kCalibrationFilePca:
    case kCalibrationFileGeo:
      return CalibrationExportFormat::kUnwritable;
    default:
      return CalibrationExportFormat::kKvm;
  }
}

std::string ExportedCalibrationPath(const std::string& path) {
  return ExportFormatOf(path) == CalibrationExportFormat::kKvm ? CalibrationExportPath(path) : path;
}

ExportOutcome CheckNamedDatum(const CalibrationRecord& record) {
  if (NamedDatumRow(record) >= 0) return {};
  ExportOutcome outcome = ExportFailure(ExportStatus::kUnknownDatum);
  outcome.detail = record.datum_name.value_or("");
  return outcome;
}

ExportOutcome ExportCalibrationFile(const CalibrationRecord& record, const std::string& path,
                                    const std::optional<WorldFileSystem>& world_system,
                                    std::string_view image_name) {
  switch (ExportFormatOf(path)) {
    case CalibrationExportFormat::kOziMap:
      return ExportOziMap(record, path, image_name);
    case CalibrationExportFormat::kWorldFile:
      return ExportWorldFile(record, path, world_system);
    case CalibrationExportFormat::kUnwritable:
      return ExportFailure(ExportStatus::kUnwritableFormat);
    case CalibrationExportFormat::kKvm:
      break;
  }
  return Written(WriteTextFile(CalibrationExportPath(path),
                               WriteCalibrationText(record, record.pending_text)));
}

void RaiseExportError(const ExportOutcome& outcome, const std::string& path) {
  ErrWorldFileRefused refused(path.c_str());
  switch (outcome.status) {
    case ExportStatus::kNotAffine:
      refused.set_reason(kReasonNotAffine, PixelsText(outcome.worst_pixels).c_str());
      throw refused;
    case ExportStatus::kUnsupportedSystem:
      refused.set_reason(kReasonWorldSystem, outcome.detail.c_str());
      throw refused;
    case ExportStatus::kNoCoordinateSystem:
      refused.set_reason(kReasonNoCoordinateSystem, "");
      throw refused;
    case ExportStatus::kUnwritableFormat:
      throw ErrExportFormat(path.c_str());
    case ExportStatus::kNoPlacement: {
      ErrFileWrite nothing(path.c_str());
      nothing.set_reason(kReasonNothingPlaces, "");
      throw nothing;
    }
    case ExportStatus::kUnknownDatum: {
      ErrFileWrite unnamed(path.c_str());
      unnamed.set_reason(kReasonUnknownDatum, outcome.detail.c_str());
      throw unnamed;
    }
    case ExportStatus::kOk:
    case ExportStatus::kWriteFailed:
      break;
  }
  const std::string& named = outcome.failed_path.empty() ? path : outcome.failed_path;
  ThrowSystemFailure<ErrFileWrite>(named.c_str(), outcome.system_error);
}

}  // namespace kv
