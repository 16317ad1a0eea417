#include "calibration/chart_calibration.h"

#include <cmath>

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
  std::vector<WorldXY> pixels;
  for (const ChartCalibrationPoint& point : usable)
    pixels.push_back({point.pixel_x, point.pixel_y});
  std::vector<ChartCalibrationPoint> chosen;
  for (std::size_t index : NearestToNinePoints(pixels, width, height)) {
    chosen.push_back(usable[index]);
  }
  return chosen;
}

}  // namespace

bool CalibrateChart(const std::vector<ChartCalibrationPoint>& references,
                    const std::optional<std::string>& datum_name, std::int32_t width,
                    std::int32_t height, CalibrationRecord* record) {
  ClearCalibrationRecord(record);
  record->width = width;
  record->height = height;
  std::vector<ChartCalibrationPoint> usable;
  for (const ChartCalibrationPoint& point : references) {
    if (IsUsable(point)) usable.push_back(point);
  }
  if (usable.size() < 2) return false;
  record->proj_mode = kCalibrationKnownPoints;
  if (datum_name) record->datum_name = std::string(DatumNameOf(*datum_name));
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
  // The points are the chart's own: a fit that misses them shows the
  // projection's curve, not a typing mistake.
  record->source_points = points;
  BoundsFromPoints(record);
  LimitBounds(record);
  return true;
}

}  // namespace kv
