#ifndef KORVALE_SHELL_LANGUAGE_MENU_H_
#define KORVALE_SHELL_LANGUAGE_MENU_H_

// View > Language: one item per shipped language, the one in use checked.
// A choice is stored where start-up reads the language and takes effect at
// the next start.

#include "shell/menu_builder.h"
#include "shell/shell_state.h"
#include "shell/user_prompts.h"

class QWidget;

namespace kv {

// Replaces the language menu's placeholder item with the languages of
// `state`; without any the placeholder stays, disabled.
void FillLanguageMenu(const ShellState& state, BuiltMenu* menu, const CommandHandler& handler);

// Stores the language of `command` and says, in the language in use and in
// the chosen one, when it takes effect. 0, or -1 when it could not be
// stored.
int ChooseLanguage(int command, const ShellState& state, UserPrompts& prompts, QWidget* owner,
                   const BuiltMenu& menu);

}  // namespace kv

#endif  // KORVALE_SHELL_LANGUAGE_MENU_H_
