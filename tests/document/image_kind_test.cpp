#include "document/image_kind.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(ImageKind, ByExtensionIgnoringCase) {
  const struct {
    const char* path;
    int kind;
  } kRows[] = {
      {"a.bmp", 1},  {"a.BMP", 1},        {"a.jpg", 5},           {"a.png", 6},  {"a.gif", 7},
      {"a.tif", 8},  {"a.TIFF", 8},       {"a.nos", 9},           {"a.kvm", 10}, {"a.jpr", 11},
      {"a.kap", 12}, {"a.Cap", 12},       {"a.cal", 13},          {"a.jpeg", 0}, {"a.prc", 0},
      {"noext", 0},  {"dir.bmp/file", 0}, {"c:\\maps.tif\\x", 0}, {"x.", 0},
  };
  for (const auto& row : kRows) EXPECT_EQ(ImageKind(row.path), row.kind) << row.path;
}

}  // namespace
}  // namespace kv
