// GeoTIFFs as the record takes them: whole-world, antimeridian and polar
// maps, bounds that hold a rotated or curved map, and the residuals of
// points that came from the georeferencing. GDAL's pixel-to-WGS84
// transformation (what gdaltransform computes) is the reference.

#include <gdal_alg.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "base/exceptions.h"
#include "calibration/calibration_bounds.h"
#include "calibration/calibration_residuals.h"
#include "calibration/geotiff_calibration.h"
#include "calibration/imported_calibration.h"
#include "calibration/raise_import_error.h"
#include "calibration_fixtures.h"
#include "gdal_test_files.h"

namespace kv {
namespace {

using testing::CalibrationDir;

struct Tiff {
  const char* name;
  int epsg;
  std::array<double, 6> geo;
  int width;
  int height;
};

struct Imported {
  ImportStatus status = ImportStatus::kOk;
  std::string refusal;
  CalibrationRecord record;
};

Imported ImportTiff(const CalibrationDir& dir, const Tiff& tiff) {
  const std::string path = dir.File("map.tif");
  Imported result;
  if (!testing::WriteGeoTiff(path, tiff.width, tiff.height, &tiff.geo, tiff.epsg)) {
    result.status = ImportStatus::kOpenFailed;
    return result;
  }
  CalibrationImport import;
  std::int32_t width = 0;
  std::int32_t height = 0;
  result.status = ReadGeoTiffCalibration(path, &import, &width, &height);
  if (result.status != ImportStatus::kOk) return result;
  result.status =
      ReadImportedCalibration(import, 0, "SWsw", width, height, &result.record, &result.refusal);
  return result;
}

// GDAL's envelope of the frame from pixel centre (0, 0) to (width, height),
// every pixel of its edges, in WGS84 degrees; longitudes as GDAL gives them.
GeoBounds GdalFrameEnvelope(const CalibrationDir& dir, const Tiff& tiff) {
  GeoBounds bounds{-90.0, 180.0, 90.0, -180.0};
  const std::string path = dir.File("map.tif");
  GDALDatasetH dataset = GDALOpen(path.c_str(), GA_ReadOnly);
  if (dataset == nullptr) return bounds;
  const char* options[] = {"DST_SRS=EPSG:4326", nullptr};
  void* transformer =
      GDALCreateGenImgProjTransformer2(dataset, nullptr, const_cast<char**>(options));
  const auto add = [&](double x, double y) {
    double gx = x + 0.5;
    double gy = y + 0.5;
    double z = 0;
    int success = 0;
    GDALGenImgProjTransform(transformer, FALSE, 1, &gx, &gy, &z, &success);
    if (!success) return;
    bounds.north = std::max(bounds.north, gy);
    bounds.south = std::min(bounds.south, gy);
    bounds.west = std::min(bounds.west, gx);
    bounds.east = std::max(bounds.east, gx);
  };
  for (int x = 0; x <= tiff.width; ++x) {
    add(x, 0);
    add(x, tiff.height);
  }
  for (int y = 0; y <= tiff.height; ++y) {
    add(0, y);
    add(tiff.width, y);
  }
  GDALDestroyGenImgProjTransformer(transformer);
  GDALClose(dataset);
  return bounds;
}

TEST(GeoreferencedRecord, MapsReachingTheEdgeOfTheEarthAreTaken) {
  const Tiff kTiffs[] = {
      {"whole world", 4326, {-180, 0.25, 0, 75, 0, -0.25}, 1440, 600},
      {"outer edge at 180.0625", 4326, {-180.0625, 0.125, 0, 90.0625, 0, -0.125}, 2881, 1441},
  };
  for (const Tiff& tiff : kTiffs) {
    SCOPED_TRACE(tiff.name);
    CalibrationDir dir;
    const Imported imported = ImportTiff(dir, tiff);
    ASSERT_EQ(imported.status, ImportStatus::kOk) << imported.refusal;
    const CalibrationRecord& record = imported.record;
    // The bounds, like the texts made of them, end at the Earth's edge.
    EXPECT_LE(record.east, 180.0);
    EXPECT_GE(record.west, -180.0);
    EXPECT_LE(record.north, 90.0);
    EXPECT_GE(record.south, -90.0);
    // The points stay where GDAL puts their pixel centres, even a hair
    // past 180°.
    for (const CalibrationPoint& point : *record.points) {
      EXPECT_DOUBLE_EQ(point.longitude, tiff.geo[0] + (point.pixel_x + 0.5) * tiff.geo[1]);
      EXPECT_DOUBLE_EQ(point.latitude, tiff.geo[3] + (point.pixel_y + 0.5) * tiff.geo[5]);
    }
  }
}

TEST(GeoreferencedRecord, AMapAcrossTheAntimeridianIsRefusedSayingSo) {
  const struct {
    Tiff tiff;
    const char* reason;
  } kRows[] = {
      {{"Fiji in UTM 60 south", 32760, {700000, 200, 0, 8100000, 0, -200}, 1000, 600},
       "crosses the 180"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.tiff.name);
    CalibrationDir dir;
    const Imported imported = ImportTiff(dir, row.tiff);
    ASSERT_EQ(imported.status, ImportStatus::kOffTheEarth);
    EXPECT_NE(imported.refusal.find(row.reason), std::string::npos) << imported.refusal;
    try {
      RaiseImportError(imported.status, "map.tif", imported.refusal);
      ADD_FAILURE() << "no exception";
    } catch (const ErrOffTheEarth& error) {
      EXPECT_EQ(error.code(), kErrOffTheEarth);
      EXPECT_STREQ(error.file_name(), "map.tif");
      EXPECT_EQ(std::string(error.reason()), imported.refusal);
    }
  }
}

TEST(GeoreferencedRecord, BoundsAreTheEnvelopeOfTheWholeImage) {
  const Tiff kTiffs[] = {
      {"UTM 32 north, 240 km", 32632, {300000, 300, 0, 5400000, 0, -300}, 800, 700},
      {"rotated British grid", 27700, {400000, 40, 25, 300000, 20, -40}, 900, 700},
      {"Antarctic polar stereographic", 3031, {-1e6, 2000, 0, 1e6, 0, -2000}, 1000, 1000},
      {"Arctic polar stereographic", 3413, {-5e5, 1000, 0, 5e5, 0, -1000}, 1000, 1000},
  };
  for (const Tiff& tiff : kTiffs) {
    SCOPED_TRACE(tiff.name);
    CalibrationDir dir;
    const Imported imported = ImportTiff(dir, tiff);
    ASSERT_EQ(imported.status, ImportStatus::kOk) << imported.refusal;
    const CalibrationRecord& record = imported.record;
    EXPECT_LT(record.west, record.east);
    EXPECT_LT(record.south, record.north);
    // The bound texts keep eight decimals.
    constexpr double kTextStep = 1e-8;
    for (const CalibrationPoint& point : *record.points) {
      EXPECT_LE(point.latitude, record.north + kTextStep);
      EXPECT_GE(point.latitude, record.south - kTextStep);
      EXPECT_GE(point.longitude, record.west - kTextStep);
      EXPECT_LE(point.longitude, record.east + kTextStep);
    }
    const GeoBounds gdal = GdalFrameEnvelope(dir, tiff);
    if (tiff.epsg == 3031) {
      EXPECT_EQ(record.south, -90.0);
      EXPECT_NEAR(record.north, gdal.north, kTextStep);
    } else if (tiff.epsg == 3413) {
      EXPECT_EQ(record.north, 90.0);
      EXPECT_NEAR(record.south, gdal.south, kTextStep);
    } else {
      // 64 samples an edge follow the curve to a small part of a pixel.
      const double pixel = std::hypot(tiff.geo[1], tiff.geo[2]) / 111000.0;
      EXPECT_NEAR(record.north, gdal.north, 0.01 * pixel);
      EXPECT_NEAR(record.south, gdal.south, 0.01 * pixel);
      EXPECT_NEAR(record.west, gdal.west, 0.01 * pixel);
      EXPECT_NEAR(record.east, gdal.east, 0.01 * pixel);
    }
    if (tiff.epsg == 3031 || tiff.epsg == 3413) {
      EXPECT_EQ(record.west, -180.0);
      EXPECT_EQ(record.east, 180.0);
    }
  }
}

TEST(GeoreferencedRecord, NorthUpDegreeMapKeepsItsCornerBounds) {
  const Tiff tiff = {"north up", 4326, {7.5, 0.001, 0, 47.25, 0, -0.0008}, 1201, 800};
  CalibrationDir dir;
  const Imported imported = ImportTiff(dir, tiff);
  ASSERT_EQ(imported.status, ImportStatus::kOk);
  // The centre of the top-left pixel, and one image on from it.
  const CalibrationImport expected_texts = [&] {
    CalibrationImport texts;
    texts.north_text = FormatBoundText(tiff.geo[3] + tiff.geo[5] / 2, true);
    texts.west_text = FormatBoundText(tiff.geo[0] + tiff.geo[1] / 2, false);
    texts.south_text = FormatBoundText(tiff.geo[3] + tiff.geo[5] / 2 + 800 * tiff.geo[5], true);
    texts.east_text = FormatBoundText(tiff.geo[0] + tiff.geo[1] / 2 + 1201 * tiff.geo[1], false);
    return texts;
  }();
  const CalibrationRecord expected =
      CalibrationRecordFromImport(expected_texts, "SWsw", tiff.width, tiff.height);
  EXPECT_EQ(imported.record.north, expected.north);
  EXPECT_EQ(imported.record.west, expected.west);
  EXPECT_EQ(imported.record.south, expected.south);
  EXPECT_EQ(imported.record.east, expected.east);
}

TEST(GeoreferencedRecord, SourcePointsAreNeverSuspectAndGiveTheModelError) {
  // rasterio's RGB.byte.tif: 791 x 718 pixels of 300 m in UTM 18 north.
  const Tiff tiff = {"RGB.byte", 32618, {101985.0, 300.0379, 0, 2826915.0, 0, -300.0417}, 791, 718};
  CalibrationDir dir;
  Imported imported = ImportTiff(dir, tiff);
  ASSERT_EQ(imported.status, ImportStatus::kOk);
  CalibrationResiduals residuals = ComputeCalibrationResiduals(imported.record);
  ASSERT_EQ(residuals.status, ResidualStatus::kOk);
  double worst = 0.0;
  double worst_metres = 0.0;
  for (const PointResidual& row : residuals.points) {
    EXPECT_TRUE(row.from_source);
    EXPECT_FALSE(row.outlier) << "point " << row.index + 1;
    if (row.pixels > worst) {
      worst = row.pixels;
      worst_metres = row.metres;
    }
  }
  // The projection's curvature across 240 km: a few pixels.
  ASSERT_TRUE(residuals.has_model_error);
  EXPECT_GT(worst, 1.0);
  EXPECT_EQ(residuals.model_error_pixels, worst);
  EXPECT_EQ(residuals.model_error_metres, worst_metres);

  // A position typed over a source point is judged again.
  (*imported.record.points)[4].latitude += 0.05;
  residuals = ComputeCalibrationResiduals(imported.record);
  EXPECT_FALSE(residuals.points[4].from_source);
  EXPECT_TRUE(residuals.points[4].outlier);
}

}  // namespace
}  // namespace kv
