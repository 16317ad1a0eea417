#ifndef KORVALE_MAP_IMAGE_LIST_OBSERVER_H_
#define KORVALE_MAP_IMAGE_LIST_OBSERVER_H_

#include <cstddef>
#include <vector>

// What the image list and the image view hear about the container's images.
// The desktop program's panes implement it; kvmap and tests record or ignore.

namespace kv {

class CImage;

class ImageListObserver {
 public:
  virtual ~ImageListObserver() = default;
  // A new image joined the list; the list shows and selects it.
  virtual void ImageAdded(CImage& image) = 0;
  // Several joined the list at its end, in this order; the last is
  // selected. Told once, so that a list of thousands of tiles is shown in
  // one step.
  virtual void ImagesAdded(const std::vector<CImage*>& images) {
    for (CImage* image : images) ImageAdded(*image);
  }
  virtual void ImageRemoved(CImage& image) = 0;
  virtual void ImageMoved(CImage& image, std::size_t position) = 0;
  // The image view shows this image.
  virtual void ShowImage(CImage& image) = 0;
};

}  // namespace kv

#endif  // KORVALE_MAP_IMAGE_LIST_OBSERVER_H_
