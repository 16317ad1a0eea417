// What the install back ends read from outside: J-Pilot's install list,
// card folder names and device folders typed by the user. The first byte
// splits the input into a list and a line.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "install/card_folder_name.h"
#include "install/device_folder_path.h"
#include "install/install_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t split = std::min<std::size_t>(data[0], input.size());
  const std::string_view list = input.substr(0, split);
  const std::string_view line = input.substr(split);

  const std::string with = kv::InstallListWith(list, line);
  const std::string without = kv::InstallListWithout(with, line);
  // A path without a line end is in the list once added and gone once taken
  // out, whatever the list held.
  if (line.find_first_of("\r\n") == std::string_view::npos) {
    if (!kv::InstallListContains(with, line)) std::abort();
    if (kv::InstallListContains(without, line)) std::abort();
  }

  if (const auto card = kv::ParseCardFolderName(input)) {
    if (card->id == 0 || card->id >= 0xffff) std::abort();
  }
  if (const auto folder = kv::DeviceFolderPath("/root", input)) {
    for (const auto& part : *folder) {
      if (part == "..") std::abort();
    }
  }
  return 0;
}
