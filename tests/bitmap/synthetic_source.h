#ifndef KORVALE_TESTS_BITMAP_SYNTHETIC_SOURCE_H_
#define KORVALE_TESTS_BITMAP_SYNTHETIC_SOURCE_H_

// In-memory pixel sources for the Palm bitmap tests.

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "bitmap/pixel_source.h"

namespace kv::testing {

// A direct-colour image: colour(x, y) gives 0x00RRGGBB.
class ColourSource : public PixelSource {
 public:
  ColourSource(int width, int height, int depth, std::function<std::uint32_t(int, int)> colour)
      : width_(width), height_(height), depth_(depth), colour_(std::move(colour)) {}

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int Depth() const override { return depth_; }
  void SetPixelMode(PixelMode mode) override { mode_ = mode; }
  std::uint32_t Pixel(int x, int y) const override {
    ++reads_;
    return colour_(x, y);
  }
  PixelMode mode() const { return mode_; }
  long reads() const { return reads_; }

 private:
  int width_, height_, depth_;
  std::function<std::uint32_t(int, int)> colour_;
  PixelMode mode_ = PixelMode::kColour;
  mutable long reads_ = 0;
};

// A palette image: index(x, y) into `palette`, read as indices or colours.
class IndexedSource : public PixelSource {
 public:
  IndexedSource(int width, int height, int depth, std::vector<std::uint32_t> palette,
                std::function<std::uint32_t(int, int)> index,
                SourcePaletteKind kind = SourcePaletteKind::kBmpIndexed)
      : width_(width),
        height_(height),
        depth_(depth),
        palette_(std::move(palette)),
        index_(std::move(index)),
        kind_(kind) {}

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int Depth() const override { return depth_; }
  void SetPixelMode(PixelMode mode) override { mode_ = mode; }
  std::uint32_t Pixel(int x, int y) const override {
    const std::uint32_t index = index_(x, y);
    return mode_ == PixelMode::kIndex ? index : palette_[index];
  }
  SourcePaletteKind PaletteKind() const override { return kind_; }
  ConversionStatus Palette(std::vector<std::uint32_t>* entries) const override {
    *entries = palette_;
    return ConversionStatus::kOk;
  }
  PixelMode mode() const { return mode_; }

 private:
  int width_, height_, depth_;
  std::vector<std::uint32_t> palette_;
  std::function<std::uint32_t(int, int)> index_;
  SourcePaletteKind kind_;
  PixelMode mode_ = PixelMode::kColour;
};

// A photo-like colour: smooth gradients with a little texture.
inline std::uint32_t PhotoColour(int x, int y) {
  const auto channel = [](int v) { return static_cast<std::uint32_t>(v & 0xFF); };
  const int texture = ((x * 7919) ^ (y * 104729)) & 15;
  return channel(x / 3 + texture) << 16 | channel(y / 2 + 40 + texture) << 8 |
         channel((x + y) / 5 + 90 - texture);
}

}  // namespace kv::testing

#endif  // KORVALE_TESTS_BITMAP_SYNTHETIC_SOURCE_H_
