#ifndef KORVALE_BENCH_BENCH_CONVERTED_MAP_H_
#define KORVALE_BENCH_BENCH_CONVERTED_MAP_H_

// A converted map of `size` x `size` pixels built in memory the way
// make_full_map builds its map: 8-bit photo-like tiles, a few distinct ones
// repeated.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "bitmap/palm/palette_state.h"
#include "map/c_image_container.h"
#include "map/map_layout.h"
#include "map/stored_bitmap.h"
#include "synthetic_tile.h"

namespace kv::bench {

inline std::unique_ptr<CImageContainer> ConvertedMapOfSize(int size) {
  constexpr int kDistinctTiles = 97;
  PaletteState palette;
  std::vector<std::vector<std::uint8_t>> tiles;
  for (int i = 0; i < kDistinctTiles; ++i) tiles.push_back(EncodeSyntheticTile(i, i == 0, palette));
  auto map = std::make_unique<CImageContainer>("Bench", nullptr);
  const int columns = (size + kTileWidth - 1) / kTileWidth;
  const int rows = (size + kTileHeight - 1) / kTileHeight;
  for (int i = 0; i <= columns * rows; ++i) {
    auto image = std::make_unique<CImage>();
    image->SetBitmap(StoredBitmap(tiles[static_cast<std::size_t>(i) % tiles.size()]));
    map->AddImage(std::move(image));
  }
  map->ImageAt(0)->set_map_size(static_cast<std::uint32_t>(size), static_cast<std::uint32_t>(size));
  return map;
}

}  // namespace kv::bench

#endif  // KORVALE_BENCH_BENCH_CONVERTED_MAP_H_
