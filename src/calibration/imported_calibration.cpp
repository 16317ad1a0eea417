#include "calibration/imported_calibration.h"

#include "calibration/calibration_file_import.h"
#include "calibration/calibration_text_reader.h"

namespace kv {

int ReadImportedCalibration(const CalibrationImport& import, int type,
                            std::string_view negative_letters, std::int32_t width,
                            std::int32_t height, CalibrationRecord* record) {
  CalibrationRecord read = CalibrationRecordFromImport(import, negative_letters, width, height);
  const bool text_format = type == kCalibrationFileKvm || type == kCalibrationFileCal;
  if (text_format && import.raw_text) {
    ReadCalibrationIntoRecord(
        *import.raw_text,
        type == kCalibrationFileKvm ? kCalibrationSourceKvm : kCalibrationSourceCal, &read);
  }
  if (!HasEarthPositions(read)) return kImportOffTheEarth;
  *record = std::move(read);
  return kImportOk;
}

int ImportCalibrationRecord(const std::string& path,
                            const std::optional<WorldFileSystem>& world_system,
                            const ImportEnvironment& environment, std::int32_t width,
                            std::int32_t height, ImportedCalibrationFile* file) {
  const int status = ImportCalibrationFile(path, world_system, environment, &file->import, width,
                                           height, &file->type);
  if (status != kImportOk) return status;
  return ReadImportedCalibration(file->import, file->type, environment.negative_letters, width,
                                 height, &file->record);
}

}  // namespace kv
