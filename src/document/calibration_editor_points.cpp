// The calibration point fields: moving between the nine points, deleting
// one, and the clicks in the image view that pick or select points.

#include <cstdlib>
#include <string>

#include "document/application_state.h"
#include "document/calibration_editor.h"
#include "document/calibration_point_list.h"
#include "document/document.h"
#include "geo/number_text.h"

namespace kv {

using F = CalibrationField;

namespace {

std::int32_t PixelFromText(const std::string& text) {
  const double value = LeadingInteger(text);
  if (value > 2147483647.0) return 2147483647;
  if (value < -2147483647.0) return -2147483647;
  return static_cast<std::int32_t>(value);
}

}  // namespace

void CalibrationEditor::FillPointFields() {
  SetText(F::kPointNumber, std::to_string(panel_.current_point + 1));
  const CalibrationPoint point =
      record().points ? PointAt(*record().points, panel_.current_point) : CalibrationPoint{};
  if (!IsSetPoint(point)) {
    for (F field : {F::kPixelX, F::kPixelY, F::kPointLatitude, F::kPointLongitude, F::kPointZone}) {
      SetText(field, std::string());
    }
    ForgetPosition(F::kPointLatitude);
  } else {
    SetText(F::kPixelX, std::to_string(point.pixel_x));
    SetText(F::kPixelY, std::to_string(point.pixel_y));
    ShowPosition(F::kPointLatitude, {point.latitude, point.longitude});
  }
  panel_.point_fields_changed = false;
}

CalibrationPoint CalibrationEditor::PointOfFields(const CalibrationPoint& stored,
                                                  bool empty_unread) const {
  CalibrationPoint point = stored;
  point.pixel_x = point.adjusted_x = PixelFromText(Text(F::kPixelX));
  point.pixel_y = point.adjusted_y = PixelFromText(Text(F::kPixelY));
  bool bad_latitude = false;
  std::optional<LatLon> position;
  if (!Text(F::kPointLatitude).empty() && !Text(F::kPointLongitude).empty()) {
    position = ReadPosition(F::kPointLatitude, &bad_latitude);
  }
  if (position || empty_unread) {
    point.latitude = position ? position->latitude : 0.0;
    point.longitude = position ? position->longitude : 0.0;
  }
  return point;
}

void CalibrationEditor::StoreCurrentPoint() {
  if (!PointFieldsVisible()) return;
  CalibrationPoint& point = PointAt(EnsurePoints(&record()), panel_.current_point);
  point = PointOfFields(point, true);
  panel_.point_fields_changed = false;
}

CalibrationRecord CalibrationEditor::DraftRecord() const {
  CalibrationRecord draft = record();
  if (panel_.point_fields_changed && PointFieldsVisible()) {
    CalibrationPoint& point = PointAt(EnsurePoints(&draft), panel_.current_point);
    point = PointOfFields(point, false);
  }
  return draft;
}

bool CalibrationEditor::StorePointIfChanged() {
  if (!panel_.point_fields_changed) return true;
  if (ZoneRefused(F::kPointLatitude)) return false;
  StoreCurrentPoint();
  panel_.modified = true;
  RepaintView();
  return true;
}

std::optional<CalibrationResiduals> CalibrationEditor::Residuals() const {
  const CalibrationRecord draft = DraftRecord();
  if (!PointFieldsVisible() || !draft.points ||
      CountSetPoints(*draft.points) < kResidualMinimumPoints) {
    return std::nullopt;
  }
  return ComputeCalibrationResiduals(draft);
}

std::vector<PointTableRow> CalibrationEditor::PointTable() const {
  const CalibrationRecord draft = DraftRecord();
  if (!PointFieldsVisible() || !draft.points) return {};
  const std::optional<CalibrationResiduals> residuals = Residuals();
  return MakePointTable(*draft.points, residuals ? &*residuals : nullptr, Notation());
}

bool CalibrationEditor::ShowsGrid() const { return Notation().is_grid(); }

void CalibrationEditor::RepaintView() {
  if (context_.view != nullptr) context_.view->RepaintPoints();
}

void CalibrationEditor::ShowCurrentPointInView(bool follow_it) {
  if (context_.view == nullptr) return;
  const CalibrationPoint point =
      record().points ? PointAt(*record().points, panel_.current_point) : CalibrationPoint{};
  context_.view->HighlightPoint(point.pixel_x, point.pixel_y, panel_.current_point, follow_it);
  if (follow_it) context_.view->BlinkPoint(panel_.current_point);
}

void CalibrationEditor::GoToPoint(int index) {
  if (index < 0 || index >= kCalibrationPointCount) return;
  if (!StorePointIfChanged()) return;
  panel_.current_point = index;
  FillPointFields();
  ShowCurrentPointInView(follow());
}

void CalibrationEditor::NextPoint() {
  const Action action(this, std::nullopt);
  GoToPoint(panel_.current_point + 1);
}

void CalibrationEditor::SelectPoint(int index) {
  const Action action(this, std::nullopt);
  if (index != panel_.current_point) GoToPoint(index);
  if (index != panel_.current_point || context_.view == nullptr || !record().points) return;
  const CalibrationPoint& point = PointAt(*record().points, panel_.current_point);
  context_.view->HighlightPoint(point.pixel_x, point.pixel_y, panel_.current_point, false);
  context_.view->CentreOnPixel(point.pixel_x, point.pixel_y);
}

void CalibrationEditor::PreviousPoint() {
  const Action action(this, std::nullopt);
  GoToPoint(panel_.current_point - 1);
}

void CalibrationEditor::DeleteCurrentPoint() {
  if (!record().points) return;
  const Action action(this, CalibrationChange::kPointDeleted);
  DeletePointAt(&*record().points, panel_.current_point);
  FillPointFields();
  panel_.modified = true;
  RepaintView();
}

void CalibrationEditor::ImageClicked(int pixel_x, int pixel_y) {
  if (!PointFieldsVisible()) {
    help_text_ = String(kClickNeedsPointsString);
    return;
  }
  const Action action(this,
                      pick_ ? std::optional(CalibrationChange::kPointPosition) : std::nullopt);
  if (pick_) {
    if (ZoneRefused(F::kPointLatitude)) return;
    StoreCurrentPoint();
    CalibrationPoint& point = PointAt(EnsurePoints(&record()), panel_.current_point);
    point.pixel_x = point.adjusted_x = pixel_x;
    point.pixel_y = point.adjusted_y = pixel_y;
    FillPointFields();
    panel_.modified = true;
    RepaintView();
    return;
  }
  const int found = record().points ? FindPointNear(*record().points, pixel_x, pixel_y) : -1;
  if (found < 0) {
    // Without pick a click only selects a point: the user must hear why the
    // click set nothing.
    help_text_ = String(kClickNeedsPickString);
    return;
  }
  if (found != panel_.current_point) GoToPoint(found);
}

void CalibrationEditor::PointDragged(int index, int pixel_x, int pixel_y) {
  if (!pick_ || !PointFieldsVisible()) return;
  const Action action(this, CalibrationChange::kPointPosition);
  GoToPoint(index);
  // The current point's typed fields were refused: it stays current.
  if (panel_.current_point != index) return;
  ImageClicked(pixel_x, pixel_y);
}

}  // namespace kv
