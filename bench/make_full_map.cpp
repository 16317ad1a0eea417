// Writes a map holding as many images as a map may (kMaxImages): an
// overview and 8-bit tiles of a photo-like picture, as kvmap convert would
// store them. The benchmark times opening it.
//
//   make_full_map OUT.prc

#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bitmap/palm/palette_state.h"
#include "map/c_image_container.h"
#include "map/map_file.h"
#include "map/stored_bitmap.h"
#include "synthetic_tile.h"

namespace {

// Tiles drawn from different parts of the picture; the map repeats them.
constexpr int kDistinctTiles = 97;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_full_map OUT.prc\n");
    return 2;
  }
  try {
    kv::PaletteState palette;
    std::vector<std::vector<std::uint8_t>> tiles;
    for (int i = 0; i < kDistinctTiles; ++i)
      tiles.push_back(kv::bench::EncodeSyntheticTile(i, i == 0, palette));
    kv::CImageContainer container("Full", nullptr);
    for (std::size_t i = 0; i < kv::kMaxImages; ++i) {
      auto image = std::make_unique<kv::CImage>();
      image->SetBitmap(kv::StoredBitmap(tiles[i % tiles.size()]));
      image->SetName("Full " + std::to_string(i));
      container.AddImage(std::move(image));
    }
    container.ImageAt(0)->set_map_size(16000, 13000);
    kv::SaveMapFile(container, argv[1], "Full", kv::MapWriteTime());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_full_map: failed (%s)\n", error.what());
    return 1;
  }
  return 0;
}
