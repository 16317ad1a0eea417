#include "document/calibration_editor.h"

#include <gtest/gtest.h>

#include "calibration_editor_fixture.h"
#include "geo/coordinate_systems.h"

namespace kv::testing {
namespace {

using enum CalibrationField;
using enum CalibrationMode;

// Bounds 47.5N 8E to 47N 9E and no points.
const char kBoundsOnly[] = "kv_north=7=47.5\nkv_west=7=8\nkv_south=7=47\nkv_east=7=9\n";

TEST_F(CalibrationEditorTest, TheDialogOpensOnlyOnADocumentWithImages) {
  EXPECT_FALSE(CalibrationEditor::CanOpen(*document_));
  Import("");
  EXPECT_TRUE(CalibrationEditor::CanOpen(*document_));
}

TEST_F(CalibrationEditorTest, BoundsWithoutPointsOpenOnTheCornersInTheStoredNotation) {
  Import(kBoundsOnly);
  app_.import_state.world_file_system.system = kSystemDegreesMinutes;
  CalibrationEditor& editor = Open();
  EXPECT_EQ(editor.mode(), kCorners);
  EXPECT_EQ(editor.Selection(kKind), 0);
  EXPECT_EQ(editor.Text(kNorthWestLatitude), "N47 30.000000");
  EXPECT_EQ(editor.Text(kNorthWestLongitude), "E8 00.000000");
  EXPECT_EQ(editor.Text(kSouthEastLatitude), "N47 00.000000");
  EXPECT_EQ(editor.Text(kSouthEastLongitude), "E9 00.000000");
  EXPECT_TRUE(editor.IsVisible(kModeCorners));
  EXPECT_TRUE(editor.IsVisible(kNorthWestLatitude));
  EXPECT_FALSE(editor.IsVisible(kPixelX));
  EXPECT_FALSE(editor.IsVisible(kNorthWestZone));
  EXPECT_FALSE(editor.IsVisible(kDatum));
  EXPECT_FALSE(editor.modified());
  EXPECT_FALSE(editor.pick());
  // The cursor follows the unchecked pick box; nothing is highlighted.
  EXPECT_EQ(view_.Count("cursor"), 1);
  EXPECT_FALSE(view_.cursor);
  EXPECT_EQ(view_.Count("highlight"), 0);
}

TEST_F(CalibrationEditorTest, PointsOpenOnTheViewsHighlightedPointAndFollowShowsIt) {
  Import(kTwoPointKvm);
  app_.import_state.world_file_system.system = kSystemDecimalDegrees;
  app_.calibration_follow = true;
  view_.highlighted = 1;
  CalibrationEditor& editor = Open();
  EXPECT_EQ(editor.mode(), kPoints);
  EXPECT_EQ(editor.current_point(), 1);
  EXPECT_EQ(editor.Text(kPointNumber), "2");
  EXPECT_EQ(editor.Text(kPixelX), "199");
  EXPECT_EQ(editor.Text(kPixelY), "149");
  EXPECT_EQ(editor.Text(kPointLatitude), "N47.000000");
  EXPECT_EQ(editor.Text(kPointLongitude), "E9.000000");
  EXPECT_TRUE(editor.follow());
  ASSERT_EQ(view_.Count("highlight"), 1);
  EXPECT_EQ(view_.calls[0].what, "highlight");
  EXPECT_EQ(view_.calls[0].a, 199);
  EXPECT_EQ(view_.calls[0].c, 1);
  EXPECT_TRUE(view_.calls[0].flag);
  EXPECT_EQ(view_.Count("blink"), 1);
  EXPECT_TRUE(editor.IsEnabled(kPreviousPoint));
  EXPECT_TRUE(editor.IsEnabled(kNextPoint));
}

TEST_F(CalibrationEditorTest, WithoutFollowThePointIsNotBroughtIntoSight) {
  Import(kTwoPointKvm);
  app_.calibration_follow = false;
  Open();
  EXPECT_EQ(view_.Count("highlight"), 0);
  EXPECT_EQ(view_.Count("blink"), 0);
  editor_->SetFollow(true);
  EXPECT_TRUE(app_.calibration_follow);
  EXPECT_EQ(view_.Count("blink"), 1);
}

TEST_F(CalibrationEditorTest, TheRecordKindChoosesTheKindAndItsControls) {
  Import(kTwoPointKvm);
  struct Case {
    std::int32_t kind;
    int index;
  };
  for (const Case& c : {Case{8, 1}, Case{14, 2}, Case{9, 3}, Case{0, 0}, Case{128, 0}}) {
    app_.calibration.proj_mode = c.kind;
    CalibrationEditor& editor = Open();
    EXPECT_EQ(editor.Selection(kKind), c.index) << c.kind;
    EXPECT_EQ(editor.IsVisible(kDatum), c.index == 1) << c.kind;
    EXPECT_EQ(editor.IsVisible(kParameterValueFields[5]), c.index == 1) << c.kind;
    EXPECT_EQ(editor.IsVisible(kModePoints), c.index == 0) << c.kind;
    EXPECT_EQ(editor.IsVisible(kPixelX), c.index != 3) << c.kind;
    EXPECT_EQ(editor.IsVisible(kKnownPointsNote), c.index == 2) << c.kind;
    EXPECT_EQ(editor.IsVisible(kThreeByThreeNote), c.index == 3) << c.kind;
  }
  EXPECT_EQ(RecordKindOf(CalibrationKind::kKnownPoints), kCalibrationKnownPoints);
  EXPECT_EQ(KindOfRecord(kCalibrationThreeByThree), CalibrationKind::kThreeByThree);
}

TEST_F(CalibrationEditorTest, TheListsHoldTheKindsSystemsDatumsAndProjections) {
  Import("");
  CalibrationEditor& editor = Open();
  const std::vector<std::string> kinds = editor.ListTexts(kKind);
  ASSERT_EQ(kinds.size(), 4u);
  EXPECT_EQ(kinds[0], "Lat/Long (Rectangular)");
  EXPECT_EQ(kinds[3], "3x3 (TTQV)");
  const std::vector<std::string> systems = editor.ListTexts(kSystem);
  ASSERT_EQ(systems.size(), 29u);
  EXPECT_EQ(systems[0], "DD MM.mmmm");
  EXPECT_EQ(systems[4], "OSGB");
  EXPECT_EQ(systems[28], "Warschauer Pakt Zone 5");
  EXPECT_EQ(editor.ListTexts(kDatum).size(), 92u);
  EXPECT_EQ(editor.ListTexts(kProjection).size(), 9u);
  EXPECT_EQ(editor.Selection(kDatum), 0);
}

TEST_F(CalibrationEditorTest, ASystemWithItsOwnDatumFixesAndDisablesTheDatum) {
  Import(kBoundsOnly);
  app_.calibration.datum_name = "Potsdam";
  app_.import_state.world_file_system.system = kSystemDecimalDegrees;
  CalibrationEditor& editor = Open();
  EXPECT_TRUE(editor.IsEnabled(kDatum));
  EXPECT_EQ(editor.ListTexts(kDatum)[editor.Selection(kDatum)].find("Potsdam"), 0u);

  ASSERT_TRUE(editor.SelectSystem(kSystemOsgb));
  EXPECT_FALSE(editor.IsEnabled(kDatum));
  EXPECT_EQ(app_.calibration.datum_name, "OrdSrvyGrtBritn");
  ASSERT_TRUE(editor.SelectSystem(9));  // the German zone 3 grid, on Potsdam
  EXPECT_EQ(app_.calibration.datum_name, "Potsdam");
  editor.SelectDatum(0);  // refused while fixed
  EXPECT_NE(editor.Selection(kDatum), 0);
  ASSERT_TRUE(editor.SelectSystem(kSystemUtm));
  EXPECT_TRUE(editor.IsEnabled(kDatum));
}

TEST_F(CalibrationEditorTest, DeletingPointThreeOfFiveMovesTheLaterOnesDown) {
  Import(kBoundsOnly);
  SetPoints({Point(47.5, 8, 1, 1), Point(47.4, 8.2, 20, 20), Point(47.3, 8.4, 30, 30),
             Point(47.2, 8.6, 40, 40), Point(47.1, 8.8, 50, 50)});
  view_.highlighted = 2;
  CalibrationEditor& editor = Open();
  ASSERT_EQ(editor.current_point(), 2);
  const int repaints = view_.Count("repaint");
  editor.DeleteCurrentPoint();
  EXPECT_EQ(point(0).pixel_x, 1);
  EXPECT_EQ(point(1).pixel_x, 20);
  EXPECT_EQ(point(2).pixel_x, 40);
  EXPECT_EQ(point(2).latitude, 47.2);
  EXPECT_EQ(point(3).pixel_x, 50);
  EXPECT_EQ(point(4), CalibrationPoint{});
  EXPECT_EQ(editor.Text(kPixelX), "40");
  EXPECT_TRUE(editor.modified());
  EXPECT_GT(view_.Count("repaint"), repaints);
}

TEST_F(CalibrationEditorTest, AClickWithinEightPixelsSelectsAPointAndNineDoesNot) {
  Import(kTwoPointKvm);  // point 2 at (199, 149)
  CalibrationEditor& editor = Open();
  ASSERT_EQ(editor.current_point(), 0);
  editor.ImageClicked(199 + 9, 149);
  EXPECT_EQ(editor.current_point(), 0);
  editor.ImageClicked(199, 149 - 9);
  EXPECT_EQ(editor.current_point(), 0);
  editor.ImageClicked(199 + 8, 149);
  EXPECT_EQ(editor.current_point(), 1);
  EXPECT_EQ(editor.Text(kPixelX), "199");
  editor.ImageClicked(100 - 8, 50 + 8);
  EXPECT_EQ(editor.current_point(), 0);
  EXPECT_FALSE(editor.modified());
}

TEST_F(CalibrationEditorTest, SelectingByClickStoresTheChangedFieldsOfTheOldPoint) {
  Import(kTwoPointKvm);
  CalibrationEditor& editor = Open();
  editor.EditText(kPixelX, "90");
  editor.ImageClicked(195, 145);
  EXPECT_EQ(editor.current_point(), 1);
  EXPECT_EQ(point(0).pixel_x, 90);
  EXPECT_TRUE(editor.modified());
}

TEST_F(CalibrationEditorTest, WithPickAClickSetsTheCurrentPointsPixel) {
  Import(kTwoPointKvm);
  CalibrationEditor& editor = Open();
  editor.SetPick(true);
  EXPECT_TRUE(view_.cursor);
  editor.NextPoint();
  editor.NextPoint();  // point 3, empty
  editor.EditText(kPointLatitude, "N47 15");
  editor.EditText(kPointLongitude, "E8 30");
  editor.ImageClicked(120, 80);
  EXPECT_EQ(point(2).pixel_x, 120);
  EXPECT_EQ(point(2).pixel_y, 80);
  EXPECT_DOUBLE_EQ(point(2).latitude, 47.25);
  EXPECT_DOUBLE_EQ(point(2).longitude, 8.5);
  EXPECT_EQ(editor.Text(kPixelX), "120");
  EXPECT_EQ(editor.current_point(), 2);
  EXPECT_TRUE(editor.modified());
}

TEST_F(CalibrationEditorTest, NextAndPreviousStayWithinTheNinePoints) {
  Import(kTwoPointKvm);
  CalibrationEditor& editor = Open();
  EXPECT_FALSE(editor.IsEnabled(kPreviousPoint));
  editor.PreviousPoint();
  EXPECT_EQ(editor.current_point(), 0);
  for (int i = 0; i < 12; ++i) editor.NextPoint();
  EXPECT_EQ(editor.current_point(), 8);
  EXPECT_EQ(editor.Text(kPointNumber), "9");
  EXPECT_FALSE(editor.IsEnabled(kNextPoint));
  EXPECT_TRUE(editor.IsEnabled(kPreviousPoint));
  EXPECT_EQ(editor.Text(kPixelX), "");
  // Moving over unchanged points changes nothing.
  EXPECT_FALSE(editor.modified());
}

TEST_F(CalibrationEditorTest, LeavingThePointsAsksAndNoKeepsThem) {
  Import(kTwoPointKvm);
  CalibrationEditor& editor = Open();
  prompts_.answers = {false};
  EXPECT_FALSE(editor.SelectMode(kCorners));
  EXPECT_EQ(prompts_.questions, std::vector<std::string>{"Calibration|drop points?"});
  EXPECT_EQ(editor.mode(), kPoints);
  EXPECT_EQ(point(1).pixel_x, 199);
  EXPECT_FALSE(editor.modified());

  prompts_.answers = {true};
  editor.SetPick(true);
  ASSERT_TRUE(editor.SelectMode(kCorners));
  EXPECT_EQ(editor.mode(), kCorners);
  for (const CalibrationPoint& p : *app_.calibration.points) EXPECT_EQ(p, CalibrationPoint{});
  EXPECT_FALSE(editor.pick());
  EXPECT_FALSE(view_.cursor);
  // The points' bounds became the corners: 99 pixels a degree east, 198
  // pixels a degree south.
  EXPECT_NEAR(app_.calibration.north, 47.5 + 50.0 / 198, 1e-9);
  EXPECT_NEAR(app_.calibration.west, 8 - 100.0 / 99, 1e-9);
  EXPECT_EQ(editor.Text(kNorthWestLatitude), "N47 45.151515");
  EXPECT_TRUE(editor.modified());
}

TEST_F(CalibrationEditorTest, EnteringThePointsFromBoundsMakesTheTwoCorners) {
  Import(kBoundsOnly);
  app_.import_state.world_file_system.system = kSystemDecimalDegrees;
  CalibrationEditor& editor = Open();
  ASSERT_EQ(editor.mode(), kCorners);
  ASSERT_TRUE(editor.SelectMode(kPoints));
  EXPECT_TRUE(prompts_.questions.empty());
  EXPECT_EQ(point(0), Point(47.5, 8, 0, 0));
  EXPECT_EQ(point(1), Point(47, 9, 200, 150));
  EXPECT_EQ(point(2), CalibrationPoint{});
  EXPECT_EQ(editor.Text(kPointLatitude), "N47.500000");
  EXPECT_TRUE(editor.IsVisible(kPixelX));
  EXPECT_FALSE(editor.IsVisible(kNorthWestLatitude));
}

TEST_F(CalibrationEditorTest, CornersAndCentreConvertIntoEachOther) {
  Import("kv_north=7=48\nkv_west=7=8\nkv_south=7=46\nkv_east=7=10\n");
  app_.import_state.world_file_system.system = kSystemDecimalDegrees;
  CalibrationEditor& editor = Open();
  ASSERT_TRUE(editor.SelectMode(kCentre));
  EXPECT_EQ(editor.Text(kCentreLatitude), "N47.000000");
  EXPECT_EQ(editor.Text(kCentreLongitude), "E9.000000");
  // 120 nautical miles of latitude, shown in statute miles.
  EXPECT_EQ(editor.Text(kVerticalExtent), "138.12000000");
  EXPECT_NEAR(std::stod(editor.Text(kHorizontalExtent)), 80.3 * 1.151, 0.1);
  ASSERT_TRUE(editor.SelectMode(kCorners));
  EXPECT_EQ(editor.Text(kNorthWestLatitude), "N48.000000");
  EXPECT_EQ(editor.Text(kSouthEastLatitude), "N46.000000");
}

TEST_F(CalibrationEditorTest, ValidationNamesTheFaultAndFocusesTheField) {
  Import(kBoundsOnly);
  app_.import_state.world_file_system.system = kSystemDecimalDegrees;
  CalibrationEditor& editor = Open();
  struct Case {
    CalibrationMode mode;
    CalibrationField field;
    std::string text;
    std::string message;
    CalibrationField focus;
  };
  const Case cases[] = {
      {kCorners, kNorthWestLatitude, "N95", "bad latitude", kNorthWestLatitude},
      {kCorners, kSouthEastLongitude, "E190", "bad longitude", kSouthEastLongitude},
      {kCorners, kNorthWestLongitude, "E9.5", "bad longitude",
       kNorthWestLongitude},                                                      // west of east
      {kCorners, kSouthEastLatitude, "N48", "bad latitude", kNorthWestLatitude},  // south of north
      {kCentre, kHorizontalExtent, "0", "bad scale", kHorizontalExtent},
      {kCentre, kHorizontalExtent, "-3", "bad scale", kHorizontalExtent},
      {kCentre, kCentreLatitude, "x", "bad centre", kCentreLatitude},
      {kCentre, kCentreLongitude, "W200", "bad centre", kCentreLongitude},
  };
  for (const Case& c : cases) {
    Open();
    if (c.mode == kCentre) {
      ASSERT_TRUE(editor_->SelectMode(kCentre));
    }
    prompts_.errors.clear();
    editor_->EditText(c.field, c.text);
    EXPECT_EQ(editor_->Apply(), -1) << c.text;
    EXPECT_EQ(prompts_.errors, std::vector<std::string>{"Calibration|" + c.message}) << c.text;
    EXPECT_EQ(editor_->TakeFocusRequest(), c.focus) << c.text;
    EXPECT_EQ(editor_->TakeFocusRequest(), kNone);
  }
  (void)editor;
}

TEST_F(CalibrationEditorTest, AnEmptyScaleLeavesTheBoundsAndAMissingVerticalOneTakesTheOther) {
  Import(kBoundsOnly);
  app_.import_state.world_file_system.system = kSystemDecimalDegrees;
  CalibrationEditor& editor = Open();
  ASSERT_TRUE(editor.SelectMode(kCentre));
  editor.EditText(kHorizontalExtent, "");
  ASSERT_EQ(editor.Apply(), 0);
  EXPECT_EQ(app_.calibration.north, 47.5);
  EXPECT_EQ(image().corner_text(kTopLeftLatitude), "N47.50000000");

  editor.EditText(kCentreLatitude, "N10");
  editor.EditText(kCentreLongitude, "E20");
  editor.EditText(kHorizontalExtent, "69.06");  // 60 nautical miles
  editor.EditText(kVerticalExtent, "");
  ASSERT_EQ(editor.Apply(), 0);
  EXPECT_NEAR(app_.calibration.north, 10.5, 1e-9);
  EXPECT_NEAR(app_.calibration.south, 9.5, 1e-9);
  EXPECT_NEAR(app_.calibration.west, 19.4923, 1e-3);
  EXPECT_NEAR(app_.calibration.east, 20.5077, 1e-3);
}

TEST_F(CalibrationEditorTest, ApplyStoresTheBoundsTextsAndCalibrationOfTheImage) {
  Import(kBoundsOnly);
  app_.import_state.world_file_system.system = kSystemDegreesMinutes;
  CalibrationEditor& editor = Open();
  EXPECT_EQ(editor.Apply(), 0);  // nothing pending
  EXPECT_FALSE(document_->container().IsModified());
  editor.EditText(kNorthWestLatitude, "N47 45");
  editor.EditText(kSouthEastLongitude, "E9 30");
  ASSERT_EQ(editor.Apply(), 0);
  EXPECT_EQ(app_.calibration.north, 47.75);
  EXPECT_EQ(app_.calibration.east, 9.5);
  EXPECT_EQ(image().corner_text(kTopLeftLatitude), "N47.75000000");
  EXPECT_EQ(image().corner_text(kBottomRightLongitude), "E9.50000000");
  EXPECT_NE(CalibrationText().find("kv_north=7=47.75"), std::string::npos) << CalibrationText();
  EXPECT_TRUE(document_->container().IsModified());
  EXPECT_FALSE(editor.modified());
}

TEST_F(CalibrationEditorTest, CloseWithPendingValidChangesAppliesThemFirst) {
  Import(kBoundsOnly);
  app_.import_state.world_file_system.system = kSystemDecimalDegrees;
  CalibrationEditor& editor = Open();
  editor.EditText(kNorthWestLatitude, "N47.6");
  ASSERT_EQ(editor.PrepareClose(true), 0);
  EXPECT_EQ(app_.calibration.north, 47.6);
  EXPECT_EQ(image().corner_text(kTopLeftLatitude), "N47.60000000");
  EXPECT_TRUE(document_->container().IsModified());

  Open();
  editor_->EditText(kNorthWestLatitude, "N91");
  EXPECT_EQ(editor_->PrepareClose(true), -1);
  EXPECT_EQ(app_.calibration.north, 47.6);
  // Closing without validation never applies.
  EXPECT_EQ(editor_->PrepareClose(false), 0);
  editor_->Closed(false);
  EXPECT_FALSE(view_.has_handler);
  EXPECT_FALSE(view_.cursor);
}

TEST_F(CalibrationEditorTest, ClosingWithValidationTellsTheDocument) {
  Import(kBoundsOnly);
  ui_.previewer_mode = PreviewerMode::kCalibrate;
  CalibrationEditor& editor = Open();
  ASSERT_EQ(editor.PrepareClose(true), 0);
  editor.Closed(true);
  EXPECT_EQ(ui_.previewer_mode, PreviewerMode::kView);
  EXPECT_TRUE(document_->container().IsModified());
}

TEST_F(CalibrationEditorTest, ACoordinateLosingTheFocusIsRewrittenOrRefused) {
  Import(kBoundsOnly);
  app_.import_state.world_file_system.system = kSystemDegreesMinutesSeconds;
  CalibrationEditor& editor = Open();
  editor.EditText(kNorthWestLatitude, "47.5");
  EXPECT_TRUE(editor.FocusLeft(kNorthWestLatitude));
  EXPECT_EQ(editor.Text(kNorthWestLatitude), "N47 30 00.0000");
  editor.EditText(kSouthEastLongitude, "w8.25");
  EXPECT_TRUE(editor.FocusLeft(kSouthEastLongitude));
  EXPECT_EQ(editor.Text(kSouthEastLongitude), "W8 15 00.0000");
  editor.EditText(kNorthWestLongitude, "E181");
  EXPECT_FALSE(editor.FocusLeft(kNorthWestLongitude));
  EXPECT_EQ(prompts_.errors, std::vector<std::string>{"Calibration|bad longitude"});
  EXPECT_EQ(editor.TakeFocusRequest(), kNorthWestLongitude);
  EXPECT_EQ(editor.Text(kNorthWestLongitude), "E181");
  editor.EditText(kNorthWestLongitude, "");
  EXPECT_TRUE(editor.FocusLeft(kNorthWestLongitude));

  // The extents of the centre are no coordinates.
  editor.EditText(kNorthWestLongitude, "E8");
  editor.EditText(kSouthEastLongitude, "E9");
  ASSERT_TRUE(editor.SelectMode(kCentre));
  editor.EditText(kHorizontalExtent, "400");
  EXPECT_TRUE(editor.FocusLeft(kHorizontalExtent));
  EXPECT_EQ(editor.Text(kHorizontalExtent), "400");
}

TEST_F(CalibrationEditorTest, AGridWithoutZonesTakesMetresOnLeaving) {
  Import(kBoundsOnly);
  app_.import_state.world_file_system.system = 9;  // the German zone 3 grid
  CalibrationEditor& editor = Open();
  editor.EditText(kNorthWestLatitude, "5262000.04");
  EXPECT_TRUE(editor.FocusLeft(kNorthWestLatitude));
  EXPECT_EQ(editor.Text(kNorthWestLatitude), "5262000.0");
  editor.EditText(kNorthWestLongitude, "east");
  EXPECT_FALSE(editor.FocusLeft(kNorthWestLongitude));
  EXPECT_EQ(prompts_.errors, std::vector<std::string>{"Calibration|bad longitude"});
  EXPECT_EQ(editor.TakeFocusRequest(), kNorthWestLongitude);
}

TEST_F(CalibrationEditorTest, ZonedGridFieldsAreNotCheckedOnLeaving) {
  Import(kBoundsOnly);
  app_.import_state.world_file_system.system = kSystemUtm;
  CalibrationEditor& editor = Open();
  editor.EditText(kNorthWestLatitude, "anything");
  EXPECT_TRUE(editor.FocusLeft(kNorthWestLatitude));
  EXPECT_TRUE(prompts_.errors.empty());
}

// A zone without its band letter would silently be the southern
// hemisphere: every way out of the fields refuses it and explains zones.
TEST_F(CalibrationEditorTest, AZoneWithoutItsBandLetterIsRefused) {
  const std::string refused = "Calibration|zone help";
  for (const int system : {kSystemUtm, kSystemMga}) {
    SCOPED_TRACE(system);
    prompts_.errors.clear();
    document_ = std::make_unique<CDocument>(app_, ui_, true);
    Import(kTwoPointKvm);
    app_.import_state.world_file_system.system = system;
    CalibrationEditor& editor = Open();
    editor.EditText(kPointZone, "18");
    EXPECT_FALSE(editor.FocusLeft(kPointZone));
    EXPECT_EQ(editor.TakeFocusRequest(), kPointZone);
    EXPECT_EQ(editor.Apply(), -1);
    editor.NextPoint();
    EXPECT_EQ(editor.current_point(), 0);
    EXPECT_FALSE(editor.SelectSystem(kSystemDecimalDegrees));
    EXPECT_EQ(prompts_.errors, std::vector<std::string>(4, refused));
    editor.EditText(kPointZone, "18T");
    EXPECT_TRUE(editor.FocusLeft(kPointZone));
    EXPECT_EQ(editor.Apply(), 0);
    EXPECT_GT(point(0).latitude, 0.0);
  }
  // Corners mode: the south-east zone too.
  prompts_.errors.clear();
  document_ = std::make_unique<CDocument>(app_, ui_, true);
  Import(kBoundsOnly);
  app_.import_state.world_file_system.system = kSystemUtm;
  CalibrationEditor& editor = Open();
  editor.EditText(kSouthEastZone, "32 t");
  EXPECT_EQ(editor.Apply(), -1);
  EXPECT_EQ(editor.TakeFocusRequest(), kSouthEastZone);
  EXPECT_EQ(prompts_.errors, std::vector<std::string>{refused});
}

TEST_F(CalibrationEditorTest, ChangingTheSystemStoresTheFieldsAndRefillsThemInTheNewOne) {
  Import(kTwoPointKvm);
  app_.import_state.world_file_system.system = kSystemDecimalDegrees;
  CalibrationEditor& editor = Open();
  editor.EditText(kPointLatitude, "N47.25");
  ASSERT_TRUE(editor.SelectSystem(kSystemUtm));
  EXPECT_EQ(app_.import_state.world_file_system.system, kSystemUtm);
  EXPECT_EQ(point(0).latitude, 47.25);
  EXPECT_EQ(editor.Text(kPointZone), "32T");
  EXPECT_TRUE(editor.IsVisible(kPointZone));
  const double northing = std::stod(editor.Text(kPointLatitude));
  EXPECT_NEAR(northing, 5235000, 5000);
  EXPECT_TRUE(editor.modified());
  // Typing the grid reference back gives the position.
  editor.EditText(kPointLatitude, editor.Text(kPointLatitude));
  ASSERT_TRUE(editor.SelectSystem(kSystemDecimalDegrees));
  EXPECT_EQ(editor.Text(kPointLatitude), "N47.250000");
  EXPECT_EQ(editor.Text(kPointLongitude), "E8.000000");
}

TEST_F(CalibrationEditorTest, AnInvalidFieldKeepsTheOldSystem) {
  Import(kBoundsOnly);
  app_.import_state.world_file_system.system = kSystemDecimalDegrees;
  CalibrationEditor& editor = Open();
  editor.EditText(kNorthWestLatitude, "N99");
  EXPECT_FALSE(editor.SelectSystem(kSystemUtm));
  EXPECT_EQ(editor.Selection(kSystem), kSystemDecimalDegrees);
  EXPECT_EQ(prompts_.errors.size(), 1u);
}

TEST_F(CalibrationEditorTest, CaptionsFollowTheModeAndTheZonedGrids) {
  Import(kBoundsOnly);
  app_.import_state.world_file_system.system = kSystemDecimalDegrees;
  CalibrationEditor& editor = Open();
  std::vector<CaptionString> captions = editor.Captions();
  ASSERT_EQ(captions.size(), 4u);
  EXPECT_EQ(captions[0].string, 2035u);
  EXPECT_EQ(captions[0].field, kNorthWestLatitude);
  ASSERT_TRUE(editor.SelectSystem(kSystemOsgb));
  EXPECT_EQ(editor.Captions()[0].string, 2058u);
  EXPECT_EQ(editor.Captions()[1].string, 2069u);
  EXPECT_TRUE(editor.IsVisible(kNorthWestZone));
  EXPECT_TRUE(editor.IsVisible(kSouthEastZone));
  ASSERT_TRUE(editor.SelectMode(kCentre));
  captions = editor.Captions();
  EXPECT_EQ(captions[0].string, 2072u);
  EXPECT_EQ(captions[0].field, kCentreLongitude);
  EXPECT_FALSE(editor.IsVisible(kSouthEastZone));
  ASSERT_TRUE(editor.SelectMode(kPoints));
  captions = editor.Captions();
  ASSERT_EQ(captions.size(), 2u);
  EXPECT_EQ(captions[0].string, 2077u);
  EXPECT_EQ(captions[1].string, 2076u);
}

TEST_F(CalibrationEditorTest, TheHelpLineNamesTheFocusedControl) {
  Import(kBoundsOnly);
  CalibrationEditor& editor = Open();
  editor.FocusEntered(kNorthWestLatitude);
  EXPECT_EQ(editor.Text(kHelpLine), "help NW lat");
  editor.FocusEntered(kSouthEastZone);
  EXPECT_EQ(editor.help_text(), "help SE zone");
  editor.FocusEntered(kSystem);  // no help text
  EXPECT_EQ(editor.help_text(), "");
  ASSERT_TRUE(editor.SelectMode(kCentre));
  editor.FocusEntered(kCentreLatitude);
  EXPECT_EQ(editor.help_text(), "centre lat");
  editor.FocusEntered(kSouthEastZone);
  EXPECT_EQ(editor.help_text(), "");
  ASSERT_TRUE(editor.SelectMode(kPoints));
  editor.FocusEntered(kPixelX);
  EXPECT_EQ(editor.help_text(), "help pixel x");
  editor.FocusEntered(kPointNumber);
  EXPECT_EQ(editor.help_text(), "help point number");
}

TEST_F(CalibrationEditorTest, TheProjectionFieldsComeFromAndGoToTheProjectionText) {
  Import(kTwoPointKvm);
  app_.import_state.world_file_system.system = kSystemDegreesMinutes;
  app_.calibration.proj_mode = kCalibrationProjection;
  app_.calibration.projparams = "proj=tmerc lat_0=0 lon_0=-9.5 k=0.9996 x_0=500000 ";
  CalibrationEditor& editor = Open();
  EXPECT_EQ(editor.Selection(kKind), 1);
  EXPECT_EQ(editor.Selection(kProjection), 4);
  EXPECT_EQ(editor.Text(kParameterKeyFields[0]), "lat_0");
  EXPECT_EQ(editor.Text(kParameterValueFields[0]), "N0 00.000000");
  EXPECT_EQ(editor.Text(kParameterKeyFields[1]), "lon_0");
  EXPECT_EQ(editor.Text(kParameterValueFields[1]), "W9 30.000000");
  EXPECT_EQ(editor.Text(kParameterValueFields[2]), "0.9996");
  EXPECT_EQ(editor.Text(kParameterValueFields[4]), "");  // y_0 not given

  editor.EditText(kParameterValueFields[0], "N47 30");
  editor.EditText(kParameterValueFields[4], "100");
  ASSERT_EQ(editor.Apply(), 0);
  EXPECT_EQ(app_.calibration.proj_mode, kCalibrationProjection);
  EXPECT_EQ(app_.calibration.projparams,
            "proj=tmerc lat_0=47.50000000 lon_0=-9.50000000 k=0.9996 x_0=500000 y_0=100 ");
  EXPECT_NE(CalibrationText().find("projparams=7=proj=tmerc"), std::string::npos);

  // Without a projection the kind falls back to the rectangular one.
  editor.SelectProjection(0);
  ASSERT_EQ(editor.Apply(), 0);
  EXPECT_EQ(app_.calibration.proj_mode, kCalibrationGeographic);
  EXPECT_FALSE(app_.calibration.projparams.has_value());
}

TEST_F(CalibrationEditorTest, ChangingTheSystemKeepsTheTypedProjectionInTheNewNotation) {
  Import(kTwoPointKvm);
  app_.import_state.world_file_system.system = kSystemDecimalDegrees;
  CalibrationEditor& editor = Open();
  ASSERT_TRUE(editor.SelectKind(1));
  editor.SelectProjection(4);
  editor.EditText(kParameterValueFields[1], "E9.5");
  editor.EditText(kParameterValueFields[2], "0.9996");
  ASSERT_TRUE(editor.SelectSystem(kSystemDegreesMinutes));
  EXPECT_EQ(editor.Selection(kProjection), 4);
  EXPECT_EQ(editor.Text(kParameterValueFields[1]), "E9 30.000000");
  EXPECT_EQ(editor.Text(kParameterValueFields[2]), "0.9996");
}

// Choosing another projection once emptied every value, and choosing the
// first one again did not bring them back.
TEST_F(CalibrationEditorTest, EachProjectionKeepsWhatWasTypedUntilApply) {
  Import(kTwoPointKvm);
  app_.import_state.world_file_system.system = kSystemDecimalDegrees;
  CalibrationEditor& editor = Open();
  ASSERT_TRUE(editor.SelectKind(1));
  constexpr int kTmerc = 4, kLcc = 2, kUtm = 6;
  editor.SelectProjection(kTmerc);
  editor.EditText(kParameterValueFields[1], "E9.5");
  editor.EditText(kParameterValueFields[2], "0.9996");
  editor.EditText(kParameterValueFields[3], "500000");
  editor.SelectProjection(kLcc);
  // The keys both offer carry their values over; the others start empty.
  const struct {
    int slot;
    const char* key;
    const char* value;
  } kLccFields[] = {{0, "lat_1", ""}, {3, "lon_0", "E9.5"}, {4, "x_0", "500000"}};
  for (const auto& field : kLccFields) {
    EXPECT_EQ(editor.Text(kParameterKeyFields[field.slot]), field.key);
    EXPECT_EQ(editor.Text(kParameterValueFields[field.slot]), field.value) << field.key;
  }
  editor.EditText(kParameterValueFields[0], "N45");
  editor.SelectProjection(kUtm);
  editor.EditText(kParameterValueFields[0], "32");
  // In another notation, the kept angles follow it.
  ASSERT_TRUE(editor.SelectSystem(kSystemDegreesMinutes));
  editor.SelectProjection(kTmerc);
  EXPECT_EQ(editor.Text(kParameterValueFields[1]), "E9 30.000000");
  EXPECT_EQ(editor.Text(kParameterValueFields[2]), "0.9996");
  EXPECT_EQ(editor.Text(kParameterValueFields[3]), "500000");
  editor.SelectProjection(kLcc);
  EXPECT_EQ(editor.Text(kParameterValueFields[0]), "N45 00.000000");
  editor.SelectProjection(kUtm);
  EXPECT_EQ(editor.Text(kParameterValueFields[0]), "32");
  ASSERT_EQ(editor.Apply(), 0);
  EXPECT_EQ(app_.calibration.projparams, "proj=utm zone=32 ");
  // Applied: what was typed for the others is gone.
  editor.SelectProjection(kTmerc);
  EXPECT_EQ(editor.Text(kParameterValueFields[1]), "");
}

TEST_F(CalibrationEditorTest, AChosenDatumIsStoredByItsCode) {
  Import(kTwoPointKvm);
  app_.import_state.world_file_system.system = kSystemDecimalDegrees;
  CalibrationEditor& editor = Open();
  ASSERT_TRUE(editor.SelectKind(1));
  editor.SelectDatum(34);
  ASSERT_EQ(editor.Apply(), 0);
  EXPECT_EQ(app_.calibration.datum_name, "OrdSrvyGrtBritn");
}

TEST_F(CalibrationEditorTest, AnotherKindThanRectangularWorksWithThePoints) {
  Import(kBoundsOnly);
  CalibrationEditor& editor = Open();
  ASSERT_TRUE(editor.SelectKind(2));
  EXPECT_EQ(editor.mode(), kPoints);
  EXPECT_EQ(point(1).pixel_x, 200);
  EXPECT_TRUE(editor.IsVisible(kKnownPointsNote));
  ASSERT_EQ(editor.Apply(), 0);
  EXPECT_EQ(app_.calibration.proj_mode, kCalibrationKnownPoints);
}

TEST_F(CalibrationEditorTest, RefreshShowsAnImportedRecordAndApplyWritesIt) {
  Import(kBoundsOnly);
  app_.import_state.world_file_system.system = kSystemDecimalDegrees;
  CalibrationEditor& editor = Open();
  app_.calibration.points.emplace();
  point(0) = Point(46, 7, 3, 4);
  editor.Refresh();
  EXPECT_EQ(editor.mode(), kPoints);
  EXPECT_EQ(editor.Text(kPointLatitude), "N46.000000");
  EXPECT_TRUE(editor.modified());
  ASSERT_EQ(editor.Apply(), 0);
  EXPECT_NE(CalibrationText().find("c1_lat=7=46"), std::string::npos) << CalibrationText();
}

TEST_F(CalibrationEditorTest, ThreeOrMorePointsShowTheirResidualsAndAMistypedOneStandsOut) {
  Import(kBoundsOnly);
  // 200 pixels a degree east, 300 a degree south; point 5's latitude is
  // 0.1 degree off, 30 pixels.
  SetPoints({Point(47.5, 8, 0, 0), Point(47, 9, 200, 150), Point(47.5, 9, 200, 0),
             Point(47, 8, 0, 150), Point(47.35, 8.5, 100, 75)});
  CalibrationEditor& editor = Open();
  ASSERT_EQ(editor.mode(), kPoints);
  std::optional<CalibrationResiduals> residuals = editor.Residuals();
  ASSERT_TRUE(residuals);
  ASSERT_EQ(residuals->status, ResidualStatus::kOk);
  ASSERT_EQ(residuals->points.size(), 5u);
  EXPECT_TRUE(residuals->points[4].outlier);
  EXPECT_FALSE(residuals->points[0].outlier);
  EXPECT_GT(residuals->points[4].pixels, residuals->points[0].pixels);

  // Correcting the point in the fields clears the mark once it is stored.
  view_.highlighted = -1;
  for (int i = 0; i < 4; ++i) editor.NextPoint();
  editor.EditText(kPointLatitude, "N47 15");
  editor.PreviousPoint();
  residuals = editor.Residuals();
  ASSERT_TRUE(residuals);
  for (const PointResidual& point : residuals->points) EXPECT_FALSE(point.outlier);
  EXPECT_LT(residuals->rms_pixels, 1e-6);

  // Two points give none.
  for (int i = 0; i < 3; ++i) editor.PreviousPoint();
  ASSERT_EQ(editor.current_point(), 0);
  editor.DeleteCurrentPoint();
  editor.DeleteCurrentPoint();
  editor.DeleteCurrentPoint();
  EXPECT_FALSE(editor.Residuals());
}

TEST_F(CalibrationEditorTest, AnImageThatLeftTheDocumentIsNoLongerTouched) {
  Import(kBoundsOnly);
  CalibrationEditor& editor = Open();
  std::unique_ptr<CImage> removed = document_->container().RemoveImage(&image());
  ASSERT_TRUE(removed);
  removed.reset();
  editor.EditText(kNorthWestLatitude, "N47 45");
  EXPECT_EQ(editor.Apply(), 0);
  EXPECT_TRUE(editor.SelectMode(kCentre));
  EXPECT_EQ(editor.Text(kCentreLatitude), "");
}

TEST_F(CalibrationEditorTest, ThePointsGiveTheBoundsOnApply) {
  Import("");
  app_.import_state.world_file_system.system = kSystemDecimalDegrees;
  CalibrationEditor& editor = Open();
  ASSERT_TRUE(editor.SelectMode(kPoints));
  editor.EditText(kPixelX, "0");
  editor.EditText(kPixelY, "0");
  editor.EditText(kPointLatitude, "N50");
  editor.EditText(kPointLongitude, "E10");
  editor.NextPoint();
  editor.EditText(kPixelX, "200");
  editor.EditText(kPixelY, "150");
  editor.EditText(kPointLatitude, "N49");
  editor.EditText(kPointLongitude, "E11");
  ASSERT_EQ(editor.Apply(), 0);
  EXPECT_DOUBLE_EQ(app_.calibration.north, 50);
  EXPECT_DOUBLE_EQ(app_.calibration.west, 10);
  EXPECT_DOUBLE_EQ(app_.calibration.south, 49);
  EXPECT_DOUBLE_EQ(app_.calibration.east, 11);
  EXPECT_EQ(image().corner_text(kBottomRightLongitude), "E11.00000000");
}

// A position outside a system's area is shown in degrees there; switching
// back once read those degrees as grid metres and gave 0N 0E, which Apply
// then stored.
TEST_F(CalibrationEditorTest, APositionOutsideASystemsAreaSurvivesEverySwitchAndApply) {
  const struct {
    const char* where;
    GeoBounds bounds;                                         // north, west, south, east
  } kAreas[] = {{"South Pacific", {-45, -121, -46, -119.5}},  // outside every national grid
                {"near the pole", {88.5, 10, 87.5, 12}}};     // outside UTM too
  const int kStartSystems[] = {kSystemDegreesMinutes, kSystemDegreesMinutesSeconds,
                               kSystemDecimalDegrees};
  for (const auto& area : kAreas) {
    for (int mode = 0; mode < 3; ++mode) {
      SCOPED_TRACE(std::string(area.where) + ", mode " + std::to_string(mode));
      const GeoBounds& b = area.bounds;
      const auto number = [](double value) { return std::to_string(value); };
      std::string kvm = "kv_north=7=" + number(b.north) + "\nkv_west=7=" + number(b.west) +
                        "\nkv_south=7=" + number(b.south) + "\nkv_east=7=" + number(b.east) + "\n";
      if (mode == 2) {
        kvm += "c1_lat=7=" + number(b.north) + "\nc1_lon=7=" + number(b.west) +
               "\nc1_x=7=0\nc1_y=7=0\nc2_lat=7=" + number(b.south) +
               "\nc2_lon=7=" + number(b.east) + "\nc2_x=7=200\nc2_y=7=150\n";
      }
      document_ = std::make_unique<CDocument>(app_, ui_, true);
      Import(kvm);
      app_.import_state.world_file_system.system = kSystemDegreesMinutes;
      CalibrationEditor& editor = Open();
      ASSERT_TRUE(editor.SelectMode(static_cast<CalibrationMode>(mode)));
      const CalibrationField latitude = mode == 2   ? kPointLatitude
                                        : mode == 1 ? kCentreLatitude
                                                    : kNorthWestLatitude;
      const CalibrationField longitude = mode == 2   ? kPointLongitude
                                         : mode == 1 ? kCentreLongitude
                                                     : kNorthWestLongitude;
      for (int start : kStartSystems) {
        ASSERT_TRUE(editor.SelectSystem(start));
        const std::string shown_latitude = editor.Text(latitude);
        const std::string shown_longitude = editor.Text(longitude);
        for (int system = 0; system < kCoordinateSystemCount; ++system) {
          SCOPED_TRACE("system " + std::to_string(start) + " -> " + std::to_string(system));
          ASSERT_TRUE(editor.SelectSystem(system));
          // Leaving the untouched fields changes nothing, and Close applies
          // the position itself.
          EXPECT_TRUE(editor.FocusLeft(latitude));
          EXPECT_TRUE(editor.FocusLeft(longitude));
          ASSERT_EQ(editor.Apply(), 0);
          EXPECT_NEAR(app_.calibration.north, b.north, 1e-5);
          EXPECT_NEAR(app_.calibration.west, b.west, 1e-5);
          EXPECT_NEAR(app_.calibration.south, b.south, 1e-5);
          EXPECT_NEAR(app_.calibration.east, b.east, 1e-5);
          if (mode == 2) {
            EXPECT_DOUBLE_EQ(point(0).latitude, b.north);
            EXPECT_DOUBLE_EQ(point(0).longitude, b.west);
          }
          ASSERT_TRUE(editor.SelectSystem(start));
          EXPECT_EQ(editor.Text(latitude), shown_latitude);
          EXPECT_EQ(editor.Text(longitude), shown_longitude);
        }
      }
      EXPECT_TRUE(prompts_.errors.empty());
      ASSERT_TRUE(editor.SelectSystem(kSystemOsgb));
      EXPECT_EQ(editor.Text(latitude).substr(0, 4), b.north < 0 ? "S45." : "N88.");
    }
  }
}

}  // namespace
}  // namespace kv::testing
