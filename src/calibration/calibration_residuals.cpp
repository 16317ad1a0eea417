#include "calibration/calibration_residuals.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <optional>

#include "geo/datum_table.h"

namespace kv {
namespace {

// Below this ratio of the smaller to the larger spread a set of points is
// taken for a line: the fit through it would be decided by rounding.
constexpr double kCollinearRatio = 1e-10;
constexpr double kLatitudeLimit = 90.0;
constexpr double kLongitudeLimit = 180.0;
// An RMS below this (in pixels) counts as a fit through every point.
constexpr double kExactFitRms = 1e-6;

struct Sample {
  int index = 0;
  double longitude = 0.0;
  double latitude = 0.0;
  double x = 0.0;
  double y = 0.0;
};

struct PixelPosition {
  double x = 0.0;
  double y = 0.0;
};

// pixel = mean pixel + L * (coordinates - mean coordinates); L's rows hold
// the pixels per degree of longitude and of latitude. Centring keeps the
// normal equations well conditioned far from longitude 0.
struct AffineFit {
  double mean_longitude = 0.0;
  double mean_latitude = 0.0;
  double mean_x = 0.0;
  double mean_y = 0.0;
  double x_per_longitude = 0.0;
  double x_per_latitude = 0.0;
  double y_per_longitude = 0.0;
  double y_per_latitude = 0.0;
};

bool IsSet(const CalibrationPoint& point) {
  return point.latitude != 0.0 || point.longitude != 0.0 || point.pixel_x != 0 ||
         point.pixel_y != 0;
}

bool IsOnTheEarth(const CalibrationPoint& point) {
  return std::isfinite(point.latitude) && std::isfinite(point.longitude) &&
         std::fabs(point.latitude) <= kLatitudeLimit &&
         std::fabs(point.longitude) <= kLongitudeLimit;
}

std::vector<Sample> SetPoints(const CalibrationPoints& points) {
  std::vector<Sample> samples;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const CalibrationPoint& point = points[i];
    if (!IsSet(point)) continue;
    samples.push_back({static_cast<int>(i), point.longitude, point.latitude,
                       static_cast<double>(point.pixel_x), static_cast<double>(point.pixel_y)});
  }
  return samples;
}

// The least-squares fit of every sample but the one at position `skip`
// (none when negative); nothing when the coordinates lie on a line.
std::optional<AffineFit> FitAffine(const std::vector<Sample>& samples, int skip) {
  AffineFit fit;
  double count = 0.0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (static_cast<int>(i) == skip) continue;
    fit.mean_longitude += samples[i].longitude;
    fit.mean_latitude += samples[i].latitude;
    fit.mean_x += samples[i].x;
    fit.mean_y += samples[i].y;
    count += 1.0;
  }
  if (count < kResidualMinimumPoints) return std::nullopt;
  fit.mean_longitude /= count;
  fit.mean_latitude /= count;
  fit.mean_x /= count;
  fit.mean_y /= count;

  double uu = 0.0, uv = 0.0, vv = 0.0, ux = 0.0, vx = 0.0, uy = 0.0, vy = 0.0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (static_cast<int>(i) == skip) continue;
    const double u = samples[i].longitude - fit.mean_longitude;
    const double v = samples[i].latitude - fit.mean_latitude;
    const double x = samples[i].x - fit.mean_x;
    const double y = samples[i].y - fit.mean_y;
    uu += u * u;
    uv += u * v;
    vv += v * v;
    ux += u * x;
    vx += v * x;
    uy += u * y;
    vy += v * y;
  }
  const double determinant = uu * vv - uv * uv;
  const double trace = uu + vv;
  if (!(determinant > kCollinearRatio * trace * trace)) return std::nullopt;
  fit.x_per_longitude = (vv * ux - uv * vx) / determinant;
  fit.x_per_latitude = (uu * vx - uv * ux) / determinant;
  fit.y_per_longitude = (vv * uy - uv * vy) / determinant;
  fit.y_per_latitude = (uu * vy - uv * uy) / determinant;
  return fit;
}

PixelPosition Predict(const AffineFit& fit, const Sample& sample) {
  const double u = sample.longitude - fit.mean_longitude;
  const double v = sample.latitude - fit.mean_latitude;
  return {fit.mean_x + fit.x_per_longitude * u + fit.x_per_latitude * v,
          fit.mean_y + fit.y_per_longitude * u + fit.y_per_latitude * v};
}

double Miss(const AffineFit& fit, const Sample& sample) {
  const PixelPosition fitted = Predict(fit, sample);
  return std::hypot(sample.x - fitted.x, sample.y - fitted.y);
}

double LinearDeterminant(const AffineFit& fit) {
  return fit.x_per_longitude * fit.y_per_latitude - fit.x_per_latitude * fit.y_per_longitude;
}

