#include "geo/transverse_mercator.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geo/datum_table.h"
#include "geo/ellipsoid.h"
#include "geo/proj_reference.h"

namespace kv {
namespace {

// The degree factor 0.0174532925 alone moves points by about 6 mm at mid
// latitudes; the series add well under that within 3 degrees of the
// meridian.
constexpr double kProjToleranceMetres = 0.02;
constexpr double kRoundTripToleranceDegrees = 2e-8;

struct TmCase {
  const char* name;
  int datum_row;
  TransverseMercatorParameters parameters;
};

const TmCase kCases[] = {
    {"Irish Grid", 16, {1.000035, 250000, 200000, 53.5, -8}},
    {"Swiss CH1903 as TM", 60, {1, 200000, 600000, 46.952405, 7.439583}},
    {"Gauss Krueger 3", 36, {1, 0, 3500000, 0, 9}},
    {"New Zealand Grid as TM", 12, {1, 6023150, 2510000, -41, 173}},
    {"NZTM", 51, {0.9996, 10000000, 1600000, 0, 173}},
    {"Israel old", 63, {1, 1126867.9, 170251.5, 31.7340969, 35.2045169}},
    {"Clarke 1866", 24, {0.9999, 0, 304800, 0, -73.5}},
};

class TransverseMercatorTest : public ::testing::TestWithParam<TmCase> {};

TEST_P(TransverseMercatorTest, AgreesWithProjWithinThreeDegreesOfTheMeridian) {
  const TmCase& c = GetParam();
  const Ellipsoid ellipsoid = EllipsoidOfDatumRow(c.datum_row);
  const TransverseMercatorParameters& p = c.parameters;
  test::ProjReference proj(test::TmercDefinition(
      p.scale_factor, p.false_northing, p.false_easting, p.origin_latitude, p.central_meridian,
      ellipsoid.semi_major_axis, ellipsoid.inverse_flattening));
  ASSERT_TRUE(proj.ok());
  EllipsoidCache cache;
  double worst = 0;
  for (double latitude = -75; latitude <= 75; latitude += 7.5) {
    for (double offset = -3; offset <= 3; offset += 0.75) {
      const LatLon position = {latitude, p.central_meridian + offset};
      const GridPoint ours = TransverseMercatorForward(cache, c.datum_row, p, position);
      const test::ProjXY theirs = proj.Forward(position.latitude, position.longitude);
      const double distance = std::hypot(ours.easting - theirs.x, ours.northing - theirs.y);
      worst = std::max(worst, distance);
      EXPECT_LT(distance, kProjToleranceMetres) << latitude << " " << offset;

      const LatLon back = TransverseMercatorInverse(cache, c.datum_row, p, ours);
      EXPECT_NEAR(back.latitude, position.latitude, kRoundTripToleranceDegrees);
      EXPECT_NEAR(back.longitude, position.longitude, kRoundTripToleranceDegrees);
    }
  }
  RecordProperty("worst_metres", std::to_string(worst));
}

INSTANTIATE_TEST_SUITE_P(Grids, TransverseMercatorTest, ::testing::ValuesIn(kCases));

TEST(TransverseMercatorFormulaTest, OriginMapsToFalseOrigin) {
  const EllipsoidShape shape = ShapeOf(kWgs84Ellipsoid);
  const TransverseMercatorParameters p = {0.9996, 123.0, 456.0, 0.0, 9.0};
  const GridPoint origin = TransverseMercatorForward(shape, p, {0.0, 9.0});
  EXPECT_DOUBLE_EQ(origin.northing, 123.0);
  EXPECT_DOUBLE_EQ(origin.easting, 456.0);
  const TransverseMercatorParameters irish = {1.000035, 250000, 200000, 53.5, -8};
  const GridPoint irish_origin =
      TransverseMercatorForward(ShapeOf(EllipsoidOfDatumRow(16)), irish, {53.5, -8});
  EXPECT_NEAR(irish_origin.northing, 250000.0, 1e-6);
  EXPECT_NEAR(irish_origin.easting, 200000.0, 1e-6);
}

TEST(TransverseMercatorFormulaTest, FarFromTheMeridianStillGivesNumbers) {
  const EllipsoidShape shape = ShapeOf(kWgs84Ellipsoid);
  const TransverseMercatorParameters p = {0.9996, 0, 500000, 0, 0};
  const GridPoint point = TransverseMercatorForward(shape, p, {10.0, 60.0});
  EXPECT_TRUE(std::isfinite(point.northing));
  EXPECT_TRUE(std::isfinite(point.easting));
}

}  // namespace
}  // namespace kv
