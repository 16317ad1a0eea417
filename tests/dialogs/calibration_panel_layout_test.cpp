// The calibration panel in the main window at its default size, in each
// shipped language: where its controls lie, what the mouse and the keyboard
// reach, and the table of points.

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <sstream>
#include <vector>

#include "dialogs/calibration_controls.h"
#include "dialogs/calibration_dialog.h"
#include "dialogs/dialog_test_support.h"
#include "dialogs/panel_test_window.h"
#include "document/command_ids.h"
#include "geo/coordinate_systems.h"
#include "shell/main_window.h"
#include "shell/scripted_prompts.h"
#include "shell/shipped_languages.h"
#include "views/image_view_pane.h"

namespace kv {

using namespace calib;

namespace {

// The window's size when the program first starts.
constexpr QSize kDefaultSize(800, 550);

const char kBounds[] = "kv_north=7=47.5\nkv_west=7=8\nkv_south=7=47\nkv_east=7=9\n";

// 250 pixels a degree east, 400 a degree south, five points.
const char kFivePoints[] =
    "c1_lat=7=47.5\nc1_lon=7=8\nc1_x=7=0\nc1_y=7=0\n"
    "c2_lat=7=47\nc2_lon=7=9\nc2_x=7=250\nc2_y=7=200\n"
    "c3_lat=7=47.5\nc3_lon=7=9\nc3_x=7=250\nc3_y=7=0\n"
    "c4_lat=7=47\nc4_lon=7=8\nc4_x=7=0\nc4_y=7=200\n"
    "c5_lat=7=47.25\nc5_lon=7=8.5\nc5_x=7=125\nc5_y=7=100\n";

enum class Mode { kCorners, kCentre, kPoints };

std::unique_ptr<ShellState> ShellStateIn(const QString& language_file) {
  auto state = std::make_unique<ShellState>();
  std::string message;
  const QString path = QDir(ShippedLanguageFolder()).filePath(language_file);
  if (!LoadLanguageFile(path.toStdString(), &state->language, &message)) {
    qFatal("%s", message.c_str());
  }
  LoadLanguageTexts(state.get());
  return state;
}

// Where `widget` lies in its window.
QRect InWindow(const QWidget* widget) {
  return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}

}  // namespace

class CalibrationPanelLayoutTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  PanelTestWindow shown_;

  MainWindow& Window(const QString& language, const char* kvm) {
    shown_.Show(ShellStateIn(language), kDefaultSize);
    shown_.OpenCalibratedImage(QDir(dir_.path()), QSize(640, 480), kvm);
    return *shown_.window;
  }

  CalibrationDialog* Dialog() { return shown_.window->ui().calibration_dialog(); }
  CalibrationDialog& OpenDialog() {
    shown_.window->RunCommand(kCmdOpenCalibration);
    if (Dialog() == nullptr) qFatal("the calibration dialog did not open");
    Settle();
    return *Dialog();
  }
  static void Settle() {
    QApplication::sendPostedEvents();
    QApplication::processEvents();
  }
  template <typename T>
  T* Find(int id) {
    auto* widget = Dialog()->findChild<T*>(QStringLiteral("c%1").arg(id));
    if (widget == nullptr) qFatal("control %d missing", id);
    return widget;
  }
  QWidget* ImageViewport() {
    return shown_.window->findChild<ImageViewPane*>("imageView")->scroll_area()->viewport();
  }
  // A click where the user sees the control: the window finds the widget
  // under the mouse, as it does for a real click.
  void ClickOnScreen(QWidget* widget) {
    const QPoint centre = widget->mapTo(shown_.window.get(), widget->rect().center());
    QTest::mouseClick(shown_.window->windowHandle(), Qt::LeftButton, {}, centre);
    Settle();
  }
  void ShowMode(Mode mode) {
    if (mode == Mode::kCentre) {
      QTest::mouseClick(Find<QRadioButton>(kModeCentre), Qt::LeftButton, {}, QPoint(6, 6));
    }
    Settle();
  }
  void SaveScreenshot(const QString& name) { kv::SaveScreenshot(shown_.window.get(), name); }

 private slots:
  void cleanup() {
    shown_.window.reset();
    shown_.prompts.reset();
    shown_.state.reset();
  }

