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

// Steps belong to the test that queued them; one whose dialog never came
// (the test failed) must not run in the next test, on its finished locals.
inline int& ModalStepGeneration() {
  static int generation = 0;
  return generation;
}

// Call from each test's init().
inline void DropPendingModalSteps() { ++ModalStepGeneration(); }

// `required`: a dialog that never opens fails the test; otherwise the step
// only answers a dialog that should not have opened, so that the test can
// fail instead of waiting forever.
template <typename Dialog>
void OnModal(std::function<void(Dialog*)> step, bool required = true, int turns_left = kModalTurns,
             int generation = ModalStepGeneration()) {
  QTimer::singleShot(0, qApp, [step, required, turns_left, generation]() {
    if (generation != ModalStepGeneration()) return;
    auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
    if (dialog != nullptr && dialog->isVisible()) {
      step(dialog);
      // A failed check returns early; the dialog must not then wait forever.
      if (QTest::currentTestFailed() && dialog->isVisible()) dialog->reject();
    } else if (turns_left > 0) {
      OnModal<Dialog>(step, required, turns_left - 1, generation);
    } else if (required) {
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
