#ifndef KORVALE_DIALOGS_COPY_PROGRESS_DIALOG_H_
#define KORVALE_DIALOGS_COPY_PROGRESS_DIALOG_H_

// The copy of a map to a device (kCopyProgressDialogId): shows the local file and how
// far the copy is, and runs the copy once the dialog is on the screen. The
// copy runs on this thread; between its pieces the dialog takes the user's
// input, so the window keeps answering and Cancel works. Cancel asks first
// and stops the copy at its next piece only when the user says yes.

#include <QDialog>
#include <cstdint>
#include <functional>

#include "base/language_file.h"
#include "install/install_ui.h"

class QLabel;

namespace kv {

inline constexpr int kCopyLocalPathText = 2111;
inline constexpr int kCopyProgressText = 2085;

class CopyProgressDialog : public QDialog {
 public:
  // `confirm_stop` asks whether to stop the copy (yes: true).
  CopyProgressDialog(const DialogTexts& texts, const QString& local_path, CopyRun copy,
                     std::function<bool()> confirm_stop, QWidget* parent = nullptr);

  // Shows the dialog, runs the copy and gives its result.
  int Run();

  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  enum class State { kStarted, kReady, kCopying, kStopRequested, kDone };

  void StartCopy();
  int Progress(std::int64_t done, std::int64_t total);

  CopyRun copy_;
  std::function<bool()> confirm_stop_;
  QLabel* progress_ = nullptr;
  State state_ = State::kStarted;
  int result_ = 0;
};

// "     %d of %d        ": five blanks before, eight after.
QString CopyProgressText(std::int64_t done, std::int64_t total);

}  // namespace kv

#endif  // KORVALE_DIALOGS_COPY_PROGRESS_DIALOG_H_
