#ifndef KORVALE_DOCUMENT_CALIBRATION_HISTORY_H_
#define KORVALE_DOCUMENT_CALIBRATION_HISTORY_H_

// The steps of the calibration editor that undo and redo walk: the state
// the dialog opened or was last applied with, then the state after each
// change, each with what changed. A new change after undo drops the steps
// that could have been redone.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "document/calibration_editor_state.h"

namespace kv {

// What a step changed; the Edit menu names it.
enum class CalibrationChange {
  kTyping,
  kPointPosition,
  kPointDeleted,
  kMode,
  kKind,
  kSystem,
  kDatum,
  kProjection,
};

// The name of `change` in the language file ("typing", "point position").
std::uint32_t ChangeNameString(CalibrationChange change);
inline constexpr std::uint32_t kFirstChangeNameString = 2502;

// Older steps are forgotten beyond this many; the panel's undo stack keeps
// the same number.
inline constexpr int kCalibrationHistoryLimit = 100;

// Who mirrors the steps (the panel's undo stack).
struct CalibrationHistoryObserver {
  std::function<void(CalibrationChange)> recorded;  // a step was added
  std::function<void()> started;                    // every step was dropped
};

class CalibrationHistory {
 public:
  // `state` is the only one; nothing to undo or redo.
  void Start(CalibrationEditorState state);
  // A step of `change` to `state`, unless it holds the same edits as the
  // current one; true when added.
  bool Record(CalibrationChange change, CalibrationEditorState state);
  // `state` takes the current one's place without a step: it shows the
  // same edits another way (another point).
  void Amend(CalibrationEditorState state);
  // Whether `state` holds edits the current one does not.
  bool Differs(const CalibrationEditorState& state) const;

  bool CanUndo() const { return position_ > 0; }
  bool CanRedo() const { return position_ + 1 < steps_.size(); }
  // REQUIRES: CanUndo() (CanRedo()).
  CalibrationChange UndoChange() const { return steps_[position_].change; }
  CalibrationChange RedoChange() const { return steps_[position_ + 1].change; }
  // One step back (forward); the state to show. REQUIRES: CanUndo()
  // (CanRedo()).
  const CalibrationEditorState& Undo();
  const CalibrationEditorState& Redo();

 private:
  struct Step {
    CalibrationChange change;  // what led here; none for the first
    CalibrationEditorState state;
  };
  std::vector<Step> steps_;
  std::size_t position_ = 0;
};

}  // namespace kv

#endif  // KORVALE_DOCUMENT_CALIBRATION_HISTORY_H_
