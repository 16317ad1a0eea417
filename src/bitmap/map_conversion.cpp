#include "bitmap/map_conversion.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <utility>

#include "bitmap/band_buffers.h"
#include "bitmap/conversion_threads.h"
#include "bitmap/map_plan.h"
#include "bitmap/palm/octree_palette.h"
#include "bitmap/palm/palm_bitmap_descriptor.h"
#include "bitmap/palm/palm_bitmap_format.h"
#include "bitmap/row_prefetcher.h"
#include "bitmap/sampling_geometry.h"
#include "bitmap/source_row_reader.h"
#include "bitmap/tile_band_layout.h"
#include "bitmap/worker_pool.h"
#include "pdb/big_endian.h"

namespace kv {

namespace {

// A source row that a pass copies somewhere: into overview row `row`
// (band -1) or into row `row` of tile band `band`.
struct RowUse {
  int y = 0;
  int band = -1;
  int row = 0;
};

// What a pass does with the tiles' pixels.
enum class TileWork {
  kNone,    // nothing (the palette pass when the tiles do not fit)
  kKeep,    // keeps every band for after the palette is known
  kEncode,  // encodes each band as soon as it is complete
};

// The progress callback is not told of every row: a thousandth of the work
// is fine enough for any progress bar.
constexpr double kProgressStep = 0.001;

bool IsCompressedRecord(const std::vector<std::uint8_t>& record) {
  return record.size() >= kPalmBitmapHeaderSize &&
         (DecodeBig16(record.data() + 6) & kBitmapFlagCompressed) != 0;
}

class MapConverter {
 public:
  MapConverter(PixelSource& source, const MapConversionRequest& request, ConversionContext& context,
               MapConversion* result)
      : source_(source),
        request_(request),
        context_(context),
        result_(result),
        pool_(ConversionThreadCount(context.threads)) {
    matchers_.resize(static_cast<std::size_t>(pool_.workers()));
  }

  ConversionStatus Run() {
    ConversionStatus status;
    try {
      status = Convert();
    } catch (const std::bad_alloc&) {
      status = ConversionStatus::kNoMemory;
    }
    // Tiles still queued find this and return at once.
    if (status != ConversionStatus::kOk) failed_ = true;
    return status;
  }

 private:
  ConversionStatus Convert() {
    ConversionStatus status = Plan();
    if (status != ConversionStatus::kOk) return status;
    bool octree = false;
    status = ChoosePalette(&octree);
    if (status != ConversionStatus::kOk) return status;
    const bool keep = octree && KeepsTiles();
    CountRows(octree, keep);
    if (octree) {
      OctreeQuantiser quantiser(encoding_.depth);
      status = ReadPass(&quantiser, true, keep ? TileWork::kKeep : TileWork::kNone);
      if (status != ConversionStatus::kOk) return status;
      status = SetQuantisedTable(quantiser.Colours(), encoding_.depth, context_.palette);
      if (status != ConversionStatus::kOk) return status;
      TakeTable();
      if (keep) {
        for (int band = 0; band < layout_.grid().rows; ++band) SubmitBand(band);
      } else {
        status = ReadPass(nullptr, false, TileWork::kEncode);
      }
    } else {
      TakeTable();
      status = ReadPass(nullptr, true, TileWork::kEncode);
    }
    if (status == ConversionStatus::kOk) status = WaitForTiles(0);
    if (status == ConversionStatus::kOk) status = EncodeOverview();
    if (status == ConversionStatus::kOk) Report(true);
    return status;
  }

  // Keeping the tiles' pixels spares a second decode of the source but
  // costs their memory and the copying: worth it when the tiles sample a
  // fraction of the source (scales below 1/1); at 1/1 a second pass over
  // the source, decoded while the tiles are encoded, is faster.
  bool KeepsTiles() const {
    const std::size_t kept = layout_.total_values();
    const std::size_t source =
        static_cast<std::size_t>(source_.Width()) * static_cast<std::size_t>(source_.Height());
    return 2 * kept <= source && kept * sizeof(std::uint32_t) <= request_.max_kept_tile_bytes;
  }

