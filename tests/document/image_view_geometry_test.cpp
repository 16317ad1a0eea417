#include "document/image_view_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace kv {
namespace {

// From zoom 1 up the image pixel under a view pixel stays exactly; below,
// where a view pixel covers several image pixels, it lands within a view
// pixel of where it was.
void ExpectStillUnder(const ImageViewGeometry& view, PixelPoint pixel, int view_x, int view_y) {
  if (view.zoom() >= 1.0) {
    EXPECT_EQ(view.ImagePixelAt(view_x, view_y), pixel);
    return;
  }
  const PixelPoint at = view.ViewPointOf(pixel.x, pixel.y);
  EXPECT_LE(std::abs(at.x - view_x), 1);
  EXPECT_LE(std::abs(at.y - view_y), 1);
}

ImageViewGeometry ViewOf(int image_width, int image_height, int client_width, int client_height) {
  ImageViewGeometry view;
  view.SetImageSize(image_width, image_height);
  view.SetClientSize(client_width, client_height);
  view.Reset();
  return view;
}

TEST(ImageViewGeometryTest, ZoomInStopsAtEightAndZoomOutAtOneTenth) {
  ImageViewGeometry view = ViewOf(1000, 800, 400, 300);
  EXPECT_TRUE(view.ZoomBy(200));
  EXPECT_TRUE(view.ZoomBy(200));
  EXPECT_TRUE(view.ZoomBy(200));
  EXPECT_DOUBLE_EQ(view.zoom(), 8.0);
  EXPECT_FALSE(view.ZoomBy(200));
  EXPECT_DOUBLE_EQ(view.zoom(), 8.0);
  EXPECT_EQ(view.margin(), 64);

  for (int i = 0; i < 8; ++i) view.ZoomBy(50);
  EXPECT_DOUBLE_EQ(view.zoom(), 0.1);
  EXPECT_FALSE(view.ZoomBy(50));
  EXPECT_TRUE(view.ZoomToActualSize());
  EXPECT_DOUBLE_EQ(view.zoom(), 1.0);
}

TEST(ImageViewGeometryTest, FitNeverEnlargesAndFollowsTheViewSize) {
  ImageViewGeometry small = ViewOf(100, 80, 800, 600);
  EXPECT_FALSE(small.ZoomToFit());
  EXPECT_DOUBLE_EQ(small.zoom(), 1.0);
  EXPECT_TRUE(small.fit());

  ImageViewGeometry large = ViewOf(2000, 1000, 800, 600);
  EXPECT_TRUE(large.ZoomToFit());
  EXPECT_DOUBLE_EQ(large.zoom(), 0.4);  // 800 / 2000 beats 600 / 1000
  large.SetClientSize(400, 600);
  EXPECT_DOUBLE_EQ(large.zoom(), 0.2);
  large.ZoomBy(200);
  EXPECT_FALSE(large.fit());
  large.SetClientSize(800, 600);
  EXPECT_DOUBLE_EQ(large.zoom(), 0.4);  // 0.2 doubled; no longer following the view

  ImageViewGeometry empty = ViewOf(0, 0, 800, 600);
  EXPECT_FALSE(empty.ZoomToFit());
  EXPECT_FALSE(empty.fit());
}

TEST(ImageViewGeometryTest, FitShowsAnImageOfAnySizeWhole) {
  struct Case {
    int image_width, image_height, client_width, client_height;
  };
  for (const Case& c :
       {Case{12000, 8000, 780, 450}, Case{8000, 12000, 780, 450}, Case{2000, 1000, 799, 599},
        Case{401, 300, 400, 300}, Case{ImageViewGeometry::kMaxImageSide, 3, 400, 300},
        Case{5, ImageViewGeometry::kMaxImageSide, 1, 1}}) {
    SCOPED_TRACE(testing::Message() << c.image_width << " x " << c.image_height << " in "
                                    << c.client_width << " x " << c.client_height);
    ImageViewGeometry view = ViewOf(c.image_width, c.image_height, c.client_width, c.client_height);
    view.ScrollBy(1000, 1000);
    EXPECT_TRUE(view.ZoomToFit());
    const PixelRect shown = view.ContentRectInView();
    EXPECT_GE(shown.left, 0);
    EXPECT_GE(shown.top, 0);
    EXPECT_LE(shown.right, c.client_width);
    EXPECT_LE(shown.bottom, c.client_height);
    EXPECT_EQ(view.ImagePixelAt(shown.left, shown.top), (PixelPoint{0, 0}));
    // Zooming out from below the commands' limit stays; zooming in works.
    const double fitted = view.zoom();
    view.ZoomBy(50);
    EXPECT_DOUBLE_EQ(view.zoom(), std::min(fitted, std::max(fitted / 2, 0.1)));
    const double out = view.zoom();
    view.ZoomBy(200);
    EXPECT_DOUBLE_EQ(view.zoom(), 2 * out);
  }
}

TEST(ImageViewGeometryTest, RangesRunFromMinusTheMarginToTheFarEdgePlusAMargin) {
  ImageViewGeometry view = ViewOf(1000, 500, 400, 300);
  EXPECT_EQ(view.HorizontalRange(), (ScrollRange{-8, 1000 + 16 - 400}));
  EXPECT_EQ(view.VerticalRange(), (ScrollRange{-8, 500 + 16 - 300}));
  EXPECT_EQ(view.scroll_x(), -8);
  EXPECT_EQ(view.scroll_y(), -8);

  // Content narrower than the view: nothing to scroll.
  ImageViewGeometry small = ViewOf(100, 100, 400, 300);
  EXPECT_EQ(small.HorizontalRange(), (ScrollRange{0, 0}));
  EXPECT_EQ(small.VerticalRange(), (ScrollRange{0, 0}));
  EXPECT_EQ(small.scroll_x(), -8);  // still drawn a margin inside the view

  ImageViewGeometry empty = ViewOf(0, 0, 400, 300);
  EXPECT_EQ(empty.HorizontalRange(), (ScrollRange{0, 1}));
  EXPECT_EQ(empty.VerticalRange(), (ScrollRange{0, 1}));
}

TEST(ImageViewGeometryTest, ZoomCommandsKeepTheMiddleOfTheViewAndTheFarEdgesInPlace) {
  ImageViewGeometry view = ViewOf(1000, 500, 400, 300);
  view.SetScroll(616, 216);  // both ranges' ends
  EXPECT_TRUE(view.ZoomBy(50));
  // The middle, image pixel (816, 366), would go to 408, 183, leaving the
  // edges 192 and 142 pixels in; they are pulled back to two margins (4
  // each) inside the view.
  EXPECT_EQ(view.margin(), 4);
  EXPECT_EQ(view.scroll_x(), 500 - (400 - 8));
  EXPECT_EQ(view.scroll_y(), -4);  // 250 - 292 would be above -margin

  ImageViewGeometry far = ViewOf(8000, 6000, 400, 300);
  far.SetScroll(3000, 2000);
  for (int percent : {200, 200, 50, 50, 50, 50, 100, 200, 50}) {
    SCOPED_TRACE(percent);
    const PixelPoint middle = far.ImagePixelAt(200, 150);
    EXPECT_TRUE(percent == 100 ? far.ZoomToActualSize() : far.ZoomBy(percent));
    ExpectStillUnder(far, middle, 200, 150);
  }
}

TEST(ImageViewGeometryTest, ZoomingAboutTheMouseKeepsThePixelUnderIt) {
  struct Case {
    double factor;
    int view_x, view_y;
  };
  const double root_two = std::sqrt(2.0);
  ImageViewGeometry view = ViewOf(8000, 6000, 400, 300);
  view.SetScroll(3000, 2000);
  for (const Case& c : {Case{2.0, 31, 11}, Case{root_two, 399, 299}, Case{root_two, 0, 0},
                        Case{1 / root_two, 123, 77}, Case{0.5, 250, 40}, Case{4.0, 7, 290},
                        Case{1 / root_two, 200, 150}, Case{0.25, 380, 20}, Case{0.125, 50, 60},
                        Case{2.0, 300, 100}}) {
    SCOPED_TRACE(testing::Message() << c.factor << " at " << c.view_x << ", " << c.view_y);
    const PixelPoint before = view.ImagePixelAt(c.view_x, c.view_y);
    const double zoom = view.zoom();
    EXPECT_TRUE(view.ZoomAt(c.factor, c.view_x, c.view_y));
    EXPECT_DOUBLE_EQ(view.zoom(), zoom * c.factor);
    ExpectStillUnder(view, before, c.view_x, c.view_y);
  }
  // At the limits nothing changes.
  view.ZoomToActualSize();
  for (int i = 0; i < 3; ++i) view.ZoomAt(2.0, 10, 10);
  EXPECT_FALSE(view.ZoomAt(2.0, 10, 10));
  EXPECT_FALSE(view.ZoomAt(0.0, 10, 10));
}

TEST(ImageViewGeometryTest, DraggingMovesTheViewUntilTheRangeEnds) {
  struct Case {
    int start_x, start_y, dx, dy, x, y;
  };
  // Image 1000 x 500 in 400 x 300 at zoom 1: x runs from -8 to 616, y to
  // 216.
  for (const Case& c : {Case{100, 100, 30, -20, 130, 80}, Case{100, 100, -500, -500, -8, -8},
                        Case{100, 100, 5000, 5000, 616, 216}, Case{600, 0, 100, 0, 616, 0},
                        Case{0, 0, INT_MAX, INT_MIN, 616, -8}}) {
    SCOPED_TRACE(testing::Message() << c.dx << ", " << c.dy);
    ImageViewGeometry view = ViewOf(1000, 500, 400, 300);
    view.SetScroll(c.start_x, c.start_y);
    EXPECT_EQ(view.ScrollBy(c.dx, c.dy), c.x != c.start_x || c.y != c.start_y);
    EXPECT_EQ(view.scroll_x(), c.x);
    EXPECT_EQ(view.scroll_y(), c.y);
  }
  // An image smaller than the view does not move.
  ImageViewGeometry small = ViewOf(100, 100, 400, 300);
  EXPECT_FALSE(small.ScrollBy(50, 50));
  EXPECT_EQ(small.scroll_x(), -8);
}

TEST(ImageViewGeometryTest, StepsAreATenthOfWhatIsInSight) {
  struct Case {
    int client_width, client_height, line_x, line_y, page_x, page_y;
  };
  for (const Case& c : {Case{400, 300, 40, 30, 360, 270}, Case{783, 451, 78, 45, 705, 406},
                        Case{5, 0, 1, 1, 4, 1}}) {
    SCOPED_TRACE(testing::Message() << c.client_width << " x " << c.client_height);
    ImageViewGeometry view = ViewOf(20000, 20000, c.client_width, c.client_height);
    EXPECT_EQ(view.LineStepX(), c.line_x);
    EXPECT_EQ(view.LineStepY(), c.line_y);
    EXPECT_EQ(view.PageStepX(), c.page_x);
    EXPECT_EQ(view.PageStepY(), c.page_y);
  }
  // A wheel notch is a line; turning it away from the user moves towards
  // the image's end.
  ImageViewGeometry view = ViewOf(20000, 20000, 400, 300);
  view.SetScroll(1000, 1000);
  EXPECT_TRUE(view.ScrollByNotches(0, -1));
  EXPECT_EQ(view.scroll_y(), 1030);
  EXPECT_TRUE(view.ScrollByNotches(0.5, 2));
  EXPECT_EQ(view.scroll_x(), 980);
  EXPECT_EQ(view.scroll_y(), 970);
}

TEST(ImageViewGeometryTest, ViewAndImagePixelsMapThroughZoomAndScroll) {
  ImageViewGeometry view = ViewOf(1000, 800, 400, 300);
  view.ZoomBy(200);
  view.SetScroll(100, 50);
  EXPECT_EQ(view.ImagePixelAt(31, 11), (PixelPoint{65, 30}));  // (131 / 2, 61 / 2) truncated
  EXPECT_EQ(view.ViewPointOf(65, 30), (PixelPoint{30, 10}));
  EXPECT_EQ(view.ImageRectShownIn({0, 0, 400, 300}), (PixelRect{50, 25, 250, 175}));

  view.SetScroll(-16, -16);
  EXPECT_EQ(view.ImageRectShownIn({0, 0, 10, 10}), (PixelRect{0, 0, 0, 0}));
  EXPECT_EQ(view.ContentRectInView(), (PixelRect{16, 16, 2016, 1616}));
}

TEST(ImageViewGeometryTest, ASizeOnlyADamagedFileCouldClaimShowsNothing) {
  // Zoomed 8 times such a size would overflow the view's positions.
  ImageViewGeometry view = ViewOf(1 << 30, 100, 400, 300);
  EXPECT_FALSE(view.has_image());
  EXPECT_FALSE(view.ZoomToFit());
  view.ZoomBy(800);
  EXPECT_EQ(view.content_width(), 0);
  EXPECT_EQ(view.HorizontalRange(), (ScrollRange{0, 1}));

  ImageViewGeometry widest = ViewOf(ImageViewGeometry::kMaxImageSide, 1, 400, 300);
  EXPECT_TRUE(widest.has_image());
  widest.ZoomBy(800);
  EXPECT_EQ(widest.content_width(), 8 * ImageViewGeometry::kMaxImageSide);
  EXPECT_GT(widest.HorizontalRange().maximum, 0);
}

TEST(ImageViewGeometryTest, CentringBringsAPointOutOfSightIntoTheMiddle) {
  ImageViewGeometry view = ViewOf(4000, 3000, 400, 300);
  EXPECT_TRUE(view.IsInSight(100, 100));
  EXPECT_FALSE(view.IsInSight(1000, 2000));
  EXPECT_FALSE(view.IsInSight(395, 100));  // within the margin at the right edge
  view.CentreOn(1000, 2000);
  EXPECT_EQ(view.scroll_x(), 800);
  EXPECT_EQ(view.scroll_y(), 1850);
  EXPECT_TRUE(view.IsInSight(1000, 2000));
  EXPECT_EQ(view.ViewPointOf(1000, 2000), (PixelPoint{200, 150}));

  // Near the far corner centring stops where the ranges keep the edge.
  view.CentreOn(3999, 2999);
  EXPECT_EQ(view.scroll_x(), 4000 - (400 - 16));
  EXPECT_EQ(view.scroll_y(), 3000 - (300 - 16));
}

}  // namespace
}  // namespace kv
