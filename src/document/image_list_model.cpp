#include "document/image_list_model.h"

#include <algorithm>

#include "document/document_texts.h"
#include "document/document_ui.h"

namespace kv {

SizeDisplay DisplaySize(std::uint64_t bytes) {
  if (bytes == 0) return {0, SizeUnit::kNothing};
  const std::uint64_t kilobytes = (bytes + 512) / 1024;
  if (kilobytes > 2) return {kilobytes, SizeUnit::kKilobytes};
  return {bytes, SizeUnit::kBytes};
}

bool ShownBefore(ImageOrdering ordering, const CImage& a, const CImage& b) {
  switch (ordering) {
    case ImageOrdering::kByDate:
      return LessByDate(a, b);
    case ImageOrdering::kBySize:
      return LessBySize(a, b);
    case ImageOrdering::kByArea:
      return LessByArea(a, b);
    case ImageOrdering::kByDepth:
      return LessByDepth(a, b);
    case ImageOrdering::kByName:
      break;
  }
  return LessByName(a, b);
}

CImage* ImageListModel::ImageAt(std::ptrdiff_t index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return nullptr;
  return entries_[static_cast<std::size_t>(index)];
}

std::ptrdiff_t ImageListModel::Find(const CImage* image) const {
  auto it = std::find(entries_.begin(), entries_.end(), image);
  return it == entries_.end() || image == nullptr ? -1 : it - entries_.begin();
}

std::ptrdiff_t ImageListModel::selected_index() const { return Find(selected_); }

void ImageListModel::Select(std::ptrdiff_t index) {
  selected_ = ImageAt(std::max<std::ptrdiff_t>(index, 0));
  ui_.PreviewImage(selected_);
  ui_.ImageListChanged(*this);
}

void ImageListModel::Refresh(CImage& image) {
  if (&image == selected_) ui_.PreviewImage(selected_);
  ui_.ImageListChanged(*this);
}

std::uint64_t ImageListModel::TotalBytes() const {
  std::uint64_t total = 0;
  for (const CImage* image : entries_) total += image->bitmap().bytes.size();
  return total;
}

std::uint32_t ImageListModel::EntriesWordId() const {
  return entries_.size() == 1 ? kOneEntryWordId : kEntriesWordId;
}

ImageListModel::~ImageListModel() {
  if (row_listener_ != nullptr) row_listener_->ListGone();
}

void ImageListModel::ImageAdded(CImage& image) { ImagesAdded({&image}); }

void ImageListModel::ImagesAdded(const std::vector<CImage*>& images) {
  if (images.empty()) return;
  const std::size_t first = entries_.size();
  entries_.insert(entries_.end(), images.begin(), images.end());
  selected_ = images.back();
  if (row_listener_ != nullptr) row_listener_->RowsInserted(first, images);
  ui_.ImageListChanged(*this);
}

void ImageListModel::ImageRemoved(CImage& image) {
  const std::ptrdiff_t index = Find(&image);
  if (index < 0) return;
  entries_.erase(entries_.begin() + index);
  if (selected_ == &image) {
    // The entry that takes its place, or the new last one.
    selected_ =
        ImageAt(std::min<std::ptrdiff_t>(index, static_cast<std::ptrdiff_t>(entries_.size()) - 1));
  }
  if (row_listener_ != nullptr) row_listener_->RowRemoved(static_cast<std::size_t>(index));
  ui_.ImageListChanged(*this);
}

void ImageListModel::ImageMoved(CImage& image, std::size_t position) {
  const std::ptrdiff_t index = Find(&image);
  if (index < 0) return;
  entries_.erase(entries_.begin() + index);
  position = std::min(position, entries_.size());
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(position), &image);
  if (row_listener_ != nullptr) {
    row_listener_->RowMoved(static_cast<std::size_t>(index), position);
  }
}

void ImageListModel::ShowImage(CImage& image) { ui_.ShowImage(&image); }

}  // namespace kv
