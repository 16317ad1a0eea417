#ifndef KORVALE_BITMAP_MAP_CONVERSION_H_
#define KORVALE_BITMAP_MAP_CONVERSION_H_

// Converting a whole source into a map's overview and tiles while reading
// the source top to bottom.
//
// Passes: when an octree palette must be built (depth 8 and below, a new
// table, no palette of the source's own), a first pass feeds every pixel to
// the quantiser, row by row as OctreePalette does, and samples the overview;
// it also keeps the tiles' sampled pixels when they fit kMaxKeptTileBytes.
// Otherwise, or when they do not fit, a pass over the rows the tiles sample
// cuts each row of tiles into a band as soon as its rows have been read and
// encodes the band's tiles on the worker threads while the next rows are
// decoded. Memory is a few chunks of source rows, two bands of tiles at
// output scale (or the kept tiles) and the finished records.
//
// Every bitmap is encoded from the same sampled pixels, with the same table,
// as EncodePalmBitmap would encode its window, so the records are the same
// byte for byte, whatever the number of threads.

#include <cstddef>
#include <vector>

#include "bitmap/conversion_context.h"
#include "bitmap/conversion_options.h"
#include "bitmap/conversion_status.h"
#include "bitmap/converted_bitmap.h"
#include "bitmap/pixel_source.h"
#include "bitmap/tile_grid.h"

namespace kv {

// Sampled tile pixels (4 bytes each) the palette pass may keep to spare a
// second pass over the source.
inline constexpr std::size_t kMaxKeptTileBytes = std::size_t{384} << 20;

struct MapConversionRequest {
  // The overview's options: fitToSize set, the tile size as target size,
  // the depth bounds and buildPalette. The tiles take the same target size
  // and bounds.
  ConversionOptions overview;
  ScaleRatio scale;
  int compression = 0;  // kCompressWhenSmaller or kCompressNever
  std::size_t max_kept_tile_bytes = kMaxKeptTileBytes;
};

struct MapConversion {
  ConvertedBitmap overview;
  TileGrid grid;
  std::vector<ConvertedBitmap> tiles;  // column by column (grid.Index)
};

// Leaves the palette state as the overview's conversion would (a new custom
// table, or none). Failing statuses as EncodePalmBitmap's, the source
// reader's, and ConversionStatus::kCancelled when context.cancel was set; *result is then
// unspecified.
ConversionStatus ConvertMap(PixelSource& source, const MapConversionRequest& request,
                            ConversionContext& context, MapConversion* result);

}  // namespace kv

#endif  // KORVALE_BITMAP_MAP_CONVERSION_H_
