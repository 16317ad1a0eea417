// The image view on the offscreen platform, driven through its scroll bars,
// the mouse and the zoom commands, and checked on the pixels it shows.

#include "views/image_view_pane.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <filesystem>
#include <memory>
#include <vector>

#include "bitmap/gdal_fixture.h"
#include "calibration/calibration_record.h"
#include "document/document_ui.h"
#include "map/c_image.h"
#include "map/c_image_container.h"
#include "map/map_fixtures.h"
#include "map/map_mosaic.h"
#include "map/stored_bitmap.h"
#include "temp_folder.h"
#include "views/converted_map_layer.h"
#include "views/source_region_layer.h"

// The program's resources, linked in from the shell's library.
static void InitProgramResources() { Q_INIT_RESOURCE(korvale); }

namespace kv {
namespace {

constexpr int kMapWidth = 400;
constexpr int kMapHeight = 300;

// A map of 400 x 300 pixels: the overview, then 3 columns of 3 tiles, each
// tile filled with its own colour index and cut at the map's edges.
std::unique_ptr<CImageContainer> TiledMap() {
  auto map = std::make_unique<CImageContainer>("Map", nullptr);
  auto overview = testing::FakeImage(0);
  overview->set_map_size(kMapWidth, kMapHeight);
  map->AddImage(std::move(overview));
  for (int column = 0; column < 3; ++column) {
    for (int row = 0; row < 3; ++row) {
      const int width = std::min(160, kMapWidth - column * 160);
      const int height = std::min(131, kMapHeight - row * 131);
      auto tile = std::make_unique<CImage>();
      const auto fill = static_cast<std::uint8_t>(20 + 23 * (column * 3 + row));
      tile->SetBitmap(StoredBitmap(testing::FakeBitmapRecord(
          static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 8, fill)));
      map->AddImage(std::move(tile));
    }
  }
  return map;
}

// One stored bitmap of 400 x 300 pixels, colour index 0 (white).
std::unique_ptr<CImageContainer> SingleImageMap() {
  auto map = std::make_unique<CImageContainer>("Single", nullptr);
  auto image = std::make_unique<CImage>();
  image->SetBitmap(StoredBitmap(testing::FakeBitmapRecord(kMapWidth, kMapHeight, 8, 0)));
  map->AddImage(std::move(image));
  return map;
}

QRgb MosaicPixel(const RgbImage& mosaic, int x, int y) {
  const std::uint8_t* pixel =
      mosaic.rgb.data() + 3 * (static_cast<std::size_t>(y) * mosaic.width + x);
  return qRgb(pixel[0], pixel[1], pixel[2]);
}

// Turns the wheel by `eighths` of a degree (120 a notch) over view pixel
// `at`.
void TurnWheel(QWidget* view, QPoint at, int eighths, Qt::KeyboardModifiers modifiers = {}) {
  QWheelEvent wheel(at, view->mapToGlobal(at), QPoint(), QPoint(0, eighths), Qt::NoButton,
                    modifiers, Qt::NoScrollPhase, false);
  QApplication::sendEvent(view, &wheel);
}

// Both bars to their start: the image's corner a margin inside the view.
void ScrollToStart(ImageViewPane& pane) {
  for (QScrollBar* bar :
       {pane.scroll_area()->horizontalScrollBar(), pane.scroll_area()->verticalScrollBar()}) {
    bar->setValue(bar->minimum());
  }
}

// What the view shows once everything in sight has been decoded (each
// grab paints, and a paint asks for what it lacks).
QImage Shown(ImageViewPane& pane) {
  QImage shown;
  const bool complete = QTest::qWaitFor([&] {
    shown = pane.scroll_area()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    return pane.picture_complete();
  });
  if (!complete) qWarning("the view's picture did not complete");
  return shown;
}

// Draws until everything in sight is decoded and the layer is idle.
void DrawSettled(ImageLayer& layer, QPainter& painter, const ImageViewGeometry& view,
                 const QRect& exposed) {
  const bool settled = QTest::qWaitFor([&] {
    layer.Draw(painter, view, exposed);
    return layer.picture_complete() && !layer.busy();
  });
  if (!settled) qWarning("the layer did not settle");
}

}  // namespace

class ImageViewPaneTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { InitProgramResources(); }

