#include "document/calibration_editor.h"

#include "document/application_state.h"
#include "document/calibration_controls.h"
#include "document/calibration_point_list.h"
#include "document/document.h"
#include "geo/coordinate_systems.h"
#include "geo/datum_table.h"
#include "geo/projection_table.h"

namespace kv {

using namespace calib;

namespace {

constexpr std::int32_t kRecordKinds[kKindIndexCount] = {
    kCalibrationGeographic, kCalibrationProjection, kCalibrationKnownPoints,
    kCalibrationThreeByThree};

// The language's position strings.
constexpr std::uint32_t kLatitudeLettersString = 2044;
constexpr std::uint32_t kLongitudeLettersString = 2043;
constexpr std::uint32_t kSeparatorString = 2051;
constexpr std::uint32_t kNegativeLettersString = 2052;

std::string StringOr(const StringTable& strings, std::uint32_t id, std::string_view fallback) {
  const std::string& text = strings.Get(id);
  return text.empty() ? std::string(fallback) : text;
}

const std::string kEmpty;

// The three fields of one position, named by the latitude's control.
struct PositionGroup {
  int zone;
  int latitude;
  int longitude;
};

constexpr PositionGroup kPositionGroups[] = {
    {kFirstZone, kFirstLatitude, kFirstLongitude},
    {kSecondZone, kSecondLatitude, kSecondLongitude},
    {kPointZone, kPointLatitude, kPointLongitude},
};

const PositionGroup& GroupOf(int latitude_control) {
  for (const PositionGroup& group : kPositionGroups) {
    if (group.latitude == latitude_control) return group;
  }
  return kPositionGroups[0];
}

}  // namespace

int ZoneControlOf(int latitude_control) { return GroupOf(latitude_control).zone; }

namespace {

bool SameFields(const PositionFields& a, const PositionFields& b) {
  return a.zone == b.zone && a.latitude == b.latitude && a.longitude == b.longitude;
}

}  // namespace

std::int32_t RecordKindOfIndex(int kind_index) {
  return kind_index >= 0 && kind_index < kKindIndexCount ? kRecordKinds[kind_index]
                                                         : kCalibrationGeographic;
}

int KindIndexOfRecord(std::int32_t kind) {
  for (int i = 0; i < kKindIndexCount; ++i) {
    if (kRecordKinds[i] == kind) return i;
  }
  return 0;
}

PositionTexts DialogPositionTexts(const StringTable& strings) {
  PositionTexts texts;
  texts.latitude_letters = StringOr(strings, kLatitudeLettersString, "NS");
  texts.longitude_letters = StringOr(strings, kLongitudeLettersString, "EW");
  texts.fraction_separator = StringOr(strings, kSeparatorString, ".");
  texts.negative_letters = StringOr(strings, kNegativeLettersString, kDefaultNegativeLetters);
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
  modified_ = false;
  point_fields_changed_ = false;
  help_text_.clear();
  projection_drafts_.Clear();
  kind_index_ = KindIndexOfRecord(record().proj_mode);
  ApplyFixedDatum();
  SelectRecordDatum();
  FillProjectionFields(record().projparams.value_or(std::string()));
  const bool first_point_set = record().points && IsSetPoint((*record().points)[0]);
  mode_ = first_point_set || kind_index_ != 0 ? 2 : 0;
  const int highlighted = context_.view != nullptr ? context_.view->HighlightedPoint() : -1;
  current_point_ = highlighted >= 0 && highlighted < kCalibrationPointCount ? highlighted : 0;
  FillAll();
  pick_ = false;
  if (context_.view != nullptr) {
    if (mode_ == 2 && follow()) ShowCurrentPointInView(true);
    context_.view->SetCalibrateCursor(pick_);
  }
}

void CalibrationEditor::Refresh() {
  Initialise();
  modified_ = true;
}

void CalibrationEditor::ApplyFixedDatum() {
  const std::optional<std::string> fixed = FixedDatumOf(context_.app.coordinates, system());
  datum_fixed_ = fixed.has_value();
  if (fixed) record().datum_name = *fixed;
}

void CalibrationEditor::SelectRecordDatum() {
  const std::optional<std::string>& name = record().datum_name;
  const int row = name && !name->empty() ? FindDatum(*name) : kWgs84DatumRow;
  datum_index_ = row >= 0 ? row : 0;
}

void CalibrationEditor::FillAll() {
  FillModeFields();
  FillPointFields();
  FillProjectionFields(ProjectionTextOfFields());
  const PositionNotation notation = Notation();
  projection_drafts_.Reformat(
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
  projection_index_ = fields.projection;
  for (int i = 0; i < kProjectionParameterCount; ++i) {
    SetText(kParameterKeys[i], fields.parameters[Slot(i)].key);
    SetText(kParameterValues[i], fields.parameters[Slot(i)].value);
  }
}

void CalibrationEditor::ShowPosition(int group, LatLon position) {
  const PositionGroup& fields = GroupOf(group);
  const PositionFields shown = Notation().Format(position);
  SetText(fields.zone, shown.zone);
  SetText(fields.latitude, shown.latitude);
  SetText(fields.longitude, shown.longitude);
  shown_positions_[group] = {shown, position};
}

void CalibrationEditor::ForgetPosition(int group) { shown_positions_.erase(group); }

std::optional<LatLon> CalibrationEditor::ReadPosition(int group, bool* bad_latitude) const {
  const PositionGroup& fields = GroupOf(group);
  const PositionFields typed{Text(fields.zone), Text(fields.latitude), Text(fields.longitude)};
  const auto shown = shown_positions_.find(group);
  if (shown != shown_positions_.end() && SameFields(shown->second.fields, typed)) {
    *bad_latitude = false;
    return shown->second.position;
  }
  return Notation().Parse(typed, bad_latitude);
}

bool CalibrationEditor::ShowsUnchangedPosition(int control) const {
  for (const PositionGroup& group : kPositionGroups) {
    if (control != group.zone && control != group.latitude && control != group.longitude) continue;
    const auto shown = shown_positions_.find(group.latitude);
    return shown != shown_positions_.end() &&
           SameFields(shown->second.fields,
                      {Text(group.zone), Text(group.latitude), Text(group.longitude)});
  }
  return false;
}

const std::string& CalibrationEditor::Text(int control) const {
  if (control == kHelpLine) return help_text_;
  const auto it = texts_.find(control);
  return it == texts_.end() ? kEmpty : it->second;
}

void CalibrationEditor::SetText(int control, const std::string& text) { texts_[control] = text; }

bool CalibrationEditor::PointFieldsVisible() const {
  return kind_index_ == 1 || kind_index_ == 2 || (kind_index_ == 0 && mode_ == 2);
}

bool CalibrationEditor::IsVisible(int control) const {
  const bool zoned = IsZonedGrid(system());
  const bool mode_fields = kind_index_ == 0 && mode_ != 2;
  switch (control) {
    case kKind:
    case kKindLabel:
    case kSystem:
    case kSystemLabel:
    case kHelpLine:
    case kApply:
    case kClose:
      return true;
    case kDatum:
    case kDatumLabel:
    case kProjection:
    case kProjectionLabel:
      return kind_index_ == 1;
    case kModeCorners:
    case kModeCentre:
    case kModePoints:
      return kind_index_ == 0;
    case kFirstLatitude:
    case kFirstLongitude:
    case kSecondLatitude:
    case kSecondLongitude:
    case kFirstLatitudeLabel:
    case kFirstLongitudeLabel:
    case kSecondLatitudeLabel:
    case kSecondLongitudeLabel:
      return mode_fields;
    case kFirstZone:
    case kFirstZoneLabel:
      return mode_fields && zoned;
    case kSecondZone:
    case kSecondZoneLabel:
      return mode_fields && zoned && mode_ == 0;
    case kPointZone:
    case kPointZoneLabel:
      return PointFieldsVisible() && zoned;
    case kPointNumber:
    case kPointNumberLabel:
    case kPixelX:
    case kPixelXLabel:
    case kPixelY:
    case kPixelYLabel:
    case kPointLatitude:
    case kPointLatitudeLabel:
    case kPointLongitude:
    case kPointLongitudeLabel:
    case kNextPoint:
    case kPreviousPoint:
    case kDeletePoint:
    case kFollow:
    case kPick:
    case kResidualsTable:
      return PointFieldsVisible();
    case kThreeByThreeNote:
      return kind_index_ == 3;
    case kKnownPointsLabel:
    case kKnownPointsNote:
      return kind_index_ == 2;
    default:
      break;
  }
  for (int i = 0; i < kProjectionParameterCount; ++i) {
    if (control == kParameterKeys[i] || control == kParameterValues[i]) return kind_index_ == 1;
  }
  return false;
}

bool CalibrationEditor::IsEnabled(int control) const {
  switch (control) {
    case kDatum:
      return !datum_fixed_;
    case kNextPoint:
      return current_point_ < kCalibrationPointCount - 1;
    case kPreviousPoint:
      return current_point_ > 0;
    default:
      return true;
  }
}

std::vector<std::string> CalibrationEditor::ListTexts(int control) const {
  std::vector<std::string> texts;
  switch (control) {
    case kKind:
      for (int i = 0; i < kKindIndexCount; ++i) texts.push_back(KindNameText(context_.strings, i));
      break;
    case kSystem:
      for (int i = 0; i < kCoordinateSystemCount; ++i) {
        texts.emplace_back(CoordinateSystemName(i));
      }
      break;
    case kDatum:
      for (int i = 0; i < DatumRowCount(); ++i) texts.emplace_back(DatumDisplayName(i));
      break;
    case kProjection:
      for (int i = 0; i < ProjectionRowCount(); ++i) texts.emplace_back(ProjectionDisplayName(i));
      break;
    default:
      break;
  }
  return texts;
}

int CalibrationEditor::Selection(int control) const {
  switch (control) {
    case kKind:
      return kind_index_;
    case kSystem:
      return system();
    case kDatum:
      return datum_index_;
    case kProjection:
      return projection_index_;
    default:
      return -1;
  }
}

std::vector<CaptionString> CalibrationEditor::Captions() const {
  return ModeCaptions(mode_, IsZonedGrid(system()));
}

int CalibrationEditor::TakeFocusRequest() {
  const int control = focus_request_;
  focus_request_ = 0;
  return control;
}

void CalibrationEditor::FocusEntered(int control) {
  help_text_ = String(HelpLineString(control, mode_));
}

void CalibrationEditor::EditText(int control, const std::string& text) {
  SetText(control, text);
  modified_ = true;
  if (control == kPixelX || control == kPixelY || control == kPointLatitude ||
      control == kPointLongitude || control == kPointZone) {
    point_fields_changed_ = true;
  }
}

void CalibrationEditor::SetFollow(bool follow) {
  context_.app.calibration_follow = follow;
  if (follow && mode_ == 2) ShowCurrentPointInView(true);
}

void CalibrationEditor::SetPick(bool pick) {
  pick_ = pick;
  if (context_.view != nullptr) context_.view->SetCalibrateCursor(pick);
}

void CalibrationEditor::SelectDatum(int index) {
  if (datum_fixed_ || index < 0 || index >= DatumRowCount()) return;
  datum_index_ = index;
  modified_ = true;
}

void CalibrationEditor::SelectProjection(int index) {
  if (index < 0 || index >= ProjectionRowCount() || index == projection_index_) return;
  ProjectionDrafts::Parameters typed;
  for (int i = 0; i < kProjectionParameterCount; ++i) {
    typed[Slot(i)] = {Text(kParameterKeys[i]), Text(kParameterValues[i])};
  }
  projection_drafts_.Keep(projection_index_, typed);
  projection_index_ = index;
  if (const ProjectionDrafts::Parameters* kept = projection_drafts_.Find(index)) {
    for (int i = 0; i < kProjectionParameterCount; ++i) {
      SetText(kParameterKeys[i], (*kept)[Slot(i)].key);
      SetText(kParameterValues[i], (*kept)[Slot(i)].value);
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
      SetText(kParameterKeys[i], keys[Slot(i)]);
      SetText(kParameterValues[i], value);
    }
  }
  modified_ = true;
}

}  // namespace kv
