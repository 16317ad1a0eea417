#ifndef KORVALE_CALIBRATION_IMPORTED_CALIBRATION_H_
#define KORVALE_CALIBRATION_IMPORTED_CALIBRATION_H_

// The one way a read calibration file (or a GeoTIFF's georeferencing)
// becomes a calibration record, shared by the document's imports and
// `kvmap calibration`.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calibration/calibration_import.h"
#include "calibration/calibration_record.h"

namespace kv {

// `import` as a record for an image of `width` x `height` source pixels
// (CalibrationRecordFromImport). For a ".kvm" or ".cal" file (`type`) the
// file's whole text is then read as calibration text, which knows more keys
// than the importer; the lines it does not use become the pending text.
// Any other type, e.g. 0 for a GeoTIFF, reads no text. kImportOk, or
// kImportOffTheEarth when the result is no place on the Earth
// (HasEarthPositions); `*record` changes only on success.
int ReadImportedCalibration(const CalibrationImport& import, int type,
                            std::string_view negative_letters, std::int32_t width,
                            std::int32_t height, CalibrationRecord* record);

// What reading a calibration file gives: what the file itself said (the
// image it names, its bound texts), its type, and the record made of it.
struct ImportedCalibrationFile {
  CalibrationImport import;
  int type = 0;
  CalibrationRecord record;
};

// Reads the calibration file at `path` (ImportCalibrationFile, with
// `world_system` for a world file) and makes its record
// (ReadImportedCalibration) for `width` x `height` source pixels: the status
// of the first step that failed, or kImportOk. Without an image size a
// world file (or a ".jpr" holding world file numbers) sets
// `environment.state.needs_image_size` and gives a record without points.
int ImportCalibrationRecord(const std::string& path,
                            const std::optional<WorldFileSystem>& world_system,
                            const ImportEnvironment& environment, std::int32_t width,
                            std::int32_t height, ImportedCalibrationFile* file);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_IMPORTED_CALIBRATION_H_
