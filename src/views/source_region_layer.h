#ifndef KORVALE_VIEWS_SOURCE_REGION_LAYER_H_
#define KORVALE_VIEWS_SOURCE_REGION_LAYER_H_

// An image not yet converted, drawn straight from its file: the zoomed
// image is cut into blocks of 256 x 256 view pixels. The blocks a paint
// lacks are read from the file on the layer's own thread, in windows of
// whole block rows at the zoom (GdalRegionReader; one pass suits files that
// decode from the top, such as JPEG and PNG), and kept in a byte-budgeted
// cache, so scrolling back and repainting read nothing again. When a block
// in sight is missing the layer also asks for the ring of blocks around
// those in sight, so scrolling on by less than a block reads nothing.

#include <QImage>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "base/lru_byte_cache.h"
#include "bitmap/gdal/gdal_region_reader.h"
#include "views/decode_queue.h"
#include "views/image_layer.h"

namespace kv {

class SourceRegionLayer final : public ImageLayer {
 public:
  static constexpr std::size_t kDefaultBudgetBytes = std::size_t{64} << 20;
  static constexpr int kBlockSize = 256;

  // `width` and `height` are the size the document knows; a file that
  // cannot be opened draws nothing.
  SourceRegionLayer(const std::string& path, int width, int height, std::size_t budget_bytes);
  ~SourceRegionLayer() override;

  int width() const override { return width_; }
  int height() const override { return height_; }
  void Draw(QPainter& painter, const ImageViewGeometry& view, const QRect& exposed) override;
  std::size_t cached_bytes() const override { return cache_.used_bytes(); }
  void SetArrivedHandler(ArrivedHandler handler) override { arrived_ = std::move(handler); }
  bool picture_complete() const override { return complete_; }
  bool busy() const override { return queue_ && queue_->busy(); }

  bool is_open() const { return reader_ != nullptr; }
  // How many times the file has been read.
  int read_count() const { return read_count_; }
  // The thread of the latest read.
  std::thread::id read_thread() const { return read_thread_; }

 private:
  struct BlockKey {
    double zoom;
    int column;
    int row;
    bool operator<(const BlockKey& other) const {
      return std::tie(zoom, column, row) < std::tie(other.zoom, other.column, other.row);
    }
  };

  // The zoomed image's size, which the blocks at the edges are cut to.
  struct ContentSize {
    long long width;
    long long height;
  };

  // Blocks [first_column, last_column] x [first_row, last_row].
  struct BlockSpan {
    int first_column;
    int last_column;
    int first_row;
    int last_row;
    bool Holds(const BlockKey& key) const {
      return key.column >= first_column && key.column <= last_column && key.row >= first_row &&
             key.row <= last_row;
    }
  };

  using Queue = DecodeQueue<BlockKey, ContentSize, QImage>;

  // Empty (first > last) when the rectangle shows none of the image.
  static BlockSpan SpanIn(const ImageViewGeometry& view, const QRect& rect);
  void AskForMissing(const ImageViewGeometry& view, const BlockSpan& sight);
  // Blocks of the zooms drawn before, scaled to this one, under what is
  // missing at this zoom: the picture stays while the new blocks come.
  void DrawOtherZooms(QPainter& painter, const ImageViewGeometry& view, const QRect& exposed) const;
  void NoteZoom(double zoom);
  // On the worker: one read of the window under `batch`, cut into blocks.
  Queue::Results ReadBlocks(const Queue::Wanted& batch);
  static std::size_t BatchSize(const Queue::Wanted& waiting);
  void Arrived(Queue::Results blocks);
  PixelRect ImageRectOf(const BlockKey& key) const;

  std::unique_ptr<GdalRegionReader> reader_;  // used by the worker alone once it runs
  int width_;
  int height_;
  LruByteCache<BlockKey, QImage> cache_;
  ArrivedHandler arrived_;
  bool complete_ = false;
  std::vector<double> recent_zooms_;  // latest first
  std::atomic<int> read_count_ = 0;
  std::atomic<std::thread::id> read_thread_;
  std::unique_ptr<Queue> queue_;  // last: its thread stops before the rest goes
};

}  // namespace kv

#endif  // KORVALE_VIEWS_SOURCE_REGION_LAYER_H_
