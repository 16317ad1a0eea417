#include "map/map_image_calibration.h"

#include <algorithm>
#include <string>

#include "calibration/calibration_text_reader.h"
#include "geo/position_text.h"

namespace kv {

void ReadMapImageCalibration(const CImage& image, std::string_view negative_letters,
                             CalibrationRecord* record) {
  const auto bound = [&](CornerText which) {
    return ParsePosition(image.corner_text(which), negative_letters);
  };
  record->north = bound(kTopLeftLatitude);
  record->west = bound(kTopLeftLongitude);
  record->south = bound(kBottomRightLatitude);
  record->east = bound(kBottomRightLongitude);
  record->width = static_cast<std::int32_t>(image.map_width());
  record->height = static_cast<std::int32_t>(image.map_height());
  // Stored with zero bytes after the text.
  const std::vector<std::uint8_t>& bytes = image.calibration();
  std::string text(bytes.begin(), std::find(bytes.begin(), bytes.end(), std::uint8_t{0}));
  if (!text.empty()) ReadCalibrationIntoRecord(std::move(text), kCalibrationSourceMap, record);
}

}  // namespace kv
