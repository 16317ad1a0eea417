#include "shell/menu_text.h"

namespace kv {

std::string LiteralMenuText(std::string_view name) {
  std::string text;
  text.reserve(name.size());
  for (char c : name) {
    if (c == '&') text += '&';
    text += c;
  }
  return text;
}

}  // namespace kv
