// The calibration panel's table of points and the residual figures it
// shows, against what `kvmap calibration --json` reports for the same
// points.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "calibration_editor_fixture.h"
#include "cli/kvmap_runner.h"

namespace kv::testing {
namespace {

using enum CalibrationField;
using enum CalibrationMode;

struct TruePoint {
  int degrees_north;
  int minutes_north;
  int degrees_east;
  int minutes_east;
};

// A 200 x 150 image from 48 N 7 E to 46 N 10 E.
constexpr TruePoint kNinePoints[] = {
    {47, 54, 7, 6},  {47, 54, 9, 48}, {46, 6, 7, 12},  {46, 12, 9, 54}, {47, 0, 8, 30},
    {47, 30, 7, 45}, {46, 30, 9, 0},  {47, 42, 8, 42}, {46, 48, 8, 0},
};
constexpr int kMistyped = 8;  // its latitude typed ten degrees south

double Latitude(const TruePoint& point) { return point.degrees_north + point.minutes_north / 60.0; }
double Longitude(const TruePoint& point) { return point.degrees_east + point.minutes_east / 60.0; }
int PixelX(const TruePoint& point) {
  return static_cast<int>(std::lround((Longitude(point) - 7.0) / 3.0 * 200.0));
}
int PixelY(const TruePoint& point) {
  return static_cast<int>(std::lround((48.0 - Latitude(point)) / 2.0 * 150.0));
}
int TypedDegreesNorth(int slot, const TruePoint& point) {
  return point.degrees_north - (slot == kMistyped ? 10 : 0);
}

class CalibrationPointTableTest : public CalibrationEditorTest {
 protected:
  // The points typed into the panel as a user does, in degrees and minutes.
  void TypePoints(CalibrationEditor& editor, int count) {
    ASSERT_TRUE(editor.SelectKind(2));
    for (int slot = 0; slot < count; ++slot) {
      const TruePoint& point = kNinePoints[slot];
      ASSERT_EQ(editor.current_point(), slot);
      editor.EditText(kPixelX, std::to_string(PixelX(point)));
      editor.EditText(kPixelY, std::to_string(PixelY(point)));
      char latitude[32];
      char longitude[32];
      std::snprintf(latitude, sizeof latitude, "N%d %d", TypedDegreesNorth(slot, point),
                    point.minutes_north);
      std::snprintf(longitude, sizeof longitude, "E%d %d", point.degrees_east, point.minutes_east);
      editor.EditText(kPointLatitude, latitude);
      editor.EditText(kPointLongitude, longitude);
      if (slot + 1 < count) editor.NextPoint();
    }
  }

