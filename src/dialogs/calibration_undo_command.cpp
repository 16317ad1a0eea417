#include "dialogs/calibration_undo_command.h"

#include <utility>

namespace kv {

CalibrationUndoCommand::CalibrationUndoCommand(const QString& text, std::function<void()> back,
                                               std::function<void()> forward)
    : QUndoCommand(text), back_(std::move(back)), forward_(std::move(forward)) {}

void CalibrationUndoCommand::undo() { back_(); }

void CalibrationUndoCommand::redo() {
  if (!pushed_) {
    pushed_ = true;
    return;
  }
  forward_();
}

}  // namespace kv
