#include "dialogs/qt_install_ui.h"

#include <QStringList>

#include "dialogs/copy_progress_dialog.h"
#include "dialogs/dialog_ids.h"
#include "dialogs/install_dialogs.h"

namespace kv {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QStringList ToList(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& text : texts) list << Q(text);
  return list;
}

}  // namespace

QtInstallUi::QtInstallUi(QWidget* owner, const LanguageFile& language, ErrorReporter& reporter,
                         std::function<bool()> confirm_stop_copy)
    : owner_(owner),
      language_(language),
      reporter_(reporter),
      confirm_stop_copy_(std::move(confirm_stop_copy)) {}

const DialogTexts& QtInstallUi::Texts(int dialog_id) const {
  static const DialogTexts kNone;
  auto it = language_.dialogs.find(dialog_id);
  return it == language_.dialogs.end() ? kNone : it->second;
}

std::optional<std::string> QtInstallUi::AskDatabaseName(InstallPath path,
                                                        const std::string& proposal) {
  DatabaseNameDialog dialog(
      Texts(path == InstallPath::kPalm ? kPalmNameDialogId : kPocketPcNameDialogId), Q(proposal),
      owner_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.name().toStdString();
}

std::optional<std::size_t> QtInstallUi::ChooseTarget(const std::vector<std::string>& names,
                                                     std::size_t preselected) {
  TargetChooserDialog dialog(Texts(kTargetChooserDialogId), ToList(names),
                             static_cast<int>(preselected), owner_);
  if (dialog.exec() != QDialog::Accepted || dialog.chosen() < 0) return std::nullopt;
  return static_cast<std::size_t>(dialog.chosen());
}

std::optional<std::string> QtInstallUi::ChooseDeviceFolder(const std::vector<std::string>& folders,
                                                           std::size_t selected) {
  DeviceFolderDialog dialog(Texts(kDeviceFolderDialogId), ToList(folders),
                            static_cast<int>(selected), owner_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.folder().toStdString();
}

int QtInstallUi::RunCopy(const std::string& local_path, const CopyRun& copy) {
  CopyProgressDialog dialog(Texts(kCopyProgressDialogId), Q(local_path), copy, confirm_stop_copy_,
                            owner_);
  return dialog.Run();
}

bool QtInstallUi::ConfirmReplace(InstallPath path, const std::string& file_name) {
  const bool palm = path == InstallPath::kPalm;
  InstallMessageDialog dialog(Texts(palm ? kReplaceQueuedDialogId : kReplaceOnDeviceDialogId),
                              palm ? kReplaceQueuedText : kReplaceOnDeviceText, Q(file_name), true,
                              owner_);
  return dialog.exec() == QDialog::Accepted;
}

void QtInstallUi::ShowInstalled(InstallPath path, const std::string& file_name) {
  const bool palm = path == InstallPath::kPalm;
  InstallMessageDialog dialog(Texts(palm ? kFileQueuedDialogId : kFileCopiedDialogId),
                              palm ? kFileQueuedText : kFileCopiedText, Q(file_name), false,
                              owner_);
  dialog.exec();
}

void QtInstallUi::ShowInstallError(std::uint32_t context_id, const std::string& message) {
  reporter_.ShowErrorBox(language_.strings.Get(context_id), message);
}

void QtInstallUi::ReportInstallFailure(std::uint32_t context_id, ErrorCode code,
                                       const std::string& file_name) {
  reporter_.ReportError(language_.strings.Get(context_id), code, file_name.c_str());
}

}  // namespace kv
