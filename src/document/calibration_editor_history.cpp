// Undo and redo in the calibration dialog: every edit is taken whole after
// each change (CalibrationEditorState), and going back puts it back whole,
// the image view's points and the calibrated image's bound texts included.

#include <utility>

#include "document/application_state.h"
#include "document/calibration_editor.h"
#include "document/document.h"

namespace kv {

CalibrationEditor::Action::Action(CalibrationEditor* editor,
                                  std::optional<CalibrationChange> change)
    : editor_(editor), change_(change), outer_(editor->action_depth_ == 0) {
  if (outer_) editor_->CommitTyping();
  ++editor_->action_depth_;
}

CalibrationEditor::Action::~Action() {
  --editor_->action_depth_;
  if (!outer_) return;
  if (!change_) {
    editor_->history_.Amend(editor_->State());
    return;
  }
  if (editor_->history_.Record(*change_, editor_->State()) && editor_->history_observer_.recorded) {
    editor_->history_observer_.recorded(*change_);
  }
}

CalibrationEditorState CalibrationEditor::State() const {
  CalibrationEditorState state;
  static_cast<CalibrationPanelEdits&>(state) = panel_;
  state.record = record();
  state.system = system();
  if (const CImage* image = CalibratedImage()) {
    for (std::size_t i = 0; i < kCornerTextCount; ++i) {
      state.bound_texts[i] = image->corner_text(static_cast<CornerText>(i));
    }
  }
  return state;
}

void CalibrationEditor::Restore(const CalibrationEditorState& state) {
  panel_ = state;
  record() = state.record;
  context_.app.import_state.world_file_system.system = state.system;
  if (CImage* image = CalibratedImage()) {
    for (std::size_t i = 0; i < kCornerTextCount; ++i) {
      image->set_corner_text(static_cast<CornerText>(i), state.bound_texts[i]);
    }
    context_.document.image_list().Refresh(*image);
  }
  // Picking sets points only while their fields are shown.
  if (pick_ && !PointFieldsVisible()) SetPick(false);
  RepaintView();
  if (PointFieldsVisible()) ShowCurrentPointInView(follow());
}

void CalibrationEditor::StartHistory() {
  history_.Start(State());
  if (history_observer_.started) history_observer_.started();
}

bool CalibrationEditor::TypingPending() const { return history_.Differs(State()); }

void CalibrationEditor::CommitTyping() {
  if (action_depth_ > 0 || !TypingPending()) return;
  history_.Record(CalibrationChange::kTyping, State());
  if (history_observer_.recorded) history_observer_.recorded(CalibrationChange::kTyping);
}

bool CalibrationEditor::CanUndo() const { return history_.CanUndo() || TypingPending(); }

bool CalibrationEditor::CanRedo() const { return history_.CanRedo() && !TypingPending(); }

std::optional<CalibrationChange> CalibrationEditor::UndoChange() const {
  if (TypingPending()) return CalibrationChange::kTyping;
  if (!history_.CanUndo()) return std::nullopt;
  return history_.UndoChange();
}

std::optional<CalibrationChange> CalibrationEditor::RedoChange() const {
  if (!CanRedo()) return std::nullopt;
  return history_.RedoChange();
}

void CalibrationEditor::Undo() {
  CommitTyping();
  if (history_.CanUndo()) Restore(history_.Undo());
}

void CalibrationEditor::Redo() {
  if (CanRedo()) Restore(history_.Redo());
}

}  // namespace kv
