#ifndef KORVALE_VIEWS_VIEW_MARKS_H_
#define KORVALE_VIEWS_VIEW_MARKS_H_

// What the image view draws over the image: the raised lines through its
// centre and the calibration points.

#include <QPainter>
#include <QPalette>

#include "calibration/calibration_record.h"
#include "document/image_view_geometry.h"

namespace kv {

inline const QColor kHighlightedPointColour(192, 0, 192);
inline const QColor kPointColour(255, 128, 0);

// A point with latitude, longitude, pixel x and pixel y all zero was never
// set and is not drawn.
bool IsCalibrationPointSet(const CalibrationPoint& point);

// Raised lines 4 pixels thick across the whole zoomed image, at half its
// height and half its width.
void DrawCentreMarks(QPainter& painter, const ImageViewGeometry& view, const QPalette& palette);

// Two circles (radius 10 and 4) and the number index + 1 beside the point;
// `highlighted(index)` picks the colour.
template <typename Highlighted>
void DrawCalibrationPoints(QPainter& painter, const ImageViewGeometry& view,
                           const CalibrationPoints& points, Highlighted highlighted);

void DrawCalibrationPoint(QPainter& painter, const ImageViewGeometry& view,
                          const CalibrationPoint& point, int index, bool highlighted);

// The set point whose outer circle holds view pixel `at`, the one drawn last
// (on top) first; -1 for none.
int CalibrationPointAt(const ImageViewGeometry& view, const CalibrationPoints& points,
                       const QPoint& at);

template <typename Highlighted>
void DrawCalibrationPoints(QPainter& painter, const ImageViewGeometry& view,
                           const CalibrationPoints& points, Highlighted highlighted) {
  for (int index = 0; index < kCalibrationPointCount; ++index) {
    const CalibrationPoint& point = points[static_cast<std::size_t>(index)];
    if (IsCalibrationPointSet(point)) {
      DrawCalibrationPoint(painter, view, point, index, highlighted(index));
    }
  }
}

}  // namespace kv

#endif  // KORVALE_VIEWS_VIEW_MARKS_H_
