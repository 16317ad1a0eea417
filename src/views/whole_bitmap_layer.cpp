#include "views/whole_bitmap_layer.h"

#include <exception>

#include "bitmap/conversion_front.h"
#include "map/c_image.h"

namespace kv {

WholeBitmapLayer::WholeBitmapLayer(const CImage& image) {
  try {
    const RgbImage rgb = DecodePalmBitmapRgb(image.bitmap().bytes);
    if (rgb.width > 0 && rgb.height > 0) {
      image_ = QImage(rgb.rgb.data(), rgb.width, rgb.height, 3 * rgb.width, QImage::Format_RGB888)
                   .convertToFormat(QImage::Format_RGB32);
    }
  } catch (const std::exception&) {
    // The map reader reports damaged files; the view just stays empty.
    image_ = QImage();
  }
}

void WholeBitmapLayer::Draw(QPainter& painter, const ImageViewGeometry& view,
                            const QRect& exposed) {
  if (image_.isNull()) return;
  const PixelRect shown = view.ImageRectShownIn(PixelRectOf(exposed));
  if (shown.empty()) return;
  const QRect source(QPoint(shown.left, shown.top), QPoint(shown.right - 1, shown.bottom - 1));
  painter.drawImage(ViewRectOf(view, shown.left, shown.top, shown.right, shown.bottom), image_,
                    source);
}

}  // namespace kv
