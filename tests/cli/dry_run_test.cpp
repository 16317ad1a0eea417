// `kvmap convert --dry-run`: what the map would be, and nothing written.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "stripes_folder_test.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class DryRunTest : public testing::StripesFolderTest {
 protected:
  DryRunTest() : StripesFolderTest("kv_dry_run_") {}

  // Besides the runner's own kvmap.out and kvmap.err.
  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      if (entry.path().stem() != "kvmap") names.insert(entry.path().filename().string());
    }
    return names;
  }
};

// "12.3 KB" as the program writes a size of this many bytes.
std::string Kilobytes(std::uintmax_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f KB", static_cast<double>(bytes) / 1024);
  return text;
}

// Few enough tiles to encode them all: at 16 bits, where no palette is
// built from a sample, the estimate is the map's real size.
TEST_F(DryRunTest, PrintsTheMapThatConvertingThenWrites) {
  const std::string source = WriteBmp("stripes.bmp", 480, 262);
  const struct {
    const char* scale;
    const char* tiles;
    const char* images;
  } rows[] = {{"1/1", "Tiles: 6 (3 across, 2 down)", "Images: 7 of at most 9999"},
              {"1/2", "Tiles: 2 (2 across, 1 down)", "Images: 3 of at most 9999"}};
  for (const auto& row : rows) {
    const std::string options = std::string(" --depth 16 --scale ") + row.scale + " ";
    const std::set<std::string> before = Files();
    const testing::KvmapResult dry = Run("convert --dry-run" + options + "'" + source + "'");
    ASSERT_EQ(dry.exit_code, 0) << dry.err;
    EXPECT_EQ(Files(), before) << row.scale;
    EXPECT_THAT(dry.out, HasSubstr(row.tiles));
    EXPECT_THAT(dry.out, HasSubstr(row.images));
    EXPECT_THAT(dry.out, HasSubstr("Dry run: nothing was written."));

    const std::string map = (dir_ / "stripes.prc").string();
    const testing::KvmapResult real = Run("convert" + options + "'" + source + "'");
    ASSERT_EQ(real.exit_code, 0) << real.err;
    EXPECT_THAT(dry.out, HasSubstr("Map size: about " + Kilobytes(fs::file_size(map))));
    fs::remove(map);
  }
}

// 16000 x 13100 pixels read from a virtual raster without pixel data:
// 10000 tiles and the overview are more images than a map holds, which
// the conversion would refuse.
TEST_F(DryRunTest, FailsWhenTheMapWouldHoldTooManyImages) {
  const std::string raster = (dir_ / "big.vrt").string();
  std::ofstream(raster) << "<VRTDataset rasterXSize=\"16000\" rasterYSize=\"13100\">"
                           "<VRTRasterBand dataType=\"Byte\" band=\"1\"/></VRTDataset>\n";
  const testing::KvmapResult result = Run("convert --dry-run --depth 4 '" + raster + "'");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.out, HasSubstr("Images: 10001: more than the 9999 a map holds"));
  EXPECT_FALSE(fs::exists(dir_ / "big.prc"));
}

// A batch's dry run estimates every map the batch would write, and writes
// neither the maps nor the output folder.
TEST_F(DryRunTest, EstimatesEachMapOfABatch) {
  const std::string first = WriteBmp("first.bmp", 480, 262);
  const std::string second = WriteBmp("second.bmp", 320, 131);
  const std::string out = (dir_ / "maps").string();
  const std::set<std::string> before = Files();
  const testing::KvmapResult dry =
      Run("convert --dry-run --depth 16 '" + first + "' '" + second + "' -o '" + out + "'");
  ASSERT_EQ(dry.exit_code, 0) << dry.err;
  EXPECT_EQ(Files(), before);
  EXPECT_THAT(dry.out, HasSubstr(first + "\n  Tiles: 6 (3 across, 2 down)"));
  EXPECT_THAT(dry.out, HasSubstr(second + "\n  Tiles: 2 (2 across, 1 down)"));
}

}  // namespace
}  // namespace kv
