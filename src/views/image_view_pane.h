#ifndef KORVALE_VIEWS_IMAGE_VIEW_PANE_H_
#define KORVALE_VIEWS_IMAGE_VIEW_PANE_H_

// Stand-in for the image view: the current image's stored bitmap, zoomed,
// until the tiled view with calibration points arrives.

#include <QImage>
#include <QLabel>
#include <QScrollArea>
#include <utility>

#include "document/calibration_point_view.h"

namespace kv {

class CImage;

class ImageViewPane : public QScrollArea, public CalibrationPointView {
 public:
  explicit ImageViewPane(QWidget* parent = nullptr);

  int HighlightedPoint() const override { return highlighted_; }
  void HighlightPoint(int pixel_x, int pixel_y, int index, bool make_visible) override;
  void BlinkPoint(int /*index*/) override {}
  void SetCalibrateCursor(bool /*on*/) override {}
  void RepaintPoints() override { update(); }
  void SetClickHandler(ClickHandler handler) override { click_handler_ = std::move(handler); }

  // Null shows nothing.
  void ShowImage(const CImage* image);
  // Percent; 0 fits the image into the pane.
  void SetZoom(int percent);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdatePixmap();

  QLabel* picture_;
  QImage image_;
  int zoom_ = 0;
  int highlighted_ = -1;
  ClickHandler click_handler_;
};

}  // namespace kv

#endif  // KORVALE_VIEWS_IMAGE_VIEW_PANE_H_
