#include "install/jpilot_user.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "base/replace_file_writer.h"
#include "install/install_list.h"
#include "install/install_results.h"
#include "install/queue_folder.h"

namespace kv {

namespace {

// False when the list exists but cannot be read; a missing list is empty.
bool ReadList(const std::filesystem::path& path, std::string* text) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    text->clear();
    return !error;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream contents;
  contents << file.rdbuf();
  if (file.bad()) return false;
  *text = contents.str();
  return true;
}

bool WriteList(const std::filesystem::path& path, const std::string& text) {
  return ReplaceFileContents(path.string(), text) == 0;
}

}  // namespace

bool JPilotUser::Exists() const {
  if (home_.empty()) return false;
  std::error_code error;
  return std::filesystem::is_directory(folder(), error);
}

int JPilotUser::Queue(const std::string& path) {
  if (!Exists()) return kInstallUserNotFound;
  const std::string name = std::filesystem::path(path).filename().string();
  if (!IsPlainFileName(name)) return kInstallBadFileName;
  const std::string kept = (KeptFolder() / name).string();
  std::string list;
  if (!ReadList(ListPath(), &list)) return kInstallListUnreadable;
  if (InstallListContains(list, kept)) return kInstallAlreadyQueued;
  // A copy left behind by an earlier run that J-Pilot no longer lists.
  if (RemoveFromQueue(KeptFolder(), name) != kInstallOk) return kInstallCopyFailed;
  const int copied = CopyIntoQueue(path, KeptFolder());
  if (copied != kInstallOk) return copied;
  if (!WriteList(ListPath(), InstallListWith(list, kept))) {
    RemoveFromQueue(KeptFolder(), name);
    return kInstallListUnwritable;
  }
  return kInstallOk;
}

int JPilotUser::Remove(const std::string& file_name) {
  if (!Exists()) return kInstallUserNotFound;
  if (!IsPlainFileName(file_name)) return kInstallBadFileName;
  const std::string kept = (KeptFolder() / file_name).string();
  std::string list;
  if (!ReadList(ListPath(), &list)) return kInstallListUnreadable;
  if (InstallListContains(list, kept) && !WriteList(ListPath(), InstallListWithout(list, kept))) {
    return kInstallListUnwritable;
  }
  return RemoveFromQueue(KeptFolder(), file_name);
}

}  // namespace kv
