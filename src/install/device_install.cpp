#include "install/device_install.h"

#include <optional>

#include "base/exceptions.h"
#include "base/message_tables.h"
#include "base/utf8_cut.h"
#include "install/install_name.h"
#include "install/install_results.h"
#include "install/temporary_install_file.h"

namespace kv {

namespace {

bool BeginsWithIgnoringCase(const std::string& text, const std::string& start) {
  if (start.size() > text.size()) return false;
  for (std::size_t i = 0; i < start.size(); ++i) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(text[i]) != lower(start[i])) return false;
  }
  return true;
}

// Adds `folder` unless an entry begins with it already.
void AddFolder(const std::string& folder, std::vector<std::string>* folders) {
  for (const std::string& entry : *folders) {
    if (BeginsWithIgnoringCase(entry, folder)) return;
  }
  folders->push_back(folder);
}

int CopyWithProgress(InstallContext& context, const std::string& local_path,
                     const std::string& folder, CopyMode mode) {
  return context.ui.RunCopy(local_path, [&](const CopyProgress& progress) {
    return context.device.Copy(local_path, folder, mode, progress);
  });
}

}  // namespace

ErrorCode DeviceFailureCode(int result) {
  if (result == kDeviceNotConnected) return kErrHandheldLink;
  if (result == kDeviceListFailed) return kErrHandheldFolders;
  return kErrHandheldCopy;
}

DeviceFolderChoice BuildDeviceFolderChoice(DeviceLink& device, InstallUi& ui,
                                           const std::string& last_folder) {
  DeviceFolderChoice choice;
  if (!last_folder.empty()) choice.folders.push_back(last_folder);
  std::vector<std::string> listed;
  const int result = device.ListFolders(&listed);
  if (result < 0) {
    if (result != kDeviceCopyCancelled) {
      // Any listing failure but a lost link reads as a listing failure.
      const ErrorCode code = result == kDeviceNotConnected ? kErrHandheldLink : kErrHandheldFolders;
      ui.ReportInstallFailure(kContextPocketPcCopy, code, std::string());
    }
    listed.clear();
  }
  for (const std::string& folder : listed) AddFolder(folder, &choice.folders);
  for (const char* folder : kDefaultDeviceFolders) AddFolder(folder, &choice.folders);
  choice.selected = 0;
  return choice;
}

InstallOutcome CopyToDevice(InstallContext& context, InstallableMap& map) {
  InstallUi& ui = context.ui;
  if (!NameMapForInstall(ui, InstallPath::kDevice, &map)) return InstallOutcome::kCancelled;
  const DeviceFolderChoice choice =
      BuildDeviceFolderChoice(context.device, ui, context.memory.last_device_folder);
  const std::optional<std::string> folder = ui.ChooseDeviceFolder(choice.folders, choice.selected);
  if (!folder || folder->empty()) return InstallOutcome::kCancelled;
  context.memory.last_device_folder = CutUtf8(*folder, kDeviceFolderLimit);
  const std::string& target = context.memory.last_device_folder;

  TemporaryInstallFile file(InstallFileName(map.database_name));
  map.write(file.path(), map.database_name);
  int result = CopyWithProgress(context, file.path(), target, CopyMode::kCreate);
  if (MeansFileExists(result)) {
    if (!ui.ConfirmReplace(InstallPath::kDevice, map.file_name)) {
      return InstallOutcome::kCancelled;
    }
    result = CopyWithProgress(context, file.path(), target, CopyMode::kOverwrite);
  }
  if (result < 0) {
    if (result != kDeviceCopyCancelled) {
      ui.ReportInstallFailure(kContextPocketPcCopy, DeviceFailureCode(result), map.database_name);
    }
    throw ErrAlreadyReported();
  }
  ui.ShowInstalled(InstallPath::kDevice, map.file_name);
  return InstallOutcome::kInstalled;
}

}  // namespace kv
