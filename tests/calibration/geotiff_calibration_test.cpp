// GeoTIFF calibration against GDAL's own pixel-to-WGS84 transformation (what
// gdaltransform computes).

#include "calibration/geotiff_calibration.h"

#include <gdal_alg.h>
#include <gtest/gtest.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

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
    ASSERT_EQ(ReadGeoTiffCalibration(path, &import, &width, &height), ImportStatus::kOk);
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
            ImportStatus::kGeoTiffNotGeoreferenced);
  EXPECT_EQ(width, 20);
  ASSERT_TRUE(testing::WriteGeoTiff(dir.File("nosrs.tif"), 20, 10, &geo, 0));
  EXPECT_EQ(ReadGeoTiffCalibration(dir.File("nosrs.tif"), &import, &width, &height),
            ImportStatus::kGeoTiffNotGeoreferenced);
  EXPECT_EQ(import.points[0], CalibrationPoint{});
  dir.Write("text.tif", "not a tiff");
  EXPECT_EQ(ReadGeoTiffCalibration(dir.File("text.tif"), &import, &width, &height),
            ImportStatus::kOpenFailed);
  EXPECT_EQ(ReadGeoTiffCalibration(dir.File("missing.tif"), &import, &width, &height),
            ImportStatus::kOpenFailed);
}

// A GeoTIFF georeferenced by ground control points in `srs`, as GDAL writes
// one: `gcps` are pixel, line, x, y.
bool WriteGcpTiff(const std::string& path, int width, int height,
                  const std::vector<std::array<double, 4>>& gcps, const char* srs_text) {
  testing::RegisterGdal();
  GDALDatasetH dataset =
      GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), width, height, 1, GDT_Byte, nullptr);
  if (!dataset) return false;
  std::vector<GDAL_GCP> list(gcps.size());
  GDALInitGCPs(static_cast<int>(list.size()), list.data());
  for (std::size_t i = 0; i < gcps.size(); ++i) {
    list[i].dfGCPPixel = gcps[i][0];
    list[i].dfGCPLine = gcps[i][1];
    list[i].dfGCPX = gcps[i][2];
    list[i].dfGCPY = gcps[i][3];
  }
  OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
  OSRSetFromUserInput(srs, srs_text);
  const bool set =
      GDALSetGCPs2(dataset, static_cast<int>(list.size()), list.data(), srs) == CE_None;
  OSRRelease(srs);
  GDALDeinitGCPs(static_cast<int>(list.size()), list.data());
  GDALClose(dataset);
  return set;
}

// GDAL's first-order control point transform from pixel to WGS84 longitude
// and latitude (what gdaltransform -order 1 computes).
class GdalGcpTransform {
 public:
  explicit GdalGcpTransform(const std::string& path) {
    dataset_ = GDALOpen(path.c_str(), GA_ReadOnly);
    const char* options[] = {"DST_SRS=+proj=longlat +datum=WGS84 +no_defs", "METHOD=GCP_POLYNOMIAL",
                             "MAX_GCP_ORDER=1", nullptr};
    if (dataset_) {
      transformer_ =
          GDALCreateGenImgProjTransformer2(dataset_, nullptr, const_cast<char**>(options));
    }
  }
  ~GdalGcpTransform() {
    if (transformer_) GDALDestroyGenImgProjTransformer(transformer_);
    if (dataset_) GDALClose(dataset_);
  }
  GdalGcpTransform(const GdalGcpTransform&) = delete;
  GdalGcpTransform& operator=(const GdalGcpTransform&) = delete;

  bool ok() const { return transformer_ != nullptr; }
  // The position of the centre of our pixel (x, y).
  LatLon AtPixel(int x, int y) const {
    double px = x + 0.5;
    double py = y + 0.5;
    double z = 0;
    int success = 0;
    GDALGenImgProjTransform(transformer_, FALSE, 1, &px, &py, &z, &success);
    return {py, px};
  }

 private:
  GDALDatasetH dataset_ = nullptr;
  void* transformer_ = nullptr;
};

