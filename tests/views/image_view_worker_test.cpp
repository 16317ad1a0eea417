// The image view decodes off the window's thread: a paint draws what is
// decoded and returns, the file is read on the layer's thread, the last
// picture stays on screen until the new pieces arrive, and requests the
// view moved away from are dropped before they start.

#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <semaphore>
#include <thread>
#include <vector>

#include "bitmap/gdal_fixture.h"
#include "map/c_image.h"
#include "map/c_image_container.h"
#include "map/map_fixtures.h"
#include "map/map_mosaic.h"
#include "map/stored_bitmap.h"
#include "temp_folder.h"
#include "views/decode_queue.h"
#include "views/image_view_pane.h"
#include "views/source_region_layer.h"

namespace kv {
namespace {

// Squares of 50 pixels, each its own colour, so that a pixel a little off
// still has the colour of the one wanted.
double Square(int band, int x, int y) { return (band * 70 + (x / 50) * 37 + (y / 50) * 91) % 256; }

QRgb SquareColour(int x, int y) {
  return qRgb(static_cast<int>(Square(1, x, y)), static_cast<int>(Square(2, x, y)),
              static_cast<int>(Square(3, x, y)));
}

// Inside a square, away from its edges and from the view's centre marks.
bool WellInside(const PixelPoint& pixel, const ImageViewGeometry& view) {
  return pixel.x % 50 > 4 && pixel.x % 50 < 46 && pixel.y % 50 > 4 && pixel.y % 50 < 46 &&
         std::abs(pixel.x - view.image_width() / 2) > 3 &&
         std::abs(pixel.y - view.image_height() / 2) > 3 && pixel.x < view.image_width() &&
         pixel.y < view.image_height() && pixel.x >= 0 && pixel.y >= 0;
}

QImage Grab(ImageViewPane& pane) {
  return pane.scroll_area()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// How many sampled view pixels over the image show the wrong colour.
int WrongPixels(const QImage& shown, const ImageViewGeometry& view) {
  int wrong = 0;
  for (int y = 0; y < shown.height(); y += 9) {
    for (int x = 0; x < shown.width(); x += 7) {
      const PixelPoint pixel = view.ImagePixelAt(x, y);
      if (WellInside(pixel, view) && shown.pixel(x, y) != SquareColour(pixel.x, pixel.y)) ++wrong;
    }
  }
  return wrong;
}

}  // namespace

class ImageViewWorkerTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    folder_ = MakeTempFolder("kv-view-worker-");
    path_ = (folder_ / "squares.tif").string();
    QVERIFY(testing::WriteRaster(
        path_, testing::RasterLayout{.driver = "GTiff", .width = 1500, .height = 1100}, Square));
  }
  void cleanup() { std::filesystem::remove_all(folder_); }

  void ThePaintOnlyDrawsAndTheFileIsReadOnAnotherThread() {
    SourceRegionLayer layer(path_, 1500, 1100, SourceRegionLayer::kDefaultBudgetBytes);
    ImageViewGeometry view;
    view.SetImageSize(1500, 1100);
    view.SetClientSize(600, 400);
    view.SetScroll(300, 200);
    QImage target(600, 400, QImage::Format_RGB32);
    target.fill(Qt::black);
    QPainter painter(&target);
    layer.Draw(painter, view, target.rect());
    // Nothing is decoded while the window's thread is in the paint.
    QVERIFY(!layer.picture_complete());
    QCOMPARE(target.pixel(300, 200), qRgb(0, 0, 0));
    QTRY_VERIFY((layer.Draw(painter, view, target.rect()), layer.picture_complete()));
    QVERIFY(layer.read_count() >= 1);
    QVERIFY(layer.read_thread() != std::this_thread::get_id());
    painter.end();
    QCOMPARE(WrongPixels(target, view), 0);
  }

