#ifndef KORVALE_DOCUMENT_IMAGE_VIEW_GEOMETRY_H_
#define KORVALE_DOCUMENT_IMAGE_VIEW_GEOMETRY_H_

// The arithmetic of the image view: zoom, margin, scroll positions and
// ranges, and the mapping between view pixels and image pixels. The widget
// only mirrors it into its scroll bars and paints what it says.
//
// View pixel (vx, vy) shows content pixel (vx + scroll_x, vy + scroll_y);
// content pixels are image pixels times the zoom. Scroll positions start at
// -margin so that the image begins a margin inside the view.

namespace kv {

struct ScrollRange {
  int minimum = 0;
  int maximum = 0;
  bool operator==(const ScrollRange&) const = default;
};

struct PixelPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PixelPoint&) const = default;
};

// Half-open rectangle [left, right) x [top, bottom).
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool empty() const { return right <= left || bottom <= top; }
  bool operator==(const PixelRect&) const = default;
};

class ImageViewGeometry {
 public:
  // The zoom commands and the wheel stop at these; only Fit goes further
  // out, and from there zooming out changes nothing.
  static constexpr double kMinZoom = 0.1;
  static constexpr double kMaxZoom = 8.0;
  static constexpr int kMarginAtZoomOne = 8;
  // A line (an arrow key, a wheel notch) moves a tenth of what is in sight,
  // a page all of it but a line, so a strip of what was seen stays.
  static constexpr int kLinesInSight = 10;
  // The widest and tallest image the view shows: 8 times it still fits the
  // view's integer positions. Larger sizes come only from damaged files.
  static constexpr int kMaxImageSide = 1 << 26;
  // Fit brings even the largest image down to one pixel.
  static constexpr double kMinFitZoom = 1.0 / kMaxImageSide;

  // Zoom 1, margin 8, scroll positions at -8, fit off. The image size and
  // the client size stay.
  void Reset();

  // 0 x 0 means no image; so does a side above kMaxImageSide.
  void SetImageSize(int width, int height);
  bool has_image() const { return image_width_ > 0 && image_height_ > 0; }
  int image_width() const { return image_width_; }
  int image_height() const { return image_height_; }

  // The view's size after a resize: re-fits when fit is on, otherwise
  // keeps the ranges.
  void SetClientSize(int width, int height);
  int client_width() const { return client_width_; }
  int client_height() const { return client_height_; }

  // Zoom commands. Each returns true when the view changed. The image
  // point in the middle of the view stays there, as far as the ranges let
  // it.
  // Fit: the whole image in the view, never above 1.0; fit stays on until
  // another zoom. Nothing happens without an image.
  bool ZoomToFit();
  bool ZoomToActualSize();
  // Relative to the current zoom: 200 doubles, 50 halves.
  bool ZoomBy(int percent);
  // Zooms by `factor` about view pixel (view_x, view_y): the image pixel
  // under it stays under it (within a view pixel below zoom 1), as far as
  // the ranges let it.
  bool ZoomAt(double factor, int view_x, int view_y);

  double zoom() const { return zoom_; }
  int margin() const { return margin_; }
  bool fit() const { return fit_; }

  // Without an image both ranges are 0 to 1.
  ScrollRange HorizontalRange() const;
  ScrollRange VerticalRange() const;
  // Range keeping: pulls the content's right and bottom edges back to two
  // margins inside the view when they would sit further in, then keeps
  // both positions at or above -margin.
  void KeepRanges();

  int scroll_x() const { return scroll_x_; }
  int scroll_y() const { return scroll_y_; }
  // As a scroll bar sets it; not clamped here.
  void SetScroll(int x, int y);
  // Moves the view over the content by (dx, dy) view pixels (a drag moves
  // it by minus the mouse's way), then keeps the ranges. True when it moved.
  bool ScrollBy(int dx, int dy);
  // Wheel turns in notches (a notch is 1, finer wheels give fractions);
  // positive turns move towards the image's start. A notch is a line.
  bool ScrollByNotches(double across, double down);

  // The steps of the arrow keys and of the Page keys, from the view's size;
  // at least 1.
  int LineStepX() const { return LineStepOf(client_width_); }
  int LineStepY() const { return LineStepOf(client_height_); }
  int PageStepX() const { return PageStepOf(client_width_); }
  int PageStepY() const { return PageStepOf(client_height_); }

  // The image pixel under view pixel (view_x, view_y), truncated.
  PixelPoint ImagePixelAt(int view_x, int view_y) const;
  // The same, moved to the nearest pixel inside the image.
  PixelPoint ImagePixelInsideAt(int view_x, int view_y) const;
  // Where image pixel (x, y) appears in the view.
  PixelPoint ViewPointOf(int image_x, int image_y) const;
  // True when the image pixel lies inside the part of the view in sight
  // (scroll position to scroll position + client size - margin).
  bool IsInSight(int image_x, int image_y) const;
  // Scrolls so that image pixel (x, y) sits in the middle of the view, then
  // keeps the ranges.
  void CentreOn(int image_x, int image_y);

  // The image pixels that the view rectangle shows, clipped to the image.
  PixelRect ImageRectShownIn(const PixelRect& view_rect) const;
  // The zoomed image in view pixels (may reach past the view).
  PixelRect ContentRectInView() const;

  int content_width() const;
  int content_height() const;

 private:
  static int LineStepOf(int client);
  static int PageStepOf(int client);
  // The zoom clamped to the limits, with the image point under view point
  // (anchor_x, anchor_y) kept there.
  bool ApplyZoom(double wanted, double lowest, int anchor_x, int anchor_y);
  bool ApplyCommandZoom(double wanted);

  int image_width_ = 0;
  int image_height_ = 0;
  int client_width_ = 0;
  int client_height_ = 0;
  double zoom_ = 1.0;
  int margin_ = kMarginAtZoomOne;
  int scroll_x_ = -kMarginAtZoomOne;
  int scroll_y_ = -kMarginAtZoomOne;
  bool fit_ = false;
};

}  // namespace kv

#endif  // KORVALE_DOCUMENT_IMAGE_VIEW_GEOMETRY_H_
