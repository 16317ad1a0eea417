#ifndef KORVALE_DOCUMENT_CALIBRATION_FIELDS_H_
#define KORVALE_DOCUMENT_CALIBRATION_FIELDS_H_

// The parts of the calibration panel whose state the editor keeps: the
// kind and mode it edits, each field by what it holds, when each part is
// shown and the help line of each. The panel's window maps its controls to
// these parts.

#include <cstdint>

namespace kv {

// The calibration kinds, in the order of the kind list.
enum class CalibrationKind { kRectangular, kProjection, kKnownPoints, kThreeByThree };
inline constexpr int kCalibrationKindCount = 4;

// How a rectangular calibration gives its bounds; the other kinds always
// work with the points.
enum class CalibrationMode { kCorners, kCentre, kPoints };

enum class CalibrationField {
  kNone,
  kKind,
  kSystem,
  kDatum,
  kProjection,
  kParameterKey1,
  kParameterKey2,
  kParameterKey3,
  kParameterKey4,
  kParameterKey5,
  kParameterKey6,
  kParameterValue1,
  kParameterValue2,
  kParameterValue3,
  kParameterValue4,
  kParameterValue5,
  kParameterValue6,
  kModeCorners,
  kModeCentre,
  kModePoints,
  // The corners.
  kNorthWestZone,
  kNorthWestLatitude,
  kNorthWestLongitude,
  kSouthEastZone,
  kSouthEastLatitude,
  kSouthEastLongitude,
  // The centre and the extents in statute miles.
  kCentreZone,
  kCentreLatitude,
  kCentreLongitude,
  kHorizontalExtent,
  kVerticalExtent,
  // The current calibration point.
  kPointNumber,
  kPixelX,
  kPixelY,
  kPointZone,
  kPointLatitude,
  kPointLongitude,
  kNextPoint,
  kPreviousPoint,
  kDeletePoint,
  kFollow,
  kPick,
  kResidualsTable,
  kKnownPointsNote,
  kThreeByThreeNote,
  kHelpLine,
};

// The projection's parameters: key field, then value field, six times.
inline constexpr CalibrationField kParameterKeyFields[6] = {
    CalibrationField::kParameterKey1, CalibrationField::kParameterKey2,
    CalibrationField::kParameterKey3, CalibrationField::kParameterKey4,
    CalibrationField::kParameterKey5, CalibrationField::kParameterKey6};
inline constexpr CalibrationField kParameterValueFields[6] = {
    CalibrationField::kParameterValue1, CalibrationField::kParameterValue2,
    CalibrationField::kParameterValue3, CalibrationField::kParameterValue4,
    CalibrationField::kParameterValue5, CalibrationField::kParameterValue6};

// What decides whether a part is shown.
struct CalibrationPanelState {
  CalibrationKind kind = CalibrationKind::kRectangular;
  CalibrationMode mode = CalibrationMode::kCorners;
  bool zoned_grid = false;  // positions typed as a zoned grid reference
};

// Whether the fields of the current point are shown.
bool ShowsPointFields(const CalibrationPanelState& state);
bool IsShown(CalibrationField field, const CalibrationPanelState& state);

// String ID of the help line while `field` has the focus in `mode`, or 0
// for an empty line: a field of the corners or the centre has none in the
// other mode, where it is not there.
std::uint32_t HelpLineString(CalibrationField field, CalibrationMode mode);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_CALIBRATION_FIELDS_H_
