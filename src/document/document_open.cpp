// Re-opening a map database the program wrote.

#include <algorithm>

#include "base/exceptions.h"
#include "calibration/calibration_text_reader.h"
#include "document/document.h"
#include "document/image_kind.h"
#include "geo/position_text.h"
#include "map/map_file.h"

namespace kv {

namespace {

std::string WithBmpExtension(const std::string& path) {
  const std::string_view extension = FileExtension(path);
  if (extension.empty()) return path + ".bmp";
  return path.substr(0, path.size() - extension.size()) + "bmp";
}

}  // namespace

void CDocument::ReopenMap(const std::string& path, bool reset_calibration) {
  source_path_ = WithBmpExtension(path);
  LoadMapFile(path, *container_, app_.settings, nullptr);
  CImage* image = container_->ImageAt(0);
  if (image == nullptr) throw ErrNotOurFile(path.c_str());

  CalibrationRecord& record = app_.calibration;
  if (reset_calibration) ClearCalibrationRecord(&record);
  const auto bound = [&](CornerText which) {
    return ParsePosition(image->corner_text(which), app_.negative_letters);
  };
  record.north = bound(kTopLeftLatitude);
  record.west = bound(kTopLeftLongitude);
  record.south = bound(kBottomRightLatitude);
  record.east = bound(kBottomRightLongitude);
  record.width = static_cast<std::int32_t>(image->map_width());
  record.height = static_cast<std::int32_t>(image->map_height());
  const std::vector<std::uint8_t>& bytes = image->calibration();
  std::string text(bytes.begin(), std::find(bytes.begin(), bytes.end(), std::uint8_t{0}));
  if (!text.empty()) ReadCalibrationIntoRecord(std::move(text), kCalibrationSourceMap, &record);

  container_->ClearModified();
  list_.Select(0);
  ui_.ShowImage(list_.current());
  SetIdentity(path);
  saved_ = true;
  UpdateTitle();
  ui_.Repaint();
}

}  // namespace kv
