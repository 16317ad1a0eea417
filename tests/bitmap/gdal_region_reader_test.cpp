#include "bitmap/gdal/gdal_region_reader.h"

#include <cpl_string.h>
#include <gdal.h>
#include <gdal_utils.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bitmap/gdal_fixture.h"
#include "temp_folder.h"

namespace kv {
namespace {

using testing::RasterLayout;
using testing::WriteRaster;

double Pattern(int band, int x, int y) { return (x * 7 + y * 13 + band * 50) % 256; }

std::unique_ptr<GdalRegionReader> OpenReader(const std::string& path) {
  std::unique_ptr<GdalRegionReader> reader;
  EXPECT_EQ(GdalRegionReader::Open(path, &reader), ConversionStatus::kOk) << path;
  return reader;
}

// GDAL's own answer: gdal_translate -srcwin -outsize -r nearest into memory,
// its bands read back as bytes (16-bit samples as their high byte).
struct TranslatedBands {
  int width = 0;
  int height = 0;
  std::vector<std::vector<std::uint16_t>> bands;
};

TranslatedBands Translate(const std::string& path, const SourceWindow& window, int out_width,
                          int out_height) {
  const std::vector<std::string> arguments = {"-of",
                                              "MEM",
                                              "-r",
                                              "nearest",
                                              "-srcwin",
                                              std::to_string(window.x),
                                              std::to_string(window.y),
                                              std::to_string(window.width),
                                              std::to_string(window.height),
                                              "-outsize",
                                              std::to_string(out_width),
                                              std::to_string(out_height)};
  char** argv = nullptr;
  for (const std::string& argument : arguments) argv = CSLAddString(argv, argument.c_str());
  GDALTranslateOptions* options = GDALTranslateOptionsNew(argv, nullptr);
  CSLDestroy(argv);
  GDALDatasetH source = GDALOpen(path.c_str(), GA_ReadOnly);
  GDALDatasetH result = GDALTranslate("", source, options, nullptr);
  GDALTranslateOptionsFree(options);
  TranslatedBands bands;
  if (result != nullptr) {
    bands.width = GDALGetRasterXSize(result);
    bands.height = GDALGetRasterYSize(result);
    for (int band = 1; band <= GDALGetRasterCount(result); ++band) {
      std::vector<std::uint16_t> values(static_cast<std::size_t>(bands.width) * bands.height);
      EXPECT_EQ(
          GDALRasterIO(GDALGetRasterBand(result, band), GF_Read, 0, 0, bands.width, bands.height,
                       values.data(), bands.width, bands.height, GDT_UInt16, 0, 0),
          CE_None);
      bands.bands.push_back(std::move(values));
    }
    GDALClose(result);
  }
  GDALClose(source);
  return bands;
}

std::uint32_t RgbAt(const RgbImage& image, std::size_t i) {
  return (std::uint32_t{image.rgb[3 * i]} << 16) | (std::uint32_t{image.rgb[3 * i + 1]} << 8) |
         image.rgb[3 * i + 2];
}

TEST(GdalRegionReaderTest, RgbWindowsMatchGdalTranslateWhenEnlargedAndReduced) {
  TempFolder dir;
  const std::string path = dir.File("rgb.png");
  ASSERT_TRUE(WriteRaster(path, RasterLayout{.width = 97, .height = 61}, Pattern));
  auto reader = OpenReader(path);
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->width(), 97);
  EXPECT_EQ(reader->height(), 61);
  const SourceWindow window{11, 5, 40, 30};
  for (const auto& [out_width, out_height] : {std::pair{40, 30}, {160, 120}, {13, 7}, {3, 50}}) {
    RgbImage image;
    ASSERT_EQ(reader->Read(window, out_width, out_height, &image), ConversionStatus::kOk);
    const TranslatedBands peer = Translate(path, window, out_width, out_height);
    ASSERT_EQ(peer.bands.size(), 3u);
    ASSERT_EQ(image.width, peer.width);
    ASSERT_EQ(image.height, peer.height);
    for (std::size_t i = 0; i < peer.bands[0].size(); ++i) {
      for (int band = 0; band < 3; ++band) {
        ASSERT_EQ(image.rgb[3 * i + band], peer.bands[band][i])
            << out_width << "x" << out_height << " pixel " << i << " band " << band;
      }
    }
  }
}

TEST(GdalRegionReaderTest, PaletteIndicesAreLookedUpAndWideSamplesKeepTheirHighByte) {
  TempFolder dir;
  const std::vector<std::uint32_t> palette = {0x102030, 0xC00000, 0x00B000, 0x0000A0};
  const std::string indexed = dir.File("indexed.png");
  ASSERT_TRUE(WriteRaster(indexed, RasterLayout{.bands = 1, .palette = palette},
                          [](int, int x, int y) { return (x + 2 * y) % 4; }));
  const SourceWindow window{3, 2, 20, 15};
  RgbImage image;
  ASSERT_EQ(OpenReader(indexed)->Read(window, 10, 30, &image), ConversionStatus::kOk);
  const TranslatedBands indices = Translate(indexed, window, 10, 30);
  ASSERT_EQ(indices.bands.size(), 1u);
  for (std::size_t i = 0; i < indices.bands[0].size(); ++i) {
    ASSERT_EQ(RgbAt(image, i), palette[indices.bands[0][i]]) << i;
  }

  const std::string wide = dir.File("wide.tif");
  ASSERT_TRUE(WriteRaster(wide, RasterLayout{.driver = "GTiff", .type = GDT_UInt16},
                          [](int band, int x, int y) { return band * 9000 + x * 700 + y * 301; }));
  ASSERT_EQ(OpenReader(wide)->Read(window, 20, 15, &image), ConversionStatus::kOk);
  const TranslatedBands samples = Translate(wide, window, 20, 15);
  ASSERT_EQ(samples.bands.size(), 3u);
  for (std::size_t i = 0; i < samples.bands[0].size(); ++i) {
    for (int band = 0; band < 3; ++band) {
      ASSERT_EQ(image.rgb[3 * i + band], samples.bands[band][i] >> 8) << i;
    }
  }
}

TEST(GdalRegionReaderTest, ReducedReadsComeFromTheFilesOverviews) {
  TempFolder dir;
  const std::string path = dir.File("tiled.tif");
  ASSERT_TRUE(
      WriteRaster(path,
                  RasterLayout{.driver = "GTiff",
                               .width = 512,
                               .height = 512,
                               .options = {"TILED=YES", "BLOCKXSIZE=128", "BLOCKYSIZE=128"}},
                  Pattern));
  // An overview whose pixels differ from the full image shows which one a
  // read took.
  GDALDatasetH dataset = GDALOpen(path.c_str(), GA_Update);
  ASSERT_NE(dataset, nullptr);
  int level = 4;
  ASSERT_EQ(GDALBuildOverviews(dataset, "NEAREST", 1, &level, 0, nullptr, nullptr, nullptr),
            CE_None);
  for (int band = 1; band <= 3; ++band) {
    GDALRasterBandH overview = GDALGetOverview(GDALGetRasterBand(dataset, band), 0);
    ASSERT_EQ(GDALGetRasterBandXSize(overview), 128);
    ASSERT_EQ(GDALFillRaster(overview, 40.0 * band, 0), CE_None);
  }
  GDALClose(dataset);

  auto reader = OpenReader(path);
  RgbImage reduced;
  ASSERT_EQ(reader->Read({0, 0, 512, 512}, 128, 128, &reduced), ConversionStatus::kOk);
  EXPECT_EQ(RgbAt(reduced, 0), 0x285078u);
  EXPECT_EQ(RgbAt(reduced, 128 * 128 - 1), 0x285078u);

  RgbImage full;
  ASSERT_EQ(reader->Read({100, 200, 4, 4}, 4, 4, &full), ConversionStatus::kOk);
  EXPECT_EQ(full.rgb[0], Pattern(1, 100, 200));
  EXPECT_EQ(full.rgb[1], Pattern(2, 100, 200));
}

TEST(GdalRegionReaderTest, RefusesWhatItCannotReadWithAStatus) {
  TempFolder dir;
  std::unique_ptr<GdalRegionReader> reader;
  EXPECT_EQ(GdalRegionReader::Open(dir.File("missing.png"), &reader),
            ConversionStatus::kOpenFailed);
  EXPECT_EQ(GdalRegionReader::Open(dir.Write("junk.png", {1, 2, 3, 4, 5}), &reader),
            ConversionStatus::kOpenFailed);
  EXPECT_FALSE(reader);

  const std::string path = dir.File("small.png");
  ASSERT_TRUE(WriteRaster(path, RasterLayout{}, Pattern));
  reader = OpenReader(path);
  RgbImage image;
  EXPECT_EQ(reader->Read({30, 0, 8, 5}, 8, 5, &image),
            ConversionStatus::kMalformed);  // past the right edge
  EXPECT_EQ(reader->Read({-1, 0, 8, 5}, 8, 5, &image), ConversionStatus::kMalformed);
  EXPECT_EQ(reader->Read({0, 0, 8, 5}, 0, 5, &image), ConversionStatus::kMalformed);
  EXPECT_EQ(reader->Read({0, 0, 8, 5}, 65536, 1025, &image), ConversionStatus::kTooBig);
  EXPECT_EQ(reader->Read({0, 0, 37, 23}, 37, 23, &image), ConversionStatus::kOk);
}

}  // namespace
}  // namespace kv
