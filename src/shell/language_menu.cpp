#include "shell/language_menu.h"

#include <QActionGroup>
#include <QMenu>

#include "base/string_ids.h"
#include "document/document_texts.h"
#include "document/language_format.h"
#include "shell/command_routing.h"
#include "shell/language_choice.h"
#include "shell/language_setting_store.h"
#include "shell/menu_text.h"

namespace kv {

namespace {

QAction* ActionOf(const BuiltMenu& menu, int command) {
  auto it = menu.actions.find(command);
  return it == menu.actions.end() ? nullptr : it->second;
}

int LanguageCount(const ShellState& state) {
  return std::min(static_cast<int>(state.languages.size()), kMaxLanguageCommands);
}

std::string NextStartNote(const std::string& note, const ShippedLanguage& chosen) {
  return FormatLanguageText(note, {chosen.name});
}

}  // namespace

void FillLanguageMenu(const ShellState& state, BuiltMenu* menu, const CommandHandler& handler) {
  QAction* placeholder = ActionOf(*menu, kCmdLanguageMenu);
  if (placeholder == nullptr) return;
  auto* submenu = qobject_cast<QMenu*>(placeholder->parent());
  if (submenu == nullptr || LanguageCount(state) == 0) {
    placeholder->setEnabled(false);
    return;
  }
  auto* group = new QActionGroup(submenu);
  for (int i = 0; i < LanguageCount(state); ++i) {
    const ShippedLanguage& language = state.languages[static_cast<std::size_t>(i)];
    const int command = kCmdFirstLanguage + i;
    auto* action = new QAction(QString::fromStdString(LiteralMenuText(language.name)), group);
    action->setCheckable(true);
    action->setChecked(language.code == state.language_code);
    QObject::connect(action, &QAction::triggered, action,
                     [handler, command]() { handler(command); });
    submenu->insertAction(placeholder, action);
    menu->actions.emplace(command, action);
  }
  menu->actions.erase(kCmdLanguageMenu);
  submenu->removeAction(placeholder);
  delete placeholder;
}

int ChooseLanguage(int command, const ShellState& state, UserPrompts& prompts, QWidget* owner,
                   const BuiltMenu& menu) {
  const int index = command - kCmdFirstLanguage;
  if (index < 0 || index >= LanguageCount(state)) return 0;
  const ShippedLanguage& chosen = state.languages[static_cast<std::size_t>(index)];
  const std::optional<LanguageSetting> setting = LanguageSettingForCode(chosen.code);
  if (!setting) return 0;
  const StringTable& strings = state.language.strings;
  std::string file_name;
  if (!WriteInstalledLanguageSetting(*setting, &file_name)) {
    prompts.Inform(owner,
                   FormatLanguageText(DocumentText(strings, kLanguageNotStoredId), {file_name}),
                   state.app.caption, MessageIcon::kError);
    return -1;
  }
  if (QAction* action = ActionOf(menu, command)) action->setChecked(true);
  std::string note = NextStartNote(DocumentText(strings, kNextStartNoteId), chosen);
  // Whoever chose a language may read only that one.
  if (chosen.code != state.language_code)
    note += "\n\n" + NextStartNote(chosen.next_start_note, chosen);
  prompts.Inform(owner, note, state.app.caption, MessageIcon::kInformation);
  return 0;
}

}  // namespace kv
