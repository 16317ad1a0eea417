#ifndef KORVALE_VIEWS_SOURCE_REGION_LAYER_H_
#define KORVALE_VIEWS_SOURCE_REGION_LAYER_H_

// An image not yet converted, drawn straight from its file: the zoomed
// image is cut into blocks of 256 x 256 view pixels. The blocks a paint
// lacks are read from the file in one window at the zoom (GdalRegionReader;
// one pass suits files that decode from the top, such as JPEG and PNG) and
// kept in a byte-budgeted cache, so scrolling back and repainting read
// nothing again. A paint that must read also takes the ring of blocks
// around those in sight, so scrolling on by less than a block reads nothing.

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>

#include "base/lru_byte_cache.h"
#include "bitmap/gdal_region_reader.h"
#include "views/image_layer.h"

namespace kv {

class SourceRegionLayer final : public ImageLayer {
 public:
  static constexpr std::size_t kDefaultBudgetBytes = std::size_t{64} << 20;
  static constexpr int kBlockSize = 256;

  // `width` and `height` are the size the document knows; a file that
  // cannot be opened draws nothing.
  SourceRegionLayer(const std::string& path, int width, int height, std::size_t budget_bytes);

  int width() const override { return width_; }
  int height() const override { return height_; }
  void Draw(QPainter& painter, const ImageViewGeometry& view, const QRect& exposed) override;
  std::size_t cached_bytes() const override { return cache_.used_bytes(); }

  bool is_open() const { return reader_ != nullptr; }
  // How many times the file has been read.
  int read_count() const { return read_count_; }

 private:
  struct BlockKey {
    double zoom;
    int column;
    int row;
    bool operator<(const BlockKey& other) const {
      return std::tie(zoom, column, row) < std::tie(other.zoom, other.column, other.row);
    }
  };

  // Blocks [first_column, last_column] x [first_row, last_row].
  struct BlockSpan {
    int first_column;
    int last_column;
    int first_row;
    int last_row;
  };

  bool AnyMissing(double zoom, const BlockSpan& span) const;
  void ReadMissingBlocks(const ImageViewGeometry& view, const BlockSpan& span);

  std::unique_ptr<GdalRegionReader> reader_;
  int width_;
  int height_;
  LruByteCache<BlockKey, QImage> cache_;
  int read_count_ = 0;
};

}  // namespace kv

#endif  // KORVALE_VIEWS_SOURCE_REGION_LAYER_H_
