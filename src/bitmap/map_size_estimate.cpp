#include "bitmap/map_size_estimate.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <optional>
#include <vector>

#include "bitmap/map_plan.h"
#include "bitmap/palm/bitmap_encoding.h"
#include "bitmap/palm/octree_palette.h"
#include "bitmap/palm/palette_state.h"
#include "bitmap/sampling_geometry.h"
#include "bitmap/tile_band_layout.h"

namespace kv {

namespace {

// `count` picks out of 0 .. total - 1, each the middle of its share.
std::vector<int> SpreadPicks(int total, int count) {
  std::vector<int> picks;
  for (int i = 0; i < count; ++i) {
    picks.push_back(
        static_cast<int>((2 * std::int64_t{i} + 1) * total / (2 * std::int64_t{count})));
  }
  return picks;
}

// The sample is every pick column crossed with every pick row, shaped like
// the grid, so that it reaches all parts of the map in both directions.
struct TileSample {
  std::vector<int> columns;
  std::vector<int> rows;
};

TileSample ChooseSample(const TileGrid& grid, std::size_t budget) {
  if (grid.count() == 0) return {};
  const auto columns = static_cast<double>(grid.columns);
  const auto rows = static_cast<double>(grid.rows);
  const double wanted = std::max<double>(1, static_cast<double>(budget));
  int picked_columns = std::clamp(static_cast<int>(std::lround(std::sqrt(wanted * columns / rows))),
                                  1, grid.columns);
  const int picked_rows = std::clamp(static_cast<int>(wanted / picked_columns), 1, grid.rows);
  picked_columns = std::clamp(static_cast<int>(wanted / picked_rows), 1, grid.columns);
  return {SpreadPicks(grid.columns, picked_columns), SpreadPicks(grid.rows, picked_rows)};
}

// One source row to read into `out`, at the columns `xs`.
struct RowRead {
  int y = 0;
  const std::vector<int>* xs = nullptr;
  std::uint32_t* out = nullptr;
};

class MapSizeEstimator {
 public:
  MapSizeEstimator(PixelSource& source, const MapConversionRequest& request,
                   std::size_t sample_tiles, const std::atomic<bool>& cancel)
      : source_(source), request_(request), sample_tiles_(sample_tiles), cancel_(cancel) {}

  ConversionStatus Run(MapBitmapsEstimate* result) {
    try {
      return Estimate(result);
    } catch (const std::bad_alloc&) {
      return ConversionStatus::kNoMemory;
    }
  }

 private:
  ConversionStatus Estimate(MapBitmapsEstimate* result) {
    ConversionStatus status = Plan();
    if (status != ConversionStatus::kOk) return status;
    bool octree = false;
    status = ChoosePalette(&octree);
    if (status != ConversionStatus::kOk) return status;
    std::optional<OctreeQuantiser> quantiser;
    if (octree) quantiser.emplace(encoding_.depth);
    status = ReadPixels(quantiser ? &*quantiser : nullptr);
    if (status != ConversionStatus::kOk) return status;
    if (quantiser) {
      status = SetQuantisedTable(quantiser->Colours(), encoding_.depth, palette_);
      if (status != ConversionStatus::kOk) return status;
    }
    if (encoding_.depth <= 8) encoding_.table = palette_.TableForDepth(encoding_.depth);
    result->grid = layout_.grid();
    return Encode(result);
  }

  ConversionStatus Plan() {
    const ConversionStatus status = PlanMap(source_, request_, &encoding_, &overview_, &layout_);
    if (status != ConversionStatus::kOk) return status;
    sample_ = ChooseSample(layout_.grid(), sample_tiles_);
    return ConversionStatus::kOk;
  }

  // Without buildPalette there is no table of this source to reuse, so the
  // system table stands in.
  ConversionStatus ChoosePalette(bool* octree) {
    return ChooseMapPalette(source_, request_.overview.buildPalette, palette_, &encoding_, octree);
  }

  // The overview's rows and the sampled tiles' rows, read in one walk down
  // the source: sources that decode from the top read each part once. The
  // octree sees them in that order too: its reductions depend on the order
  // of the colours, and top to bottom is the order the conversion feeds it.
  ConversionStatus ReadPixels(OctreeQuantiser* octree) {
    std::vector<RowRead> reads;
    overview_columns_.resize(static_cast<std::size_t>(overview_.outputWidth));
    for (std::size_t j = 0; j < overview_columns_.size(); ++j) {
      overview_columns_[j] = overview_.SourceX(static_cast<int>(j));
    }
    overview_values_.assign(
        overview_columns_.size() * static_cast<std::size_t>(overview_.outputHeight), 0);
    for (int i = 0; i < overview_.outputHeight; ++i) {
      reads.push_back(
          {overview_.SourceY(i), &overview_columns_,
           overview_values_.data() + overview_columns_.size() * static_cast<std::size_t>(i)});
    }
    const std::vector<int>& source_columns = layout_.source_columns();
    for (const int column : sample_.columns) {
      const auto from =
          source_columns.begin() + static_cast<std::ptrdiff_t>(layout_.offset(column));
      sample_columns_.insert(sample_columns_.end(), from, from + layout_.width(column));
    }
    band_values_.resize(sample_.rows.size());
    for (std::size_t k = 0; k < sample_.rows.size(); ++k) {
      const int band = sample_.rows[k];
      band_values_[k].assign(
          sample_columns_.size() * static_cast<std::size_t>(layout_.height(band)), 0);
      for (int i = 0; i < layout_.height(band); ++i) {
        reads.push_back(
            {layout_.SourceRow(band, i), &sample_columns_,
             band_values_[k].data() + sample_columns_.size() * static_cast<std::size_t>(i)});
      }
    }
    std::stable_sort(reads.begin(), reads.end(),
                     [](const RowRead& a, const RowRead& b) { return a.y < b.y; });
    for (const RowRead& read : reads) {
      if (cancel_.load(std::memory_order_relaxed)) return ConversionStatus::kCancelled;
      if (read.xs->empty()) continue;
      source_.PixelsOfRow(*read.xs, read.y, read.out);
      if (octree != nullptr) octree->InsertAll(read.out, read.xs->size());
    }
    return ConversionStatus::kOk;
  }

