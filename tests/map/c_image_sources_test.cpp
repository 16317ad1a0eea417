#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/exceptions.h"
#include "bitmap/bmp_fixture.h"
#include "map/c_image_container.h"
#include "map/map_file.h"
#include "temp_folder.h"

namespace kv {
namespace {

using ::testing::ElementsAre;

std::vector<std::uint8_t> Bmp(int width, int height) {
  testing::BmpParams params;
  params.width = width;
  params.height = height;
  return testing::MakeBmp(params, [](int x, int y) {
    return (static_cast<std::uint32_t>(x & 0xFF) << 16) | static_cast<std::uint32_t>(y & 0xFF);
  });
}

class ImageSourcesTest : public ::testing::Test {
 protected:
  CImage& Add(const std::vector<std::uint8_t>& bmp, const std::string& name) {
    ConversionSource source{1, bmp, nullptr};
    return container_.AddSourceImage(source, true, true, true, &name, 0x12345678, 0xFFFF,
                                     settings_);
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& image : container_.images()) names.push_back(image->name());
    return names;
  }

  CImageContainer container_{"Untitled", nullptr};
  ConversionSettings settings_;
};

TEST_F(ImageSourcesTest, TilesFollowTheOverviewColumnByColumn) {
  settings_.colourDepth = 8;
  CImage& main = Add(Bmp(480, 262), "Map");
  EXPECT_THAT(Names(), ElementsAre("Map", "Map 0 0", "Map 0 131", "Map 160 0", "Map 160 131",
                                   "Map 320 0", "Map 320 131"));
  EXPECT_EQ(main.map_width(), 480u);
  EXPECT_EQ(main.map_height(), 262u);
  EXPECT_EQ(main.bitmap().width, 160);
  EXPECT_EQ(main.bitmap().height, 87);  // fitted, aspect kept
  EXPECT_EQ(main.date(), 0x12345678u);
  for (const auto& image : container_.images()) {
    EXPECT_EQ(image->bitmap().depth, 8);
    EXPECT_EQ(image->resource_id(), 0xFFFF);
    EXPECT_EQ(image->date(), 0x12345678u);
  }
  EXPECT_EQ(container_.ImageAt(1)->bitmap().width, 160);
  EXPECT_EQ(container_.ImageAt(1)->bitmap().height, 131);
}

TEST_F(ImageSourcesTest, HalfScaleStepsTwoTilesOfSource) {
  settings_.scale = ScaleRatio{1, 2};
  CImage& main = Add(Bmp(480, 262), "Half");
  EXPECT_THAT(Names(), ElementsAre("Half", "Half 0 0", "Half 320 0"));
  EXPECT_EQ(main.map_width(), 240u);
  EXPECT_EQ(main.map_height(), 131u);
}

TEST_F(ImageSourcesTest, OneColumnPastTheEdgeIsAColumnOfItsOwn) {
  Add(Bmp(161, 131), "Edge");
  EXPECT_THAT(Names(), ElementsAre("Edge", "Edge 0 0", "Edge 160 0"));
  EXPECT_EQ(container_.ImageAt(2)->bitmap().width, 1);
}

TEST_F(ImageSourcesTest, UnnamedSourcesTakeTheNextImageName) {
  const std::vector<std::uint8_t> bytes = Bmp(20, 20);
  ConversionSource source{1, bytes, nullptr};
  CImage& main =
      container_.AddSourceImage(source, false, true, true, nullptr, 0, 0xFFFF, settings_);
  EXPECT_EQ(main.name(), "Untitled 1");
  EXPECT_EQ(container_.image_count(), 1u);  // unconverted: no tiles
  EXPECT_EQ(main.map_width(), 20u);
}

TEST_F(ImageSourcesTest, TooManyTilesFailBeforeAnyConversion) {
  for (int i = 0; i < 9995; ++i) container_.AddImage(std::make_unique<CImage>());
  EXPECT_THROW(Add(Bmp(480, 262), "Full"), ErrImageListFull);
  EXPECT_EQ(container_.image_count(), 9995u);
}

TEST_F(ImageSourcesTest, FileErrorsNameTheFile) {
  const std::string missing = "/nonexistent/kv/map.bmp";
  try {
    container_.AddImageFromFile(1, missing, nullptr, true, settings_);
    FAIL();
  } catch (const ErrFileOpen& error) {
    EXPECT_EQ(std::string(error.file_name()), missing);
  }
  const auto folder = kv::MakeTempFolder("kv_sources_test_");
  const auto path = folder / "small.bmp";
  const std::vector<std::uint8_t> narrow = Bmp(9, 40);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(narrow.data()),
             static_cast<std::streamsize>(narrow.size()));
  EXPECT_THROW(container_.AddImageFromFile(1, path.string(), nullptr, true, settings_),
               ErrImageTooSmall);
  std::filesystem::remove_all(folder);
  EXPECT_EQ(container_.image_count(), 0u);
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

TEST(ReencodeImagesTest, WithoutADepthEveryImageKeepsItsOwn) {
  CImageContainer container("Map", nullptr);
  ConversionSettings settings;
  const std::vector<std::uint8_t> bmp = Bmp(200, 150);
  ConversionSource source{1, bmp, nullptr};
  const std::string name = "Mixed";
  settings.colourDepth = 8;
  container.AddSourceImage(source, true, true, true, &name, 0, 0xFFFF, settings);
  settings.colourDepth = 16;
  container.AddSourceImage(source, true, true, true, &name, 0, 0xFFFF, settings);

  settings.compressBitmaps = false;
  container.ReencodeImages(settings, std::nullopt);
  for (const auto& image : container.images()) {
    EXPECT_EQ(image->bitmap().depth, image->reference_bitmap().depth);
    EXPECT_FALSE(image->bitmap().compressed);
  }
  EXPECT_EQ(container.ImageAt(0)->bitmap().depth, 8);
  EXPECT_EQ(container.image_count(), 10u);  // each source: overview and 2 x 2 tiles
  EXPECT_EQ(container.ImageAt(5)->bitmap().depth, 16);

  container.ReencodeImages(settings, 4);
  for (const auto& image : container.images()) EXPECT_EQ(image->bitmap().depth, 4);
}

std::string SavedBytes(CImageContainer& container, const std::filesystem::path& path) {
  SaveMapFile(container, path.string(), "map", 1700000000);
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

// A converted image holds its bitmap once: the stored bitmap is the
// reference until a re-encoding, and is again when the image goes back to
// the depth it was converted at.
TEST(ReencodeImagesTest, BackAtTheConvertedDepthTheReferenceIsStoredUncopiedAndSavesUnchanged) {
  const auto folder = MakeTempFolder("kv_reencode_test_");
  CImageContainer container("Map", nullptr);
  ConversionSettings settings;
  settings.colourDepth = 8;
  const std::vector<std::uint8_t> bmp = Bmp(200, 150);
  const std::string name = "Depths";
  container.AddSourceImage(ConversionSource{1, bmp, nullptr}, true, true, true, &name, 0, 0xFFFF,
                           settings);
  const std::string converted = SavedBytes(container, folder / "converted.prc");

  container.ReencodeImages(settings, 4);
  for (const auto& image : container.images()) EXPECT_EQ(image->reference_bitmap().depth, 8);
  container.ReencodeImages(settings, 8);
  for (const auto& image : container.images())
    EXPECT_EQ(image->bitmap().bytes.data(), image->reference_bitmap().bytes.data());
  EXPECT_EQ(SavedBytes(container, folder / "back.prc"), converted);

  CImageContainer reopened("Map", nullptr);
  LoadMapFile((folder / "back.prc").string(), reopened, settings, nullptr);
  EXPECT_EQ(SavedBytes(reopened, folder / "reopened.prc"), converted);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kv
