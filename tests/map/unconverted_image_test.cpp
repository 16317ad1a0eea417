// Images added without conversion keep their source until they are
// converted, and then become what an import would have made of them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/exceptions.h"
#include "bitmap/bmp_fixture.h"
#include "map/c_image_container.h"
#include "temp_folder.h"

namespace kv {
namespace {

using ::testing::ElementsAre;

std::vector<std::uint8_t> Bmp(int width, int height) {
  testing::BmpParams params;
  params.width = width;
  params.height = height;
  return testing::MakeBmp(params, [](int x, int y) {
    return (static_cast<std::uint32_t>(x & 0xFF) << 16) | static_cast<std::uint32_t>(y * 7 & 0xFF);
  });
}

class UnconvertedImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = MakeTempFolder("kv-unconverted-");
    ASSERT_FALSE(folder_.empty());
    settings_.colourDepth = 8;
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  std::string WriteBmp(const std::string& name, int width, int height) {
    const std::string path = (folder_ / name).string();
    const std::vector<std::uint8_t> bytes = Bmp(width, height);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  static std::vector<std::string> Names(const CImageContainer& container) {
    std::vector<std::string> names;
    for (const auto& image : container.images()) names.push_back(image->name());
    return names;
  }

  std::filesystem::path folder_;
  ConversionSettings settings_;
};

TEST_F(UnconvertedImageTest, KeepsItsSourceAndSizeWithoutABitmap) {
  const std::string path = WriteBmp("area.bmp", 330, 140);
  CImageContainer container("Untitled", nullptr);
  const std::string name = "Area";
  CImage& image = container.AddImageFromFile(1, path, &name, false, settings_);
  ASSERT_TRUE(image.unconverted_source());
  EXPECT_EQ(image.unconverted_source()->path, path);
  EXPECT_EQ(image.unconverted_source()->width, 330);
  EXPECT_EQ(image.unconverted_source()->height, 140);
  EXPECT_TRUE(image.bitmap().bytes.empty());
  EXPECT_EQ(image.map_width(), 330u);
  EXPECT_EQ(container.image_count(), 1u);
  EXPECT_TRUE(container.HasUnconvertedImages());

  // The source stays readable although the file goes away.
  std::filesystem::remove(path);
  container.ConvertUnconvertedImages(settings_);
  EXPECT_FALSE(container.HasUnconvertedImages());
  EXPECT_FALSE(image.unconverted_source());
  EXPECT_THAT(Names(container), ElementsAre("Area", "Area 0 0", "Area 0 131", "Area 160 0",
                                            "Area 160 131", "Area 320 0", "Area 320 131"));
  EXPECT_EQ(image.bitmap().width, 160);
  EXPECT_EQ(image.bitmap().depth, 8);
}

TEST_F(UnconvertedImageTest, ConvertedLaterEqualsConvertedAtOnce) {
  const std::string path = WriteBmp("area.bmp", 300, 200);
  const std::string name = "Area";
  CImageContainer at_once("Untitled", nullptr);
  at_once.AddImageFromFile(1, path, &name, true, settings_);
  CImageContainer later("Untitled", nullptr);
  later.AddImageFromFile(1, path, &name, false, settings_);
  later.ConvertUnconvertedImages(settings_);

  ASSERT_EQ(later.image_count(), at_once.image_count());
  for (std::size_t i = 0; i < later.image_count(); ++i) {
    EXPECT_EQ(later.ImageAt(i)->name(), at_once.ImageAt(i)->name());
    EXPECT_EQ(later.ImageAt(i)->bitmap().bytes, at_once.ImageAt(i)->bitmap().bytes) << i;
  }
  EXPECT_EQ(later.ImageAt(0)->map_width(), at_once.ImageAt(0)->map_width());
}

TEST_F(UnconvertedImageTest, TilesFollowTheirOverviewWhenImagesComeAfterIt) {
  const std::string first = WriteBmp("first.bmp", 200, 140);
  const std::string second = WriteBmp("second.bmp", 100, 100);
  CImageContainer container("Untitled", nullptr);
  const std::string a = "A";
  const std::string b = "B";
  container.AddImageFromFile(1, first, &a, false, settings_);
  container.AddImageFromFile(1, second, &b, true, settings_);
  container.ConvertUnconvertedImages(settings_);
  EXPECT_THAT(Names(container),
              ElementsAre("A", "A 0 0", "A 0 131", "A 160 0", "A 160 131", "B", "B 0 0"));
}

TEST_F(UnconvertedImageTest, ACancelledConversionLeavesTheListAsItWas) {
  const std::string path = WriteBmp("area.bmp", 400, 300);
  CImageContainer container("Untitled", nullptr);
  CImage& image = container.AddImageFromFile(1, path, nullptr, false, settings_);
  container.conversion_context().cancel = true;
  EXPECT_THROW(container.ConvertUnconvertedImages(settings_), ErrAlreadyReported);
  EXPECT_EQ(container.image_count(), 1u);
  EXPECT_TRUE(image.unconverted_source());
  EXPECT_TRUE(image.bitmap().bytes.empty());

  container.conversion_context().cancel = false;
  container.ConvertUnconvertedImages(settings_);
  EXPECT_GT(container.image_count(), 1u);
}

TEST_F(UnconvertedImageTest, AnImageTakenOutLeavesItsSourceBehind) {
  const std::string path = WriteBmp("area.bmp", 200, 140);
  CImageContainer container("Untitled", nullptr);
  CImage& image = container.AddImageFromFile(1, path, nullptr, false, settings_);
  container.RemoveImage(&image);
  EXPECT_FALSE(container.HasUnconvertedImages());
  container.ConvertUnconvertedImages(settings_);
  EXPECT_EQ(container.image_count(), 0u);
}

TEST_F(UnconvertedImageTest, ReencodingPassesOverImagesNotConvertedYet) {
  const std::string first = WriteBmp("first.bmp", 200, 140);
  const std::string second = WriteBmp("second.bmp", 100, 100);
  CImageContainer container("Untitled", nullptr);
  CImage& waiting = container.AddImageFromFile(1, first, nullptr, false, settings_);
  CImage& converted = container.AddImageFromFile(1, second, nullptr, true, settings_);
  container.ReencodeImages(settings_, 4);
  EXPECT_TRUE(waiting.bitmap().bytes.empty());
  EXPECT_EQ(converted.bitmap().depth, 4);
}

TEST_F(UnconvertedImageTest, ReencodingReportsAStepPerImageAndStopsOnCancel) {
  const std::string path = WriteBmp("area.bmp", 480, 262);
  CImageContainer container("Untitled", nullptr);
  container.AddImageFromFile(1, path, nullptr, true, settings_);
  ASSERT_EQ(container.image_count(), 7u);
  std::vector<std::vector<std::uint8_t>> before;
  for (const auto& image : container.images()) before.push_back(image->bitmap().bytes);

  ConversionContext& context = container.conversion_context();
  std::vector<ConversionProgress> shown;
  std::size_t cancel_at = 3;
  context.progress = [&](const ConversionProgress& progress) {
    shown.push_back(progress);
    if (shown.size() == cancel_at) context.cancel = true;
  };
  EXPECT_THROW(container.ReencodeImages(settings_, 4), ErrAlreadyReported);
  EXPECT_EQ(shown.size(), 3u);
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(container.ImageAt(i)->bitmap().bytes, before[i]) << i;
  }

