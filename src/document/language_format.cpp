#include "document/language_format.h"

#include <cstring>

namespace kv {

namespace {

bool IsConversionLetter(char c) { return c == 's' || c == 'd' || c == 'u' || c == 'i'; }

bool IsFlagOrWidth(char c) { return (c >= '0' && c <= '9') || std::strchr("-+ #.", c) != nullptr; }

}  // namespace

std::string FormatLanguageText(std::string_view format, const std::vector<std::string>& arguments) {
  std::string text;
  std::size_t next_argument = 0;
  std::size_t i = 0;
  while (i < format.size()) {
    if (format[i] != '%') {
      text += format[i++];
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      text += '%';
      i += 2;
      continue;
    }
    std::size_t end = i + 1;
    while (end < format.size() && format[end] != '\0' && IsFlagOrWidth(format[end])) ++end;
    if (end < format.size() && IsConversionLetter(format[end])) {
      if (next_argument < arguments.size()) text += arguments[next_argument];
      ++next_argument;
      i = end + 1;
    } else {
      text += format[i++];
    }
  }
  return text;
}

}  // namespace kv
