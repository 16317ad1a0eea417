#include "document/image_name_editor.h"

#include "base/utf8_cut.h"
#include "map/c_image.h"

namespace kv {

void ImageNameEditor::Begin(CImage* shown) {
  edited_ = shown;
  saved_name_ = shown != nullptr ? shown->name() : std::string();
}

CImage* ImageNameEditor::TextChanged(const CImage* shown, std::string_view text) {
  if (edited_ == nullptr || edited_ != shown) return nullptr;
  edited_->SetName(CutUtf8(text, kMaxImageNameLength));
  return edited_;
}

CImage* ImageNameEditor::End() {
  CImage* restored = nullptr;
  if (edited_ != nullptr && edited_->name().empty()) {
    edited_->SetName(saved_name_);
    restored = edited_;
  }
  edited_ = nullptr;
  saved_name_.clear();
  return restored;
}

void ImageNameEditor::Forget() {
  edited_ = nullptr;
  saved_name_.clear();
}

}  // namespace kv
