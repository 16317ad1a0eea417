#include "document/calibration_history.h"

#include <utility>

namespace kv {

std::uint32_t ChangeNameString(CalibrationChange change) {
  return kFirstChangeNameString + static_cast<std::uint32_t>(change);
}

void CalibrationHistory::Start(CalibrationEditorState state) {
  steps_.clear();
  steps_.push_back({CalibrationChange::kTyping, std::move(state)});
  position_ = 0;
}

bool CalibrationHistory::Differs(const CalibrationEditorState& state) const {
  return steps_.empty() || !SameEdits(steps_[position_].state, state);
}

bool CalibrationHistory::Record(CalibrationChange change, CalibrationEditorState state) {
  if (steps_.empty()) {
    Start(std::move(state));
    return false;
  }
  if (!Differs(state)) {
    // Flags may still have changed; the current step keeps them.
    Amend(std::move(state));
    return false;
  }
  steps_.resize(position_ + 1);
  steps_.push_back({change, std::move(state)});
  if (steps_.size() > static_cast<std::size_t>(kCalibrationHistoryLimit) + 1) {
    steps_.erase(steps_.begin());
  }
  position_ = steps_.size() - 1;
  return true;
}

void CalibrationHistory::Amend(CalibrationEditorState state) {
  if (steps_.empty()) {
    Start(std::move(state));
    return;
  }
  steps_[position_].state = std::move(state);
}

const CalibrationEditorState& CalibrationHistory::Undo() {
  --position_;
  return steps_[position_].state;
}

const CalibrationEditorState& CalibrationHistory::Redo() {
  ++position_;
  return steps_[position_].state;
}

}  // namespace kv
