#ifndef KORVALE_MAP_MAP_SIZE_ESTIMATE_H_
#define KORVALE_MAP_MAP_SIZE_ESTIMATE_H_

// The size of the map database an import would write, before converting:
// how many tiles, whether the map holds that many images, and its bytes.
// The overview and everything around the bitmaps (header, entry list,
// metadata) are counted exactly; the tiles are estimated from a sample
// (bitmap/map_size_estimate.h) unless there are few enough to encode all.

#include <cstddef>
#include <cstdint>

#include "bitmap/conversion_context.h"
#include "bitmap/conversion_front.h"
#include "bitmap/map_size_estimate.h"

namespace kv {

struct MapSizeEstimate {
  std::size_t tiles = 0;
  int columns = 0;
  int rows = 0;
  std::size_t images = 0;   // the overview and the tiles
  bool over_limit = false;  // more images than a map may hold
  std::uint64_t overview_bytes = 0;
  std::uint64_t tile_bytes = 0;
  std::uint64_t overhead_bytes = 0;
  std::size_t sampled_tiles = 0;  // all of them: tile_bytes is exact

  std::uint64_t total_bytes() const { return overview_bytes + tile_bytes + overhead_bytes; }
};

// Bytes of a new map of `images` images besides their bitmaps: the database
// header, the entry list with its two zero bytes and the eleven metadata
// resources, the calibration one holding `calibration_bytes` (its text and
// NUL; 0 for none).
std::uint64_t MapDatabaseOverhead(std::size_t images, std::size_t calibration_bytes);

// The map ConvertSource would make of `source` with `settings`. Throws what
// the conversion would throw; context.cancel stops it with
// ErrAlreadyReported.
MapSizeEstimate EstimateMapSize(ConversionContext& context, const ConversionSettings& settings,
                                const ConversionSource& source, bool source_is_bmp,
                                std::size_t calibration_bytes,
                                std::size_t sample_tiles = kEstimateSampleTiles);

}  // namespace kv

#endif  // KORVALE_MAP_MAP_SIZE_ESTIMATE_H_