  void everyControlIsInSightBesideTheImage_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("mode");
    for (const char* language : {"EN", "DE"}) {
      for (const auto& [name, mode] :
           {std::pair{"corners", Mode::kCorners}, std::pair{"centre", Mode::kCentre},
            std::pair{"points", Mode::kPoints}}) {
        QTest::addRow("%s-%s", language, name)
            << QString("DARudIdi%1.lang").arg(language) << static_cast<int>(mode);
      }
    }
  }

  void everyControlIsInSightBesideTheImage() {
    QFETCH(QString, language);
    QFETCH(int, mode);
    Window(language, static_cast<Mode>(mode) == Mode::kPoints ? kFivePoints : kBounds);
    CalibrationDialog& dialog = OpenDialog();
    ShowMode(static_cast<Mode>(mode));
    SaveScreenshot(QString("panel-%1").arg(QTest::currentDataTag()) + ".png");
    const QRect window_rect(QPoint(0, 0), shown_.window->size());
    const QRect image = InWindow(ImageViewport());
    QVERIFY(image.width() > 100 && image.height() > 100);
    // The panel as a whole covers neither pane below it.
    for (const char* pane : {"imageView", "imageList"}) {
      QVERIFY2(!InWindow(&dialog).intersects(InWindow(shown_.window->findChild<QWidget*>(pane))),
               pane);
    }
    int shown = 0;
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
      if (!control->isVisible() || !control->objectName().startsWith('c')) continue;
      ++shown;
      const QRect at = InWindow(control);
      const QByteArray name = control->objectName().toUtf8();
      QVERIFY2(window_rect.contains(at), name.constData());
      QVERIFY2(!at.intersects(image), name.constData());
      // Nothing of it is cut off by a scrolled or clipped parent.
      QVERIFY2(control->visibleRegion().boundingRect() == control->rect(), name.constData());
    }
    QVERIFY(shown > 10);
    if (static_cast<Mode>(mode) != Mode::kPoints) return;
    // Far from every point, without pick: the help line says why nothing
    // happened, in the user's language.
    dialog.ImageClicked(600, 400);
    QCOMPARE(Find<QLabel>(kHelpLine)->text(),
             QString::fromStdString(shown_.state->language.strings.Get(kClickNeedsPickString)));
    QVERIFY(!Find<QLabel>(kHelpLine)->text().isEmpty());
    SaveScreenshot(QString("panel-%1-hint").arg(QTest::currentDataTag()) + ".png");
  }

  void theNorthWestLatitudeTakesAClickAndTyping_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("EN") << QString("DARudIdiEN.lang");
    QTest::newRow("DE") << QString("DARudIdiDE.lang");
  }

  void theNorthWestLatitudeTakesAClickAndTyping() {
    QFETCH(QString, language);
    Window(language, kBounds);
    OpenDialog();
    auto* latitude = Find<QLineEdit>(kFirstLatitude);
    ClickOnScreen(latitude);
    QVERIFY(latitude->hasFocus());
    latitude->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), "N47 40");
    QCOMPARE(latitude->text(), QString("N47 40"));
  }

  void openingFocusesThePanelAndEscapeClosesAsCloseDoes() {
    Window("DARudIdiEN.lang", kBounds);
    OpenDialog();
    QVERIFY(Dialog()->isAncestorOf(QApplication::focusWidget()));
    // Escape validates as Close does: a south of the north is refused.
    auto* latitude = Find<QLineEdit>(kFirstLatitude);
    latitude->setFocus();
    latitude->selectAll();
    QTest::keyClicks(latitude, "N46");
    QTest::keyClick(latitude, Qt::Key_Escape);
    Settle();
    QVERIFY(Dialog() != nullptr);
    QCOMPARE(shown_.prompts->informed.size(), std::size_t{1});
    latitude->selectAll();
    QTest::keyClicks(latitude, "N47 45");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    Settle();
    QVERIFY(Dialog() == nullptr);
    QCOMPARE(shown_.state->app.calibration.north, 47.75);
  }

  void tabFromTheTypeListReachesOnlyShownControlsInOrder_data() {
    QTest::addColumn<QByteArray>("kvm");
    QTest::newRow("corners") << QByteArray(kBounds);
    QTest::newRow("points") << QByteArray(kFivePoints);
  }

  void tabFromTheTypeListReachesOnlyShownControlsInOrder() {
    QFETCH(QByteArray, kvm);
    Window("DARudIdiEN.lang", kvm.constData());
    OpenDialog();
    std::vector<int> order = {kKind,        kSystem,     kDatum,     kProjection,
                              kModeCorners, kModeCentre, kModePoints};
    for (int i = 0; i < kProjectionParameterCount; ++i) {
      order.push_back(kParameterKeys[i]);
      order.push_back(kParameterValues[i]);
    }
    order.insert(order.end(), {kFirstLatitude, kFirstZone, kFirstLongitude, kSecondLatitude,
                               kSecondZone, kSecondLongitude, kPreviousPoint, kNextPoint,
                               kDeletePoint, kPixelX, kPixelY, kPointLatitude, kPointZone,
                               kPointLongitude, kFollow, kPick, kResidualsTable, kApply, kClose});
    // Tab steps back: from the type list to the last shown control, and on
    // to the type list again.
    QList<QWidget*> expected;
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
      QWidget* control = Find<QWidget>(*it);
      if (control->isVisible() && control->isEnabled()) expected << control;
    }
    Find<QComboBox>(kKind)->setFocus();
    for (QWidget* next : expected) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget* focused = QApplication::focusWidget();
      QVERIFY(focused != nullptr && focused->isVisible());
      QVERIFY(!InWindow(focused).isEmpty());
      QCOMPARE(focused->objectName(), next->objectName());
    }
  }

  void aRowOfTheTableChoosesItsPointAndTheTableFollowsTyping() {
    Window("DARudIdiEN.lang", kFivePoints);
    OpenDialog();
    auto* table = Find<QTableWidget>(kResidualsTable);
    QCOMPARE(table->rowCount(), 5);
    auto* latitude = Find<QLineEdit>(kPointLatitude);
    latitude->setFocus();
    latitude->selectAll();
    QTest::keyClicks(latitude, "N47 20");
    QCOMPARE(table->item(0, 3)->text(), QString("N47 20.000000"));
    // Row 3, clicked where it is drawn.
    const QRect cell = table->visualItemRect(table->item(2, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    Settle();
    QCOMPARE(Find<QLineEdit>(kPointNumber)->text(), QString("3"));
    QCOMPARE(Find<QLineEdit>(kPixelX)->text(), QString("250"));
    QCOMPARE((*shown_.state->app.calibration.points)[0].latitude, 47 + 20 / 60.0);
    QCOMPARE(table->selectedItems().front()->row(), 2);
  }
};

}  // namespace kv

QTEST_MAIN(kv::CalibrationPanelLayoutTest)
#include "calibration_panel_layout_test.moc"
