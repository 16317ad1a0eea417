// Residuals of calibration points with errors we put there ourselves, and
// their metres against PROJ's geodesic distances.

#include "calibration/calibration_residuals.h"

#include <geodesic.h>
#include <gtest/gtest.h>
#include <proj.h>

#include <cmath>
#include <limits>
#include <vector>

namespace kv {
namespace {

// Coordinates as an affine function of the pixel, skewed and with unequal
// scales, so that a fit that ignored either would show.
struct TrueMap {
  double longitude0 = 8.0;
  double latitude0 = 47.0;
  double longitude_per_x = 1.3e-5;
  double longitude_per_y = 2.0e-6;
  double latitude_per_x = -1.5e-6;
  double latitude_per_y = -9.0e-6;

  CalibrationPoint At(int x, int y) const {
    CalibrationPoint point;
    point.pixel_x = x;
    point.pixel_y = y;
    point.adjusted_x = x;
    point.adjusted_y = y;
    point.longitude = longitude0 + longitude_per_x * x + longitude_per_y * y;
    point.latitude = latitude0 + latitude_per_x * x + latitude_per_y * y;
    return point;
  }
};

struct Pixel {
  int x;
  int y;
};

// Spread over a 2000 x 1500 image, not on a grid.
const std::vector<Pixel> kNinePixels = {{40, 30},   {1010, 55},   {1950, 20},
                                        {70, 760},  {980, 700},   {1930, 810},
                                        {15, 1480}, {1100, 1420}, {1990, 1460}};

CalibrationPoints PointsOf(const TrueMap& map, const std::vector<Pixel>& pixels) {
  CalibrationPoints points{};
  for (std::size_t i = 0; i < pixels.size(); ++i) points[i] = map.At(pixels[i].x, pixels[i].y);
  return points;
}

std::vector<int> OutlierIndexes(const CalibrationResiduals& residuals) {
  std::vector<int> indexes;
  for (const PointResidual& row : residuals.points) {
    if (row.outlier) indexes.push_back(row.index);
  }
  return indexes;
}

double GeodesicMetres(const Ellipsoid& ellipsoid, double latitude1, double longitude1,
                      double latitude2, double longitude2) {
  geod_geodesic geodesic;
  geod_init(&geodesic, ellipsoid.semi_major_axis, 1.0 / ellipsoid.inverse_flattening);
  double distance = 0.0;
  geod_inverse(&geodesic, latitude1, longitude1, latitude2, longitude2, &distance, nullptr,
               nullptr);
  return distance;
}

TEST(CalibrationResiduals, ExactAffinePointsFitWithoutResiduals) {
  const CalibrationPoints points = PointsOf(TrueMap{}, kNinePixels);
  const CalibrationResiduals residuals = ComputeCalibrationResiduals(points, kWgs84Ellipsoid);
  ASSERT_EQ(residuals.status, ResidualStatus::kOk);
  ASSERT_EQ(residuals.points.size(), 9u);
  EXPECT_LT(residuals.rms_pixels, 1e-6);
  for (std::size_t i = 0; i < residuals.points.size(); ++i) {
    const PointResidual& row = residuals.points[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(row.index, static_cast<int>(i));
    EXPECT_LT(row.pixels, 1e-6);
    EXPECT_LT(row.metres, 1e-4);
    EXPECT_FALSE(row.outlier);
    EXPECT_NEAR(row.fitted_x, points[i].pixel_x, 1e-6);
    EXPECT_NEAR(row.fitted_y, points[i].pixel_y, 1e-6);
    EXPECT_NEAR(row.fitted_latitude, points[i].latitude, 1e-10);
    EXPECT_NEAR(row.fitted_longitude, points[i].longitude, 1e-10);
  }
}

TEST(CalibrationResiduals, SetPointsCountWhereverTheyAreAmongTheSlots) {
  const TrueMap map;
  CalibrationPoints points{};
  points[1] = map.At(100, 100);
  points[4] = map.At(1800, 200);
  points[8] = map.At(900, 1400);
  // A pixel without coordinates is set too.
  points[6].pixel_y = 700;
  CalibrationResiduals residuals = ComputeCalibrationResiduals(points, kWgs84Ellipsoid);
  ASSERT_EQ(residuals.status, ResidualStatus::kOk);
  ASSERT_EQ(residuals.points.size(), 4u);
  EXPECT_EQ(residuals.points[0].index, 1);
  EXPECT_EQ(residuals.points[1].index, 4);
  EXPECT_EQ(residuals.points[2].index, 6);
  EXPECT_EQ(residuals.points[3].index, 8);
  ASSERT_NE(FindPointResidual(residuals, 6), nullptr);
  EXPECT_EQ(FindPointResidual(residuals, 6)->index, 6);
  EXPECT_EQ(FindPointResidual(residuals, 0), nullptr);
  EXPECT_EQ(FindPointResidual(residuals, 7), nullptr);

  points[6] = CalibrationPoint{};
  residuals = ComputeCalibrationResiduals(points, kWgs84Ellipsoid);
  EXPECT_EQ(residuals.status, ResidualStatus::kOk);
  EXPECT_EQ(residuals.points.size(), 3u);
}

TEST(CalibrationResiduals, OnePointMovedByTwentyPixelsIsTheOnlySuspect) {
  for (std::size_t moved = 0; moved < kNinePixels.size(); ++moved) {
    SCOPED_TRACE(moved);
    CalibrationPoints points = PointsOf(TrueMap{}, kNinePixels);
    points[moved].pixel_x += 12;
    points[moved].pixel_y -= 16;
    const CalibrationResiduals residuals = ComputeCalibrationResiduals(points, kWgs84Ellipsoid);
    ASSERT_EQ(residuals.status, ResidualStatus::kOk);
    EXPECT_EQ(OutlierIndexes(residuals), std::vector<int>{static_cast<int>(moved)});
    // The full fit leans towards the moved point, so it misses that point
    // by less than 20 px and the others by a little.
    const PointResidual& row = residuals.points[moved];
    EXPECT_GT(row.pixels, 10.0);
    EXPECT_LT(row.pixels, 20.0);
    for (const PointResidual& other : residuals.points) {
      if (other.index != row.index) {
        EXPECT_LT(other.pixels, row.pixels);
      }
    }
    EXPECT_GT(residuals.rms_pixels, 0.0);
  }
}

TEST(CalibrationResiduals, AnUnfinishedPointHidesFromItsResidualNotFromLeavingItOut) {
  // A pixel picked but no coordinates typed: at 0 N 0 E, thousands of
  // kilometres from the rest, the point pulls the whole fit through itself.
  CalibrationPoints points = PointsOf(TrueMap{}, kNinePixels);
  points[8].latitude = 0.0;
  points[8].longitude = 0.0;
  const CalibrationResiduals residuals = ComputeCalibrationResiduals(points, kWgs84Ellipsoid);
  ASSERT_EQ(residuals.status, ResidualStatus::kOk);
  EXPECT_LT(residuals.points[8].pixels, 1.0);
  EXPECT_GT(residuals.rms_pixels, 100.0);
  EXPECT_EQ(OutlierIndexes(residuals), std::vector<int>{8});
}

TEST(CalibrationResiduals, FourPointsAreNotJudged) {
  // Leaving any one out leaves three points, which the fit passes through
  // exactly: a bad point would make all four look wrong, and so would the
  // curve of any projection.
  const std::vector<Pixel> four = {{40, 30}, {1950, 20}, {980, 700}, {15, 1480}};
  CalibrationPoints points = PointsOf(TrueMap{}, four);
  points[1].pixel_x += 12;
  points[1].pixel_y -= 16;
  const CalibrationResiduals residuals = ComputeCalibrationResiduals(points, kWgs84Ellipsoid);
  ASSERT_EQ(residuals.status, ResidualStatus::kOk);
  EXPECT_TRUE(OutlierIndexes(residuals).empty());
  EXPECT_GT(residuals.rms_pixels, 1.0);
}

// Points of a 2000 x 1500 map with `metres` a pixel in UTM zone 32 north,
// their positions from PROJ.
CalibrationPoints UtmMapPoints(const std::vector<Pixel>& pixels, double metres) {
  PJ_CONTEXT* context = proj_context_create();
  PJ* raw = proj_create_crs_to_crs(context, "EPSG:32632", "EPSG:4326", nullptr);
  PJ* utm = proj_normalize_for_visualization(context, raw);
  CalibrationPoints points{};
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const PJ_COORD grid =
        proj_coord(300000.0 + metres * pixels[i].x, 5400000.0 - metres * pixels[i].y, 0, 0);
    const PJ_COORD geographic = proj_trans(utm, PJ_FWD, grid);
    points[i].pixel_x = points[i].adjusted_x = pixels[i].x;
    points[i].pixel_y = points[i].adjusted_y = pixels[i].y;
    points[i].longitude = geographic.lp.lam;
    points[i].latitude = geographic.lp.phi;
  }
  proj_destroy(utm);
  proj_destroy(raw);
  proj_context_destroy(context);
  return points;
}

TEST(CalibrationResiduals, CorrectPointsOfAProjectedMapAreNotSuspect) {
  // 200 km across: the affine fit misses the corners by about 13 pixels.
  const std::vector<Pixel> corners = {{0, 0}, {1999, 0}, {0, 1499}, {1999, 1499}};
  CalibrationResiduals residuals =
      ComputeCalibrationResiduals(UtmMapPoints(corners, 100.0), kWgs84Ellipsoid);
  ASSERT_EQ(residuals.status, ResidualStatus::kOk);
  EXPECT_GT(residuals.rms_pixels, 10.0);
  EXPECT_TRUE(OutlierIndexes(residuals).empty());

  // Five points of a 20 km sheet judge, and a mistyped one still shows.
  std::vector<Pixel> five = corners;
  five.push_back({1000, 750});
  CalibrationPoints points = UtmMapPoints(five, 10.0);
  residuals = ComputeCalibrationResiduals(points, kWgs84Ellipsoid);
  EXPECT_TRUE(OutlierIndexes(residuals).empty());
  points[4].latitude += 0.01;
  residuals = ComputeCalibrationResiduals(points, kWgs84Ellipsoid);
  EXPECT_EQ(OutlierIndexes(residuals), std::vector<int>{4});
}

TEST(CalibrationResiduals, AMistypedCoordinateIsSuspect) {
  // A latitude typed 0.01 degrees off: about 1.1 km, over 1000 px here.
  CalibrationPoints points = PointsOf(TrueMap{}, kNinePixels);
  points[4].latitude += 0.01;
  const CalibrationResiduals residuals = ComputeCalibrationResiduals(points, kWgs84Ellipsoid);
  ASSERT_EQ(residuals.status, ResidualStatus::kOk);
  EXPECT_EQ(OutlierIndexes(residuals), std::vector<int>{4});
  EXPECT_GT(residuals.points[4].metres, 800.0);
  EXPECT_LT(residuals.points[4].metres, 1112.0);
}

TEST(CalibrationResiduals, SmallOrEvenMissesAreNotSuspect) {
  // Moved by 4 px: beyond 3 x RMS of the exact others, but under 5 px.
  CalibrationPoints points = PointsOf(TrueMap{}, kNinePixels);
  points[2].pixel_y += 4;
  CalibrationResiduals residuals = ComputeCalibrationResiduals(points, kWgs84Ellipsoid);
  ASSERT_EQ(residuals.status, ResidualStatus::kOk);
  EXPECT_TRUE(OutlierIndexes(residuals).empty());

  // Every point off by 8 px in turn to either side: the misses exceed 5 px
  // but are all alike, so none stands out from its fit's RMS.
  points = PointsOf(TrueMap{}, kNinePixels);
  for (std::size_t i = 0; i < kNinePixels.size(); ++i) {
    points[i].pixel_x += (i % 2 == 0) ? 8 : -8;
    points[i].pixel_y += (i % 3 == 0) ? -8 : 8;
  }
  residuals = ComputeCalibrationResiduals(points, kWgs84Ellipsoid);
  ASSERT_EQ(residuals.status, ResidualStatus::kOk);
  EXPECT_GT(residuals.rms_pixels, 5.0);
  EXPECT_TRUE(OutlierIndexes(residuals).empty());
}

TEST(CalibrationResiduals, ThreePointsGiveResidualsButNoSuspect) {
  const std::vector<Pixel> three = {{0, 0}, {2000, 100}, {500, 1500}};
  CalibrationPoints points = PointsOf(TrueMap{}, three);
  points[1].latitude += 0.05;  // far off, yet three points always fit exactly
  const CalibrationResiduals residuals = ComputeCalibrationResiduals(points, kWgs84Ellipsoid);
  ASSERT_EQ(residuals.status, ResidualStatus::kOk);
  ASSERT_EQ(residuals.points.size(), 3u);
  EXPECT_LT(residuals.rms_pixels, 1e-6);
  EXPECT_TRUE(OutlierIndexes(residuals).empty());
}

TEST(CalibrationResiduals, DegenerateSetsGiveAStatusNotNumbers) {
  const TrueMap map;
  struct Case {
    const char* name;
    CalibrationPoints points;
    ResidualStatus status;
  };
  std::vector<Case> cases;
  CalibrationPoints none{};
  cases.push_back({"no points", none, ResidualStatus::kTooFewPoints});
  CalibrationPoints two{};
  two[0] = map.At(0, 0);
  two[5] = map.At(900, 900);
  cases.push_back({"two points", two, ResidualStatus::kTooFewPoints});
  CalibrationPoints line{};
  for (int i = 0; i < 5; ++i) line[static_cast<std::size_t>(i)] = map.At(100 * i, 50 * i);
  cases.push_back({"five on a line", line, ResidualStatus::kCollinearPositions});
  CalibrationPoints duplicate{};
  duplicate[0] = map.At(10, 10);
  duplicate[1] = map.At(10, 10);
  duplicate[2] = map.At(900, 400);
  cases.push_back({"a duplicate of two", duplicate, ResidualStatus::kCollinearPositions});
  CalibrationPoints same{};
  for (std::size_t i = 0; i < 4; ++i) same[i] = map.At(300, 300);
  cases.push_back({"four alike", same, ResidualStatus::kCollinearPositions});
  CalibrationPoints one_pixel = PointsOf(map, {{5, 5}, {800, 50}, {400, 700}, {900, 900}});
  for (CalibrationPoint& point : one_pixel) {
    if (point.latitude == 0.0) continue;
    point.pixel_x = 77;
    point.pixel_y = 77;
  }
  cases.push_back({"every pixel alike", one_pixel, ResidualStatus::kCollinearPixels});
  CalibrationPoints pixel_line = PointsOf(map, {{5, 5}, {800, 50}, {400, 700}, {900, 900}});
  for (CalibrationPoint& point : pixel_line) point.pixel_y = point.pixel_x;
  cases.push_back({"pixels on a line", pixel_line, ResidualStatus::kCollinearPixels});
  CalibrationPoints off = PointsOf(map, kNinePixels);
  off[3].latitude = 91.0;
  cases.push_back({"latitude 91", off, ResidualStatus::kPositionOffTheEarth});
  CalibrationPoints not_a_number = PointsOf(map, kNinePixels);
  not_a_number[8].longitude = std::numeric_limits<double>::quiet_NaN();
  cases.push_back({"NaN longitude", not_a_number, ResidualStatus::kPositionOffTheEarth});

  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    const CalibrationResiduals residuals =
        ComputeCalibrationResiduals(test.points, kWgs84Ellipsoid);
    EXPECT_EQ(residuals.status, test.status);
    EXPECT_TRUE(residuals.points.empty());
    EXPECT_EQ(residuals.rms_pixels, 0.0);
  }
}

TEST(CalibrationResiduals, APointWhoseOthersLieOnALineIsNotJudged) {
  // Without point 4 the rest lie on a line and cannot make a fit; the set as
  // a whole still can.
  const TrueMap map;
  CalibrationPoints points = PointsOf(map, {{0, 0}, {500, 500}, {1000, 1000}, {1000, 0}});
  points[0].pixel_x += 30;
  const CalibrationResiduals residuals = ComputeCalibrationResiduals(points, kWgs84Ellipsoid);
  ASSERT_EQ(residuals.status, ResidualStatus::kOk);
  ASSERT_EQ(residuals.points.size(), 4u);
  EXPECT_FALSE(residuals.points[3].outlier);
  for (const PointResidual& row : residuals.points) {
    EXPECT_TRUE(std::isfinite(row.pixels));
    EXPECT_TRUE(std::isfinite(row.metres));
  }
}

// The metres are the distance between a point's typed position and the one
// the fit gives its pixel; PROJ's geodesic measures the same pair.
TEST(CalibrationResiduals, MetresAgreeWithGeodesicDistances) {
  struct Setting {
    const char* name;
    TrueMap map;
    Ellipsoid ellipsoid;
  };
  TrueMap equator;
  equator.latitude0 = 0.5;
  equator.longitude0 = -60.0;
  TrueMap north;
  north.latitude0 = 70.2;
  north.longitude0 = 25.0;
  north.longitude_per_x = 4.0e-5;
  TrueMap south_coarse;  // about 50 m per pixel
  south_coarse.latitude0 = -33.0;
  south_coarse.longitude0 = 151.0;
  south_coarse.longitude_per_x = 5.4e-4;
  south_coarse.longitude_per_y = 0.0;
  south_coarse.latitude_per_x = 0.0;
  south_coarse.latitude_per_y = -4.5e-4;
  const Ellipsoid bessel = {6377397.155, 299.1528128};
  const std::vector<Setting> settings = {{"Alps", TrueMap{}, kWgs84Ellipsoid},
                                         {"equator", equator, kWgs84Ellipsoid},
                                         {"Lapland", north, kWgs84Ellipsoid},
                                         {"Sydney", south_coarse, kWgs84Ellipsoid},
                                         {"Alps on Bessel", TrueMap{}, bessel}};
  for (const Setting& setting : settings) {
    SCOPED_TRACE(setting.name);
    CalibrationPoints points = PointsOf(setting.map, kNinePixels);
    points[6].pixel_x += 30;
    points[6].pixel_y -= 40;
    points[2].latitude -= 0.002;
    const CalibrationResiduals residuals = ComputeCalibrationResiduals(points, setting.ellipsoid);
    ASSERT_EQ(residuals.status, ResidualStatus::kOk);
    for (const PointResidual& row : residuals.points) {
      const CalibrationPoint& point = points[static_cast<std::size_t>(row.index)];
      const double geodesic = GeodesicMetres(setting.ellipsoid, point.latitude, point.longitude,
                                             row.fitted_latitude, row.fitted_longitude);
      EXPECT_NEAR(row.metres, geodesic, 1e-3 + 1e-4 * geodesic) << "point " << row.index;
    }
    EXPECT_GT(residuals.points[6].metres, 10.0);
  }
}

TEST(CalibrationResiduals, RecordMeasuresOnItsDatumsEllipsoid) {
  CalibrationRecord record;
  EXPECT_EQ(ComputeCalibrationResiduals(record).status, ResidualStatus::kTooFewPoints);

  record.points = PointsOf(TrueMap{}, kNinePixels);
  (*record.points)[6].pixel_x += 5000;
  const double wgs84 = ComputeCalibrationResiduals(record).points[6].metres;
  EXPECT_NEAR(ComputeCalibrationResiduals(*record.points, kWgs84Ellipsoid).points[6].metres, wgs84,
              1e-9);

  // The datum line's own a and rf win over the name.
  record.datum_name = "Potsdam";
  record.datum_parameters = DatumParameters{6377397.155, 299.1528128};
  const Ellipsoid bessel = {6377397.155, 299.1528128};
  const CalibrationResiduals on_bessel = ComputeCalibrationResiduals(record);
  ASSERT_EQ(on_bessel.status, ResidualStatus::kOk);
  const PointResidual& row = on_bessel.points[6];
  const CalibrationPoint& point = (*record.points)[6];
  EXPECT_NEAR(row.metres,
              GeodesicMetres(bessel, point.latitude, point.longitude, row.fitted_latitude,
                             row.fitted_longitude),
              1e-4 * row.metres);
  EXPECT_GT(std::fabs(row.metres - wgs84), 1.0);
}

}  // namespace
}  // namespace kv
