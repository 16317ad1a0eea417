#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "bitmap/bmp_fixture.h"
#include "kvmap_runner.h"
#include "pdb/big_endian.h"
#include "temp_folder.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

std::uint32_t Stripes(int x, int y) {
  return (x / 40) % 2 == 0 ? 0xF80000u : ((y / 30) % 2 == 0 ? 0x00FC00u : 0x0000F8u);
}

class ConvertCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kv::MakeTempFolder("kv_convert_");
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string WriteBmp(const std::string& name, int width, int height) {
    testing::BmpParams params;
    params.width = width;
    params.height = height;
    const std::vector<std::uint8_t> bytes = testing::MakeBmp(params, Stripes);
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  testing::KvmapResult Run(const std::string& arguments) {
    return testing::RunKvmap(arguments, dir_);
  }
  nlohmann::json Info(const std::string& map) {
    testing::KvmapResult result = Run("info --json '" + map + "'");
    EXPECT_EQ(result.exit_code, 0) << result.err;
    return nlohmann::json::parse(result.out);
  }

  fs::path dir_;
};

TEST_F(ConvertCommandTest, ConvertsIntoOverviewAndTilesBesideTheSource) {
  const std::string source = WriteBmp("stripes.bmp", 480, 262);
  testing::KvmapResult result = Run("convert --depth 4 '" + source + "'");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const std::string map = (dir_ / "stripes.prc").string();
  EXPECT_THAT(result.out, StartsWith(map + ": 7 images, 4 bits, 480 x 262 pixels"));
  nlohmann::json json = Info(map);
  EXPECT_EQ(json["name"], "stripes");
  EXPECT_EQ(json["map"]["name"], "stripes");
  EXPECT_EQ(json["map"]["width"], 480);
  ASSERT_EQ(json["images"].size(), 7u);
  EXPECT_EQ(json["images"][0]["id"], 1);
  EXPECT_EQ(json["images"][6]["id"], 7);
  EXPECT_EQ(json["images"][6]["name"], "");  // only the first image's name is stored
  for (const auto& image : json["images"]) EXPECT_EQ(image["depth"], 4);
}

TEST_F(ConvertCommandTest, SourceDateEpochMakesTheOutputReproducible) {
  const std::string source = WriteBmp("a.bmp", 200, 150);
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  testing::KvmapResult first =
      Run("convert --name Same '" + source + "' -o '" + (dir_ / "one.prc").string() + "'");
  testing::KvmapResult second =
      Run("convert --name Same '" + source + "' -o '" + (dir_ / "two.prc").string() + "'");
  unsetenv("SOURCE_DATE_EPOCH");
  ASSERT_EQ(first.exit_code, 0) << first.err;
  ASSERT_EQ(second.exit_code, 0) << second.err;
  std::string one = testing::ReadWholeFile(dir_ / "one.prc");
  std::string two = testing::ReadWholeFile(dir_ / "two.prc");
  // Only the database names differ ("one" and "two").
  one.replace(0, 3, "xxx");
  two.replace(0, 3, "xxx");
  EXPECT_EQ(one, two);
  EXPECT_EQ(Info((dir_ / "one.prc").string())["created"], 1700000000);
}

TEST_F(ConvertCommandTest, RenderAndMosaicWriteTheMapsPixels) {
  const std::string source = WriteBmp("m.bmp", 200, 150);
  const std::string map = (dir_ / "m.prc").string();
  ASSERT_EQ(Run("convert '" + source + "' -o '" + map + "'").exit_code, 0);

  ASSERT_EQ(
      Run("render '" + map + "' --image 1 -o '" + (dir_ / "tile.bmp").string() + "'").exit_code, 0);
  const std::string bmp = testing::ReadWholeFile(dir_ / "tile.bmp");
  ASSERT_EQ(bmp.size(), 54u + 480u * 131u);  // 160 pixels of 3 bytes per row
  EXPECT_EQ(bmp.substr(0, 2), "BM");

  testing::KvmapResult mosaic =
      Run("mosaic '" + map + "' -o '" + (dir_ / "all.png").string() + "'");
  ASSERT_EQ(mosaic.exit_code, 0) << mosaic.err;
  const std::string png = testing::ReadWholeFile(dir_ / "all.png");
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  const auto* ihdr = reinterpret_cast<const std::uint8_t*>(png.data() + 16);
  EXPECT_EQ(DecodeBig32(ihdr), 200u);
  EXPECT_EQ(DecodeBig32(ihdr + 4), 150u);
}

