#ifndef KORVALE_TESTS_DIALOGS_MODAL_DRIVER_H_
#define KORVALE_TESTS_DIALOGS_MODAL_DRIVER_H_

// Drives a modal dialog that the code under test opens and runs: the step
// runs inside the dialog's own event loop once it is the active modal
// window, and works it through its controls the way a person would.

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace kv {

// Event loop turns to wait for the dialog before the step gives up; the
// dialogs open within a few turns.
inline constexpr int kModalTurns = 10000;

template <typename Dialog>
void OnModal(std::function<void(Dialog*)> step, int turns_left = kModalTurns) {
  QTimer::singleShot(0, qApp, [step, turns_left]() {
    auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
    if (dialog != nullptr && dialog->isVisible()) {
      step(dialog);
      // A failed check returns early; the dialog must not then wait forever.
      if (QTest::currentTestFailed() && dialog->isVisible()) dialog->reject();
    } else if (turns_left > 0) {
      OnModal<Dialog>(step, turns_left - 1);
    } else {
      QTest::qFail("the expected dialog never opened", __FILE__, __LINE__);
      if (QWidget* other = QApplication::activeModalWidget()) other->close();
    }
  });
}

// Clicks the dialog's button of `role` (OK, Cancel, Save, Open, Yes, No).
inline void ClickButton(QWidget* dialog, QDialogButtonBox::StandardButton role) {
  for (auto* box : dialog->findChildren<QDialogButtonBox*>()) {
    if (QPushButton* button = box->button(role)) {
      QTest::mouseClick(button, Qt::LeftButton);
      return;
    }
  }
  QTest::qFail("the dialog has no such button", __FILE__, __LINE__);
}

}  // namespace kv

#endif  // KORVALE_TESTS_DIALOGS_MODAL_DRIVER_H_
