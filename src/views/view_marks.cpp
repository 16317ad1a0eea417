#include "views/view_marks.h"

#include <QPen>

namespace kv {

namespace {

constexpr int kOuterRadius = 10;
constexpr int kInnerRadius = 4;
constexpr int kPointPenWidth = 3;
constexpr int kNumberOffset = 2;
constexpr int kCentreLineHalf = 2;  // a raised line: 2 light pixels over 2 dark ones

}  // namespace

bool IsCalibrationPointSet(const CalibrationPoint& point) {
  return point.latitude != 0.0 || point.longitude != 0.0 || point.pixel_x != 0 ||
         point.pixel_y != 0;
}

void DrawCentreMarks(QPainter& painter, const ImageViewGeometry& view, const QPalette& palette) {
  const PixelRect content = view.ContentRectInView();
  const int middle_y = content.top + view.content_height() / 2;
  const int middle_x = content.left + view.content_width() / 2;
  const int width = content.right - content.left;
  const int height = content.bottom - content.top;
  const QColor light = palette.color(QPalette::Light);
  const QColor dark = palette.color(QPalette::Dark);
  painter.fillRect(content.left, middle_y - kCentreLineHalf, width, kCentreLineHalf, light);
  painter.fillRect(content.left, middle_y, width, kCentreLineHalf, dark);
  painter.fillRect(middle_x - kCentreLineHalf, content.top, kCentreLineHalf, height, light);
  painter.fillRect(middle_x, content.top, kCentreLineHalf, height, dark);
}

void DrawCalibrationPoint(QPainter& painter, const ImageViewGeometry& view,
                          const CalibrationPoint& point, int index, bool highlighted) {
  const QColor colour = highlighted ? kHighlightedPointColour : kPointColour;
  const PixelPoint at = view.ViewPointOf(point.pixel_x, point.pixel_y);
  const QPoint centre(at.x, at.y);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(colour, kPointPenWidth));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(centre, kOuterRadius, kOuterRadius);
  painter.drawEllipse(centre, kInnerRadius, kInnerRadius);
  painter.setBackgroundMode(Qt::TransparentMode);
  const QFontMetrics metrics = painter.fontMetrics();
  painter.drawText(QPoint(at.x + kNumberOffset, at.y + kNumberOffset + metrics.ascent()),
                   QString::number(index + 1));
  painter.restore();
}

int CalibrationPointAt(const ImageViewGeometry& view, const CalibrationPoints& points,
                       const QPoint& at) {
  // The outer circle with the outer half of its pen.
  constexpr int kReach = kOuterRadius + (kPointPenWidth + 1) / 2;
  for (int index = kCalibrationPointCount - 1; index >= 0; --index) {
    const CalibrationPoint& point = points[static_cast<std::size_t>(index)];
    if (!IsCalibrationPointSet(point)) continue;
    const PixelPoint centre = view.ViewPointOf(point.pixel_x, point.pixel_y);
    const long long dx = at.x() - centre.x;
    const long long dy = at.y() - centre.y;
    if (dx * dx + dy * dy <= kReach * kReach) return index;
  }
  return -1;
}

}  // namespace kv
