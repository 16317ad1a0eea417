#ifndef KORVALE_SHELL_MENU_BUILDER_H_
#define KORVALE_SHELL_MENU_BUILDER_H_

// The menu bar and shortcuts from the language file's menu and accelerator
// table, every action sending its command number to one handler.

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/language_file.h"

namespace kv {

using CommandHandler = std::function<void(int command)>;

struct BuiltMenu {
  std::map<int, QAction*> actions;  // by command; placeholders are not here
  std::vector<QMenu*> popups;       // the menu bar's popups, in order
};

// Commands that show a check mark: the colour depths and compression.
bool IsCheckableCommand(int command);

BuiltMenu BuildMenuBar(QMenuBar* bar, const MenuResource& menu, const CommandHandler& handler);

// Each accelerator becomes a shortcut of its command's action, or of a
// window action for commands without a menu item. Keys that do not parse
// are skipped.
void ApplyAccelerators(QWidget* window, const std::vector<Accelerator>& table, BuiltMenu* menu,
                       const CommandHandler& handler);

// The submenu at `position` of the first popup, or null.
QMenu* SubmenuAt(const BuiltMenu& menu, int position);

// Puts one item per user (command first_command + index, "&" shown
// literally) in place of the placeholder; with no users the menu stays as
// the language file has it.
void FillUserMenu(QMenu* submenu, const std::vector<std::string>& users, int first_command,
                  BuiltMenu* menu, const CommandHandler& handler);

}  // namespace kv

#endif  // KORVALE_SHELL_MENU_BUILDER_H_
