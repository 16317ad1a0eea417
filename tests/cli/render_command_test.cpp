// kvmap render and mosaic: a map's images as pictures.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "pdb/big_endian.h"
#include "stripes_folder_test.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using ::testing::StartsWith;

class RenderCommandTest : public testing::StripesFolderTest {
 protected:
  RenderCommandTest() : StripesFolderTest("kv_render_") {}
};

TEST_F(RenderCommandTest, RenderAndMosaicWriteTheMapsPixels) {
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
TEST_F(RenderCommandTest, RenderOfAnImageTheMapDoesNotHaveIsAUsageError) {
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

}  // namespace
}  // namespace kv
