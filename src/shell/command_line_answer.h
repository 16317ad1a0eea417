#ifndef KORVALE_SHELL_COMMAND_LINE_ANSWER_H_
#define KORVALE_SHELL_COMMAND_LINE_ANSWER_H_

// The options the desktop program answers on standard output and exits,
// before any window or display exists: --help and --version. They work on
// a machine without a display, which is where manual pages are made.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kv {

// The text to print for the first --help (or -h) or --version among
// `arguments` (without the program name), or none when the program should
// start as usual. "--" ends the options: what follows is a file.
std::optional<std::string> CommandLineAnswer(std::span<const std::string_view> arguments,
                                             std::string_view version);

}  // namespace kv

#endif  // KORVALE_SHELL_COMMAND_LINE_ANSWER_H_
