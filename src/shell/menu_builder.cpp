#include "shell/menu_builder.h"

#include <QKeySequence>

#include "document/command_ids.h"
#include "shell/menu_text.h"

namespace kv {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QAction* MakeAction(QObject* parent, int command, const std::string& text,
                    const CommandHandler& handler) {
  auto* action = new QAction(Text(text), parent);
  action->setCheckable(IsCheckableCommand(command));
  QObject::connect(action, &QAction::triggered, action, [handler, command]() { handler(command); });
  return action;
}

void AddEntries(QMenu* target, const std::vector<MenuEntry>& entries, BuiltMenu* built,
                const CommandHandler& handler) {
  for (const MenuEntry& entry : entries) {
    switch (entry.kind) {
      case MenuEntry::Kind::kSeparator:
        target->addSeparator();
        break;
      case MenuEntry::Kind::kPopup:
        AddEntries(target->addMenu(Text(entry.text)), entry.children, built, handler);
        break;
      case MenuEntry::Kind::kItem:
        if (entry.command == 0) {
          target->addAction(Text(entry.text))->setEnabled(false);
        } else {
          QAction* action = MakeAction(target, entry.command, entry.text, handler);
          target->addAction(action);
          built->actions.emplace(entry.command, action);
        }
        break;
    }
  }
}

}  // namespace

bool IsCheckableCommand(int command) {
  if (command == kCmdToggleCompression) return true;
  for (const DepthCommand& depth : kDepthCommands) {
    if (depth.command == command) return true;
  }
  return false;
}

BuiltMenu BuildMenuBar(QMenuBar* bar, const MenuResource& menu, const CommandHandler& handler) {
  BuiltMenu built;
  for (const MenuEntry& entry : menu.entries) {
    if (entry.kind == MenuEntry::Kind::kPopup) {
      QMenu* popup = bar->addMenu(Text(entry.text));
      built.popups.push_back(popup);
      AddEntries(popup, entry.children, &built, handler);
    } else if (entry.kind == MenuEntry::Kind::kItem && entry.command != 0) {
      QAction* action = MakeAction(bar, entry.command, entry.text, handler);
      bar->addAction(action);
      built.actions.emplace(entry.command, action);
    }
  }
  return built;
}

void ApplyAccelerators(QWidget* window, const std::vector<Accelerator>& table, BuiltMenu* menu,
                       const CommandHandler& handler) {
  for (const Accelerator& accelerator : table) {
    const QKeySequence keys =
        QKeySequence::fromString(Text(accelerator.keys), QKeySequence::PortableText);
    if (keys.isEmpty()) continue;
    auto found = menu->actions.find(accelerator.command);
    QAction* action = nullptr;
    if (found != menu->actions.end()) {
      action = found->second;
    } else {
      action = MakeAction(window, accelerator.command, std::string(), handler);
      window->addAction(action);
      menu->actions.emplace(accelerator.command, action);
    }
    QList<QKeySequence> shortcuts = action->shortcuts();
    shortcuts.append(keys);
    action->setShortcuts(shortcuts);
  }
}

QMenu* SubmenuAt(const BuiltMenu& menu, int position) {
  if (menu.popups.empty()) return nullptr;
  const QList<QAction*> entries = menu.popups.front()->actions();
  if (position < 0 || position >= entries.size()) return nullptr;
  return entries[position]->menu();
}

void FillUserMenu(QMenu* submenu, const std::vector<std::string>& users, int first_command,
                  BuiltMenu* menu, const CommandHandler& handler) {
  if (submenu == nullptr || users.empty()) return;
  QAction* placeholder = submenu->actions().value(0);
  for (std::size_t i = 0; i < users.size(); ++i) {
    const int command = first_command + static_cast<int>(i);
    QAction* action = MakeAction(submenu, command, LiteralMenuText(users[i]), handler);
    submenu->addAction(action);
    menu->actions.emplace(command, action);
  }
  if (placeholder != nullptr) {
    submenu->removeAction(placeholder);
    delete placeholder;
  }
}

}  // namespace kv
