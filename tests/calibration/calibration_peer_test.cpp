// Our readers against independent peers: GDAL reads the same OziExplorer
// ".map" files and world files, PROJ computes the same grid positions.

#include <gdal.h>
#include <gtest/gtest.h>
#include <proj.h>

#include <array>
#include <cmath>
#include <fstream>

#include "calibration/calibration_file_import.h"
#include "calibration_fixtures.h"
#include "gdal_test_files.h"
#include "geo/coordinate_systems.h"
#include "geo/grid_system_table.h"

namespace kv {
namespace {

using testing::CalibrationDir;
using testing::ImportFixture;

TEST(OziMapPeer, GdalMapDriverGcpsEqualOurPoints) {
  CalibrationDir dir;
  ASSERT_TRUE(testing::WritePng(dir.File("area.png"), 640, 480));
  const std::string map =
      "OziExplorer Map Data File Version 2.2\r\nArea\r\n" + dir.File("area.png") +
      "\r\n1 ,Map Code,\r\nWGS 84,WGS 84,   0.0000,   0.0000,WGS 84\r\nReserved 1\r\n"
      "Reserved 2\r\nMagnetic Variation,,,E\r\n"
      "Map Projection,Latitude/Longitude,PolyCal,No,AutoCalOnly,No,BSBUseWPX,No\r\n"
      "Point01,xy,   10,   20,in, deg,  47, 30.0000,N,   8, 15.0000,W, grid,   ,           ,       "
      "    ,N\r\n"
      "Point02,xy,  630,   25,in, deg,  47, 29.1234,N,   7, 01.5000,W, grid,   ,           ,       "
      "    ,N\r\n"
      "Point03,xy,  300,  470,in, deg,  46, 10.7500,N,   7, 40.2500,W, grid,   ,           ,       "
      "    ,N\r\n"
      "Point04,xy,  620,  460,in, deg,  12, 59.9999,S, 120, 00.0001,E, grid,   ,           ,       "
      "    ,N\r\n"
      "Point05,xy,     ,     ,in, deg,    ,        ,N,    ,        ,E, grid,   ,           ,       "
      "    ,N\r\n"
      "Projection Setup,,,,,,,,,,\r\nMap Feature = MF ; Map Comment = MC     These follow if they "
      "exist\r\n";
  const std::string path = dir.Write("area.map", map);
  ImportFixture fixture;
  CalibrationImport import;
  int type = 0;
  ASSERT_EQ(ImportCalibrationFile(path, std::nullopt, fixture.environment, &import, 0, 0, &type),
            ImportStatus::kOk);
  EXPECT_EQ(import.proj_mode, kCalibrationKnownPoints);

  testing::RegisterGdal();
  GDALDatasetH dataset = GDALOpen(path.c_str(), GA_ReadOnly);
  ASSERT_NE(dataset, nullptr);
  const int count = GDALGetGCPCount(dataset);
  ASSERT_EQ(count, 4);
  const GDAL_GCP* gcps = GDALGetGCPs(dataset);
  for (int i = 0; i < count; ++i) {
    SCOPED_TRACE(i);
    const CalibrationPoint& point = import.points[static_cast<std::size_t>(i)];
    EXPECT_EQ(point.pixel_x, gcps[i].dfGCPPixel);
    EXPECT_EQ(point.pixel_y, gcps[i].dfGCPLine);
    EXPECT_NEAR(point.longitude, gcps[i].dfGCPX, 1e-9);
    EXPECT_NEAR(point.latitude, gcps[i].dfGCPY, 1e-9);
  }
  GDALClose(dataset);
}

// GDAL's geotransform names the outer corner of the top-left pixel; our
// point at pixel (x, y) is that pixel's centre.
void ExpectPointsOnGeoTransform(const CalibrationImport& import, const double* geo,
                                double tolerance) {
  for (const CalibrationPoint& point : import.points) {
    const double column = point.pixel_x + 0.5;
    const double row = point.pixel_y + 0.5;
    EXPECT_NEAR(point.longitude, geo[0] + column * geo[1] + row * geo[2], tolerance);
    EXPECT_NEAR(point.latitude, geo[3] + column * geo[4] + row * geo[5], tolerance);
  }
}

TEST(WorldFilePeer, GdalGeoTransformGivesOurNinePoints) {
  const std::string world_files[] = {
      "0.001\n0.0\n0.0\n-0.001\n8.0005\n46.9995\n",
      // Rotated, and with a decimal exponent.
      "2.5e-4\n-1e-5\n2e-5\n-2.5e-4\n-3.25\n51.5\n",
  };
  for (const std::string& world : world_files) {
    SCOPED_TRACE(world);
    CalibrationDir dir;
    ASSERT_TRUE(testing::WritePng(dir.File("area.png"), 1001, 777));
    const std::string path = dir.Write("area.pgw", world);
    ImportFixture fixture;
    CalibrationImport import;
    int type = 0;
    ASSERT_EQ(
        ImportCalibrationFile(path, std::nullopt, fixture.environment, &import, 1001, 777, &type),
        ImportStatus::kOk);
    GDALDatasetH dataset = GDALOpen(dir.File("area.png").c_str(), GA_ReadOnly);
    ASSERT_NE(dataset, nullptr);
    double geo[6];
    ASSERT_EQ(GDALGetGeoTransform(dataset, geo), CE_None);
    GDALClose(dataset);
    ExpectPointsOnGeoTransform(import, geo, 1e-9);
    EXPECT_EQ(import.points[3].pixel_x, 1000);
    EXPECT_EQ(import.points[4].pixel_x, 500);
    EXPECT_EQ(import.points[4].pixel_y, 388);
  }
}

class ProjInverse {
 public:
  explicit ProjInverse(const std::string& definition)
      : context_(proj_context_create()), projection_(proj_create(context_, definition.c_str())) {}
  ~ProjInverse() {
    if (projection_) proj_destroy(projection_);
    proj_context_destroy(context_);
  }
  bool ok() const { return projection_ != nullptr; }
  // Metres in, degrees out.
  std::array<double, 2> LatLon(double easting, double northing) const {
    PJ_COORD coord = proj_coord(easting, northing, 0, 0);
    const PJ_COORD result = proj_trans(projection_, PJ_INV, coord);
    return {proj_todeg(result.lp.phi), proj_todeg(result.lp.lam)};
  }

