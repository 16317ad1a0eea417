#include "document/calibration_point_table.h"

#include "document/calibration_point_list.h"

namespace kv {

std::vector<PointTableRow> MakePointTable(const CalibrationPoints& points,
                                          const CalibrationResiduals* residuals,
                                          const PositionNotation& notation) {
  std::vector<PointTableRow> rows;
  for (int index = 0; index < kCalibrationPointCount; ++index) {
    const CalibrationPoint& point = PointAt(points, index);
    if (!IsSetPoint(point)) continue;
    PointTableRow row;
    row.index = index;
    row.pixel_x = std::to_string(point.pixel_x);
    row.pixel_y = std::to_string(point.pixel_y);
    const PositionFields shown = notation.Format({point.latitude, point.longitude});
    row.latitude = shown.zone.empty() ? shown.latitude : shown.zone + " " + shown.latitude;
    row.longitude = shown.longitude;
    if (residuals != nullptr && residuals->status == ResidualStatus::kOk) {
      if (const PointResidual* residual = FindPointResidual(*residuals, index)) {
        row.residual_pixels = residual->pixels;
        row.residual_metres = residual->metres;
        row.suspect = residual->outlier;
      }
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace kv
