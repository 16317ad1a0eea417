#ifndef KORVALE_DOCUMENT_CALIBRATION_EDITOR_STATE_H_
#define KORVALE_DOCUMENT_CALIBRATION_EDITOR_STATE_H_

// Everything the calibration editor's edits change, taken whole: the panel's
// texts and choices as shown or typed, and what the edits stored so far in
// the process-wide record, the coordinate system and the calibrated image's
// bound texts. Putting one back restores the panel and the stored values
// exactly, which is what undo needs and all it needs: the state is a few
// kilobytes, so a snapshot is simpler and safer than inverting each edit.

#include <array>
#include <map>
#include <optional>
#include <string>

#include "calibration/calibration_bounds.h"
#include "calibration/calibration_record.h"
#include "document/calibration_fields.h"
#include "document/calibration_notation.h"
#include "document/calibration_projection_fields.h"
#include "geo/geo_types.h"
#include "map/map_layout.h"

namespace kv {

// The panel's own part: its texts and choices as shown or typed. The editor
// keeps exactly this, so a snapshot copies it whole.
struct CalibrationPanelEdits {
  // A position as its fields were last filled. A system that cannot express
  // a position shows it in degrees, which it could not read back; kept
  // here, an untouched position comes back exactly, whatever the systems it
  // was shown in.
  struct ShownPosition {
    PositionFields fields;
    LatLon position;
    bool operator==(const ShownPosition&) const = default;
  };
  // The bounds the centre and extents were filled from, and the extents as
  // shown: the arithmetic from bounds to extents and back is no exact
  // round trip, so untouched fields keep the bounds as they were.
  struct ShownCentre {
    GeoBounds bounds;
    std::string horizontal;
    std::string vertical;
    bool operator==(const ShownCentre&) const = default;
  };

  std::map<CalibrationField, std::string> texts;
  CalibrationKind kind = CalibrationKind::kRectangular;
  int datum_index = 0;
  bool datum_fixed = false;
  int projection_index = 0;
  ProjectionDrafts projection_drafts;
  CalibrationMode mode = CalibrationMode::kCorners;
  int current_point = 0;
  bool modified = false;
  bool point_fields_changed = false;
  // By the latitude field of the position's group.
  std::map<CalibrationField, ShownPosition> shown_positions;
  std::optional<ShownCentre> shown_centre;

  bool operator==(const CalibrationPanelEdits&) const = default;
};

struct CalibrationEditorState : CalibrationPanelEdits {
  // What the edits stored.
  CalibrationRecord record;
  int system = 0;
  std::array<std::string, kCornerTextCount> bound_texts;

  bool operator==(const CalibrationEditorState&) const = default;
};

// Whether `a` and `b` hold the same edits. The flags that say an edit is
// waiting to be stored are no edit of their own: typing a field back to
// what it held changes nothing.
bool SameEdits(const CalibrationEditorState& a, const CalibrationEditorState& b);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_CALIBRATION_EDITOR_STATE_H_
