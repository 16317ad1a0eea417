// Undo and redo in the calibration panel, through its controls, the keys
// Ctrl+Z and Ctrl+Shift+Z and the Edit menu, in each shipped language.

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "dialogs/calibration_controls.h"
#include "dialogs/calibration_dialog.h"
#include "dialogs/dialog_test_support.h"
#include "dialogs/panel_test_window.h"
#include "document/calibration_history.h"
#include "document/command_ids.h"
#include "document/language_format.h"
#include "geo/coordinate_systems.h"
#include "shell/edit_menu.h"
#include "shell/main_window.h"
#include "shell/scripted_prompts.h"
#include "shell/shipped_languages.h"
#include "views/image_view_pane.h"

namespace kv {

using namespace calib;

namespace {

// Bounds and two points of a 320 x 262 image: the rectangular kind, on its
// points.
const char kTwoPoints[] =
    "kv_north=7=47.5\nkv_west=7=8\nkv_south=7=47.1\nkv_east=7=8.8\n"
    "c1_lat=7=47.5\nc1_lon=7=8\nc1_x=7=10\nc1_y=7=10\n"
    "c2_lat=7=47.1\nc2_lon=7=8.8\nc2_x=7=250\nc2_y=7=210\n";

}  // namespace

class CalibrationUndoTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  PanelTestWindow shown_;

  // The main window at its first size, in `language`, with the panel open
  // on an image calibrated by kTwoPoints.
  CalibrationDialog& OpenPanel(const QString& language) {
    auto settings = std::make_unique<ShellState>();
    settings->language = LoadShippedLanguage(language);
    LoadLanguageTexts(settings.get());
    shown_.Show(std::move(settings), QSize(800, 550));
    shown_.OpenCalibratedImage(QDir(dir_.path()), QSize(320, 262), kTwoPoints);
    // Nothing to undo while the panel is closed.
    if (Action(kCmdUndo)->isEnabled()) qFatal("Undo enabled without the panel");
    shown_.window->RunCommand(kCmdOpenCalibration);
    if (Panel() == nullptr) qFatal("the calibration panel did not open");
    QApplication::sendPostedEvents();
    return *Panel();
  }

