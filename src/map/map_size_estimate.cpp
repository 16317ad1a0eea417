#include "map/map_size_estimate.h"

#include <algorithm>

#include "map/map_conversion_options.h"
#include "map/map_layout.h"
#include "pdb/database_format.h"

namespace kv {

namespace {

// The calibration resource as CImage::SetCalibration sizes it.
std::uint64_t CalibrationResourceSize(std::size_t calibration_bytes) {
  std::uint64_t size = std::max(calibration_bytes, kMinCalibrationSize);
  return size + size % 2;
}

// DATE, ORWD, ORHT and MATT.
constexpr std::uint64_t kWordResources = 4 * 4;

}  // namespace

std::uint64_t MapDatabaseOverhead(std::size_t images, std::size_t calibration_bytes) {
  const auto entries = static_cast<std::uint32_t>(images + kMetadataResourceCount);
  // Two zero bytes follow the entry list.
  const std::uint64_t list = EntryListEnd(DatabaseKind::kResource, entries) + 2;
  const std::uint64_t metadata = kNameResourceSize + kWordResources +
                                 kCornerTextCount * kCornerResourceSize +
                                 CalibrationResourceSize(calibration_bytes) + kExtraTextSize;
  return list + metadata;
}

MapSizeEstimate EstimateMapSize(ConversionContext& context, const ConversionSettings& settings,
                                const ConversionSource& source, bool source_is_bmp,
                                std::size_t calibration_bytes, std::size_t sample_tiles) {
  ConversionOptions overview = MapTileOptions(settings, source_is_bmp);
  overview.fitToSize = true;
  overview.buildPalette = true;
  const MapBitmapsEstimate bitmaps =
      EstimateOverviewAndTiles(context, settings, source, overview, sample_tiles);
  MapSizeEstimate estimate;
  estimate.tiles = bitmaps.grid.count();
  estimate.columns = bitmaps.grid.columns;
  estimate.rows = bitmaps.grid.rows;
  estimate.images = 1 + estimate.tiles;
  estimate.over_limit = estimate.images > kMaxImages;
  estimate.overview_bytes = bitmaps.overview_bytes;
  estimate.tile_bytes = bitmaps.tile_bytes;
  estimate.overhead_bytes = MapDatabaseOverhead(estimate.images, calibration_bytes);
  estimate.sampled_tiles = bitmaps.sampled_tiles;
  return estimate;
}

}  // namespace kv
