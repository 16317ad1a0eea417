#ifndef KORVALE_DIALOGS_CALIBRATION_UNDO_COMMAND_H_
#define KORVALE_DIALOGS_CALIBRATION_UNDO_COMMAND_H_

// One step of the calibration editor's history on the panel's undo stack.
// The editor keeps the states and has made the change before the command
// is pushed; the command only names the step and walks back and forth.

#include <QUndoCommand>
#include <functional>

namespace kv {

class CalibrationUndoCommand : public QUndoCommand {
 public:
  CalibrationUndoCommand(const QString& text, std::function<void()> back,
                         std::function<void()> forward);

  void undo() override;
  void redo() override;

 private:
  std::function<void()> back_;
  std::function<void()> forward_;
  // The stack redoes a command as it is pushed; this one is done already.
  bool pushed_ = false;
};

}  // namespace kv

#endif  // KORVALE_DIALOGS_CALIBRATION_UNDO_COMMAND_H_
