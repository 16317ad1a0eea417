// Calibration files as GIS tools and other programs write them, read the way
// GDAL and PROJ read the same files: world files with decimal commas or too
// few numbers, grids on their own datums, ".map" points in grid form, and
// datum names the tables do not know.

#include <gdal.h>
#include <gtest/gtest.h>
#include <ogr_srs_api.h>
#include <proj.h>

#include <array>
#include <cstdlib>
#include <string>

#include "calibration/calibration_file_import.h"
#include "calibration_fixtures.h"
#include "gdal_test_files.h"
#include "geo/coordinate_systems.h"

namespace kv {
namespace {

using testing::CalibrationDir;
using testing::ImportFixture;

ImportStatus ReadWorld(const std::string& text, int type, CalibrationImport* import,
                       ImportFixture* fixture) {
  *import = CalibrationImport{};
  return ReadCalibrationData(text, type, fixture->environment, import, 100, 80);
}

TEST(WorldFileNumbers, LinesThatAreNoNumberAreRefusedNamingTheLine) {
  const struct {
    const char* text;
    const char* detail;  // empty: read
  } kRows[] = {
      {"1\n0\n0\n-1\n100\n", "line 6: a world file holds six numbers, this one 5"},
      {"1\n0\n0\n-1\nabc\n200\n", "line 5 is not a number: \"abc\""},
      {"1\n0\n0\n-1\n100\n200 m\n", "line 6 is not a number: \"200 m\""},
      {"1\n0\n0\n-1\n1,234.5\n200\n", "line 5 is not a number: \"1,234.5\""},
      {"1\n0\n0\n-1\nnan\n200\n", "line 5 is not a number: \"nan\""},
      {"", "line 1: a world file holds six numbers, this one 0"},
      {"1\n0\n0\n-1\n100\n200\nanything after six numbers\n", ""},
      {"+1 \n0\n0\n-1E0\n\t100\n200\n", ""},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.text);
    for (int type : {kCalibrationFileWorld, kCalibrationFileJpr}) {
      ImportFixture fixture;
      CalibrationImport import;
      const ImportStatus status = ReadWorld(row.text, type, &import, &fixture);
      if (*row.detail == '\0') {
        EXPECT_EQ(status, ImportStatus::kOk);
        EXPECT_EQ(import.world_values.e, -1.0);
      } else if (type == kCalibrationFileWorld || *row.text != '\0') {
        // (An empty ".jpr" holds no world file numbers and is a key file.)
        EXPECT_EQ(status, ImportStatus::kMalformedFile);
        EXPECT_EQ(import.malformed_detail, row.detail);
        EXPECT_EQ(import.points[0], CalibrationPoint{});
      }
    }
  }
  EXPECT_EQ(CalibrationFileType("scan.wld"), kCalibrationFileWorld);
  EXPECT_EQ(CalibrationFileType("SCAN.WLD"), kCalibrationFileWorld);
}

// GDAL reads ".pgw" and ".wld" files beside a PNG; its geotransform names the
// outer corner of the top-left pixel, ours the centre.
TEST(WorldFileNumbers, DecimalCommasAndBlankLinesAsGdalReadsThem) {
  const char* const kFiles[] = {
      "0,38\n0\n0\n-0,38\n4287500,50\n5300000,25\n",
      "0.5\n\n0\n0\n-0.5\n  100  \n200\n",
      "1,5e2\r\n0,0\r\n0,0\r\n-150\r\n-7,25\r\n46,125\r\n",
  };
  for (const char* text : kFiles) {
    for (const char* extension : {"pgw", "wld"}) {
      SCOPED_TRACE(std::string(text) + extension);
      CalibrationDir dir;
      ASSERT_TRUE(testing::WritePng(dir.File("scan.png"), 100, 80));
      dir.Write(std::string("scan.") + extension, text);
      GDALDatasetH dataset = GDALOpen(dir.File("scan.png").c_str(), GA_ReadOnly);
      ASSERT_NE(dataset, nullptr);
      std::array<double, 6> gdal{};
      ASSERT_EQ(GDALGetGeoTransform(dataset, gdal.data()), CE_None);
      GDALClose(dataset);

      ImportFixture fixture;
      CalibrationImport import;
      ASSERT_EQ(ReadWorld(text, kCalibrationFileWorld, &import, &fixture), ImportStatus::kOk);
      const WorldFileValues& ours = import.world_values;
      EXPECT_DOUBLE_EQ(ours.a, gdal[1]);
      EXPECT_DOUBLE_EQ(ours.e, gdal[5]);
      EXPECT_DOUBLE_EQ(ours.c - ours.a / 2 - ours.b / 2, gdal[0]);
      EXPECT_DOUBLE_EQ(ours.f - ours.d / 2 - ours.e / 2, gdal[3]);
    }
  }
}

// PROJ's inverse of a grid position on its own datum's geographic system.
LatLon ProjInverse(const char* grid_crs, const char* geographic_crs, double easting,
                   double northing) {
  PJ_CONTEXT* context = proj_context_create();
  PJ* forward = proj_create_crs_to_crs(context, grid_crs, geographic_crs, nullptr);
  PJ* transform = proj_normalize_for_visualization(context, forward);
  const PJ_COORD result = proj_trans(transform, PJ_FWD, proj_coord(easting, northing, 0, 0));
  proj_destroy(transform);
  proj_destroy(forward);
  proj_context_destroy(context);
  return {result.xy.y, result.xy.x};  // longitude first once normalised
}

// A world file's positions are on the grid's datum, and the record says so:
// the British grid on OSGB36, a UTM sheet on the datum the user names.
TEST(WorldFileDatum, PositionsAreLabelledWithTheirDatum) {
  const struct {
    WorldFileSystem system;
    const char* datum;
    const char* grid_crs;
    const char* geographic_crs;
    double easting;
    double northing;
  } kRows[] = {
      {{kSystemOsgb, "", ""}, "OrdSrvyGrtBritn", "EPSG:27700", "EPSG:4277", 530000, 180000},
      {{kSystemUtm, "18T", "NAD27CONUS"}, "NAD27CONUS", "EPSG:26718", "EPSG:4267", 585000, 4510000},
      {{kSystemUtm, "32U", "Eur1950"}, "Eur1950", "EPSG:23032", "EPSG:4230", 480000, 5350000},
      {{kSystemUtm, "32U", ""}, nullptr, "EPSG:32632", "EPSG:4326", 480000, 5350000},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.grid_crs);
    CalibrationDir dir;
    const std::string path =
        dir.Write("sheet.tfw", "10\n0\n0\n-10\n" + std::to_string(row.easting) + "\n" +
                                   std::to_string(row.northing) + "\n");
    ImportFixture fixture;
    CalibrationImport import;
    int type = 0;
    ASSERT_EQ(ImportCalibrationFile(path, row.system, fixture.environment, &import, 100, 80, &type),
              ImportStatus::kOk);
    if (row.datum) {
      EXPECT_EQ(import.datum_name, row.datum);
    } else {
      EXPECT_FALSE(import.datum_name.has_value());
    }
    const LatLon expected =
        ProjInverse(row.grid_crs, row.geographic_crs, row.easting, row.northing);
    EXPECT_NEAR(import.points[0].latitude, expected.latitude, 2e-6);
    EXPECT_NEAR(import.points[0].longitude, expected.longitude, 2e-6);
  }
}

