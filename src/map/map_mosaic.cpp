#include "map/map_mosaic.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "base/exceptions.h"
#include "base/failure_reason.h"
#include "map/map_layout.h"

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
  const std::uint64_t columns = (width + kTileWidth - 1) / kTileWidth;
  const std::uint64_t rows = (height + kTileHeight - 1) / kTileHeight;
  return columns <= kMaxImages && rows <= kMaxImages && columns * rows < kMaxImages;
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
  const std::size_t rows = (overview->map_height() + kTileHeight - 1) / kTileHeight;
  for (std::size_t i = 1; i < container.image_count(); ++i) {
    const std::size_t tile = i - 1;
    const int left = static_cast<int>(tile / rows) * kTileWidth;
    const int top = static_cast<int>(tile % rows) * kTileHeight;
    if (left >= map.width) break;
    Paste(DecodePalmBitmapRgb(container.ImageAt(i)->bitmap().bytes), left, top, &map);
  }
  return map;
}

}  // namespace kv
