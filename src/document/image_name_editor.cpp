#include "document/image_name_editor.h"

#include "map/c_image.h"

namespace kv {

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string CutAtCharacter(std::string_view text, std::size_t max_bytes) {
  if (text.size() <= max_bytes) return std::string(text);
  std::size_t end = max_bytes;
  while (end > 0 && IsContinuationByte(text[end])) --end;
  return std::string(text.substr(0, end));
}

void ImageNameEditor::Begin(CImage* shown) {
  edited_ = shown;
  saved_name_ = shown != nullptr ? shown->name() : std::string();
}

CImage* ImageNameEditor::TextChanged(const CImage* shown, std::string_view text) {
  if (edited_ == nullptr || edited_ != shown) return nullptr;
  edited_->SetName(CutAtCharacter(text, kMaxImageNameBytes));
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
