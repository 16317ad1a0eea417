#ifndef KORVALE_CALIBRATION_KEY_VALUE_READERS_H_
#define KORVALE_CALIBRATION_KEY_VALUE_READERS_H_

// The readers of the "key=value" formats: ".cal" (and ".kvm" text as the
// importer sees it), ".geo" and ".jpr", and the position list of ".pca"
// files.

#include <string>
#include <vector>

#include "calibration/calibration_import.h"

namespace kv {

// ".kvm" and ".cal": reference point rpN is point N.
void ReadCalLines(const std::vector<std::string>& lines, const ImportEnvironment& environment,
                  CalibrationImport* import);

// ".geo": reference point rpN is point N + 1 (rp0 is the first point).
void ReadGeoLines(const std::vector<std::string>& lines, const ImportEnvironment& environment,
                  CalibrationImport* import);

// ".jpr": either key lines like ".cal", or, when line 0 is a number without
// "=", the six numbers of a world file. Returns true in that case, having
// taken nothing from the lines.
bool ReadJprLines(const std::vector<std::string>& lines, const ImportEnvironment& environment,
                  CalibrationImport* import);

// ".pca": lines 1 to 4 are the west, north, east and south bounds.
void ReadPcaLines(const std::vector<std::string>& lines, const ImportEnvironment& environment,
                  CalibrationImport* import);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_KEY_VALUE_READERS_H_
