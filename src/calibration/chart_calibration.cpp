#include "calibration/chart_calibration.h"

#include <cmath>
#include <limits>

#include "calibration/calibration_bounds.h"
#include "calibration/calibration_keys.h"
#include "calibration/nine_point_layout.h"

namespace kv {
namespace {

bool IsUsable(const ChartCalibrationPoint& point) {
  return std::isfinite(point.pixel_x) && std::isfinite(point.pixel_y) &&
         std::isfinite(point.latitude) && std::isfinite(point.longitude) &&
         !(point.latitude == 0.0 && point.longitude == 0.0) && std::fabs(point.pixel_x) < 2e9 &&
         std::fabs(point.pixel_y) < 2e9;
}

std::vector<ChartCalibrationPoint> Chosen(const std::vector<ChartCalibrationPoint>& usable,
                                          std::int32_t width, std::int32_t height) {
  if (usable.size() <= static_cast<std::size_t>(kCalibrationPointCount)) return usable;
  std::vector<bool> taken(usable.size(), false);
  std::vector<ChartCalibrationPoint> chosen;
  for (const PixelPosition& target : NinePointPixels(width, height)) {
    std::size_t best = 0;
    double best_distance = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < usable.size(); ++i) {
      if (taken[i]) continue;
      const double dx = usable[i].pixel_x - target.x;
      const double dy = usable[i].pixel_y - target.y;
      const double distance = dx * dx + dy * dy;
      if (distance < best_distance) {
        best_distance = distance;
        best = i;
      }
    }
    taken[best] = true;
    chosen.push_back(usable[best]);
  }
  return chosen;
}

}  // namespace

void CalibrateChart(const std::vector<ChartCalibrationPoint>& references,
                    const std::optional<std::string>& datum_name, std::int32_t width,
                    std::int32_t height, CalibrationRecord* record) {
  ClearCalibrationRecord(record);
  record->width = width;
  record->height = height;
  record->proj_mode = kCalibrationKnownPoints;
  if (datum_name) record->datum_name = std::string(DatumNameOf(*datum_name));
  std::vector<ChartCalibrationPoint> usable;
  for (const ChartCalibrationPoint& point : references) {
    if (IsUsable(point)) usable.push_back(point);
  }
  CalibrationPoints points{};
  const std::vector<ChartCalibrationPoint> chosen = Chosen(usable, width, height);
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    CalibrationPoint& point = points[i];
    point.latitude = chosen[i].latitude;
    point.longitude = chosen[i].longitude;
    point.pixel_x = point.adjusted_x = static_cast<std::int32_t>(std::lround(chosen[i].pixel_x));
    point.pixel_y = point.adjusted_y = static_cast<std::int32_t>(std::lround(chosen[i].pixel_y));
  }
  record->points = points;
  BoundsFromPoints(record);
  LimitBounds(record);
}

}  // namespace kv
