#ifndef KORVALE_CALIBRATION_OZI_MAP_WRITER_H_
#define KORVALE_CALIBRATION_OZI_MAP_WRITER_H_

// A calibration as an OziExplorer ".map" file: the points that place the
// image (PlacingPoints) in degrees and minutes on the record's datum, in
// the "Latitude/Longitude" projection, so that programs fit the same affine
// latitude/longitude model the handheld applies.

#include <optional>
#include <string>
#include <string_view>

#include "calibration/calibration_record.h"

namespace kv {

// Version 2.2 of the format, lines ending in CR LF as OziExplorer writes
// them. `image_name` goes on the image line (empty when not known). None
// when nothing places the image.
std::optional<std::string> OziMapText(const CalibrationRecord& record, std::string_view image_name);

// The name OziExplorer gives the datum the record names: "WGS 84", the
// OziExplorer name the importer knows for its row, else the row's code.
std::string OziDatumName(const CalibrationRecord& record);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_OZI_MAP_WRITER_H_
