// A map converted while its source is read in order gives the same records,
// byte for byte, as its overview and tiles encoded window by window, on any
// number of threads; it reads each row once per pass, top to bottom, and
// reports progress, stops when cancelled and passes decoding failures on.

#include "bitmap/map_conversion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "bitmap/palm/bitmap_compression.h"
#include "bitmap/palm/palm_bitmap_encoder.h"
#include "bitmap/source_row_reader.h"
#include "synthetic_source.h"

namespace kv {
namespace {

using testing::ColourSource;
using ::testing::ElementsAreArray;
using testing::IndexedSource;
using testing::PhotoColour;

constexpr int kTileWidth = 160;
constexpr int kTileHeight = 131;

MapConversionRequest Request(int max_depth, ScaleRatio scale, bool compress = true) {
  MapConversionRequest request;
  request.overview.fitToSize = true;
  request.overview.buildPalette = true;
  request.overview.targetWidth = kTileWidth;
  request.overview.targetHeight = kTileHeight;
  request.overview.maxDepth = static_cast<std::uint8_t>(max_depth);
  request.scale = scale;
  request.compression = compress ? kCompressWhenSmaller : kCompressNever;
  return request;
}

struct Records {
  std::vector<std::uint8_t> overview;
  std::vector<std::vector<std::uint8_t>> tiles;  // column by column
  std::vector<std::uint8_t> custom_table;        // stored bytes; empty for none
};

std::vector<std::uint8_t> TableBytes(const PaletteState& palette) {
  const ColourTable* table = palette.CustomTable();
  if (table == nullptr) return {};
  return {table->StoredBytes().begin(), table->StoredBytes().end()};
}

// The overview, then every tile of the grid, each encoded from its own
// window of the source.
Records WindowByWindow(PixelSource& source, const MapConversionRequest& request) {
  PaletteState palette;
  Records records;
  OutputBuffer overview;
  EncodedBitmapSize size;
  EXPECT_EQ(EncodePalmBitmap(source, request.overview, request.scale, request.compression, palette,
                             &overview, &size),
            ConversionStatus::kOk);
  records.overview = overview.bytes;
  const TileGrid grid =
      TileGridFor(source.Width(), source.Height(), kTileWidth, kTileHeight, request.scale);
  for (int column = 0; column < grid.columns; ++column) {
    for (int row = 0; row < grid.rows; ++row) {
      ConversionOptions tile = request.overview;
      tile.fitToSize = false;
      tile.buildPalette = false;
      tile.originX = static_cast<std::uint16_t>(grid.OriginX(column));
      tile.originY = static_cast<std::uint16_t>(grid.OriginY(row));
      OutputBuffer output;
      EXPECT_EQ(EncodePalmBitmap(source, tile, request.scale, request.compression, palette, &output,
                                 &size),
                ConversionStatus::kOk);
      records.tiles.push_back(output.bytes);
    }
  }
  records.custom_table = TableBytes(palette);
  return records;
}

Records Streamed(PixelSource& source, const MapConversionRequest& request, int threads) {
  ConversionContext context;
  context.threads = threads;
  MapConversion converted;
  EXPECT_EQ(ConvertMap(source, request, context, &converted), ConversionStatus::kOk);
  Records records;
  records.overview = converted.overview.record;
  for (const ConvertedBitmap& tile : converted.tiles) records.tiles.push_back(tile.record);
  records.custom_table = TableBytes(context.palette);
  return records;
}

void ExpectSameRecords(const Records& streamed, const Records& reference) {
  EXPECT_EQ(streamed.overview, reference.overview);
  ASSERT_EQ(streamed.tiles.size(), reference.tiles.size());
  for (std::size_t i = 0; i < reference.tiles.size(); ++i) {
    EXPECT_EQ(streamed.tiles[i], reference.tiles[i]) << "tile " << i;
  }
  EXPECT_EQ(streamed.custom_table, reference.custom_table);
}

struct Job {
  int width;
  int height;
  int max_depth;
  ScaleRatio scale;
  bool compress;
};

std::string JobName(const ::testing::TestParamInfo<Job>& info) {
  const Job& job = info.param;
  return std::to_string(job.width) + "x" + std::to_string(job.height) + "_depth" +
         std::to_string(job.max_depth) + "_scale1of" + std::to_string(job.scale.scaleDen) +
         (job.compress ? "_compressed" : "_plain");
}

class MapConversionRecords : public ::testing::TestWithParam<Job> {};

// Sizes leave edge tiles cut by the border, at 1/4 a column less than one
// output pixel wide.
INSTANTIATE_TEST_SUITE_P(
    Jobs, MapConversionRecords,
    ::testing::Values(Job{700, 400, 16, {1, 1}, true}, Job{700, 400, 16, {1, 2}, false},
                      Job{643, 530, 16, {1, 4}, true}, Job{700, 400, 8, {1, 1}, true},
                      Job{643, 530, 8, {1, 4}, false}, Job{500, 300, 4, {1, 2}, true},
                      Job{150, 100, 8, {1, 1}, true}),
    JobName);

TEST_P(MapConversionRecords, AreThoseOfEachWindowOnOneThreadAndOnFour) {
  const Job job = GetParam();
  ColourSource source(job.width, job.height, 24, PhotoColour);
  const MapConversionRequest request = Request(job.max_depth, job.scale, job.compress);
  const Records reference = WindowByWindow(source, request);
  ExpectSameRecords(Streamed(source, request, 1), reference);
  ExpectSameRecords(Streamed(source, request, 4), reference);
}

TEST(MapConversion, PaletteOfTheSourceAndCopiedIndicesGiveTheSameRecords) {
  std::vector<std::uint32_t> palette(256);
  for (std::size_t i = 0; i < palette.size(); ++i) palette[i] = PhotoColour(int(i) * 3, int(i));
  const auto index = [](int x, int y) { return static_cast<std::uint32_t>((x * 3 + y) & 0xFF); };
  // Same depth in and out: the BMP's table and its indices as they are.
  IndexedSource bmp(410, 300, 8, palette, index);
  ExpectSameRecords(Streamed(bmp, Request(8, {1, 2}), 4), WindowByWindow(bmp, Request(8, {1, 2})));
  // A chart's palette, colours matched against it.
  palette.resize(20);
  IndexedSource chart(
      410, 300, 5, palette, [](int x, int y) { return static_cast<std::uint32_t>((x + y) % 20); },
      SourcePaletteKind::kChart);
  ExpectSameRecords(Streamed(chart, Request(8, {1, 1}), 4),
                    WindowByWindow(chart, Request(8, {1, 1})));
}

TEST(MapConversion, TilesTooManyToKeepComeFromASecondPass) {
  ColourSource source(600, 420, 24, PhotoColour);
  MapConversionRequest request = Request(8, {1, 2});
  const Records reference = WindowByWindow(source, request);
  request.max_kept_tile_bytes = 0;
  ExpectSameRecords(Streamed(source, request, 2), reference);
}

// Logs the rows read; whole rows only come through the row reader.
class RowLog final : public ColourSource {
 public:
  RowLog(int width, int height) : ColourSource(width, height, 24, PhotoColour) {}
  void PixelsOfRow(std::span<const int> xs, int y, std::uint32_t* values) const override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      rows_.push_back(y);
    }
    ColourSource::PixelsOfRow(xs, y, values);
  }
  std::vector<int> rows() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return rows_;
  }

 private:
  mutable std::mutex mutex_;
  mutable std::vector<int> rows_;
};

