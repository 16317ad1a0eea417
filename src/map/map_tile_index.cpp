#include "map/map_tile_index.h"

#include <algorithm>
#include <limits>

#include "map/map_layout.h"

namespace kv {

namespace {

int ClampedSide(std::uint64_t pixels) {
  return static_cast<int>(
      std::min<std::uint64_t>(pixels, static_cast<std::uint64_t>(std::numeric_limits<int>::max())));
}

}  // namespace

MapTileIndex::MapTileIndex(std::uint64_t map_width, std::uint64_t map_height)
    : grid_(TileGridFor(ClampedSide(map_width), ClampedSide(map_height), kTileWidth, kTileHeight,
                        ScaleRatio{})) {}

}  // namespace kv
