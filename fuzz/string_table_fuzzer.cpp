// Parses arbitrary bytes as a language file.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/string_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kv::StringTable table =
      kv::StringTable::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  volatile std::size_t sink = table.Get(800).size() + table.size();
  (void)sink;
  return 0;
}
