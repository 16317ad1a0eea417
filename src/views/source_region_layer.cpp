#include "views/source_region_layer.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "bitmap/gdal_runtime.h"

namespace kv {

namespace {

// GDAL keeps decoded file blocks in a cache of its own; while the view
// reads, it may hold this much of them.
constexpr std::int64_t kGdalBlockCacheBytes = std::int64_t{32} << 20;

// Content pixel (a zoomed image pixel) back to the image pixel whose
// column or row it starts in.
int ImagePixelOf(long long content, double zoom, int limit) {
  return std::clamp(static_cast<int>(std::floor(static_cast<double>(content) / zoom)), 0, limit);
}

// The source pixels under content pixels [from, to) along one axis; the far
// edge of the content reaches the image's edge.
void SourceSpan(long long from, long long to, long long content, double zoom, int size, int* start,
                int* length) {
  *start = ImagePixelOf(from, zoom, size - 1);
  const int end = to >= content ? size : ImagePixelOf(to, zoom, size);
  *length = std::max(1, end - *start);
}

}  // namespace

SourceRegionLayer::SourceRegionLayer(const std::string& path, int width, int height,
                                     std::size_t budget_bytes)
    : width_(width), height_(height), cache_(budget_bytes) {
  if (GdalRegionReader::Open(path, &reader_) != kConvOk) reader_.reset();
  // The file decides what can be read; a size the document got wrong must
  // not send windows past its edges.
  if (reader_) {
    width_ = reader_->width();
    height_ = reader_->height();
  }
}

bool SourceRegionLayer::AnyMissing(double zoom, const BlockSpan& span) const {
  for (int column = span.first_column; column <= span.last_column; ++column) {
    for (int row = span.first_row; row <= span.last_row; ++row) {
      if (!cache_.Contains(BlockKey{zoom, column, row})) return true;
    }
  }
  return false;
}

void SourceRegionLayer::ReadMissingBlocks(const ImageViewGeometry& view, const BlockSpan& span) {
  const double zoom = view.zoom();
  BlockSpan missing{INT_MAX, INT_MIN, INT_MAX, INT_MIN};
  for (int column = span.first_column; column <= span.last_column; ++column) {
    for (int row = span.first_row; row <= span.last_row; ++row) {
      if (cache_.Contains(BlockKey{zoom, column, row})) continue;
      missing.first_column = std::min(missing.first_column, column);
      missing.last_column = std::max(missing.last_column, column);
      missing.first_row = std::min(missing.first_row, row);
      missing.last_row = std::max(missing.last_row, row);
    }
  }
  if (missing.first_column > missing.last_column) return;
  const long long content_width = view.content_width();
  const long long content_height = view.content_height();
  const long long left = static_cast<long long>(missing.first_column) * kBlockSize;
  const long long top = static_cast<long long>(missing.first_row) * kBlockSize;
  const long long right =
      std::min(content_width, static_cast<long long>(missing.last_column + 1) * kBlockSize);
  const long long bottom =
      std::min(content_height, static_cast<long long>(missing.last_row + 1) * kBlockSize);
  if (right <= left || bottom <= top) return;

  SourceWindow window;
  SourceSpan(left, right, content_width, zoom, width_, &window.x, &window.width);
  SourceSpan(top, bottom, content_height, zoom, height_, &window.y, &window.height);
  RgbImage rgb;
  QImage region;
  ++read_count_;
  {
    GdalBlockCacheLimit limit(kGdalBlockCacheBytes);
    if (reader_->Read(window, static_cast<int>(right - left), static_cast<int>(bottom - top),
                      &rgb) == kConvOk) {
      region = QImage(rgb.rgb.data(), rgb.width, rgb.height, 3 * rgb.width, QImage::Format_RGB888)
                   .convertToFormat(QImage::Format_RGB32);
    }
  }
  // Blocks that failed are kept empty too: the file will not read better on
  // the next paint.
  for (int column = missing.first_column; column <= missing.last_column; ++column) {
    for (int row = missing.first_row; row <= missing.last_row; ++row) {
      const BlockKey key{zoom, column, row};
      if (cache_.Contains(key)) continue;
      QImage block;
      if (!region.isNull()) {
        block = region.copy(static_cast<int>(column * kBlockSize - left),
                            static_cast<int>(row * kBlockSize - top), kBlockSize, kBlockSize);
        const int block_width =
            static_cast<int>(std::min<long long>(kBlockSize, content_width - column * kBlockSize));
        const int block_height =
            static_cast<int>(std::min<long long>(kBlockSize, content_height - row * kBlockSize));
        if (block_width < kBlockSize || block_height < kBlockSize) {
          block = block.copy(0, 0, block_width, block_height);
        }
      }
      const std::size_t bytes =
          std::max(static_cast<std::size_t>(block.sizeInBytes()), sizeof(QImage));
      cache_.Insert(key, std::move(block), bytes);
    }
  }
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
  const BlockSpan span{static_cast<int>(content_left / kBlockSize),
                       static_cast<int>((content_right - 1) / kBlockSize),
                       static_cast<int>(content_top / kBlockSize),
                       static_cast<int>((content_bottom - 1) / kBlockSize)};
  if (AnyMissing(view.zoom(), span)) {
    const int last_column = static_cast<int>((view.content_width() - 1) / kBlockSize);
    const int last_row = static_cast<int>((view.content_height() - 1) / kBlockSize);
    ReadMissingBlocks(
        view, {std::max(0, span.first_column - 1), std::min(last_column, span.last_column + 1),
               std::max(0, span.first_row - 1), std::min(last_row, span.last_row + 1)});
  }
  for (int row = span.first_row; row <= span.last_row; ++row) {
    for (int column = span.first_column; column <= span.last_column; ++column) {
      const QImage* block = cache_.Find(BlockKey{view.zoom(), column, row});
      if (block == nullptr || block->isNull()) continue;
      painter.drawImage(
          QPoint(static_cast<int>(static_cast<long long>(column) * kBlockSize - view.scroll_x()),
                 static_cast<int>(static_cast<long long>(row) * kBlockSize - view.scroll_y())),
          *block);
    }
  }
}

}  // namespace kv
