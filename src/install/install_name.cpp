#include "install/install_name.h"

#include <algorithm>
#include <optional>

namespace kv {

std::string CutUtf8(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return std::string(text);
  std::size_t end = limit;
  // Back to the start of the sequence the cut falls into.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xc0) == 0x80) --end;
  return std::string(text.substr(0, end));
}

std::string InstallFileName(std::string_view database_name) {
  std::string name(database_name);
  std::replace(name.begin(), name.end(), '/', '_');
  return name + ".prc";
}

bool NameMapForInstall(InstallUi& ui, InstallPath path, InstallableMap* map) {
  if (map->named) return true;
  const std::optional<std::string> chosen =
      ui.AskDatabaseName(path, CutUtf8(map->file_name, kDatabaseNameLimit));
  if (!chosen || chosen->empty()) return false;
  map->database_name = CutUtf8(*chosen, kDatabaseNameLimit);
  map->file_name = InstallFileName(map->database_name);
  map->named = true;
  return true;
}

}  // namespace kv