  void init() {
    pane_ = std::make_unique<ImageViewPane>();
    pane_->resize(460, 380);
    pane_->show();
    QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
  }
  void cleanup() { pane_.reset(); }

  void ZoomInStopsAtEightTimes() {
    auto map = SingleImageMap();
    pane_->ShowImage(map->ImageAt(0));
    for (int i = 0; i < 3; ++i) pane_->SetZoom(200);
    QCOMPARE(pane_->geometry_state().zoom(), 8.0);
    pane_->SetZoom(200);
    QCOMPARE(pane_->geometry_state().zoom(), 8.0);
    // The scroll bars follow: the zoomed image plus two margins of 64.
    QScrollBar* bar = pane_->scroll_area()->horizontalScrollBar();
    QCOMPARE(bar->minimum(), -64);
    QCOMPARE(bar->maximum(), 8 * kMapWidth + 128 - pane_->scroll_area()->viewport()->width());
    // An arrow key moves a tenth of the view, a page key all of it but that.
    const int width = pane_->scroll_area()->viewport()->width();
    QCOMPARE(bar->singleStep(), width / 10);
    QCOMPARE(bar->pageStep(), width - width / 10);
    pane_->SetZoom(100);
    QCOMPARE(pane_->geometry_state().zoom(), 1.0);
  }

  void FitOnASmallImageKeepsActualSize() {
    auto map = std::make_unique<CImageContainer>("Small", nullptr);
    map->AddImage(testing::FakeImage(0));
    pane_->ShowImage(map->ImageAt(0));
    pane_->SetZoom(kZoomFit);
    QCOMPARE(pane_->geometry_state().zoom(), 1.0);
    QVERIFY(pane_->geometry_state().fit());
  }

  void TilesLandWhereTheMapPutsThem() {
    auto map = TiledMap();
    const RgbImage mosaic = RenderMosaic(*map);
    pane_->ShowImage(map->ImageAt(3));  // a tile selected: the view shows its map
    QCOMPARE(pane_->geometry_state().image_width(), kMapWidth);
    QImage shown = Shown(*pane_);
    // At zoom 1 the image starts a margin (8) inside the view.
    for (const QPoint& at : {QPoint(0, 0), QPoint(159, 130), QPoint(160, 131), QPoint(399, 299),
                             QPoint(170, 270), QPoint(330, 10), QPoint(390, 140)}) {
      QVERIFY2(at.x() + 8 < shown.width() && at.y() + 8 < shown.height(), "view too small");
      const QRgb expected = MosaicPixel(mosaic, at.x(), at.y());
      // Off the centre lines, which are drawn over the image.
      if (std::abs(at.x() - kMapWidth / 2) <= 2 || std::abs(at.y() - kMapHeight / 2) <= 2) continue;
      QCOMPARE(shown.pixel(at.x() + 8, at.y() + 8), expected);
    }

    // Halved: tiles are drawn reduced, each still in its own place.
    pane_->SetZoom(50);
    shown = Shown(*pane_);
    const int margin = pane_->geometry_state().margin();
    for (const QPoint& at : {QPoint(40, 40), QPoint(250, 250), QPoint(370, 100)}) {
      QCOMPARE(shown.pixel(at.x() / 2 + margin, at.y() / 2 + margin),
               MosaicPixel(mosaic, at.x(), at.y()));
    }
    QVERIFY(pane_->cached_bytes() > 0);

    // While long work owns the map the view shows none of it.
    pane_->SuspendDrawing(true);
    const QImage suspended = Shown(*pane_);
    QVERIFY(suspended.pixel(40 / 2 + margin, 40 / 2 + margin) != MosaicPixel(mosaic, 40, 40));
    QCOMPARE(suspended.pixel(40 / 2 + margin, 40 / 2 + margin), suspended.pixel(1, 1));
    pane_->SuspendDrawing(false);

    // A quarter: tiles are sampled, not decoded whole.
    pane_->SetZoom(50);
    QCOMPARE(pane_->geometry_state().zoom(), 0.25);
    shown = Shown(*pane_);
    const int quarter_margin = pane_->geometry_state().margin();
    for (const QPoint& at : {QPoint(40, 40), QPoint(250, 250), QPoint(370, 100), QPoint(230, 20)}) {
      QCOMPARE(shown.pixel(at.x() / 4 + quarter_margin, at.y() / 4 + quarter_margin),
               MosaicPixel(mosaic, at.x(), at.y()));
    }
  }

