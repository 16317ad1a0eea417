#include "map/c_image.h"

#include <algorithm>

#include "map/c_image_container.h"
#include "map/map_text.h"

namespace kv {

std::string BoundedText(std::string_view text, std::size_t max_bytes) {
  text = text.substr(0, text.find('\0'));
  return std::string(text.substr(0, max_bytes));
}

namespace {

const BitmapRecord& RecordOrEmpty(const std::shared_ptr<const BitmapRecord>& record) {
  static const BitmapRecord kNoBitmap;
  return record ? *record : kNoBitmap;
}

}  // namespace

const BitmapRecord& CImage::bitmap() const { return RecordOrEmpty(bitmap_); }

const BitmapRecord& CImage::reference_bitmap() const { return RecordOrEmpty(reference_); }

void CImage::SetBitmap(BitmapRecord bitmap) {
  bitmap_ = std::make_shared<const BitmapRecord>(std::move(bitmap));
  if (reference_bitmap().bytes.empty()) {
    reference_ = bitmap_;
    saved_depth_ = bitmap_->depth;
  }
  ++revision_;
}

void CImage::RestoreReferenceBitmap() {
  bitmap_ = reference_;
  ++revision_;
}

void CImage::SetName(std::string_view name) {
  name_ = CutToStoredLength(BoundedText(name, std::string::npos), kMaxImageNameLength);
  if (owner_ != nullptr) owner_->SetModified();
}

void CImage::set_corner_text(CornerText which, std::string_view text) {
  corners_[which] = CutToStoredLength(BoundedText(text, std::string::npos), kMaxCornerTextLength);
}

void CImage::SetCalibration(const std::uint8_t* bytes, std::size_t count) {
  calibration_.clear();
  if (count == 0) return;
  std::size_t length = std::max(count, kMinCalibrationSize);
  length += length % 2;
  calibration_.assign(length, 0);
  std::copy(bytes, bytes + count, calibration_.begin());
}

}  // namespace kv