 private:
  PJ_CONTEXT* context_;
  PJ* projection_;
};

double MetresBetween(double latitude1, double longitude1, double latitude2, double longitude2) {
  constexpr double kMetresPerDegree = 111320.0;
  const double north = (latitude1 - latitude2) * kMetresPerDegree;
  const double east =
      (longitude1 - longitude2) * kMetresPerDegree * std::cos(latitude1 * M_PI / 180.0);
  return std::hypot(north, east);
}

struct GridWorldRow {
  WorldFileSystem system;
  std::string proj;
  std::string world;
};

TEST(WorldFilePeer, GridWorldFilesAgreeWithProjWithin2cm) {
  const GridWorldRow rows[] = {
      {{kSystemUtm, "32U", ""},
       "+proj=utm +zone=32 +ellps=WGS84",
       "10\n0\n0\n-10\n480005\n5350005\n"},
      {{kSystemUtm, "33H", ""},
       "+proj=utm +zone=33 +south +ellps=WGS84",
       "5\n0\n0\n-5\n520002.5\n6240002.5\n"},
      {{FindGridSystem("GK3"), "", ""},
       "+proj=tmerc +lat_0=0 +lon_0=9 +k=1 +x_0=3500000 +y_0=0 +a=6377397.155 +rf=299.152812",
       "2\n0\n0\n-2\n3480001\n5400001\n"},
      {{FindGridSystem("IRE"), "", ""},
       "+proj=tmerc +lat_0=53.5 +lon_0=-8 +k=1.000035 +x_0=200000 +y_0=250000 "
       "+a=6377340.189 +rf=299.3249646",
       "1\n0\n0\n-1\n150000.5\n250000.5\n"},
      {{kSystemOsgb, "", ""},
       "+proj=tmerc +lat_0=49 +lon_0=-2 +k=0.9996012717 +x_0=400000 +y_0=-100000 "
       "+a=6377563.396 +rf=299.3249646",
       "5\n0\n0\n-5\n530002.5\n180002.5\n"},
  };
  for (const GridWorldRow& row : rows) {
    SCOPED_TRACE(row.proj);
    ImportFixture fixture;
    fixture.state.world_file_system = row.system;
    CalibrationImport import;
    ASSERT_EQ(ReadCalibrationData(row.world, kCalibrationFileWorld, fixture.environment, &import,
                                  2000, 1500),
              ImportStatus::kOk);
    ProjInverse proj(row.proj);
    ASSERT_TRUE(proj.ok());
    const WorldFileValues& w = import.world_values;
    for (const CalibrationPoint& point : import.points) {
      const auto expected = proj.LatLon(w.c + point.pixel_x * w.a, w.f + point.pixel_y * w.e);
      EXPECT_LT(MetresBetween(point.latitude, point.longitude, expected[0], expected[1]), 0.02)
          << point.pixel_x << "," << point.pixel_y;
    }
  }
}

}  // namespace
}  // namespace kv
