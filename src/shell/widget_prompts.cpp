#include "shell/widget_prompts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "base/error_display.h"
#include "dialogs/about_dialog.h"
#include "dialogs/conversion_options_placeholder.h"
#include "dialogs/dialog_ids.h"
#include "dialogs/world_file_system_placeholder.h"

namespace kv {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  return icon == MessageIcon::kQuestion ? QMessageBox::Question : QMessageBox::Warning;
}

}  // namespace

const DialogTexts& WidgetPrompts::Dialog(int id) const {
  static const DialogTexts kNone;
  auto it = language_.dialogs.find(id);
  return it == language_.dialogs.end() ? kNone : it->second;
}

Answer WidgetPrompts::Ask(QWidget* owner, const Question& question) {
  QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
  if (question.answers == AnswerSet::kYesNoCancel) buttons |= QMessageBox::Cancel;
  QMessageBox box(BoxIcon(question.icon), Text(question.caption), Text(question.text), buttons,
                  owner);
  if (question.no_is_default) box.setDefaultButton(QMessageBox::No);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::kYes;
    case QMessageBox::No:
      return Answer::kNo;
    default:
      return question.answers == AnswerSet::kYesNoCancel ? Answer::kCancel : Answer::kNo;
  }
}

void WidgetPrompts::Inform(QWidget* owner, const std::string& text, const std::string& caption,
                           MessageIcon icon) {
  QMessageBox box(BoxIcon(icon), Text(caption), Text(text), QMessageBox::Ok, owner);
  box.exec();
}

void WidgetPrompts::ShowError(const ErrorBox& box) {
  QMessageBox message(QMessageBox::Critical, kErrorBoxCaption, Text(box.text), QMessageBox::Ok);
  message.exec();
}

std::optional<std::string> WidgetPrompts::ChooseFile(QWidget* owner, const FileChooser& chooser,
                                                     const std::string& folder,
                                                     const std::string& proposed_name) {
  QString start = Text(folder);
  const std::string proposed = ProposedChooserName(chooser, proposed_name);
  if (!proposed.empty()) start = QDir(start).filePath(Text(proposed));
  const QString filters = Text(QtFilterText(chooser.filters));
  const QString path =
      chooser.save ? QFileDialog::getSaveFileName(owner, Text(chooser.title), start, filters)
                   : QFileDialog::getOpenFileName(owner, Text(chooser.title), start, filters);
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

bool WidgetPrompts::RunConversionOptions(QWidget* owner, std::string* map_name,
                                         ConversionSettings* /*settings*/) {
  ConversionOptionsPlaceholder dialog(Dialog(kConversionOptionsDialogId), *map_name, owner);
  if (dialog.exec() != QDialog::Accepted) return false;
  *map_name = dialog.map_name();
  return true;
}

std::optional<WorldFileSystem> WidgetPrompts::ChooseWorldFileSystem(QWidget* owner,
                                                                    const WorldFileSystem& stored) {
  WorldFileSystemPlaceholder dialog(Dialog(kWorldFileSystemDialogId), owner);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return stored;
}

void WidgetPrompts::ShowAbout(QWidget* owner) {
  AboutDialog dialog(Dialog(kAboutDialogId), QApplication::applicationVersion(), owner);
  dialog.exec();
}

bool WidgetPrompts::OpenGuide(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(Text(path)));
}

}  // namespace kv
