#include "calibration/calibration_bounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <vector>

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

// Samples per edge of the frame: enough to follow any projection's curve
// across a map to well below a pixel's worth of the bounds.
constexpr int kEdgeSamples = 64;

// The pixel positions around the frame, clockwise from the top-left
// corner, at whole pixels so that a north-up map's values come out exactly
// as at its corners.
std::vector<std::array<double, 2>> FrameSamples(std::int32_t width, std::int32_t height) {
  const auto along = [](std::int32_t length, int k) {
    return static_cast<double>(std::llround(static_cast<double>(length) * k / kEdgeSamples));
  };
  const double w = width;
  const double h = height;
  std::vector<std::array<double, 2>> samples;
  for (int k = 0; k < kEdgeSamples; ++k) samples.push_back({along(width, k), 0.0});
  for (int k = 0; k < kEdgeSamples; ++k) samples.push_back({w, along(height, k)});
  for (int k = 0; k < kEdgeSamples; ++k) samples.push_back({w - along(width, k), h});
  for (int k = 0; k < kEdgeSamples; ++k) samples.push_back({0.0, h - along(height, k)});
  return samples;
}

// `longitude` plus the whole turns that bring it within 180° of `previous`.
double RunOn(double longitude, double previous) {
  const double step = longitude - previous;
  if (std::fabs(step) <= 180.0 || !std::isfinite(step)) return longitude;
  return longitude - 360.0 * std::round(step / 360.0);
}

struct Envelope {
  double north = -std::numeric_limits<double>::infinity();
  double south = std::numeric_limits<double>::infinity();
  double west = std::numeric_limits<double>::infinity();
  double east = -std::numeric_limits<double>::infinity();
  double turn = 0.0;  // degrees of longitude swept going round the frame
  double latitude_sum = 0.0;
  int count = 0;

  void Add(const LatLonDegrees& position) {
    north = std::max(north, position.latitude);
    south = std::min(south, position.latitude);
    west = std::min(west, position.longitude);
    east = std::max(east, position.longitude);
    latitude_sum += position.latitude;
    ++count;
  }
};

GeoBounds BoundsOf(const Envelope& envelope) {
  GeoBounds bounds{envelope.north, envelope.west, envelope.south, envelope.east};
  // Going round a pole sweeps a whole turn of longitude.
  if (std::fabs(envelope.turn) > 180.0) {
    if (envelope.latitude_sum > 0.0) {
      bounds.north = 90.0;
    } else {
      bounds.south = -90.0;
    }
    bounds.west = -180.0;
    bounds.east = 180.0;
  }
  return bounds;
}

// pixel -> (latitude, longitude) by least squares over the points in use;
// none when their pixels lie on a line.
struct PixelFit {
  double mean_x = 0.0, mean_y = 0.0, mean_latitude = 0.0, mean_longitude = 0.0;
  double latitude_x = 0.0, latitude_y = 0.0, longitude_x = 0.0, longitude_y = 0.0;

  LatLonDegrees At(double x, double y) const {
    const double u = x - mean_x;
    const double v = y - mean_y;
    return {mean_latitude + latitude_x * u + latitude_y * v,
            mean_longitude + longitude_x * u + longitude_y * v};
  }
};

