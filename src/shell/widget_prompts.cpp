#include "shell/widget_prompts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLocale>
#include <QMessageBox>
#include <QUrl>

#include "base/error_display.h"
#include "base/string_ids.h"
#include "dialogs/about_dialog.h"
#include "dialogs/conversion_options_dialog.h"
#include "dialogs/dialog_ids.h"
#include "dialogs/file_chooser_dialog.h"
#include "dialogs/world_file_system_dialog.h"
#include "document/conversion_options_model.h"
#include "document/document_texts.h"
#include "document/import_size_estimator.h"
#include "document/world_file_system_model.h"

namespace kv {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
    case MessageIcon::kError:
      return QMessageBox::Critical;
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::Warning;
  }
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

void WidgetPrompts::Warn(QWidget* owner, const std::string& text, const std::string& caption) {
  auto* box =
      new QMessageBox(QMessageBox::Warning, Text(caption), Text(text), QMessageBox::Ok, owner);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  box->show();
}

void WidgetPrompts::ShowError(const ErrorBox& box) {
  QMessageBox message(QMessageBox::Critical, Text(DocumentText(language_.strings, kErrorCaptionId)),
                      Text(box.text), QMessageBox::Ok);
  message.exec();
}

std::optional<std::string> WidgetPrompts::ChooseFile(QWidget* owner, const FileChooser& chooser,
                                                     const std::string& folder,
                                                     const std::string& proposed_name) {
  FileDialogSetup setup;
  setup.title = Text(chooser.title);
  setup.filters = Text(QtFilterText(chooser.filters));
  setup.save = chooser.save;
  setup.folder = Text(folder);
  setup.proposed_name = Text(ProposedChooserName(chooser, proposed_name));
  setup.name_limit = chooser.name_limit;
  setup.complete = [&chooser](const QString& path) {
    return Text(CompleteChosenPath(chooser, path.toStdString()));
  };
  setup.overwrite_question = Text(language_.strings.Get(kReplaceFileQuestion));
  setup.date_format = Text(DocumentText(language_.strings, kDateFormatId)) + " " +
                      QLocale().timeFormat(QLocale::ShortFormat);
  FileChooserDialog dialog(setup, owner);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QString path = dialog.chosen_path();
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

bool WidgetPrompts::RunConversionOptions(QWidget* owner, const ImportSource& source,
                                         std::string* map_name, ConversionSettings* settings) {
  ImportSizeEstimator estimator(source);
  ConversionOptionsDialog dialog(Dialog(kConversionOptionsDialogId), language_.strings,
                                 OpenConversionOptions(*map_name, *settings), &estimator, owner);
  if (dialog.exec() != QDialog::Accepted) return false;
  AcceptConversionOptions(dialog.fields(), map_name, settings);
  return true;
}

std::optional<WorldFileSystem> WidgetPrompts::ChooseWorldFileSystem(QWidget* owner,
                                                                    const WorldFileSystem& stored) {
  WorldFileSystemDialog dialog(Dialog(kWorldFileSystemDialogId), stored, owner);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return AcceptWorldFileSystem(dialog.entry(), dialog.zone(), dialog.datum(), stored);
}

void WidgetPrompts::ShowAbout(QWidget* owner) {
  AboutDialog dialog(Dialog(kAboutDialogId), QApplication::applicationVersion(), owner);
  dialog.exec();
}

bool WidgetPrompts::OpenGuide(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(Text(path)));
}

}  // namespace kv
