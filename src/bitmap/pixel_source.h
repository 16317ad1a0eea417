#ifndef KORVALE_BITMAP_PIXEL_SOURCE_H_
#define KORVALE_BITMAP_PIXEL_SOURCE_H_

// The pixels the Palm bitmap encoder reads. BMP bytes, GDAL image sources and
// synthetic test images all reach the encoder through this interface.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "bitmap/conversion_status.h"

namespace kv {

class SourceRowReader;

// What Pixel() returns.
enum class PixelMode {
  kColour,  // 0x00RRGGBB
  kIndex,   // an index into the source's own palette
};

// What the source's own palette may be used for when a bitmap's colour table
// is chosen.
enum class SourcePaletteKind {
  // No palette of its own (direct-colour images, GDAL kind-1 sources).
  kNone,
  // A BMP palette of 2^depth entries. When the output depth equals the
  // source depth it becomes the bitmap's table and indices are copied
  // unchanged (the encoder switches the source to PixelMode::kIndex).
  kBmpIndexed,
  // A chart palette (kind-2 sources). When the source depth is at most the
  // output depth it becomes the bitmap's table; pixels are still matched by
  // colour.
  kChart,
};

class PixelSource {
 public:
  virtual ~PixelSource() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Bits per pixel of the source image.
  virtual int Depth() const = 0;

  // The encoder selects kIndex exactly when the source depth equals the
  // output depth, both are 8 or less and the palette kind is kBmpIndexed;
  // otherwise the source stays in (or returns to) kColour.
  virtual void SetPixelMode(PixelMode mode) = 0;

  // REQUIRES: 0 <= x < Width(), 0 <= y < Height() (y counts from the top).
  // A palette index in kIndex mode, else a colour 0x00RRGGBB.
  virtual std::uint32_t Pixel(int x, int y) const = 0;

  // Pixel(xs[i], y) for every i, into values[i]: one call per row instead of
  // one per pixel. Sources that can reach a whole row at once override it.
  // REQUIRES: values has room for xs.size() entries; same bounds as Pixel.
  virtual void PixelsOfRow(std::span<const int> xs, int y, std::uint32_t* values) const {
    for (std::size_t i = 0; i < xs.size(); ++i) values[i] = Pixel(xs[i], y);
  }

  // Whole rows top to bottom (source_row_reader.h), for reading the source
  // once in order. Sources that decode in bands read them band by band;
  // others read through PixelsOfRow. The source must not be read otherwise
  // while the reader lives.
  virtual std::unique_ptr<SourceRowReader> OpenRowReader() const;

  virtual SourcePaletteKind PaletteKind() const { return SourcePaletteKind::kNone; }

  // The source's own palette as 0x00RRGGBB entries, in index order (for a
  // BMP: 2^depth entries). A palette the source cannot supply (for instance
  // one lying outside the file) is a failing status.
  virtual ConversionStatus Palette(std::vector<std::uint32_t>* entries) const {
    entries->clear();
    return ConversionStatus::kOk;
  }
};

}  // namespace kv

#endif  // KORVALE_BITMAP_PIXEL_SOURCE_H_
