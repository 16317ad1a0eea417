#include "install/install_name.h"

#include <algorithm>
#include <optional>

#include "base/utf8_cut.h"

namespace kv {

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
