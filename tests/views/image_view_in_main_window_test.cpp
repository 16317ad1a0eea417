// The image view inside the main window: an import shows the map, the zoom
// commands reach it, its status line carries the list's totals off the
// image, and it draws the program's current calibration points.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sstream>

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
    const QImage shown = view->scroll_area()->viewport()->grab().toImage();
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
};

}  // namespace kv

QTEST_MAIN(kv::ImageViewInMainWindowTest)
#include "image_view_in_main_window_test.moc"
