#include "install/card_folder_name.h"

#include "install/install_results.h"

namespace kv {

std::optional<CardFolderName> ParseCardFolderName(std::string_view folder_name) {
  CardFolderName card;
  std::size_t digits = 0;
  while (digits < folder_name.size() && folder_name[digits] >= '0' && folder_name[digits] <= '9') {
    // Five digits reach past the largest identifier.
    if (digits == 5) return std::nullopt;
    card.id = card.id * 10 + static_cast<std::uint32_t>(folder_name[digits] - '0');
    ++digits;
  }
  if (digits == 0 || folder_name[0] == '0') return std::nullopt;
  if (card.id >= kMainMemoryCard) return std::nullopt;
  if (digits < folder_name.size()) {
    if (folder_name[digits] != ' ') return std::nullopt;
    card.name = std::string(folder_name.substr(digits + 1));
  }
  return card;
}

}  // namespace kv
