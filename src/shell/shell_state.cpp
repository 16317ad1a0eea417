#include "shell/shell_state.h"

namespace kv {

void LoadLanguageTexts(ShellState* state) {
  state->tables = MessageTables::FromStrings(state->language.strings);
  LoadDocumentTexts(state->language.strings, &state->app);
}

}  // namespace kv
