#include "views/source_region_layer.h"

#include <algorithm>
#include <cmath>

namespace kv {

namespace {

// Content pixel (a zoomed image pixel) back to the image pixel whose
// column or row it starts in.
int ImagePixelOf(long long content, double zoom, int limit) {
  return std::clamp(static_cast<int>(std::floor(static_cast<double>(content) / zoom)), 0, limit);
}

}  // namespace

SourceRegionLayer::SourceRegionLayer(const std::string& path, int width, int height,
                                     std::size_t budget_bytes)
    : width_(width), height_(height), cache_(budget_bytes) {
  if (GdalRegionReader::Open(path, &reader_) != kConvOk) reader_.reset();
  // The file decides what can be read; a size the document got wrong must
  // not send windows past its edges.
  if (reader_ && (reader_->width() != width_ || reader_->height() != height_)) {
    width_ = reader_->width();
    height_ = reader_->height();
  }
}

const QImage& SourceRegionLayer::Block(const ImageViewGeometry& view, int column, int row) {
  const BlockKey key{view.zoom(), column, row};
  if (const QImage* cached = cache_.Find(key)) return *cached;
  const double zoom = view.zoom();
  const long long left = static_cast<long long>(column) * kBlockSize;
  const long long top = static_cast<long long>(row) * kBlockSize;
  const int out_width =
      static_cast<int>(std::min<long long>(kBlockSize, view.content_width() - left));
  const int out_height =
      static_cast<int>(std::min<long long>(kBlockSize, view.content_height() - top));
  if (out_width <= 0 || out_height <= 0) return failed_;
  SourceWindow window;
  window.x = ImagePixelOf(left, zoom, width_ - 1);
  window.y = ImagePixelOf(top, zoom, height_ - 1);
  const int right = left + out_width >= view.content_width()
                        ? width_
                        : ImagePixelOf(left + out_width, zoom, width_);
  const int bottom = top + out_height >= view.content_height()
                         ? height_
                         : ImagePixelOf(top + out_height, zoom, height_);
  window.width = std::max(1, right - window.x);
  window.height = std::max(1, bottom - window.y);
  RgbImage rgb;
  QImage block;
  if (reader_->Read(window, out_width, out_height, &rgb) == kConvOk) {
    block = QImage(rgb.rgb.data(), rgb.width, rgb.height, 3 * rgb.width, QImage::Format_RGB888)
                .convertToFormat(QImage::Format_RGB32);
  }
  // A block that failed is kept empty too: the file will not read better
  // on the next paint.
  const std::size_t bytes = std::max(static_cast<std::size_t>(block.sizeInBytes()), sizeof(QImage));
  if (const QImage* kept = cache_.Insert(key, std::move(block), bytes)) return *kept;
  return failed_;
}

void SourceRegionLayer::Draw(QPainter& painter, const ImageViewGeometry& view,
                             const QRect& exposed) {
  if (!reader_ || width_ <= 0 || height_ <= 0) return;
  const long long content_left = std::max<long long>(0, exposed.left() + view.scroll_x());
  const long long content_top = std::max<long long>(0, exposed.top() + view.scroll_y());
  const long long content_right =
      std::min<long long>(view.content_width(), exposed.right() + 1LL + view.scroll_x());
  const long long content_bottom =
      std::min<long long>(view.content_height(), exposed.bottom() + 1LL + view.scroll_y());
  if (content_right <= content_left || content_bottom <= content_top) return;
  for (long long column = content_left / kBlockSize; column <= (content_right - 1) / kBlockSize;
       ++column) {
    for (long long row = content_top / kBlockSize; row <= (content_bottom - 1) / kBlockSize;
         ++row) {
      const QImage& block = Block(view, static_cast<int>(column), static_cast<int>(row));
      if (block.isNull()) continue;
      painter.drawImage(QPoint(static_cast<int>(column * kBlockSize - view.scroll_x()),
                               static_cast<int>(row * kBlockSize - view.scroll_y())),
                        block);
    }
  }
}

}  // namespace kv