// A 5 x 4 lattice of control points over a 400 x 300 image, on an affine
// (rotated) transform; `outlier` moves one of them by that many metres.
std::vector<std::array<double, 4>> Lattice(double origin_x, double origin_y, double step,
                                           double outlier = 0.0) {
  std::vector<std::array<double, 4>> gcps;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 5; ++column) {
      const double pixel = column * 100.0;
      const double line = row * 100.0;
      gcps.push_back({pixel, line, origin_x + step * pixel + step * 0.1 * line,
                      origin_y - step * 0.05 * pixel - step * line});
    }
  }
  gcps[7][2] += outlier;
  return gcps;
}

TEST(GeoTiffControlPoints, NinePointsAgreeWithGdalsControlPointTransform) {
  const struct {
    const char* srs;
    double origin_x;
    double origin_y;
    double step;
  } kRows[] = {
      {"EPSG:32632", 480000, 5350000, 10},
      {"EPSG:4326", 7.5, 47.25, 0.0001},
      {"EPSG:4267", -74.1, 40.8, 0.0002},  // NAD27: converted to WGS84 as GDAL does
      {"EPSG:27700", 530000, 180000, 5},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.srs);
    CalibrationDir dir;
    const std::string path = dir.File("gcps.tif");
    ASSERT_TRUE(
        WriteGcpTiff(path, 400, 300, Lattice(row.origin_x, row.origin_y, row.step), row.srs));
    CalibrationImport import;
    std::int32_t width = 0;
    std::int32_t height = 0;
    GeoTiffReport report;
    ASSERT_EQ(ReadGeoTiffCalibration(path, &import, &width, &height, &report), ImportStatus::kOk);
    EXPECT_EQ(import.proj_mode, kCalibrationKnownPoints);
    EXPECT_EQ(report.control_points, 20);
    EXPECT_EQ(report.points_used, 9);
    EXPECT_LT(report.rms_pixels, 1e-6);
    // The corners, the centre and the edge middles: (0,0) is the outer
    // corner, so the nearest pixel centres are those next to it.
    EXPECT_EQ(import.points[0].pixel_x, 0);
    EXPECT_EQ(import.points[3].pixel_x, 399);
    EXPECT_EQ(import.points[3].pixel_y, 299);
    EXPECT_EQ(import.points[4].pixel_x, 200);
    GdalGcpTransform gdal(path);
    ASSERT_TRUE(gdal.ok());
    for (const CalibrationPoint& point : import.points) {
      const LatLon expected = gdal.AtPixel(point.pixel_x, point.pixel_y);
      EXPECT_NEAR(point.latitude, expected.latitude, 1e-8);
      EXPECT_NEAR(point.longitude, expected.longitude, 1e-8);
    }
    EXPECT_FALSE(import.north_text.empty());
  }
}

