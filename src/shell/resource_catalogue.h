#ifndef KORVALE_SHELL_RESOURCE_CATALOGUE_H_
#define KORVALE_SHELL_RESOURCE_CATALOGUE_H_

// Every resource the program takes from a language file: the strings, the
// commands of menu 101, accelerator table 103, and each dialog's caption and
// texts. A shipped language file must hold all of them.

#include <cstdint>
#include <vector>

#include "dialogs/dialog_ids.h"

namespace kv {

inline constexpr int kMainMenuId = 101;
inline constexpr int kAcceleratorTableId = 103;
// The first menu's entry that holds the handheld users, counted with
// separators.
inline constexpr int kHandheldMenuPosition = 6;

struct DialogRequirement {
  int dialog = 0;
  // Controls that show a text; edits and lists have none.
  std::vector<int> controls;
};

std::vector<std::uint32_t> RequiredStringIds();
// The commands menu 101 must offer.
std::vector<int> RequiredMenuCommands();
std::vector<DialogRequirement> RequiredDialogs();

}  // namespace kv

#endif  // KORVALE_SHELL_RESOURCE_CATALOGUE_H_
