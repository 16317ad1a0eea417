// Charts ("kap") read through the image source of kind 2. GDAL cannot write
// BSB charts, so each is built byte by byte.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bitmap/gdal/image_source_library.h"
#include "bitmap/image_source.h"
#include "bitmap/kap_fixture.h"
#include "temp_folder.h"

namespace kv {
namespace {

using testing::KapParams;
using testing::KapReference;
using testing::MakeKap;

std::vector<std::uint32_t> ChartPalette(int count) {
  std::vector<std::uint32_t> palette;
  for (int i = 0; i < count; ++i) palette.push_back((0x2A1F09u * (i + 3)) & 0xFFFFFFu);
  return palette;
}

const std::vector<KapReference> kCorners = {
    {0, 0, 50.25, -1.5}, {299, 0, 50.25, -0.75}, {299, 139, 49.875, -0.75}, {0, 139, 49.875, -1.5}};

// Runs of every length from 1 up, so that run lengths need one, two and
// three bytes; 140 rows so that row numbers need two bytes.
int ChartColour(int colours, int x, int y) {
  if (y % 5 == 4) return 1 + y % colours;  // whole rows of one colour
  return 1 + ((x * x / 97 + y) % colours);
}

ImageSourcePtr OpenChart(const TempFolder& dir, const std::string& name,
                         const std::vector<std::uint8_t>& bytes, ImageSourceKind kind) {
  ImageSourceLibrary library;
  ImageSourcePtr source;
  EXPECT_EQ(library.Open(dir.Write(name, bytes), kind, &source), ConversionStatus::kOk) << name;
  return source;
}

class ChartDepthTest : public ::testing::TestWithParam<int> {};

TEST_P(ChartDepthTest, SizePalettePixelsAndDepth) {
  const int depth = GetParam();
  const int colours = (1 << depth) - 1;  // colour 0 cannot be stored
  TempFolder dir;
  ASSERT_TRUE(dir.ok());
  const KapParams params{.width = 300,
                         .height = 140,
                         .depth = depth,
                         .palette = ChartPalette(colours),
                         .references = kCorners};
  const auto bytes =
      MakeKap(params, [colours](int x, int y) { return ChartColour(colours, x, y); });
  ImageSourcePtr source = OpenChart(dir, "chart.kap", bytes, ImageSourceKind::kChart);
  ASSERT_TRUE(source);
  std::uint16_t width = 0, height = 0;
  int reported_depth = 0;
  ASSERT_EQ(QueryImageSource(*source, &width, &height, &reported_depth), ConversionStatus::kOk);
  EXPECT_EQ(width, 300);
  EXPECT_EQ(height, 140);
  EXPECT_EQ(reported_depth, depth);
  EXPECT_EQ(source->kind(), ImageSourceKind::kChart);
  EXPECT_EQ(source->PaletteKind(), SourcePaletteKind::kChart);

  // The palette starts with RGB/1; a stored colour n is palette entry n - 1.
  std::vector<std::uint32_t> palette;
  ASSERT_EQ(source->Palette(&palette), ConversionStatus::kOk);
  EXPECT_EQ(palette, ChartPalette(colours));
  int wrong = 0;
  for (int y = 0; y < 140; ++y) {
    for (int x = 0; x < 300; ++x) {
      const int index = ChartColour(colours, x, y) - 1;
      if (source->Pixel(x, y) != palette[index]) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
  source->SetPixelMode(PixelMode::kIndex);
  EXPECT_EQ(source->Pixel(150, 7), static_cast<std::uint32_t>(ChartColour(colours, 150, 7) - 1));
  EXPECT_EQ(source->read_status(), ConversionStatus::kOk);
}

INSTANTIATE_TEST_SUITE_P(AllDepths, ChartDepthTest, ::testing::Values(1, 2, 3, 4, 5, 6, 7));

// GDAL hands the reference points over in the chart's projection; they come
// back as the latitudes and longitudes written in the chart.
TEST(ChartSourceTest, ReferencePointsKeepTheirPositions) {
  TempFolder dir;
  ASSERT_TRUE(dir.ok());
  for (const char* projection : {"MERCATOR", "TRANSVERSE MERCATOR", "UNKNOWN"}) {
    SCOPED_TRACE(projection);
    const KapParams params{.width = 300,
                           .height = 140,
                           .depth = 3,
                           .projection = projection,
                           .palette = ChartPalette(7),
                           .references = kCorners};
    ImageSourcePtr source = OpenChart(dir, "chart.kap", MakeKap(params, [](int, int) { return 2; }),
                                      ImageSourceKind::kChart);
    ASSERT_TRUE(source);
    const auto& points = source->reference_points();
    ASSERT_EQ(points.size(), kCorners.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
      EXPECT_DOUBLE_EQ(points[i].pixel_x, kCorners[i].x);
      EXPECT_DOUBLE_EQ(points[i].pixel_y, kCorners[i].y);
      EXPECT_NEAR(points[i].latitude, kCorners[i].latitude, 1e-7);
      EXPECT_NEAR(points[i].longitude, kCorners[i].longitude, 1e-7);
    }
    EXPECT_NE(source->geographic_system_wkt().find("WGS"), std::string::npos)
        << source->geographic_system_wkt();
  }
}

TEST(ChartSourceTest, OtherImagesHaveNoChartData) {
  TempFolder dir;
  ASSERT_TRUE(dir.ok());
  const KapParams params{.palette = ChartPalette(15), .references = kCorners};
  // A chart opened as an ordinary raster is just a paletted image.
  ImageSourcePtr raster = OpenChart(dir, "chart.kap", MakeKap(params, [](int, int) { return 3; }),
                                    ImageSourceKind::kRaster);
  ASSERT_TRUE(raster);
  EXPECT_EQ(raster->PaletteKind(), SourcePaletteKind::kNone);
  EXPECT_TRUE(raster->reference_points().empty());
  EXPECT_EQ(raster->Depth(), 8);
  EXPECT_EQ(raster->Pixel(0, 0), ChartPalette(15)[2]);
  std::vector<std::uint32_t> palette{1};
  EXPECT_EQ(raster->Palette(&palette), ConversionStatus::kOk);
  EXPECT_TRUE(palette.empty());
}

TEST(ChartSourceTest, DamagedChartsNeverCrash) {
  TempFolder dir;
  ASSERT_TRUE(dir.ok());
  const KapParams params{
      .width = 64, .height = 40, .depth = 4, .palette = ChartPalette(15), .references = kCorners};
  const auto whole = MakeKap(params, [](int x, int y) { return 1 + (x + y) % 15; });
  ImageSourceLibrary library;
  // Cuts through the header, the rows and the index, and a stray byte in a row.
  std::vector<std::vector<std::uint8_t>> damaged;
  for (std::size_t size : {std::size_t{0}, std::size_t{100}, whole.size() / 3, whole.size() - 5}) {
    damaged.emplace_back(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
  }
  auto scribbled = whole;
  const auto data = std::find(scribbled.begin(), scribbled.end(), 0x1A) - scribbled.begin();
  for (std::size_t i = static_cast<std::size_t>(data) + 3; i < scribbled.size(); i += 37)
    scribbled[i] = 0xFF;
  damaged.push_back(scribbled);
  int number = 0;
  for (const auto& bytes : damaged) {
    ::testing::internal::CaptureStderr();
    ImageSourcePtr source;
    const std::string path = dir.Write("damaged" + std::to_string(++number) + ".kap", bytes);
    if (library.Open(path, ImageSourceKind::kChart, &source) == ConversionStatus::kOk) {
      for (int y = 0; y < source->Height(); ++y) {
        for (int x = 0; x < source->Width(); ++x) source->Pixel(x, y);
      }
    } else {
      EXPECT_FALSE(source);
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  }
}

}  // namespace
}  // namespace kv
