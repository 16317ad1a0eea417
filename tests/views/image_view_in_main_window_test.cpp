// The image view inside the main window: an import shows the map, the zoom
// commands reach it, its status line carries the list's totals off the
// image, it draws the program's current calibration points, and a point
// dragged there reaches the calibration panel.

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "dialogs/calibration_controls.h"
#include "dialogs/calibration_dialog.h"
#include "document/command_ids.h"
#include "document/list_totals_text.h"
#include "shell/main_window.h"
#include "shell/scripted_prompts.h"
#include "shell/shipped_languages.h"
#include "views/image_list_pane.h"
#include "views/image_view_pane.h"

namespace kv {

// The map's colours pass through its colour table.
bool Near(QRgb shown, QColor wanted) {
  return std::abs(qRed(shown) - wanted.red()) <= 12 &&
         std::abs(qGreen(shown) - wanted.green()) <= 12 &&
         std::abs(qBlue(shown) - wanted.blue()) <= 12;
}

class ImageViewInMainWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  std::unique_ptr<ShellState> state_;
  std::unique_ptr<ScriptedPrompts> prompts_;
  std::ostringstream diagnostics_;

  std::unique_ptr<MainWindow> MakeWindow() {
    state_ = EnglishShellState();
    state_->app.last_map_folder = dir_.path().toStdString() + "/";
    state_->app.diagnostics = &diagnostics_;
    prompts_ = std::make_unique<ScriptedPrompts>();
    auto window = std::make_unique<MainWindow>(*state_, *prompts_);
    window->resize(1000, 700);
    window->show();
    return window;
  }

