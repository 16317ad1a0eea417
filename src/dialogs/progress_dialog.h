#ifndef KORVALE_DIALOGS_PROGRESS_DIALOG_H_
#define KORVALE_DIALOGS_PROGRESS_DIALOG_H_

// The dialog long work shows: how far it is and a Cancel button. It appears
// only once the work has run for `delay`, so short work shows the wait
// cursor alone. While it lives it is the only window that takes the user's
// input (also before it appears): the work owns the document, and nothing
// the user does elsewhere may reach it until the work is over.

#include <QProgressDialog>
#include <QTimer>
#include <chrono>

namespace kv {

class ProgressDialog final : public QProgressDialog {
 public:
  ProgressDialog(QWidget* parent, const QString& title, const QString& cancel_text,
                 std::chrono::milliseconds delay);
  ~ProgressDialog() override;

  // 0 to 1.
  void SetFraction(double fraction);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool IsOwnWidget(const QObject* object) const;

  QTimer appear_;
};

}  // namespace kv

#endif  // KORVALE_DIALOGS_PROGRESS_DIALOG_H_
