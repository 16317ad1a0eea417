#ifndef KORVALE_BITMAP_PALM_BITMAP_ENCODING_H_
#define KORVALE_BITMAP_PALM_BITMAP_ENCODING_H_

// What the bitmaps of one conversion share (depth, colour table, whether
// indices are copied, compression) and the encoding of one bitmap from
// pixels already sampled. A single conversion samples its window straight
// from the source; a map conversion samples whole bands of tiles while it
// reads the source in order, and encodes the tiles on several threads.
// Both end here, so a tile's bytes do not depend on how it was read.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bitmap/conversion_options.h"
#include "bitmap/conversion_status.h"
#include "bitmap/palm/colour_table.h"
#include "bitmap/palm/nearest_palette_index.h"
#include "bitmap/palm/palette_state.h"
#include "bitmap/pixel_source.h"
#include "pdb/output_buffer.h"

namespace kv {

struct BitmapEncoding {
  int depth = 16;
  // Depth 8 and below: the table the pixels index; null for the system
  // table of the depth.
  const ColourTable* table = nullptr;
  // The pixels are the source's own palette indices, stored as they are.
  bool copy_indices = false;
  int compression = 0;  // kCompressWhenSmaller or kCompressNever

  // The table a colour is matched against: `table` or the system table;
  // null above depth 8.
  const ColourTable* MatchedTable() const;
};

// The pixels of one bitmap as the sampling geometry picked them, values as
// the source gives them (colours, or indices when copied): row i starts at
// values + i * stride.
struct SampledPixels {
  int width = 0;
  int height = 0;
  const std::uint32_t* values = nullptr;
  std::size_t stride = 0;
};

// The depth of the bitmaps made from `source` with the options' bounds.
// ConversionStatus::kBadDepth for a bound or a resulting depth the encoder does not know.
ConversionStatus EncodingDepth(const PixelSource& source, const ConversionOptions& options,
                               int* depth);

// BMP indices go straight into the bitmap when the source already has the
// output's depth: its palette is the bitmap's table.
bool CopiesIndices(const PixelSource& source, int depth);
// The source's own palette becomes the custom table instead of an octree
// palette of its pixels.
bool UsesOwnPalette(const PixelSource& source, int depth);

// Makes the source's own palette the custom table.
// REQUIRES: UsesOwnPalette(source, depth).
ConversionStatus SetOwnPaletteTable(const PixelSource& source, int depth, PaletteState& palette);
// Makes octree colours the custom table, padded with black to 2^depth.
ConversionStatus SetQuantisedTable(std::vector<std::uint32_t> colours, int depth,
                                   PaletteState& palette);

// Appends the record of one bitmap. `matcher` matches colours against
// encoding.MatchedTable(); it may be null when nothing is matched (above
// depth 8, or when indices are copied).
ConversionStatus EncodeSampledBitmap(const BitmapEncoding& encoding, const SampledPixels& pixels,
                                     PaletteMatcher* matcher, OutputBuffer* output);

}  // namespace kv

#endif  // KORVALE_BITMAP_PALM_BITMAP_ENCODING_H_
