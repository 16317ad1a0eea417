#ifndef KORVALE_INSTALL_INSTALL_UI_H_
#define KORVALE_INSTALL_INSTALL_UI_H_

// What an install asks of the user and shows: the desktop program answers
// with dialogs, kvmap from its command line, tests from a script.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/error_codes.h"
#include "install/device_link.h"

namespace kv {

// Queued for a handheld user's next synchronisation, or copied to a device.
enum class InstallPath { kPalm, kDevice };

// Runs the copy; the function it is given reports the progress.
using CopyRun = std::function<int(const CopyProgress& progress)>;

class InstallUi {
 public:
  virtual ~InstallUi() = default;

  // The map's name on the handheld, starting from `proposal`; none when
  // cancelled. An empty answer counts as cancelled.
  virtual std::optional<std::string> AskDatabaseName(InstallPath path,
                                                     const std::string& proposal) = 0;
  // Main memory or a card: the index of the chosen name, none when
  // cancelled.
  virtual std::optional<std::size_t> ChooseTarget(const std::vector<std::string>& names,
                                                  std::size_t preselected) = 0;
  // The device folder (not empty), none when cancelled.
  virtual std::optional<std::string> ChooseDeviceFolder(const std::vector<std::string>& folders,
                                                        std::size_t selected) = 0;
  // Runs `copy` of the file at `local_path` while its progress shows, and
  // gives its result.
  virtual int RunCopy(const std::string& local_path, const CopyRun& copy) = 0;
  // The file is queued or on the device already: replace it?
  virtual bool ConfirmReplace(InstallPath path, const std::string& file_name) = 0;
  virtual void ShowInstalled(InstallPath path, const std::string& file_name) = 0;

  // An error box: the context (a string ID) and the message.
  virtual void ShowInstallError(std::uint32_t context_id, const std::string& message) = 0;
  // An error box for a program error code, as error reporting words it.
  virtual void ReportInstallFailure(std::uint32_t context_id, ErrorCode code,
                                    const std::string& file_name) = 0;
};

}  // namespace kv

#endif  // KORVALE_INSTALL_INSTALL_UI_H_
