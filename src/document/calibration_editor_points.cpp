// The calibration point fields: moving between the nine points, deleting
// one, and the clicks in the image view that pick or select points.

#include <cstdlib>
#include <string>

#include "document/application_state.h"
#include "document/calibration_controls.h"
#include "document/calibration_editor.h"
#include "document/calibration_point_list.h"
#include "document/document.h"
#include "geo/number_text.h"

namespace kv {

using namespace calib;

namespace {

std::int32_t PixelFromText(const std::string& text) {
  const double value = LeadingInteger(text);
  if (value > 2147483647.0) return 2147483647;
  if (value < -2147483647.0) return -2147483647;
  return static_cast<std::int32_t>(value);
}

}  // namespace

void CalibrationEditor::FillPointFields() {
  SetText(kPointNumber, std::to_string(current_point_ + 1));
  const CalibrationPoint point =
      record().points ? PointAt(*record().points, current_point_) : CalibrationPoint{};
  if (!IsSetPoint(point)) {
    for (int control : {kPixelX, kPixelY, kPointLatitude, kPointLongitude, kPointZone}) {
      SetText(control, std::string());
    }
    ForgetPosition(kPointLatitude);
  } else {
    SetText(kPixelX, std::to_string(point.pixel_x));
    SetText(kPixelY, std::to_string(point.pixel_y));
    ShowPosition(kPointLatitude, {point.latitude, point.longitude});
  }
  point_fields_changed_ = false;
}

void CalibrationEditor::StoreCurrentPoint() {
  if (!PointFieldsVisible()) return;
  CalibrationPoint& point = PointAt(EnsurePoints(&record()), current_point_);
  point.pixel_x = point.adjusted_x = PixelFromText(Text(kPixelX));
  point.pixel_y = point.adjusted_y = PixelFromText(Text(kPixelY));
  bool bad_latitude = false;
  std::optional<LatLon> position;
  if (!Text(kPointLatitude).empty() && !Text(kPointLongitude).empty()) {
    position = ReadPosition(kPointLatitude, &bad_latitude);
  }
  point.latitude = position ? position->latitude : 0.0;
  point.longitude = position ? position->longitude : 0.0;
  point_fields_changed_ = false;
}

bool CalibrationEditor::StorePointIfChanged() {
  if (!point_fields_changed_) return true;
  if (ZoneRefused(kPointLatitude)) return false;
  StoreCurrentPoint();
  modified_ = true;
  RepaintView();
  return true;
}

std::optional<CalibrationResiduals> CalibrationEditor::Residuals() const {
  if (!PointFieldsVisible() || !record().points ||
      CountSetPoints(*record().points) < kResidualMinimumPoints) {
    return std::nullopt;
  }
  return ComputeCalibrationResiduals(record());
}

void CalibrationEditor::RepaintView() {
  if (context_.view != nullptr) context_.view->RepaintPoints();
}

void CalibrationEditor::ShowCurrentPointInView(bool follow_it) {
  if (context_.view == nullptr) return;
  const CalibrationPoint point =
      record().points ? PointAt(*record().points, current_point_) : CalibrationPoint{};
  context_.view->HighlightPoint(point.pixel_x, point.pixel_y, current_point_, follow_it);
  if (follow_it) context_.view->BlinkPoint(current_point_);
}

void CalibrationEditor::GoToPoint(int index) {
  if (index < 0 || index >= kCalibrationPointCount) return;
  if (!StorePointIfChanged()) return;
  current_point_ = index;
  FillPointFields();
  ShowCurrentPointInView(follow());
}

void CalibrationEditor::NextPoint() { GoToPoint(current_point_ + 1); }

void CalibrationEditor::PreviousPoint() { GoToPoint(current_point_ - 1); }

void CalibrationEditor::DeleteCurrentPoint() {
  if (!record().points) return;
  DeletePointAt(&*record().points, current_point_);
  FillPointFields();
  modified_ = true;
  RepaintView();
}

void CalibrationEditor::ImageClicked(int pixel_x, int pixel_y) {
  if (!PointFieldsVisible()) return;
  if (pick_) {
    if (ZoneRefused(kPointLatitude)) return;
    StoreCurrentPoint();
    CalibrationPoint& point = PointAt(EnsurePoints(&record()), current_point_);
    point.pixel_x = point.adjusted_x = pixel_x;
    point.pixel_y = point.adjusted_y = pixel_y;
    FillPointFields();
    modified_ = true;
    RepaintView();
    return;
  }
  if (!record().points) return;
  const int found = FindPointNear(*record().points, pixel_x, pixel_y);
  if (found < 0 || found == current_point_) return;
  GoToPoint(found);
}

void CalibrationEditor::PointDragged(int index, int pixel_x, int pixel_y) {
  if (!pick_ || !PointFieldsVisible()) return;
  GoToPoint(index);
  // The current point's typed fields were refused: it stays current.
  if (current_point_ != index) return;
  ImageClicked(pixel_x, pixel_y);
}

}  // namespace kv
