// Applying the calibration dialog, closing it, and the choices that store
// the fields before they change their meaning: the kind, the coordinate
// system and a coordinate field that loses the focus.

#include "document/application_state.h"
#include "document/calibration_controls.h"
#include "document/calibration_editor.h"
#include "document/document.h"
#include "geo/coordinate_systems.h"
#include "geo/datum_table.h"
#include "geo/text_match.h"
#include "geo/utm.h"

namespace kv {

using namespace calib;

namespace {

struct CoordinateField {
  int control;
  PositionAxis axis;
  bool corners_only;  // the extents of mode 1 are no coordinates
};

constexpr CoordinateField kCoordinateFields[] = {
    {kFirstLatitude, PositionAxis::kLatitude, false},
    {kPointLatitude, PositionAxis::kLatitude, false},
    {kFirstLongitude, PositionAxis::kLongitude, false},
    {kPointLongitude, PositionAxis::kLongitude, false},
    {kSecondLatitude, PositionAxis::kLatitude, true},
    {kSecondLongitude, PositionAxis::kLongitude, true},
};

}  // namespace

bool CalibrationEditor::ZoneRefused(int group) {
  if (system() != kSystemUtm && system() != kSystemMga) return false;
  const int zone_control = ZoneControlOf(group);
  const std::string& zone = Text(zone_control);
  // An empty zone leaves the position to its own fields; a zone as it was
  // filled is the grid's own.
  if (zone.empty() || ShowsUnchangedPosition(zone_control)) return false;
  if (CheckUtmZoneText(zone) == UtmZoneStatus::kValid) return false;
  context_.prompts.ShowValidationError(String(kUtmZoneHelpString), String(kValidationCaption));
  focus_request_ = zone_control;
  return true;
}

bool CalibrationEditor::FocusLeft(int control) {
  for (const int group : {kFirstLatitude, kSecondLatitude, kPointLatitude}) {
    if (control == ZoneControlOf(group)) return !ZoneRefused(group);
  }
  if (IsZonedGrid(system())) return true;
  for (const CoordinateField& field : kCoordinateFields) {
    if (field.control != control) continue;
    if (field.corners_only && mode_ != 0) return true;
    const std::string& text = Text(control);
    // An untouched position may be shown in degrees in a grid: leave it.
    if (text.empty() || ShowsUnchangedPosition(control)) return true;
    const std::optional<std::string> rewritten = Notation().Rewrite(text, field.axis);
    if (!rewritten) {
      Fail(field.axis == PositionAxis::kLatitude ? kBadLatitude : kBadLongitude, control);
      return false;
    }
    SetText(control, *rewritten);
    return true;
  }
  return true;
}

bool CalibrationEditor::SelectSystem(int index) {
  if (index < 0 || index >= kCoordinateSystemCount) return false;
  if (index == system()) return true;
  if (!StorePointIfChanged()) return false;
  if (ValidateAndStoreModeFields() != 0) return false;
  context_.app.import_state.world_file_system.system = index;
  ApplyFixedDatum();
  SelectRecordDatum();
  modified_ = true;
  FillAll();
  return true;
}

bool CalibrationEditor::SelectKind(int index) {
  if (index < 0 || index >= kKindIndexCount) return false;
  if (index == kind_index_) return true;
  if (!StorePointIfChanged()) return false;
  kind_index_ = index;
  modified_ = true;
  // Only the rectangular kind offers corners and centre; the others work
  // with the points.
  if (index != 0 && mode_ != 2) {
    if (ValidateAndStoreModeFields() != 0) {
      kind_index_ = 0;
      return false;
    }
    mode_ = 2;
    MakePointsFromBounds();
    current_point_ = 0;
    FillModeFields();
    FillPointFields();
  }
  return true;
}

std::string CalibrationEditor::ProjectionTextOfFields() const {
  ProjectionFields fields;
  fields.projection = projection_index_;
  for (int i = 0; i < kProjectionParameterCount; ++i) {
    fields.parameters[Slot(i)] = {Text(kParameterKeys[i]), Text(kParameterValues[i])};
  }
  return ProjectionTextFromFields(fields, position_texts_.negative_letters);
}

void CalibrationEditor::StoreProjection() {
  CalibrationRecord& calibration = record();
  calibration.projparams.reset();
  if (calibration.proj_mode != kCalibrationProjection) return;
  const std::string text = ProjectionTextOfFields();
  if (text.empty()) {
    calibration.proj_mode = kCalibrationGeographic;
    return;
  }
  calibration.projparams = text;
}

int CalibrationEditor::Apply() {
  if (!modified_) return 0;
  const std::int32_t kind = RecordKindOfIndex(kind_index_);
  if (PointFieldsVisible() && ZoneRefused(kPointLatitude)) return -1;
  StoreCurrentPoint();
  if (ValidateAndStoreModeFields() != 0 && kind == kCalibrationGeographic) return -1;
  CalibrationRecord& calibration = record();
  std::string_view chosen;
  if (DatumCode(datum_index_, &chosen) == 0 &&
      !EqualsIgnoreCase(calibration.datum_name.value_or(std::string("WGS84")), chosen)) {
    calibration.datum_name = std::string(chosen);
  }
  calibration.proj_mode = kind;
  StoreProjection();
  // What was typed for other projections lasts until the calibration is
  // applied.
  projection_drafts_.Clear();
  context_.document.ApplyCalibration();
  context_.document.CalibrationDialogClosed();
  modified_ = false;
  return 0;
}

int CalibrationEditor::PrepareClose(bool validate) {
  if (validate && modified_ && Apply() != 0) return -1;
  return 0;
}

void CalibrationEditor::Closed(bool validate) {
  if (context_.view != nullptr) {
    context_.view->SetCalibrateCursor(false);
    context_.view->SetClickHandler({});
  }
  if (validate) context_.document.CalibrationDialogClosed();
}

}  // namespace kv
