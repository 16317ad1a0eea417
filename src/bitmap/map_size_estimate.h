#ifndef KORVALE_BITMAP_MAP_SIZE_ESTIMATE_H_
#define KORVALE_BITMAP_MAP_SIZE_ESTIMATE_H_

// How many bytes a map's bitmaps will take, known before converting it.
//
// The overview is encoded as ConvertMap would encode it; of the tiles, a
// sample spread evenly over the grid's columns and rows is encoded with the
// same encoder, and the others are counted from the sample: each tile as
// the bytes every record of that encoding carries (header and colour table)
// plus the sample's bytes per pixel times its own pixels. Edge tiles are
// smaller and so count less. Only the rows the overview and the sample need
// are read, so a big source costs about as much as its sample, not as its
// whole area.
//
// Where ConvertMap would build an octree palette from every pixel, the
// estimate builds it from the pixels it reads; the records then differ from
// the real ones only through their colours' matching.

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "bitmap/conversion_status.h"
#include "bitmap/map_conversion.h"
#include "bitmap/pixel_source.h"
#include "bitmap/tile_grid.h"

namespace kv {

// Enough tiles to come within a few per cent on a varied map (a whole
// Earth of 1664 tiles: 48 tiles came within 17 %, 200 within 4 %), and
// few enough that sampling a source costs a fraction of converting it.
inline constexpr std::size_t kEstimateSampleTiles = 200;

struct MapBitmapsEstimate {
  TileGrid grid;
  std::uint64_t overview_bytes = 0;  // exact
  std::uint64_t tile_bytes = 0;      // exact when every tile was sampled
  std::size_t sampled_tiles = 0;

  bool exact() const { return sampled_tiles == grid.count(); }
};

// `request` as for ConvertMap (its max_kept_tile_bytes unused). The palette
// state of no document is touched. ConversionStatus::kCancelled when `cancel` was set;
// other failing statuses as ConvertMap's.
ConversionStatus EstimateMapBitmaps(PixelSource& source, const MapConversionRequest& request,
                                    std::size_t sample_tiles, const std::atomic<bool>& cancel,
                                    MapBitmapsEstimate* result);

}  // namespace kv

#endif  // KORVALE_BITMAP_MAP_SIZE_ESTIMATE_H_
