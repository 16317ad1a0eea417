#ifndef KORVALE_VIEWS_IMAGE_LAYER_H_
#define KORVALE_VIEWS_IMAGE_LAYER_H_

// What the image view draws its image from: a converted map's tiles, a
// single stored bitmap, or a source file read region by region. Each draws
// only the part of the image inside the exposed rectangle, at the view's
// zoom, from pieces it decoded earlier. Pieces it lacks are decoded off the
// window's thread; when they arrive the layer says where, and the view
// paints that part again. What is in sight stays cached.

#include <QPainter>
#include <QRect>
#include <cstddef>
#include <functional>

#include "document/image_view_geometry.h"

namespace kv {

class ImageLayer {
 public:
  virtual ~ImageLayer() = default;

  // The image size in pixels; 0 x 0 when there is nothing to show.
  virtual int width() const = 0;
  virtual int height() const = 0;

  // `exposed` is in view pixels. Draws what is decoded and asks for the
  // rest of what is in sight; what is not drawn is left as it was.
  virtual void Draw(QPainter& painter, const ImageViewGeometry& view, const QRect& exposed) = 0;

  // Bytes the decoded pieces take now: within the layer's budget, past it
  // only by pieces in sight.
  virtual std::size_t cached_bytes() const = 0;

  // Told, on the window's thread, the image rectangle a piece in sight
  // covers once it has been decoded.
  using ArrivedHandler = std::function<void(const PixelRect& image_rect)>;
  virtual void SetArrivedHandler(ArrivedHandler /*handler*/) {}
  // True when the last Draw found everything in sight decoded and nothing
  // has arrived since.
  virtual bool picture_complete() const { return true; }
  // True while pieces are waiting or being decoded.
  virtual bool busy() const { return false; }
};

// Where image rectangle [left, right) x [top, bottom) lands in the view:
// both edges go through the same truncation, so neighbouring pieces meet
// without gaps.
inline QRect ViewRectOf(const ImageViewGeometry& view, int left, int top, int right, int bottom) {
  const PixelPoint from = view.ViewPointOf(left, top);
  const PixelPoint to = view.ViewPointOf(right, bottom);
  return QRect(QPoint(from.x, from.y), QPoint(to.x - 1, to.y - 1));
}

inline PixelRect PixelRectOf(const QRect& rect) {
  return {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
}

}  // namespace kv

#endif  // KORVALE_VIEWS_IMAGE_LAYER_H_
