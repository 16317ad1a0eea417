#include "views/source_region_layer.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>
#include <vector>

#include "bitmap/gdal/gdal_runtime.h"

namespace kv {

namespace {

// GDAL keeps decoded file blocks in a cache of its own; while the view
// reads, it may hold this much of them.
constexpr std::int64_t kGdalBlockCacheBytes = std::int64_t{32} << 20;

// A read takes whole block rows, more of them while the file pixels under
// them stay below this: long enough that a file decoding from the top is
// read in few passes, short enough that what scrolled away is dropped soon.
constexpr double kBatchSourcePixels = 32.0 * 1024 * 1024;

// How many zooms drawn before may stand in for blocks still missing, how
// far from the zoom shown they may be, and how many of their blocks a paint
// looks up at most.
constexpr std::size_t kRecentZooms = 4;
constexpr double kMostStandInScale = 4.0;
constexpr long long kMostStandInBlocks = 256;

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
  if (GdalRegionReader::Open(path, &reader_) != ConversionStatus::kOk) reader_.reset();
  if (!reader_) return;
  // The file decides what can be read; a size the document got wrong must
  // not send windows past its edges.
  width_ = reader_->width();
  height_ = reader_->height();
  queue_ = std::make_unique<Queue>([this](const Queue::Wanted& batch) { return ReadBlocks(batch); },
                                   &BatchSize,
                                   [this](Queue::Results blocks) { Arrived(std::move(blocks)); });
}

SourceRegionLayer::~SourceRegionLayer() = default;

SourceRegionLayer::BlockSpan SourceRegionLayer::SpanIn(const ImageViewGeometry& view,
                                                       const QRect& rect) {
  const long long left = std::max<long long>(0, rect.left() + view.scroll_x());
  const long long top = std::max<long long>(0, rect.top() + view.scroll_y());
  const long long right =
      std::min<long long>(view.content_width(), rect.right() + 1LL + view.scroll_x());
  const long long bottom =
      std::min<long long>(view.content_height(), rect.bottom() + 1LL + view.scroll_y());
  if (right <= left || bottom <= top) return {0, -1, 0, -1};
  return {static_cast<int>(left / kBlockSize), static_cast<int>((right - 1) / kBlockSize),
          static_cast<int>(top / kBlockSize), static_cast<int>((bottom - 1) / kBlockSize)};
}

std::size_t SourceRegionLayer::BatchSize(const Queue::Wanted& waiting) {
  const BlockKey& first = waiting.front().first;
  const double block_source_pixels = std::pow(kBlockSize / first.zoom, 2);
  double taken_pixels = 0;
  std::size_t count = 0;
  while (count < waiting.size() && waiting[count].first.zoom == first.zoom) {
    // A row is taken whole or not at all.
    const int row = waiting[count].first.row;
    std::size_t row_end = count;
    while (row_end < waiting.size() && waiting[row_end].first.zoom == first.zoom &&
           waiting[row_end].first.row == row) {
      ++row_end;
    }
    const double row_pixels = static_cast<double>(row_end - count) * block_source_pixels;
    if (count > 0 && taken_pixels + row_pixels > kBatchSourcePixels) break;
    taken_pixels += row_pixels;
    count = row_end;
  }
  return count;
}

void SourceRegionLayer::AskForMissing(const ImageViewGeometry& view, const BlockSpan& sight) {
  const int last_column = static_cast<int>((view.content_width() - 1) / kBlockSize);
  const int last_row = static_cast<int>((view.content_height() - 1) / kBlockSize);
  const BlockSpan ring{std::max(0, sight.first_column - 1),
                       std::min(last_column, sight.last_column + 1),
                       std::max(0, sight.first_row - 1), std::min(last_row, sight.last_row + 1)};
  const double zoom = view.zoom();
  if (complete_) {
    // Nothing in sight is missing: the ring asked for earlier may still
    // come, what scrolled further away is dropped.
    queue_->KeepWaitingOnly(
        [&](const BlockKey& key) { return key.zoom == zoom && ring.Holds(key); });
    return;
  }
  // Row by row from the top: the order a file that decodes from the top
  // reads fastest.
  std::vector<BlockKey> wanted;
  for (int row = ring.first_row; row <= ring.last_row; ++row) {
    for (int column = ring.first_column; column <= ring.last_column; ++column) {
      const BlockKey key{zoom, column, row};
      if (!cache_.Contains(key)) wanted.push_back(key);
    }
  }
  const ContentSize content{view.content_width(), view.content_height()};
  queue_->Want(wanted, [content](const BlockKey&) { return content; });
}

void SourceRegionLayer::Draw(QPainter& painter, const ImageViewGeometry& view,
                             const QRect& exposed) {
  if (!reader_ || width_ <= 0 || height_ <= 0) return;
  const double zoom = view.zoom();
  const BlockSpan sight = SpanIn(view, QRect(0, 0, view.client_width(), view.client_height()));
  std::set<BlockKey> pins;
  complete_ = true;
  for (int row = sight.first_row; row <= sight.last_row; ++row) {
    for (int column = sight.first_column; column <= sight.last_column; ++column) {
      const BlockKey key{zoom, column, row};
      pins.insert(key);
      if (!cache_.Contains(key)) complete_ = false;
    }
  }
  cache_.PinOnly(std::move(pins));
  if (sight.first_column <= sight.last_column) AskForMissing(view, sight);

  NoteZoom(zoom);
  if (!complete_) DrawOtherZooms(painter, view, exposed);
  const BlockSpan span = SpanIn(view, exposed);
  for (int row = span.first_row; row <= span.last_row; ++row) {
    for (int column = span.first_column; column <= span.last_column; ++column) {
      const QImage* block = cache_.Find(BlockKey{zoom, column, row});
      if (block == nullptr || block->isNull()) continue;
      painter.drawImage(
          QPoint(static_cast<int>(static_cast<long long>(column) * kBlockSize - view.scroll_x()),
                 static_cast<int>(static_cast<long long>(row) * kBlockSize - view.scroll_y())),
          *block);
    }
  }
}

void SourceRegionLayer::NoteZoom(double zoom) {
  if (!recent_zooms_.empty() && recent_zooms_.front() == zoom) return;
  std::erase(recent_zooms_, zoom);
  recent_zooms_.insert(recent_zooms_.begin(), zoom);
  if (recent_zooms_.size() > kRecentZooms) recent_zooms_.pop_back();
}

void SourceRegionLayer::DrawOtherZooms(QPainter& painter, const ImageViewGeometry& view,
                                       const QRect& exposed) const {
  const double zoom = view.zoom();
  const double left = std::max(0.0, static_cast<double>(exposed.left()) + view.scroll_x());
  const double top = std::max(0.0, static_cast<double>(exposed.top()) + view.scroll_y());
  const double right = static_cast<double>(exposed.right()) + 1 + view.scroll_x();
  const double bottom = static_cast<double>(exposed.bottom()) + 1 + view.scroll_y();
  if (right <= left || bottom <= top) return;
  // The zoom drawn longest ago first, so that the latest lies on top.
  for (auto it = recent_zooms_.rbegin(); it != recent_zooms_.rend(); ++it) {
    const double other = *it;
    const double scale = zoom / other;  // from the other zoom's content to this one's
    if (other == zoom || scale > kMostStandInScale || scale < 1 / kMostStandInScale) continue;
    const auto first_column = static_cast<long long>(left / scale / kBlockSize);
    const auto last_column = static_cast<long long>((right / scale - 1) / kBlockSize);
    const auto first_row = static_cast<long long>(top / scale / kBlockSize);
    const auto last_row = static_cast<long long>((bottom / scale - 1) / kBlockSize);
    if ((last_column - first_column + 1) * (last_row - first_row + 1) > kMostStandInBlocks)
      continue;
    for (long long row = first_row; row <= last_row; ++row) {
      for (long long column = first_column; column <= last_column; ++column) {
        const QImage* block =
            cache_.Peek(BlockKey{other, static_cast<int>(column), static_cast<int>(row)});
        if (block == nullptr || block->isNull()) continue;
        const QRectF target(static_cast<double>(column * kBlockSize) * scale - view.scroll_x(),
                            static_cast<double>(row * kBlockSize) * scale - view.scroll_y(),
                            block->width() * scale, block->height() * scale);
        painter.drawImage(target, *block);
      }
    }
  }
}

SourceRegionLayer::Queue::Results SourceRegionLayer::ReadBlocks(const Queue::Wanted& batch) {
  BlockSpan missing{INT_MAX, INT_MIN, INT_MAX, INT_MIN};
  for (const auto& [key, content] : batch) {
    missing.first_column = std::min(missing.first_column, key.column);
    missing.last_column = std::max(missing.last_column, key.column);
    missing.first_row = std::min(missing.first_row, key.row);
    missing.last_row = std::max(missing.last_row, key.row);
  }
  const double zoom = batch.front().first.zoom;
  const ContentSize content = batch.front().second;
  const long long left = static_cast<long long>(missing.first_column) * kBlockSize;
  const long long top = static_cast<long long>(missing.first_row) * kBlockSize;
  const long long right =
      std::min(content.width, static_cast<long long>(missing.last_column + 1) * kBlockSize);
  const long long bottom =
      std::min(content.height, static_cast<long long>(missing.last_row + 1) * kBlockSize);

  QImage region;
  if (right > left && bottom > top) {
    SourceWindow window;
    SourceSpan(left, right, content.width, zoom, width_, &window.x, &window.width);
    SourceSpan(top, bottom, content.height, zoom, height_, &window.y, &window.height);
    RgbImage rgb;
    ++read_count_;
    read_thread_ = std::this_thread::get_id();
    const GdalBlockCacheLimit limit(kGdalBlockCacheBytes);
    if (reader_->Read(window, static_cast<int>(right - left), static_cast<int>(bottom - top),
                      &rgb) == ConversionStatus::kOk) {
      region = QImage(rgb.rgb.data(), rgb.width, rgb.height, 3 * rgb.width, QImage::Format_RGB888)
                   .convertToFormat(QImage::Format_RGB32);
    }
  }
  // Blocks that failed are kept empty too: the file will not read better on
  // the next paint.
  Queue::Results blocks;
  for (const auto& [key, unused] : batch) {
    QImage block;
    if (!region.isNull()) {
      const long long x = static_cast<long long>(key.column) * kBlockSize;
      const long long y = static_cast<long long>(key.row) * kBlockSize;
      block = region.copy(static_cast<int>(x - left), static_cast<int>(y - top),
                          static_cast<int>(std::min<long long>(kBlockSize, content.width - x)),
                          static_cast<int>(std::min<long long>(kBlockSize, content.height - y)));
    }
    blocks.emplace_back(key, std::move(block));
  }
  return blocks;
}

PixelRect SourceRegionLayer::ImageRectOf(const BlockKey& key) const {
  const double edge = static_cast<double>(kBlockSize) / key.zoom;
  return {std::clamp(static_cast<int>(std::floor(key.column * edge)) - 1, 0, width_),
          std::clamp(static_cast<int>(std::floor(key.row * edge)) - 1, 0, height_),
          std::clamp(static_cast<int>(std::ceil((key.column + 1) * edge)) + 1, 0, width_),
          std::clamp(static_cast<int>(std::ceil((key.row + 1) * edge)) + 1, 0, height_)};
}

void SourceRegionLayer::Arrived(Queue::Results blocks) {
  for (auto& [key, block] : blocks) {
    const std::size_t bytes =
        std::max(static_cast<std::size_t>(block.sizeInBytes()), sizeof(QImage));
    const bool in_sight = cache_.IsPinned(key);
    cache_.Insert(key, std::move(block), bytes);
    if (!in_sight) continue;
    complete_ = false;
    if (arrived_) arrived_(ImageRectOf(key));
  }
}

}  // namespace kv
