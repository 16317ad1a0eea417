// GDAL sources read in row order: each band of rows decoded once, in the
// file's own blocks, GDAL's block cache held to what a band needs, and the
// strip cache left alone by a map conversion.

#include "bitmap/gdal/gdal_row_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bitmap/conversion_front.h"
#include "bitmap/gdal/gdal_image_source.h"
#include "bitmap/gdal/gdal_runtime.h"
#include "bitmap/gdal/image_source_library.h"
#include "bitmap/gdal_fixture.h"
#include "temp_folder.h"

namespace kv {
namespace {

using testing::RasterLayout;
using testing::WriteRaster;

// Wide enough that a band of rows is a few block rows, not the whole image.
constexpr int kWidth = 5000;
constexpr int kHeight = 600;
// Twenty block columns of 256 x 128 pixels in three byte bands.
constexpr std::int64_t kBlockRowBytes = 20 * 256 * 128 * 3;
constexpr std::int64_t kCacheSlack = std::int64_t{16} << 20;

std::uint32_t Channel(int band, int x, int y) { return (x * 3 + y * 5 + band * 70) % 256; }
std::uint32_t Colour(int x, int y) {
  return Channel(1, x, y) << 16 | Channel(2, x, y) << 8 | Channel(3, x, y);
}

class GdalRowReaderTest : public ::testing::Test {
 protected:
  ImageSourcePtr Open(const RasterLayout& layout) {
    EXPECT_TRUE(dir_.ok());
    const std::string path = dir_.File("image");
    EXPECT_TRUE(WriteRaster(path, layout,
                            [](int band, int x, int y) { return double(Channel(band, x, y)); }));
    ImageSourceLibrary library;
    ImageSourcePtr source;
    EXPECT_EQ(library.Open(path, ImageSourceKind::kRaster, &source), ConversionStatus::kOk);
    return source;
  }

  static GDALDatasetH Dataset(const std::string& path) {
    return GDALOpen(path.c_str(), GA_ReadOnly);
  }

  TempFolder dir_;
};

const RasterLayout kTiled{.driver = "GTiff",
                          .width = kWidth,
                          .height = kHeight,
                          .bands = 3,
                          .options = {"TILED=YES", "BLOCKXSIZE=256", "BLOCKYSIZE=128"}};

TEST_F(GdalRowReaderTest, DecodesEachBlockRowOnceAndHoldsTheCacheToIt) {
  ImageSourcePtr source = Open(kTiled);
  ASSERT_TRUE(source);
  const std::int64_t before = GDALGetCacheMax64();
  std::unique_ptr<SourceRowReader> reader = source->OpenRowReader();
  auto& rows = dynamic_cast<GdalRowReader&>(*reader);
  EXPECT_EQ(rows.BandRows() % 128, 0);
  ASSERT_LT(rows.BandRows(), kHeight);
  // Room for two block rows and a little more, not GDAL's share of the
  // machine's memory.
  EXPECT_LE(GDALGetCacheMax64(), 2 * kBlockRowBytes + kCacheSlack);
  std::vector<std::uint32_t> values(kWidth);
  int wrong = 0;
  for (int y = 0; y < kHeight; y += 3) {
    ASSERT_EQ(reader->ReadRow(y, values.data()), ConversionStatus::kOk);
    for (int x = 0; x < kWidth; ++x) wrong += values[x] != Colour(x, y);
  }
  EXPECT_EQ(wrong, 0);
  const std::size_t bands =
      static_cast<std::size_t>((kHeight + rows.BandRows() - 1) / rows.BandRows());
  EXPECT_EQ(rows.decode_count(), bands);
  reader.reset();
  EXPECT_EQ(GDALGetCacheMax64(), before);
}

TEST_F(GdalRowReaderTest, RowStoredFilesAreReadInBandsOfManyRows) {
  ImageSourcePtr source = Open({.driver = "PNG", .width = kWidth, .height = kHeight, .bands = 3});
  ASSERT_TRUE(source);
  std::unique_ptr<SourceRowReader> reader = source->OpenRowReader();
  auto& rows = dynamic_cast<GdalRowReader&>(*reader);
  EXPECT_GT(rows.BandRows(), 100);
  EXPECT_LT(rows.BandRows(), kHeight);
  std::vector<std::uint32_t> values(kWidth);
  for (int y = 0; y < kHeight; ++y)
    ASSERT_EQ(reader->ReadRow(y, values.data()), ConversionStatus::kOk);
  EXPECT_EQ(values[17], Colour(17, kHeight - 1));
}

TEST_F(GdalRowReaderTest, AMapConversionLeavesTheStripCacheEmpty) {
  ImageSourcePtr source = Open(kTiled);
  ASSERT_TRUE(source);
  ConversionContext context;
  ConversionSettings settings;
  settings.colourDepth = 8;
  settings.scale = ScaleRatio{1, 2};
  // The first report comes while the first pass reads.
  std::int64_t cache_while_reading = 0;
  context.progress = [&](const ConversionProgress&) {
    if (cache_while_reading == 0) cache_while_reading = GDALGetCacheMax64();
  };
  ConversionOptions overview;
  overview.fitToSize = true;
  overview.buildPalette = true;
  overview.targetWidth = 160;
  overview.targetHeight = 131;
  overview.maxDepth = 8;
  const MapConversion map =
      ConvertToOverviewAndTiles(context, settings, ConversionSource{1, {}, source.get()}, overview);
  EXPECT_EQ(map.tiles.size(), 16u * 3u);
  EXPECT_EQ(dynamic_cast<const GdalImageSource&>(*source).cache().decode_count(), 0u);
  EXPECT_GT(cache_while_reading, 0);
  EXPECT_LE(cache_while_reading, 2 * kBlockRowBytes + kCacheSlack);
}

// A conversion's reader and a view's read overlap and end in either order:
// each keeps its share while it lives, and GDAL's limit comes back after
// the last, whichever it is.
TEST(GdalBlockCacheLimitTest, OverlappingClaimsAddUpAndEndInAnyOrder) {
  const std::int64_t before = GDALGetCacheMax64();
  constexpr std::int64_t kConversion = std::int64_t{24} << 20;
  constexpr std::int64_t kView = std::int64_t{8} << 20;
  ASSERT_GT(before, kConversion + kView);
  for (const bool conversion_ends_first : {true, false}) {
    auto conversion = std::make_unique<GdalBlockCacheLimit>(kConversion);
    EXPECT_EQ(GDALGetCacheMax64(), kConversion);
    auto view = std::make_unique<GdalBlockCacheLimit>(kView);
    EXPECT_EQ(GDALGetCacheMax64(), kConversion + kView);
    if (conversion_ends_first) {
      conversion.reset();
      EXPECT_EQ(GDALGetCacheMax64(), kView);
    } else {
      view.reset();
      EXPECT_EQ(GDALGetCacheMax64(), kConversion);
    }
    conversion.reset();
    view.reset();
    EXPECT_EQ(GDALGetCacheMax64(), before);
  }
}

}  // namespace
}  // namespace kv
