#include "document/calibration_fields.h"

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
    {F::kKind, Shown::kAlways, 2034},
    {F::kSystem, Shown::kAlways, 0},
    {F::kHelpLine, Shown::kAlways, 0},
    {F::kDatum, Shown::kProjectionKind, 2033},
    {F::kProjection, Shown::kProjectionKind, 2032},
    {F::kParameterKey1, Shown::kProjectionKind, 0},
    {F::kParameterKey2, Shown::kProjectionKind, 0},
    {F::kParameterKey3, Shown::kProjectionKind, 0},
    {F::kParameterKey4, Shown::kProjectionKind, 0},
    {F::kParameterKey5, Shown::kProjectionKind, 0},
    {F::kParameterKey6, Shown::kProjectionKind, 0},
    {F::kParameterValue1, Shown::kProjectionKind, 2018},
    {F::kParameterValue2, Shown::kProjectionKind, 2019},
    {F::kParameterValue3, Shown::kProjectionKind, 2020},
    {F::kParameterValue4, Shown::kProjectionKind, 2021},
    {F::kParameterValue5, Shown::kProjectionKind, 2022},
    {F::kParameterValue6, Shown::kProjectionKind, 2023},
    {F::kModeCorners, Shown::kRectangularKind, 2030},
    {F::kModeCentre, Shown::kRectangularKind, 2029},
    {F::kModePoints, Shown::kRectangularKind, 2031},
    {F::kNorthWestZone, Shown::kCornerZones, 2066},
    {F::kNorthWestLatitude, Shown::kCorners, 2011},
    {F::kNorthWestLongitude, Shown::kCorners, 2010},
    {F::kSouthEastZone, Shown::kCornerZones, 2067},
    {F::kSouthEastLatitude, Shown::kCorners, 2013},
    {F::kSouthEastLongitude, Shown::kCorners, 2012},
    {F::kCentreZone, Shown::kCentreZone, 2068},
    {F::kCentreLatitude, Shown::kCentre, 2040},
    {F::kCentreLongitude, Shown::kCentre, 2039},
    {F::kHorizontalExtent, Shown::kCentre, 2042},
    {F::kVerticalExtent, Shown::kCentre, 2041},
    {F::kPointNumber, Shown::kPoints, 2025},
    {F::kPixelX, Shown::kPoints, 2016},
    {F::kPixelY, Shown::kPoints, 2017},
    {F::kPointZone, Shown::kPointZone, 2078},
    {F::kPointLatitude, Shown::kPoints, 2015},
    {F::kPointLongitude, Shown::kPoints, 2014},
    {F::kNextPoint, Shown::kPoints, 2026},
    {F::kPreviousPoint, Shown::kPoints, 2027},
    {F::kDeletePoint, Shown::kPoints, 2028},
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
