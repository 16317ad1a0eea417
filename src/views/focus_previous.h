#ifndef KORVALE_VIEWS_FOCUS_PREVIOUS_H_
#define KORVALE_VIEWS_FOCUS_PREVIOUS_H_

// In this program's panes and panels Tab steps back: the focus goes to the
// control before the focused one. Shared by the panes and the calibration
// panel, so header only.

#include <QKeyEvent>
#include <QWidget>

namespace kv {

// Tab without Shift, Ctrl or Alt (keypad Tab counts).
inline bool IsPlainTab(const QKeyEvent& key) {
  return key.key() == Qt::Key_Tab && (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// Focuses the nearest visible, enabled control before `from` in the focus
// chain that takes Tab focus; with `scope`, only controls inside it.
inline void FocusPreviousControl(QWidget* from, const QWidget* scope = nullptr) {
  for (QWidget* widget = from->previousInFocusChain(); widget != nullptr && widget != from;
       widget = widget->previousInFocusChain()) {
    if (scope != nullptr && !scope->isAncestorOf(widget)) continue;
    if ((widget->focusPolicy() & Qt::TabFocus) != 0 && widget->isVisible() && widget->isEnabled() &&
        widget->focusProxy() == nullptr) {
      widget->setFocus(Qt::BacktabFocusReason);
      return;
    }
  }
}

}  // namespace kv

#endif  // KORVALE_VIEWS_FOCUS_PREVIOUS_H_
