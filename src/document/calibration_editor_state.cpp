#include "document/calibration_editor_state.h"

namespace kv {

bool SameEdits(const CalibrationEditorState& a, const CalibrationEditorState& b) {
  CalibrationEditorState flagged = a;
  flagged.modified = b.modified;
  flagged.point_fields_changed = b.point_fields_changed;
  return flagged == b;
}

}  // namespace kv
