#include "dialogs/file_chooser_dialog.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMessageBox>
#include <QTreeView>
#include <algorithm>

#include "base/error_reporter.h"
#include "dialogs/chooser_item_delegate.h"

namespace kv {

namespace {

constexpr int kCellMargin = 16;  // a cell's padding on both sides

}  // namespace

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
  ShowDetailsInLanguage();
}

void FileChooserDialog::ShowDetailsInLanguage() {
  setLocale(QLocale());
  // Qt's own dialog names its detail view so.
  auto* view = findChild<QTreeView*>("treeView");
  if (view == nullptr) return;
  auto* delegate = new ChooserItemDelegate(setup_.date_format, view);
  view->setItemDelegate(delegate);
  QHeaderView* header = view->header();
  // The widest date: a two-digit day in the month with the longest name.
  const QLocale locale;
  int date_width = 0;
  for (int month = 1; month <= 12; ++month) {
    const QDateTime day(QDate(2026, month, 28), QTime(23, 59));
    const QString text = setup_.date_format.isEmpty() ? locale.toString(day, QLocale::ShortFormat)
                                                      : locale.toString(day, setup_.date_format);
    date_width = std::max(date_width, view->fontMetrics().horizontalAdvance(text));
  }
  for (int column = 1; column < header->count(); ++column) {
    int width = std::max(header->sectionSize(column), header->sectionSizeHint(column));
    if (column == header->count() - 1) width = std::max(width, date_width + kCellMargin);
    header->resizeSection(column, width);
  }
  // The file kinds are known once a folder is read ("Palm-Datenbank").
  if (auto* model = qobject_cast<QFileSystemModel*>(view->model())) {
    connect(model, &QFileSystemModel::directoryLoaded, view, [view, model](const QString& folder) {
      constexpr int kTypeColumn = 2;
      const QModelIndex parent = model->index(folder);
      int width = view->columnWidth(kTypeColumn);
      for (int row = 0; row < model->rowCount(parent); ++row) {
        const QString type = model->index(row, kTypeColumn, parent).data().toString();
        width = std::max(width, view->fontMetrics().horizontalAdvance(type) + kCellMargin);
      }
      view->setColumnWidth(kTypeColumn, width);
    });
  }
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
