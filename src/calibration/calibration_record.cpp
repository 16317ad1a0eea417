#include "calibration/calibration_record.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "geo/datum_table.h"

namespace kv {
namespace {

constexpr double kLatitudeLimit = 90.0;
constexpr double kLongitudeLimit = 180.0;

bool IsSetPoint(const CalibrationPoint& point) {
  return !IsEmptyPosition(point) || point.pixel_x != 0 || point.pixel_y != 0;
}

// The largest step in degrees that one pixel makes between two points.
// Values within this of the Earth's edge belong to a map that reaches it.
// Bounds alone say nothing of the pixel: they may be anything.
double DegreesPerPixel(const CalibrationRecord& record) {
  double step = 0.0;
  const auto widen = [&step](double degrees, double pixels) {
    if (pixels > 0.0 && std::isfinite(degrees)) step = std::max(step, std::fabs(degrees) / pixels);
  };
  if (!record.points) return step;
  const CalibrationPoints& points = *record.points;
  for (std::size_t i = 0; i < points.size(); ++i) {
    for (std::size_t j = i + 1; j < points.size(); ++j) {
      if (!IsSetPoint(points[i]) || !IsSetPoint(points[j])) continue;
      const double pixels = std::hypot(static_cast<double>(points[i].pixel_x) - points[j].pixel_x,
                                       static_cast<double>(points[i].pixel_y) - points[j].pixel_y);
      widen(points[i].latitude - points[j].latitude, pixels);
      widen(points[i].longitude - points[j].longitude, pixels);
    }
  }
  return step;
}

bool Within(double degrees, double limit, double tolerance) {
  return std::isfinite(degrees) && std::fabs(degrees) <= limit + tolerance;
}

std::string Described(const char* what, double degrees) {
  if (!std::isfinite(degrees)) return std::string(what) + " that is no finite number";
  char text[96];
  std::snprintf(text, sizeof text, "%s %.8f", what, degrees);
  return text;
}

std::string DescribedPoint(const char* what, double degrees, std::size_t index) {
  return Described(what, degrees) + " of point " + std::to_string(index + 1);
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

std::string OffTheEarthValue(const CalibrationRecord& record) {
  const double pixel = DegreesPerPixel(record);
  const struct {
    const char* name;
    double degrees;
    double limit;
  } bounds[] = {{"north bound", record.north, kLatitudeLimit},
                {"west bound", record.west, kLongitudeLimit},
                {"south bound", record.south, kLatitudeLimit},
                {"east bound", record.east, kLongitudeLimit}};
  for (const auto& bound : bounds) {
    if (!Within(bound.degrees, bound.limit, pixel)) return Described(bound.name, bound.degrees);
  }
  if (!record.points) return {};
  for (std::size_t i = 0; i < record.points->size(); ++i) {
    const CalibrationPoint& point = (*record.points)[i];
    if (!Within(point.latitude, kLatitudeLimit, pixel)) {
      return DescribedPoint("latitude", point.latitude, i);
    }
    if (!Within(point.longitude, kLongitudeLimit, pixel)) {
      return DescribedPoint("longitude", point.longitude, i);
    }
  }
  return {};
}

bool HasEarthPositions(const CalibrationRecord& record) { return OffTheEarthValue(record).empty(); }

void ClampBoundsToTheEarth(CalibrationRecord* record) {
  record->north = std::clamp(record->north, -kLatitudeLimit, kLatitudeLimit);
  record->south = std::clamp(record->south, -kLatitudeLimit, kLatitudeLimit);
  record->west = std::clamp(record->west, -kLongitudeLimit, kLongitudeLimit);
  record->east = std::clamp(record->east, -kLongitudeLimit, kLongitudeLimit);
}

bool IsSourcePoint(const CalibrationRecord& record, int index) {
  if (!record.source_points || !record.points || index < 0 || index >= kCalibrationPointCount) {
    return false;
  }
  const CalibrationPoint& point = (*record.points)[static_cast<std::size_t>(index)];
  return std::any_of(record.source_points->begin(), record.source_points->end(),
                     [&point](const CalibrationPoint& source) {
                       return !IsEmptyPosition(source) && source.latitude == point.latitude &&
                              source.longitude == point.longitude;
                     });
}

int NamedDatumRow(const CalibrationFrame& frame) {
  if (!frame.datum_name || frame.datum_name->empty()) return kWgs84DatumRow;
  const int row = FindDatum(*frame.datum_name);
  DatumInfo info;
  return row >= 0 && DatumInformation(row, &info) == kDatumKindDatum ? row : -1;
}

}  // namespace kv
