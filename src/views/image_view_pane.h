#ifndef KORVALE_VIEWS_IMAGE_VIEW_PANE_H_
#define KORVALE_VIEWS_IMAGE_VIEW_PANE_H_

// The image view: the document's image at a chosen zoom with scroll bars,
// the marks through its centre and the calibration points of the current
// calibration, over a status line that shows the image pixel under the
// mouse. Clicks on the image go to whoever calibrates (the calibration
// dialog while it is open).
//
// The arithmetic lives in ImageViewGeometry; the image is drawn by a layer
// that decodes only what comes into sight (image_layer.h).

#include <QAbstractScrollArea>
#include <QCursor>
#include <QLabel>
#include <QTimer>
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

  const ImageViewGeometry& geometry_state() const { return geometry_; }
  QAbstractScrollArea* scroll_area() const { return area_; }
  QString status_text() const;
  // Bytes of decoded image pieces held now.
  std::size_t cached_bytes() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PaintView(const QRect& exposed);
  void MouseMoved(const QPoint& position);
  void MouseReleased(Qt::MouseButton button, const QPoint& position);
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
  // What is shown, to tell another map from the same one again.
  const void* shown_identity_ = nullptr;
  std::string shown_path_;
  const CalibrationRecord* calibration_ = nullptr;
  int highlighted_ = -1;
  ClickHandler click_handler_;
  QTimer blink_timer_;
  PointBlink blink_;
  bool calibrate_cursor_ = false;
  QString totals_;
  bool suspended_ = false;
};

}  // namespace kv

#endif  // KORVALE_VIEWS_IMAGE_VIEW_PANE_H_
