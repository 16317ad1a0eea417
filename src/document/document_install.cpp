// Installing the map on a handheld: the document's part is its name and
// writing the map, as Save writes it, into the file the install hands on.

#include "base/message_tables.h"
#include "document/document.h"
#include "install/device_install.h"
#include "install/install_back_ends.h"
#include "install/palm_install.h"
#include "map/map_file.h"

namespace kv {

void CDocument::SetInstaller(InstallContext* installer, std::vector<std::string> menu_users) {
  installer_ = installer;
  install_users_ = std::move(menu_users);
}

int CDocument::InstallToHandheldUser(std::size_t menu_index) {
  if (installer_ == nullptr || menu_index >= install_users_.size()) return 0;
  // Users may have come or gone since the menu was built; a user that is
  // gone makes the queue report it.
  const int user_index = HandheldUserIndex(installer_->users, install_users_[menu_index]);
  return RunInstall([&](InstallableMap& map) { InstallToPalmUser(*installer_, user_index, map); });
}

int CDocument::CopyToPocketPc() {
  return RunInstall([&](InstallableMap& map) { CopyToDevice(*installer_, map); });
}

int CDocument::RunInstall(const std::function<void(InstallableMap&)>& install) {
  if (installer_ == nullptr) return 0;
  // Nothing to install: said before the install names the map.
  if (container_->image_count() == 0) {
    ui_.ShowMessage(app_.empty_map_message, app_.caption, MessageIcon::kWarning);
    return -1;
  }
  InstallableMap map;
  map.named = saved_ || named_for_install_;
  map.database_name = database_name_;
  map.file_name = file_name_;
  map.write = [this](const std::string& path, const std::string& database_name) {
    // The handheld reads only converted maps.
    ConvertBeforeSaving();
    if (CImage* current = list_.current()) StoreCalibrationText(*current);
    SaveMapFile(*container_, path, database_name, MapWriteTime());
  };
  DocumentFailure failure;
  const bool ok = CaptureFailure([&]() { install(map); }, std::string(), &failure);
  if (map.named && !saved_ && !named_for_install_) {
    named_for_install_ = true;
    database_name_ = map.database_name;
    file_name_ = map.file_name;
  }
  UpdateTitle();
  return ok ? 0 : Report(kContextInstall, failure);
}

}  // namespace kv
