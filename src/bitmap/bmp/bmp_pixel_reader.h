#ifndef KORVALE_BITMAP_BMP_BMP_PIXEL_READER_H_
#define KORVALE_BITMAP_BMP_BMP_PIXEL_READER_H_

// Reads the pixels of a BMP file held whole in memory. The reader is the
// "set-up" shared by the whole-image conversion of a BMP and the conversions
// of its tiles: whoever converts a document owns one and passes it along.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "bitmap/bmp/bmp_layout.h"
#include "bitmap/conversion_status.h"
#include "bitmap/pixel_source.h"

namespace kv {

class BmpPixelReader final : public PixelSource {
 public:
  BmpPixelReader() = default;

  // Parses the file (statuses of ParseBmp) and prepares to read it. On
  // failure the reader is left empty: no size, every pixel 0.
  // REQUIRES: bytes stay alive and unchanged while the reader reads them.
  ConversionStatus SetUp(std::span<const std::uint8_t> bytes, PixelMode mode,
                         std::string* conversion_message);
  void Reset();

  bool is_set_up() const { return !bytes_.empty(); }
  const BmpLayout& layout() const { return layout_; }

  int Width() const override { return layout_.width; }
  int Height() const override { return layout_.height; }
  int Depth() const override { return layout_.depth; }
  void SetPixelMode(PixelMode mode) override { mode_ = mode; }
  PixelMode pixel_mode() const { return mode_; }

  // y counts from the top whichever way the rows are stored. Depths 8 and
  // below give the palette index in index mode and its colour otherwise;
  // deeper pixels are always colours 0x00RRGGBB. Outside the image: 0.
  std::uint32_t Pixel(int x, int y) const override;

  SourcePaletteKind PaletteKind() const override;
  // 2^depth colours for depths 8 and below; entries the file does not store
  // are black. Empty for deeper images.
  ConversionStatus Palette(std::vector<std::uint32_t>* entries) const override;

 private:
  const std::uint8_t* StoredRow(int y) const;
  std::uint32_t ReadIndex(const std::uint8_t* row, int x) const;
  static std::uint32_t ReadDirectColour(const std::uint8_t* row, int x, int depth);

  std::span<const std::uint8_t> bytes_;
  BmpLayout layout_;
  PixelMode mode_ = PixelMode::kColour;
  std::array<std::uint32_t, 256> colours_{};  // the colour table as 0x00RRGGBB
};

}  // namespace kv

#endif  // KORVALE_BITMAP_BMP_BMP_PIXEL_READER_H_
