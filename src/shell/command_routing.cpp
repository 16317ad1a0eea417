#include "shell/command_routing.h"

namespace kv {

WindowCommand WindowCommandFor(int command) {
  if (command >= kCmdFirstLanguage && command < kCmdFirstLanguage + kMaxLanguageCommands) {
    return WindowCommand::kChooseLanguage;
  }
  switch (command) {
    case kCmdCloseDocument:
      return WindowCommand::kCloseDocument;
    case kCmdOpen:
      return WindowCommand::kOpen;
    case kCmdAbout:
      return WindowCommand::kAbout;
    case kCmdHelp:
      return WindowCommand::kHelp;
    case kCmdNew:
      return WindowCommand::kNew;
    case kCmdOpenWithSameCalibration:
      return WindowCommand::kOpenWithSameCalibration;
    default:
      return WindowCommand::kNone;
  }
}

}  // namespace kv