  // A map of 320 x 262 pixels, blue with a green field: overview and four
  // tiles.
  void ImportMap(MainWindow& window) {
    QImage image(320, 262, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 160));
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(90, 160, 70));
    painter.drawRect(0, 0, 100, 80);
    painter.end();
    const QString path = dir_.filePath("coast.png");
    QVERIFY(image.save(path));
    prompts_->files.push_back(path.toStdString());
    QCOMPARE(window.RunCommand(kCmdImportImage), 0);
    QVERIFY(prompts_->errors.empty());
  }

  // A 320 x 262 image with five calibration points along its diagonal,
  // at pixels (10, 10), (70, 60), (130, 110), (190, 160) and (250, 210).
  void OpenMapWithPoints(MainWindow& window) {
    QImage image(320, 262, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 160));
    const QString path = dir_.filePath("points.png");
    QVERIFY(image.save(path));
    QFile kvm(dir_.filePath("points.kvm"));
    QVERIFY(kvm.open(QIODevice::WriteOnly));
    kvm.write(
        "kv_north=7=47.5\nkv_west=7=8\nkv_south=7=47\nkv_east=7=9\n"
        "c1_lat=7=47.5\nc1_lon=7=8\nc1_x=7=10\nc1_y=7=10\n"
        "c2_lat=7=47.4\nc2_lon=7=8.2\nc2_x=7=70\nc2_y=7=60\n"
        "c3_lat=7=47.3\nc3_lon=7=8.4\nc3_x=7=130\nc3_y=7=110\n"
        "c4_lat=7=47.2\nc4_lon=7=8.6\nc4_x=7=190\nc4_y=7=160\n"
        "c5_lat=7=47.1\nc5_lon=7=8.8\nc5_x=7=250\nc5_y=7=210\n");
    kvm.close();
    QVERIFY(window.OpenFile(path.toStdString()));
  }

  // Press, move in steps and let go, as a hand does.
  static void Drag(QWidget* view, Qt::MouseButton button, QPoint from, QPoint to) {
    QTest::mousePress(view, button, {}, from);
    for (int step = 1; step <= 4; ++step) QTest::mouseMove(view, from + (to - from) * step / 4);
    QTest::mouseRelease(view, button, {}, to);
  }

  CalibrationPoint& Point(int index) {
    return (*state_->app.calibration.points)[static_cast<std::size_t>(index)];
  }

  static ImageViewPane* View(MainWindow& window) {
    return window.findChild<ImageViewPane*>("imageView");
  }

 private slots:
  void anImportShowsTheMapAndTheZoomCommandsReachTheView() {
    auto window = MakeWindow();
    ImportMap(*window);
    ImageViewPane* view = View(*window);
    QVERIFY(view != nullptr);
    QCOMPARE(view->geometry_state().image_width(), 320);
    QCOMPARE(view->geometry_state().image_height(), 262);
    // Tiles are decoded off the window's thread: each grab paints and asks
    // for what is missing, until the picture is complete.
    QImage shown;
    QTRY_VERIFY(
        (shown = view->scroll_area()->viewport()->grab().toImage(), view->picture_complete()));
    QVERIFY(Near(shown.pixel(8 + 50, 8 + 40), QColor(90, 160, 70)));
    QVERIFY(Near(shown.pixel(8 + 250, 8 + 200), QColor(40, 90, 160)));
    QVERIFY(Near(shown.pixel(8 + 99, 8 + 79), QColor(90, 160, 70)));
    QVERIFY(Near(shown.pixel(8 + 101, 8 + 81), QColor(40, 90, 160)));

    for (int i = 0; i < 3; ++i) window->RunCommand(kCmdZoom200);
    QCOMPARE(view->geometry_state().zoom(), 8.0);
    window->RunCommand(kCmdZoom200);
    QCOMPARE(view->geometry_state().zoom(), 8.0);
    window->RunCommand(kCmdZoom100);
    QCOMPARE(view->geometry_state().zoom(), 1.0);
    window->RunCommand(kCmdZoomFit);
    QCOMPARE(view->geometry_state().zoom(), 1.0);  // the map fits as it is
  }

  void theStatusLineShowsThePixelOverTheImageAndTheTotalsOffIt() {
    auto window = MakeWindow();
    ImportMap(*window);
    ImageViewPane* view = View(*window);
    const QString totals = QString::fromStdString(
        ListTotalsText(state_->language.strings, window->document()->image_list()));
    QVERIFY(totals.startsWith("5 images, "));
    QCOMPARE(view->status_text(), totals);
    QWidget* viewport = view->scroll_area()->viewport();
    QTest::mouseMove(viewport, QPoint(58, 48));
    QCOMPARE(view->status_text(), QString("x=50, y=40"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(viewport, &leave);
    QCOMPARE(view->status_text(), totals);
  }

  void tabInTheViewGoesBackToThePreviousControl() {
    auto window = MakeWindow();
    ImportMap(*window);
    QApplication::setActiveWindow(window.get());
    QWidget* area = View(*window)->scroll_area();
    area->setFocus();
    QCOMPARE(QApplication::focusWidget(), area);
    QTest::keyClick(area, Qt::Key_Backtab, Qt::ShiftModifier);
    QWidget* previous = QApplication::focusWidget();
    QVERIFY(previous != nullptr && previous != area);
    area->setFocus();
    QTest::keyClick(area, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), previous);
  }

  void theProgramsCalibrationPointsAreDrawn() {
    auto window = MakeWindow();
    ImportMap(*window);
    state_->app.calibration.points.emplace();
    (*state_->app.calibration.points)[0].latitude = 10.0;
    (*state_->app.calibration.points)[0].pixel_x = 200;
    (*state_->app.calibration.points)[0].pixel_y = 150;
    ImageViewPane* view = View(*window);
    view->RepaintPoints();
    const QImage shown = view->scroll_area()->viewport()->grab().toImage();
    QCOMPARE(QColor(shown.pixel(8 + 200 + 10, 8 + 150)), QColor(255, 128, 0));
  }

  void aPointDraggedByItsCircleWhilePickingTakesThePixelWhereItIsLetGo() {
    auto window = MakeWindow();
    OpenMapWithPoints(*window);
    QCOMPARE(window->RunCommand(kCmdOpenCalibration), 0);
    CalibrationDialog* panel = window->ui().calibration_dialog();
    QVERIFY(panel != nullptr);
    QApplication::sendPostedEvents();
    const auto field = [panel](int id) {
      return panel->findChild<QLineEdit*>(QStringLiteral("c%1").arg(id))->text();
    };
    QCOMPARE(field(calib::kPointNumber), QString("1"));
    ImageViewPane* pane = View(*window);
    QWidget* view = pane->scroll_area()->viewport();
    const ImageViewGeometry& geometry = pane->geometry_state();
    const PixelPoint second = geometry.ViewPointOf(70, 60);
    const QPoint on_circle(second.x + 6, second.y - 5);
    QVERIFY(view->rect().contains(on_circle));

    // Without "Pick in the image" the drag moves the view, not the point.
    Drag(view, Qt::LeftButton, on_circle, on_circle + QPoint(60, 40));
    QCOMPARE(Point(1).pixel_x, 70);
    QCOMPARE(Point(1).pixel_y, 60);

    auto* pick = panel->findChild<QCheckBox*>(QStringLiteral("c%1").arg(calib::kPick));
    QTest::mouseClick(pick, Qt::LeftButton, {}, QPoint(6, pick->height() / 2));
    QVERIFY(pick->isChecked());
    const PixelPoint from = geometry.ViewPointOf(70, 60);
    const QPoint press(from.x + 6, from.y - 5);
    const QPoint release = press + QPoint(45, 30);
    const PixelPoint wanted = geometry.ImagePixelAt(release.x(), release.y());
    Drag(view, Qt::LeftButton, press, release);
    QCOMPARE(Point(1).pixel_x, wanted.x);
    QCOMPARE(Point(1).pixel_y, wanted.y);
    QCOMPARE(field(calib::kPointNumber), QString("2"));
    QCOMPARE(field(calib::kPixelX), QString::number(wanted.x));
    QCOMPARE(field(calib::kPixelY), QString::number(wanted.y));
    QCOMPARE(Point(0).pixel_x, 10);
    QCOMPARE(Point(2).pixel_x, 130);
    QCOMPARE(pane->HighlightedPoint(), 1);
    // Drawn where it was let go.
    const QImage shown = view->grab().toImage();
    const PixelPoint now = geometry.ViewPointOf(wanted.x, wanted.y);
    QCOMPARE(QColor(shown.pixel(now.x + 10, now.y)), QColor(192, 0, 192));

    // A press away from every circle still picks the current point's pixel.
    const PixelPoint away = geometry.ViewPointOf(300, 30);
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(away.x, away.y));
    QCOMPARE(Point(1).pixel_x, 300);
    QCOMPARE(Point(1).pixel_y, 30);
  }
  // A big file opened, zoomed and scrolled in a window of the default size:
  // once the picture is complete every block sits in its place (no seams,
  // no offset, nothing left blank). With KV_SCREENSHOT_DIR set the window
  // is saved there.
  void aBigFileZoomedAndScrolledIsDrawnWhole() {
    constexpr int kSquare = 40;
    const auto colour = [](int x, int y) {
      return QColor((x / kSquare) * 53 % 256, (y / kSquare) * 97 % 256,
                    ((x / kSquare) ^ (y / kSquare)) * 29 % 256);
    };
    QImage image(3000, 2200, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x) line[x] = colour(x, y).rgb();
    }
    const QString path = dir_.filePath("big.png");
    QVERIFY(image.save(path, "PNG", 100));
    auto window = MakeWindow();
    window->resize(800, 550);
    QVERIFY(window->OpenFile(path.toStdString()));
    ImageViewPane* pane = View(*window);
    QWidget* view = pane->scroll_area()->viewport();
    window->RunCommand(kCmdZoom200);
    pane->scroll_area()->horizontalScrollBar()->setValue(2345);
    pane->scroll_area()->verticalScrollBar()->setValue(1789);
    window->RunCommand(kCmdZoom50);
    window->RunCommand(kCmdZoom50);
    pane->scroll_area()->horizontalScrollBar()->setValue(
        pane->scroll_area()->horizontalScrollBar()->value() + 333);
    QImage shown;
    QTRY_VERIFY((shown = view->grab().toImage(), pane->picture_complete()));
    const ImageViewGeometry& geometry = pane->geometry_state();
    QCOMPARE(geometry.zoom(), 0.5);
    int wrong = 0;
    for (int y = 0; y < shown.height(); y += 3) {
      for (int x = 0; x < shown.width(); x += 3) {
        const PixelPoint pixel = geometry.ImagePixelAt(x, y);
        // Off the squares' edges and the marks through the image's centre.
        if (pixel.x % kSquare < 2 || pixel.x % kSquare > kSquare - 3 || pixel.y % kSquare < 2 ||
            pixel.y % kSquare > kSquare - 3 || std::abs(pixel.x - 1500) < 8 ||
            std::abs(pixel.y - 1100) < 8) {
          continue;
        }
        wrong += QColor(shown.pixel(x, y)) != colour(pixel.x, pixel.y);
      }
    }
    if (const char* folder = std::getenv("KV_SCREENSHOT_DIR")) {
      QVERIFY(window->grab().save(QDir(QString::fromUtf8(folder)).filePath("image-view-big.png")));
    }
    QCOMPARE(wrong, 0);
  }
};

}  // namespace kv

QTEST_MAIN(kv::ImageViewInMainWindowTest)
#include "image_view_in_main_window_test.moc"
