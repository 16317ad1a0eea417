#ifndef KORVALE_DIALOGS_QT_INSTALL_UI_H_
#define KORVALE_DIALOGS_QT_INSTALL_UI_H_

// The install's questions and messages as the desktop program's dialogs,
// its failures as error boxes.

#include <QPointer>
#include <QWidget>
#include <functional>

#include "base/error_reporter.h"
#include "base/language_file.h"
#include "install/install_ui.h"

namespace kv {

class QtInstallUi final : public InstallUi {
 public:
  // `confirm_stop_copy` asks whether to stop a running copy (kStopCopyQuestionId).
  QtInstallUi(QWidget* owner, const LanguageFile& language, ErrorReporter& reporter,
              std::function<bool()> confirm_stop_copy);

  std::optional<std::string> AskDatabaseName(InstallPath path,
                                             const std::string& proposal) override;
  std::optional<std::size_t> ChooseTarget(const std::vector<std::string>& names,
                                          std::size_t preselected) override;
  std::optional<std::string> ChooseDeviceFolder(const std::vector<std::string>& folders,
                                                std::size_t selected) override;
  int RunCopy(const std::string& local_path, const CopyRun& copy) override;
  bool ConfirmReplace(InstallPath path, const std::string& file_name) override;
  void ShowInstalled(InstallPath path, const std::string& file_name) override;
  void ShowInstallError(std::uint32_t context_id, const std::string& message) override;
  void ReportInstallFailure(std::uint32_t context_id, ErrorCode code,
                            const std::string& file_name) override;

 private:
  const DialogTexts& Texts(int dialog_id) const;

  QPointer<QWidget> owner_;
  const LanguageFile& language_;
  ErrorReporter& reporter_;
  std::function<bool()> confirm_stop_copy_;
};

}  // namespace kv

#endif  // KORVALE_DIALOGS_QT_INSTALL_UI_H_
