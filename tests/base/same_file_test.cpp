#include "base/same_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "temp_folder.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class SameFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.ok());
    image_ = dir_.Write("a.bmp", {1, 2, 3});
    other_ = dir_.Write("b.bmp", {1, 2, 3});  // equal bytes, another file
  }

  TempFolder dir_;
  std::string image_;
  std::string other_;
};

TEST_F(SameFileTest, NamesOfOneFileAreTheSameFile) {
  fs::create_hard_link(image_, dir_.File("hard.bmp"));
  fs::create_symlink("a.bmp", dir_.File("soft.bmp"));
  fs::create_directory(dir_.File("sub"));
  EXPECT_TRUE(IsSameFile(image_, image_));
  EXPECT_TRUE(IsSameFile(image_, dir_.File("sub/../a.bmp")));
  EXPECT_TRUE(IsSameFile(dir_.File("hard.bmp"), image_));
  EXPECT_TRUE(IsSameFile(dir_.File("soft.bmp"), image_));
}

TEST_F(SameFileTest, OtherAndMissingFilesAreNot) {
  EXPECT_FALSE(IsSameFile(image_, other_));
  EXPECT_FALSE(IsSameFile(dir_.File("none.prc"), dir_.File("none.prc")));
  EXPECT_FALSE(IsSameFile(image_, ""));
}

TEST_F(SameFileTest, TheFirstOverwrittenInputIsNamedWithTheOutput) {
  const std::vector<InputFile> inputs{{other_, kCalibrationFileRole}, {image_, kSourceImageRole}};
  EXPECT_FALSE(InputOverwrittenBy(dir_.File("map.prc"), inputs));
  fs::create_symlink("a.bmp", dir_.File("out.bmp"));
  const std::optional<InputFile> hit = InputOverwrittenBy(dir_.File("out.bmp"), inputs);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->path, image_);
  const std::string message = OverwritesInputMessage(dir_.File("out.bmp"), *hit);
  EXPECT_NE(message.find(dir_.File("out.bmp") + " is the same file as the source image " + image_),
            std::string::npos)
      << message;
}

}  // namespace
}  // namespace kv
