// Bounds from a centre, from points, and their limits.

#include "calibration/calibration_bounds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace kv {
namespace {

CalibrationRecord WithPoints(std::initializer_list<CalibrationPoint> points, int width,
                             int height) {
  CalibrationRecord record;
  record.width = width;
  record.height = height;
  record.points = CalibrationPoints{};
  std::size_t i = 0;
  for (const CalibrationPoint& point : points) (*record.points)[i++] = point;
  return record;
}

CalibrationPoint At(double latitude, double longitude, int x, int y) {
  CalibrationPoint point;
  point.latitude = latitude;
  point.longitude = longitude;
  point.pixel_x = point.adjusted_x = x;
  point.pixel_y = point.adjusted_y = y;
  return point;
}

TEST(BoundsConstants, PiAsSinglePrecision) {
  EXPECT_EQ(kBoundsPi, 3.1415927410125732);
  EXPECT_EQ(kBoundsTwoPi, 6.2831854820251465);
  EXPECT_NEAR(NauticalFromStatuteMiles(1.151), 1.0, 1e-15);
  EXPECT_NEAR(StatuteFromNauticalMiles(100), 115.1, 1e-12);
}

TEST(GreatCircleDistance, EqualPositionsAndOneDegree) {
  EXPECT_EQ(GreatCircleDistance(47, 9, 47, 9), 0.0);
  EXPECT_NEAR(GreatCircleDistance(0, 0, 1, 0), 60.0, 1e-9);
  EXPECT_NEAR(GreatCircleDistance(48, 10, 48, 8), 80.29, 0.01);
  // Nearly equal positions: the cosine rounds past 1 without a NaN.
  EXPECT_TRUE(std::isfinite(GreatCircleDistance(47.0, 9.0, 47.0, 9.0 + 1e-12)));
}

TEST(DestinationPoint, PositiveDistanceEastwardBearingMovesWest) {
  // The single-precision pi leaves cos(90 degrees) at about -4.4e-8, which
  // shows in the latitude.
  const LatLonDegrees west = DestinationPoint(60, 90, 0, 10);
  EXPECT_NEAR(west.latitude, -4.3709e-8, 1e-12);
  EXPECT_NEAR(west.longitude, 9.0, 1e-6);
  const LatLonDegrees north = DestinationPoint(60, 0, 10, 10);
  EXPECT_NEAR(north.latitude, 11.0, 1e-6);
  EXPECT_NEAR(north.longitude, 10.0, 1e-9);
}

TEST(CentreFromBounds, Example) {
  const CentreExtents centre = CentreFromBounds({48, 8, 46, 10});
  EXPECT_DOUBLE_EQ(centre.latitude, 47.0);
  EXPECT_DOUBLE_EQ(centre.longitude, 9.0);
  EXPECT_DOUBLE_EQ(centre.vertical, 120.0);
  EXPECT_NEAR(centre.horizontal, 80.3, 0.05);
}

TEST(BoundsFromCentre, Example) {
  const GeoBounds bounds = BoundsFromCentre({47, 9, 80.3, 120});
  EXPECT_DOUBLE_EQ(bounds.north, 48.0);
  EXPECT_DOUBLE_EQ(bounds.south, 46.0);
  EXPECT_NEAR(bounds.west, 8.0, 0.03);
  EXPECT_NEAR(bounds.east, 10.0, 0.03);
  EXPECT_NEAR(9.0 - bounds.west, bounds.east - 9.0, 1e-8);
}

TEST(BoundsFromPoints, TwoPointsSpanTheImage) {
  CalibrationRecord record = WithPoints({At(50, 10, 0, 0), At(49, 11, 1000, 800)}, 1000, 800);
  BoundsFromPoints(&record);
  EXPECT_DOUBLE_EQ(record.west, 10.0);
  EXPECT_DOUBLE_EQ(record.north, 50.0);
  EXPECT_DOUBLE_EQ(record.east, 11.0);
  EXPECT_DOUBLE_EQ(record.south, 49.0);
}

TEST(BoundsFromPoints, WidestPairSetsTheScale) {
  // The first and third points are farthest apart in x; the second point
  // would give another scale.
  CalibrationRecord record =
      WithPoints({At(50, 10, 0, 0), At(49.5, 10.6, 500, 400), At(49, 12, 1000, 800)}, 1000, 800);
  BoundsFromPoints(&record);
  EXPECT_DOUBLE_EQ(record.west, 10.0);
  EXPECT_DOUBLE_EQ(record.east, 12.0);
  EXPECT_DOUBLE_EQ(record.south, 49.0);
}

// Positions as an affine function of the pixel: a map turned by `turn`
// degrees, with twice the degrees of longitude as of latitude a pixel.
struct TurnedMap {
  double turn = 0.0;
  double degrees_per_pixel = 1.0 / 1024.0;

