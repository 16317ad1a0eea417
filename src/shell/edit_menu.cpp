#include "shell/edit_menu.h"

#include "dialogs/calibration_dialog.h"
#include "document/language_format.h"

namespace kv {

EditMenu::EditMenu(QAction* undo, QAction* redo, const StringTable& strings)
    : undo_{undo, undo != nullptr ? undo->text() : QString(),
            QString::fromStdString(strings.Get(kUndoChangeMenuString))},
      redo_{redo, redo != nullptr ? redo->text() : QString(),
            QString::fromStdString(strings.Get(kRedoChangeMenuString))} {}

void EditMenu::Update(const CalibrationDialog* panel) {
  Show(undo_, panel != nullptr && panel->CanUndo(),
       panel != nullptr ? panel->UndoText() : QString());
  Show(redo_, panel != nullptr && panel->CanRedo(),
       panel != nullptr ? panel->RedoText() : QString());
}

void EditMenu::Show(Item& item, bool enabled, const QString& change) {
  if (!item.action) return;
  item.action->setEnabled(enabled);
  // A language file without the named text keeps the plain one.
  if (!enabled || change.isEmpty() || item.named.isEmpty()) {
    item.action->setText(item.plain);
    return;
  }
  item.action->setText(
      QString::fromStdString(FormatLanguageText(item.named.toStdString(), {change.toStdString()})));
}

}  // namespace kv
