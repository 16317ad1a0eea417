// A source that would give a map of more than 9999 images is refused before
// anything is converted, and the refusal says what the smaller scales
// would give.

#include <gdal.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/message_tables.h"
#include "bitmap/gdal/gdal_runtime.h"
#include "document/document.h"
#include "document_fixture.h"

namespace kv {
namespace {

using testing::DocumentTest;

// A TIFF of that size whose pixels were never written: a few bytes on disk.
bool WriteEmptyTiff(const std::string& path, int width, int height) {
  EnsureGdalDriversRegistered();
  const char* options[] = {"SPARSE_OK=TRUE", "TILED=YES", nullptr};
  GDALDatasetH tiff = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), width, height, 1,
                                 GDT_Byte, const_cast<char**>(options));
  if (tiff == nullptr) return false;
  GDALClose(tiff);
  return true;
}

TEST_F(DocumentTest, TooManyImagesTellsTheCountsOfTheSmallerScales) {
  LoadDocumentTexts(StringTable(), &app_);
  // 100 x 100 tiles of 160 x 131 pixels: with the overview one too many.
  // Half the scale takes 320 x 262 source pixels a tile (50 x 50 tiles),
  // a quarter 640 x 524 (25 x 25).
  const std::string path = dir_.File("huge.tif");
  ASSERT_TRUE(WriteEmptyTiff(path, 16000, 13100));
  CDocument document(app_, ui_, true);
  EXPECT_EQ(document.ImportSourceImage(path, true, true), -1);
  ASSERT_EQ(ui_.failures.size(), 1u);
  const DocumentFailure& failure = ui_.failures[0].failure;
  EXPECT_EQ(failure.code, kErrImageListFull);
  EXPECT_THAT(failure.reason, ::testing::HasSubstr("50 % the map would hold 2501 images"));
  EXPECT_THAT(failure.reason, ::testing::HasSubstr("25 % 626"));
  EXPECT_EQ(document.container().image_count(), 0u);
}

}  // namespace
}  // namespace kv
