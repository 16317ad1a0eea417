#ifndef KORVALE_INSTALL_INSTALL_NAME_H_
#define KORVALE_INSTALL_INSTALL_NAME_H_

// The map's name on the handheld, asked for when the map has none yet.

#include <cstddef>
#include <string>
#include <string_view>

#include "install/install_context.h"

namespace kv {

// The document keeps 19 bytes of a database name; the name dialogs accept
// 31 characters.
inline constexpr std::size_t kDatabaseNameLimit = 19;
inline constexpr int kNameEditLimit = 31;

// The name of the file the handheld receives: the database name + ".prc",
// a "/" (which no file name can hold) as "_".
std::string InstallFileName(std::string_view database_name);

// Asks for the name of an unnamed map (proposing the first 19 characters
// of its file name) and names it: database name and file name. False when
// cancelled.
bool NameMapForInstall(InstallUi& ui, InstallPath path, InstallableMap* map);

}  // namespace kv

#endif  // KORVALE_INSTALL_INSTALL_NAME_H_
