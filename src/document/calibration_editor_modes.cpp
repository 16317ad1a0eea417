// The corner and centre fields of the calibration dialog, switching between
// the three ways of giving the bounds, and validating what was typed.

#include <cmath>

#include "document/application_state.h"
#include "document/calibration_controls.h"
#include "document/calibration_editor.h"
#include "document/calibration_point_list.h"
#include "document/document.h"

namespace kv {

using namespace calib;

namespace {

// The extents are shown with this many decimals.
constexpr int kExtentDecimals = 8;

double BoundFromText(const std::string& text, std::string_view negative_letters) {
  return text.empty() ? 0.0 : ParsePosition(text, negative_letters);
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
  for (int control : {kFirstLatitude, kFirstLongitude, kSecondLatitude, kSecondLongitude,
                      kFirstZone, kSecondZone}) {
    SetText(control, std::string());
  }
  ForgetPosition(kFirstLatitude);
  ForgetPosition(kSecondLatitude);
  shown_centre_.reset();
  if (mode_ == 0) FillCornerFields();
  if (mode_ == 1) FillCentreFields();
}

void CalibrationEditor::FillCornerFields() {
  if (CalibratedImage() == nullptr) return;
  const GeoBounds bounds = BoundsOfImage();
  const bool north_west_given = !image_->corner_text(kTopLeftLatitude).empty() ||
                                !image_->corner_text(kTopLeftLongitude).empty();
  const bool south_east_given = !image_->corner_text(kBottomRightLatitude).empty() ||
                                !image_->corner_text(kBottomRightLongitude).empty();
  if (north_west_given) ShowPosition(kFirstLatitude, {bounds.north, bounds.west});
  if (south_east_given) ShowPosition(kSecondLatitude, {bounds.south, bounds.east});
}

void CalibrationEditor::FillCentreFields() {
  const GeoBounds bounds = BoundsOfImage();
  if (AllZero(bounds)) return;
  const CentreExtents centre = CentreFromBounds(bounds);
  ShowPosition(kFirstLatitude, {centre.latitude, centre.longitude});
  SetText(kSecondLatitude,
          FormatFixed(StatuteFromNauticalMiles(centre.horizontal), kExtentDecimals));
  SetText(kSecondLongitude,
          FormatFixed(StatuteFromNauticalMiles(centre.vertical), kExtentDecimals));
  shown_centre_ = ShownCentre{bounds, Text(kSecondLatitude), Text(kSecondLongitude)};
}

void CalibrationEditor::Fail(int code, int focus) {
  const std::uint32_t message = static_cast<std::uint32_t>(2046 + (kBadScale - code));
  context_.prompts.ShowValidationError(String(message), String(kValidationCaption));
  focus_request_ = focus;
}

int CalibrationEditor::ValidateAndStoreModeFields() {
  if (CalibratedImage() == nullptr) return 0;
  GeoBounds bounds;
  int status = 0;
  switch (mode_) {
    case 1:
      status = CentreBounds(&bounds);
      break;
    case 2:
      status = PointBounds(&bounds);
      break;
    default:
      status = CornerBounds(&bounds);
      break;
  }
  if (status != 0) return status;
  if (AllZero(bounds)) return 0;
  const int latitude_field = mode_ == 2 ? kPointLatitude : kFirstLatitude;
  const int longitude_field = mode_ == 2 ? kPointLongitude : kFirstLongitude;
  if (bounds.west > bounds.east) {
    Fail(kBadLongitude, longitude_field);
    return kBadLongitude;
  }
  if (bounds.north < bounds.south) {
    Fail(kBadLatitude, latitude_field);
    return kBadLatitude;
  }
  StoreBounds(bounds);
  return 0;
}

// Leaves all four bounds 0 when the fields give nothing to store.
int CalibrationEditor::CentreBounds(GeoBounds* bounds) {
  if (shown_centre_ && ShowsUnchangedPosition(kFirstLatitude) &&
      Text(kSecondLatitude) == shown_centre_->horizontal &&
      Text(kSecondLongitude) == shown_centre_->vertical) {
    *bounds = shown_centre_->bounds;
    return 0;
  }
  const std::optional<double> horizontal = ParseNumberText(Text(kSecondLatitude));
  if (Text(kSecondLatitude).empty()) return 0;
  if (!horizontal || *horizontal <= 0.0) {
    Fail(kBadScale, kSecondLatitude);
    return kBadScale;
  }
  std::optional<double> vertical = ParseNumberText(Text(kSecondLongitude));
  if (!vertical || *vertical <= 0.0) vertical = horizontal;
  if (Text(kFirstLatitude).empty()) return 0;
  if (ZoneRefused(kFirstLatitude)) return kBadCentre;
  bool bad_latitude = false;
  const std::optional<LatLon> centre = ReadPosition(kFirstLatitude, &bad_latitude);
  if (!centre) {
    Fail(kBadCentre, bad_latitude ? kFirstLatitude : kFirstLongitude);
    return kBadCentre;
  }
  *bounds =
      BoundsFromCentre({centre->latitude, centre->longitude, NauticalFromStatuteMiles(*horizontal),
                        NauticalFromStatuteMiles(*vertical)});
  return 0;
}

int CalibrationEditor::CornerBounds(GeoBounds* bounds) {
  if (ZoneRefused(kFirstLatitude)) return kBadLatitude;
  if (ZoneRefused(kSecondLatitude)) return kBadLatitude;
  bool bad_latitude = false;
  const std::optional<LatLon> north_west = ReadPosition(kFirstLatitude, &bad_latitude);
  if (!north_west) {
    Fail(bad_latitude ? kBadLatitude : kBadLongitude,
         bad_latitude ? kFirstLatitude : kFirstLongitude);
    return bad_latitude ? kBadLatitude : kBadLongitude;
  }
  const std::optional<LatLon> south_east = ReadPosition(kSecondLatitude, &bad_latitude);
  if (!south_east) {
    Fail(bad_latitude ? kBadLatitude : kBadLongitude,
         bad_latitude ? kSecondLatitude : kSecondLongitude);
    return bad_latitude ? kBadLatitude : kBadLongitude;
  }
  *bounds = {north_west->latitude, north_west->longitude, south_east->latitude,
             south_east->longitude};
  return 0;
}

int CalibrationEditor::PointBounds(GeoBounds* bounds) {
  CalibrationRecord solved = record();
  if (solved.width == 0 && solved.height == 0) {
    solved.width = static_cast<std::int32_t>(image_->map_width());
    solved.height = static_cast<std::int32_t>(image_->map_height());
  }
  BoundsFromPoints(&solved);
  // Fewer than two points give no bounds; limiting them would invent some.
  if (HasBounds(solved)) LimitBounds(&solved);
  *bounds = {solved.north, solved.west, solved.south, solved.east};
  return 0;
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

bool CalibrationEditor::SelectMode(int mode) {
  if (mode < 0 || mode > 2 || mode == mode_) return mode == mode_;
  const bool leaving_points = mode_ == 2;
  if (leaving_points && record().points && IsSetPoint((*record().points)[0])) {
    if (!context_.prompts.AskYesNo(String(kLeavePointsQuestion), String(kValidationCaption))) {
      return false;
    }
  }
  if (leaving_points && ZoneRefused(kPointLatitude)) return false;
  if (leaving_points) StoreCurrentPoint();
  if (ValidateAndStoreModeFields() != 0) return false;
  if (leaving_points) {
    ClearPoints();
    pick_ = false;
    if (context_.view != nullptr) context_.view->SetCalibrateCursor(false);
    RepaintView();
  }
  mode_ = mode;
  if (mode == 2) {
    MakePointsFromBounds();
    current_point_ = 0;
  }
  modified_ = true;
  FillModeFields();
  FillPointFields();
  if (mode == 2) ShowCurrentPointInView(follow());
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
  point_fields_changed_ = false;
  current_point_ = 0;
}

}  // namespace kv
