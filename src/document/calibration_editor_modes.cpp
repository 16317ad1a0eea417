// The corner and centre fields of the calibration dialog, switching between
// the three ways of giving the bounds, and validating what was typed.

#include <cmath>

#include "base/string_ids.h"
#include "document/application_state.h"
#include "document/calibration_editor.h"
#include "document/calibration_point_list.h"
#include "document/document.h"

namespace kv {

using F = CalibrationField;

namespace {

// The extents are shown with this many decimals.
constexpr int kExtentDecimals = 8;

double BoundFromText(const std::string& text, std::string_view negative_letters) {
  return text.empty() ? 0.0 : ParsePosition(text, negative_letters);
}

// The latitude and longitude fields a refused bound sends the user to.
struct PositionGroupFields {
  CalibrationField latitude;
  CalibrationField longitude;
};

PositionGroupFields FirstPositionOf(CalibrationMode mode) {
  switch (mode) {
    case CalibrationMode::kCentre:
      return {F::kCentreLatitude, F::kCentreLongitude};
    case CalibrationMode::kPoints:
      return {F::kPointLatitude, F::kPointLongitude};
    case CalibrationMode::kCorners:
      break;
  }
  return {F::kNorthWestLatitude, F::kNorthWestLongitude};
}

bool AllZero(const GeoBounds& bounds) {
  return bounds.north == 0.0 && bounds.west == 0.0 && bounds.south == 0.0 && bounds.east == 0.0;
}

}  // namespace

CImage* CalibrationEditor::CalibratedImage() const {
  // The image may have left the document since the dialog opened.
  for (const std::unique_ptr<CImage>& image : context_.document.container().images()) {
    if (image.get() == image_) return image_;
  }
  return nullptr;
}

GeoBounds CalibrationEditor::BoundsOfImage() const {
  GeoBounds bounds;
  if (CalibratedImage() == nullptr) return bounds;
  const std::string_view letters = position_texts_.negative_letters;
  bounds.north = BoundFromText(image_->corner_text(kTopLeftLatitude), letters);
  bounds.west = BoundFromText(image_->corner_text(kTopLeftLongitude), letters);
  bounds.south = BoundFromText(image_->corner_text(kBottomRightLatitude), letters);
  bounds.east = BoundFromText(image_->corner_text(kBottomRightLongitude), letters);
  return bounds;
}

void CalibrationEditor::FillModeFields() {
  for (F field :
       {F::kNorthWestZone, F::kNorthWestLatitude, F::kNorthWestLongitude, F::kSouthEastZone,
        F::kSouthEastLatitude, F::kSouthEastLongitude, F::kCentreZone, F::kCentreLatitude,
        F::kCentreLongitude, F::kHorizontalExtent, F::kVerticalExtent}) {
    SetText(field, std::string());
  }
  ForgetPosition(F::kNorthWestLatitude);
  ForgetPosition(F::kSouthEastLatitude);
  ForgetPosition(F::kCentreLatitude);
  panel_.shown_centre.reset();
  if (panel_.mode == CalibrationMode::kCorners) FillCornerFields();
  if (panel_.mode == CalibrationMode::kCentre) FillCentreFields();
}

void CalibrationEditor::FillCornerFields() {
  if (CalibratedImage() == nullptr) return;
  const GeoBounds bounds = BoundsOfImage();
  const bool north_west_given = !image_->corner_text(kTopLeftLatitude).empty() ||
                                !image_->corner_text(kTopLeftLongitude).empty();
  const bool south_east_given = !image_->corner_text(kBottomRightLatitude).empty() ||
                                !image_->corner_text(kBottomRightLongitude).empty();
  if (north_west_given) ShowPosition(F::kNorthWestLatitude, {bounds.north, bounds.west});
  if (south_east_given) ShowPosition(F::kSouthEastLatitude, {bounds.south, bounds.east});
}

void CalibrationEditor::FillCentreFields() {
  const GeoBounds bounds = BoundsOfImage();
  if (AllZero(bounds)) return;
  const CentreExtents centre = CentreFromBounds(bounds);
  ShowPosition(F::kCentreLatitude, {centre.latitude, centre.longitude});
  SetText(F::kHorizontalExtent,
          FormatFixed(StatuteFromNauticalMiles(centre.horizontal), kExtentDecimals));
  SetText(F::kVerticalExtent,
          FormatFixed(StatuteFromNauticalMiles(centre.vertical), kExtentDecimals));
  panel_.shown_centre = ShownCentre{bounds, Text(F::kHorizontalExtent), Text(F::kVerticalExtent)};
}

FieldRefusal CalibrationEditor::Fail(FieldRefusal refusal, CalibrationField focus) {
  const std::uint32_t message = kFirstRefusalString + static_cast<std::uint32_t>(refusal) - 1;
  context_.prompts.ShowValidationError(String(message), String(kValidationCaptionString));
  focus_request_ = focus;
  return refusal;
}

FieldRefusal CalibrationEditor::ValidateAndStoreModeFields() {
  if (CalibratedImage() == nullptr) return FieldRefusal::kNone;
  GeoBounds bounds;
  FieldRefusal refusal = FieldRefusal::kNone;
  switch (panel_.mode) {
    case CalibrationMode::kCorners:
      refusal = CornerBounds(&bounds);
      break;
    case CalibrationMode::kCentre:
      refusal = CentreBounds(&bounds);
      break;
    case CalibrationMode::kPoints:
      PointBounds(&bounds);
      break;
  }
  if (refusal != FieldRefusal::kNone || AllZero(bounds)) return refusal;
  const PositionGroupFields first = FirstPositionOf(panel_.mode);
  if (bounds.west > bounds.east) return Fail(FieldRefusal::kBadLongitude, first.longitude);
  if (bounds.north < bounds.south) return Fail(FieldRefusal::kBadLatitude, first.latitude);
  StoreBounds(bounds);
  return FieldRefusal::kNone;
}

// Leaves all four bounds 0 when the fields give nothing to store.
FieldRefusal CalibrationEditor::CentreBounds(GeoBounds* bounds) {
  if (panel_.shown_centre && ShowsUnchangedPosition(F::kCentreLatitude) &&
      Text(F::kHorizontalExtent) == panel_.shown_centre->horizontal &&
      Text(F::kVerticalExtent) == panel_.shown_centre->vertical) {
    *bounds = panel_.shown_centre->bounds;
    return FieldRefusal::kNone;
  }
  const std::optional<double> horizontal = ParseNumberText(Text(F::kHorizontalExtent));
  if (Text(F::kHorizontalExtent).empty()) return FieldRefusal::kNone;
  if (!horizontal || *horizontal <= 0.0) {
    return Fail(FieldRefusal::kBadScale, F::kHorizontalExtent);
  }
  std::optional<double> vertical = ParseNumberText(Text(F::kVerticalExtent));
  if (!vertical || *vertical <= 0.0) vertical = horizontal;
  if (Text(F::kCentreLatitude).empty()) return FieldRefusal::kNone;
  if (ZoneRefused(F::kCentreLatitude)) return FieldRefusal::kBadCentre;
  bool bad_latitude = false;
  const std::optional<LatLon> centre = ReadPosition(F::kCentreLatitude, &bad_latitude);
  if (!centre) {
    return Fail(FieldRefusal::kBadCentre, bad_latitude ? F::kCentreLatitude : F::kCentreLongitude);
  }
  *bounds =
      BoundsFromCentre({centre->latitude, centre->longitude, NauticalFromStatuteMiles(*horizontal),
                        NauticalFromStatuteMiles(*vertical)});
  return FieldRefusal::kNone;
}

FieldRefusal CalibrationEditor::CornerBounds(GeoBounds* bounds) {
  if (ZoneRefused(F::kNorthWestLatitude)) return FieldRefusal::kBadLatitude;
  if (ZoneRefused(F::kSouthEastLatitude)) return FieldRefusal::kBadLatitude;
  bool bad_latitude = false;
  const std::optional<LatLon> north_west = ReadPosition(F::kNorthWestLatitude, &bad_latitude);
  if (!north_west) {
    return Fail(bad_latitude ? FieldRefusal::kBadLatitude : FieldRefusal::kBadLongitude,
                bad_latitude ? F::kNorthWestLatitude : F::kNorthWestLongitude);
  }
  const std::optional<LatLon> south_east = ReadPosition(F::kSouthEastLatitude, &bad_latitude);
  if (!south_east) {
    return Fail(bad_latitude ? FieldRefusal::kBadLatitude : FieldRefusal::kBadLongitude,
                bad_latitude ? F::kSouthEastLatitude : F::kSouthEastLongitude);
  }
  *bounds = {north_west->latitude, north_west->longitude, south_east->latitude,
             south_east->longitude};
  return FieldRefusal::kNone;
}

void CalibrationEditor::PointBounds(GeoBounds* bounds) {
  CalibrationRecord solved = record();
  if (solved.width == 0 && solved.height == 0) {
    solved.width = static_cast<std::int32_t>(image_->map_width());
    solved.height = static_cast<std::int32_t>(image_->map_height());
  }
  BoundsFromPoints(&solved);
  // Fewer than two points give no bounds; limiting them would invent some.
  if (HasBounds(solved)) LimitBounds(&solved);
  *bounds = {solved.north, solved.west, solved.south, solved.east};
}

void CalibrationEditor::StoreBounds(const GeoBounds& bounds) {
  CalibrationRecord& calibration = record();
  calibration.north = bounds.north;
  calibration.west = bounds.west;
  calibration.south = bounds.south;
  calibration.east = bounds.east;
  SetCornerTextsFromBounds(*image_, calibration);
  context_.document.image_list().Refresh(*image_);
}

bool CalibrationEditor::SelectMode(CalibrationMode mode) {
  if (mode == panel_.mode) return true;
  const Action action(this, CalibrationChange::kMode);
  const bool leaving_points = panel_.mode == CalibrationMode::kPoints;
  if (leaving_points && record().points && IsSetPoint((*record().points)[0])) {
    if (!context_.prompts.AskYesNo(String(kLeavePointsQuestionString),
                                   String(kValidationCaptionString))) {
      return false;
    }
  }
  if (leaving_points && ZoneRefused(F::kPointLatitude)) return false;
  if (leaving_points) StoreCurrentPoint();
  if (ValidateAndStoreModeFields() != FieldRefusal::kNone) return false;
  if (leaving_points) {
    ClearPoints();
    pick_ = false;
    if (context_.view != nullptr) context_.view->SetCalibrateCursor(false);
    RepaintView();
  }
  panel_.mode = mode;
  if (mode == CalibrationMode::kPoints) {
    MakePointsFromBounds();
    panel_.current_point = 0;
  }
  panel_.modified = true;
  FillModeFields();
  FillPointFields();
  if (mode == CalibrationMode::kPoints) ShowCurrentPointInView(follow());
  return true;
}

void CalibrationEditor::MakePointsFromBounds() {
  if (record().points && AnyPointSet(*record().points)) return;
  if (!HasBounds(record()) || CalibratedImage() == nullptr) return;
  CalibrationPoints& points = EnsurePoints(&record());
  points[0] = CalibrationPoint{};
  points[0].latitude = record().north;
  points[0].longitude = record().west;
  points[1] = CalibrationPoint{};
  points[1].latitude = record().south;
  points[1].longitude = record().east;
  points[1].pixel_x = points[1].adjusted_x = static_cast<std::int32_t>(image_->map_width());
  points[1].pixel_y = points[1].adjusted_y = static_cast<std::int32_t>(image_->map_height());
  RepaintView();
}

void CalibrationEditor::ClearPoints() {
  if (record().points) record().points->fill(CalibrationPoint{});
  panel_.point_fields_changed = false;
  panel_.current_point = 0;
}

}  // namespace kv