const char kMapHead[] =
    "OziExplorer Map Data File Version 2.2\r\nArea\r\n%s\r\n1 ,Map Code,\r\n"
    "%s,WGS 84,   0.0000,   0.0000,WGS 84\r\nReserved 1\r\nReserved 2\r\n"
    "Magnetic Variation,,,E\r\n";

std::string MapFile(const std::string& image, const std::string& datum,
                    const std::string& projection, const std::string& points) {
  char head[512];
  std::snprintf(head, sizeof head, kMapHead, image.c_str(), datum.c_str());
  return std::string(head) + "Map Projection," + projection +
         ",PolyCal,No,AutoCalOnly,No,BSBUseWPX,No\r\n" + points + "Projection Setup,,,,,,,,,,\r\n";
}

const char kGridPoints[] =
    "Point01,xy,    0,    0,in, deg,    ,        ,N,    ,        ,E, grid,   32,   480000.0,"
    "  5350000.0,N\r\n"
    "Point02,xy,   99,    0,in, deg,    ,        ,N,    ,        ,E, grid,   32,   481000.0,"
    "  5350000.0,N\r\n"
    "Point03,xy,    0,   79,in, deg,    ,        ,N,    ,        ,E, grid,   32,   480000.0,"
    "  5349000.0,N\r\n"
    "Point04,xy,   99,   79,in, deg,    ,        ,N,    ,        ,E, grid,   55,   334000.0,"
    "  6250000.0,S\r\n"
    "Point05,xy,     ,     ,in, deg,    ,        ,N,    ,        ,E, grid,   ,           ,"
    "           ,N\r\n";