  // The tiles in sight stay cached even past the budget (they are what the
  // view shows); once the view moves on the budget holds again.
  void ATileCacheNeverGrowsPastItsBudget() {
    auto map = TiledMap();
    const std::size_t one_tile = 160 * 131 * 4;
    const std::size_t budget = 2 * one_tile + one_tile / 2;
    ConvertedMapLayer layer(*map, budget);
    ImageViewGeometry view;
    view.SetImageSize(kMapWidth, kMapHeight);
    view.SetClientSize(kMapWidth, kMapHeight);
    view.SetScroll(0, 0);
    QImage target(kMapWidth, kMapHeight, QImage::Format_RGB32);
    target.fill(Qt::black);
    {
      QPainter painter(&target);
      DrawSettled(layer, painter, view, QRect(0, 0, kMapWidth, kMapHeight));
      QVERIFY(layer.cached_bytes() <= 9 * one_tile);
      view.ZoomBy(200);
      view.ZoomBy(200);
      view.SetScroll(0, 0);  // one tile in sight
      QImage elsewhere(kMapWidth, kMapHeight, QImage::Format_RGB32);
      QPainter other(&elsewhere);
      DrawSettled(layer, other, view, QRect(0, 0, kMapWidth, kMapHeight));
    }
    QVERIFY(layer.cached_bytes() <= budget);
    QVERIFY(layer.cached_bytes() > 0);
    // Every tile was drawn.
    const RgbImage mosaic = RenderMosaic(*map);
    for (int x = 5; x < kMapWidth; x += 37) {
      for (int y = 3; y < kMapHeight; y += 29)
        QCOMPARE(target.pixel(x, y), MosaicPixel(mosaic, x, y));
    }
  }

  void AnUnconvertedFileIsDrawnFromItsPixels() {
    const std::filesystem::path folder = MakeTempFolder("kv-view-");
    const std::string path = (folder / "source.png").string();
    QVERIFY(testing::WriteRaster(path, testing::RasterLayout{.width = 700, .height = 500},
                                 [](int band, int x, int y) {
                                   return band == 1 ? x % 256 : band == 2 ? y % 256 : (x ^ y) % 256;
                                 }));
    const QImage peer = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(peer.width(), 700);

    CImage image;
    image.set_unconverted_source(CImage::UnconvertedSource{path, 700, 500});
    pane_->ShowImage(&image);
    QCOMPARE(pane_->geometry_state().image_width(), 700);
    pane_->SetZoom(200);
    pane_->scroll_area()->horizontalScrollBar()->setValue(500);  // past a block edge
    pane_->scroll_area()->verticalScrollBar()->setValue(300);
    const QImage shown = Shown(*pane_);
    const ImageViewGeometry& view = pane_->geometry_state();
    QCOMPARE(view.scroll_x(), 500);
    for (int y = 0; y < shown.height(); y += 7) {
      for (int x = 0; x < shown.width(); x += 5) {
        const PixelPoint source = view.ImagePixelAt(x, y);
        if (std::abs(source.x - 350) <= 2 || std::abs(source.y - 250) <= 2)
          continue;  // centre lines
        QCOMPARE(shown.pixel(x, y), peer.pixel(source.x, source.y));
      }
    }
    std::filesystem::remove_all(folder);
  }

