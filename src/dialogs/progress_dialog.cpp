#include "dialogs/progress_dialog.h"

#include <QApplication>
#include <QEvent>
#include <algorithm>
#include <limits>

namespace kv {

namespace {

constexpr int kSteps = 1000;
// Wide enough that the bar shows its progress at a glance.
constexpr int kMinimumWidth = 320;

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Close:
      return true;
    default:
      return false;
  }
}

}  // namespace

ProgressDialog::ProgressDialog(QWidget* parent, const QString& title, const QString& cancel_text,
                               std::chrono::milliseconds delay)
    : QProgressDialog(parent) {
  setWindowTitle(title);
  setCancelButtonText(cancel_text);
  setWindowModality(Qt::ApplicationModal);
  setMinimumWidth(kMinimumWidth);
  setRange(0, kSteps);
  setAutoClose(false);
  setAutoReset(false);
  // The dialog's own timing would show it whenever it guesses the work runs
  // long; it appears on our timer alone.
  setMinimumDuration(std::numeric_limits<int>::max());
  appear_.setSingleShot(true);
  connect(&appear_, &QTimer::timeout, this, [this]() { show(); });
  appear_.start(delay);
  qApp->installEventFilter(this);
}

ProgressDialog::~ProgressDialog() { qApp->removeEventFilter(this); }

void ProgressDialog::SetFraction(double fraction) {
  setValue(static_cast<int>(std::clamp(fraction, 0.0, 1.0) * kSteps));
}

bool ProgressDialog::IsOwnWidget(const QObject* object) const {
  const auto* widget = qobject_cast<const QWidget*>(object);
  return widget != nullptr && (widget == this || isAncestorOf(widget));
}

bool ProgressDialog::eventFilter(QObject* watched, QEvent* event) {
  // Shortcuts go to actions, never to this dialog's own controls.
  if (event->type() == QEvent::Shortcut) return true;
  // Events reach a window before its widgets; the widgets are judged.
  if (IsUserInput(event->type()) && watched->isWidgetType() && !IsOwnWidget(watched)) {
    if (event->type() == QEvent::Close) event->ignore();
    return true;
  }
  return QProgressDialog::eventFilter(watched, event);
}

}  // namespace kv
