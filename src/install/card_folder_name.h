#ifndef KORVALE_INSTALL_CARD_FOLDER_NAME_H_
#define KORVALE_INSTALL_CARD_FOLDER_NAME_H_

// The folder of an expansion card in a sync folder user: its decimal
// identifier (1 to 65534), one blank, then its display name, e.g.
// "1 SD Card". The identifier 65535 stands for main memory and is no card.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

struct CardFolderName {
  std::uint32_t id = 0;
  std::string name;
};

// None for a name of another form.
std::optional<CardFolderName> ParseCardFolderName(std::string_view folder_name);

}  // namespace kv

#endif  // KORVALE_INSTALL_CARD_FOLDER_NAME_H_
