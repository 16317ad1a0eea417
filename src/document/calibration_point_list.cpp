#include "document/calibration_point_list.h"

#include <cstdlib>

namespace kv {

bool IsSetPoint(const CalibrationPoint& point) {
  return point.latitude != 0.0 || point.longitude != 0.0 || point.pixel_x != 0 ||
         point.pixel_y != 0;
}

bool AnyPointSet(const CalibrationPoints& points) { return CountSetPoints(points) > 0; }

int CountSetPoints(const CalibrationPoints& points) {
  int count = 0;
  for (const CalibrationPoint& point : points) count += IsSetPoint(point) ? 1 : 0;
  return count;
}

void DeletePointAt(CalibrationPoints* points, int index) {
  if (index < 0 || index >= kCalibrationPointCount) return;
  for (int i = index; i + 1 < kCalibrationPointCount; ++i)
    PointAt(*points, i) = PointAt(*points, i + 1);
  (*points)[kCalibrationPointCount - 1] = CalibrationPoint{};
}

int FindPointNear(const CalibrationPoints& points, int pixel_x, int pixel_y) {
  for (int i = 0; i < kCalibrationPointCount; ++i) {
    const CalibrationPoint& point = PointAt(points, i);
    if (!IsSetPoint(point)) continue;
    if (std::abs(point.pixel_x - pixel_x) <= kPointSelectDistance &&
        std::abs(point.pixel_y - pixel_y) <= kPointSelectDistance) {
      return i;
    }
  }
  return -1;
}

CalibrationPoints& EnsurePoints(CalibrationRecord* record) {
  if (!record->points) record->points.emplace();
  return *record->points;
}

}  // namespace kv
