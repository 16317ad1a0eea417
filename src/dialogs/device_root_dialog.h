#ifndef KORVALE_DIALOGS_DEVICE_ROOT_DIALOG_H_
#define KORVALE_DIALOGS_DEVICE_ROOT_DIALOG_H_

// Where the handheld's storage is mounted (kDeviceRootDialogId): a folder typed,
// browsed for or picked from the removable media found, or nothing to find
// the handheld among the removable media. A line below says, as the folder
// changes, whether a copy would find the handheld there. The caller keeps
// what OK gives.

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <optional>
#include <string>

#include "base/language_file.h"
#include "install/device_root.h"

namespace kv {

inline constexpr int kDeviceRootDialogId = 124;
// Controls and texts of its dialog.
inline constexpr int kDeviceRootFolderLabel = 3001;
inline constexpr int kDeviceRootBrowseButton = 3002;
inline constexpr int kDeviceRootAutomaticHint = 3003;
inline constexpr int kDeviceRootConnected = 2320;     // "%s": the folder
inline constexpr int kDeviceRootNotTheDevice = 2321;  // "%s": the folder
inline constexpr int kDeviceRootNoneFound = 2322;
inline constexpr int kDeviceRootBrowseTitle = 2323;

class DeviceRootDialog : public QDialog {
 public:
  DeviceRootDialog(const DialogTexts& texts, const DeviceRootFinder& finder,
                   QWidget* parent = nullptr);

  // None: find the handheld among the removable media.
  std::optional<std::string> folder() const;
  void SetFolder(const std::string& folder);
  QString status() const { return status_->text(); }

 private:
  void Browse();
  void ShowStatus();

  const DialogTexts& texts_;
  const DeviceRootFinder& finder_;
  QComboBox* folder_;
  QLabel* status_;
};

}  // namespace kv

#endif  // KORVALE_DIALOGS_DEVICE_ROOT_DIALOG_H_
