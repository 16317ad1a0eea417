#include "calibration/nine_point_layout.h"

#include <limits>

#include "calibration/calibration_bounds.h"

namespace kv {

std::array<PixelPosition, kCalibrationPointCount> NinePointPixels(std::int32_t width,
                                                                  std::int32_t height) {
  const std::int32_t right = width - 1;
  const std::int32_t bottom = height - 1;
  const std::int32_t middle_x = width / 2;
  const std::int32_t middle_y = height / 2;
  return {{{0, 0},
           {right, 0},
           {0, bottom},
           {right, bottom},
           {middle_x, middle_y},
           {middle_x, 0},
           {middle_x, bottom},
           {0, middle_y},
           {right, middle_y}}};
}

std::vector<std::size_t> NearestToNinePoints(const std::vector<WorldXY>& pixels, std::int32_t width,
                                             std::int32_t height) {
  std::vector<std::size_t> chosen;
  if (pixels.size() <= static_cast<std::size_t>(kCalibrationPointCount)) {
    for (std::size_t i = 0; i < pixels.size(); ++i) chosen.push_back(i);
    return chosen;
  }
  std::vector<bool> taken(pixels.size(), false);
  for (const PixelPosition& target : NinePointPixels(width, height)) {
    std::size_t best = 0;
    double best_distance = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      if (taken[i]) continue;
      const double dx = pixels[i].x - target.x;
      const double dy = pixels[i].y - target.y;
      const double distance = dx * dx + dy * dy;
      if (distance < best_distance) {
        best_distance = distance;
        best = i;
      }
    }
    taken[best] = true;
    chosen.push_back(best);
  }
  return chosen;
}

WorldXY WorldPosition(const WorldFileValues& values, double x, double y) {
  return {values.c + x * values.a + y * values.b, values.f + x * values.d + y * values.e};
}

ImportStatus LayOutNinePoints(const WorldFileValues& values, std::int32_t width,
                              std::int32_t height, const WorldToLatLon& to_lat_lon,
                              CalibrationImport* import) {
  CalibrationPoints points{};
  const auto pixels = NinePointPixels(width, height);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    LatLon position;
    if (!to_lat_lon(WorldPosition(values, pixels[i].x, pixels[i].y), &position)) {
      return ImportStatus::kBadWorldSystem;
    }
    CalibrationPoint& point = points[i];
    point.latitude = position.latitude;
    point.longitude = position.longitude;
    point.pixel_x = point.adjusted_x = pixels[i].x;
    point.pixel_y = point.adjusted_y = pixels[i].y;
  }
  GeoBounds bounds;
  const bool framed = ImageEnvelope(
      width, height,
      [&](double x, double y, LatLonDegrees* position) {
        LatLon converted;
        if (!to_lat_lon(WorldPosition(values, x, y), &converted)) return false;
        *position = {converted.latitude, converted.longitude};
        return true;
      },
      &bounds);
  if (!framed) return ImportStatus::kBadWorldSystem;
  import->points = points;
  import->proj_mode = kCalibrationKnownPoints;
  import->north_text = FormatBoundText(bounds.north, true);
  import->west_text = FormatBoundText(bounds.west, false);
  import->south_text = FormatBoundText(bounds.south, true);
  import->east_text = FormatBoundText(bounds.east, false);
  return ImportStatus::kOk;
}

}  // namespace kv
