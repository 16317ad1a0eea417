#ifndef KORVALE_CALIBRATION_CALIBRATION_FILE_IMPORT_H_
#define KORVALE_CALIBRATION_CALIBRATION_FILE_IMPORT_H_

// Reading a calibration file of any known type into an import record.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "calibration/calibration_import.h"

namespace kv {

// The file type of a path by its extension: kCalibrationFileKvm to
// kCalibrationFileWorld (any three-letter extension ending in "w" is a
// world file), kCalibrationFileNoExtension when the file name has no
// extension, kCalibrationFileNone for any other extension.
int CalibrationFileType(std::string_view path);

// Reads calibration file contents of type `type` into `*import` (which the
// caller has cleared). The image size is needed by world files and by
// ".jpr" files holding world file numbers; without it those set
// `state.needs_image_size` and must be read again with one.
ImportStatus ReadCalibrationData(std::string_view data, int type,
                                 const ImportEnvironment& environment, CalibrationImport* import,
                                 std::int32_t width, std::int32_t height);

// The same for an open file, read whole: ImportStatus::kReadFailed when it cannot
// be read whole or is larger than kMaxCalibrationFileSize.
ImportStatus ReadCalibrationFile(std::FILE* file, int type, const ImportEnvironment& environment,
                                 CalibrationImport* import, std::int32_t width,
                                 std::int32_t height);

// Clears `*import` and reads the file at `path`. `world_system`, when given,
// is the coordinate system of a world file: it becomes the environment's
// world file system (which is otherwise reset to degrees), and a national
// grid's code and datum go into the record. `*type` gets the file type
// whenever the extension is known, also when the file cannot be opened
// ("Could not file calibration file: PATH" goes to the diagnostics then and
// the result is ImportStatus::kOpenFailed).
ImportStatus ImportCalibrationFile(const std::string& path,
                                   const std::optional<WorldFileSystem>& world_system,
                                   const ImportEnvironment& environment, CalibrationImport* import,
                                   std::int32_t width, std::int32_t height, int* type);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_CALIBRATION_FILE_IMPORT_H_
