#ifndef KORVALE_SHELL_MENU_TEXT_H_
#define KORVALE_SHELL_MENU_TEXT_H_

#include <string>
#include <string_view>

namespace kv {

// A name shown literally in a menu: every "&" doubled, so that none of them
// underlines the next letter.
std::string LiteralMenuText(std::string_view name);

}  // namespace kv

#endif  // KORVALE_SHELL_MENU_TEXT_H_