bool SqueezesOntoALine(const AffineFit& fit) {
  const double size =
      fit.x_per_longitude * fit.x_per_longitude + fit.x_per_latitude * fit.x_per_latitude +
      fit.y_per_longitude * fit.y_per_longitude + fit.y_per_latitude * fit.y_per_latitude;
  return !(std::fabs(LinearDeterminant(fit)) > kCollinearRatio * size);
}

double ToRadians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// Distance in a local metric frame: north and east offsets scaled by the
// ellipsoid's meridian and prime vertical radii at the middle latitude.
double LocalDistanceMetres(const Ellipsoid& ellipsoid, double latitude1, double longitude1,
                           double latitude2, double longitude2) {
  const double e2 = SquaredEccentricity(ellipsoid);
  const double middle = ToRadians((latitude1 + latitude2) / 2.0);
  const double sine = std::sin(middle);
  const double w = 1.0 - e2 * sine * sine;
  const double prime_vertical = ellipsoid.semi_major_axis / std::sqrt(w);
  const double meridian = prime_vertical * (1.0 - e2) / w;
  const double north = meridian * ToRadians(latitude2 - latitude1);
  const double east = prime_vertical * std::cos(middle) * ToRadians(longitude2 - longitude1);
  return std::hypot(north, east);
}

PointResidual ResidualOf(const AffineFit& fit, const Sample& sample, const Ellipsoid& ellipsoid) {
  const PixelPosition fitted = Predict(fit, sample);
  const double dx = sample.x - fitted.x;
  const double dy = sample.y - fitted.y;
  // The coordinate step that carries the fitted pixel onto the point's own.
  const double determinant = LinearDeterminant(fit);
  const double d_longitude = (fit.y_per_latitude * dx - fit.x_per_latitude * dy) / determinant;
  const double d_latitude = (fit.x_per_longitude * dy - fit.y_per_longitude * dx) / determinant;
  PointResidual residual;
  residual.index = sample.index;
  residual.pixels = std::hypot(dx, dy);
  residual.fitted_x = fitted.x;
  residual.fitted_y = fitted.y;
  residual.fitted_latitude = sample.latitude + d_latitude;
  residual.fitted_longitude = sample.longitude + d_longitude;
  residual.metres = LocalDistanceMetres(ellipsoid, sample.latitude, sample.longitude,
                                        residual.fitted_latitude, residual.fitted_longitude);
  return residual;
}

double RootMeanSquare(double sum_of_squares, std::size_t count) {
  return std::sqrt(sum_of_squares / static_cast<double>(count));
}

// How far the fit made without sample `left_out` misses it, and the RMS of
// that fit over the samples it was made of; none when those cannot make a
// fit.
struct LeftOutMiss {
  double miss = 0.0;
  double rms = 0.0;
};

std::optional<LeftOutMiss> MissLeftOut(const std::vector<Sample>& samples, int left_out) {
  const std::optional<AffineFit> fit = FitAffine(samples, left_out);
  if (!fit) return std::nullopt;
  double sum = 0.0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (static_cast<int>(i) == left_out) continue;
    const double miss = Miss(*fit, samples[i]);
    sum += miss * miss;
  }
  return LeftOutMiss{Miss(*fit, samples[static_cast<std::size_t>(left_out)]),
                     RootMeanSquare(sum, samples.size() - 1)};
}

bool IsSuspect(const LeftOutMiss& judged) {
  return judged.miss > kSuspectMinimumPixels && judged.miss > kSuspectRmsFactor * judged.rms;
}

// Leave-one-out: the fit made without a point judges it, so that the point
// cannot drag the fit towards itself. A mistyped point still drags the fit
// that judges every other point, though, and a correct point far out at a
// corner then looks as bad as it; so the points are judged one at a time:
// the one the fit of the others misses worst, in units of that fit's RMS,
// is marked and leaves the set, and the rest are judged again. This stops
// when no point is suspect or too few remain to judge one (see
// kSuspectMinimumPoints).
std::vector<bool> FindSuspects(std::vector<Sample> samples, const std::vector<bool>& exempt) {
  std::vector<bool> suspect(samples.size(), false);
  std::vector<std::size_t> original(samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) original[i] = i;
  while (samples.size() >= static_cast<std::size_t>(kSuspectMinimumPoints)) {
    int worst = -1;
    double worst_ratio = 0.0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
      if (exempt[original[i]]) continue;
      const std::optional<LeftOutMiss> judged = MissLeftOut(samples, static_cast<int>(i));
      if (!judged || !IsSuspect(*judged)) continue;
      // A fit that passes through every other point exactly has no spread
      // to measure by; any miss beyond the pixel limit is then the worst.
      const double ratio = judged->miss / std::max(judged->rms, kExactFitRms);
      if (worst < 0 || ratio > worst_ratio) {
        worst = static_cast<int>(i);
        worst_ratio = ratio;
      }
    }
    if (worst < 0) break;
    suspect[original[static_cast<std::size_t>(worst)]] = true;
    samples.erase(samples.begin() + worst);
    original.erase(original.begin() + worst);
  }
  return suspect;
}

