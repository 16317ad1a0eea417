#include "map/c_image_container.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "base/exceptions.h"
#include "pdb/palm_time.h"

namespace kv {

CImageContainer::CImageContainer(std::string base_name, ImageListObserver* observer)
    : base_name_(std::move(base_name)), observer_(observer) {}

CImageContainer::~CImageContainer() {
  // Last first, as the list was built.
  while (!images_.empty()) images_.pop_back();
}

std::vector<std::unique_ptr<CImage>>::iterator CImageContainer::Find(const CImage* image) {
  return std::find_if(
      images_.begin(), images_.end(),
      [image](const std::unique_ptr<CImage>& listed) { return listed.get() == image; });
}

CImage& CImageContainer::AddImage(std::unique_ptr<CImage> image) {
  if (images_.size() >= kMaxImages) throw ErrImageListFull();
  images_.push_back(std::move(image));
  CImage& added = *images_.back();
  added.owner_ = this;
  modified_ = true;
  if (observer_ != nullptr) observer_->ImageAdded(added);
  return added;
}

void CImageContainer::AddImages(std::vector<std::unique_ptr<CImage>> images) {
  if (images.size() > kMaxImages - std::min(images_.size(), kMaxImages)) {
    throw ErrImageListFull();
  }
  std::vector<CImage*> added;
  added.reserve(images.size());
  images_.reserve(images_.size() + images.size());
  for (std::unique_ptr<CImage>& image : images) {
    image->owner_ = this;
    added.push_back(image.get());
    images_.push_back(std::move(image));
  }
  if (!added.empty()) modified_ = true;
  if (observer_ != nullptr) observer_->ImagesAdded(added);
}

bool CImageContainer::MoveImage(const CImage* image, std::size_t position) {
  auto it = Find(image);
  if (it == images_.end()) return false;
  std::unique_ptr<CImage> moving = std::move(*it);
  images_.erase(it);
  position = std::min(position, images_.size());
  CImage& moved =
      **images_.insert(images_.begin() + static_cast<std::ptrdiff_t>(position), std::move(moving));
  modified_ = true;
  if (observer_ != nullptr) observer_->ImageMoved(moved, position);
  return true;
}

std::unique_ptr<CImage> CImageContainer::RemoveImage(const CImage* image) {
  auto it = Find(image);
  if (it == images_.end()) return nullptr;
  std::unique_ptr<CImage> removed = std::move(*it);
  images_.erase(it);
  removed->owner_ = nullptr;
  // An unconverted image that leaves the list leaves its source behind.
  std::erase_if(unconverted_,
                [image](const UnconvertedEntry& entry) { return entry.image == image; });
  modified_ = true;
  if (observer_ != nullptr) observer_->ImageRemoved(*removed);
  return removed;
}

std::string CImageContainer::NextImageName() {
  return base_name_ + " " + std::to_string(name_counter_++);
}

bool CImageContainer::IsModified() const {
  return modified_ || std::any_of(images_.begin(), images_.end(), [](const auto& image) {
           return image->bitmap().depth != image->saved_depth();
         });
}

void CImageContainer::MarkSaved() {
  for (auto& image : images_) image->MarkSaved();
  modified_ = false;
}

CImage* CImageContainer::ImageAt(std::size_t index) const {
  return index < images_.size() ? images_[index].get() : nullptr;
}

namespace {

int CompareNoCase(std::string_view a, std::string_view b) {
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    int ca = std::tolower(static_cast<unsigned char>(a[i]));
    int cb = std::tolower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

template <typename Key>
bool LessByKeyThenName(const CImage& a, const CImage& b, Key key) {
  auto ka = key(a);
  auto kb = key(b);
  if (ka != kb) return ka < kb;
  return CompareNoCase(a.name(), b.name()) < 0;
}

}  // namespace

bool LessByName(const CImage& a, const CImage& b) { return CompareNoCase(a.name(), b.name()) < 0; }

bool LessByDate(const CImage& a, const CImage& b) {
  return LessByKeyThenName(a, b,
                           [](const CImage& i) { return UnixFromPalmDate(i.date()) / 86400; });
}

bool LessBySize(const CImage& a, const CImage& b) {
  return LessByKeyThenName(a, b, [](const CImage& i) { return i.bitmap().bytes.size(); });
}

bool LessByArea(const CImage& a, const CImage& b) {
  return LessByKeyThenName(
      a, b, [](const CImage& i) { return std::int64_t{i.bitmap().width} * i.bitmap().height; });
}

bool LessByDepth(const CImage& a, const CImage& b) {
  return LessByKeyThenName(a, b, [](const CImage& i) { return i.bitmap().depth; });
}

}  // namespace kv
