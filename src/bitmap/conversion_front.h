#ifndef KORVALE_BITMAP_CONVERSION_FRONT_H_
#define KORVALE_BITMAP_CONVERSION_FRONT_H_

// The bitmap conversion as the rest of the program sees it: a source image
// becomes a Palm bitmap record, a record becomes a BMP for display, and a
// record is encoded again at another depth. Failures arrive as the
// program's exceptions (RaiseConversionError), never as statuses.

#include <cstdint>
#include <span>
#include <vector>

#include "bitmap/conversion_context.h"
#include "bitmap/conversion_options.h"
#include "bitmap/converted_bitmap.h"
#include "bitmap/image_source.h"
#include "bitmap/map_conversion.h"
#include "bitmap/map_size_estimate.h"
#include "bitmap/rgb_image.h"

namespace kv {

// Source kinds: 0 is no source at all, 4 a stored Palm bitmap record; any
// other kind is an image to convert, BMP bytes or an ImageSource as
// ConversionOptions::sourceIsBmp says.
inline constexpr int kInvalidSourceKind = 0;
inline constexpr int kPalmBitmapSourceKind = 4;

struct ConversionSource {
  int kind = kInvalidSourceKind;
  std::span<const std::uint8_t> bytes;  // a BMP file or a Palm bitmap record
  ImageSource* image = nullptr;         // when the source is not BMP bytes
};

// Converts the source, or takes a stored record as it is (kind 4). A
// stored record must parse and expand; the compression setting then follows
// it. Converting an image never changes the settings: each bitmap is
// compressed whenever that makes it smaller while compression is on.
ConvertedBitmap ConvertToPalmBitmap(ConversionContext& context, ConversionSettings& settings,
                                    const ConversionSource& source,
                                    const ConversionOptions& options);

// The whole source as a map: the overview (`overview` with fitToSize, the
// tile size as target and buildPalette as wanted) and the tiles of the grid
// at the settings' scale, each converted as ConvertToPalmBitmap would
// convert its window with the overview's colour table. The source is read
// in order, once, or twice when an octree palette must be built first and
// the tiles' pixels would not fit in memory meanwhile; tiles are encoded on
// several threads. Progress goes to context.progress; context.cancel stops
// the conversion with ErrAlreadyReported. A stored record (kind 4) is its
// own overview and has no tiles.
MapConversion ConvertToOverviewAndTiles(ConversionContext& context, ConversionSettings& settings,
                                        const ConversionSource& source,
                                        const ConversionOptions& overview);

// What ConvertToOverviewAndTiles would make of the source, estimated from
// a sample of `sample_tiles` tiles (map_size_estimate.h). Reads the source
// but changes neither the context's palette nor the settings; context.cancel
// stops it with ErrAlreadyReported.
MapBitmapsEstimate EstimateOverviewAndTiles(ConversionContext& context,
                                            const ConversionSettings& settings,
                                            const ConversionSource& source,
                                            const ConversionOptions& overview,
                                            std::size_t sample_tiles);

// The record as a 24-bit bottom-up BMP file.
std::vector<std::uint8_t> RenderPalmBitmapAsBmp(std::span<const std::uint8_t> record);

// The record's pixels.
RgbImage DecodePalmBitmapRgb(std::span<const std::uint8_t> record);

// The record encoded again at `depth` (1, 2, 4, 8, 16, 24 or 32, used as
// given). With `build_palette` the record's own colour table (same depth)
// or an octree table of its colours becomes the custom table that later
// re-encodings without it share.
std::vector<std::uint8_t> ReencodePalmBitmap(ConversionContext& context,
                                             const ConversionSettings& settings,
                                             std::span<const std::uint8_t> record, int depth,
                                             bool build_palette);

}  // namespace kv

#endif  // KORVALE_BITMAP_CONVERSION_FRONT_H_
