#ifndef KORVALE_DOCUMENT_CALIBRATION_POINT_VIEW_H_
#define KORVALE_DOCUMENT_CALIBRATION_POINT_VIEW_H_

// What the calibration dialog asks of the view that shows the image and its
// calibration points: which point stands out, bringing a point into sight,
// blinking it, the calibrate cursor, and the clicks on the image and the
// points dragged in it. The image view implements it; tests record the
// calls.

#include <functional>

namespace kv {

class CalibrationPointView {
 public:
  // Image pixel position of a click (left button released).
  using ClickHandler = std::function<void(int pixel_x, int pixel_y)>;
  // Point `index` (0-8) dragged by its circle and let go over image pixel
  // (pixel_x, pixel_y).
  using PointMoveHandler = std::function<void(int index, int pixel_x, int pixel_y)>;

  virtual ~CalibrationPointView() = default;

  // Index 0-8 of the highlighted point, or -1 for none.
  virtual int HighlightedPoint() const = 0;
  // Draws point `index` (at image pixel `pixel_x`, `pixel_y`) highlighted
  // and the one highlighted before in the normal colour; with
  // `make_visible` the view scrolls to centre it when it is out of sight.
  virtual void HighlightPoint(int pixel_x, int pixel_y, int index, bool make_visible) = 0;
  // Scrolls so that image pixel (`pixel_x`, `pixel_y`) lies in the middle
  // of the view, as far as the image allows.
  virtual void CentreOnPixel(int pixel_x, int pixel_y) = 0;
  // Blinks point `index` for a few seconds.
  virtual void BlinkPoint(int index) = 0;
  // On while the user picks image positions for the points: then the left
  // button picks positions and drags points instead of panning the view.
  virtual void SetCalibrateCursor(bool on) = 0;
  // Redraws the points after the calibration changed.
  virtual void RepaintPoints() = 0;
  // Where clicks on the image go; an empty handler drops them.
  virtual void SetClickHandler(ClickHandler handler) = 0;
  // Where dragged points go; an empty handler drops them. A view that
  // cannot drag points ignores it.
  virtual void SetPointMoveHandler(PointMoveHandler /*handler*/) {}
};

}  // namespace kv

#endif  // KORVALE_DOCUMENT_CALIBRATION_POINT_VIEW_H_
