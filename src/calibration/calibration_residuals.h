#ifndef KORVALE_CALIBRATION_CALIBRATION_RESIDUALS_H_
#define KORVALE_CALIBRATION_CALIBRATION_RESIDUALS_H_

// How well the calibration points agree with each other. A mistyped
// coordinate is the most common calibration error; it shows as a point that
// the least-squares affine fit of all set points misses by far more than the
// others.
//
// The fit maps coordinates to pixels, pixel = A * (longitude, latitude) + b,
// in degrees, the same affine model the skewed calibration kinds apply. A
// point's residual is the distance between its pixel and where the fit puts
// its coordinates.
//
// Metres: the pixel residual goes back through the fit's inverse, which
// gives the position the fit assigns to the point's pixel; the residual in
// metres is the distance between that position and the typed one, measured
// on the datum's ellipsoid with its radii of curvature at the middle
// latitude (a local metric frame). Below 100 km this stays within 0.1 % of
// the geodesic distance, which is more than a table of residuals needs.

#include <vector>

#include "calibration/calibration_record.h"
#include "geo/ellipsoid.h"

namespace kv {

enum class ResidualStatus {
  kOk,
  kTooFewPoints,         // fewer than three set points
  kCollinearPositions,   // the coordinates lie on one line or coincide: no fit
  kCollinearPixels,      // the fit squeezes the map onto a line: no pixel has a position
  kPositionOffTheEarth,  // a latitude beyond ±90, a longitude beyond ±180, or not a number
};

inline constexpr int kResidualMinimumPoints = 3;
// A point is judged by the fit made without it. With four points that fit
// passes through the other three exactly, so its error is 0 and every point
// of a projected map (which no affine fit matches) would look mistyped; a
// fifth point gives the fit something to be measured against.
inline constexpr int kSuspectMinimumPoints = 5;
// A point is suspect when the fit made without it misses it by more than
// both of these; points are marked one at a time, each leaving the set
// before the rest are judged again, so that a mistyped point does not
// make a correct one look mistyped too.
inline constexpr double kSuspectMinimumPixels = 5.0;
inline constexpr double kSuspectRmsFactor = 3.0;

struct PointResidual {
  int index = 0;  // slot 0 to 8; the user's point number is index + 1
  double pixels = 0.0;
  double metres = 0.0;
  bool outlier = false;
  // The point came straight from a georeferenced source (IsSourcePoint):
  // it is never suspect, and its residual is the model's error.
  bool from_source = false;
  // Where the fit puts the point's coordinates.
  double fitted_x = 0.0;
  double fitted_y = 0.0;
  // The position the fit gives the point's pixel.
  double fitted_latitude = 0.0;
  double fitted_longitude = 0.0;
};

struct CalibrationResiduals {
  ResidualStatus status = ResidualStatus::kTooFewPoints;
  // One row per set point, in slot order; empty unless the status is kOk.
  std::vector<PointResidual> points;
  double rms_pixels = 0.0;  // over all set points
  // How far a linear model is from the map's projection: the worst
  // residual among the points that came from a georeferenced source, in
  // pixels and in metres; both 0 when no point did.
  bool has_model_error = false;
  double model_error_pixels = 0.0;
  double model_error_metres = 0.0;
};

// A point is set when any of its latitude, longitude, pixel x or pixel y is
// not 0; set points count wherever they are among the nine slots.
CalibrationResiduals ComputeCalibrationResiduals(const CalibrationPoints& points,
                                                 const Ellipsoid& ellipsoid);

// The record's points, measured on the ellipsoid of its datum; points that
// came from a georeferenced source (IsSourcePoint) are never suspect.
CalibrationResiduals ComputeCalibrationResiduals(const CalibrationRecord& record);

// The row of slot `index`, or null when that point is not in the table.
const PointResidual* FindPointResidual(const CalibrationResiduals& residuals, int index);

// "ok", "too few points", "collinear positions", ...: for reports.
const char* ResidualStatusName(ResidualStatus status);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_CALIBRATION_RESIDUALS_H_
