// The estimate of a map's size against the map the conversion really
// makes, on the bundled sample and the real maps of the test corpus
// (tests/calibration/data/corpus/README.md says where they come from).

#include "map/map_size_estimate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bitmap/gdal/image_source_library.h"
#include "map/map_conversion_options.h"

namespace kv {
namespace {

// KV_TEST_DATA is this folder's data/, beside the other test folders and
// two levels below the sample folder.
std::string TestsFolder() {
  const char* data = std::getenv("KV_TEST_DATA");
  // Lexically: data/ itself need not exist.
  return std::filesystem::path(data != nullptr ? data : "tests/map/data")
      .parent_path()
      .parent_path()
      .string();
}

struct Case {
  const char* path;  // from the tests folder
  ImageSourceKind kind;
  int depth;
  int scale_den;
  std::size_t sample_tiles = kEstimateSampleTiles;
};

// Within this much of the real size.
constexpr double kAllowedError = 0.15;

class MapSizeEstimateTest : public ::testing::TestWithParam<Case> {};

std::uint64_t RealSize(ConversionContext& context, ConversionSettings& settings,
                       const ConversionSource& source, std::size_t calibration_bytes) {
  ConversionOptions options = MapTileOptions(settings, false);
  options.fitToSize = true;
  options.buildPalette = true;
  const MapConversion map = ConvertToOverviewAndTiles(context, settings, source, options);
  std::uint64_t bytes = map.overview.record.size();
  for (const ConvertedBitmap& tile : map.tiles) bytes += tile.record.size();
  return bytes + MapDatabaseOverhead(1 + map.tiles.size(), calibration_bytes);
}

TEST_P(MapSizeEstimateTest, StaysNearTheConvertedSize) {
  const Case& c = GetParam();
  ImageSourceLibrary library;
  ImageSourcePtr image;
  const std::string path = TestsFolder() + "/" + c.path;
  ASSERT_EQ(library.Open(path, c.kind, &image), ConversionStatus::kOk) << path;
  const ConversionSource source{static_cast<int>(image->kind()), {}, image.get()};
  ConversionSettings settings;
  settings.colourDepth = c.depth;
  settings.scale = ScaleRatio{1, c.scale_den};
  ConversionContext context;
  const MapSizeEstimate estimate =
      EstimateMapSize(context, settings, source, false, 0, c.sample_tiles);
  const std::uint64_t real = RealSize(context, settings, source, 0);
  const double error = (static_cast<double>(estimate.total_bytes()) - static_cast<double>(real)) /
                       static_cast<double>(real);
  // One line per case for the table of estimates.
  std::printf("estimate|%s|%d|1/%d|%zu|%zu|%llu|%llu|%+.1f%%\n", c.path, c.depth, c.scale_den,
              estimate.tiles, estimate.sampled_tiles,
              static_cast<unsigned long long>(estimate.total_bytes()),
              static_cast<unsigned long long>(real), 100 * error);
  EXPECT_LE(std::fabs(error), kAllowedError);
  EXPECT_EQ(estimate.images, 1 + estimate.tiles);
  EXPECT_FALSE(estimate.over_limit);
}

constexpr const char* kSample = "../samples/earth.jpg";
constexpr const char* kGeoTiff = "calibration/data/corpus/RGB.byte.quarter.tif";
constexpr const char* kPolarTiff = "calibration/data/corpus/nt_20201024_f18_nrt_s.tif";
constexpr const char* kChart = "calibration/data/corpus/australia4c.kap";
// A scanned paper sheet: print screen, lettering and scanner noise.
constexpr const char* kTopoSheet = "calibration/data/corpus/o37-122.jpg";
constexpr const char* kMercatorChart = "calibration/data/corpus/transverse_mercator.kap";

INSTANTIATE_TEST_SUITE_P(SampleAndCorpus, MapSizeEstimateTest,
                         // The default sample encodes all tiles of these maps; the rows with a
                         // smaller sample make the estimate extrapolate.
                         ::testing::Values(Case{kSample, ImageSourceKind::kRaster, 16, 1},
                                           Case{kSample, ImageSourceKind::kRaster, 16, 1, 48},
                                           Case{kSample, ImageSourceKind::kRaster, 8, 1, 48},
                                           Case{kSample, ImageSourceKind::kRaster, 4, 1, 48},
                                           Case{kSample, ImageSourceKind::kRaster, 8, 2, 12},
                                           Case{kChart, ImageSourceKind::kChart, 16, 1, 6},
                                           Case{kPolarTiff, ImageSourceKind::kRaster, 16, 1, 3},
                                           Case{kTopoSheet, ImageSourceKind::kRaster, 16, 1, 10},
                                           Case{kTopoSheet, ImageSourceKind::kRaster, 8, 1, 10},
                                           Case{kTopoSheet, ImageSourceKind::kRaster, 4, 1, 10},
                                           Case{kTopoSheet, ImageSourceKind::kRaster, 8, 2, 4},
                                           Case{kPolarTiff, ImageSourceKind::kRaster, 8, 1, 4},
                                           Case{kSample, ImageSourceKind::kRaster, 16, 2},
                                           Case{kSample, ImageSourceKind::kRaster, 8, 1},
                                           Case{kSample, ImageSourceKind::kRaster, 8, 4},
                                           Case{kSample, ImageSourceKind::kRaster, 4, 1},
                                           Case{kGeoTiff, ImageSourceKind::kRaster, 16, 1},
                                           Case{kGeoTiff, ImageSourceKind::kRaster, 8, 1},
                                           Case{kPolarTiff, ImageSourceKind::kRaster, 8, 1},
                                           Case{kPolarTiff, ImageSourceKind::kRaster, 4, 2},
                                           Case{kChart, ImageSourceKind::kChart, 16, 1},
                                           Case{kChart, ImageSourceKind::kChart, 4, 1},
                                           Case{kMercatorChart, ImageSourceKind::kChart, 8, 1}));

// A map's bytes besides its bitmaps, counted by hand from the layout: the
// 78-byte header, ten bytes per entry and two zero bytes, then the eleven
// metadata resources (34 + 4 + 4 + 4 + 4 x 34 + calibration + 100 + 4).
TEST(MapDatabaseOverheadTest, CountsHeaderEntriesAndMetadata) {
  const struct {
    std::size_t images;
    std::size_t calibration;
    std::uint64_t bytes;
  } rows[] = {{1, 0, 78 + 12 * 10 + 2 + 286 + 2048},
              {105, 900, 78 + 116 * 10 + 2 + 286 + 2048},
              {2, 3001, 78 + 13 * 10 + 2 + 286 + 3002}};
  for (const auto& row : rows) {
    EXPECT_EQ(MapDatabaseOverhead(row.images, row.calibration), row.bytes) << row.images;
  }
}

}  // namespace
}  // namespace kv
