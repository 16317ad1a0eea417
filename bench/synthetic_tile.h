#ifndef KORVALE_BENCH_SYNTHETIC_TILE_H_
#define KORVALE_BENCH_SYNTHETIC_TILE_H_

// Photo-like 8-bit tiles for the benchmarks' big maps: smooth colour fields
// with a little texture, shifted per tile, encoded as kvmap convert stores
// them. The first tile builds the palette the others share.

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "bitmap/palm/bitmap_compression.h"
#include "bitmap/palm/palette_state.h"
#include "bitmap/palm/palm_bitmap_encoder.h"
#include "bitmap/pixel_source.h"
#include "map/map_layout.h"

namespace kv::bench {

class SyntheticTilePicture final : public PixelSource {
 public:
  explicit SyntheticTilePicture(int shift) : shift_(shift) {}
  int Width() const override { return kTileWidth; }
  int Height() const override { return kTileHeight; }
  int Depth() const override { return 24; }
  void SetPixelMode(PixelMode) override {}
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

inline std::vector<std::uint8_t> EncodeSyntheticTile(int shift, bool build_palette,
                                                     PaletteState& palette) {
  SyntheticTilePicture picture(shift);
  ConversionOptions options;
  options.targetWidth = kTileWidth;
  options.targetHeight = kTileHeight;
  options.maxDepth = 8;
  options.fitToSize = build_palette;
  options.buildPalette = build_palette;
  OutputBuffer output;
  EncodedBitmapSize size;
  if (EncodePalmBitmap(picture, options, ScaleRatio{}, kCompressWhenSmaller, palette, &output,
                       &size) != ConversionStatus::kOk) {
    throw std::runtime_error("cannot encode a tile");
  }
  return output.bytes;
}

}  // namespace kv::bench

#endif  // KORVALE_BENCH_SYNTHETIC_TILE_H_
