#include "document/image_view_geometry.h"

#include <algorithm>
#include <cmath>

namespace kv {

namespace {

// Image pixels to content pixels, truncated as the view's integer
// positions are.
int Zoomed(int pixels, double zoom) { return static_cast<int>(pixels * zoom); }

ScrollRange RangeFor(int content, int margin, int client) {
  const int maximum = content + 2 * margin - client;
  if (maximum < 0) return {};
  return {-margin, maximum};
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
  const double across = (client_width_ + 1.0) / image_width_;
  const double down = (client_height_ + 1.0) / image_height_;
  fit_ = true;
  return ApplyZoom(std::min({across, down, 1.0}));
}

bool ImageViewGeometry::ZoomToActualSize() {
  fit_ = false;
  return ApplyZoom(1.0);
}

bool ImageViewGeometry::ZoomBy(int percent) {
  fit_ = false;
  return ApplyZoom(zoom_ * percent / 100.0);
}

bool ImageViewGeometry::ApplyZoom(double wanted) {
  const double zoom = std::clamp(wanted, kMinZoom, kMaxZoom);
  if (zoom == zoom_) return false;
  const double ratio = zoom / zoom_;
  zoom_ = zoom;
  scroll_x_ = static_cast<int>(scroll_x_ * ratio);
  scroll_y_ = static_cast<int>(scroll_y_ * ratio);
  margin_ = static_cast<int>(kMarginAtZoomOne * zoom_);
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

PixelPoint ImageViewGeometry::ImagePixelAt(int view_x, int view_y) const {
  return {static_cast<int>((view_x + scroll_x_) / zoom_),
          static_cast<int>((view_y + scroll_y_) / zoom_)};
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
  shown.left = static_cast<int>(std::floor((view_rect.left + scroll_x_) / zoom_));
  shown.top = static_cast<int>(std::floor((view_rect.top + scroll_y_) / zoom_));
  shown.right = static_cast<int>(std::ceil((view_rect.right + scroll_x_) / zoom_));
  shown.bottom = static_cast<int>(std::ceil((view_rect.bottom + scroll_y_) / zoom_));
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
