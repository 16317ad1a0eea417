#ifndef KORVALE_DOCUMENT_IMAGE_LIST_MODEL_H_
#define KORVALE_DOCUMENT_IMAGE_LIST_MODEL_H_

// The document's image list: the container's images in list order, the
// selected entry and the totals the status line and previewer show. Entry
// 0 is the document's current image. The list view only shows this model.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "map/c_image_container.h"
#include "map/image_list_observer.h"

namespace kv {

class DocumentUi;

// The orderings the list can be shown in. They order what is shown only:
// the stored order is the map's, and a shown ordering never changes it.
enum class ImageOrdering { kByName, kByDate, kBySize, kByArea, kByDepth };

// Whether `a` is shown before `b` in `ordering`; ties go by name.
bool ShownBefore(ImageOrdering ordering, const CImage& a, const CImage& b);

// A byte count as the status line shows it.
enum class SizeUnit { kNothing, kBytes, kKilobytes };
struct SizeDisplay {
  std::uint64_t value = 0;
  SizeUnit unit = SizeUnit::kNothing;
};

// 0 shows the "nothing" text with the kilobyte unit; above 2 kilobytes
// (rounded) kilobytes; otherwise bytes.
SizeDisplay DisplaySize(std::uint64_t bytes);

// Hears each change of the list's rows as it happens, so that a view keeps
// its selection and scroll position over them. Told after the list changed
// and before the document's user interface hears of it.
class ImageListRowListener {
 public:
  virtual ~ImageListRowListener() = default;
  // `images` now stand from row `first` on.
  virtual void RowsInserted(std::size_t first, const std::vector<CImage*>& images) = 0;
  virtual void RowRemoved(std::size_t row) = 0;
  // The entry in row `from` now stands in row `to`.
  virtual void RowMoved(std::size_t from, std::size_t to) = 0;
  // The list is being destroyed; it tells nothing more.
  virtual void ListGone() = 0;
};

class ImageListModel final : public ImageListObserver {
 public:
  explicit ImageListModel(DocumentUi& ui) : ui_(ui) {}
  ~ImageListModel() override;
  ImageListModel(const ImageListModel&) = delete;
  ImageListModel& operator=(const ImageListModel&) = delete;

  // One listener at a time; null for none.
  void SetRowListener(ImageListRowListener* listener) const { row_listener_ = listener; }

  // The container whose images this lists.
  void Attach(CImageContainer* container) { container_ = container; }

  std::size_t count() const { return entries_.size(); }
  // Null for a negative index or one past the list.
  CImage* ImageAt(std::ptrdiff_t index) const;
  CImage* current() const { return ImageAt(0); }
  // -1 when nothing is selected.
  std::ptrdiff_t selected_index() const;
  CImage* selected_image() const { return ImageAt(selected_index()); }
  std::ptrdiff_t Find(const CImage* image) const;

  // A negative index counts as 0; beyond the list selects nothing. The
  // previewer shows the selected image.
  void Select(std::ptrdiff_t index);
  // A changed entry (name, depth): the list and previewer show it anew.
  void Refresh(CImage& image);

  std::uint64_t TotalBytes() const;
  // String ID of the word after the count: singular for exactly one entry.
  std::uint32_t EntriesWordId() const;

  // ImageListObserver
  void ImageAdded(CImage& image) override;
  void ImagesAdded(const std::vector<CImage*>& images) override;
  void ImageRemoved(CImage& image) override;
  void ImageMoved(CImage& image, std::size_t position) override;
  void ShowImage(CImage& image) override;

 private:
  DocumentUi& ui_;
  CImageContainer* container_ = nullptr;
  std::vector<CImage*> entries_;
  CImage* selected_ = nullptr;
  // A view's adapter, which does not change the list.
  mutable ImageListRowListener* row_listener_ = nullptr;
};

}  // namespace kv

#endif  // KORVALE_DOCUMENT_IMAGE_LIST_MODEL_H_
