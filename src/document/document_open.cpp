// Re-opening a map database the program wrote.

#include "base/exceptions.h"
#include "base/file_extension.h"
#include "document/document.h"
#include "document/image_kind.h"
#include "map/map_file.h"
#include "map/map_image_calibration.h"

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

  if (reset_calibration) ClearCalibrationRecord(&app_.calibration);
  ReadMapImageCalibration(*image, app_.negative_letters, &app_.calibration);

  container_->ClearModified();
  list_.Select(0);
  ui_.ShowImage(list_.current());
  SetIdentity(path);
  saved_ = true;
  UpdateTitle();
  ui_.Repaint();
}

}  // namespace kv