bool IsFinite(const PointResidual& residual) {
  return std::isfinite(residual.pixels) && std::isfinite(residual.metres) &&
         std::isfinite(residual.fitted_x) && std::isfinite(residual.fitted_y) &&
         std::isfinite(residual.fitted_latitude) && std::isfinite(residual.fitted_longitude);
}

CalibrationResiduals Failed(ResidualStatus status) {
  CalibrationResiduals result;
  result.status = status;
  return result;
}

bool IsUsable(const Ellipsoid& ellipsoid) {
  return std::isfinite(ellipsoid.semi_major_axis) && ellipsoid.semi_major_axis > 0.0 &&
         std::isfinite(ellipsoid.inverse_flattening) && ellipsoid.inverse_flattening > 1.0;
}

Ellipsoid EllipsoidOfRecord(const CalibrationRecord& record) {
  if (record.datum_parameters) {
    const Ellipsoid given = {(*record.datum_parameters)[0], (*record.datum_parameters)[1]};
    if (IsUsable(given)) return given;
  }
  if (record.datum_name) {
    const int row = FindDatum(*record.datum_name);
    if (row >= 0) return EllipsoidOfDatumRow(row);
  }
  return EllipsoidOfDatumRow(record.datum_row);
}

using SourceSlots = std::array<bool, kCalibrationPointCount>;

void NoteModelError(const PointResidual& residual, CalibrationResiduals* result) {
  if (!residual.from_source) return;
  if (!result->has_model_error || residual.pixels > result->model_error_pixels) {
    result->model_error_pixels = residual.pixels;
    result->model_error_metres = residual.metres;
  }
  result->has_model_error = true;
}

CalibrationResiduals ComputeResiduals(const CalibrationPoints& points, const Ellipsoid& ellipsoid,
                                      const SourceSlots& from_source) {
  for (const CalibrationPoint& point : points) {
    if (IsSet(point) && !IsOnTheEarth(point)) {
      return Failed(ResidualStatus::kPositionOffTheEarth);
    }
  }
  const std::vector<Sample> samples = SetPoints(points);
  if (samples.size() < static_cast<std::size_t>(kResidualMinimumPoints)) {
    return Failed(ResidualStatus::kTooFewPoints);
  }
  const std::optional<AffineFit> fit = FitAffine(samples, -1);
  if (!fit) return Failed(ResidualStatus::kCollinearPositions);
  if (SqueezesOntoALine(*fit)) return Failed(ResidualStatus::kCollinearPixels);

  const Ellipsoid shape = IsUsable(ellipsoid) ? ellipsoid : kWgs84Ellipsoid;
  std::vector<bool> exempt(samples.size(), false);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    exempt[i] = from_source[static_cast<std::size_t>(samples[i].index)];
  }
  const std::vector<bool> suspects = FindSuspects(samples, exempt);
  CalibrationResiduals result;
  result.status = ResidualStatus::kOk;
  double sum = 0.0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    PointResidual residual = ResidualOf(*fit, samples[i], shape);
    // Rounding in an all but squeezed fit is the one way to get here.
    if (!IsFinite(residual)) return Failed(ResidualStatus::kCollinearPixels);
    residual.from_source = from_source[static_cast<std::size_t>(residual.index)];
    residual.outlier = suspects[i];
    NoteModelError(residual, &result);
    sum += residual.pixels * residual.pixels;
    result.points.push_back(residual);
  }
  result.rms_pixels = RootMeanSquare(sum, samples.size());
  return result;
}

}  // namespace

CalibrationResiduals ComputeCalibrationResiduals(const CalibrationPoints& points,
                                                 const Ellipsoid& ellipsoid) {
  return ComputeResiduals(points, ellipsoid, SourceSlots{});
}

CalibrationResiduals ComputeCalibrationResiduals(const CalibrationRecord& record) {
  if (!record.points) return Failed(ResidualStatus::kTooFewPoints);
  SourceSlots from_source{};
  for (int i = 0; i < kCalibrationPointCount; ++i) {
    from_source[static_cast<std::size_t>(i)] = IsSourcePoint(record, i);
  }
  return ComputeResiduals(*record.points, EllipsoidOfRecord(record), from_source);
}

const PointResidual* FindPointResidual(const CalibrationResiduals& residuals, int index) {
  for (const PointResidual& residual : residuals.points) {
    if (residual.index == index) return &residual;
  }
  return nullptr;
}

const char* ResidualStatusName(ResidualStatus status) {
  switch (status) {
    case ResidualStatus::kOk:
      return "ok";
    case ResidualStatus::kTooFewPoints:
      return "too few points";
    case ResidualStatus::kCollinearPositions:
      return "collinear positions";
    case ResidualStatus::kCollinearPixels:
      return "collinear pixels";
    case ResidualStatus::kPositionOffTheEarth:
      return "position off the earth";
  }
  return "unknown";
}

}  // namespace kv
