#include "calibration/calibration_bounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace kv {
namespace {

constexpr double kMinutesPerDegree = 60.0;

double ToRadians(double degrees) { return degrees * kBoundsPi / 180.0; }
double ToDegrees(double radians) { return radians * 180.0 / kBoundsPi; }

// Rounding can push a cosine a hair past 1, where acos and asin give NaN.
double ClampUnit(double value) { return std::clamp(value, -1.0, 1.0); }

// In use for the bounds: any of latitude, longitude or pixel x set.
bool IsInUse(const CalibrationPoint& point) {
  return point.latitude != 0.0 || point.longitude != 0.0 || point.pixel_x != 0;
}

int CountPointsInUse(const CalibrationRecord& record) {
  if (!record.points) return 0;
  int count = 0;
  while (count < kCalibrationPointCount &&
         IsInUse((*record.points)[static_cast<std::size_t>(count)])) {
    ++count;
  }
  return count;
}

struct PointPair {
  const CalibrationPoint* first = nullptr;
  const CalibrationPoint* second = nullptr;
};

// The pair (in slot order, the later one on ties) farthest apart along one
// pixel axis.
template <typename PixelOf>
PointPair WidestPair(const CalibrationPoints& points, int count, PixelOf pixel_of) {
  PointPair widest;
  std::int64_t largest = -1;
  for (int i = 0; i < count; ++i) {
    for (int j = i + 1; j < count; ++j) {
      const CalibrationPoint& a = points[static_cast<std::size_t>(i)];
      const CalibrationPoint& b = points[static_cast<std::size_t>(j)];
      const std::int64_t distance = std::llabs(std::int64_t{pixel_of(b)} - pixel_of(a));
      if (distance >= largest) {
        largest = distance;
        widest = {&a, &b};
      }
    }
  }
  return widest;
}

// Pixels per degree; 0 when the pair cannot give one (same position, or
// same pixel), so that the caller collapses the bound instead of dividing
// by zero.
double PixelsPerDegree(std::int64_t pixel_difference, double degree_difference) {
  const double scale = std::fabs(static_cast<double>(pixel_difference) / degree_difference);
  return std::isfinite(scale) && scale > 0.0 ? scale : 0.0;
}

double Clamp(double value, double limit) {
  if (!std::isfinite(value)) return 0.0;
  return std::clamp(value, -limit, limit);
}

}  // namespace

double GreatCircleDistance(double latitude1, double longitude1, double latitude2,
                           double longitude2) {
  if (latitude1 == latitude2 && longitude1 == longitude2) return 0.0;
  const double phi1 = ToRadians(latitude1);
  const double phi2 = ToRadians(latitude2);
  const double d = std::acos(
      ClampUnit(std::sin(phi1) * std::sin(phi2) +
                std::cos(phi1) * std::cos(phi2) * std::cos(ToRadians(longitude1 - longitude2))));
  if (d == 0.0) return 0.0;
  return d * 180.0 * kMinutesPerDegree / kBoundsPi;
}

LatLonDegrees DestinationPoint(double distance, double bearing, double latitude, double longitude) {
  const double delta = distance * kBoundsPi / 10800.0;
  const double theta = ToRadians(bearing);
  const double phi1 = ToRadians(latitude);
  const double lambda1 = ToRadians(longitude);
  const double phi2 = std::asin(ClampUnit(std::cos(theta) * std::sin(delta) * std::cos(phi1) +
                                          std::cos(delta) * std::sin(phi1)));
  double lambda2 = 0.0;
  if (std::fabs(std::cos(phi2)) >= 5e-11) {
    const double turn = std::atan2(std::sin(theta) * std::sin(delta) * std::cos(phi1),
                                   std::cos(delta) - std::sin(phi1) * std::sin(phi2));
    lambda2 = std::fmod(lambda1 - turn + kBoundsPi, kBoundsTwoPi) - kBoundsPi;
  }
  return {ToDegrees(phi2), ToDegrees(lambda2)};
}

GeoBounds BoundsFromCentre(const CentreExtents& centre) {
  GeoBounds bounds;
  bounds.north = centre.latitude + centre.vertical / kMinutesPerDegree / 2.0;
  bounds.south = centre.latitude - centre.vertical / kMinutesPerDegree / 2.0;
  bounds.west =
      DestinationPoint(centre.horizontal / 2.0, 90.0, centre.latitude, centre.longitude).longitude;
  bounds.east =
      DestinationPoint(-centre.horizontal / 2.0, 90.0, centre.latitude, centre.longitude).longitude;
  return bounds;
}

CentreExtents CentreFromBounds(const GeoBounds& bounds) {
  CentreExtents centre;
  centre.latitude = bounds.north - (bounds.north - bounds.south) / 2.0;
  centre.longitude = bounds.west + (bounds.east - bounds.west) / 2.0;
  centre.vertical = (bounds.north - bounds.south) * kMinutesPerDegree;
  centre.horizontal = GreatCircleDistance(bounds.north, bounds.east, bounds.north, bounds.west);
  return centre;
}

void BoundsFromPoints(CalibrationRecord* record) {
  const int count = CountPointsInUse(*record);
  if (count < 2) {
    record->north = record->west = record->south = record->east = 0.0;
    return;
  }
  const CalibrationPoints& points = *record->points;
  const PointPair x_pair =
      WidestPair(points, count, [](const CalibrationPoint& p) { return p.pixel_x; });
  const PointPair y_pair =
      WidestPair(points, count, [](const CalibrationPoint& p) { return p.pixel_y; });
  const double sx = PixelsPerDegree(std::int64_t{x_pair.second->pixel_x} - x_pair.first->pixel_x,
                                    x_pair.second->longitude - x_pair.first->longitude);
  const double sy = PixelsPerDegree(std::int64_t{y_pair.second->pixel_y} - y_pair.first->pixel_y,
                                    y_pair.second->latitude - y_pair.first->latitude);
  // Without a scale the bound collapses onto the point, as an infinite
  // scale would make it, and LimitBounds widens it.
  record->west = x_pair.first->longitude - (sx > 0.0 ? x_pair.first->pixel_x / sx : 0.0);
  record->north = y_pair.first->latitude + (sy > 0.0 ? y_pair.first->pixel_y / sy : 0.0);
  record->east = record->west + (sx > 0.0 ? record->width / sx : 0.0);
  record->south = record->north - (sy > 0.0 ? record->height / sy : 0.0);
}

void LimitBounds(CalibrationRecord* record) {
  record->north = Clamp(record->north, 90.0);
  record->south = Clamp(record->south, 90.0);
  record->west = Clamp(record->west, 180.0);
  record->east = Clamp(record->east, 180.0);
  if (record->east < record->west) {
    record->west = -180.0;
    record->east = 180.0;
  }
  if (record->south > record->north) {
    record->south = -90.0;
    record->north = 90.0;
  }
  // Widened by a degree, on the side that stays within range.
  if (record->south == record->north) {
    if (record->north < 90.0) {
      record->north += 1.0;
    } else {
      record->south -= 1.0;
    }
  }
  if (record->east == record->west) {
    if (record->west > -180.0) {
      record->west -= 1.0;
    } else {
      record->east += 1.0;
    }
  }
}

double NauticalFromStatuteMiles(double statute_miles) {
  return statute_miles / kStatuteMilesPerNauticalMile;
}

double StatuteFromNauticalMiles(double nautical_miles) {
  return nautical_miles * kStatuteMilesPerNauticalMile;
}

}  // namespace kv
