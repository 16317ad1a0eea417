#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "bitmap/bmp_fixture.h"
#include "bitmap/conversion_front.h"
#include "kvmap_runner.h"
#include "map/map_file.h"
#include "map/stored_bitmap.h"
#include "pdb/big_endian.h"
#include "pdb/palm_time.h"
#include "temp_folder.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

// A one-colour 16-bit tile, which always compresses.
std::vector<std::uint8_t> CompressedBitmapRecord() {
  testing::BmpParams params;
  params.width = 160;
  params.height = 131;
  std::vector<std::uint8_t> bmp = testing::MakeBmp(params, [](int, int) { return 0x336699u; });
  ConversionContext context;
  ConversionSettings settings;
  ConversionOptions options;
  options.targetWidth = 160;
  options.targetHeight = 131;
  options.sourceIsBmp = true;
  return ConvertToPalmBitmap(context, settings, ConversionSource{1, bmp, nullptr}, options).record;
}

class InfoCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // One folder per test: ctest runs tests side by side.
    dir_ = kv::MakeTempFolder("kv_info_command_");
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
};

TEST_F(InfoCommandTest, JsonListsImagesMapAndPreservedResources) {
  CImageContainer container("Map", nullptr);
  auto image = std::make_unique<CImage>();
  const std::vector<std::uint8_t> record = CompressedBitmapRecord();
  image->SetBitmap(StoredBitmap(record));
  image->SetName("Earth");
  image->set_date(PalmDateFromUnix(1700000000));
  image->set_map_size(2048, 1024);
  image->set_corner_text(kTopLeftLatitude, "90 00.0000 N");
  const char text[] = "[calibration]";
  image->SetCalibration(reinterpret_cast<const std::uint8_t*>(text), sizeof text);
  container.AddImage(std::move(image));
  container.preserved_resources().push_back({ResourceInfo{2, FourCharCode("XTRA"), 3}, {1, 2}});
  const std::string path = (dir_ / "earth.prc").string();
  SaveMapFile(container, path, "earth", 1700000000);

  testing::KvmapResult result = testing::RunKvmap("info --json '" + path + "'", dir_);
  ASSERT_EQ(result.exit_code, 0) << result.err;
  nlohmann::json json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["name"], "earth");
  EXPECT_EQ(json["type"], "tBMP");
  EXPECT_EQ(json["creator"], "DoDa");
  EXPECT_EQ(json["attributes"], 9);
  EXPECT_EQ(json["version"], 3);
  EXPECT_EQ(json["created"], 1700000000);
  EXPECT_EQ(json["resources"].size(), 13u);
  ASSERT_EQ(json["images"].size(), 1u);
  const auto& first = json["images"][0];
  EXPECT_EQ(first["id"], 1);
  EXPECT_EQ(first["name"], "Earth");
  EXPECT_EQ(first["width"], 160);
  EXPECT_EQ(first["depth"], 16);
  EXPECT_EQ(first["compression"], record[13] == 1 ? "rle" : "scanline");
  EXPECT_EQ(first["bytes"], record.size());
  EXPECT_EQ(json["map"]["date"], 1700000000);
  EXPECT_EQ(json["map"]["width"], 2048);
  EXPECT_EQ(json["map"]["top_left_latitude"], "N90 00.000000");  // in the stored form
  EXPECT_EQ(json["map"]["calibration"], "[calibration]");
  ASSERT_EQ(json["preserved"].size(), 1u);
  EXPECT_EQ(json["preserved"][0]["type"], "XTRA");
  EXPECT_EQ(json["preserved"][0]["id"], 3);
}

TEST_F(InfoCommandTest, CornerTextThatIsNoPositionStaysAsStoredInValidJson) {
  CImageContainer container("Map", nullptr);
  auto image = std::make_unique<CImage>();
  image->SetBitmap(StoredBitmap(CompressedBitmapRecord()));
  // Too far to format as a position, and not UTF-8.
  image->set_corner_text(kTopLeftLatitude, "N99999999999\xFF");
  container.AddImage(std::move(image));
  const std::string path = (dir_ / "corner.prc").string();
  SaveMapFile(container, path, "corner", 1700000000);

  testing::KvmapResult result = testing::RunKvmap("info --json '" + path + "'", dir_);
  ASSERT_EQ(result.exit_code, 0) << result.err;
  nlohmann::json json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["map"]["top_left_latitude"], "N99999999999\xC3\xBF");
  result = testing::RunKvmap("info '" + path + "'", dir_);
  EXPECT_THAT(result.out, ::testing::HasSubstr("N99999999999\xC3\xBF"));
}

TEST_F(InfoCommandTest, ForeignDatabaseIsAnUnknownError) {
  const std::string path = (dir_ / "other.pdb").string();
  CreateParams params;
  params.path = path;
  params.type = FourCharCode("DATA");
  DatabasePtr handle;
  ASSERT_EQ(CreateDatabaseFile(params, &handle), PdbStatus::kOk);
  ASSERT_EQ(CloseDatabase(&handle), PdbStatus::kOk);
  testing::KvmapResult result = testing::RunKvmap("info '" + path + "'", dir_);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, ::testing::StartsWith("kvmap: error 0x2000000b: "));
}

}  // namespace
}  // namespace kv
