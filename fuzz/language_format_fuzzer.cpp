// Formats arbitrary bytes as a language text with printf conversions.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/language_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view format(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> arguments{"3", "images", "12", "KB"};
  const std::string text = kv::FormatLanguageText(format, arguments);
  // Each conversion consumes at least two bytes and adds at most one
  // argument; the text can never grow beyond that.
  if (text.size() > size * 4) __builtin_trap();
  return 0;
}
