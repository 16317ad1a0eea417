// Parses arbitrary bytes as a whole language file: strings, menus,
// accelerator tables and dialogs.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/language_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kv::LanguageFile file;
  int line = 0;
  const kv::LanguageFileStatus status = kv::LanguageFile::Parse(
      std::string_view(reinterpret_cast<const char*>(data), size), &file, &line);
  volatile std::size_t sink = file.strings.size() + file.menus.size() + file.dialogs.size() +
                              static_cast<std::size_t>(status) + static_cast<std::size_t>(line);
  (void)sink;
  return 0;
}