// GDAL's own ".map" reader gives such points as control points in the UTM
// zone on the file's datum; the geographic positions of those are ours.
TEST(OziMapGridPoints, UtmPointsAreConvertedAsGdalReadsThem) {
  CalibrationDir dir;
  ASSERT_TRUE(testing::WritePng(dir.File("area.png"), 100, 80));
  const std::string path =
      dir.Write("area.map", MapFile(dir.File("area.png"), "Ireland 1965",
                                    "(UTM) Universal Transverse Mercator", kGridPoints));
  ImportFixture fixture;
  CalibrationImport import;
  int type = 0;
  ASSERT_EQ(ImportCalibrationFile(path, std::nullopt, fixture.environment, &import, 0, 0, &type),
            ImportStatus::kOk);
  EXPECT_TRUE(import.warnings.empty());
  EXPECT_EQ(import.proj_mode, kCalibrationKnownPoints);

  GDALDatasetH dataset = GDALOpen(path.c_str(), GA_ReadOnly);
  ASSERT_NE(dataset, nullptr);
  OGRSpatialReferenceH grid = OSRClone(GDALGetGCPSpatialRef(dataset));
  OGRSpatialReferenceH geographic = OSRCloneGeogCS(grid);
  OSRSetAxisMappingStrategy(grid, OAMS_TRADITIONAL_GIS_ORDER);
  OSRSetAxisMappingStrategy(geographic, OAMS_TRADITIONAL_GIS_ORDER);
  OGRCoordinateTransformationH to_geographic = OCTNewCoordinateTransformation(grid, geographic);
  ASSERT_EQ(GDALGetGCPCount(dataset), 4);
  // GDAL reads the zone of the first point for all of them; ours are taken
  // each in its own zone, so the fourth (zone 55 south) is checked by PROJ.
  for (int i = 0; i < 3; ++i) {
    const GDAL_GCP& gcp = GDALGetGCPs(dataset)[i];
    double x = gcp.dfGCPX;
    double y = gcp.dfGCPY;
    ASSERT_TRUE(OCTTransform(to_geographic, 1, &x, &y, nullptr));
    const CalibrationPoint& point = import.points[static_cast<std::size_t>(i)];
    EXPECT_EQ(point.pixel_x, static_cast<int>(gcp.dfGCPPixel));
    EXPECT_NEAR(point.latitude, y, 1e-7);
    EXPECT_NEAR(point.longitude, x, 1e-7);
  }
  OCTDestroyCoordinateTransformation(to_geographic);
  OSRRelease(geographic);
  OSRRelease(grid);
  GDALClose(dataset);
  const LatLon sydney =
      ProjInverse("+proj=utm +zone=55 +south +ellps=mod_airy +no_defs +type=crs",
                  "+proj=longlat +ellps=mod_airy +no_defs +type=crs", 334000, 6250000);
  EXPECT_NEAR(import.points[3].latitude, sydney.latitude, 1e-7);
  EXPECT_NEAR(import.points[3].longitude, sydney.longitude, 1e-7);
}

