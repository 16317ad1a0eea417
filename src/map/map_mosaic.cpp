#include "map/map_mosaic.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "base/exceptions.h"
#include "base/failure_reason.h"
#include "map/map_layout.h"
#include "map/map_tile_index.h"

namespace kv {

namespace {

// Byte offset of pixel (x, y) in an RGB image `width` pixels wide.
std::size_t RgbOffset(int width, int x, int y) {
  return 3 * (static_cast<std::size_t>(width) * static_cast<std::size_t>(y) +
              static_cast<std::size_t>(x));
}

void Paste(const RgbImage& tile, int left, int top, RgbImage* map) {
  const int width = std::min(tile.width, map->width - left);
  const int height = std::min(tile.height, map->height - top);
  if (width <= 0) return;
  for (int y = 0; y < height; ++y) {
    std::memcpy(map->rgb.data() + RgbOffset(map->width, left, top + y),
                tile.rgb.data() + RgbOffset(tile.width, 0, y), 3 * static_cast<std::size_t>(width));
  }
}

// The size a map states must be one that at most kMaxImages - 1 tiles
// cover; anything else comes from a damaged file and would only make us
// allocate what the file claims.
bool TilesCanCover(std::uint64_t width, std::uint64_t height) {
  if (width == 0 || height == 0) return false;
  const MapTileIndex tiles(width, height);
  return tiles.count() < kMaxImages;
}

}  // namespace

RgbImage RenderMosaic(const CImageContainer& container) {
  const CImage* overview = container.ImageAt(0);
  if (overview == nullptr) throw ErrUnknown();
  if (!TilesCanCover(overview->map_width(), overview->map_height())) {
    ErrNotOurFile error;
    const std::string size =
        std::to_string(overview->map_width()) + " x " + std::to_string(overview->map_height());
    error.set_reason(kReasonSizeBeyondTiles, size.c_str());
    throw error;
  }
  RgbImage map;
  map.width = static_cast<int>(overview->map_width());
  map.height = static_cast<int>(overview->map_height());
  try {
    map.rgb.assign(std::size_t{3} * overview->map_width() * overview->map_height(), 0);
  } catch (const std::bad_alloc&) {
    throw ErrBadAlloc();
  }
  const MapTileIndex tiles(overview->map_width(), overview->map_height());
  for (std::size_t i = kFirstTileImage; i < container.image_count(); ++i) {
    const int left = tiles.Left(tiles.ColumnOfImage(i));
    const int top = tiles.Top(tiles.RowOfImage(i));
    if (left >= map.width) break;
    Paste(DecodePalmBitmapRgb(container.ImageAt(i)->bitmap().bytes), left, top, &map);
  }
  return map;
}

}  // namespace kv