std::vector<int> Ascending(int first, int end) {
  std::vector<int> rows;
  for (int y = first; y < end; ++y) rows.push_back(y);
  return rows;
}

TEST(MapConversion, ReadsEveryRowOnceWhenThePaletteSeesAllPixels) {
  RowLog source(500, 700);
  ConversionContext context;
  MapConversion converted;
  ASSERT_EQ(ConvertMap(source, Request(8, {1, 2}), context, &converted), ConversionStatus::kOk);
  EXPECT_THAT(source.rows(), ElementsAreArray(Ascending(0, 700)));

  RowLog again(500, 700);
  MapConversionRequest request = Request(8, {1, 2});
  request.max_kept_tile_bytes = 0;  // the tiles then need a pass of their own
  ASSERT_EQ(ConvertMap(again, request, context, &converted), ConversionStatus::kOk);
  std::vector<int> two_passes = Ascending(0, 700);
  for (int y = 0; y < 700; y += 2) two_passes.push_back(y);  // every row a tile samples
  EXPECT_THAT(again.rows(), ElementsAreArray(two_passes));

  // At 1/1 the tiles sample every pixel: decoding again while they are
  // encoded beats copying the whole source aside.
  RowLog full(500, 300);
  ASSERT_EQ(ConvertMap(full, Request(8, {1, 1}), context, &converted), ConversionStatus::kOk);
  std::vector<int> twice = Ascending(0, 300);
  for (int y = 0; y < 300; ++y) twice.push_back(y);
  EXPECT_THAT(full.rows(), ElementsAreArray(twice));
}