  context.cancel = false;
  shown.clear();
  cancel_at = 0;
  container.ReencodeImages(settings_, 4);
  ASSERT_EQ(shown.size(), 8u);
  EXPECT_EQ(shown.front().tiles_done, 0u);
  EXPECT_EQ(shown.back().tiles_done, 7u);
  EXPECT_EQ(shown.back().tiles_total, 7u);
  EXPECT_EQ(container.ImageAt(6)->bitmap().depth, 4);
}

TEST_F(UnconvertedImageTest, ConversionsRunThroughTheRunner) {
  const std::string path = WriteBmp("area.bmp", 200, 140);
  CImageContainer container("Untitled", nullptr);
  int runs = 0;
  container.set_conversion_runner([&](const std::function<void()>& work) {
    ++runs;
    work();
  });
  container.AddImageFromFile(1, path, nullptr, false, settings_);
  EXPECT_EQ(runs, 0);  // nothing to convert
  container.ConvertUnconvertedImages(settings_);
  EXPECT_EQ(runs, 1);
  container.ReencodeImages(settings_, 4);
  EXPECT_EQ(runs, 2);
  container.AddImageFromFile(1, path, nullptr, true, settings_);
  EXPECT_EQ(runs, 3);
}

}  // namespace
}  // namespace kv