  void TheLastPictureStaysUntilTheNewPiecesArrive() {
    CImage image;
    image.set_unconverted_source(CImage::UnconvertedSource{path_, 1500, 1100});
    ImageViewPane pane;
    pane.resize(520, 420);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    pane.ShowImage(&image);
    pane.scroll_area()->horizontalScrollBar()->setValue(400);
    pane.scroll_area()->verticalScrollBar()->setValue(300);
    QTRY_VERIFY((Grab(pane), pane.picture_complete()));
    QCOMPARE(WrongPixels(Grab(pane), pane.geometry_state()), 0);
    // Zoomed and scrolled, before any new block can arrive (they come
    // through the event loop): the old picture, moved and scaled, still
    // shows the image where it now lies.
    for (int percent : {200, 50, 50}) {
      pane.SetZoom(percent);
      pane.scroll_area()->horizontalScrollBar()->setValue(
          pane.scroll_area()->horizontalScrollBar()->value() + 37);
      const QImage shown = Grab(pane);
      QVERIFY(!pane.picture_complete() || percent != 200);
      const ImageViewGeometry& view = pane.geometry_state();
      int kept = 0;
      for (int y = 0; y < shown.height(); y += 9) {
        for (int x = 0; x < shown.width(); x += 7) {
          const PixelPoint pixel = view.ImagePixelAt(x, y);
          kept += WellInside(pixel, view) && shown.pixel(x, y) == SquareColour(pixel.x, pixel.y);
        }
      }
      QVERIFY2(kept > 100, qPrintable(QString("%1 pixels kept").arg(kept)));
      QTRY_VERIFY((Grab(pane), pane.picture_complete()));
      QCOMPARE(WrongPixels(Grab(pane), view), 0);
    }
  }

  void RequestsOutOfSightAreDroppedBeforeTheyStart() {
    std::binary_semaphore started(0);
    std::binary_semaphore release(0);
    std::atomic<bool> first = true;
    std::mutex mutex;
    std::vector<int> decoded;
    std::vector<int> delivered;
    using Queue = DecodeQueue<int, int, int>;
    auto queue = std::make_unique<Queue>(
        [&](const Queue::Wanted& batch) {
          if (first.exchange(false)) {
            started.release();
            release.acquire();
          }
          Queue::Results results;
          for (const auto& [key, request] : batch) {
            const std::lock_guard<std::mutex> lock(mutex);
            decoded.push_back(key);
            results.emplace_back(key, request);
          }
          return results;
        },
        [](const Queue::Wanted&) { return std::size_t{1}; },
        [&](Queue::Results results) {
          for (const auto& [key, value] : results) delivered.push_back(key);
        });
    queue->Want({1, 2, 3, 4}, [](int key) { return key; });
    started.acquire();  // 1 is being decoded, 2 to 4 wait
    queue->Want({7, 3, 8}, [](int key) { return key; });
    release.release();
    QTRY_VERIFY(!queue->busy());
    const std::lock_guard<std::mutex> lock(mutex);
    // 1 was running: it finishes and is delivered, to be cached.
    QCOMPARE(decoded, (std::vector<int>{1, 7, 3, 8}));
    QCOMPARE(delivered, (std::vector<int>{1, 7, 3, 8}));
  }

  // A tile given a new bitmap is decoded again, though its place and the
  // map are the same.
  void ATileWithANewBitmapIsDrawnAnew() {
    auto map = std::make_unique<CImageContainer>("Map", nullptr);
    auto overview = testing::FakeImage(0);
    overview->set_map_size(160, 262);
    map->AddImage(std::move(overview));
    map->AddImage(testing::FakeImage(40));
    map->AddImage(testing::FakeImage(90));
    ImageViewPane pane;
    pane.resize(400, 400);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    pane.ShowImage(map->ImageAt(1));
    QImage shown;
    QTRY_VERIFY((shown = Grab(pane), pane.picture_complete()));
    const QRgb before = shown.pixel(8 + 20, 8 + 20);
    map->ImageAt(1)->SetBitmap(StoredBitmap(testing::FakeBitmapRecord(160, 131, 8, 200)));
    pane.ShowImage(map->ImageAt(1));
    QTRY_VERIFY((shown = Grab(pane), pane.picture_complete()));
    const RgbImage mosaic = RenderMosaic(*map);
    const std::uint8_t* expected = mosaic.rgb.data() + 3 * (20 * 160 + 20);
    QCOMPARE(shown.pixel(8 + 20, 8 + 20), qRgb(expected[0], expected[1], expected[2]));
    QVERIFY(shown.pixel(8 + 20, 8 + 20) != before);
  }

 private:
  std::filesystem::path folder_;
  std::string path_;
};

}  // namespace kv

QTEST_MAIN(kv::ImageViewWorkerTest)
#include "image_view_worker_test.moc"
