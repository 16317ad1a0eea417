#ifndef KORVALE_INSTALL_QUEUE_FOLDER_H_
#define KORVALE_INSTALL_QUEUE_FOLDER_H_

// A folder whose files wait to be installed: what the sync folder users
// and J-Pilot's kept folder share.

#include <filesystem>
#include <string>
#include <string_view>

namespace kv {

// A name that stays one file inside the folder: not empty, not "." or
// "..", without "/" or NUL.
bool IsPlainFileName(std::string_view name);

// Copies `source` into `folder` (created when missing) under its own file
// name. The copy appears under that name only once it is complete, so a
// synchronisation never picks up half a map. kInstallOk,
// kInstallAlreadyQueued when the name is taken, or a negative code.
int CopyIntoQueue(const std::string& source, const std::filesystem::path& folder);

// Removes `folder`/`file_name`: kInstallOk also when it is not there.
int RemoveFromQueue(const std::filesystem::path& folder, const std::string& file_name);

}  // namespace kv

#endif  // KORVALE_INSTALL_QUEUE_FOLDER_H_
