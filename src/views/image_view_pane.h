#ifndef KORVALE_VIEWS_IMAGE_VIEW_PANE_H_
#define KORVALE_VIEWS_IMAGE_VIEW_PANE_H_

// The image view: the document's image at a chosen zoom with scroll bars,
// the marks through its centre and the calibration points of the current
// calibration, over a status line that shows the image pixel under the
// mouse. Clicks on the image go to whoever calibrates (the calibration
// dialog while it is open).
//
// Moving around: dragging with the middle button pans, and so does the
// left button while no positions are picked; the wheel scrolls a tenth of
// the view a notch and zooms about the mouse with Ctrl. While positions are
// picked, a point dragged by its circle moves to where it is let go.
//
// The arithmetic lives in ImageViewGeometry; the image is drawn by a layer
// that decodes only what comes into sight, off the window's thread
// (image_layer.h). The pane keeps the last picture it showed, and moves and
// scales it with the view, so that what is still being decoded shows as it
// was rather than blank.

#include <QAbstractScrollArea>
#include <QCursor>
#include <QImage>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <memory>
#include <string>

#include "document/calibration_point_view.h"
#include "document/image_view_geometry.h"
#include "document/point_blink.h"
#include "views/image_layer.h"

namespace kv {

class CImage;
struct CalibrationRecord;

class ImageViewPane : public QWidget, public CalibrationPointView {
 public:
  explicit ImageViewPane(QWidget* parent = nullptr);
  ~ImageViewPane() override;

  // The calibration whose points are drawn; null draws none. The record
  // must outlive the pane or be replaced first.
  void SetCalibration(const CalibrationRecord* calibration);

  // Shows the map `image` belongs to (its tiles when it is converted, its
  // file when it is not); null shows nothing. Another map than the one
  // shown starts at zoom 1 in the top-left corner.
  void ShowImage(const CImage* image);
  // While suspended (long work owns the document) the view paints only
  // its background and reads nothing of the map; resuming repaints it.
  void SuspendDrawing(bool suspended);
  // The image list's totals, shown while the mouse is not over the image.
  void SetTotalsText(const QString& text);
  // Percent: kZoomFit (0) fits, 100 is actual size, others are relative to
  // the current zoom (200 doubles, 50 halves).
  void SetZoom(int percent);

  int HighlightedPoint() const override { return highlighted_; }
  void HighlightPoint(int pixel_x, int pixel_y, int index, bool make_visible) override;
  void CentreOnPixel(int pixel_x, int pixel_y) override;
  void BlinkPoint(int index) override;
  void SetCalibrateCursor(bool on) override;
  void RepaintPoints() override;
  void SetClickHandler(ClickHandler handler) override;
  void SetPointMoveHandler(PointMoveHandler handler) override;

  const ImageViewGeometry& geometry_state() const { return geometry_; }
  QAbstractScrollArea* scroll_area() const { return area_; }
  QString status_text() const;
  // Bytes of decoded image pieces held now.
  std::size_t cached_bytes() const;
  // True once everything in sight has been decoded and drawn.
  bool picture_complete() const;
  // True while pieces of the image wait for or go through decoding.
  bool decoding() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // What a held button does.
  enum class Gesture {
    kNone,
    kClick,       // left while picking, away from the points
    kClickOrPan,  // left while not picking: a pan once it moves
    kPan,         // the view follows the mouse
    kPointPress,  // left on a point's circle: a drag once it moves
    kPointDrag,   // the point follows the mouse
  };

  void PaintView(const QRect& exposed);
  // The last picture moved and scaled to where the view is now.
  void KeepPictureInStep();
  void PieceArrived(const PixelRect& image_rect);
  // `held` are the buttons down now, `button` among them.
  void MousePressed(Qt::MouseButton button, Qt::MouseButtons held, const QPoint& position);
  void MouseMoved(const QPoint& position);
  // What the held button does with the mouse at `position`.
  void FollowMouse(const QPoint& position);
  void MouseReleased(Qt::MouseButton button, const QPoint& position);
  // True when the wheel was taken; `over_bar` is the bar under the mouse,
  // if any.
  bool WheelTurned(const QWheelEvent& wheel, const QScrollBar* over_bar);
  bool MovedFarFromPress(const QPoint& position) const;
  void PanTo(const QPoint& position);
  void StartPan(const QPoint& position);
  void EndGesture();
  // The cursor the view shows when no button is held.
  void RestoreCursor();
  // After the geometry scrolled from (old_x, old_y): the bars follow and
  // the view's pixels move.
  void ShowScrolledFrom(int old_x, int old_y);
  void ShowZoomed();
  void ViewResized();
  // Mirrors the geometry into the scroll bars without feeding back.
  void UpdateScrollBars();
  void ScrollBarMoved();
  void ShowTotals();
  void BlinkTick();

  QAbstractScrollArea* area_;
  QLabel* status_;
  ImageViewGeometry geometry_;
  std::unique_ptr<ImageLayer> layer_;
  // The image as last drawn (no marks or points), and where the view was.
  struct PictureView {
    double zoom = 0;
    int scroll_x = 0;
    int scroll_y = 0;
    bool operator==(const PictureView&) const = default;
  };
  QImage picture_;
  PictureView picture_view_;
  // What is shown, to tell another map from the same one again.
  const void* shown_identity_ = nullptr;
  std::string shown_path_;
  const CalibrationRecord* calibration_ = nullptr;
  int highlighted_ = -1;
  ClickHandler click_handler_;
  PointMoveHandler point_move_handler_;
  Gesture gesture_ = Gesture::kNone;
  Qt::MouseButton gesture_button_ = Qt::NoButton;
  QPoint press_position_;
  QPoint last_position_;
  int dragged_point_ = -1;
  PixelPoint dragged_to_;
  QTimer blink_timer_;
  PointBlink blink_;
  bool calibrate_cursor_ = false;
  QString totals_;
  bool suspended_ = false;
};

}  // namespace kv

#endif  // KORVALE_VIEWS_IMAGE_VIEW_PANE_H_
