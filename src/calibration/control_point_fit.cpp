#include "calibration/control_point_fit.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kv {
namespace {

using Matrix3 = std::array<std::array<double, 3>, 3>;

double Determinant(const Matrix3& m) {
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
         m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

// Solves m · u = v by Cramer's rule; the normal equations of a plane fit
// are three by three, so nothing more elaborate is needed.
std::array<double, 3> Solve(const Matrix3& m, const std::array<double, 3>& v, double determinant) {
  std::array<double, 3> u{};
  for (std::size_t column = 0; column < 3; ++column) {
    Matrix3 replaced = m;
    for (std::size_t row = 0; row < 3; ++row) replaced[row][column] = v[row];
    u[column] = Determinant(replaced) / determinant;
  }
  return u;
}

// Pixel of a position under the fit; false when the fit is singular.
bool PixelOf(const WorldFileValues& fit, WorldXY world, WorldXY* pixel) {
  const double det = fit.a * fit.e - fit.b * fit.d;
  if (det == 0.0) return false;
  const double dx = world.x - fit.c;
  const double dy = world.y - fit.f;
  *pixel = {(fit.e * dx - fit.b * dy) / det, (fit.a * dy - fit.d * dx) / det};
  return true;
}

// The whole pixel whose centre is nearest, within the image: a point on the
// image's outer edge belongs to the pixel inside it.
std::int32_t NearestPixel(double centre, std::int32_t size) {
  const double nearest = std::floor(centre + 0.5);
  return static_cast<std::int32_t>(std::clamp(nearest, 0.0, std::max(0.0, size - 1.0)));
}

}  // namespace

std::optional<AffineFit> FitControlPoints(const std::vector<ControlPoint>& points) {
  if (points.size() < 3) return std::nullopt;
  // Pixels relative to their mean keep the normal equations well
  // conditioned for large images.
  WorldXY mean;
  for (const ControlPoint& point : points) {
    mean.x += point.pixel.x / static_cast<double>(points.size());
    mean.y += point.pixel.y / static_cast<double>(points.size());
  }
  Matrix3 normal{};
  std::array<double, 3> to_x{};
  std::array<double, 3> to_y{};
  for (const ControlPoint& point : points) {
    const std::array<double, 3> row = {1.0, point.pixel.x - mean.x, point.pixel.y - mean.y};
    for (std::size_t i = 0; i < 3; ++i) {
      for (std::size_t j = 0; j < 3; ++j) normal[i][j] += row[i] * row[j];
      to_x[i] += row[i] * point.world.x;
      to_y[i] += row[i] * point.world.y;
    }
  }
  const double determinant = Determinant(normal);
  if (!std::isfinite(determinant) ||
      std::fabs(determinant) < 1e-9 * normal[0][0] * normal[1][1] * normal[2][2]) {
    return std::nullopt;
  }
  const std::array<double, 3> x = Solve(normal, to_x, determinant);
  const std::array<double, 3> y = Solve(normal, to_y, determinant);
  AffineFit fit;
  fit.to_world = {x[1],
                  y[1],
                  x[2],
                  y[2],
                  x[0] - x[1] * mean.x - x[2] * mean.y,
                  y[0] - y[1] * mean.x - y[2] * mean.y};
  double sum = 0.0;
  for (const ControlPoint& point : points) {
    WorldXY pixel;
    if (!PixelOf(fit.to_world, point.world, &pixel)) return std::nullopt;
    const double squared =
        std::pow(pixel.x - point.pixel.x, 2) + std::pow(pixel.y - point.pixel.y, 2);
    sum += squared;
    fit.worst_pixels = std::max(fit.worst_pixels, std::sqrt(squared));
  }
  fit.rms_pixels = std::sqrt(sum / static_cast<double>(points.size()));
  return fit;
}

std::vector<ChosenControlPoint> ChooseControlPoints(const std::vector<ControlPoint>& points,
                                                    const AffineFit& fit, std::int32_t width,
                                                    std::int32_t height) {
  std::vector<WorldXY> centres;
  for (const ControlPoint& point : points) {
    centres.push_back({point.pixel.x - 0.5, point.pixel.y - 0.5});
  }
  std::vector<ChosenControlPoint> chosen;
  for (std::size_t index : NearestToNinePoints(centres, width, height)) {
    const ControlPoint& point = points[index];
    ChosenControlPoint next;
    next.pixel = {NearestPixel(centres[index].x, width), NearestPixel(centres[index].y, height)};
    const double dx = next.pixel.x + 0.5 - point.pixel.x;
    const double dy = next.pixel.y + 0.5 - point.pixel.y;
    const WorldFileValues& f = fit.to_world;
    next.world = {point.world.x + dx * f.a + dy * f.b, point.world.y + dx * f.d + dy * f.e};
    chosen.push_back(next);
  }
  return chosen;
}

}  // namespace kv
