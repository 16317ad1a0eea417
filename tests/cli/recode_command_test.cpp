// kvmap recode: every image of a map encoded again. Re-encoding keeps
// compression on unless --no-compress says otherwise, however the map's last
// bitmap happens to be stored.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "bitmap/bmp_fixture.h"
#include "map/map_file.h"
#include "stripes_folder_test.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class RecodeCommandTest : public testing::StripesFolderTest {
 protected:
  RecodeCommandTest() : StripesFolderTest("kv_recode_") {}
};

TEST_F(RecodeCommandTest, RecodeChangesEveryImageInPlace) {
  const std::string source = WriteBmp("r.bmp", 200, 150);
  const std::string map = (dir_ / "r.prc").string();
  ASSERT_EQ(Run("convert '" + source + "' -o '" + map + "'").exit_code, 0);
  testing::KvmapResult result = Run("recode '" + map + "' --depth 2 --no-compress");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  nlohmann::json json = Info(map);
  for (const auto& image : json["images"]) {
    EXPECT_EQ(image["depth"], 2);
    EXPECT_EQ(image["compression"], "none");
  }
  EXPECT_EQ(json["map"]["width"], 200);
}

class RecodeCompressionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kv::MakeTempFolder("kv_recode_compression_");
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    WriteFlatImageWithNoisyLastTile();
  }
  void TearDown() override { fs::remove_all(dir_); }

  // 480 x 262 is three columns of two tiles; the last tile (bottom right) is
  // noise, which no compression makes smaller, the rest one colour.
  void WriteFlatImageWithNoisyLastTile() {
    testing::BmpParams params;
    params.width = 480;
    params.height = 262;
    std::mt19937 noise(7);
    std::vector<std::uint8_t> bmp = testing::MakeBmp(params, [&](int x, int y) -> std::uint32_t {
      return x >= 320 && y >= 131 ? noise() & 0xFFFFFF : 0x2878C8;
    });
    std::ofstream(dir_ / "n.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
  }

  // Runs kvmap with `{name}` in `arguments` standing for a file in the test's folder.
  testing::KvmapResult Run(std::string arguments) {
    for (std::size_t at; (at = arguments.find('{')) != std::string::npos;) {
      const std::size_t end = arguments.find('}', at);
      const std::string name = arguments.substr(at + 1, end - at - 1);
      arguments.replace(at, end - at + 1, "'" + (dir_ / name).string() + "'");
    }
    return testing::RunKvmap(arguments, dir_);
  }

  // Whether each stored tile (the overview left out) is compressed.
  std::vector<bool> TilesCompressed(const std::string& map) {
    CImageContainer container("", nullptr);
    ConversionSettings settings;
    LoadMapFile((dir_ / map).string(), container, settings, nullptr);
    std::vector<bool> compressed;
    for (std::size_t i = 1; i < container.image_count(); ++i) {
      compressed.push_back(container.ImageAt(i)->bitmap().compressed);
    }
    return compressed;
  }

  fs::path dir_;
};

const std::vector<bool> kFlatTilesCompressed = {true, true, true, true, true, false};

TEST_F(RecodeCompressionTest, RecodingACompressedMapCompressesAgain) {
  ASSERT_EQ(Run("convert {n.bmp} --depth 8 --no-calibration -o {n.prc}").exit_code, 0);
  ASSERT_EQ(TilesCompressed("n.prc"), kFlatTilesCompressed);
  testing::KvmapResult result = Run("recode {n.prc} --depth 4");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(TilesCompressed("n.prc"), kFlatTilesCompressed);
}

TEST_F(RecodeCompressionTest, CompressionIsTheDefaultAndNoCompressTurnsItOff) {
  ASSERT_EQ(
      Run("convert {n.bmp} --depth 8 --no-compress --no-calibration -o {plain.prc}").exit_code, 0);
  ASSERT_EQ(TilesCompressed("plain.prc"), std::vector<bool>(6, false));
  ASSERT_EQ(Run("recode {plain.prc} --depth 4 -o {compressed.prc}").exit_code, 0);
  EXPECT_EQ(TilesCompressed("compressed.prc"), kFlatTilesCompressed);
  ASSERT_EQ(Run("recode {compressed.prc} --depth 2 --no-compress -o {again.prc}").exit_code, 0);
  EXPECT_EQ(TilesCompressed("again.prc"), std::vector<bool>(6, false));
}

}  // namespace
}  // namespace kv
