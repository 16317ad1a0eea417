#ifndef KORVALE_VIEWS_WHOLE_BITMAP_LAYER_H_
#define KORVALE_VIEWS_WHOLE_BITMAP_LAYER_H_

// One stored bitmap that is the whole image (a map of a single image):
// decoded once, and each paint scales only the part in sight.

#include <QImage>

#include "views/image_layer.h"

namespace kv {

class CImage;

class WholeBitmapLayer final : public ImageLayer {
 public:
  // A bitmap that cannot be decoded shows nothing.
  explicit WholeBitmapLayer(const CImage& image);

  int width() const override { return image_.width(); }
  int height() const override { return image_.height(); }
  void Draw(QPainter& painter, const ImageViewGeometry& view, const QRect& exposed) override;
  std::size_t cached_bytes() const override {
    return static_cast<std::size_t>(image_.sizeInBytes());
  }

 private:
  QImage image_;
};

}  // namespace kv

#endif  // KORVALE_VIEWS_WHOLE_BITMAP_LAYER_H_