// The same sheet twice in mapsoft2's test data (see data/corpus/README.md):
// ozi1a.map gives its corners in degrees, ozi1b.map only as eastings and
// northings in the local transverse Mercator that its "Projection Setup"
// line, after the points, describes. Both give the same positions.
TEST(OziMapGridPoints, PointsInTheMapsOwnTransverseMercatorAreConverted) {
  const auto read = [](const char* name, CalibrationImport* import) {
    const char* root = std::getenv("KV_TEST_DATA");
    const std::string path =
        std::string(root ? root : "tests/calibration/data") + "/corpus/" + name;
    ImportFixture fixture;
    int type = 0;
    return ImportCalibrationFile(path, std::nullopt, fixture.environment, import, 0, 0, &type);
  };
  CalibrationImport in_degrees;
  CalibrationImport in_grid;
  ASSERT_EQ(read("ozi1a.map", &in_degrees), ImportStatus::kOk);
  ASSERT_EQ(read("ozi1b.map", &in_grid), ImportStatus::kOk);
  EXPECT_TRUE(in_grid.warnings.empty());
  EXPECT_EQ(in_grid.datum_name, in_degrees.datum_name);
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(in_grid.points[i].pixel_x, in_degrees.points[i].pixel_x);
    EXPECT_NEAR(in_grid.points[i].latitude, in_degrees.points[i].latitude, 1e-7);
    EXPECT_NEAR(in_grid.points[i].longitude, in_degrees.points[i].longitude, 1e-7);
  }
}

TEST(ImportWarnings, UnknownDatumsAndPointsThatCannotBeTakenAreTold) {
  const std::string lat_lon_point =
      "Point01,xy, 10, 20,in, deg, 47, 30.0,N, 8, 15.0,W, grid, , , ,N\r\n";
  const std::string grid_point_without_zone =
      "Point02,xy, 90, 20,in, deg,    ,        ,N,    ,        ,E, grid,   ,   480000.0,"
      "  5350000.0,N\r\n";
  const struct {
    int type;
    std::string text;
    std::vector<ImportWarning> warnings;
  } kRows[] = {
      {kCalibrationFileMap,
       MapFile("a.png", "Mars 2000", "Latitude/Longitude", lat_lon_point),
       {{ImportWarningKind::kUnknownDatum, "Mars 2000"}}},
      {kCalibrationFileMap,
       MapFile("a.png", "WGS 84", "Transverse Mercator", lat_lon_point + grid_point_without_zone),
       {{ImportWarningKind::kPointsSkipped,
         "1 of 2: a point is given in a grid without a UTM zone"}}},
      {kCalibrationFileMap,
       MapFile("a.png", "WGS 84", "Transverse Mercator", grid_point_without_zone),
       {{ImportWarningKind::kNoUsablePoints, "a point is given in a grid without a UTM zone"}}},
      {kCalibrationFileMap,
       MapFile("a.png", "WGS 84", "Latitude/Longitude", ""),
       {{ImportWarningKind::kNoUsablePoints, "the file lists no points"}}},
      {kCalibrationFileGeo,
       "dm=Bogus Datum 1901\nrp1=48,8,0,0\n",
       {{ImportWarningKind::kUnknownDatum, "Bogus Datum 1901"}}},
      {kCalibrationFileCal, "dm=WGS 84\n", {}},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.text);
    ImportFixture fixture;
    CalibrationImport import;
    ASSERT_EQ(ReadCalibrationData(row.text, row.type, fixture.environment, &import, 0, 0),
              ImportStatus::kOk);
    ASSERT_EQ(import.warnings.size(), row.warnings.size());
    for (std::size_t i = 0; i < row.warnings.size(); ++i) {
      EXPECT_EQ(import.warnings[i].kind, row.warnings[i].kind);
      EXPECT_EQ(import.warnings[i].detail, row.warnings[i].detail);
    }
    if (!row.warnings.empty() && row.warnings[0].kind == ImportWarningKind::kUnknownDatum) {
      EXPECT_FALSE(import.datum_name.has_value());  // not silently taken for another
    }
  }
}

}  // namespace
}  // namespace kv
