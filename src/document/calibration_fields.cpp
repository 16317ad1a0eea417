#include "document/calibration_fields.h"

#include "base/string_ids.h"

namespace kv {

namespace {

// When a part is shown.
enum class Shown {
  kAlways,
  kProjectionKind,
  kRectangularKind,
  kCorners,
  kCornerZones,
  kCentre,
  kCentreZone,
  kPoints,
  kPointZone,
  kKnownPointsKind,
  kThreeByThreeKind,
};

struct FieldRule {
  CalibrationField field;
  Shown shown;
  std::uint32_t help;  // string ID, 0 for none
};

using F = CalibrationField;

constexpr FieldRule kFieldRules[] = {
    {F::kKind, Shown::kAlways, kKindHelpString},
    {F::kSystem, Shown::kAlways, 0},
    {F::kHelpLine, Shown::kAlways, 0},
    {F::kDatum, Shown::kProjectionKind, kDatumHelpString},
    {F::kProjection, Shown::kProjectionKind, kProjectionHelpString},
    {F::kParameterKey1, Shown::kProjectionKind, 0},
    {F::kParameterKey2, Shown::kProjectionKind, 0},
    {F::kParameterKey3, Shown::kProjectionKind, 0},
    {F::kParameterKey4, Shown::kProjectionKind, 0},
    {F::kParameterKey5, Shown::kProjectionKind, 0},
    {F::kParameterKey6, Shown::kProjectionKind, 0},
    {F::kParameterValue1, Shown::kProjectionKind, kParameterValue1HelpString},
    {F::kParameterValue2, Shown::kProjectionKind, kParameterValue2HelpString},
    {F::kParameterValue3, Shown::kProjectionKind, kParameterValue3HelpString},
    {F::kParameterValue4, Shown::kProjectionKind, kParameterValue4HelpString},
    {F::kParameterValue5, Shown::kProjectionKind, kParameterValue5HelpString},
    {F::kParameterValue6, Shown::kProjectionKind, kParameterValue6HelpString},
    {F::kModeCorners, Shown::kRectangularKind, kModeCornersHelpString},
    {F::kModeCentre, Shown::kRectangularKind, kModeCentreHelpString},
    {F::kModePoints, Shown::kRectangularKind, kModePointsHelpString},
    {F::kNorthWestZone, Shown::kCornerZones, kNorthWestZoneHelpString},
    {F::kNorthWestLatitude, Shown::kCorners, kNorthWestLatitudeHelpString},
    {F::kNorthWestLongitude, Shown::kCorners, kNorthWestLongitudeHelpString},
    {F::kSouthEastZone, Shown::kCornerZones, kSouthEastZoneHelpString},
    {F::kSouthEastLatitude, Shown::kCorners, kSouthEastLatitudeHelpString},
    {F::kSouthEastLongitude, Shown::kCorners, kSouthEastLongitudeHelpString},
    {F::kCentreZone, Shown::kCentreZone, kCentreZoneHelpString},
    {F::kCentreLatitude, Shown::kCentre, kCentreLatitudeCaptionString},
    {F::kCentreLongitude, Shown::kCentre, kCentreLongitudeCaptionString},
    {F::kHorizontalExtent, Shown::kCentre, kHorizontalExtentCaptionString},
    {F::kVerticalExtent, Shown::kCentre, kVerticalExtentCaptionString},
    {F::kPointNumber, Shown::kPoints, kPointNumberHelpString},
    {F::kPixelX, Shown::kPoints, kPixelXHelpString},
    {F::kPixelY, Shown::kPoints, kPixelYHelpString},
    {F::kPointZone, Shown::kPointZone, kPointZoneHelpString},
    {F::kPointLatitude, Shown::kPoints, kPointLatitudeHelpString},
    {F::kPointLongitude, Shown::kPoints, kPointLongitudeHelpString},
    {F::kNextPoint, Shown::kPoints, kNextPointHelpString},
    {F::kPreviousPoint, Shown::kPoints, kPreviousPointHelpString},
    {F::kDeletePoint, Shown::kPoints, kDeletePointHelpString},
    {F::kFollow, Shown::kPoints, 0},
    {F::kPick, Shown::kPoints, 0},
    {F::kResidualsTable, Shown::kPoints, 0},
    {F::kKnownPointsNote, Shown::kKnownPointsKind, 0},
    {F::kThreeByThreeNote, Shown::kThreeByThreeKind, 0},
};

const FieldRule* RuleOf(CalibrationField field) {
  for (const FieldRule& rule : kFieldRules) {
    if (rule.field == field) return &rule;
  }
  return nullptr;
}

bool InMode(const CalibrationPanelState& state, CalibrationMode mode) {
  return state.kind == CalibrationKind::kRectangular && state.mode == mode;
}

}  // namespace

bool ShowsPointFields(const CalibrationPanelState& state) {
  return state.kind == CalibrationKind::kProjection ||
         state.kind == CalibrationKind::kKnownPoints || InMode(state, CalibrationMode::kPoints);
}

bool IsShown(CalibrationField field, const CalibrationPanelState& state) {
  const FieldRule* rule = RuleOf(field);
  if (rule == nullptr) return false;
  switch (rule->shown) {
    case Shown::kAlways:
      return true;
    case Shown::kProjectionKind:
      return state.kind == CalibrationKind::kProjection;
    case Shown::kRectangularKind:
      return state.kind == CalibrationKind::kRectangular;
    case Shown::kCorners:
      return InMode(state, CalibrationMode::kCorners);
    case Shown::kCornerZones:
      return InMode(state, CalibrationMode::kCorners) && state.zoned_grid;
    case Shown::kCentre:
      return InMode(state, CalibrationMode::kCentre);
    case Shown::kCentreZone:
      return InMode(state, CalibrationMode::kCentre) && state.zoned_grid;
    case Shown::kPoints:
      return ShowsPointFields(state);
    case Shown::kPointZone:
      return ShowsPointFields(state) && state.zoned_grid;
    case Shown::kKnownPointsKind:
      return state.kind == CalibrationKind::kKnownPoints;
    case Shown::kThreeByThreeKind:
      return state.kind == CalibrationKind::kThreeByThree;
  }
  return false;
}

std::uint32_t HelpLineString(CalibrationField field, CalibrationMode mode) {
  const FieldRule* rule = RuleOf(field);
  if (rule == nullptr) return 0;
  const bool corners = rule->shown == Shown::kCorners || rule->shown == Shown::kCornerZones;
  const bool centre = rule->shown == Shown::kCentre || rule->shown == Shown::kCentreZone;
  if ((corners && mode != CalibrationMode::kCorners) ||
      (centre && mode != CalibrationMode::kCentre)) {
    return 0;
  }
  return rule->help;
}

}  // namespace kv
