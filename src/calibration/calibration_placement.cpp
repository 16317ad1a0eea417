#include "calibration/calibration_placement.h"

#include "calibration/nine_point_layout.h"

namespace kv {
namespace {

constexpr int kMinimumPlacingPoints = 3;

std::vector<PlacingPoint> PointsOfRecord(const CalibrationRecord& record) {
  std::vector<PlacingPoint> placing;
  const int count = CountPositionedPoints(record);
  for (int i = 0; i < count; ++i) {
    const CalibrationPoint& point = (*record.points)[static_cast<std::size_t>(i)];
    placing.push_back({{point.pixel_x, point.pixel_y}, {point.latitude, point.longitude}});
  }
  return placing;
}

std::vector<PlacingPoint> PointsOnBounds(const CalibrationRecord& record) {
  std::vector<PlacingPoint> placing;
  if (!HasBounds(record) || record.width <= 0 || record.height <= 0) return placing;
  const double per_x = (record.east - record.west) / record.width;
  const double per_y = (record.north - record.south) / record.height;
  for (const PixelPosition& pixel : NinePointPixels(record.width, record.height)) {
    placing.push_back({pixel, {record.north - pixel.y * per_y, record.west + pixel.x * per_x}});
  }
  return placing;
}

}  // namespace

std::vector<PlacingPoint> PlacingPoints(const CalibrationRecord& record) {
  if (record.proj_mode != kCalibrationGeographic && record.points) {
    std::vector<PlacingPoint> points = PointsOfRecord(record);
    if (points.size() >= kMinimumPlacingPoints && FitControlPoints(LatLonControlPoints(points))) {
      return points;
    }
  }
  return PointsOnBounds(record);
}

std::vector<ControlPoint> LatLonControlPoints(const std::vector<PlacingPoint>& points) {
  std::vector<ControlPoint> control;
  for (const PlacingPoint& point : points) {
    control.push_back({{static_cast<double>(point.pixel.x), static_cast<double>(point.pixel.y)},
                       {point.position.longitude, point.position.latitude}});
  }
  return control;
}

}  // namespace kv
