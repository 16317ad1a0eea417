#include "calibration/calibration_record.h"

#include <cmath>

namespace kv {
namespace {

constexpr double kLatitudeLimit = 90.0;
constexpr double kLongitudeLimit = 180.0;

bool IsLatitude(double degrees) {
  return std::isfinite(degrees) && std::fabs(degrees) <= kLatitudeLimit;
}

bool IsLongitude(double degrees) {
  return std::isfinite(degrees) && std::fabs(degrees) <= kLongitudeLimit;
}

}  // namespace

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

bool HasBounds(const CalibrationRecord& record) {
  return record.north != 0.0 || record.west != 0.0 || record.south != 0.0 || record.east != 0.0;
}

bool HasEarthPositions(const CalibrationRecord& record) {
  if (!IsLatitude(record.north) || !IsLatitude(record.south) || !IsLongitude(record.west) ||
      !IsLongitude(record.east)) {
    return false;
  }
  if (!record.points) return true;
  for (const CalibrationPoint& point : *record.points) {
    if (!IsLatitude(point.latitude) || !IsLongitude(point.longitude)) return false;
  }
  return true;
}

}  // namespace kv