  // Within the budget but for the blocks in sight: those are never
  // evicted, so drawing again reads nothing however small the budget.
  void ARegionCacheNeverGrowsPastItsBudget() {
    const std::filesystem::path folder = MakeTempFolder("kv-view-");
    const std::string path = (folder / "source.tif").string();
    QVERIFY(testing::WriteRaster(
        path, testing::RasterLayout{.driver = "GTiff", .width = 1200, .height = 900},
        [](int band, int x, int y) { return (band * 40 + x + y) % 256; }));
    const std::size_t one_block = 256 * 256 * 4;
    const std::size_t budget = 3 * one_block;
    SourceRegionLayer layer(path, 1200, 900, budget);
    QVERIFY(layer.is_open());
    ImageViewGeometry view;
    view.SetImageSize(1200, 900);
    view.SetClientSize(800, 600);
    QImage target(800, 600, QImage::Format_RGB32);
    QPainter painter(&target);
    for (int zoom : {100, 50, 200, 200}) {
      if (zoom == 100) {
        view.ZoomToActualSize();
      } else {
        view.ZoomBy(zoom);
      }
      DrawSettled(layer, painter, view, QRect(0, 0, 800, 600));
      // At most 5 x 4 blocks meet an 800 x 600 view.
      QVERIFY(layer.cached_bytes() <= budget + 20 * one_block);
      const int reads = layer.read_count();
      layer.Draw(painter, view, QRect(0, 0, 800, 600));
      QVERIFY(layer.picture_complete());
      QCOMPARE(layer.read_count(), reads);
    }
    painter.end();
    std::filesystem::remove_all(folder);
  }

  void ScrollingLessThanABlockReadsNothing() {
    const std::filesystem::path folder = MakeTempFolder("kv-view-");
    const std::string path = (folder / "source.tif").string();
    QVERIFY(testing::WriteRaster(
        path, testing::RasterLayout{.driver = "GTiff", .width = 2000, .height = 1500},
        [](int band, int x, int y) { return (band * 40 + x + y) % 256; }));
    SourceRegionLayer layer(path, 2000, 1500, SourceRegionLayer::kDefaultBudgetBytes);
    ImageViewGeometry view;
    view.SetImageSize(2000, 1500);
    view.SetClientSize(400, 300);
    view.SetScroll(600, 500);
    QImage target(400, 300, QImage::Format_RGB32);
    QPainter painter(&target);
    DrawSettled(layer, painter, view, QRect(0, 0, 400, 300));
    QCOMPARE(layer.read_count(), 1);
    for (const auto& [x, y] : {std::pair{850, 500}, {850, 750}, {350, 250}, {600, 500}}) {
      view.SetScroll(x, y);
      DrawSettled(layer, painter, view, QRect(0, 0, 400, 300));
    }
    QCOMPARE(layer.read_count(), 1);
    view.SetScroll(1500, 500);  // past the ring
    DrawSettled(layer, painter, view, QRect(0, 0, 400, 300));
    QCOMPARE(layer.read_count(), 2);
    painter.end();
    std::filesystem::remove_all(folder);
  }