  // The same points as a .kvm text, in decimal degrees.
  std::string KvmOf(int count) {
    std::string text;
    char line[160];
    for (int slot = 0; slot < count; ++slot) {
      const TruePoint& point = kNinePoints[slot];
      const double latitude = TypedDegreesNorth(slot, point) + point.minutes_north / 60.0;
      std::snprintf(line, sizeof line, "c%d_lat=7=%.10f\nc%d_lon=7=%.10f\nc%d_x=7=%d\nc%d_y=7=%d\n",
                    slot + 1, latitude, slot + 1, Longitude(point), slot + 1, PixelX(point),
                    slot + 1, PixelY(point));
      text += line;
    }
    return text;
  }
};

TEST_F(CalibrationPointTableTest, ThePanelsResidualsAreThoseKvmapReportsForTheSamePoints) {
  for (int count : {9, 5}) {
    SCOPED_TRACE(count);
    Import("");
    CalibrationEditor& editor = Open();
    TypePoints(editor, count);
    const std::optional<CalibrationResiduals> panel = editor.Residuals();
    ASSERT_TRUE(panel);
    ASSERT_EQ(panel->status, ResidualStatus::kOk);
    const std::vector<PointTableRow> table = editor.PointTable();
    ASSERT_EQ(table.size(), static_cast<std::size_t>(count));

    const std::string kvm = WriteText("points.kvm", KvmOf(count));
    const KvmapResult run = RunKvmap("calibration '" + kvm + "' --size 200x150 --json", Folder());
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const nlohmann::json json = nlohmann::json::parse(run.out);
    ASSERT_EQ(json["residuals"].size(), static_cast<std::size_t>(count));
    for (int slot = 0; slot < count; ++slot) {
      SCOPED_TRACE(slot + 1);
      const nlohmann::json& row = json["residuals"][slot];
      ASSERT_EQ(row["point"].get<int>(), slot + 1);
      EXPECT_NEAR(*table[slot].residual_pixels, row["pixels"].get<double>(), 1e-6);
      EXPECT_NEAR(*table[slot].residual_metres, row["metres"].get<double>(), 1e-3);
      // Only the mistyped point is marked.
      EXPECT_EQ(table[slot].suspect, slot == kMistyped);
      EXPECT_EQ(row["outlier"].get<bool>(), table[slot].suspect);
    }
    EXPECT_NEAR(panel->rms_pixels, json["rms_pixels"].get<double>(), 1e-6);
    document_ = std::make_unique<CDocument>(app_, ui_, true);
  }
}

TEST_F(CalibrationPointTableTest, FourCorrectPointsAreNotMarkedFiveWithATypoMarkOnlyIt) {
  Import("");
  // Points 1 to 4 correct: a leave-one-out fit of three points has nothing
  // to be measured against.
  std::vector<CalibrationPoint> points;
  for (int slot = 0; slot < 4; ++slot) {
    const TruePoint& point = kNinePoints[slot];
    points.push_back(Point(Latitude(point), Longitude(point), PixelX(point), PixelY(point)));
  }
  SetPoints(points);
  CalibrationEditor& four = Open();
  for (const PointTableRow& row : four.PointTable()) EXPECT_FALSE(row.suspect) << row.index;
  // A fifth, with its latitude ten degrees off.
  const TruePoint& typo = kNinePoints[kMistyped];
  points.push_back(Point(Latitude(typo) - 10.0, Longitude(typo), PixelX(typo), PixelY(typo)));
  SetPoints(points);
  CalibrationEditor& five = Open();
  const std::vector<PointTableRow> table = five.PointTable();
  ASSERT_EQ(table.size(), 5u);
  for (const PointTableRow& row : table) EXPECT_EQ(row.suspect, row.index == 4) << row.index;
}

TEST_F(CalibrationPointTableTest, TheTableFollowsEveryEditAndARowChoosesThePoint) {
  Import("");
  std::vector<CalibrationPoint> points;
  for (int slot = 0; slot < 5; ++slot) {
    const TruePoint& point = kNinePoints[slot];
    points.push_back(Point(Latitude(point), Longitude(point), PixelX(point), PixelY(point)));
  }
  SetPoints(points);
  CalibrationEditor& editor = Open();
  ASSERT_EQ(editor.current_point(), 0);
  std::vector<PointTableRow> table = editor.PointTable();
  ASSERT_EQ(table.size(), 5u);
  EXPECT_EQ(table[0].latitude, "N47 54.000000");
  EXPECT_EQ(table[0].longitude, "E7 06.000000");
  EXPECT_EQ(table[1].pixel_x, std::to_string(PixelX(kNinePoints[1])));

  // Typed, not yet stored: the row shows it at once, and its residual.
  editor.EditText(kPointLatitude, "N37 54");
  table = editor.PointTable();
  EXPECT_EQ(table[0].latitude, "N37 54.000000");
  EXPECT_TRUE(table[0].suspect);
  editor.EditText(kPointLatitude, "N47 54");
  editor.EditText(kPixelX, "3");
  table = editor.PointTable();
  EXPECT_EQ(table[0].pixel_x, "3");
  EXPECT_FALSE(table[0].suspect);
  // Half typed: the row keeps the position it had.
  editor.EditText(kPointLatitude, "N");
  EXPECT_EQ(editor.PointTable()[0].latitude, "N47 54.000000");
  editor.EditText(kPointLatitude, "N47 54");

  // The third row: point 3 becomes current, the view centres on it.
  view_.calls.clear();
  editor.SelectPoint(2);
  EXPECT_EQ(editor.current_point(), 2);
  EXPECT_EQ(editor.Text(kPointNumber), "3");
  EXPECT_EQ(point(0).pixel_x, 3);  // point 1 stored on the way
  ASSERT_EQ(view_.Count("centre"), 1);
  EXPECT_EQ(view_.calls.back().what, "centre");
  EXPECT_EQ(view_.calls.back().a, PixelX(kNinePoints[2]));
  EXPECT_EQ(view_.calls.back().b, PixelY(kNinePoints[2]));
}

TEST_F(CalibrationPointTableTest, AClickThatSetsNoPointSaysWhyInTheHelpLine) {
  Import(
      "kv_north=7=48\nkv_west=7=7\nkv_south=7=46\nkv_east=7=10\n"
      "c1_lat=7=47.9\nc1_lon=7=7.1\nc1_x=7=7\nc1_y=7=8\n");
  CalibrationEditor& editor = Open();
  ASSERT_EQ(editor.mode(), kPoints);
  ASSERT_FALSE(editor.pick());
  editor.ImageClicked(150, 100);
  EXPECT_EQ(editor.help_text(), "needs pick");
  // Near a point, the click chooses it and says nothing more.
  editor.FocusEntered(kKind);
  editor.ImageClicked(9, 9);
  EXPECT_NE(editor.help_text(), "needs pick");
  editor.SetPick(true);
  editor.ImageClicked(150, 100);
  EXPECT_EQ(point(0).pixel_x, 150);

  app_.calibration.points.reset();
  CalibrationEditor& corners = Open();
  ASSERT_EQ(corners.mode(), kCorners);
  corners.ImageClicked(150, 100);
  EXPECT_EQ(corners.help_text(), "needs points");
}

}  // namespace
}  // namespace kv::testing
