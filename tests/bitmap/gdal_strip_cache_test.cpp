// How often pixels are decoded: once per strip for row-by-row reading and
// for tile windows when the image fits the budget, and always the right
// pixels when it does not.

#include "bitmap/gdal/gdal_strip_cache.h"

#include <gtest/gtest.h>

#include <string>

#include "bitmap/gdal/gdal_image_source.h"
#include "bitmap/gdal/image_source_library.h"
#include "bitmap/gdal_fixture.h"
#include "temp_folder.h"

namespace kv {
namespace {

using testing::RasterLayout;
using testing::WriteRaster;

constexpr int kWidth = 2000;  // 6000 bytes a row in colour: several strips
constexpr int kHeight = 600;
constexpr int kTileWidth = 160;
constexpr int kTileHeight = 131;

std::uint32_t Channel(int band, int x, int y) { return (x * 3 + y * 5 + band * 70) % 256; }
std::uint32_t Colour(int x, int y) {
  return Channel(1, x, y) << 16 | Channel(2, x, y) << 8 | Channel(3, x, y);
}

class StripCacheTest : public ::testing::Test {
 protected:
  void Write(const RasterLayout& params) {
    ASSERT_TRUE(dir_.ok());
    path_ = dir_.File("image");
    ASSERT_TRUE(WriteRaster(path_, params,
                            [](int band, int x, int y) { return double(Channel(band, x, y)); }));
  }

  ImageSourcePtr Open(std::size_t budget) {
    ImageSourceLibrary library(budget);
    ImageSourcePtr source;
    EXPECT_EQ(library.Open(path_, ImageSourceKind::kRaster, &source), ConversionStatus::kOk);
    return source;
  }

  static const GdalStripCache& CacheOf(const ImageSource& source) {
    return dynamic_cast<const GdalImageSource&>(source).cache();
  }

  static int StripCount(const ImageSource& source) {
    const int rows = CacheOf(source).rows_per_strip();
    return (kHeight + rows - 1) / rows;
  }

  // Tiles column by column, as the map is cut; counts wrong pixels.
  static int ReadTilesByColumn(const ImageSource& source) {
    int wrong = 0;
    for (int left = 0; left < kWidth; left += kTileWidth) {
      for (int top = 0; top < kHeight; top += kTileHeight) {
        for (int y = top; y < std::min(top + kTileHeight, kHeight); ++y) {
          for (int x = left; x < std::min(left + kTileWidth, kWidth); ++x) {
            wrong += source.Pixel(x, y) != Colour(x, y);
          }
        }
      }
    }
    return wrong;
  }

  static int ReadRows(const ImageSource& source) {
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) wrong += source.Pixel(x, y) != Colour(x, y);
    }
    return wrong;
  }

  TempFolder dir_;
  std::string path_;
};

TEST_F(StripCacheTest, EachStripIsDecodedOnceWhenTheImageFits) {
  Write({.width = kWidth, .height = kHeight, .bands = 3});
  ImageSourcePtr source = Open(kDefaultImageCacheBytes);
  ASSERT_TRUE(source);
  ASSERT_GT(StripCount(*source), 1);
  EXPECT_EQ(ReadRows(*source), 0);
  EXPECT_EQ(CacheOf(*source).decode_count(), static_cast<std::size_t>(StripCount(*source)));
  EXPECT_EQ(ReadTilesByColumn(*source), 0);
  EXPECT_EQ(CacheOf(*source).decode_count(), static_cast<std::size_t>(StripCount(*source)));
}

TEST_F(StripCacheTest, TilesAreRightWhenOnlyOneStripFits) {
  Write({.width = kWidth, .height = kHeight, .bands = 3});
  ImageSourcePtr source = Open(1);
  ASSERT_TRUE(source);
  EXPECT_EQ(ReadTilesByColumn(*source), 0);
  // Every tile column walks all strips again.
  const auto columns = static_cast<std::size_t>((kWidth + kTileWidth - 1) / kTileWidth);
  EXPECT_GE(CacheOf(*source).decode_count(),
            columns * static_cast<std::size_t>(StripCount(*source)));
  // Row by row there is still one decode per strip.
  ImageSourcePtr rows = Open(1);
  EXPECT_EQ(ReadRows(*rows), 0);
  EXPECT_EQ(CacheOf(*rows).decode_count(), static_cast<std::size_t>(StripCount(*rows)));
}

TEST_F(StripCacheTest, StripsFollowTheFilesBlocks) {
  Write({.driver = "GTiff",
         .width = kWidth,
         .height = kHeight,
         .bands = 3,
         .options = {"TILED=YES", "BLOCKXSIZE=256", "BLOCKYSIZE=64"}});
  ImageSourcePtr source = Open(kDefaultImageCacheBytes);
  ASSERT_TRUE(source);
  EXPECT_EQ(CacheOf(*source).rows_per_strip() % 64, 0);
  EXPECT_EQ(ReadTilesByColumn(*source), 0);
  EXPECT_EQ(CacheOf(*source).decode_count(), static_cast<std::size_t>(StripCount(*source)));
}

}  // namespace
}  // namespace kv
