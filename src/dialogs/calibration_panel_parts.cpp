#include "dialogs/calibration_panel_parts.h"

#include <span>

#include "dialogs/calibration_controls.h"

namespace kv {

namespace {

using F = CalibrationField;
using namespace calib;

struct ControlPart {
  int control;
  CalibrationField part;
  CalibrationField centre_part = F::kNone;  // kNone: as `part`
};

constexpr ControlPart kFieldControls[] = {
    {kKind, F::kKind},
    {kSystem, F::kSystem},
    {kDatum, F::kDatum},
    {kProjection, F::kProjection},
    {kParameterKeys[0], F::kParameterKey1},
    {kParameterKeys[1], F::kParameterKey2},
    {kParameterKeys[2], F::kParameterKey3},
    {kParameterKeys[3], F::kParameterKey4},
    {kParameterKeys[4], F::kParameterKey5},
    {kParameterKeys[5], F::kParameterKey6},
    {kParameterValues[0], F::kParameterValue1},
    {kParameterValues[1], F::kParameterValue2},
    {kParameterValues[2], F::kParameterValue3},
    {kParameterValues[3], F::kParameterValue4},
    {kParameterValues[4], F::kParameterValue5},
    {kParameterValues[5], F::kParameterValue6},
    {kModeCorners, F::kModeCorners},
    {kModeCentre, F::kModeCentre},
    {kModePoints, F::kModePoints},
    {kFirstLatitude, F::kNorthWestLatitude, F::kCentreLatitude},
    {kFirstLongitude, F::kNorthWestLongitude, F::kCentreLongitude},
    {kSecondLatitude, F::kSouthEastLatitude, F::kHorizontalExtent},
    {kSecondLongitude, F::kSouthEastLongitude, F::kVerticalExtent},
    {kFirstZone, F::kNorthWestZone, F::kCentreZone},
    {kSecondZone, F::kSouthEastZone},
    {kPointNumber, F::kPointNumber},
    {kPixelX, F::kPixelX},
    {kPixelY, F::kPixelY},
    {kPointLatitude, F::kPointLatitude},
    {kPointLongitude, F::kPointLongitude},
    {kPointZone, F::kPointZone},
    {kNextPoint, F::kNextPoint},
    {kPreviousPoint, F::kPreviousPoint},
    {kDeletePoint, F::kDeletePoint},
    {kFollow, F::kFollow},
    {kPick, F::kPick},
    {kResidualsTable, F::kResidualsTable},
    {kKnownPointsNote, F::kKnownPointsNote},
    {kThreeByThreeNote, F::kThreeByThreeNote},
    {kHelpLine, F::kHelpLine},
};

// Labels shown with the part they name. The captions of the rectangle and
// point positions are placed by the mode (CaptionLabelOf) and start here
// with the part of their first row.
constexpr ControlPart kLabels[] = {
    {kKindLabel, F::kKind},
    {kSystemLabel, F::kSystem},
    {kDatumLabel, F::kDatum},
    {kProjectionLabel, F::kProjection},
    {kFirstLatitudeLabel, F::kNorthWestLatitude, F::kCentreLongitude},
    {kFirstLongitudeLabel, F::kNorthWestLongitude, F::kCentreLatitude},
    {kSecondLatitudeLabel, F::kSouthEastLatitude, F::kVerticalExtent},
    {kSecondLongitudeLabel, F::kSouthEastLongitude, F::kHorizontalExtent},
    {kFirstZoneLabel, F::kNorthWestZone, F::kCentreZone},
    {kSecondZoneLabel, F::kSouthEastZone},
    {kPointNumberLabel, F::kPointNumber},
    {kPixelXLabel, F::kPixelX},
    {kPixelYLabel, F::kPixelY},
    {kPointLatitudeLabel, F::kPointLatitude},
    {kPointLongitudeLabel, F::kPointLongitude},
    {kPointZoneLabel, F::kPointZone},
    {kKnownPointsLabel, F::kKnownPointsNote},
};

CalibrationField PartIn(const ControlPart& entry, CalibrationMode mode) {
  return mode == CalibrationMode::kCentre && entry.centre_part != F::kNone ? entry.centre_part
                                                                           : entry.part;
}

}  // namespace

CalibrationField PartOfControl(int control, CalibrationMode mode) {
  for (const auto& table :
       {std::span<const ControlPart>(kFieldControls), std::span<const ControlPart>(kLabels)}) {
    for (const ControlPart& entry : table) {
      if (entry.control == control) return PartIn(entry, mode);
    }
  }
  return F::kNone;
}

int ControlOfPart(CalibrationField field) {
  if (field == F::kNone) return 0;
  for (const ControlPart& entry : kFieldControls) {
    if (entry.part == field || entry.centre_part == field) return entry.control;
  }
  return 0;
}

int CaptionLabelOf(CalibrationField field) {
  if (field == F::kNone) return 0;
  for (const ControlPart& entry : kLabels) {
    if (entry.part == field || entry.centre_part == field) return entry.control;
  }
  return 0;
}

}  // namespace kv
