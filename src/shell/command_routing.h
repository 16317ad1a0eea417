#ifndef KORVALE_SHELL_COMMAND_ROUTING_H_
#define KORVALE_SHELL_COMMAND_ROUTING_H_

// Which menu commands the main window handles itself; every other command
// goes to the document's HandleCommand. The identifiers are in
// document/command_ids.h.

#include "document/command_ids.h"

namespace kv {

enum class WindowCommand {
  kNone,  // the document's
  kCloseDocument,
  kOpen,
  kAbout,
  kHelp,
  kNew,
  kOpenWithSameCalibration,
  kChooseLanguage,
};

WindowCommand WindowCommandFor(int command);

}  // namespace kv

#endif  // KORVALE_SHELL_COMMAND_ROUTING_H_
