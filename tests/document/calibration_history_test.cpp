#include "document/calibration_history.h"

#include <gtest/gtest.h>

#include <functional>

#include "calibration_editor_fixture.h"
#include "document/calibration_point_list.h"
#include "geo/coordinate_systems.h"

namespace kv::testing {
namespace {

using enum CalibrationField;
using enum CalibrationMode;
using Change = CalibrationChange;

const char kBoundsOnly[] = "kv_north=7=47.5\nkv_west=7=8\nkv_south=7=47\nkv_east=7=9\n";

class CalibrationHistoryTest : public CalibrationEditorTest {
 protected:
  // Typed and then left, as the panel reports it.
  void Type(CalibrationField field, const std::string& text) {
    editor_->EditText(field, text);
    ASSERT_TRUE(editor_->FocusLeft(field));
  }
  // The editor on a new document whose image has `kvm` beside it.
  CalibrationEditor& OpenOn(const char* kvm, int system) {
    editor_.reset();
    document_ = std::make_unique<CDocument>(app_, ui_, true);
    Import(kvm);
    app_.import_state.world_file_system.system = system;
    return Open();
  }
};

struct ChangeCase {
  const char* name;
  const char* kvm;
  std::function<void(CalibrationEditor&, RecordingEditorPrompts&)> change;
  CalibrationChange expected;
};

TEST_F(CalibrationHistoryTest, EachChangeIsUndoneAndRedoneExactly) {
  const ChangeCase cases[] = {
      {"typed corner", kBoundsOnly,
       [](CalibrationEditor& e, RecordingEditorPrompts&) {
         e.EditText(kNorthWestLatitude, "N47 4");
         e.EditText(kNorthWestLatitude, "N47 40");
         ASSERT_TRUE(e.FocusLeft(kNorthWestLatitude));
       },
       Change::kTyping},
      {"typed pixel", kTwoPointKvm,
       [](CalibrationEditor& e, RecordingEditorPrompts&) {
         e.EditText(kPixelX, "120");
         e.NextPoint();  // stores the point
       },
       Change::kTyping},
      {"picked pixel", kTwoPointKvm,
       [](CalibrationEditor& e, RecordingEditorPrompts&) { e.ImageClicked(20, 30); },
       Change::kPointPosition},
      {"dragged point", kTwoPointKvm,
       [](CalibrationEditor& e, RecordingEditorPrompts&) { e.PointDragged(1, 150, 140); },
       Change::kPointPosition},
      {"deleted point", kTwoPointKvm,
       [](CalibrationEditor& e, RecordingEditorPrompts&) { e.DeleteCurrentPoint(); },
       Change::kPointDeleted},
      {"corners to centre", kBoundsOnly,
       [](CalibrationEditor& e, RecordingEditorPrompts&) { ASSERT_TRUE(e.SelectMode(kCentre)); },
       Change::kMode},
      {"points dropped for corners", kTwoPointKvm,
       [](CalibrationEditor& e, RecordingEditorPrompts& prompts) {
         prompts.answers.push_back(true);
         ASSERT_TRUE(e.SelectMode(kCorners));
       },
       Change::kMode},
      {"kind", kBoundsOnly,
       [](CalibrationEditor& e, RecordingEditorPrompts&) { ASSERT_TRUE(e.SelectKind(1)); },
       Change::kKind},
      {"system", kTwoPointKvm,
       [](CalibrationEditor& e, RecordingEditorPrompts&) {
         ASSERT_TRUE(e.SelectSystem(kSystemUtm));
       },
       Change::kSystem},
      {"datum", kBoundsOnly,
       [](CalibrationEditor& e, RecordingEditorPrompts&) { e.SelectDatum(5); }, Change::kDatum},
      {"projection", kTwoPointKvm,
       [](CalibrationEditor& e, RecordingEditorPrompts&) { e.SelectProjection(2); },
       Change::kProjection},
  };
  for (const ChangeCase& c : cases) {
    SCOPED_TRACE(c.name);
    CalibrationEditor& editor = OpenOn(c.kvm, kSystemDegreesMinutes);
    editor.SetPick(true);
    EXPECT_FALSE(editor.CanUndo());
    // The projection case's first step, the kind, is no part of the check.
    if (c.expected == Change::kProjection) {
      ASSERT_TRUE(editor.SelectKind(1));
    }
    const CalibrationEditorState before = editor.State();
    c.change(editor, prompts_);
    const CalibrationEditorState after = editor.State();
    ASSERT_FALSE(SameEdits(before, after));
    ASSERT_EQ(editor.UndoChange(), c.expected);
    const int repaints = view_.Count("repaint");
    editor.Undo();
    EXPECT_TRUE(editor.State() == before);
    EXPECT_GT(view_.Count("repaint"), repaints);  // the view's marks follow
    ASSERT_EQ(editor.RedoChange(), c.expected);
    editor.Redo();
    EXPECT_TRUE(editor.State() == after);
    EXPECT_FALSE(editor.CanRedo());
  }
}

TEST_F(CalibrationHistoryTest, UndoRestoresTheRecordTheImageAndEveryField) {
  CalibrationEditor& editor = OpenOn(kTwoPointKvm, kSystemDecimalDegrees);
  const CalibrationRecord opened = app_.calibration;
  const std::string north_text = image().corner_text(kTopLeftLatitude);
  prompts_.answers.push_back(true);
  ASSERT_TRUE(editor.SelectMode(kCorners));
  ASSERT_FALSE(IsSetPoint(point(0)));
  const std::string filled = editor.Text(kNorthWestLatitude);
  Type(kNorthWestLatitude, "N47.6");
  const std::string typed = editor.Text(kNorthWestLatitude);
  ASSERT_TRUE(editor.SelectSystem(kSystemDegreesMinutes));
  EXPECT_EQ(editor.Text(kNorthWestLatitude), "N47 36.000000");
  EXPECT_NE(image().corner_text(kTopLeftLatitude), north_text);

  editor.Undo();
  EXPECT_EQ(app_.import_state.world_file_system.system, kSystemDecimalDegrees);
  EXPECT_EQ(editor.Text(kNorthWestLatitude), typed);
  EXPECT_EQ(editor.UndoChange(), Change::kTyping);
  editor.Undo();
  EXPECT_EQ(editor.Text(kNorthWestLatitude), filled);
  editor.Undo();
  EXPECT_EQ(editor.mode(), kPoints);
  EXPECT_EQ(editor.Text(kPixelX), "100");
  EXPECT_EQ(app_.calibration, opened);
  EXPECT_EQ(image().corner_text(kTopLeftLatitude), north_text);
  EXPECT_FALSE(editor.modified());
  EXPECT_FALSE(editor.CanUndo());
}

TEST_F(CalibrationHistoryTest, TypingIsOneStepAndAnUnchangedFieldNone) {
  CalibrationEditor& editor = OpenOn(kBoundsOnly, kSystemDegreesMinutes);
  const std::string shown = editor.Text(kSouthEastLongitude);
  // Typed but not left: undone as one, with nothing to redo meanwhile.
  editor.EditText(kSouthEastLongitude, "E9 1");
  editor.EditText(kSouthEastLongitude, "E9 10");
  EXPECT_TRUE(editor.CanUndo());
  EXPECT_EQ(editor.UndoChange(), Change::kTyping);
  editor.Undo();
  EXPECT_EQ(editor.Text(kSouthEastLongitude), shown);
  EXPECT_FALSE(editor.CanUndo());
  editor.Redo();
  EXPECT_EQ(editor.Text(kSouthEastLongitude), "E9 10");
  // Typed back to what the field held: no step.
  editor.Undo();
  editor.EditText(kSouthEastLongitude, "E");
  editor.EditText(kSouthEastLongitude, shown);
  ASSERT_TRUE(editor.FocusLeft(kSouthEastLongitude));
  EXPECT_FALSE(editor.CanUndo());
  // Moving between points only shows the edits: no step.
  OpenOn(kTwoPointKvm, kSystemDegreesMinutes).NextPoint();
  EXPECT_FALSE(editor_->CanUndo());
}

TEST_F(CalibrationHistoryTest, AChangeAfterUndoDropsRedoAndApplyStartsAgain) {
  CalibrationEditor& editor = OpenOn(kTwoPointKvm, kSystemDegreesMinutes);
  int recorded = 0;
  int started = 0;
  editor.SetHistoryObserver({[&](CalibrationChange) { ++recorded; }, [&] { ++started; }});
  const CalibrationEditorState opened = editor.State();
  editor.DeleteCurrentPoint();
  editor.SetPick(true);
  editor.ImageClicked(10, 10);
  editor.Undo();
  EXPECT_TRUE(editor.CanRedo());
  Type(kPixelY, "77");
  EXPECT_FALSE(editor.CanRedo());
  EXPECT_EQ(recorded, 3);
  editor.Undo();
  editor.Undo();
  EXPECT_TRUE(editor.State() == opened);
  EXPECT_FALSE(editor.CanUndo());

  editor.Redo();
  ASSERT_EQ(editor.Apply(), 0);
  EXPECT_EQ(started, 1);
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_FALSE(editor.CanRedo());
  // A refused apply keeps the history.
  prompts_.answers.push_back(true);
  ASSERT_TRUE(editor.SelectMode(kCorners));
  Type(kNorthWestLatitude, "S47 30");
  EXPECT_EQ(editor.Apply(), -1);
  EXPECT_EQ(editor.UndoChange(), Change::kTyping);
  // So does an import while the dialog is open.
  editor.Refresh();
  EXPECT_EQ(started, 2);
  EXPECT_FALSE(editor.CanUndo());
}

TEST(CalibrationHistoryLimit, TheOldestStepsGoFirst) {
  CalibrationHistory history;
  CalibrationEditorState state;
  history.Start(state);
  for (int i = 1; i <= kCalibrationHistoryLimit + 5; ++i) {
    state.current_point = i;
    ASSERT_TRUE(history.Record(Change::kTyping, state));
  }
  int undone = 0;
  while (history.CanUndo()) {
    history.Undo();
    ++undone;
  }
  EXPECT_EQ(undone, kCalibrationHistoryLimit);
  EXPECT_EQ(history.Redo().current_point, 6);
}

}  // namespace
}  // namespace kv::testing
