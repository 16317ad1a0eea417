#ifndef KORVALE_SHELL_COMMAND_ROUTING_H_
#define KORVALE_SHELL_COMMAND_ROUTING_H_

// Which menu commands the main window handles itself; every other command
// goes to the document's HandleCommand.

namespace kv {

inline constexpr int kCmdCloseDocument = 30001;
inline constexpr int kCmdOpen = 40001;
inline constexpr int kCmdAbout = 40005;
inline constexpr int kCmdHelp = 40042;
inline constexpr int kCmdNew = 40051;
inline constexpr int kCmdOpenWithSameCalibration = 40054;
// Handheld user i has the command kCmdFirstHandheldUser + i.
inline constexpr int kCmdFirstHandheldUser = 40100;
// The language menu's item that the languages found replace.
inline constexpr int kCmdLanguageMenu = 40069;
// Shipped language i (in the order found) has kCmdFirstLanguage + i.
inline constexpr int kCmdFirstLanguage = 40070;
inline constexpr int kMaxLanguageCommands = 9;

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
