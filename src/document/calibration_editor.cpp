#include "document/calibration_editor.h"

#include "base/string_ids.h"
#include "document/application_state.h"
#include "document/calibration_point_list.h"
#include "document/document.h"
#include "geo/coordinate_systems.h"
#include "geo/datum_table.h"
#include "geo/projection_table.h"

namespace kv {

namespace {

using F = CalibrationField;

// The record's kinds in the order of CalibrationKind.
constexpr std::int32_t kRecordKinds[kCalibrationKindCount] = {
    kCalibrationGeographic, kCalibrationProjection, kCalibrationKnownPoints,
    kCalibrationThreeByThree};

std::string StringOr(const StringTable& strings, std::uint32_t id, std::string_view fallback) {
  const std::string& text = strings.Get(id);
  return text.empty() ? std::string(fallback) : text;
}

const std::string kEmpty;

// The three fields of one position, named by its latitude field.
struct PositionGroup {
  CalibrationField zone;
  CalibrationField latitude;
  CalibrationField longitude;
};

constexpr PositionGroup kPositionGroups[] = {
    {F::kNorthWestZone, F::kNorthWestLatitude, F::kNorthWestLongitude},
    {F::kSouthEastZone, F::kSouthEastLatitude, F::kSouthEastLongitude},
    {F::kCentreZone, F::kCentreLatitude, F::kCentreLongitude},
    {F::kPointZone, F::kPointLatitude, F::kPointLongitude},
};

const PositionGroup& GroupOf(CalibrationField latitude) {
  for (const PositionGroup& group : kPositionGroups) {
    if (group.latitude == latitude) return group;
  }
  return kPositionGroups[0];
}

bool SameFields(const PositionFields& a, const PositionFields& b) {
  return a.zone == b.zone && a.latitude == b.latitude && a.longitude == b.longitude;
}

}  // namespace

std::int32_t RecordKindOf(CalibrationKind kind) {
  return kRecordKinds[static_cast<std::size_t>(kind)];
}

CalibrationKind KindOfRecord(std::int32_t record_kind) {
  for (int i = 0; i < kCalibrationKindCount; ++i) {
    if (kRecordKinds[i] == record_kind) return static_cast<CalibrationKind>(i);
  }
  return CalibrationKind::kRectangular;
}

PositionTexts DialogPositionTexts(const StringTable& strings) {
  PositionTexts texts;
  texts.latitude_letters = StringOr(strings, kLatitudeLettersId, "NS");
  texts.longitude_letters = StringOr(strings, kLongitudeLettersId, "EW");
  texts.fraction_separator = StringOr(strings, kFractionSeparatorId, ".");
  texts.negative_letters = StringOr(strings, kNegativeLettersId, kDefaultNegativeLetters);
  return texts;
}

CalibrationEditor::CalibrationEditor(const CalibrationEditorContext& context)
    : context_(context), position_texts_(DialogPositionTexts(context.strings)) {}

bool CalibrationEditor::CanOpen(const CDocument& document) {
  return document.image_list().current() != nullptr;
}

CalibrationRecord& CalibrationEditor::record() { return context_.app.calibration; }
const CalibrationRecord& CalibrationEditor::record() const { return context_.app.calibration; }

int CalibrationEditor::system() const {
  const int system = context_.app.import_state.world_file_system.system;
  return system >= 0 && system < kCoordinateSystemCount ? system : 0;
}

bool CalibrationEditor::follow() const { return context_.app.calibration_follow; }

PositionNotation CalibrationEditor::Notation() const {
  return PositionNotation(context_.app.coordinates, position_texts_, system(), record().datum_row);
}

std::string CalibrationEditor::String(std::uint32_t id) const {
  return id == 0 ? std::string() : context_.strings.Get(id);
}

void CalibrationEditor::Initialise() {
  image_ = context_.document.image_list().current();
  panel_.modified = false;
  panel_.point_fields_changed = false;
  help_text_.clear();
  panel_.projection_drafts.Clear();
  panel_.kind = KindOfRecord(record().proj_mode);
  ApplyFixedDatum();
  SelectRecordDatum();
  FillProjectionFields(record().projparams.value_or(std::string()));
  const bool first_point_set = record().points && IsSetPoint((*record().points)[0]);
  panel_.mode = first_point_set || panel_.kind != CalibrationKind::kRectangular
                    ? CalibrationMode::kPoints
                    : CalibrationMode::kCorners;
  const int highlighted = context_.view != nullptr ? context_.view->HighlightedPoint() : -1;
  panel_.current_point = highlighted >= 0 && highlighted < kCalibrationPointCount ? highlighted : 0;
  FillAll();
  pick_ = false;
  if (context_.view != nullptr) {
    if (panel_.mode == CalibrationMode::kPoints && follow()) ShowCurrentPointInView(true);
    context_.view->SetCalibrateCursor(pick_);
  }
  StartHistory();
}

void CalibrationEditor::Refresh() {
  Initialise();
  panel_.modified = true;
  history_.Amend(State());
}

void CalibrationEditor::ApplyFixedDatum() {
  const std::optional<std::string> fixed = FixedDatumOf(context_.app.coordinates, system());
  panel_.datum_fixed = fixed.has_value();
  if (fixed) record().datum_name = *fixed;
}

void CalibrationEditor::SelectRecordDatum() {
  const std::optional<std::string>& name = record().datum_name;
  const int row = name && !name->empty() ? FindDatum(*name) : kWgs84DatumRow;
  panel_.datum_index = row >= 0 ? row : 0;
}

void CalibrationEditor::FillAll() {
  FillModeFields();
  FillPointFields();
  FillProjectionFields(ProjectionTextOfFields());
  const PositionNotation notation = Notation();
  panel_.projection_drafts.Reformat(
      [&notation](double degrees, PositionAxis axis) {
        return notation.FormatAngle(degrees, axis);
      },
      position_texts_.negative_letters);
}

void CalibrationEditor::FillProjectionFields(const std::string& text) {
  const PositionNotation notation = Notation();
  const ProjectionFields fields =
      ProjectionFieldsFromText(text, [&notation](double degrees, PositionAxis axis) {
        return notation.FormatAngle(degrees, axis);
      });
  panel_.projection_index = fields.projection;
  for (int i = 0; i < kProjectionParameterCount; ++i) {
    SetText(kParameterKeyFields[i], fields.parameters[Slot(i)].key);
    SetText(kParameterValueFields[i], fields.parameters[Slot(i)].value);
  }
}

void CalibrationEditor::ShowPosition(CalibrationField group, LatLon position) {
  const PositionGroup& fields = GroupOf(group);
  const PositionFields shown = Notation().Format(position);
  SetText(fields.zone, shown.zone);
  SetText(fields.latitude, shown.latitude);
  SetText(fields.longitude, shown.longitude);
  panel_.shown_positions[group] = {shown, position};
}

void CalibrationEditor::ForgetPosition(CalibrationField group) {
  panel_.shown_positions.erase(group);
}

std::optional<LatLon> CalibrationEditor::ReadPosition(CalibrationField group,
                                                      bool* bad_latitude) const {
  const PositionGroup& fields = GroupOf(group);
  const PositionFields typed{Text(fields.zone), Text(fields.latitude), Text(fields.longitude)};
  const auto shown = panel_.shown_positions.find(group);
  if (shown != panel_.shown_positions.end() && SameFields(shown->second.fields, typed)) {
    *bad_latitude = false;
    return shown->second.position;
  }
  return Notation().Parse(typed, bad_latitude);
}

bool CalibrationEditor::ShowsUnchangedPosition(CalibrationField field) const {
  for (const PositionGroup& group : kPositionGroups) {
    if (field != group.zone && field != group.latitude && field != group.longitude) continue;
    const auto shown = panel_.shown_positions.find(group.latitude);
    return shown != panel_.shown_positions.end() &&
           SameFields(shown->second.fields,
                      {Text(group.zone), Text(group.latitude), Text(group.longitude)});
  }
  return false;
}

const std::string& CalibrationEditor::Text(CalibrationField field) const {
  if (field == F::kHelpLine) return help_text_;
  const auto it = panel_.texts.find(field);
  return it == panel_.texts.end() ? kEmpty : it->second;
}

void CalibrationEditor::SetText(CalibrationField field, const std::string& text) {
  panel_.texts[field] = text;
}

CalibrationPanelState CalibrationEditor::PanelState() const {
  return {panel_.kind, panel_.mode, IsZonedGrid(system())};
}

bool CalibrationEditor::PointFieldsVisible() const { return ShowsPointFields(PanelState()); }

bool CalibrationEditor::IsVisible(CalibrationField field) const {
  return IsShown(field, PanelState());
}

bool CalibrationEditor::IsEnabled(CalibrationField field) const {
  switch (field) {
    case F::kDatum:
      return !panel_.datum_fixed;
    case F::kNextPoint:
      return panel_.current_point < kCalibrationPointCount - 1;
    case F::kPreviousPoint:
      return panel_.current_point > 0;
    default:
      return true;
  }
}

std::vector<std::string> CalibrationEditor::ListTexts(CalibrationField field) const {
  std::vector<std::string> texts;
  switch (field) {
    case F::kKind:
      for (int i = 0; i < kCalibrationKindCount; ++i) {
        texts.push_back(KindNameText(context_.strings, static_cast<CalibrationKind>(i)));
      }
      break;
    case F::kSystem:
      for (int i = 0; i < kCoordinateSystemCount; ++i) {
        texts.emplace_back(CoordinateSystemName(i));
      }
      break;
    case F::kDatum:
      for (int i = 0; i < DatumRowCount(); ++i) texts.emplace_back(DatumDisplayName(i));
      break;
    case F::kProjection:
      for (int i = 0; i < ProjectionRowCount(); ++i) texts.emplace_back(ProjectionDisplayName(i));
      break;
    default:
      break;
  }
  return texts;
}

int CalibrationEditor::Selection(CalibrationField field) const {
  switch (field) {
    case F::kKind:
      return static_cast<int>(panel_.kind);
    case F::kSystem:
      return system();
    case F::kDatum:
      return panel_.datum_index;
    case F::kProjection:
      return panel_.projection_index;
    default:
      return -1;
  }
}

std::vector<CaptionString> CalibrationEditor::Captions() const {
  return ModeCaptions(panel_.mode, IsZonedGrid(system()));
}

CalibrationField CalibrationEditor::TakeFocusRequest() {
  const CalibrationField field = focus_request_;
  focus_request_ = F::kNone;
  return field;
}

void CalibrationEditor::FocusEntered(CalibrationField field) {
  help_text_ = String(HelpLineString(field, panel_.mode));
}

void CalibrationEditor::EditText(CalibrationField field, const std::string& text) {
  SetText(field, text);
  panel_.modified = true;
  if (field == F::kPixelX || field == F::kPixelY || field == F::kPointLatitude ||
      field == F::kPointLongitude || field == F::kPointZone) {
    panel_.point_fields_changed = true;
  }
}

void CalibrationEditor::SetFollow(bool follow) {
  context_.app.calibration_follow = follow;
  if (follow && panel_.mode == CalibrationMode::kPoints) ShowCurrentPointInView(true);
}

void CalibrationEditor::SetPick(bool pick) {
  pick_ = pick;
  if (context_.view != nullptr) context_.view->SetCalibrateCursor(pick);
}

void CalibrationEditor::SelectDatum(int index) {
  if (panel_.datum_fixed || index < 0 || index >= DatumRowCount()) return;
  const Action action(this, CalibrationChange::kDatum);
  panel_.datum_index = index;
  panel_.modified = true;
}

void CalibrationEditor::SelectProjection(int index) {
  if (index < 0 || index >= ProjectionRowCount() || index == panel_.projection_index) return;
  const Action action(this, CalibrationChange::kProjection);
  ProjectionDrafts::Parameters typed;
  for (int i = 0; i < kProjectionParameterCount; ++i) {
    typed[Slot(i)] = {Text(kParameterKeyFields[i]), Text(kParameterValueFields[i])};
  }
  panel_.projection_drafts.Keep(panel_.projection_index, typed);
  panel_.projection_index = index;
  if (const ProjectionDrafts::Parameters* kept = panel_.projection_drafts.Find(index)) {
    for (int i = 0; i < kProjectionParameterCount; ++i) {
      SetText(kParameterKeyFields[i], (*kept)[Slot(i)].key);
      SetText(kParameterValueFields[i], (*kept)[Slot(i)].value);
    }
  } else {
    // A projection not chosen before takes the values of the keys it
    // shares with the one left (the false origin, the central meridian).
    const std::array<std::string, kProjectionParameterCount> keys = DefaultParameterKeys(index);
    for (int i = 0; i < kProjectionParameterCount; ++i) {
      std::string value;
      for (const ProjectionParameter& left : typed) {
        if (!keys[Slot(i)].empty() && left.key == keys[Slot(i)]) value = left.value;
      }
      SetText(kParameterKeyFields[i], keys[Slot(i)]);
      SetText(kParameterValueFields[i], value);
    }
  }
  panel_.modified = true;
}

}  // namespace kv
