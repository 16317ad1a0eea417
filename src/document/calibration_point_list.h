#ifndef KORVALE_DOCUMENT_CALIBRATION_POINT_LIST_H_
#define KORVALE_DOCUMENT_CALIBRATION_POINT_LIST_H_

// The nine calibration points as the dialog edits them.

#include <cstddef>

#include "calibration/calibration_record.h"

namespace kv {

// A click this close to a point's pixel, on both axes, selects it.
inline constexpr int kPointSelectDistance = 8;

// Point `index` (0-8).
inline CalibrationPoint& PointAt(CalibrationPoints& points, int index) {
  return points[static_cast<std::size_t>(index)];
}
inline const CalibrationPoint& PointAt(const CalibrationPoints& points, int index) {
  return points[static_cast<std::size_t>(index)];
}

// Any of latitude, longitude, pixel x and pixel y other than 0.
bool IsSetPoint(const CalibrationPoint& point);
bool AnyPointSet(const CalibrationPoints& points);
int CountSetPoints(const CalibrationPoints& points);

// Removes point `index`: the points after it move down by one and the last
// becomes empty.
void DeletePointAt(CalibrationPoints* points, int index);

// The first set point whose pixel lies within kPointSelectDistance of the
// click on both axes, or -1.
int FindPointNear(const CalibrationPoints& points, int pixel_x, int pixel_y);

// The record's points, made (all empty) when it has none.
CalibrationPoints& EnsurePoints(CalibrationRecord* record);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_CALIBRATION_POINT_LIST_H_