  // Refuses bitmaps that cannot be made before any pixel is read.
  ConversionStatus Plan() {
    const ConversionStatus status = PlanMap(source_, request_, &encoding_, &overview_, &layout_);
    if (status != ConversionStatus::kOk) return status;
    result_->grid = layout_.grid();
    result_->tiles.assign(layout_.grid().count(), ConvertedBitmap{});
    bands_.assign(static_cast<std::size_t>(layout_.grid().rows), nullptr);
    buffers_.set_values(layout_.band_width() * static_cast<std::size_t>(layout_.max_height()));
    return ConversionStatus::kOk;
  }

  ConversionStatus ChoosePalette(bool* octree) {
    return ChooseMapPalette(source_, request_.overview.buildPalette, context_.palette, &encoding_,
                            octree);
  }

  void TakeTable() {
    if (encoding_.depth <= 8) encoding_.table = context_.palette.TableForDepth(encoding_.depth);
  }

  void CountRows(bool octree, bool keep) {
    progress_.tiles_total = layout_.grid().count();
    const auto height = static_cast<std::uint64_t>(source_.Height());
    if (octree) progress_.rows_total += height;
    if (!octree || !keep) progress_.rows_total += UsedRows(Uses(!octree, true)).size();
  }

  std::vector<RowUse> Uses(bool overview, bool tiles) const {
    std::vector<RowUse> uses;
    if (tiles) {
      for (int band = 0; band < layout_.grid().rows; ++band) {
        for (int row = 0; row < layout_.height(band); ++row) {
          uses.push_back({layout_.SourceRow(band, row), band, row});
        }
      }
    }
    if (overview) {
      for (int row = 0; row < overview_.outputHeight; ++row) {
        uses.push_back({overview_.SourceY(row), -1, row});
      }
    }
    // Stable: the rows of a band stay in order, so its last row comes last.
    std::stable_sort(uses.begin(), uses.end(),
                     [](const RowUse& a, const RowUse& b) { return a.y < b.y; });
    return uses;
  }

  static std::vector<int> UsedRows(const std::vector<RowUse>& uses) {
    std::vector<int> rows;
    for (const RowUse& use : uses) {
      if (rows.empty() || rows.back() != use.y) rows.push_back(use.y);
    }
    return rows;
  }

  std::vector<int> AllRows() const {
    std::vector<int> rows(static_cast<std::size_t>(source_.Height()));
    for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = static_cast<int>(y);
    return rows;
  }

  // Reads the rows the pass needs once, in order: every row when the
  // octree sees them all, else the rows the overview or the tiles sample.
  ConversionStatus ReadPass(OctreeQuantiser* octree, bool overview, TileWork tiles) {
    const std::vector<RowUse> uses = Uses(overview, tiles != TileWork::kNone);
    const std::vector<int> rows = octree != nullptr ? AllRows() : UsedRows(uses);
    if (overview) PrepareOverview();
    const std::unique_ptr<SourceRowReader> reader = source_.OpenRowReader();
    RowPrefetcher prefetcher(*reader, source_.Width(), rows, pool_.workers() > 1, context_.cancel);
    const auto width = static_cast<std::size_t>(source_.Width());
    std::size_t next_use = 0;
    for (const int y : rows) {
      const std::uint32_t* values = prefetcher.Next();
      if (values == nullptr) {
        return prefetcher.status() != ConversionStatus::kOk ? prefetcher.status()
                                                            : ConversionStatus::kMalformed;
      }
      if (Cancelled()) return ConversionStatus::kCancelled;
      if (octree != nullptr) octree->InsertAll(values, width);
      for (; next_use < uses.size() && uses[next_use].y == y; ++next_use) {
        const ConversionStatus status = UseRow(uses[next_use], values, tiles);
        if (status != ConversionStatus::kOk) return status;
      }
      ++progress_.rows_read;
      Report(false);
      if (failed_) return tile_status_;
    }
    // Bands without rows (a window less than one output pixel high) still
    // give their tiles.
    if (tiles == TileWork::kEncode) {
      for (int band = 0; band < layout_.grid().rows; ++band) {
        if (layout_.height(band) == 0) SubmitBand(band);
      }
    }
    return ConversionStatus::kOk;
  }

