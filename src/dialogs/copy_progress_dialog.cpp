#include "dialogs/copy_progress_dialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "dialogs/dialog_ids.h"

namespace kv {

QString CopyProgressText(std::int64_t done, std::int64_t total) {
  return QString("     %1 of %2        ").arg(done).arg(total);
}

CopyProgressDialog::CopyProgressDialog(const DialogTexts& texts, const QString& local_path,
                                       CopyRun copy, std::function<bool()> confirm_stop,
                                       QWidget* parent)
    : QDialog(parent), copy_(std::move(copy)), confirm_stop_(std::move(confirm_stop)) {
  setObjectName("copyProgressDialog");
  setWindowTitle(QString::fromStdString(texts.caption));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  if (texts.Contains(kFirstLabel)) {
    layout->addWidget(new QLabel(QString::fromStdString(texts.Text(kFirstLabel)), this));
  }
  auto* path = new QLabel(local_path, this);
  path->setObjectName("localPath");
  path->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(path);
  progress_ = new QLabel(CopyProgressText(0, 0), this);
  progress_->setObjectName("progressText");
  layout->addWidget(progress_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)
      ->setText(QString::fromStdString(texts.Text(kCancelButton)));
  connect(buttons, &QDialogButtonBox::rejected, this, &CopyProgressDialog::reject);
  layout->addWidget(buttons);
  setMinimumWidth(380);
}

int CopyProgressDialog::Run() {
  exec();
  return result_;
}

void CopyProgressDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (state_ != State::kStarted) return;
  state_ = State::kReady;
  // Once the dialog is up: the copy starts from the event loop, not from
  // inside the show.
  QTimer::singleShot(0, this, &CopyProgressDialog::StartCopy);
}

void CopyProgressDialog::StartCopy() {
  if (state_ != State::kReady) return;
  state_ = State::kCopying;
  result_ = copy_([this](std::int64_t done, std::int64_t total) { return Progress(done, total); });
  state_ = State::kDone;
  accept();
}

int CopyProgressDialog::Progress(std::int64_t done, std::int64_t total) {
  progress_->setText(CopyProgressText(done, total));
  repaint();
  // The user's clicks and keys reach the dialog (Cancel) between pieces.
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return state_ == State::kStopRequested ? -1 : 0;
}

void CopyProgressDialog::reject() {
  // The dialog ends with the copy, never before it.
  if (state_ == State::kCopying && confirm_stop_ && confirm_stop_()) {
    if (state_ == State::kCopying) state_ = State::kStopRequested;
  }
}

}  // namespace kv
