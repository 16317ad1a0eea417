#include "shell/window_placement.h"

#include <algorithm>

namespace kv {

InitialPlacement FirstRunPlacement(QSize screen) {
  InitialPlacement placement;
  if (screen.width() >= kMainWindowWidth) {
    placement.x = (screen.width() - kMainWindowWidth) / 2;
    placement.width = kMainWindowWidth;
  }
  if (screen.height() >= kMainWindowHeight) {
    placement.y = (screen.height() - kMainWindowHeight) / 4;
    placement.height = kMainWindowHeight;
  }
  return placement;
}

QtPlacement PlacementToQt(const PlacementRecord& record) {
  QtPlacement placement;
  placement.normal_geometry =
      QRect(record.left, record.top, record.right - record.left, record.bottom - record.top);
  const bool maximized =
      record.show_command == kShowMaximized ||
      (record.show_command == kShowMinimized && (record.flags & kRestoreToMaximized) != 0);
  placement.state = maximized ? Qt::WindowMaximized : Qt::WindowNoState;
  return placement;
}

PlacementRecord PlacementFromQt(const QRect& normal_geometry, Qt::WindowStates state,
                                bool was_maximized_before_minimizing) {
  PlacementRecord record;
  record.left = normal_geometry.left();
  record.top = normal_geometry.top();
  record.right = normal_geometry.left() + normal_geometry.width();
  record.bottom = normal_geometry.top() + normal_geometry.height();
  if (state & Qt::WindowMinimized) {
    record.show_command = kShowMinimized;
    if (was_maximized_before_minimizing) record.flags = kRestoreToMaximized;
  } else if (state & Qt::WindowMaximized) {
    record.show_command = kShowMaximized;
  }
  return record;
}

QSize DocumentMinimumSize(QSize previewer, const WindowMetrics& metrics) {
  const int width = std::max(previewer.width(), 2 * metrics.scroll_bar_extent);
  return {width + 2 * metrics.frame_width, metrics.scroll_bar_extent + 4 * metrics.caption_height +
                                               metrics.menu_height + previewer.height() +
                                               2 * metrics.frame_width};
}

}  // namespace kv