  // Kept bands share one buffer, band after band; not cleared, as every
  // value is written before it is read.
  BandValues KeptBand(int band) {
    if (!kept_) kept_ = BandValues(new std::uint32_t[layout_.total_values()]);
    std::size_t offset = 0;
    for (int above = 0; above < band; ++above) {
      offset += layout_.band_width() * static_cast<std::size_t>(layout_.height(above));
    }
    return BandValues(kept_, kept_.get() + offset);
  }

  ConversionStatus UseRow(const RowUse& use, const std::uint32_t* values, TileWork tiles) {
    if (use.band < 0) {
      const auto width = static_cast<std::size_t>(overview_.outputWidth);
      std::uint32_t* out = overview_values_.data() + width * static_cast<std::size_t>(use.row);
      for (std::size_t j = 0; j < width; ++j) out[j] = values[overview_columns_[j]];
      return ConversionStatus::kOk;
    }
    BandValues& band = bands_[static_cast<std::size_t>(use.band)];
    if (use.row == 0) {
      if (tiles == TileWork::kEncode) {
        // At most two bands wait for the encoders: the one they work on and
        // this one.
        const ConversionStatus status =
            WaitForTiles(static_cast<std::size_t>(layout_.grid().columns));
        if (status != ConversionStatus::kOk) return status;
        band = buffers_.Take();
      } else {
        band = KeptBand(use.band);
      }
    }
    const std::vector<int>& columns = layout_.source_columns();
    std::uint32_t* out = band.get() + columns.size() * static_cast<std::size_t>(use.row);
    if (layout_.copies_columns()) {
      std::copy_n(values, columns.size(), out);
    } else {
      for (std::size_t k = 0; k < columns.size(); ++k) out[k] = values[columns[k]];
    }
    if (tiles == TileWork::kEncode && use.row == layout_.height(use.band) - 1) {
      SubmitBand(use.band);
    }
    return ConversionStatus::kOk;
  }

  void PrepareOverview() {
    overview_values_.assign(static_cast<std::size_t>(overview_.outputWidth) *
                                static_cast<std::size_t>(overview_.outputHeight),
                            0);
    overview_columns_.resize(static_cast<std::size_t>(overview_.outputWidth));
    for (std::size_t j = 0; j < overview_columns_.size(); ++j) {
      overview_columns_[j] = overview_.SourceX(static_cast<int>(j));
    }
  }

  bool Cancelled() const { return context_.cancel.load(std::memory_order_relaxed); }

  void Report(bool force) {
    if (!context_.progress) return;
    const double fraction = progress_.Fraction();
    if (!force && fraction - reported_ < kProgressStep) return;
    reported_ = fraction;
    context_.progress(progress_);
  }

  ConversionStatus WaitForTiles(std::size_t pending) {
    pool_.WaitUntilAtMost(pending, [this](std::size_t finished) {
      progress_.tiles_done += finished;
      Report(false);
    });
    if (failed_) return tile_status_;
    return Cancelled() ? ConversionStatus::kCancelled : ConversionStatus::kOk;
  }

  void SubmitBand(int band) {
    const BandValues values = std::move(bands_[static_cast<std::size_t>(band)]);
    for (int column = 0; column < layout_.grid().columns; ++column) {
      pool_.Submit([this, column, band, values](int worker) {
        EncodeTile(worker, column, band, values.get());
      });
    }
  }

