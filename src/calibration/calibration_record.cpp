#include "calibration/calibration_record.h"

namespace kv {

void ClearCalibrationRecord(CalibrationRecord* record) { *record = CalibrationRecord{}; }

bool IsEmptyPosition(const CalibrationPoint& point) {
  return point.latitude == 0.0 && point.longitude == 0.0;
}

int CountPositionedPoints(const CalibrationRecord& record) {
  if (!record.points) return 0;
  int count = 0;
  while (count < kCalibrationPointCount &&
         !IsEmptyPosition((*record.points)[static_cast<std::size_t>(count)])) {
    ++count;
  }
  return count;
}

}  // namespace kv