std::optional<PixelFit> FitPixels(const CalibrationPoints& points, int count) {
  if (count < 3) return std::nullopt;
  PixelFit fit;
  for (int i = 0; i < count; ++i) {
    const CalibrationPoint& p = points[static_cast<std::size_t>(i)];
    fit.mean_x += p.pixel_x;
    fit.mean_y += p.pixel_y;
    fit.mean_latitude += p.latitude;
    fit.mean_longitude += p.longitude;
  }
  fit.mean_x /= count;
  fit.mean_y /= count;
  fit.mean_latitude /= count;
  fit.mean_longitude /= count;
  double uu = 0.0, uv = 0.0, vv = 0.0, ua = 0.0, va = 0.0, uo = 0.0, vo = 0.0;
  for (int i = 0; i < count; ++i) {
    const CalibrationPoint& p = points[static_cast<std::size_t>(i)];
    const double u = p.pixel_x - fit.mean_x;
    const double v = p.pixel_y - fit.mean_y;
    const double a = p.latitude - fit.mean_latitude;
    const double o = p.longitude - fit.mean_longitude;
    uu += u * u;
    uv += u * v;
    vv += v * v;
    ua += u * a;
    va += v * a;
    uo += u * o;
    vo += v * o;
  }
  const double determinant = uu * vv - uv * uv;
  if (!(determinant > 1e-10 * (uu + vv) * (uu + vv))) return std::nullopt;
  fit.latitude_x = (vv * ua - uv * va) / determinant;
  fit.latitude_y = (uu * va - uv * ua) / determinant;
  fit.longitude_x = (vv * uo - uv * vo) / determinant;
  fit.longitude_y = (uu * vo - uv * uo) / determinant;
  return fit;
}

// Whether `outer` holds `inner` to within `slack` degrees of latitude and
// longitude, and is itself a frame (north above south, east above west).
bool Holds(const GeoBounds& outer, const GeoBounds& inner, double latitude_slack,
           double longitude_slack) {
  return outer.north > outer.south && outer.east > outer.west &&
         inner.north <= outer.north + latitude_slack &&
         inner.south >= outer.south - latitude_slack &&
         inner.west >= outer.west - longitude_slack && inner.east <= outer.east + longitude_slack;
}

GeoBounds RecordBounds(const CalibrationRecord& record) {
  return {record.north, record.west, record.south, record.east};
}

// The affine envelope of the image with every point in use: the frame the
// points say the image covers.
std::optional<GeoBounds> PointEnvelope(const CalibrationRecord& record, int count) {
  if (record.width <= 0 || record.height <= 0) return std::nullopt;
  const std::optional<PixelFit> fit = FitPixels(*record.points, count);
  if (!fit) return std::nullopt;
  GeoBounds bounds;
  const bool made = ImageEnvelope(
      record.width, record.height,
      [&fit](double x, double y, LatLonDegrees* position) {
        *position = fit->At(x, y);
        return std::isfinite(position->latitude) && std::isfinite(position->longitude);
      },
      &bounds);
  if (!made) return std::nullopt;
  for (int i = 0; i < count; ++i) {
    const CalibrationPoint& p = (*record.points)[static_cast<std::size_t>(i)];
    bounds.north = std::max(bounds.north, p.latitude);
    bounds.south = std::min(bounds.south, p.latitude);
    bounds.west = std::min(bounds.west, p.longitude);
    bounds.east = std::max(bounds.east, p.longitude);
  }
  return bounds;
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

bool ImageEnvelope(std::int32_t width, std::int32_t height, const PixelToPosition& position,
                   GeoBounds* bounds) {
  Envelope envelope;
  double first = 0.0;
  double previous = 0.0;
  for (const auto& [x, y] : FrameSamples(width, height)) {
    LatLonDegrees at;
    const bool corner = (x == 0.0 || x == width) && (y == 0.0 || y == height);
    if (!position(x, y, &at)) {
      if (corner) return false;
      continue;
    }
    if (envelope.count == 0) {
      first = previous = at.longitude;
    } else {
      at.longitude = RunOn(at.longitude, previous);
      envelope.turn += at.longitude - previous;
      previous = at.longitude;
    }
    envelope.Add(at);
  }
  envelope.turn += RunOn(first, previous) - previous;
  *bounds = BoundsOf(envelope);
  return true;
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
  const std::optional<GeoBounds> envelope = PointEnvelope(*record, count);
  if (!envelope) return;
  const double latitude_pixel = sy > 0.0 ? 1.0 / sy : 0.0;
  const double longitude_pixel = sx > 0.0 ? 1.0 / sx : 0.0;
  if (Holds(RecordBounds(*record), *envelope, latitude_pixel, longitude_pixel)) return;
  record->north = envelope->north;
  record->west = envelope->west;
  record->south = envelope->south;
  record->east = envelope->east;
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
