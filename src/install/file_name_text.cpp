#include "install/file_name_text.h"

namespace kv {

std::string WithFileName(std::string_view text, std::string_view file_name) {
  const std::size_t caret = text.find('^');
  if (caret == std::string_view::npos) return std::string(text);
  // The character after "^" may be a whole UTF-8 sequence.
  std::size_t end = caret + 1;
  if (end < text.size()) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xc0) == 0x80) ++end;
  }
  return std::string(text.substr(0, caret)) + std::string(file_name) +
         std::string(text.substr(end));
}

}  // namespace kv
