#ifndef KORVALE_VIEWS_CONVERTED_MAP_LAYER_H_
#define KORVALE_VIEWS_CONVERTED_MAP_LAYER_H_

// A converted map drawn from its tiles: the container's images after the
// overview, column by column, 160 x 131 pixels each. Tiles are decoded when
// they come into sight and kept in a byte-budgeted cache; below half size a
// tile is kept reduced by a power of two, so a zoomed-out view holds many
// small tiles rather than a few big ones.

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <tuple>

#include "base/lru_byte_cache.h"
#include "views/image_layer.h"

namespace kv {

class CImageContainer;

class ConvertedMapLayer final : public ImageLayer {
 public:
  static constexpr std::size_t kDefaultBudgetBytes = std::size_t{64} << 20;
  // Tiles are kept at 1/2^level of their size; level 3 (1/8) serves every
  // zoom from 0.125 down.
  static constexpr int kMaxLevel = 3;

  // REQUIRES: the container outlives the layer.
  ConvertedMapLayer(const CImageContainer& container, std::size_t budget_bytes);

  int width() const override;
  int height() const override;
  void Draw(QPainter& painter, const ImageViewGeometry& view, const QRect& exposed) override;
  std::size_t cached_bytes() const override { return cache_.used_bytes(); }

  // The reduction level tiles are kept at for a zoom.
  static int LevelFor(double zoom);

 private:
  // A tile's decoded form belongs to its bitmap bytes as well as its place,
  // so a re-encoded map is decoded again.
  struct TileKey {
    std::size_t index;
    int level;
    const std::uint8_t* bytes;
    std::size_t size;
    bool operator<(const TileKey& other) const {
      return std::tie(index, level, bytes, size) <
             std::tie(other.index, other.level, other.bytes, other.size);
    }
  };

  const QImage& Tile(std::size_t index, int level);

  const CImageContainer& container_;
  LruByteCache<TileKey, QImage> cache_;
  QImage failed_;  // drawn as nothing: a tile that cannot be decoded
};

}  // namespace kv

#endif  // KORVALE_VIEWS_CONVERTED_MAP_LAYER_H_
