#ifndef KORVALE_CALIBRATION_CHART_CALIBRATION_H_
#define KORVALE_CALIBRATION_CHART_CALIBRATION_H_

// Calibration of a nautical chart from its reference points.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calibration/calibration_record.h"

namespace kv {

struct ChartCalibrationPoint {
  double pixel_x = 0.0;
  double pixel_y = 0.0;
  double latitude = 0.0;
  double longitude = 0.0;
};

// Fills `*record` for a `width` × `height` chart: known points (kind 14)
// from the reference points — all of them when there are at most nine,
// otherwise the nine nearest to the corners, centre and edge middles —,
// the datum name when one is given (none means WGS84), and the bounds from
// the points. Points that are not finite, or lie at latitude and longitude
// 0 (which would end the list of points), are left out. A chart with fewer
// than two usable points is not calibrated at all: false, and `*record` is
// left cleared, so that nobody takes bounds made up from nothing for a place.
[[nodiscard]] bool CalibrateChart(const std::vector<ChartCalibrationPoint>& references,
                                  const std::optional<std::string>& datum_name, std::int32_t width,
                                  std::int32_t height, CalibrationRecord* record);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_CHART_CALIBRATION_H_
