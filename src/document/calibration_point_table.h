#ifndef KORVALE_DOCUMENT_CALIBRATION_POINT_TABLE_H_
#define KORVALE_DOCUMENT_CALIBRATION_POINT_TABLE_H_

// The table of calibration points the calibration panel shows, as a
// georeferencer's list of control points: every set point with its pixel,
// its position in the panel's notation and how far the affine fit of all
// points misses it.

#include <optional>
#include <string>
#include <vector>

#include "calibration/calibration_record.h"
#include "calibration/calibration_residuals.h"
#include "document/calibration_notation.h"

namespace kv {

struct PointTableRow {
  int index = 0;  // slot 0 to 8; the user's point number is index + 1
  std::string pixel_x;
  std::string pixel_y;
  // In the notation's texts; a zoned grid's zone leads the northing.
  std::string latitude;
  std::string longitude;
  // How far the fit misses the point; none while the points give no fit.
  std::optional<double> residual_pixels;
  std::optional<double> residual_metres;
  bool suspect = false;
};

// One row per set point, in slot order. `residuals` are those of the same
// points, or null when they have none.
std::vector<PointTableRow> MakePointTable(const CalibrationPoints& points,
                                          const CalibrationResiduals* residuals,
                                          const PositionNotation& notation);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_CALIBRATION_POINT_TABLE_H_