  void AnUnsetPointIsNotDrawnAndTheHighlightedOneIsMagenta() {
    auto map = SingleImageMap();
    CalibrationRecord calibration;
    calibration.points.emplace();
    (*calibration.points)[1].latitude = 51.5;
    (*calibration.points)[1].pixel_x = 100;
    (*calibration.points)[1].pixel_y = 60;
    pane_->SetCalibration(&calibration);
    pane_->ShowImage(map->ImageAt(0));

    const QRgb orange = qRgb(255, 128, 0);
    const QRgb magenta = qRgb(192, 0, 192);
    QImage shown = Shown(*pane_);
    // The single bitmap (colour index 0, white) a margin inside the view.
    QCOMPARE(shown.pixel(8 + 300, 8 + 250), qRgb(255, 255, 255));
    QCOMPARE(shown.pixel(8 + 399, 8 + 299), qRgb(255, 255, 255));
    QVERIFY(shown.pixel(7, 7) != qRgb(255, 255, 255));
    QVERIFY(shown.pixel(8 + 400, 8 + 300) != qRgb(255, 255, 255));
    // Point 2 (index 1): its outer circle passes 10 pixels right of it.
    QCOMPARE(shown.pixel(8 + 100 + 10, 8 + 60), orange);
    QCOMPARE(shown.pixel(8 + 100 + 4, 8 + 60), orange);
    // Point 1 has all four values zero: nothing around image pixel 0, 0.
    for (const QPoint& at : {QPoint(18, 8), QPoint(8, 18), QPoint(12, 8), QPoint(8, 12)}) {
      QVERIFY(shown.pixel(at) != orange);
    }

    pane_->HighlightPoint(100, 60, 1, false);
    QCOMPARE(pane_->HighlightedPoint(), 1);
    shown = Shown(*pane_);
    QCOMPARE(shown.pixel(8 + 100 + 10, 8 + 60), magenta);

    // A point that is set only by its pixel position is drawn.
    (*calibration.points)[0].pixel_x = 30;
    pane_->RepaintPoints();
    shown = Shown(*pane_);
    QCOMPARE(shown.pixel(8 + 30 + 10, 8), orange);

    // A blinking point starts lit.
    pane_->BlinkPoint(0);
    shown = Shown(*pane_);
    QCOMPARE(shown.pixel(8 + 30 + 10, 8), magenta);
    QCOMPARE(shown.pixel(8 + 100 + 10, 8 + 60), magenta);
    pane_->SetCalibration(nullptr);
  }

  void HighlightingAPointOutOfSightCentresIt() {
    auto map = SingleImageMap();
    pane_->ShowImage(map->ImageAt(0));
    pane_->SetZoom(200);
    pane_->SetZoom(200);
    const ImageViewGeometry& view = pane_->geometry_state();
    QVERIFY(!view.IsInSight(300, 250));
    pane_->HighlightPoint(300, 250, 4, true);
    QVERIFY(view.IsInSight(300, 250));
    QCOMPARE(pane_->scroll_area()->horizontalScrollBar()->value(), view.scroll_x());
    QCOMPARE(pane_->scroll_area()->verticalScrollBar()->value(), view.scroll_y());
    const PixelPoint at = view.ViewPointOf(300, 250);
    QCOMPARE(at.x, view.client_width() / 2);
  }

  void TheCalibrateCursorIsTheProgramsCursor94() {
    QWidget* view = pane_->scroll_area()->viewport();
    QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
    pane_->SetCalibrateCursor(true);
    QCOMPARE(view->cursor().shape(), Qt::BitmapCursor);
    const QImage cursor = view->cursor().pixmap().toImage();
    QCOMPARE(cursor.size(), QSize(32, 32));
    QCOMPARE(cursor.convertToFormat(QImage::Format_ARGB32),
             QImage(":/korvale/cursor-94.png").convertToFormat(QImage::Format_ARGB32));
    pane_->SetCalibrateCursor(false);
    QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
  }

