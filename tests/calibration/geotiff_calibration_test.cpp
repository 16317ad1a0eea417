// GeoTIFF calibration against GDAL's own pixel-to-WGS84 transformation (what
// gdaltransform computes).

#include "calibration/geotiff_calibration.h"

#include <gdal_alg.h>
#include <gtest/gtest.h>

#include <array>

#include "calibration_fixtures.h"
#include "gdal_test_files.h"

namespace kv {
namespace {

using testing::CalibrationDir;

struct GeoTiffRow {
  int epsg;
  std::array<double, 6> geo;
};

TEST(GeoTiffCalibration, NinePointsAgreeWithGdalTransform) {
  const GeoTiffRow rows[] = {
      {32632, {480000, 10, 0, 5350000, 0, -10}},
      {4326, {7.5, 0.001, 0, 47.25, 0, -0.001}},
      {31467, {3480000, 2, 0, 5400000, 0, -2}},     // DHDN / Gauss-Krueger zone 3
      {27700, {530000, 5, 0.5, 180000, 0.25, -5}},  // British National Grid, rotated
  };
  for (const GeoTiffRow& row : rows) {
    SCOPED_TRACE(row.epsg);
    CalibrationDir dir;
    const std::string path = dir.File("map.tif");
    ASSERT_TRUE(testing::WriteGeoTiff(path, 301, 200, &row.geo, row.epsg));
    CalibrationImport import;
    std::int32_t width = 0;
    std::int32_t height = 0;
    ASSERT_EQ(ReadGeoTiffCalibration(path, &import, &width, &height), kImportOk);
    EXPECT_EQ(width, 301);
    EXPECT_EQ(height, 200);
    EXPECT_EQ(import.proj_mode, kCalibrationKnownPoints);
    EXPECT_FALSE(import.datum_name.has_value());

    GDALDatasetH dataset = GDALOpen(path.c_str(), GA_ReadOnly);
    ASSERT_NE(dataset, nullptr);
    const char* options[] = {"DST_SRS=EPSG:4326", nullptr};
    void* transformer =
        GDALCreateGenImgProjTransformer2(dataset, nullptr, const_cast<char**>(options));
    ASSERT_NE(transformer, nullptr);
    for (const CalibrationPoint& point : import.points) {
      double x = point.pixel_x + 0.5;
      double y = point.pixel_y + 0.5;
      double z = 0;
      int success = 0;
      ASSERT_TRUE(GDALGenImgProjTransform(transformer, FALSE, 1, &x, &y, &z, &success));
      ASSERT_TRUE(success);
      EXPECT_NEAR(point.longitude, x, 1e-7);
      EXPECT_NEAR(point.latitude, y, 1e-7);
    }
    GDALDestroyGenImgProjTransformer(transformer);
    GDALClose(dataset);
    EXPECT_EQ(import.points[8].pixel_x, 300);
    EXPECT_EQ(import.points[8].pixel_y, 100);
  }
}

TEST(GeoTiffCalibration, WithoutGeoreferencingOrFile) {
  CalibrationDir dir;
  CalibrationImport import;
  std::int32_t width = 0;
  std::int32_t height = 0;
  const std::array<double, 6> geo = {480000, 10, 0, 5350000, 0, -10};
  ASSERT_TRUE(testing::WriteGeoTiff(dir.File("plain.tif"), 20, 10, nullptr, 0));
  EXPECT_EQ(ReadGeoTiffCalibration(dir.File("plain.tif"), &import, &width, &height),
            kGeoTiffNotGeoreferenced);
  EXPECT_EQ(width, 20);
  ASSERT_TRUE(testing::WriteGeoTiff(dir.File("nosrs.tif"), 20, 10, &geo, 0));
  EXPECT_EQ(ReadGeoTiffCalibration(dir.File("nosrs.tif"), &import, &width, &height),
            kGeoTiffNotGeoreferenced);
  EXPECT_EQ(import.points[0], CalibrationPoint{});
  dir.Write("text.tif", "not a tiff");
  EXPECT_EQ(ReadGeoTiffCalibration(dir.File("text.tif"), &import, &width, &height),
            kImportOpenFailed);
  EXPECT_EQ(ReadGeoTiffCalibration(dir.File("missing.tif"), &import, &width, &height),
            kImportOpenFailed);
}

TEST(DatumCodeFromWkt, KnownAndUnknownDatums) {
  EXPECT_FALSE(DatumCodeFromWkt("").has_value());
  EXPECT_FALSE(DatumCodeFromWkt("garbage").has_value());
  EXPECT_FALSE(DatumCodeFromWkt(
                   "GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID[\"WGS 84\",6378137,"
                   "298.257223563]],PRIMEM[\"Greenwich\",0],UNIT[\"degree\",0.0174532925199433]]")
                   .has_value());
  EXPECT_EQ(DatumCodeFromWkt("GEOGCS[\"NAD83\",DATUM[\"NAD83\",SPHEROID[\"GRS 1980\",6378137,"
                             "298.257222101]],PRIMEM[\"Greenwich\",0],UNIT[\"degree\","
                             "0.0174532925199433]]"),
            "NAD83");
  EXPECT_EQ(DatumCodeFromWkt("GEOGCS[\"x\",DATUM[\"Potsdam\",SPHEROID[\"Bessel 1841\",6377397.155,"
                             "299.1528128]],PRIMEM[\"Greenwich\",0],UNIT[\"degree\","
                             "0.0174532925199433]]"),
            "Potsdam");
}

}  // namespace
}  // namespace kv
