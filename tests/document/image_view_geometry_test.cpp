#include "document/image_view_geometry.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

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

  ImageViewGeometry large = ViewOf(2000, 1000, 799, 599);
  EXPECT_TRUE(large.ZoomToFit());
  EXPECT_DOUBLE_EQ(large.zoom(), 0.4);  // (799 + 1) / 2000 beats (599 + 1) / 1000
  large.SetClientSize(399, 599);
  EXPECT_DOUBLE_EQ(large.zoom(), 0.2);
  large.ZoomBy(200);
  EXPECT_FALSE(large.fit());
  large.SetClientSize(799, 599);
  EXPECT_DOUBLE_EQ(large.zoom(), 0.4);  // 0.2 doubled; no longer following the view

  ImageViewGeometry empty = ViewOf(0, 0, 800, 600);
  EXPECT_FALSE(empty.ZoomToFit());
  EXPECT_FALSE(empty.fit());
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

TEST(ImageViewGeometryTest, ZoomScalesTheScrollPositionsAndKeepsTheFarEdgesInPlace) {
  ImageViewGeometry view = ViewOf(1000, 500, 400, 300);
  view.SetScroll(616, 216);  // both ranges' ends
  EXPECT_TRUE(view.ZoomBy(50));
  // Halved to 308 and 108 would leave the edges 192 and 142 pixels in;
  // they are pulled back to two margins (4 each) inside the view.
  EXPECT_EQ(view.margin(), 4);
  EXPECT_EQ(view.scroll_x(), 500 - (400 - 8));
  EXPECT_EQ(view.scroll_y(), -4);  // 250 - 292 would be above -margin

  view.SetScroll(100, 40);
  EXPECT_TRUE(view.ZoomBy(200));
  EXPECT_EQ(view.scroll_x(), 200);
  EXPECT_EQ(view.scroll_y(), 80);
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