  void AClickWithoutAHandlerDoesNothing() {
    auto map = SingleImageMap();
    pane_->ShowImage(map->ImageAt(0));
    int calls = 0;
    pane_->SetClickHandler([&](int, int) { ++calls; });
    pane_->SetClickHandler({});
    QWidget* view = pane_->scroll_area()->viewport();
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(50, 40));
    QCOMPARE(calls, 0);
    QCOMPARE(pane_->geometry_state().zoom(), 1.0);
    QCOMPARE(pane_->geometry_state().scroll_x(), -8);
    QCOMPARE(pane_->HighlightedPoint(), -1);
  }

  void AClickPassesTheImagePixelAtZoomTwoWhenScrolled() {
    auto map = SingleImageMap();
    pane_->ShowImage(map->ImageAt(0));
    pane_->SetZoom(200);
    QScrollBar* across = pane_->scroll_area()->horizontalScrollBar();
    QScrollBar* down = pane_->scroll_area()->verticalScrollBar();
    across->setValue(100);
    down->setValue(-16);  // the zoom kept the middle; back to the top
    QTest::keyClick(pane_->scroll_area(), Qt::Key_Down);
    const int line = pane_->geometry_state().LineStepY();
    QCOMPARE(pane_->geometry_state().scroll_y(), -16 + line);
    QCOMPARE(down->value(), -16 + line);

    std::vector<PixelPoint> clicks;
    pane_->SetClickHandler([&](int x, int y) { clicks.push_back({x, y}); });
    QWidget* view = pane_->scroll_area()->viewport();
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(31, 11));
    QTest::mouseClick(view, Qt::RightButton, {}, QPoint(31, 11));  // only the left button counts
    QCOMPARE(clicks.size(), std::size_t{1});
    QCOMPARE(clicks[0].x, (31 + 100) / 2);
    QCOMPARE(clicks[0].y, (11 - 16 + line) / 2);

    QTest::mouseMove(view, QPoint(31, 11));
    QCOMPARE(pane_->status_text(), QString("x=65, y=%1").arg((11 - 16 + line) / 2));
  }

  void DraggingPansWithTheMiddleButtonAndWithTheLeftWhenNotPicking() {
    auto map = SingleImageMap();
    pane_->ShowImage(map->ImageAt(0));
    pane_->SetZoom(200);
    ScrollToStart(*pane_);
    std::vector<PixelPoint> clicks;
    pane_->SetClickHandler([&](int x, int y) { clicks.push_back({x, y}); });
    QWidget* view = pane_->scroll_area()->viewport();
    const ImageViewGeometry& geometry = pane_->geometry_state();
    QCOMPARE(QPoint(geometry.scroll_x(), geometry.scroll_y()), QPoint(-16, -16));
    struct Drag {
      Qt::MouseButton button;
      bool picking;
      QPoint from, to;
      bool pans;
      QPoint scroll;
    };
    // A pan moves the view by the mouse's way; a left drag while picking,
    // or a move shorter than a drag, is a click.
    for (const Drag& drag :
         {Drag{Qt::MiddleButton, false, {200, 200}, {150, 170}, true, {34, 14}},
          Drag{Qt::LeftButton, false, {150, 170}, {100, 100}, true, {84, 84}},
          Drag{Qt::MiddleButton, true, {100, 100}, {160, 130}, true, {24, 54}},
          Drag{Qt::LeftButton, true, {160, 130}, {100, 100}, false, {24, 54}},
          Drag{Qt::LeftButton, false, {100, 100}, {102, 101}, false, {24, 54}}}) {
      pane_->SetCalibrateCursor(drag.picking);
      const PixelPoint grabbed = geometry.ImagePixelAt(drag.from.x(), drag.from.y());
      QTest::mousePress(view, drag.button, {}, drag.from);
      QTest::mouseMove(view, (drag.from + drag.to) / 2);
      QTest::mouseMove(view, drag.to);
      // The image pixel grabbed stays under the mouse, and the status line
      // names it.
      if (drag.pans) {
        QCOMPARE(pane_->status_text(), QString("x=%1, y=%2").arg(grabbed.x).arg(grabbed.y));
      }
      QTest::mouseRelease(view, drag.button, {}, drag.to);
      QCOMPARE(QPoint(geometry.scroll_x(), geometry.scroll_y()), drag.scroll);
      QCOMPARE(pane_->scroll_area()->horizontalScrollBar()->value(), drag.scroll.x());
      QCOMPARE(pane_->scroll_area()->verticalScrollBar()->value(), drag.scroll.y());
      if (drag.pans) QCOMPARE(geometry.ImagePixelAt(drag.to.x(), drag.to.y()), grabbed);
      QCOMPARE(view->cursor().shape(), drag.picking ? Qt::BitmapCursor : Qt::ArrowCursor);
    }
    QCOMPARE(clicks.size(), std::size_t{2});
    QCOMPARE(clicks[0], geometry.ImagePixelAt(100, 100));
    QCOMPARE(clicks[1], geometry.ImagePixelAt(102, 101));
    // What is shown moved with the view: the image's left edge, a margin in
    // at the start, has gone past the view's.
    const QImage shown = Shown(*pane_);
    QCOMPARE(shown.pixel(0, 0), qRgb(255, 255, 255));
  }

  void TheWheelStepsATenthOfTheViewAndZoomsAboutTheMouseWithCtrl() {
    auto map = SingleImageMap();
    pane_->ShowImage(map->ImageAt(0));
    pane_->SetZoom(200);
    ScrollToStart(*pane_);
    QWidget* view = pane_->scroll_area()->viewport();
    const ImageViewGeometry& geometry = pane_->geometry_state();
    TurnWheel(view, QPoint(100, 100), -120);
    QCOMPARE(geometry.scroll_y(), -16 + view->height() / 10);
    TurnWheel(view, QPoint(100, 100), -120, Qt::ShiftModifier);
    QCOMPARE(geometry.scroll_x(), -16 + view->width() / 10);
    QCOMPARE(pane_->scroll_area()->horizontalScrollBar()->value(), geometry.scroll_x());

    // Two notches double the zoom, one goes back half the way; the pixel
    // under the mouse stays under it.
    const QPoint at(123, 77);
    const PixelPoint under = geometry.ImagePixelAt(at.x(), at.y());
    TurnWheel(view, at, 240, Qt::ControlModifier);
    QCOMPARE(geometry.zoom(), 4.0);
    QCOMPARE(geometry.ImagePixelAt(at.x(), at.y()), under);
    TurnWheel(view, at, -120, Qt::ControlModifier);
    QCOMPARE(geometry.zoom(), 2.0 * std::sqrt(2.0));
    QCOMPARE(geometry.ImagePixelAt(at.x(), at.y()), under);
    QCOMPARE(pane_->scroll_area()->verticalScrollBar()->value(), geometry.scroll_y());
    QTest::mouseMove(view, at);
    QCOMPARE(pane_->status_text(), QString("x=%1, y=%2").arg(under.x).arg(under.y));
  }

  void FitShowsAMapOf12000By8000Whole() {
    auto map = std::make_unique<CImageContainer>("Large", nullptr);
    auto overview = testing::FakeImage(0);
    overview->set_map_size(12000, 8000);
    map->AddImage(std::move(overview));
    map->AddImage(testing::FakeImage(40));
    pane_->ShowImage(map->ImageAt(1));
    pane_->SetZoom(kZoomFit);
    const ImageViewGeometry& geometry = pane_->geometry_state();
    QVERIFY(geometry.zoom() < 0.1);
    QWidget* view = pane_->scroll_area()->viewport();
    const PixelRect content = geometry.ContentRectInView();
    QVERIFY(content.left >= 0 && content.top >= 0);
    QVERIFY(content.right <= view->width() && content.bottom <= view->height());
    // The marks through the middle run across the whole image: both ends
    // are drawn.
    const QImage shown = Shown(*pane_);
    const QRgb dark = pane_->palette().color(QPalette::Dark).rgb();
    const int middle_x = content.left + geometry.content_width() / 2;
    const int middle_y = content.top + geometry.content_height() / 2;
    QCOMPARE(shown.pixel(content.left, middle_y), dark);
    QCOMPARE(shown.pixel(content.right - 1, middle_y), dark);
    QCOMPARE(shown.pixel(middle_x, content.top), dark);
    QCOMPARE(shown.pixel(middle_x, content.bottom - 1), dark);
    // Zooming out further is refused rather than turned into a zoom in.
    pane_->SetZoom(50);
    QVERIFY(geometry.zoom() < 0.1);
  }

 private:
  std::unique_ptr<ImageViewPane> pane_;
};

}  // namespace kv

QTEST_MAIN(kv::ImageViewPaneTest)
#include "image_view_pane_test.moc"
