// Applying the calibration dialog, closing it, and the choices that store
// the fields before they change their meaning: the kind, the coordinate
// system and a coordinate field that loses the focus.

#include "base/string_ids.h"
#include "document/application_state.h"
#include "document/calibration_editor.h"
#include "document/document.h"
#include "geo/coordinate_systems.h"
#include "geo/datum_table.h"
#include "geo/text_match.h"
#include "geo/utm.h"

namespace kv {

using F = CalibrationField;

namespace {

struct CoordinateField {
  CalibrationField field;
  PositionAxis axis;
};

constexpr CoordinateField kCoordinateFields[] = {
    {F::kNorthWestLatitude, PositionAxis::kLatitude},
    {F::kSouthEastLatitude, PositionAxis::kLatitude},
    {F::kCentreLatitude, PositionAxis::kLatitude},
    {F::kPointLatitude, PositionAxis::kLatitude},
    {F::kNorthWestLongitude, PositionAxis::kLongitude},
    {F::kSouthEastLongitude, PositionAxis::kLongitude},
    {F::kCentreLongitude, PositionAxis::kLongitude},
    {F::kPointLongitude, PositionAxis::kLongitude},
};

// The zone fields with their positions' latitude fields.
constexpr std::pair<CalibrationField, CalibrationField> kZoneGroups[] = {
    {F::kNorthWestZone, F::kNorthWestLatitude},
    {F::kSouthEastZone, F::kSouthEastLatitude},
    {F::kCentreZone, F::kCentreLatitude},
    {F::kPointZone, F::kPointLatitude},
};

CalibrationField ZoneOf(CalibrationField latitude) {
  for (const auto& [zone, group] : kZoneGroups) {
    if (group == latitude) return zone;
  }
  return F::kNone;
}

}  // namespace

bool CalibrationEditor::ZoneRefused(CalibrationField group) {
  if (system() != kSystemUtm && system() != kSystemMga) return false;
  const CalibrationField zone_field = ZoneOf(group);
  const std::string& zone = Text(zone_field);
  // An empty zone leaves the position to its own fields; a zone as it was
  // filled is the grid's own.
  if (zone.empty() || ShowsUnchangedPosition(zone_field)) return false;
  if (CheckUtmZoneText(zone) == UtmZoneStatus::kValid) return false;
  context_.prompts.ShowValidationError(String(kUtmZoneHelpString),
                                       String(kValidationCaptionString));
  focus_request_ = zone_field;
  return true;
}

bool CalibrationEditor::FocusLeft(CalibrationField field) {
  const bool accepted = LeftFieldAccepted(field);
  if (accepted) CommitTyping();
  return accepted;
}

bool CalibrationEditor::LeftFieldAccepted(CalibrationField field) {
  for (const auto& [zone, group] : kZoneGroups) {
    if (field == zone) return !ZoneRefused(group);
  }
  if (IsZonedGrid(system())) return true;
  for (const CoordinateField& coordinate : kCoordinateFields) {
    if (coordinate.field != field) continue;
    const std::string& text = Text(field);
    // An untouched position may be shown in degrees in a grid: leave it.
    if (text.empty() || ShowsUnchangedPosition(field)) return true;
    const std::optional<std::string> rewritten = Notation().Rewrite(text, coordinate.axis);
    if (!rewritten) {
      Fail(coordinate.axis == PositionAxis::kLatitude ? FieldRefusal::kBadLatitude
                                                      : FieldRefusal::kBadLongitude,
           field);
      return false;
    }
    SetText(field, *rewritten);
    return true;
  }
  return true;
}

bool CalibrationEditor::SelectSystem(int index) {
  if (index < 0 || index >= kCoordinateSystemCount) return false;
  if (index == system()) return true;
  const Action action(this, CalibrationChange::kSystem);
  if (!StorePointIfChanged()) return false;
  if (ValidateAndStoreModeFields() != FieldRefusal::kNone) return false;
  context_.app.import_state.world_file_system.system = index;
  ApplyFixedDatum();
  SelectRecordDatum();
  panel_.modified = true;
  FillAll();
  return true;
}

bool CalibrationEditor::SelectKind(int index) {
  if (index < 0 || index >= kCalibrationKindCount) return false;
  const auto kind = static_cast<CalibrationKind>(index);
  if (kind == panel_.kind) return true;
  const Action action(this, CalibrationChange::kKind);
  if (!StorePointIfChanged()) return false;
  panel_.kind = kind;
  panel_.modified = true;
  // Only the rectangular kind offers corners and centre; the others work
  // with the points.
  if (kind != CalibrationKind::kRectangular && panel_.mode != CalibrationMode::kPoints) {
    if (ValidateAndStoreModeFields() != FieldRefusal::kNone) {
      panel_.kind = CalibrationKind::kRectangular;
      return false;
    }
    panel_.mode = CalibrationMode::kPoints;
    MakePointsFromBounds();
    panel_.current_point = 0;
    FillModeFields();
    FillPointFields();
  }
  return true;
}

std::string CalibrationEditor::ProjectionTextOfFields() const {
  ProjectionFields fields;
  fields.projection = panel_.projection_index;
  for (int i = 0; i < kProjectionParameterCount; ++i) {
    fields.parameters[Slot(i)] = {Text(kParameterKeyFields[i]), Text(kParameterValueFields[i])};
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
  CommitTyping();
  const int result = ApplyEdits();
  // What was applied can no longer be undone here; a refused apply stored
  // only what the fields already said.
  if (result == 0) {
    StartHistory();
  } else {
    history_.Amend(State());
  }
  return result;
}

int CalibrationEditor::ApplyEdits() {
  if (!panel_.modified) return 0;
  const std::int32_t kind = RecordKindOf(panel_.kind);
  if (PointFieldsVisible() && ZoneRefused(F::kPointLatitude)) return -1;
  StoreCurrentPoint();
  if (ValidateAndStoreModeFields() != FieldRefusal::kNone && kind == kCalibrationGeographic) {
    return -1;
  }
  CalibrationRecord& calibration = record();
  std::string_view chosen;
  if (DatumCode(panel_.datum_index, &chosen) == 0 &&
      !EqualsIgnoreCase(calibration.datum_name.value_or(std::string("WGS84")), chosen)) {
    calibration.datum_name = std::string(chosen);
  }
  calibration.proj_mode = kind;
  StoreProjection();
  // What was typed for other projections lasts until the calibration is
  // applied.
  panel_.projection_drafts.Clear();
  context_.document.ApplyCalibration();
  context_.document.CalibrationDialogClosed();
  panel_.modified = false;
  return 0;
}

int CalibrationEditor::PrepareClose(bool validate) {
  if (validate && panel_.modified && Apply() != 0) return -1;
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
