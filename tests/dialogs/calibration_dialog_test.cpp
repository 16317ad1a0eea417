// The calibration dialog in the main window, driven through its controls
// with the prompts answered from a script.

#include "dialogs/calibration_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "dialogs/calibration_controls.h"
#include "dialogs/dialog_ids.h"
#include "dialogs/dialog_test_support.h"
#include "dialogs/panel_test_window.h"
#include "document/command_ids.h"
#include "geo/coordinate_systems.h"
#include "shell/main_window.h"
#include "shell/prefs_binding.h"
#include "shell/scripted_prompts.h"
#include "shell/shipped_languages.h"
#include "views/image_view_pane.h"
#include "views/previewer_pane.h"

namespace kv {

using namespace calib;

namespace {

// Five points along the diagonal of a 320 x 262 image.
const char kFivePoints[] =
    "kv_north=7=47.5\nkv_west=7=8\nkv_south=7=47\nkv_east=7=9\n"
    "c1_lat=7=47.5\nc1_lon=7=8\nc1_x=7=10\nc1_y=7=10\n"
    "c2_lat=7=47.4\nc2_lon=7=8.2\nc2_x=7=70\nc2_y=7=60\n"
    "c3_lat=7=47.3\nc3_lon=7=8.4\nc3_x=7=130\nc3_y=7=110\n"
    "c4_lat=7=47.2\nc4_lon=7=8.6\nc4_x=7=190\nc4_y=7=160\n"
    "c5_lat=7=47.1\nc5_lon=7=8.8\nc5_x=7=250\nc5_y=7=210\n";

// Two points: the rectangular kind, whose mode the user chooses. More
// points make the reader choose the known points kind.
const char kTwoPoints[] =
    "c1_lat=7=47.5\nc1_lon=7=8\nc1_x=7=10\nc1_y=7=10\n"
    "c2_lat=7=47.1\nc2_lon=7=8.8\nc2_x=7=250\nc2_y=7=210\n";

// 250 pixels a degree east, 400 a degree south; point 5's latitude is
// 0.1 degree off, 40 pixels.
const char kMistypedFifth[] =
    "c1_lat=7=47.5\nc1_lon=7=8\nc1_x=7=0\nc1_y=7=0\n"
    "c2_lat=7=47\nc2_lon=7=9\nc2_x=7=250\nc2_y=7=200\n"
    "c3_lat=7=47.5\nc3_lon=7=9\nc3_x=7=250\nc3_y=7=0\n"
    "c4_lat=7=47\nc4_lon=7=8\nc4_x=7=0\nc4_y=7=200\n"
    "c5_lat=7=47.35\nc5_lon=7=8.5\nc5_x=7=125\nc5_y=7=100\n";

const char kBoundsOnly[] = "kv_north=7=47.5\nkv_west=7=8\nkv_south=7=47\nkv_east=7=9\n";

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
    qFatal("cannot write %s", qPrintable(path));
  }
}

}  // namespace

class CalibrationDialogTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  PanelTestWindow shown_;

  // The main window on a 320 x 262 image with the calibration `kvm` beside
  // it (none for an empty string).
  MainWindow& Window(const char* kvm, int system = kSystemDegreesMinutes) {
    shown_.Show(EnglishShellState(), QSize(900, 620), system);
    if (kvm != nullptr) shown_.OpenCalibratedImage(QDir(dir_.path()), QSize(320, 262), kvm);
    return *shown_.window;
  }

  CalibrationDialog* Dialog() { return shown_.window->ui().calibration_dialog(); }
  CalibrationDialog& OpenDialog() {
    shown_.window->RunCommand(kCmdOpenCalibration);
    if (Dialog() == nullptr) qFatal("the calibration dialog did not open");
    Settle();
    return *Dialog();
  }
  // Lays the panel out after its controls were shown or hidden, so that a
  // click lands where the control is drawn.
  static void Settle() { QApplication::sendPostedEvents(); }
  template <typename T>
  T* Find(int id) {
    auto* widget = Dialog()->findChild<T*>(QStringLiteral("c%1").arg(id));
    if (widget == nullptr) qFatal("control %d missing", id);
    return widget;
  }
  QString FieldText(int id) { return Find<QLineEdit>(id)->text(); }
  void Type(int id, const QString& text) {
    QLineEdit* edit = Find<QLineEdit>(id);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
  }
  void Click(int id) {
    Settle();
    // On the box of a check box or radio button, which takes the click
    // whatever the length of its text.
    QAbstractButton* button = Find<QAbstractButton>(id);
    const QPoint box(qobject_cast<QPushButton*>(button) != nullptr ? button->width() / 2 : 6,
                     button->height() / 2);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, box);
    Settle();
  }
  void Choose(int id, int index) {
    QComboBox* combo = Find<QComboBox>(id);
    combo->setFocus();
    // The keyboard picks the entry as a user would, which activates it.
    const int steps = index - combo->currentIndex();
    for (int i = 0; i < std::abs(steps); ++i) {
      QTest::keyClick(combo, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    }
  }
  CalibrationPoint& Point(int index) {
    return (*shown_.state->app.calibration.points)[static_cast<std::size_t>(index)];
  }
  const DialogTexts& Dialog115() { return shown_.state->language.dialogs.at(kCalibrationDialogId); }
  std::string String(std::uint32_t id) { return shown_.state->language.strings.Get(id); }

 private slots:
  void cleanup() {
    shown_.window.reset();
    shown_.prompts.reset();
    shown_.state.reset();
  }

  void openingWithAnEmptyImageListDoesNothing() {
    MainWindow& window = Window(nullptr);
    window.RunCommand(kCmdOpenCalibration);
    QVERIFY(Dialog() == nullptr);
    QVERIFY(!window.ui().IsCalibrationDialogOpen());
  }

  void opensBelowThePreviewerAcrossTheRestOfTheClientArea() {
    MainWindow& window = Window(kBoundsOnly);
    CalibrationDialog& dialog = OpenDialog();
    QVERIFY(dialog.isVisible());
    QWidget* area = window.centralWidget();
    QCOMPARE(dialog.parentWidget(), area);
    const int x = window.findChild<PreviewerPane*>("previewer")->CalibrationDialogX();
    QCOMPARE(dialog.x(), x);
    QCOMPARE(dialog.y(), 2);
    QCOMPARE(dialog.width(), area->width() - x);
    // Opening again keeps the one dialog.
    window.RunCommand(kCmdOpenCalibration);
    QCOMPARE(window.findChildren<QWidget*>("calibrationDialog").size(), 1);
    // It follows the window's size.
    window.resize(1000, 640);
    QApplication::processEvents();
    QCOMPARE(dialog.x(), window.findChild<PreviewerPane*>("previewer")->CalibrationDialogX());
    QCOMPARE(dialog.width(), area->width() - dialog.x());
    // Over the previewer's row only, which grows to the panel's height, so
    // that the panes below it are not covered and the image stays in sight.
    const QRect row = window.findChild<PreviewerPane*>("previewer")->geometry();
    QCOMPARE(dialog.geometry().bottom(), row.bottom());
    QVERIFY(dialog.geometry().bottom() < area->height() / 2);
    // The texts are the language's.
    QCOMPARE(Find<QRadioButton>(kModeCorners)->text(), QString("&Corners"));
    QCOMPARE(Find<QComboBox>(kSystem)->count(), 29);
    QCOMPARE(Find<QComboBox>(kKind)->itemText(2), QString("Known Points (Skewed)"));
    // The grid names' degree sign is a Windows-1252 byte, shown as such.
    QCOMPARE(Find<QComboBox>(kSystem)->itemText(8),
             QString::fromUtf8("Germany Zone 2 (6\u00ba), Gauss Krueger"));
    QCOMPARE(Find<QLabel>(kFirstLatitudeLabel)->text(), QString::fromStdString(String(2035)));
  }

  void deletingPointThreeOfFive() {
    Window(kFivePoints);
    OpenDialog();
    QCOMPARE(Find<QComboBox>(kKind)->currentIndex(), 2);
    QVERIFY(!Find<QRadioButton>(kModePoints)->isVisible());
    QCOMPARE(FieldText(kPointNumber), QString("1"));
    QVERIFY(!Find<QPushButton>(kPreviousPoint)->isEnabled());
    Click(kNextPoint);
    Click(kNextPoint);
    QCOMPARE(FieldText(kPointNumber), QString("3"));
    QCOMPARE(FieldText(kPixelX), QString("130"));
    Click(kDeletePoint);
    QCOMPARE(FieldText(kPixelX), QString("190"));
    QCOMPARE(Point(1).pixel_x, 70);
    QCOMPARE(Point(2).pixel_x, 190);
    QCOMPARE(Point(3).pixel_x, 250);
    QCOMPARE(Point(4), CalibrationPoint{});
    Click(kNextPoint);
    Click(kNextPoint);
    QCOMPARE(FieldText(kPointNumber), QString("5"));
    QCOMPARE(FieldText(kPixelX), QString());
  }

  void aClickEightPixelsAwaySelectsAPointAndNineDoesNot() {
    Window(kFivePoints);
    CalibrationDialog& dialog = OpenDialog();
    dialog.ImageClicked(130 + 9, 110);
    QCOMPARE(FieldText(kPointNumber), QString("1"));
    dialog.ImageClicked(130 + 8, 110 - 8);
    QCOMPARE(FieldText(kPointNumber), QString("3"));
    QCOMPARE(FieldText(kPointLatitude), QString("N47 18.000000"));
  }

  void theResidualsTableMarksAMistypedPoint() {
    Window(kMistypedFifth);
    CalibrationDialog& dialog = OpenDialog();
    auto* table = Find<QTableWidget>(kResidualsTable);
    QVERIFY(table->isVisible());
    QCOMPARE(table->rowCount(), 5);
    constexpr int kPixels = 5;
    constexpr int kMark = 7;
    QCOMPARE(table->horizontalHeaderItem(kPixels)->text(),
             QString::fromStdString(Dialog115().Text(kResidualsPixelsColumn)));
    QCOMPARE(table->item(4, 0)->text(), QString("5"));
    QCOMPARE(table->item(4, kMark)->text(), QString("!"));
    QCOMPARE(table->item(0, kMark)->text(), QString());
    const QString summary = Find<QLabel>(kResidualsRms)->text();
    QVERIFY(summary.contains(QString::fromStdString(Dialog115().Text(kResidualsSuspectNote))));

    // Point 5 corrected: no mark, and the fit passes through every point.
    dialog.ImageClicked(125, 100);
    QCOMPARE(FieldText(kPointNumber), QString("5"));
    Type(kPointLatitude, "N47 15");
    Click(kPreviousPoint);
    QCOMPARE(table->item(4, kMark)->text(), QString());
    QCOMPARE(table->item(4, kPixels)->text(), QString("0.0"));

    // Fewer than three points: the points without residuals.
    for (int i = 0; i < 3; ++i) Click(kPreviousPoint);
    QCOMPARE(FieldText(kPointNumber), QString("1"));
    Click(kDeletePoint);
    Click(kDeletePoint);
    Click(kDeletePoint);
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, kPixels)->text(), QString());
    QCOMPARE(Find<QLabel>(kResidualsRms)->text(), QString());
  }

  void pickSetsTheCurrentPointsPixel() {
    Window(kFivePoints);
    CalibrationDialog& dialog = OpenDialog();
    Click(kPick);
    QVERIFY(Find<QCheckBox>(kPick)->isChecked());
    dialog.ImageClicked(33, 44);
    QCOMPARE(FieldText(kPixelX), QString("33"));
    QCOMPARE(FieldText(kPixelY), QString("44"));
    QCOMPARE(Point(0).pixel_x, 33);
  }

  void aClickInTheImageViewReachesThePanel() {
    MainWindow& window = Window(kFivePoints);
    OpenDialog();
    Click(kPick);
    auto* pane = window.findChild<ImageViewPane*>("imageView");
    QVERIFY(pane != nullptr);
    QWidget* view = pane->scroll_area()->viewport();
    const QPoint at(view->width() / 3, view->height() / 3);
    QTest::mouseMove(view, at);
    const QString under_mouse = pane->status_text();  // "x=.., y=.."
    QTest::mouseClick(view, Qt::LeftButton, {}, at);
    Settle();
    QCOMPARE(QString("x=%1, y=%2").arg(FieldText(kPixelX), FieldText(kPixelY)), under_mouse);
    QCOMPARE(QString::number(Point(0).pixel_x), FieldText(kPixelX));
    // Closed, the panel takes no more clicks.
    QCOMPARE(window.RunCommand(kCmdCloseCalibration), 0);
    const int before = Point(0).pixel_y;
    QTest::mouseClick(view, Qt::LeftButton, {}, at + QPoint(5, 5));
    QCOMPARE(Point(0).pixel_y, before);
  }

  void closeWithPendingValidChangesAppliesThem() {
    MainWindow& window = Window(kBoundsOnly);
    OpenDialog();
    QVERIFY(Find<QRadioButton>(kModeCorners)->isChecked());
    QCOMPARE(FieldText(kFirstLatitude), QString("N47 30.000000"));
    Type(kFirstLatitude, "N47 45");
    Click(kClose);
    QVERIFY(Dialog() == nullptr);
    QCOMPARE(shown_.state->app.calibration.north, 47.75);
    CImage* image = window.document()->image_list().current();
    QCOMPARE(image->corner_text(kTopLeftLatitude), std::string("N47.75000000"));
    QVERIFY(window.document()->container().IsModified());
    QVERIFY(shown_.prompts->informed.empty());
  }

  void closeWithAnInvalidFieldIsRefusedWithItsMessage() {
    Window(kBoundsOnly);
    OpenDialog();
    Type(kFirstLatitude, "N47");
    Type(kSecondLatitude, "N48");  // south of north
    Click(kClose);
    QVERIFY(Dialog() != nullptr);
    QCOMPARE(shown_.prompts->informed.size(), std::size_t{1});
    QCOMPARE(shown_.prompts->informed[0], String(2045) + "|" + String(2048));
    QVERIFY(Find<QLineEdit>(kFirstLatitude)->hasFocus());
    QCOMPARE(shown_.state->app.calibration.north, 47.5);
  }

  void noWhenSwitchingFromPointsToCornersKeepsThePoints() {
    Window(kTwoPoints);
    OpenDialog();
    QVERIFY(Find<QRadioButton>(kModeCorners)->isVisible());
    Click(kModeCorners);  // no scripted answer: No
    QCOMPARE(shown_.prompts->questions.size(), std::size_t{1});
    const Question& question = shown_.prompts->questions[0];
    QCOMPARE(question.text, String(2065));
    QVERIFY(question.icon == MessageIcon::kWarning);
    QVERIFY(question.no_is_default);
    QVERIFY(Find<QRadioButton>(kModePoints)->isChecked());
    QVERIFY(Find<QLineEdit>(kPixelX)->isVisible());
    QVERIFY(!Find<QLineEdit>(kFirstLatitude)->isVisible());
    QCOMPARE(Point(1).pixel_x, 250);

    shown_.prompts->answers = {Answer::kYes};
    Click(kModeCorners);
    QVERIFY(Find<QRadioButton>(kModeCorners)->isChecked());
    QVERIFY(Find<QLineEdit>(kFirstLatitude)->isVisible());
    QCOMPARE(Point(0), CalibrationPoint{});
  }

  void aCoordinateLeavingTheFocusIsRewritten() {
    Window(kBoundsOnly, kSystemDecimalDegrees);
    OpenDialog();
    Type(kFirstLatitude, "47.25");
    Find<QLineEdit>(kFirstLongitude)->setFocus();
    QCOMPARE(FieldText(kFirstLatitude), QString("N47.250000"));
    Type(kFirstLongitude, "W200");
    Find<QLineEdit>(kSecondLatitude)->setFocus();
    QCOMPARE(shown_.prompts->informed.size(), std::size_t{1});
    QCOMPARE(shown_.prompts->informed[0], String(2045) + "|" + String(2049));
    QVERIFY(Find<QLineEdit>(kFirstLongitude)->hasFocus());
  }

  void tabStepsBackWithinThePanel() {
    Window(kBoundsOnly);
    OpenDialog();
    QTest::keyClick(Find<QLineEdit>(kFirstLongitude), Qt::Key_Tab);
    QVERIFY(Find<QLineEdit>(kFirstLatitude)->hasFocus());
    QTest::keyClick(Find<QLineEdit>(kFirstLatitude), Qt::Key_Tab);
    QVERIFY(Find<QRadioButton>(kModePoints)->hasFocus());
    // The first control steps back to the last, never out of the panel.
    QTest::keyClick(Find<QComboBox>(kKind), Qt::Key_Tab);
    QVERIFY(Dialog()->isAncestorOf(QApplication::focusWidget()));
  }

  void theHelpLineFollowsTheFocus() {
    Window(kBoundsOnly);
    OpenDialog();
    Find<QLineEdit>(kSecondLongitude)->setFocus();
    QCOMPARE(Find<QLabel>(kHelpLine)->text(), QString::fromStdString(String(2012)));
    Find<QComboBox>(kKind)->setFocus();
    QCOMPARE(Find<QLabel>(kHelpLine)->text(), QString::fromStdString(String(2034)));
  }

  void aZonedGridShowsZonesAndItsCaptions() {
    Window(kBoundsOnly);
    OpenDialog();
    QVERIFY(!Find<QLineEdit>(kFirstZone)->isVisible());
    Choose(kSystem, kSystemUtm);
    QCOMPARE(Find<QComboBox>(kSystem)->currentIndex(), kSystemUtm);
    QCOMPARE(shown_.state->app.import_state.world_file_system.system, kSystemUtm);
    QVERIFY(Find<QLineEdit>(kFirstZone)->isVisible());
    QCOMPARE(FieldText(kFirstZone), QString("32T"));
    QCOMPARE(Find<QLabel>(kFirstLatitudeLabel)->text(), QString::fromStdString(String(2058)));
    Click(kModeCentre);
    QVERIFY(!Find<QLineEdit>(kSecondZone)->isVisible());
    QCOMPARE(Find<QLabel>(kFirstLatitudeLabel)->text(), QString::fromStdString(String(2072)));
  }

  void theKindChoosesTheControls() {
    Window(kFivePoints);
    OpenDialog();
    QVERIFY(!Find<QComboBox>(kDatum)->isVisible());
    Choose(kKind, 1);
    QVERIFY(Find<QComboBox>(kDatum)->isVisible());
    QVERIFY(Find<QComboBox>(kProjection)->isVisible());
    QVERIFY(!Find<QRadioButton>(kModeCorners)->isVisible());
    Choose(kProjection, 4);
    QCOMPARE(FieldText(kParameterKeys[1]), QString("lon_0"));
    Type(kParameterValues[1], "E9");
    Choose(kSystem, kSystemOsgb);
    QVERIFY(!Find<QComboBox>(kDatum)->isEnabled());
    Click(kApply);
    QCOMPARE(shown_.state->app.calibration.proj_mode, kCalibrationProjection);
    QCOMPARE(shown_.state->app.calibration.projparams.value_or(""),
             std::string("proj=tmerc lon_0=9.00000000 "));
    QCOMPARE(shown_.state->app.calibration.datum_name.value_or(""), std::string("OrdSrvyGrtBritn"));
    Choose(kKind, 3);
    QVERIFY(Find<QLabel>(kThreeByThreeNote)->isVisible());
    QVERIFY(!Find<QLineEdit>(kPixelX)->isVisible());
  }

  void followIsKeptForTheNextRun() {
    MainWindow& window = Window(kFivePoints);
    OpenDialog();
    QVERIFY(Find<QCheckBox>(kFollow)->isChecked());
    Click(kFollow);
    QVERIFY(!shown_.state->app.calibration_follow);
    QCOMPARE(window.RunCommand(kCmdCloseCalibration), 0);
    QVERIFY(Dialog() == nullptr);
    OpenDialog();
    QVERIFY(!Find<QCheckBox>(kFollow)->isChecked());
    // The preferences keep it between runs.
    PrefsRecord prefs;
    StoreSettingsInPrefs(shown_.state->app, &prefs);
    QCOMPARE(prefs.calibration_follow, 0);
    ApplicationState next_run;
    LoadSettingsFromPrefs(prefs, &next_run);
    QVERIFY(!next_run.calibration_follow);
    prefs.calibration_follow = 1;
    LoadSettingsFromPrefs(prefs, &next_run);
    QVERIFY(next_run.calibration_follow);
  }

  void refreshShowsAnImportedCalibration() {
    MainWindow& window = Window(kBoundsOnly);
    OpenDialog();
    shown_.state->app.calibration.points.emplace();
    Point(0).latitude = 46.5;
    Point(0).pixel_x = 5;
    window.ui().RefreshCalibrationDialog();
    QVERIFY(Find<QRadioButton>(kModePoints)->isChecked());
    QCOMPARE(FieldText(kPixelX), QString("5"));
  }

  // With KV_SCREENSHOT_DIR set: the dialog on the sample map with points.
  void screenshotOnTheSampleMap() {
    const char* folder = std::getenv("KV_SCREENSHOT_DIR");
    const char* sample = std::getenv("KV_SAMPLE_IMAGE");
    if (folder == nullptr || sample == nullptr) QSKIP("KV_SCREENSHOT_DIR not set");
    MainWindow& window = Window(nullptr, kSystemDegreesMinutes);
    window.resize(1024, 768);
    const QString image = dir_.filePath("earth.jpg");
    QFile::remove(image);
    QVERIFY(QFile::copy(QString::fromUtf8(sample), image));
    WriteFile(dir_.filePath("earth.kvm"),
              "kv_north=7=90\nkv_west=7=-180\nkv_south=7=-90\nkv_east=7=180\n"
              "c1_lat=7=51.4779\nc1_lon=7=-0.0015\nc1_x=7=1024\nc1_y=7=219\n"
              "c2_lat=7=-33.8568\nc2_lon=7=151.2153\nc2_x=7=1884\nc2_y=7=705\n"
              "c3_lat=7=40.6892\nc3_lon=7=-74.0445\nc3_x=7=603\nc3_y=7=280\n"
              "c4_lat=7=-33.9249\nc4_lon=7=18.4241\nc4_x=7=1129\nc4_y=7=705\n"
              "c6_lat=7=35.6762\nc6_lon=7=139.6503\nc6_x=7=1818\nc6_y=7=309\n"
              // Rio de Janeiro with its latitude mistyped by ten degrees.
              "c5_lat=7=-32.9068\nc5_lon=7=-43.1729\nc5_x=7=778\nc5_y=7=642\n");
    window.OpenFile(image.toStdString());
    OpenDialog();
    Click(kNextPoint);
    Find<QLineEdit>(kPointLatitude)->setFocus();
    QApplication::processEvents();
    const QDir shots(QString::fromUtf8(folder));
    QVERIFY(GrabWhenDrawn(&window).save(shots.filePath("calibration-dialog.png")));
    Choose(kKind, 1);
    Choose(kProjection, 4);
    Choose(kSystem, kSystemUtm);
    Settle();
    QVERIFY(GrabWhenDrawn(&window).save(shots.filePath("calibration-dialog-projection.png")));
    Choose(kKind, 0);
    shown_.prompts->answers = {Answer::kYes};
    Click(kModeCentre);
    Find<QLineEdit>(kFirstZone)->setFocus();
    Settle();
    QVERIFY(GrabWhenDrawn(&window).save(shots.filePath("calibration-dialog-centre.png")));
  }
};

}  // namespace kv

QTEST_MAIN(kv::CalibrationDialogTest)
#include "calibration_dialog_test.moc"
