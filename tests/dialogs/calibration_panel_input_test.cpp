// The calibration panel under the keyboard and the mouse as they come: a
// sequence that once crashed the program, and seeded random input over the
// whole window with the panel open. The message boxes here are real modal
// boxes, each with its own event loop, as the program shows them; a timer
// answers them.

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <iterator>
#include <random>
#include <sstream>

#include "dialogs/calibration_controls.h"
#include "dialogs/calibration_dialog.h"
#include "document/command_ids.h"
#include "shell/main_window.h"
#include "shell/shipped_languages.h"
#include "shell/user_prompts.h"

namespace kv {

namespace {

// Message boxes that run their own event loop, as the program's do; every
// other prompt answers at once, so that nothing leaves the test's folder.
class ModalMessagePrompts final : public UserPrompts {
 public:
  int boxes = 0;

  Answer Ask(QWidget* owner, const Question& question) override {
    return Run(owner, question.text) == QMessageBox::Yes ? Answer::kYes : Answer::kNo;
  }
  void Inform(QWidget* owner, const std::string& text, const std::string&, MessageIcon) override {
    Run(owner, text);
  }
  void ShowError(const ErrorBox& box) override { Run(nullptr, box.text); }
  std::optional<std::string> ChooseFile(QWidget*, const FileChooser&, const std::string&,
                                        const std::string&) override {
    return std::nullopt;
  }
  bool RunConversionOptions(QWidget*, const ImportSource&, std::string*,
                            ConversionSettings*) override {
    return true;
  }
  std::optional<WorldFileSystem> ChooseWorldFileSystem(QWidget*,
                                                       const WorldFileSystem& stored) override {
    return stored;
  }
  void ShowAbout(QWidget*) override {}
  bool OpenGuide(const std::string&) override { return false; }

 private:
  int Run(QWidget* owner, const std::string& text) {
    ++boxes;
    QMessageBox box(QMessageBox::Warning, "Test", QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, owner);
    return box.exec();
  }
};

// Answers every modal box soon after it opens.
class ModalCloser {
 public:
  ModalCloser() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [] {
      if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) box->reject();
    });
    timer_.start();
  }

 private:
  QTimer timer_;
};

constexpr char kBoundsOnly[] = "kv_north=7=47.5\nkv_west=7=8\nkv_south=7=47\nkv_east=7=9\n";

}  // namespace

class CalibrationPanelInputTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  std::unique_ptr<ShellState> state_;
  std::unique_ptr<ModalMessagePrompts> prompts_;
  std::unique_ptr<MainWindow> window_;
  std::ostringstream diagnostics_;

  QString MapPath() const { return dir_.filePath("map.png"); }

  MainWindow& OpenMap() {
    state_ = EnglishShellState();
    state_->app.diagnostics = &diagnostics_;
    state_->app.last_map_folder = dir_.path().toStdString() + "/";
    prompts_ = std::make_unique<ModalMessagePrompts>();
    window_ = std::make_unique<MainWindow>(*state_, *prompts_);
    window_->resize(800, 550);
    window_->show();
    QApplication::setActiveWindow(window_.get());
    QImage image(320, 262, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 160));
    image.save(MapPath());
    QFile kvm(dir_.filePath("map.kvm"));
    if (!kvm.open(QIODevice::WriteOnly) || kvm.write(kBoundsOnly) < 0) qFatal("cannot write kvm");
    kvm.close();
    window_->OpenFile(MapPath().toStdString());
    return *window_;
  }

  // Clicks go into an open menu, else half of them onto one of the
  // panel's controls and the others anywhere in the window.
  QWidget* ClickArea(const std::function<int(int)>& pick) {
    if (QWidget* popup = QApplication::activePopupWidget()) return popup;
    CalibrationDialog* panel = window_->ui().calibration_dialog();
    if (panel != nullptr && pick(2) == 0) {
      QList<QWidget*> controls;
      for (QWidget* control : panel->findChildren<QWidget*>()) {
        if (control->isVisible() && control->focusPolicy() != Qt::NoFocus) controls.append(control);
      }
      if (!controls.isEmpty()) return controls[pick(static_cast<int>(controls.size()))];
    }
    return window_.get();
  }

  // Keys go where a person's would: to an open menu, a modal box, or the
  // focused control.
  QWidget* KeyTarget() {
    if (QWidget* popup = QApplication::activePopupWidget()) return popup;
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* focus = QApplication::focusWidget()) return focus;
    return window_.get();
  }

 private slots:
  void initTestCase() {
    // Whatever the input reaches (an install, a copy) stays in the test's
    // folder.
    qputenv("HOME", dir_.path().toUtf8());
    qputenv("TMPDIR", dir_.path().toUtf8());
    qputenv("KORVALE_DEVICE_ROOT", dir_.filePath("device").toUtf8());
  }

  void cleanup() {
    window_.reset();
    prompts_.reset();
    state_.reset();
  }

  // The View menu opened with a refused text in a coordinate field: the
  // menu's focus change showed the message inside the menu's opening, and
  // the menu bar then read a menu that was gone.
  void openingAMenuFromARefusedFieldShowsNoMessageInsideIt() {
    ModalCloser closer;
    MainWindow& window = OpenMap();
    QTest::keyClick(&window, Qt::Key_K, Qt::ControlModifier);
    CalibrationDialog* panel = window.ui().calibration_dialog();
    QVERIFY(panel != nullptr);
    QApplication::sendPostedEvents();
    auto* field = panel->findChild<QLineEdit*>(QStringLiteral("c%1").arg(calib::kFirstLatitude));
    QVERIFY(field != nullptr && field->isVisible());
    QTest::mouseClick(field, Qt::LeftButton);
    QVERIFY(field->hasFocus());
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, "nan");
    QTest::keyClick(field, Qt::Key_V, Qt::AltModifier);
    QCOMPARE(prompts_->boxes, 0);
    QTest::keyClick(KeyTarget(), Qt::Key_Return);
    QApplication::processEvents();
    // Leaving the field for real still refuses the text.
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    QApplication::setActiveWindow(&window);
    field->setFocus();
    QVERIFY(field->hasFocus());
    QCOMPARE(field->text(), QString("nan"));
    QTest::keyClick(field, Qt::Key_Tab);
    QCOMPARE(prompts_->boxes, 1);
  }

  // Random clicks and keys over the window with the panel open, each run
  // from its own seed so that a failure can be replayed (set
  // KV_MONKEY_SEED to run one seed; KV_MONKEY_VERBOSE prints each action).
  void randomInputOverThePanelKeepsTheProgramAlive_data() {
    QTest::addColumn<unsigned>("seed");
    const QByteArray chosen = qgetenv("KV_MONKEY_SEED");
    if (!chosen.isEmpty()) {
      QTest::newRow("chosen") << chosen.toUInt();
      return;
    }
    for (unsigned seed : {1u, 2u, 3u}) QTest::newRow(qPrintable(QString::number(seed))) << seed;
  }

  void randomInputOverThePanelKeepsTheProgramAlive() {
    QFETCH(unsigned, seed);
    constexpr int kActions = 200;
    const bool verbose = !qgetenv("KV_MONKEY_VERBOSE").isEmpty();
    ModalCloser closer;
    MainWindow& window = OpenMap();
    std::mt19937 random(seed);
    const auto pick = [&random](int count) {
      return std::uniform_int_distribution<int>(0, count - 1)(random);
    };
    const Qt::Key kKeys[] = {Qt::Key_Tab,    Qt::Key_Backtab,  Qt::Key_Return, Qt::Key_Escape,
                             Qt::Key_Up,     Qt::Key_Down,     Qt::Key_Left,   Qt::Key_Right,
                             Qt::Key_Home,   Qt::Key_End,      Qt::Key_Space,  Qt::Key_Backspace,
                             Qt::Key_Delete, Qt::Key_PageDown, Qt::Key_PageUp};
    const char kTyped[] = "0123456789.- NSEWnan";
    const char kMnemonics[] = "FICVH";
    for (int action = 0; action < kActions; ++action) {
      if (!window.isVisible()) window.show();
      if (window.document() == nullptr || window.document()->image_list().count() == 0) {
        window.OpenFile(MapPath().toStdString());
      }
      if (window.ui().calibration_dialog() == nullptr &&
          QApplication::activePopupWidget() == nullptr) {
        window.RunCommand(kCmdOpenCalibration);
      }
      QApplication::sendPostedEvents();
      const int kind = pick(10);
      QWidget* target = KeyTarget();
      if (kind < 4) {
        QWidget* area = ClickArea(pick);
        const QPoint point(pick(std::max(area->width(), 1)), pick(std::max(area->height(), 1)));
        QWidget* child = area->childAt(point);
        QWidget* clicked = child != nullptr ? child : area;
        const QPoint local = clicked->mapFrom(area, point);
        if (verbose)
          std::fprintf(stderr, "%u/%d click %s\n", seed, action, qPrintable(clicked->objectName()));
        if (pick(5) == 0) {
          QTest::mouseDClick(clicked, Qt::LeftButton, {}, local);
        } else {
          QTest::mouseClick(clicked, Qt::LeftButton, {}, local);
        }
      } else if (kind < 6) {
        const char typed = kTyped[pick(sizeof kTyped - 1)];
        if (verbose) std::fprintf(stderr, "%u/%d type %c\n", seed, action, typed);
        QTest::keyClick(target, typed);
      } else if (kind < 8) {
        const Qt::Key key = kKeys[pick(std::size(kKeys))];
        if (verbose) std::fprintf(stderr, "%u/%d key %x\n", seed, action, key);
        QTest::keyClick(target, key);
      } else if (kind < 9) {
        const char mnemonic = kMnemonics[pick(sizeof kMnemonics - 1)];
        if (verbose) std::fprintf(stderr, "%u/%d alt %c\n", seed, action, mnemonic);
        QTest::keyClick(target, static_cast<Qt::Key>(mnemonic), Qt::AltModifier);
      } else {
        if (verbose) std::fprintf(stderr, "%u/%d select all\n", seed, action);
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
      }
      QApplication::processEvents();
      // Back in the program's own loop, what was deleted later goes now.
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    QVERIFY(window.document() != nullptr);
  }
};

}  // namespace kv

QTEST_MAIN(kv::CalibrationPanelInputTest)
#include "calibration_panel_input_test.moc"