// Points that are not on one affine transform keep their own positions,
// and the fit says how far they are from one.
TEST(GeoTiffControlPoints, EachPointKeepsItsOwnPositionAndTheFitIsReported) {
  CalibrationDir dir;
  const std::string path = dir.File("gcps.tif");
  std::vector<std::array<double, 4>> gcps = Lattice(480000, 5350000, 10, 40.0);
  for (auto& gcp : gcps) {  // on pixel centres, so that no point has to move
    gcp[0] += 0.5;
    gcp[1] += 0.5;
  }
  ASSERT_TRUE(WriteGcpTiff(path, 401, 301, gcps, "EPSG:32632"));
  CalibrationImport import;
  std::int32_t width = 0;
  std::int32_t height = 0;
  GeoTiffReport report;
  ASSERT_EQ(ReadGeoTiffCalibration(path, &import, &width, &height, &report), ImportStatus::kOk);
  // One point 4 pixels off among 20: an affine fit leaves about 0.8 px RMS.
  EXPECT_GT(report.rms_pixels, 0.5);
  EXPECT_LT(report.rms_pixels, 1.5);

  OGRSpatialReferenceH utm = OSRNewSpatialReference(nullptr);
  OSRSetFromUserInput(utm, "EPSG:32632");
  OGRSpatialReferenceH wgs84 = OSRNewSpatialReference(nullptr);
  OSRSetFromUserInput(wgs84, "+proj=longlat +datum=WGS84 +no_defs");
  OSRSetAxisMappingStrategy(utm, OAMS_TRADITIONAL_GIS_ORDER);
  OSRSetAxisMappingStrategy(wgs84, OAMS_TRADITIONAL_GIS_ORDER);
  OGRCoordinateTransformationH transform = OCTNewCoordinateTransformation(utm, wgs84);
  for (const CalibrationPoint& point : import.points) {
    const auto own = std::find_if(gcps.begin(), gcps.end(), [&](const auto& gcp) {
      return gcp[0] == point.pixel_x + 0.5 && gcp[1] == point.pixel_y + 0.5;
    });
    ASSERT_NE(own, gcps.end());
    double x = (*own)[2];
    double y = (*own)[3];
    ASSERT_TRUE(OCTTransform(transform, 1, &x, &y, nullptr));
    EXPECT_NEAR(point.latitude, y, 1e-9);
    EXPECT_NEAR(point.longitude, x, 1e-9);
  }
  OCTDestroyCoordinateTransformation(transform);
  OSRRelease(wgs84);
  OSRRelease(utm);
}

TEST(GeoTiffControlPoints, SystemsOffTheEarthAreNamed) {
  const struct {
    const char* srs;
    const char* name_part;
  } kRows[] = {
      {"GEOGCS[\"Mars 2000\",DATUM[\"D_Mars_2000\",SPHEROID[\"Mars_2000_IAU_IAG\",3396190,"
       "169.894447223612]],PRIMEM[\"Reference_Meridian\",0],UNIT[\"degree\","
       "0.0174532925199433]]",
       "Mars"},
      {"PROJCS[\"Meteosat view\",GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID[\"WGS 84\","
       "6378137,298.257223563]],PRIMEM[\"Greenwich\",0],UNIT[\"degree\",0.0174532925199433]],"
       "PROJECTION[\"Geostationary_Satellite\"],PARAMETER[\"central_meridian\",0],"
       "PARAMETER[\"satellite_height\",35785831],PARAMETER[\"false_easting\",0],"
       "PARAMETER[\"false_northing\",0],UNIT[\"metre\",1]]",
       "Meteosat"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name_part);
    CalibrationDir dir;
    const std::string path = dir.File("far.tif");
    testing::RegisterGdal();
    GDALDatasetH dataset =
        GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), 20, 10, 1, GDT_Byte, nullptr);
    ASSERT_NE(dataset, nullptr);
    std::array<double, 6> geo = {-5000, 1000, 0, 5000, 0, -1000};
    GDALSetGeoTransform(dataset, geo.data());
    GDALSetProjection(dataset, row.srs);
    GDALClose(dataset);
    CalibrationImport import;
    std::int32_t width = 0;
    std::int32_t height = 0;
    GeoTiffReport report;
    EXPECT_EQ(ReadGeoTiffCalibration(path, &import, &width, &height, &report),
              ImportStatus::kGeoTiffUnsupportedSystem);
    EXPECT_NE(report.coordinate_system.find(row.name_part), std::string::npos)
        << report.coordinate_system;
    EXPECT_EQ(import.points[0], CalibrationPoint{});
  }
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
  std::vector<ImportWarning> warnings;
  EXPECT_EQ(DatumCodeFromWkt("GEOGCS[\"x\",DATUM[\"Tokyo_Bay_1899\",SPHEROID[\"Bessel 1841\","
                             "6377397.155,299.1528128]],PRIMEM[\"Greenwich\",0],UNIT[\"degree\","
                             "0.0174532925199433]]",
                             &warnings),
            "Tokyo_Bay_1899");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].kind, ImportWarningKind::kUnknownDatum);
  EXPECT_EQ(warnings[0].detail, "Tokyo Bay 1899");
}

}  // namespace
}  // namespace kv