  CalibrationDialog* Panel() { return shown_.window->ui().calibration_dialog(); }
  QAction* Action(int command) {
    QAction* action = shown_.window->action(command);
    if (action == nullptr) qFatal("command %d has no action", command);
    return action;
  }
  template <typename T>
  T* Find(int id) {
    auto* widget = Panel()->findChild<T*>(QStringLiteral("c%1").arg(id));
    if (widget == nullptr) qFatal("control %d missing", id);
    return widget;
  }
  QString FieldText(int id) { return Find<QLineEdit>(id)->text(); }
  // The menu text for undoing (redoing) `change`, from the language file.
  QString Named(std::uint32_t format, CalibrationChange change) {
    const StringTable& strings = shown_.state->language.strings;
    return QString::fromStdString(
        FormatLanguageText(strings.Get(format), {strings.Get(ChangeNameString(change))}));
  }
  void Type(int id, const QString& text) {
    QLineEdit* edit = Find<QLineEdit>(id);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  void Click(int id) {
    QApplication::sendPostedEvents();
    QAbstractButton* button = Find<QAbstractButton>(id);
    const bool push = qobject_cast<QPushButton*>(button) != nullptr;
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier,
                      QPoint(push ? button->width() / 2 : 6, button->height() / 2));
    QApplication::sendPostedEvents();
  }
  void Choose(int id, int index) {
    QComboBox* combo = Find<QComboBox>(id);
    combo->setFocus();
    while (combo->currentIndex() < index) QTest::keyClick(combo, Qt::Key_Down);
  }
  // The keys where the focus is, as the user presses them.
  void Press(QKeyCombination keys) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : shown_.window.get(), keys.key(),
                    keys.keyboardModifiers());
  }
  void UndoKey() { Press(Qt::ControlModifier | Qt::Key_Z); }
  void RedoKey() { Press(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z); }
  int TableRows() { return Find<QTableWidget>(kResidualsTable)->rowCount(); }

  // The window with its Edit menu open over it, as the user sees them.
  void SaveEditMenu(const QString& name) {
    const char* folder = std::getenv("KV_SCREENSHOT_DIR");
    QMenu* edit = nullptr;
    for (QAction* title : shown_.window->menuBar()->actions()) {
      if (title->menu() != nullptr && title->menu()->actions().contains(Action(kCmdUndo))) {
        edit = title->menu();
        shown_.window->menuBar()->setActiveAction(title);
      }
    }
    QVERIFY(edit != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(edit));
    if (folder != nullptr) {
      QPixmap shot = GrabWhenDrawn(shown_.window.get());
      QPainter painter(&shot);
      painter.drawPixmap(shown_.window->mapFromGlobal(edit->pos()), edit->grab());
      painter.end();
      shot.save(QDir(QString::fromUtf8(folder)).filePath(name));
    }
    edit->close();
  }

 private slots:
  void cleanup() {
    shown_.window.reset();
    shown_.prompts.reset();
    shown_.state.reset();
  }

  void everyChangeGoesBackWithCtrlZAndComesAgainWithCtrlShiftZ() {
    CalibrationDialog& panel = OpenPanel("EN");
    QAction* undo = Action(kCmdUndo);
    QAction* redo = Action(kCmdRedo);
    const QString plain = undo->text();
    QVERIFY(!undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    QCOMPARE(FieldText(kPixelX), QString("10"));
    QCOMPARE(TableRows(), 2);

    // Typing is one step, undone before the field is left.
    Type(kPixelX, "120");
    QVERIFY(undo->isEnabled());
    QCOMPARE(undo->text(), Named(kUndoChangeMenuString, CalibrationChange::kTyping));
    UndoKey();
    QCOMPARE(FieldText(kPixelX), QString("10"));
    QVERIFY(!undo->isEnabled());
    QCOMPARE(redo->text(), Named(kRedoChangeMenuString, CalibrationChange::kTyping));
    RedoKey();
    QCOMPARE(FieldText(kPixelX), QString("120"));
    // Left for the next point: the typed pixel is stored, with no step of
    // its own for the move.
    Click(kNextPoint);
    QCOMPARE(FieldText(kPointNumber), QString("2"));
    QCOMPARE((*shown_.state->app.calibration.points)[0].pixel_x, 120);

    Click(kDeletePoint);
    QCOMPARE(TableRows(), 1);
    QCOMPARE(undo->text(), Named(kUndoChangeMenuString, CalibrationChange::kPointDeleted));
    // Each entry the arrow key passes is chosen, and one step.
    Choose(kSystem, kSystemDegreesMinutesSeconds);
    QCOMPARE(undo->text(), Named(kUndoChangeMenuString, CalibrationChange::kSystem));
    shown_.prompts->answers = {Answer::kYes};
    Click(kModeCorners);
    QVERIFY(Find<QRadioButton>(kModeCorners)->isChecked());
    QCOMPARE(FieldText(kFirstLatitude), QString("N47 30 00.0000"));
    QCOMPARE(undo->text(), Named(kUndoChangeMenuString, CalibrationChange::kMode));

    // Back through every control, the radio buttons, the list and the table.
    UndoKey();
    QVERIFY(Find<QRadioButton>(kModePoints)->isChecked());
    QVERIFY(Find<QLineEdit>(kPixelX)->isVisible());
    UndoKey();
    QCOMPARE(Find<QComboBox>(kSystem)->currentIndex(), kSystemDegreesMinutes);
    UndoKey();
    QCOMPARE(TableRows(), 2);
    QCOMPARE(FieldText(kPointNumber), QString("2"));
    QCOMPARE(FieldText(kPixelX), QString("250"));
    UndoKey();
    QCOMPARE((*shown_.state->app.calibration.points)[0].pixel_x, 10);
    QCOMPARE(Find<QTableWidget>(kResidualsTable)->item(0, 1)->text(), QString("10"));
    QVERIFY(!undo->isEnabled());
    // The image view shows the point undo went back to.
    QCOMPARE(shown_.window->findChild<ImageViewPane*>("imageView")->HighlightedPoint(), 0);

    // Forward again, and the Edit menu's Redo does the same.
    RedoKey();
    RedoKey();
    QCOMPARE(TableRows(), 1);
    shown_.window->RunCommand(kCmdRedo);
    QCOMPARE(Find<QComboBox>(kSystem)->currentIndex(), kSystemDegreesMinutesSeconds);
    QCOMPARE(redo->text(), Named(kRedoChangeMenuString, CalibrationChange::kMode));

    // Applying starts again; a closed panel has nothing.
    Click(kApply);
    QVERIFY(!undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    Type(kPixelY, "33");
    QVERIFY(undo->isEnabled());
    panel.Undo();
    QVERIFY(!undo->isEnabled());
    Type(kPixelY, "34");
    shown_.window->RunCommand(kCmdCloseCalibration);
    QVERIFY(Panel() == nullptr);
    QVERIFY(!undo->isEnabled());
    QCOMPARE(undo->text(), plain);
  }

  void theEditMenuNamesTheChangeInEachLanguage_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("EN") << QString("EN");
    QTest::newRow("DE") << QString("DE");
  }

  void theEditMenuNamesTheChangeInEachLanguage() {
    QFETCH(QString, language);
    OpenPanel(language);
    Choose(kSystem, kSystemDecimalDegrees);
    Click(kDeletePoint);
    Click(kDeletePoint);
    UndoKey();
    QCOMPARE(Action(kCmdUndo)->text(),
             Named(kUndoChangeMenuString, CalibrationChange::kPointDeleted));
    QCOMPARE(Action(kCmdRedo)->text(),
             Named(kRedoChangeMenuString, CalibrationChange::kPointDeleted));
    QVERIFY(Action(kCmdUndo)->isEnabled() && Action(kCmdRedo)->isEnabled());
    QCOMPARE(Action(kCmdUndo)->shortcut(), QKeySequence("Ctrl+Z"));
    SaveEditMenu("edit-menu-undo-" + language + ".png");
  }
};

}  // namespace kv

QTEST_MAIN(kv::CalibrationUndoTest)
#include "calibration_undo_test.moc"
