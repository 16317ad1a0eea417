#include "base/file_extension.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(FileExtension, ExtensionOfTheFileNameOnly) {
  EXPECT_EQ(FileExtension("maps/area.map"), "map");
  EXPECT_EQ(FileExtension("maps.v2/area"), "");
  EXPECT_EQ(FileExtension("a.b.png"), "png");
}

TEST(FileExtension, LowerCasedStemAndComparison) {
  const struct {
    const char* path;
    const char* lower;
    const char* stem;
  } kRows[] = {
      {"Area.TIF", "tif", "Area"},
      {"c:\\maps.v2\\area", "", "c:\\maps.v2\\area"},
      {"x.", "", "x"},
      {"dir/.KVM", "kvm", "dir/"},
      {"a.b.PnG", "png", "a.b"},
      {"noext", "", "noext"},
  };
  for (const auto& row : kRows) {
    EXPECT_EQ(LowerFileExtension(row.path), row.lower) << row.path;
    EXPECT_EQ(PathWithoutExtension(row.path), row.stem) << row.path;
    EXPECT_EQ(HasFileExtension(row.path, row.lower), true) << row.path;
  }
  EXPECT_FALSE(HasFileExtension("a.tiff", "tif"));
  EXPECT_EQ(FileExtensionDot("maps.v2/area"), std::string_view::npos);
}

}  // namespace
}  // namespace kv