  // `values` is null for a band without rows.
  void EncodeTile(int worker, int column, int band, const std::uint32_t* values) {
    if (failed_ || Cancelled()) return;
    ConversionStatus status = ConversionStatus::kOk;
    try {
      PaletteMatcher* matcher = WorkerMatcher(worker);
      const SampledPixels pixels{layout_.width(column), layout_.height(band),
                                 values == nullptr ? nullptr : values + layout_.offset(column),
                                 layout_.band_width()};
      OutputBuffer output;
      status = EncodeSampledBitmap(encoding_, pixels, matcher, &output);
      if (status == ConversionStatus::kOk) {
        ConvertedBitmap& tile = result_->tiles[layout_.grid().Index(column, band)];
        tile.width = pixels.width;
        tile.height = pixels.height;
        tile.depth = encoding_.depth;
        tile.compressed = IsCompressedRecord(output.bytes);
        tile.record = std::move(output.bytes);
      }
    } catch (const std::bad_alloc&) {
      status = ConversionStatus::kNoMemory;
    }
    if (status != ConversionStatus::kOk) Fail(status);
  }

  // Matchers remember what they matched, so each worker keeps its own.
  PaletteMatcher* WorkerMatcher(int worker) {
    const ColourTable* table = encoding_.MatchedTable();
    if (table == nullptr || encoding_.copy_indices) return nullptr;
    std::unique_ptr<PaletteMatcher>& matcher = matchers_[static_cast<std::size_t>(worker)];
    if (!matcher) matcher = std::make_unique<PaletteMatcher>(*table);
    return matcher.get();
  }

  void Fail(ConversionStatus status) {
    std::lock_guard<std::mutex> lock(failure_mutex_);
    if (!failed_) tile_status_ = status;
    failed_ = true;
  }

  ConversionStatus EncodeOverview() {
    std::optional<PaletteMatcher> own_matcher;
    PaletteMatcher* matcher = nullptr;
    const ColourTable* table = encoding_.MatchedTable();
    if (table != nullptr && !encoding_.copy_indices) {
      matcher = context_.palette.MatcherFor(table);
      if (matcher == nullptr) matcher = &own_matcher.emplace(*table);
    }
    const SampledPixels pixels{overview_.outputWidth, overview_.outputHeight,
                               overview_values_.data(),
                               static_cast<std::size_t>(overview_.outputWidth)};
    OutputBuffer output;
    const ConversionStatus status = EncodeSampledBitmap(encoding_, pixels, matcher, &output);
    if (status != ConversionStatus::kOk) return status;
    ConvertedBitmap& converted = result_->overview;
    converted.width = pixels.width;
    converted.height = pixels.height;
    converted.depth = encoding_.depth;
    converted.compressed = IsCompressedRecord(output.bytes);
    converted.record = std::move(output.bytes);
    return ConversionStatus::kOk;
  }

  PixelSource& source_;
  const MapConversionRequest& request_;
  ConversionContext& context_;
  MapConversion* result_;
  BitmapEncoding encoding_;
  SamplingGeometry overview_;
  std::vector<int> overview_columns_;
  std::vector<std::uint32_t> overview_values_;
  TileBandLayout layout_;
  BandBuffers buffers_;  // before bands_, whose buffers return to it
  BandValues kept_;      // all kept bands
  std::vector<BandValues> bands_;
  ConversionProgress progress_;
  double reported_ = -1;
  std::mutex failure_mutex_;
  std::atomic<bool> failed_{false};
  ConversionStatus tile_status_ = ConversionStatus::kOk;
  std::vector<std::unique_ptr<PaletteMatcher>> matchers_;  // one per worker
  // Last: destroyed first, so queued tasks finish while what they use is
  // still there.
  WorkerPool pool_;
};

}  // namespace

ConversionStatus ConvertMap(PixelSource& source, const MapConversionRequest& request,
                            ConversionContext& context, MapConversion* result) {
  MapConverter converter(source, request, context, result);
  return converter.Run();
}

}  // namespace kv
