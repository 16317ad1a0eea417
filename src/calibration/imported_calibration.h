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
// Any other type, e.g. 0 for a GeoTIFF, reads no text. The points of a
// GeoTIFF (type 0) or a world file are the source's own (source_points).
// Bounds up to a pixel beyond the Earth's edge are brought onto it. ImportStatus::kOk,
// or ImportStatus::kOffTheEarth when the result is no place on the Earth
// (HasEarthPositions) or the map crosses the 180° meridian; `*refusal`, when
// given, then says which value, in words. `*record` changes only on success.
ImportStatus ReadImportedCalibration(const CalibrationImport& import, int type,
                                     std::string_view negative_letters, std::int32_t width,
                                     std::int32_t height, CalibrationRecord* record,
                                     std::string* refusal = nullptr);

// Whether the points run across the 180° meridian: their longitudes jump
// from east to west between neighbouring pixels, so that they fit the
// pixels far better once the western ones are taken 360° on. Such a map
// cannot be kept, because a longitude beyond 180° is no position and the
// positions either side of the jump belong to the same place on the map.
bool CrossesAntimeridian(const CalibrationRecord& record);

// What reading a calibration file gives: what the file itself said (the
// image it names, its bound texts), its type, and the record made of it.
struct ImportedCalibrationFile {
  CalibrationImport import;
  int type = 0;
  CalibrationRecord record;
  // Why the file's calibration was refused, in words; empty otherwise.
  std::string refusal;
};

// Reads the calibration file at `path` (ImportCalibrationFile, with
// `world_system` for a world file) and makes its record
// (ReadImportedCalibration) for `width` x `height` source pixels: the status
// of the first step that failed, or ImportStatus::kOk. Without an image size a
// world file (or a ".jpr" holding world file numbers) sets
// `environment.state.needs_image_size` and gives a record without points.
ImportStatus ImportCalibrationRecord(const std::string& path,
                                     const std::optional<WorldFileSystem>& world_system,
                                     const ImportEnvironment& environment, std::int32_t width,
                                     std::int32_t height, ImportedCalibrationFile* file);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_IMPORTED_CALIBRATION_H_
