// Chart reference points as calibration points.

#include "calibration/chart_calibration.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kv {
namespace {

TEST(CalibrateChart, FewPointsTakenInOrder) {
  const std::vector<ChartCalibrationPoint> references = {
      {0, 0, 50, 10}, {999.6, 0, 50, 11}, {0, 799.4, 49, 10}, {0, 0, 0, 0}, {NAN, 1, 2, 3}};
  CalibrationRecord record;
  ASSERT_TRUE(CalibrateChart(references, std::string("NAD83"), 1000, 800, &record));
  EXPECT_EQ(record.proj_mode, kCalibrationKnownPoints);
  EXPECT_EQ(record.datum_name, "NAD83");
  EXPECT_EQ(CountPositionedPoints(record), 3);
  EXPECT_EQ((*record.points)[1].pixel_x, 1000);
  EXPECT_EQ((*record.points)[1].adjusted_x, 1000);
  EXPECT_EQ((*record.points)[2].pixel_y, 799);
  EXPECT_DOUBLE_EQ(record.west, 10.0);
  EXPECT_DOUBLE_EQ(record.north, 50.0);
  EXPECT_DOUBLE_EQ(record.east, 11.0);
  EXPECT_NEAR(record.south, 49.0 - 1.0 / 799, 1e-12);
}

TEST(CalibrateChart, ManyPointsSpreadOverTheChart) {
  // A 5 x 5 grid of references; the nine chosen lie at the corners, the
  // centre and the edge middles.
  std::vector<ChartCalibrationPoint> references;
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 5; ++column) {
      references.push_back({column * 250.0, row * 200.0, 50 - row * 0.25, 10 + column * 0.25});
    }
  }
  CalibrationRecord record;
  ASSERT_TRUE(CalibrateChart(references, std::nullopt, 1001, 801, &record));
  EXPECT_FALSE(record.datum_name.has_value());
  ASSERT_EQ(CountPositionedPoints(record), 9);
  const int expected[9][2] = {{0, 0},   {1000, 0},  {0, 800}, {1000, 800}, {500, 400},
                              {500, 0}, {500, 800}, {0, 400}, {1000, 400}};
  for (std::size_t i = 0; i < 9; ++i) {
    EXPECT_EQ((*record.points)[i].pixel_x, expected[i][0]);
    EXPECT_EQ((*record.points)[i].pixel_y, expected[i][1]);
  }
  EXPECT_DOUBLE_EQ(record.west, 10.0);
  EXPECT_DOUBLE_EQ(record.north, 50.0);
}

// A chart without reference points used to come out "calibrated" at
// N1 W1 - N0 E0, in the Gulf of Guinea.
TEST(CalibrateChart, FewerThanTwoPointsCalibrateNothing) {
  const std::vector<std::vector<ChartCalibrationPoint>> cases = {
      {}, {{5.0, 5.0, 47.0, 8.0}}, {{5.0, 5.0, 47.0, 8.0}, {6.0, 6.0, 0.0, 0.0}}};
  for (const auto& references : cases) {
    CalibrationRecord record;
    EXPECT_FALSE(CalibrateChart(references, std::string("NAD83"), 10, 10, &record));
    EXPECT_EQ(CountPositionedPoints(record), 0);
    EXPECT_EQ(record.north, 0.0);
    EXPECT_EQ(record.west, 0.0);
    EXPECT_EQ(record.proj_mode, CalibrationRecord{}.proj_mode);
  }
}

}  // namespace
}  // namespace kv
