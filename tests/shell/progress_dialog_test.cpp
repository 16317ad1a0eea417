// Long work in the desktop program: the conversion runs while the window
// keeps answering, a progress dialog appears once the work has run for the
// delay, its Cancel reaches the work, and input meant for anything else
// waits until the work is over.

#include <QImage>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <sstream>
#include <thread>

#include "base/exceptions.h"
#include "document/command_ids.h"
#include "scripted_prompts.h"
#include "shell/main_window.h"
#include "shell/resource_catalogue.h"
#include "shell/shell_state.h"
#include "shipped_languages.h"

namespace kv {

namespace {

// Holds the worker until the window's thread lets it go. The wait is
// bounded only so that a broken window fails the test instead of hanging
// it.
class Latch {
 public:
  void Open() {
    const std::lock_guard<std::mutex> lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  bool Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::minutes(2), [this]() { return open_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
};

ConversionProgress Half() {
  ConversionProgress progress;
  progress.tiles_done = 1;
  progress.tiles_total = 2;
  return progress;
}

}  // namespace

class ProgressDialogTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  std::ostringstream diagnostics_;
  std::unique_ptr<ShellState> state_;
  std::unique_ptr<ScriptedPrompts> prompts_;

  std::unique_ptr<MainWindow> MakeWindow() {
    state_ = EnglishShellState();
    state_->prefs_path = dir_.filePath("config/test.prefs").toStdString();
    state_->app.diagnostics = &diagnostics_;
    prompts_ = std::make_unique<ScriptedPrompts>();
    auto window = std::make_unique<MainWindow>(*state_, *prompts_);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) qFatal("window not exposed");
    return window;
  }

  static QProgressDialog* DialogOf(const MainWindow& window) {
    return window.findChild<QProgressDialog*>();
  }

 private slots:
  void appearsOnlyAfterTheDelayWhileTheWindowAnswers() {
    auto window = MakeWindow();
    QtDocumentUi& ui = window->ui();
    QCOMPARE(ui.progress_delay(), std::chrono::milliseconds(500));
    Latch release;
    bool hidden_at_first = false;
    bool shown_later = false;
    bool progress_shown = false;
    bool released = false;
    // Runs on the window's thread while the worker waits: only a window
    // that keeps answering gets here.
    QTimer::singleShot(0, window.get(), [&]() {
      QProgressDialog* dialog = DialogOf(*window);
      hidden_at_first = dialog != nullptr && !dialog->isVisible();
      shown_later = dialog != nullptr && QTest::qWaitFor([&]() { return dialog->isVisible(); });
      progress_shown =
          dialog != nullptr && QTest::qWaitFor([&]() { return dialog->value() == 500; });
      release.Open();
    });
    ui.RunConversion([&]() {
      ui.ShowProgress(Half());
      released = release.Wait();
    });
    QVERIFY(released);
    QVERIFY(hidden_at_first);
    QVERIFY(shown_later);
    QVERIFY(progress_shown);
    QVERIFY(DialogOf(*window) == nullptr);
  }

  void cancelReachesTheWork() {
    auto window = MakeWindow();
    QtDocumentUi& ui = window->ui();
    ui.set_progress_delay(std::chrono::milliseconds(0));
    bool clicked = false;
    QTimer::singleShot(0, window.get(), [&]() {
      QProgressDialog* dialog = DialogOf(*window);
      if (dialog == nullptr || !QTest::qWaitFor([&]() { return dialog->isVisible(); })) return;
      QPushButton* cancel = dialog->findChild<QPushButton*>();
      if (cancel == nullptr) return;
      QTest::mouseClick(cancel, Qt::LeftButton);
      clicked = true;
    });
    bool cancelled = false;
    ui.RunConversion([&]() {
      const auto give_up = std::chrono::steady_clock::now() + std::chrono::minutes(2);
      while (!cancelled && std::chrono::steady_clock::now() < give_up) {
        cancelled = ui.CancelRequested();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
    QVERIFY(clicked);
    QVERIFY(cancelled);
    // The next work starts without the old request.
    ui.EndProgress();
    QVERIFY(!ui.CancelRequested());
  }

  void inputForOtherWindowsWaitsForTheWork() {
    auto window = MakeWindow();
    QtDocumentUi& ui = window->ui();
    QPushButton other("Other");
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    int other_clicks = 0;
    connect(&other, &QPushButton::clicked, [&]() { ++other_clicks; });
    Latch release;
    bool window_closed = true;
    QTimer::singleShot(0, window.get(), [&]() {
      // Before the dialog is there, as well as after.
      QTest::mouseClick(&other, Qt::LeftButton);
      QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
      window_closed = window->close();
      release.Open();
    });
    ui.RunConversion([&]() { release.Wait(); });
    QCOMPARE(other_clicks, 0);
    QVERIFY(!window_closed);
    QVERIFY(window->isVisible());
    QVERIFY(prompts_->choosers.empty());
    // Afterwards input reaches its windows again.
    QTest::mouseClick(&other, Qt::LeftButton);
    QCOMPARE(other_clicks, 1);
  }

  void cancellingAnImportThroughTheDialogLeavesTheMapEmpty() {
    auto window = MakeWindow();
    // Shown at once, so that the click lands long before a conversion of
    // this size could end.
    window->ui().set_progress_delay(std::chrono::milliseconds(0));
    QImage big(4000, 3000, QImage::Format_RGB32);
    big.fill(QColor(40, 90, 160));
    const QString path = dir_.filePath("big.bmp");
    QVERIFY(big.save(path));
    prompts_->files.push_back(path.toStdString());
    bool clicked = false;
    QTimer::singleShot(0, window.get(), [&]() {
      QProgressDialog* dialog = DialogOf(*window);
      if (dialog == nullptr || !QTest::qWaitFor([&]() { return dialog->isVisible(); })) return;
      if (QPushButton* cancel = dialog->findChild<QPushButton*>()) {
        QTest::mouseClick(cancel, Qt::LeftButton);
        clicked = true;
      }
    });
    QCOMPARE(window->RunCommand(kCmdImportImage), -1);
    QVERIFY(clicked);
    QCOMPARE(window->document()->container().image_count(), std::size_t{0});
    QVERIFY(!window->document()->container().IsModified());
    QVERIFY(prompts_->errors.empty());
    QVERIFY(DialogOf(*window) == nullptr);
  }

  void failuresOfTheWorkReachTheCaller() {
    auto window = MakeWindow();
    bool caught = false;
    try {
      window->ui().RunConversion([]() { throw ErrFileRead("/maps/broken.png"); });
    } catch (const ErrFileRead& error) {
      caught = std::string(error.file_name()) == "/maps/broken.png";
    }
    QVERIFY(caught);
    QVERIFY(DialogOf(*window) == nullptr);
  }
};

}  // namespace kv

QTEST_MAIN(kv::ProgressDialogTest)
#include "progress_dialog_test.moc"
