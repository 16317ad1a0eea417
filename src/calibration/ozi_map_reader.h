#ifndef KORVALE_CALIBRATION_OZI_MAP_READER_H_
#define KORVALE_CALIBRATION_OZI_MAP_READER_H_

// OziExplorer ".map" files: a header line, the image name and path, the
// datum on line 4, then projection, projection set-up and point lines.

#include <string>
#include <vector>

#include "calibration/calibration_import.h"

namespace kv {

// Lines from this one on hold projection, set-up and point lines; the
// points "Point01" to "Point09" become calibration points 1 to 9.
inline constexpr int kOziFirstRuleLine = 7;

// ImportStatus::kOk, or ImportStatus::kNotOziExplorer when line 0 does not begin with
// "OziExplorer" (nothing is taken from the file then). A point given only
// as a UTM grid reference (zone, easting, northing) is converted on the
// file's datum. Points that give no position are warned about
// (kPointsSkipped), and so is a file that gives none (kNoUsablePoints), as
// is a datum name the tables do not know (kUnknownDatum).
ImportStatus ReadOziMapLines(const std::vector<std::string>& lines,
                             const ImportEnvironment& environment, CalibrationImport* import);

// The image an OziExplorer file at `map_path` names on its line 2, as it
// stands beside the file: the named path when it exists as written, else
// the name's last component in the file's folder (the name is often a
// Windows path of another machine). Empty when the file is no OziExplorer
// file or names no image.
std::string OziMapImagePath(const std::string& map_path);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_OZI_MAP_READER_H_
