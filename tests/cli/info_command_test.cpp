#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>

#include "kvmap_runner.h"
#include "map/map_file.h"
#include "map/stored_bitmap.h"
#include "pdb/big_endian.h"
#include "pdb/palm_time.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> RleBitmapRecord() {
  std::vector<std::uint8_t> bytes(40, 0);
  EncodeBig16(&bytes[0], 160);
  EncodeBig16(&bytes[2], 131);
  EncodeBig16(&bytes[6], 0x8000);  // compressed
  bytes[8] = 16;
  bytes[9] = 2;
  bytes[13] = 1;  // RLE
  return bytes;
}

class InfoCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / "kv_info_command_test";
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
};

TEST_F(InfoCommandTest, JsonListsImagesMapAndPreservedResources) {
  CImageContainer container("Map", nullptr);
  auto image = std::make_unique<CImage>();
  image->SetBitmap(StoredBitmap(RleBitmapRecord()));
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
  EXPECT_EQ(first["compression"], "rle");
  EXPECT_EQ(first["bytes"], 40);
  EXPECT_EQ(json["map"]["date"], 1700000000);
  EXPECT_EQ(json["map"]["width"], 2048);
  EXPECT_EQ(json["map"]["top_left_latitude"], "90 00.0000 N");
  EXPECT_EQ(json["map"]["calibration"], "[calibration]");
  ASSERT_EQ(json["preserved"].size(), 1u);
  EXPECT_EQ(json["preserved"][0]["type"], "XTRA");
  EXPECT_EQ(json["preserved"][0]["id"], 3);
}

TEST_F(InfoCommandTest, ForeignDatabaseIsAnUnknownError) {
  const std::string path = (dir_ / "other.pdb").string();
  CreateParams params;
  params.path = path;
  params.type = FourCharCode("DATA");
  DatabasePtr handle;
  ASSERT_EQ(CreateDatabaseFile(params, &handle), kPdbOk);
  ASSERT_EQ(CloseDatabase(&handle), kPdbOk);
  testing::KvmapResult result = testing::RunKvmap("info '" + path + "'", dir_);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, ::testing::StartsWith("kvmap: error 0x2000000b: "));
}

}  // namespace
}  // namespace kv
