#ifndef KORVALE_BITMAP_PALM_PALM_BITMAP_ENCODER_H_
#define KORVALE_BITMAP_PALM_PALM_BITMAP_ENCODER_H_

// Turns a source image (or a window of it) into one serialised Palm bitmap
// record: output depth, geometry, colour table, colour matching,
// compression.

#include "bitmap/conversion_options.h"
#include "bitmap/conversion_status.h"
#include "bitmap/palm/palette_state.h"
#include "bitmap/pixel_source.h"
#include "pdb/output_buffer.h"

namespace kv {

struct EncodedBitmapSize {
  int width = 0;
  int height = 0;
  int depth = 0;
};

// Appends the record to `output` and reports its size and depth.
//
// At depth 8 and below, `options.buildPalette` makes a new custom table in
// `palette` (the source's own palette where it fits the output, else an
// octree palette of the whole source); without it the current custom table
// is used, or the system table when there is none or it has more entries
// than the depth can address. `compression` is kCompressWhenSmaller or
// kCompressNever (bitmap_compression.h). The source's pixel mode is set for
// the conversion and left so.
ConversionStatus EncodePalmBitmap(PixelSource& source, const ConversionOptions& options,
                                  ScaleRatio scale, int compression, PaletteState& palette,
                                  OutputBuffer* output, EncodedBitmapSize* size);

}  // namespace kv

#endif  // KORVALE_BITMAP_PALM_PALM_BITMAP_ENCODER_H_
