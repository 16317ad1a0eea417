#include "dialogs/file_chooser_dialog.h"

#include <QFileInfo>
#include <QMessageBox>

#include "base/error_reporter.h"

namespace kv {

FileChooserDialog::FileChooserDialog(const FileDialogSetup& setup, QWidget* parent)
    : QFileDialog(parent, setup.title, setup.folder, setup.filters), setup_(setup) {
  setObjectName("fileChooser");
  // The platform's dialog would ask about the typed name, not the completed
  // one, and would skip accept() below.
  setOption(QFileDialog::DontUseNativeDialog);
  setOption(QFileDialog::DontConfirmOverwrite);
  setAcceptMode(setup.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  setFileMode(setup.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (setup.save && !setup.proposed_name.isEmpty()) selectFile(setup.proposed_name);
  if (QLineEdit* field = name_field()) field->setMaxLength(setup.name_limit);
}

QLineEdit* FileChooserDialog::name_field() const {
  // Qt's own dialog names its file name field so.
  return findChild<QLineEdit*>("fileNameEdit");
}

QString FileChooserDialog::chosen_path() const {
  if (result() != QDialog::Accepted) return QString();
  const QStringList files = selectedFiles();
  return files.isEmpty() ? QString() : setup_.complete(files.first());
}

void FileChooserDialog::accept() {
  if (acceptMode() == QFileDialog::AcceptSave) {
    const QStringList typed = selectedFiles();
    // A folder typed into the name field is opened by the dialog itself.
    if (!typed.isEmpty() && !QFileInfo(typed.first()).isDir() &&
        !MayReplace(setup_.complete(typed.first()))) {
      return;
    }
  }
  QFileDialog::accept();
}

bool FileChooserDialog::MayReplace(const QString& path) {
  if (!QFileInfo::exists(path)) return true;
  const std::string question =
      FormatMessageText(setup_.overwrite_question.toStdString(), path.toStdString());
  QMessageBox box(QMessageBox::Warning, windowTitle(), QString::fromStdString(question),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setObjectName("replaceQuestion");
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace kv
