#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "stripes_folder_test.h"
#include "temp_folder.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class ConvertCommandTest : public testing::StripesFolderTest {
 protected:
  ConvertCommandTest() : StripesFolderTest("kv_convert_") {}
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
