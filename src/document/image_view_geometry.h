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
  static constexpr double kMinZoom = 0.1;
  static constexpr double kMaxZoom = 8.0;
  static constexpr int kMarginAtZoomOne = 8;
  static constexpr int kLineStep = 4;
  static constexpr int kPageStep = 20;
  // The widest and tallest image the view shows: 8 times it still fits the
  // view's integer positions. Larger sizes come only from damaged files.
  static constexpr int kMaxImageSide = 1 << 26;

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

  // Zoom commands. Each returns true when the zoom changed (the scroll
  // positions then follow the zoom and the ranges are kept).
  // Fit: the whole image in the view, never above 1.0; fit stays on until
  // another zoom. Nothing happens without an image.
  bool ZoomToFit();
  bool ZoomToActualSize();
  // Relative to the current zoom: 200 doubles, 50 halves.
  bool ZoomBy(int percent);

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

  // The image pixel under view pixel (view_x, view_y), truncated.
  PixelPoint ImagePixelAt(int view_x, int view_y) const;
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
  bool ApplyZoom(double wanted);

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