// A wrong image number is a usage error, told with the numbers there are.
TEST_F(ConvertCommandTest, RenderOfAnImageTheMapDoesNotHaveIsAUsageError) {
  const std::string source = WriteBmp("stripes.bmp", 480, 262);
  const std::string map = (dir_ / "stripes.prc").string();
  ASSERT_EQ(Run("convert '" + source + "'").exit_code, 0);
  const testing::KvmapResult result =
      Run("render '" + map + "' --image 99 -o '" + (dir_ / "x.bmp").string() + "'");
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_THAT(result.err, StartsWith("kvmap: --image: the map " + map +
                                     " has 7 images, numbered 0 to 6; there is no image 99\n"));
  EXPECT_FALSE(fs::exists(dir_ / "x.bmp"));
  EXPECT_EQ(Run("render '" + map + "' --image 6 -o '" + (dir_ / "x.bmp").string() + "'").exit_code,
            0);
}

TEST_F(ConvertCommandTest, RecodeChangesEveryImageInPlace) {
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

TEST_F(ConvertCommandTest, FailuresLeaveNothingBehind) {
  const std::string narrow = WriteBmp("narrow.bmp", 9, 100);
  testing::KvmapResult result = Run("convert '" + narrow + "'");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, StartsWith("kvmap: error 0x2000000e: "));
  EXPECT_FALSE(fs::exists(dir_ / "narrow.prc"));

  const std::string good = WriteBmp("good.bmp", 50, 50);
  result = Run("convert '" + good + "' -o '" + (dir_ / "missing" / "x.prc").string() + "'");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, StartsWith("kvmap: error 0x20000004: "));
  EXPECT_THAT(result.err, HasSubstr("x.prc"));

  // A file that opens but holds no image is not said to be missing.
  std::ofstream(dir_ / "fake.png") << "not a picture";
  result = Run("convert '" + (dir_ / "fake.png").string() + "'");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, StartsWith("kvmap: error 0x20000015: "));
  EXPECT_THAT(result.err, HasSubstr("not an image"));
  result = Run("convert '" + (dir_ / "gone.png").string() + "'");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, StartsWith("kvmap: error 0x20000005: "));
}

TEST_F(ConvertCommandTest, NamesReadBackAsTypedAndTheCalibrationTakenIsTold) {
  const std::string source = WriteBmp("plain.bmp", 200, 150);
  testing::KvmapResult result = Run("convert --name 'Zürich – Łódź' '" + source + "'");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_THAT(result.err, HasSubstr("kvmap: No calibration found beside " + source +
                                    ": the map is not calibrated."));
  EXPECT_THAT(result.err, HasSubstr("kvmap: warning: "));
  EXPECT_THAT(result.err, HasSubstr("Łź are stored as \"?\""));
  nlohmann::json json = Info((dir_ / "plain.prc").string());
  EXPECT_EQ(json["map"]["name"], "Zürich – ?ód?");

  std::ofstream(dir_ / "plain.kvm") << "c1_lat=7=47.5\nc1_lon=7=8\nc1_x=7=0\nc1_y=7=0\n"
                                       "c2_lat=7=47\nc2_lon=7=9\nc2_x=7=199\nc2_y=7=149\n";
  result = Run("convert --name Zürich '" + source + "' -o '" + (dir_ / "b.prc").string() + "'");
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_THAT(result.err,
              HasSubstr("kvmap: Calibration taken from " + (dir_ / "plain.kvm").string() +
                        " (Korvale calibration file): 2 points, datum "));
  EXPECT_EQ(Info((dir_ / "b.prc").string())["map"]["name"], "Zürich");
}

}  // namespace
}  // namespace kv
