#ifndef KORVALE_VIEWS_CONVERTED_MAP_LAYER_H_
#define KORVALE_VIEWS_CONVERTED_MAP_LAYER_H_

// A converted map drawn from its tiles: the container's images after the
// overview, column by column, 160 x 131 pixels each. Tiles that come into
// sight are decoded on the layer's own thread (from copies of their
// bitmaps, so the worker never reads the document) and kept in a
// byte-budgeted cache; below half size a tile is kept reduced by a power of
// two, so a zoomed-out view holds many small tiles rather than a few big
// ones.

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "base/lru_byte_cache.h"
#include "map/map_tile_index.h"
#include "views/decode_queue.h"
#include "views/image_layer.h"

namespace kv {

class CImage;
class CImageContainer;

class ConvertedMapLayer final : public ImageLayer {
 public:
  static constexpr std::size_t kDefaultBudgetBytes = std::size_t{64} << 20;
  // Tiles are kept at 1/2^level of their size; level 3 (1/8) serves every
  // zoom from 0.125 down.
  static constexpr int kMaxLevel = 3;

  // REQUIRES: the container outlives the layer.
  ConvertedMapLayer(const CImageContainer& container, std::size_t budget_bytes);
  ~ConvertedMapLayer() override;

  int width() const override;
  int height() const override;
  void Draw(QPainter& painter, const ImageViewGeometry& view, const QRect& exposed) override;
  std::size_t cached_bytes() const override { return cache_.used_bytes(); }
  void SetArrivedHandler(ArrivedHandler handler) override { arrived_ = std::move(handler); }
  bool picture_complete() const override { return complete_; }
  bool busy() const override { return queue_->busy(); }

  // The reduction level tiles are kept at for a zoom.
  static int LevelFor(double zoom);

 private:
  // A tile's decoded form belongs to its image's bitmap as well as its
  // place, so a re-encoded map is decoded again.
  struct TileKey {
    std::size_t index;
    int level;
    const CImage* image;
    std::uint64_t revision;
    bool operator<(const TileKey& other) const {
      return std::tie(index, level, image, revision) <
             std::tie(other.index, other.level, other.image, other.revision);
    }
  };

  // Where a tile lies in the map, in image pixels.
  struct TilePlace {
    PixelRect rect;
    const CImage* image = nullptr;
  };

  using Queue = DecodeQueue<TileKey, std::vector<std::uint8_t>, QImage>;

  // Null image when the index holds no tile or the tile lies outside the map.
  TilePlace PlaceOf(const MapTileIndex& tiles, int column, int row) const;
  void Arrived(Queue::Results tiles);

  const CImageContainer& container_;
  LruByteCache<TileKey, QImage> cache_;
  // Where the tiles in sight that the last Draw lacked lie in the map.
  std::map<TileKey, PixelRect> sight_rects_;
  ArrivedHandler arrived_;
  bool complete_ = false;
  std::unique_ptr<Queue> queue_;  // last: its thread stops before the rest goes
};

}  // namespace kv

#endif  // KORVALE_VIEWS_CONVERTED_MAP_LAYER_H_
