#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "base/exceptions.h"
#include "base/message_tables.h"
#include "bitmap/gdal_fixture.h"
#include "bitmap/kap_fixture.h"
#include "calibration/gdal_test_files.h"
#include "document/document.h"
#include "document_fixture.h"

namespace kv {
namespace {

using testing::DocumentTest;

bool WriteGdalImage(const std::string& path, const std::string& driver) {
  testing::RasterLayout raster;
  raster.driver = driver;
  raster.width = 40;
  raster.height = 30;
  return testing::WriteRaster(path, raster,
                              [](int band, int x, int y) { return (x * band + y) % 256; });
}

TEST_F(DocumentTest, CalWithoutImageNameTakesTifBeforeJpg) {
  ASSERT_TRUE(WriteGdalImage(dir_.File("map.jpg"), "JPEG"));
  ASSERT_TRUE(WriteGdalImage(dir_.File("map.tif"), "GTiff"));
  const std::string cal =
      WriteText("map.cal", "latitudeTL=47.5\nlongitudeTL=8\nlatitudeBR=47\nlongitudeBR=9\n");
  CDocument document(app_, ui_, true);
  ASSERT_EQ(document.ImportSourceImage(cal, true, false), 0);
  EXPECT_TRUE(ui_.failures.empty());
  EXPECT_EQ(document.source_path(), dir_.File("map.tif"));
  ASSERT_EQ(document.container().image_count(), 1u);  // opened, not converted
  const CImage& image = *document.image_list().current();
  EXPECT_EQ(image.name(), "map");
  EXPECT_EQ(image.map_width(), 40u);
  EXPECT_DOUBLE_EQ(app_.calibration.north, 47.5);
  EXPECT_DOUBLE_EQ(app_.calibration.east, 9.0);
  EXPECT_EQ(image.corner_text(kTopLeftLatitude), "N47.50000000");
  EXPECT_EQ(image.corner_text(kBottomRightLongitude), "E9.00000000");
  EXPECT_FALSE(image.calibration().empty());
}

// The image is what is missing, so the error names it (the calibration
// file's name without extension, as no image extension is known) and says
// which calibration file looked for it.
TEST_F(DocumentTest, CalibrationWhoseImageIsMissingNamesTheImage) {
  const std::string cal = WriteText("lonely.cal", "latitudeTL=47.5\n");
  app_.calibration.north = 12.0;
  CDocument document(app_, ui_, true);
  app_.calibration.north = 12.0;
  EXPECT_EQ(document.ImportSourceImage(cal, true, false), -1);
  ASSERT_EQ(ui_.failures.size(), 1u);
  EXPECT_EQ(ui_.failures[0].context, kContextImport);
  EXPECT_EQ(ui_.failures[0].failure.code, kErrFileOpen);
  EXPECT_EQ(ui_.failures[0].failure.file_name, dir_.File("lonely"));
  EXPECT_THAT(ui_.failures[0].failure.reason, ::testing::HasSubstr(cal));
  EXPECT_EQ(document.container().image_count(), 0u);
  EXPECT_DOUBLE_EQ(app_.calibration.north, 12.0);  // the calibration as it was
  EXPECT_EQ(ui_.wait_depth, 0);
}

// Given as the file to import or found beside the image, a calibration
// whose bounds lie off the Earth fails the import and names the file.
TEST_F(DocumentTest, CalibrationOffTheEarthFailsTheImportNamingTheFile) {
  const std::string bmp = WriteBmp("far.bmp", 50, 40);
  const std::string kvm =
      WriteText("far.kvm", "kv_north=7=95\nkv_west=7=8\nkv_south=7=46\nkv_east=7=9\n");
  CDocument document(app_, ui_, true);
  for (const std::string& path : {kvm, bmp}) {
    SCOPED_TRACE(path);
    app_.calibration.north = 12.0;
    ui_.failures.clear();
    EXPECT_EQ(document.ImportSourceImage(path, true, false), -1);
    ASSERT_EQ(ui_.failures.size(), 1u);
    EXPECT_EQ(ui_.failures[0].context, kContextImport);
    EXPECT_EQ(ui_.failures[0].failure.file_name, kvm);
    EXPECT_EQ(document.container().image_count(), 0u);
    EXPECT_DOUBLE_EQ(app_.calibration.north, 12.0);
  }
}

TEST_F(DocumentTest, KvmImageNameGivesTheExtensionAndTheMapName) {
  // The image keeps the calibration file's base name; the named image's
  // extension says which of the files beside it is meant.
  WriteBmp("notes.bmp", 60, 40);
  ASSERT_TRUE(WriteGdalImage(dir_.File("notes.png"), "PNG"));
  const std::string kvm =
      WriteText("notes.kvm", std::string("nm=photo.bmp\n") + testing::kTwoPointKvm);
  CDocument document(app_, ui_, true);
  ASSERT_EQ(document.ImportSourceImage(kvm, true, false), 0);
  EXPECT_EQ(document.source_path(), dir_.File("notes.bmp"));
  EXPECT_EQ(document.image_list().current()->name(), "photo.bmp");
  ASSERT_TRUE(app_.calibration.points);
  EXPECT_EQ((*app_.calibration.points)[1].pixel_x, 199);
  EXPECT_EQ(app_.calibration.width, 60);
}

TEST_F(DocumentTest, HalfScaleStoresHalfPixelsAndTheNextDocumentScalesThemBack) {
  const std::string bmp = WriteBmp("area.bmp", 200, 150);
  WriteText("area.kvm", testing::kTwoPointKvm);
  ConversionSettings half;
  half.colourDepth = 8;
  half.scale = {1, 2};
  ui_.options = half;
  CDocument document(app_, ui_, true);
  ASSERT_EQ(document.ImportSourceImage(bmp, true, true), 0);
  EXPECT_EQ(ui_.options_runs, 1);
  EXPECT_EQ(ui_.options_name, "area");
  const CImage& overview = *document.image_list().current();
  EXPECT_EQ(overview.map_width(), 100u);
  EXPECT_EQ(overview.bitmap().depth, 8);
  ASSERT_TRUE(app_.calibration.points);
  EXPECT_EQ((*app_.calibration.points)[0].pixel_x, 50);
  EXPECT_EQ((*app_.calibration.points)[0].pixel_y, 25);
  EXPECT_EQ((*app_.calibration.points)[1].adjusted_x, 99);
  EXPECT_EQ(app_.calibration.width, 100);

  CDocument same_calibration(app_, ui_, false);
  EXPECT_EQ((*app_.calibration.points)[0].pixel_x, 100);
  EXPECT_EQ((*app_.calibration.points)[0].pixel_y, 50);
  EXPECT_EQ(app_.settings.scale.scaleNum, 1);
  EXPECT_EQ(app_.settings.scale.scaleDen, 1);

  CDocument fresh(app_, ui_, true);
  EXPECT_FALSE(app_.calibration.points.has_value());
}

TEST_F(DocumentTest, PlainImageFindsItsCalibrationFileBeside) {
  const std::string bmp = WriteBmp("plain.bmp", 50, 40);
  WriteText("plain.cal", "latitudeTL=46\nlongitudeTL=-7.5\nlatitudeBR=45\nlongitudeBR=-6\n");
  CDocument document(app_, ui_, true);
  ASSERT_EQ(document.ImportSourceImage(bmp, true, false), 0);
  EXPECT_DOUBLE_EQ(app_.calibration.west, -7.5);
  EXPECT_EQ(document.image_list().current()->corner_text(kTopLeftLongitude), "W7.50000000");
  EXPECT_EQ(document.image_list().current()->corner_text(kBottomRightLatitude), "N45.00000000");
}

TEST_F(DocumentTest, FailedOrCancelledImportLeavesTheDocumentAsItWas) {
  const std::string good = WriteBmp("good.bmp", 50, 40);
  const std::string narrow = WriteBmp("narrow.bmp", 9, 100);  // too small to convert
  CDocument document(app_, ui_, true);
  ASSERT_EQ(document.ImportSourceImage(good, true, true), 0);
  document.container().MarkSaved();
  const std::size_t images = document.container().image_count();
  const CalibrationRecord calibration = app_.calibration;

  EXPECT_EQ(document.ImportSourceImage(narrow, true, true), -1);
  ASSERT_EQ(ui_.failures.size(), 1u);
  EXPECT_EQ(ui_.failures[0].failure.code, kErrImageTooSmall);
  EXPECT_EQ(ui_.failures[0].failure.file_name, narrow);
  EXPECT_EQ(document.container().image_count(), images);
  EXPECT_FALSE(document.container().IsModified());
  EXPECT_EQ(document.source_path(), good);
  EXPECT_EQ(app_.calibration, calibration);

  ui_.cancel_options = true;
  EXPECT_EQ(document.ImportSourceImage(good, true, true), -1);
  EXPECT_EQ(document.container().image_count(), images);
  EXPECT_EQ(ui_.failures.size(), 1u);  // a cancel is no failure
}

TEST_F(DocumentTest, JprWithWorldFileNumbersIsReadAgainWithTheImageSize) {
  WriteBmp("area.bmp", 200, 150);
  const std::string jpr = WriteText("area.jpr", "0.005\n0\n0\n-0.005\n8\n47.5\n");
  CDocument document(app_, ui_, true);
  ASSERT_EQ(document.ImportSourceImage(jpr, true, false), 0);
  EXPECT_EQ(document.source_path(), dir_.File("area.bmp"));
  EXPECT_FALSE(app_.import_state.needs_image_size);
  ASSERT_TRUE(app_.calibration.points);
  ASSERT_EQ(CountPositionedPoints(app_.calibration), 9);
  int widest = 0;
  for (const CalibrationPoint& point : *app_.calibration.points)
    widest = std::max(widest, point.pixel_x);
  EXPECT_EQ(widest, 199);
  EXPECT_DOUBLE_EQ((*app_.calibration.points)[0].latitude, 47.5);
}

TEST_F(DocumentTest, GeoTiffBringsItsOwnCalibration) {
  const std::array<double, 6> geo = {8.0, 0.005, 0.0, 47.5, 0.0, -0.005};
  const std::string tif = dir_.File("geo.tif");
  ASSERT_TRUE(testing::WriteGeoTiff(tif, 200, 100, &geo, 4326));
  ConversionSettings half;
  half.scale = {1, 2};
  ui_.options = half;
  CDocument document(app_, ui_, true);
  ASSERT_EQ(document.ImportSourceImage(tif, true, true), 0);
  ASSERT_TRUE(app_.calibration.points);
  EXPECT_EQ(CountPositionedPoints(app_.calibration), 9);
  EXPECT_NEAR((*app_.calibration.points)[0].latitude, 47.5, 0.01);
  EXPECT_NEAR((*app_.calibration.points)[0].longitude, 8.0, 0.01);
  // The last point lies at the far corner, stored at half scale.
  EXPECT_NEAR((*app_.calibration.points)[8].pixel_x, 99, 1);
  EXPECT_NEAR(app_.calibration.south, 47.0, 0.01);
  EXPECT_EQ(app_.calibration.width, 100);
  const CImage& image = *document.image_list().current();
  EXPECT_EQ(image.corner_text(kTopLeftLongitude).substr(0, 3), "E8.");
  EXPECT_FALSE(image.calibration().empty());

  // Without georeferencing the TIFF comes without calibration.
  const std::string plain = dir_.File("plain.tif");
  ASSERT_TRUE(testing::WriteGeoTiff(plain, 20, 10, nullptr, 0));
  CDocument second(app_, ui_, true);
  ASSERT_EQ(second.ImportSourceImage(plain, true, false), 0);
  EXPECT_EQ(CountPositionedPoints(app_.calibration), 0);
  EXPECT_TRUE(second.image_list().current()->corner_text(kTopLeftLatitude).empty());
}

TEST_F(DocumentTest, ChartBringsItsReferencePointsAndUnreadableChartsAreUnknown) {
  testing::KapParams params;
  params.width = 300;
  params.height = 140;
  params.palette = {0x000000, 0xFFFFFF, 0x3060C0, 0xC06030};
  params.references = {{0, 0, 50.25, -1.5},
                       {299, 0, 50.25, -0.75},
                       {299, 139, 49.875, -0.75},
                       {0, 139, 49.875, -1.5}};
  const std::string kap = dir_.Write(
      "chart.kap", testing::MakeKap(params, [](int x, int y) { return 1 + (x + y) % 4; }));
  CDocument document(app_, ui_, true);
  ASSERT_EQ(document.ImportSourceImage(kap, true, true), 0) << ui_.failures.size();
  EXPECT_EQ(app_.calibration.proj_mode, kCalibrationKnownPoints);
  EXPECT_EQ(CountPositionedPoints(app_.calibration), 4);
  EXPECT_NEAR(app_.calibration.north, 50.25, 1e-6);
  EXPECT_EQ(document.image_list().current()->corner_text(kTopLeftLongitude), "W1.50000000");

  const std::string broken = WriteText("broken.cap", "not a chart");
  EXPECT_EQ(document.ImportSourceImage(broken, true, true), -1);
  ASSERT_EQ(ui_.failures.size(), 1u);
  EXPECT_EQ(ui_.failures[0].failure.code, kErrUnknownImageKind);
  EXPECT_EQ(CountPositionedPoints(app_.calibration), 4);  // kept
}

TEST_F(DocumentTest, DropAddsTheConvertedFileOrReportsItsPath) {
  const std::string bmp = WriteBmp("dropped.bmp", 200, 150);
  CDocument document(app_, ui_, true);
  ASSERT_EQ(document.Drop(bmp), 0);
  EXPECT_EQ(document.container().image_count(), 1u + 2u * 2u);  // overview and 2 x 2 tiles
  EXPECT_EQ(document.image_list().current()->name(), "dropped");
  EXPECT_EQ(document.source_path(), bmp);

  const std::string missing = dir_.File("gone.bmp");
  EXPECT_EQ(document.Drop(missing), -1);
  ASSERT_EQ(ui_.failures.size(), 1u);
  EXPECT_EQ(ui_.failures[0].context, kContextImport);
  EXPECT_EQ(ui_.failures[0].failure.code, kErrFileOpen);
  EXPECT_EQ(ui_.failures[0].failure.file_name, missing);
  EXPECT_EQ(document.container().image_count(), 5u);
}

}  // namespace
}  // namespace kv
