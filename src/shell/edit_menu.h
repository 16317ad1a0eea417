#ifndef KORVALE_SHELL_EDIT_MENU_H_
#define KORVALE_SHELL_EDIT_MENU_H_

// The Edit menu's Undo and Redo: enabled only while the calibration panel
// is open and has a change to take back (forward), and then named after it
// ("Undo typing").

#include <QAction>
#include <QPointer>
#include <QString>
#include <cstdint>

#include "base/string_table.h"

namespace kv {

class CalibrationDialog;

// "&Undo %s", "&Redo %s": %s takes the change's name.
inline constexpr std::uint32_t kUndoChangeMenuString = 2500;
inline constexpr std::uint32_t kRedoChangeMenuString = 2501;

class EditMenu {
 public:
  EditMenu() = default;
  // Either action may be missing from the language file's menu.
  EditMenu(QAction* undo, QAction* redo, const StringTable& strings);

  // `panel` is the open calibration panel, or null.
  void Update(const CalibrationDialog* panel);

 private:
  struct Item {
    QPointer<QAction> action;
    QString plain;  // the menu's own text, shown while there is nothing
    QString named;  // with the change's name for %s
  };
  static void Show(Item& item, bool enabled, const QString& change);

  Item undo_;
  Item redo_;
};

}  // namespace kv

#endif  // KORVALE_SHELL_EDIT_MENU_H_
