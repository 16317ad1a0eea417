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

#include "bitmap/bitmap_compression.h"
#include "bitmap/palette_state.h"
#include "bitmap/palm_bitmap_encoder.h"
#include "bitmap/pixel_source.h"
#include "map/c_image_container.h"
#include "map/map_file.h"
#include "map/stored_bitmap.h"

namespace {

constexpr int kTileWidth = 160;
constexpr int kTileHeight = 131;
// Tiles drawn from different parts of the picture; the map repeats them.
constexpr int kDistinctTiles = 97;

// Smooth colour fields with a little texture, shifted per tile.
class Picture final : public kv::PixelSource {
 public:
  explicit Picture(int shift) : shift_(shift) {}
  int Width() const override { return kTileWidth; }
  int Height() const override { return kTileHeight; }
  int Depth() const override { return 24; }
  void SetPixelMode(kv::PixelMode) override {}
  std::uint32_t Pixel(int x, int y) const override {
    const int u = x + shift_ * 37;
    const int v = y + shift_ * 11;
    const int texture = ((u * 7919) ^ (v * 104729)) & 15;
    return static_cast<std::uint32_t>((u / 3 + texture) & 0xFF) << 16 |
           static_cast<std::uint32_t>((v / 2 + 40 + texture) & 0xFF) << 8 |
           static_cast<std::uint32_t>(((u + v) / 5 + 90 - texture) & 0xFF);
  }

 private:
  int shift_;
};

std::vector<std::uint8_t> Tile(int shift, bool build_palette, kv::PaletteState& palette) {
  Picture picture(shift);
  kv::ConversionOptions options;
  options.targetWidth = kTileWidth;
  options.targetHeight = kTileHeight;
  options.maxDepth = 8;
  options.fitToSize = build_palette;
  options.buildPalette = build_palette;
  kv::OutputBuffer output;
  kv::EncodedBitmapSize size;
  if (kv::EncodePalmBitmap(picture, options, kv::ScaleRatio{}, kv::kCompressWhenSmaller, palette,
                           &output, &size) != kv::kConvOk) {
    throw std::runtime_error("cannot encode a tile");
  }
  return output.bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_full_map OUT.prc\n");
    return 2;
  }
  try {
    kv::PaletteState palette;
    std::vector<std::vector<std::uint8_t>> tiles;
    for (int i = 0; i < kDistinctTiles; ++i) tiles.push_back(Tile(i, i == 0, palette));
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
