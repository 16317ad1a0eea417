#include "document/image_view_geometry.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace kv {

namespace {

// Positions beyond this lie far outside any view; clamped there, a
// calibration point anywhere an int reaches, or a view pixel fitted far out
// that covers millions of image pixels, cannot overflow.
int Far(double position) {
  constexpr double kFar = 1 << 30;
  return static_cast<int>(std::clamp(position, -kFar, kFar));
}

// Image pixels to content pixels, truncated as the view's integer
// positions are.
int Zoomed(int pixels, double zoom) { return Far(pixels * zoom); }

// The image position that view pixel `view` shows.
double Unzoomed(int view, int scroll, double zoom) {
  return (static_cast<double>(view) + scroll) / zoom;
}

ScrollRange RangeFor(int content, int margin, int client) {
  const int maximum = content + 2 * margin - client;
  if (maximum < 0) return {};
  return {-margin, maximum};
}

// The scroll position that shows image coordinate `image` at view pixel
// `view`. From zoom 1 up an image pixel covers whole view pixels; the
// position then stays within the pixel's span, so the pixel under the mouse
// is the same one after the zoom, whatever the rounding.
int ScrollShowing(double image, int view, double zoom) {
  double scroll = std::round(image * zoom - view);
  if (zoom >= 1.0) {
    const double span_start = std::floor(image) * zoom - view;
    scroll = std::clamp(scroll, std::ceil(span_start), std::ceil(span_start + zoom) - 1.0);
  }
  return Far(scroll);
}

// After Fit: a margin before the image where the view has room for two,
// otherwise the image centred, which then fits without its margins.
int FitScroll(int content, int client, int margin) {
  if (content + 2 * margin <= client) return -margin;
  return (content - client) / 2;
}

}  // namespace

void ImageViewGeometry::Reset() {
  zoom_ = 1.0;
  margin_ = kMarginAtZoomOne;
  scroll_x_ = -kMarginAtZoomOne;
  scroll_y_ = -kMarginAtZoomOne;
  fit_ = false;
  KeepRanges();
}

void ImageViewGeometry::SetImageSize(int width, int height) {
  const bool showable =
      width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
  image_width_ = showable ? width : 0;
  image_height_ = showable ? height : 0;
}

void ImageViewGeometry::SetClientSize(int width, int height) {
  client_width_ = std::max(width, 0);
  client_height_ = std::max(height, 0);
  if (fit_) {
    ZoomToFit();
  } else {
    KeepRanges();
  }
}

bool ImageViewGeometry::ZoomToFit() {
  if (!has_image()) return false;
  fit_ = true;
  // The zoom at which the image's longer side, relative to the view, just
  // fills it; the image then lies wholly in sight.
  const double across = static_cast<double>(client_width_) / image_width_;
  const double down = static_cast<double>(client_height_) / image_height_;
  const int old_x = scroll_x_;
  const int old_y = scroll_y_;
  const bool zoomed =
      ApplyZoom(std::min({across, down, 1.0}), kMinFitZoom, client_width_ / 2, client_height_ / 2);
  scroll_x_ = FitScroll(content_width(), client_width_, margin_);
  scroll_y_ = FitScroll(content_height(), client_height_, margin_);
  KeepRanges();
  return zoomed || scroll_x_ != old_x || scroll_y_ != old_y;
}

bool ImageViewGeometry::ZoomToActualSize() {
  fit_ = false;
  return ApplyCommandZoom(1.0);
}

bool ImageViewGeometry::ZoomBy(int percent) {
  fit_ = false;
  return ApplyCommandZoom(zoom_ * percent / 100.0);
}

bool ImageViewGeometry::ZoomAt(double factor, int view_x, int view_y) {
  if (!has_image() || !(factor > 0.0) || !std::isfinite(factor)) return false;
  fit_ = false;
  return ApplyZoom(zoom_ * factor, std::min(kMinZoom, zoom_), view_x, view_y);
}

bool ImageViewGeometry::ApplyCommandZoom(double wanted) {
  return ApplyZoom(wanted, std::min(kMinZoom, zoom_), client_width_ / 2, client_height_ / 2);
}

bool ImageViewGeometry::ApplyZoom(double wanted, double lowest, int anchor_x, int anchor_y) {
  const double zoom = std::clamp(wanted, lowest, kMaxZoom);
  if (zoom == zoom_) return false;
  const double image_x = (anchor_x + scroll_x_) / zoom_;
  const double image_y = (anchor_y + scroll_y_) / zoom_;
  zoom_ = zoom;
  margin_ = static_cast<int>(kMarginAtZoomOne * zoom_);
  scroll_x_ = ScrollShowing(image_x, anchor_x, zoom_);
  scroll_y_ = ScrollShowing(image_y, anchor_y, zoom_);
  KeepRanges();
  return true;
}

int ImageViewGeometry::content_width() const { return Zoomed(image_width_, zoom_); }
int ImageViewGeometry::content_height() const { return Zoomed(image_height_, zoom_); }

