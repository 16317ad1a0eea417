#ifndef KORVALE_SHELL_WINDOW_PLACEMENT_H_
#define KORVALE_SHELL_WINDOW_PLACEMENT_H_

// The main window's size and place: the first-run placement and the
// preferences' 44-byte placement in Qt's terms.

#include <QRect>
#include <QSize>
#include <Qt>
#include <optional>

#include "shell/prefs_record.h"

namespace kv {

inline constexpr int kMainWindowWidth = 800;
inline constexpr int kMainWindowHeight = 550;

// Where a first run puts the window: 800 x 550, centred across and a
// quarter of the free height down. On a screen too narrow the x position
// and width are left to the system, on one too low the y position and
// height.
struct InitialPlacement {
  std::optional<int> x, y, width, height;
};
InitialPlacement FirstRunPlacement(QSize screen);

struct QtPlacement {
  QRect normal_geometry;
  Qt::WindowStates state = Qt::WindowNoState;
};

// A minimised window comes back as it was before (maximised when the
// record says so), never minimised.
QtPlacement PlacementToQt(const PlacementRecord& record);
PlacementRecord PlacementFromQt(const QRect& normal_geometry, Qt::WindowStates state,
                                bool was_maximized_before_minimizing);

// The smallest main window that still shows a document: the previewer's
// preferred width (at least two scroll bars wide) and frame, and its
// preferred height below the menu, captions, scroll bar and frame.
struct WindowMetrics {
  int scroll_bar_extent = 0;
  int frame_width = 0;
  int caption_height = 0;
  int menu_height = 0;
};
QSize DocumentMinimumSize(QSize previewer, const WindowMetrics& metrics);

}  // namespace kv

#endif  // KORVALE_SHELL_WINDOW_PLACEMENT_H_