TEST(MapConversion, ReadsOnlyTheSampledRowsOnceWithoutAPalette) {
  RowLog source(700, 1100);
  ConversionContext context;
  context.threads = 3;
  MapConversion converted;
  ASSERT_EQ(ConvertMap(source, Request(16, {1, 4}), context, &converted), ConversionStatus::kOk);
  const std::vector<int> rows = source.rows();
  ASSERT_FALSE(rows.empty());
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_LT(rows[i - 1], rows[i]);
  // Tiles sample every fourth row; the overview adds a few of its own.
  EXPECT_LT(rows.size(), 1100u / 4 + kTileHeight);
}

TEST(MapConversion, ReportsProgressToTheEnd) {
  ColourSource source(700, 500, 24, PhotoColour);
  ConversionContext context;
  context.threads = 2;
  std::vector<ConversionProgress> reports;
  context.progress = [&](const ConversionProgress& progress) { reports.push_back(progress); };
  MapConversion converted;
  ASSERT_EQ(ConvertMap(source, Request(8, {1, 2}), context, &converted), ConversionStatus::kOk);
  ASSERT_GE(reports.size(), 2u);
  for (std::size_t i = 1; i < reports.size(); ++i) {
    EXPECT_LE(reports[i - 1].Fraction(), reports[i].Fraction());
  }
  const ConversionProgress& last = reports.back();
  EXPECT_EQ(last.rows_read, last.rows_total);
  EXPECT_EQ(last.rows_total, 500u);  // one pass that keeps the tiles
  EXPECT_EQ(last.tiles_done, last.tiles_total);
  EXPECT_EQ(last.tiles_total, converted.tiles.size());
}

TEST(MapConversion, StopsWhenCancelled) {
  for (int threads : {1, 4}) {
    ColourSource source(900, 700, 24, PhotoColour);
    ConversionContext context;
    context.threads = threads;
    int reports = 0;
    context.progress = [&](const ConversionProgress&) {
      if (++reports == 2) context.cancel = true;
    };
    MapConversion converted;
    EXPECT_EQ(ConvertMap(source, Request(16, {1, 1}), context, &converted),
              ConversionStatus::kCancelled)
        << threads;
    EXPECT_EQ(reports, 2);
  }
}

// Rows from `broken_row` on cannot be decoded.
class BrokenReader final : public SourceRowReader {
 public:
  explicit BrokenReader(int broken_row) : broken_row_(broken_row) {}
  ConversionStatus ReadRow(int y, std::uint32_t* values) override {
    values[0] = 0;
    return y < broken_row_ ? ConversionStatus::kOk : ConversionStatus::kDecoderFailed;
  }

 private:
  int broken_row_;
};

class BrokenSource final : public ColourSource {
 public:
  BrokenSource() : ColourSource(400, 300, 24, [](int, int) { return 0u; }) {}
  std::unique_ptr<SourceRowReader> OpenRowReader() const override {
    return std::make_unique<BrokenReader>(250);
  }
};

TEST(MapConversion, ADecodingFailureEndsIt) {
  for (int depth : {16, 8}) {
    for (int threads : {1, 4}) {
      BrokenSource source;
      ConversionContext context;
      context.threads = threads;
      MapConversion converted;
      EXPECT_EQ(ConvertMap(source, Request(depth, {1, 1}), context, &converted),
                ConversionStatus::kDecoderFailed);
    }
  }
}

TEST(MapConversion, BitmapsTooBigAreRefusedBeforeReading) {
  RowLog source(400, 300);
  ConversionContext context;
  MapConversion converted;
  // 160 pixels at 32 bits by 131 rows do not fit a bitmap's 16-bit length.
  MapConversionRequest request = Request(32, {1, 1});
  request.overview.minDepth = 32;
  EXPECT_EQ(ConvertMap(source, request, context, &converted), ConversionStatus::kTooBig);
  EXPECT_TRUE(source.rows().empty());
}

}  // namespace
}  // namespace kv