ScrollRange ImageViewGeometry::HorizontalRange() const {
  if (!has_image()) return {0, 1};
  return RangeFor(content_width(), margin_, client_width_);
}

ScrollRange ImageViewGeometry::VerticalRange() const {
  if (!has_image()) return {0, 1};
  return RangeFor(content_height(), margin_, client_height_);
}

void ImageViewGeometry::KeepRanges() {
  if (!has_image()) return;
  const int lowest_bottom = client_height_ - 2 * margin_;
  if (content_height() - scroll_y_ < lowest_bottom) scroll_y_ = content_height() - lowest_bottom;
  const int lowest_right = client_width_ - 2 * margin_;
  if (content_width() - scroll_x_ < lowest_right) scroll_x_ = content_width() - lowest_right;
  scroll_x_ = std::max(scroll_x_, -margin_);
  scroll_y_ = std::max(scroll_y_, -margin_);
}

void ImageViewGeometry::SetScroll(int x, int y) {
  scroll_x_ = x;
  scroll_y_ = y;
}

bool ImageViewGeometry::ScrollBy(int dx, int dy) {
  if (!has_image()) return false;
  const int old_x = scroll_x_;
  const int old_y = scroll_y_;
  // In 64 bits: a drag far past the view must not wrap the position.
  const auto moved = [](int from, int by) {
    return static_cast<int>(std::clamp(static_cast<long long>(from) + by,
                                       static_cast<long long>(INT_MIN) / 2,
                                       static_cast<long long>(INT_MAX) / 2));
  };
  scroll_x_ = moved(scroll_x_, dx);
  scroll_y_ = moved(scroll_y_, dy);
  KeepRanges();
  return scroll_x_ != old_x || scroll_y_ != old_y;
}

bool ImageViewGeometry::ScrollByNotches(double across, double down) {
  const auto pixels = [](double notches, int step) {
    const double limit = INT_MAX / 2;
    if (!std::isfinite(notches)) return 0;
    return static_cast<int>(std::clamp(std::round(-notches * step), -limit, limit));
  };
  return ScrollBy(pixels(across, LineStepX()), pixels(down, LineStepY()));
}

int ImageViewGeometry::LineStepOf(int client) { return std::max(1, client / kLinesInSight); }

int ImageViewGeometry::PageStepOf(int client) { return std::max(1, client - LineStepOf(client)); }

PixelPoint ImageViewGeometry::ImagePixelAt(int view_x, int view_y) const {
  return {Far(Unzoomed(view_x, scroll_x_, zoom_)), Far(Unzoomed(view_y, scroll_y_, zoom_))};
}

PixelPoint ImageViewGeometry::ImagePixelInsideAt(int view_x, int view_y) const {
  const PixelPoint pixel = ImagePixelAt(view_x, view_y);
  return {std::clamp(pixel.x, 0, std::max(image_width_ - 1, 0)),
          std::clamp(pixel.y, 0, std::max(image_height_ - 1, 0))};
}

PixelPoint ImageViewGeometry::ViewPointOf(int image_x, int image_y) const {
  return {Zoomed(image_x, zoom_) - scroll_x_, Zoomed(image_y, zoom_) - scroll_y_};
}

bool ImageViewGeometry::IsInSight(int image_x, int image_y) const {
  const int x = Zoomed(image_x, zoom_);
  const int y = Zoomed(image_y, zoom_);
  return x >= scroll_x_ && x <= scroll_x_ + client_width_ - margin_ && y >= scroll_y_ &&
         y <= scroll_y_ + client_height_ - margin_;
}

void ImageViewGeometry::CentreOn(int image_x, int image_y) {
  scroll_x_ = Zoomed(image_x, zoom_) - client_width_ / 2;
  scroll_y_ = Zoomed(image_y, zoom_) - client_height_ / 2;
  KeepRanges();
}

PixelRect ImageViewGeometry::ImageRectShownIn(const PixelRect& view_rect) const {
  PixelRect shown;
  shown.left = Far(std::floor(Unzoomed(view_rect.left, scroll_x_, zoom_)));
  shown.top = Far(std::floor(Unzoomed(view_rect.top, scroll_y_, zoom_)));
  shown.right = Far(std::ceil(Unzoomed(view_rect.right, scroll_x_, zoom_)));
  shown.bottom = Far(std::ceil(Unzoomed(view_rect.bottom, scroll_y_, zoom_)));
  shown.left = std::clamp(shown.left, 0, image_width_);
  shown.top = std::clamp(shown.top, 0, image_height_);
  shown.right = std::clamp(shown.right, 0, image_width_);
  shown.bottom = std::clamp(shown.bottom, 0, image_height_);
  return shown;
}

PixelRect ImageViewGeometry::ContentRectInView() const {
  return {-scroll_x_, -scroll_y_, content_width() - scroll_x_, content_height() - scroll_y_};
}

}  // namespace kv