  PaletteMatcher* Matcher() {
    const ColourTable* table = encoding_.MatchedTable();
    if (table == nullptr || encoding_.copy_indices) return nullptr;
    PaletteMatcher* matcher = palette_.MatcherFor(table);
    if (matcher != nullptr) return matcher;
    if (!own_matcher_) own_matcher_.emplace(*table);
    return &*own_matcher_;
  }

  ConversionStatus EncodedSize(const SampledPixels& pixels, std::uint64_t* size) {
    OutputBuffer output;
    const ConversionStatus status = EncodeSampledBitmap(encoding_, pixels, Matcher(), &output);
    *size = output.bytes.size();
    return status;
  }

  ConversionStatus Encode(MapBitmapsEstimate* result) {
    ConversionStatus status = EncodedSize({overview_.outputWidth, overview_.outputHeight,
                                           overview_values_.data(), overview_columns_.size()},
                                          &result->overview_bytes);
    if (status != ConversionStatus::kOk) return status;
    std::uint64_t sampled_bytes = 0;
    std::uint64_t sampled_pixels = 0;
    for (std::size_t k = 0; k < sample_.rows.size(); ++k) {
      std::size_t offset = 0;
      for (const int column : sample_.columns) {
        if (cancel_.load(std::memory_order_relaxed)) return ConversionStatus::kCancelled;
        const int band = sample_.rows[k];
        const SampledPixels pixels{layout_.width(column), layout_.height(band),
                                   band_values_[k].data() + offset, sample_columns_.size()};
        offset += static_cast<std::size_t>(pixels.width);
        std::uint64_t size = 0;
        status = EncodedSize(pixels, &size);
        if (status != ConversionStatus::kOk) return status;
        sampled_bytes += size;
        sampled_pixels +=
            static_cast<std::uint64_t>(pixels.width) * static_cast<std::uint64_t>(pixels.height);
        ++result->sampled_tiles;
      }
    }
    if (result->exact()) {
      result->tile_bytes = sampled_bytes;
      return ConversionStatus::kOk;
    }
    return Extrapolate(sampled_bytes, sampled_pixels, result);
  }

  // What every record carries whatever its pixels: a one-pixel bitmap of
  // the same encoding is its header and table (and one short row).
  ConversionStatus Extrapolate(std::uint64_t sampled_bytes, std::uint64_t sampled_pixels,
                               MapBitmapsEstimate* result) {
    const std::uint32_t pixel = 0;
    std::uint64_t fixed = 0;
    const ConversionStatus status = EncodedSize({1, 1, &pixel, 1}, &fixed);
    if (status != ConversionStatus::kOk) return status;
    const TileGrid& grid = layout_.grid();
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    for (int column = 0; column < grid.columns; ++column)
      width += static_cast<std::uint64_t>(layout_.width(column));
    for (int row = 0; row < grid.rows; ++row)
      height += static_cast<std::uint64_t>(layout_.height(row));
    const std::uint64_t sampled_fixed = fixed * result->sampled_tiles;
    const double per_pixel = sampled_pixels == 0 || sampled_bytes < sampled_fixed
                                 ? 0.0
                                 : static_cast<double>(sampled_bytes - sampled_fixed) /
                                       static_cast<double>(sampled_pixels);
    result->tile_bytes =
        fixed * grid.count() +
        static_cast<std::uint64_t>(std::llround(per_pixel * static_cast<double>(width * height)));
    return ConversionStatus::kOk;
  }

  PixelSource& source_;
  const MapConversionRequest& request_;
  std::size_t sample_tiles_;
  const std::atomic<bool>& cancel_;
  BitmapEncoding encoding_;
  PaletteState palette_;
  std::optional<PaletteMatcher> own_matcher_;
  SamplingGeometry overview_;
  TileBandLayout layout_;
  TileSample sample_;
  std::vector<int> overview_columns_;
  std::vector<std::uint32_t> overview_values_;
  std::vector<int> sample_columns_;  // source columns of the sampled tiles, side by side
  std::vector<std::vector<std::uint32_t>> band_values_;  // one per sampled row of tiles
};

}  // namespace

ConversionStatus EstimateMapBitmaps(PixelSource& source, const MapConversionRequest& request,
                                    std::size_t sample_tiles, const std::atomic<bool>& cancel,
                                    MapBitmapsEstimate* result) {
  *result = MapBitmapsEstimate{};
  MapSizeEstimator estimator(source, request, sample_tiles, cancel);
  return estimator.Run(result);
}

}  // namespace kv