  CalibrationPoint PointAt(int x, int y) const {
    const double angle = turn * std::acos(-1.0) / 180.0;
    const double east = std::cos(angle) * x + std::sin(angle) * y;
    const double south = -std::sin(angle) * x + std::cos(angle) * y;
    return At(47.0 - degrees_per_pixel * south, 8.0 + 2.0 * degrees_per_pixel * east, x, y);
  }
};

TEST(BoundsFromPoints, TheBoundsHoldTheWholeTurnedImage) {
  const int width = 1000;
  const int height = 800;
  for (const double turn : {0.0, 3.0, -20.0, 90.0, 180.0}) {
    SCOPED_TRACE(turn);
    const TurnedMap map{turn};
    CalibrationRecord record =
        WithPoints({map.PointAt(30, 40), map.PointAt(950, 60), map.PointAt(500, 420),
                    map.PointAt(80, 760), map.PointAt(900, 700)},
                   width, height);
    BoundsFromPoints(&record);
    double north = -90, south = 90, west = 180, east = -180;
    for (const auto& [x, y] : {std::pair{0, 0}, {width, 0}, {0, height}, {width, height}}) {
      const CalibrationPoint corner = map.PointAt(x, y);
      north = std::max(north, corner.latitude);
      south = std::min(south, corner.latitude);
      west = std::min(west, corner.longitude);
      east = std::max(east, corner.longitude);
    }
    EXPECT_NEAR(record.north, north, 1e-9);
    EXPECT_NEAR(record.south, south, 1e-9);
    EXPECT_NEAR(record.west, west, 1e-9);
    EXPECT_NEAR(record.east, east, 1e-9);
    if (turn == 0.0) {
      // North up: the farthest points' bounds, exactly as they have always
      // been (the scales are powers of two, so nothing is rounded).
      EXPECT_EQ(record.north, north);
      EXPECT_EQ(record.south, south);
      EXPECT_EQ(record.west, west);
      EXPECT_EQ(record.east, east);
    }
  }
}

TEST(BoundsFromPoints, OnePointClearsAndLimitsWiden) {
  CalibrationRecord record = WithPoints({At(50, 10, 0, 0)}, 1000, 800);
  record.north = 5;
  BoundsFromPoints(&record);
  EXPECT_EQ(record.north, 0.0);
  EXPECT_EQ(record.west, 0.0);
  LimitBounds(&record);
  EXPECT_EQ(record.north, 1.0);
  EXPECT_EQ(record.west, -1.0);
  EXPECT_EQ(record.south, 0.0);
  EXPECT_EQ(record.east, 0.0);
}

TEST(BoundsFromPoints, DegeneratePairsGiveFiniteBounds) {
  // Same longitude: an infinite scale collapses the bound onto the point.
  CalibrationRecord record = WithPoints({At(50, 10, 0, 0), At(49, 10, 1000, 800)}, 1000, 800);
  BoundsFromPoints(&record);
  EXPECT_EQ(record.west, 10.0);
  EXPECT_EQ(record.east, 10.0);
  LimitBounds(&record);
  EXPECT_EQ(record.west, 9.0);
  // Same pixel x (0 / 0 in the scale) must not give NaN.
  record = WithPoints({At(50, 10, 5, 0), At(49, 11, 5, 800)}, 1000, 800);
  BoundsFromPoints(&record);
  EXPECT_TRUE(std::isfinite(record.west) && std::isfinite(record.east));
  EXPECT_EQ(record.west, 10.0);
}

TEST(LimitBounds, Ranges) {
  struct Row {
    GeoBounds in;
    GeoBounds out;
  };
  const Row rows[] = {
      {{95, 8, -95, 10}, {90, 8, -90, 10}}, {{48, 175, 46, 170}, {48, -180, 46, 180}},
      {{46, 8, 48, 10}, {90, 8, -90, 10}},  {{48, 200, 46, -200}, {48, -180, 46, 180}},
      {{90, 8, 90, 10}, {90, 8, 89, 10}},   {{48, -180, 46, -180}, {48, -180, 46, -179}},
  };
  for (const Row& row : rows) {
    CalibrationRecord record;
    record.north = row.in.north;
    record.west = row.in.west;
    record.south = row.in.south;
    record.east = row.in.east;
    LimitBounds(&record);
    EXPECT_EQ(record.north, row.out.north);
    EXPECT_EQ(record.west, row.out.west);
    EXPECT_EQ(record.south, row.out.south);
    EXPECT_EQ(record.east, row.out.east);
  }
}

}  // namespace
}  // namespace kv
