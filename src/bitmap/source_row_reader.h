#ifndef KORVALE_BITMAP_SOURCE_ROW_READER_H_
#define KORVALE_BITMAP_SOURCE_ROW_READER_H_

// Whole rows of a source, top to bottom: how a map conversion reads its
// source, once per pass. A source that decodes in bands (block rows of a
// tiled file, strips) decodes each band once and holds no more than one.

#include <cstdint>
#include <memory>

#include "bitmap/conversion_status.h"
#include "bitmap/pixel_source.h"

namespace kv {

class SourceRowReader {
 public:
  virtual ~SourceRowReader() = default;

  // Row y, Width() values as PixelsOfRow gives them in the pixel mode the
  // source had when the reader was opened. A failing status when the row
  // cannot be decoded.
  // REQUIRES: 0 <= y < Height(), y not above the row read before; room for
  // Width() values.
  virtual ConversionStatus ReadRow(int y, std::uint32_t* values) = 0;

  // Rows decoded together: whoever reads ahead should hold at least this
  // many, or decoding the next band cannot overlap the use of this one.
  virtual int BandRows() const { return 1; }
};

// The reader of any source: PixelsOfRow over the whole width.
std::unique_ptr<SourceRowReader> ReadRowsByPixels(const PixelSource& source);

}  // namespace kv

#endif  // KORVALE_BITMAP_SOURCE_ROW_READER_H_
