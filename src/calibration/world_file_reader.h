#ifndef KORVALE_CALIBRATION_WORLD_FILE_READER_H_
#define KORVALE_CALIBRATION_WORLD_FILE_READER_H_

// World files (".jgw", ".tfw", ... and ".jpr" files holding world file
// numbers): six numbers placing the image in a coordinate system, which
// become nine calibration points.

#include <cstdint>
#include <string>
#include <vector>

#include "calibration/calibration_import.h"

namespace kv {

// Reads the six numbers (the first six lines that are not blank; a decimal
// comma is read as a decimal point) in the environment's world file
// coordinate system and lays out the nine points over a `width` × `height`
// image. Without an image size only the numbers are kept and
// `state.needs_image_size` is set. Writes the world file report to the
// diagnostic stream. ImportStatus::kOk; ImportStatus::kMalformedFile when a line is not a
// number or there are fewer than six (`import->malformed_detail` names the
// line); ImportStatus::kBadWorldSystem when the positions cannot be converted in
// that system (the points are then not set).
ImportStatus ReadWorldFileLines(const std::vector<std::string>& lines,
                                const ImportEnvironment& environment, CalibrationImport* import,
                                std::int32_t width, std::int32_t height);

// The world file coordinate system given by a grid code of the grid table
// ("GK3"); false when the table has no such code.
bool WorldFileSystemFromGridCode(std::string_view code, WorldFileSystem* system);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_WORLD_FILE_READER_H_
