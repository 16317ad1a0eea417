#include "dialogs/install_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "dialogs/dialog_buttons.h"
#include "install/device_install.h"
#include "install/file_name_text.h"
#include "install/install_name.h"

namespace kv {

namespace {

QString Text(const DialogTexts& texts, int control) {
  return QString::fromStdString(texts.Text(control));
}

QVBoxLayout* StartDialog(QDialog* dialog, const DialogTexts& texts, const char* name) {
  dialog->setObjectName(name);
  dialog->setWindowTitle(QString::fromStdString(texts.caption));
  auto* layout = new QVBoxLayout(dialog);
  if (texts.Contains(kInstallPromptLabel)) {
    layout->addWidget(new QLabel(Text(texts, kInstallPromptLabel), dialog));
  }
  return layout;
}

}  // namespace

DatabaseNameDialog::DatabaseNameDialog(const DialogTexts& texts, const QString& proposal,
                                       QWidget* parent)
    : QDialog(parent), proposal_(proposal) {
  QVBoxLayout* layout = StartDialog(this, texts, "databaseNameDialog");
  edit_ = new QLineEdit(proposal, this);
  edit_->setObjectName("nameEdit");
  edit_->setMaxLength(kNameEditLimit);
  edit_->selectAll();
  layout->addWidget(edit_);
  layout->addWidget(
      MakeDialogButtons(texts, QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this));
  setMinimumWidth(320);
  edit_->setFocus();
}

QString DatabaseNameDialog::name() const { return edit_->text(); }

void DatabaseNameDialog::accept() {
  if (edit_->text().isEmpty()) {
    QApplication::beep();
    edit_->setText(proposal_);
    edit_->selectAll();
    edit_->setFocus();
    return;
  }
  QDialog::accept();
}

TargetChooserDialog::TargetChooserDialog(const DialogTexts& texts, const QStringList& names,
                                         int preselected, QWidget* parent)
    : QDialog(parent) {
  QVBoxLayout* layout = StartDialog(this, texts, "targetChooserDialog");
  list_ = new QListWidget(this);
  list_->setObjectName("targetList");
  list_->addItems(names);
  list_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  list_->setCurrentRow(preselected >= 0 && preselected < names.size() ? preselected : 0);
  layout->addWidget(list_);
  layout->addWidget(
      MakeDialogButtons(texts, QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this));
  connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  list_->setFocus();
}

int TargetChooserDialog::chosen() const { return list_->currentRow(); }

DeviceFolderDialog::DeviceFolderDialog(const DialogTexts& texts, const QStringList& folders,
                                       int selected, QWidget* parent)
    : QDialog(parent) {
  QVBoxLayout* layout = StartDialog(this, texts, "deviceFolderDialog");
  combo_ = new QComboBox(this);
  combo_->setObjectName("folderCombo");
  combo_->setEditable(true);
  combo_->setInsertPolicy(QComboBox::NoInsert);
  combo_->addItems(folders);
  combo_->lineEdit()->setMaxLength(static_cast<int>(kDeviceFolderLimit));
  if (selected >= 0 && selected < folders.size()) combo_->setCurrentIndex(selected);
  combo_->setMinimumContentsLength(28);
  layout->addWidget(combo_);
  layout->addWidget(
      MakeDialogButtons(texts, QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this));
  combo_->setFocus();
}

QString DeviceFolderDialog::folder() const { return combo_->currentText(); }

void DeviceFolderDialog::accept() {
  if (combo_->currentText().isEmpty()) {
    if (combo_->count() > 0) {
      combo_->setCurrentIndex(0);
      combo_->setEditText(combo_->itemText(0));
    }
    QApplication::beep();
    return;
  }
  QDialog::accept();
}

InstallMessageDialog::InstallMessageDialog(const DialogTexts& texts, int text_control,
                                           const QString& file_name, bool with_cancel,
                                           QWidget* parent)
    : QDialog(parent) {
  QVBoxLayout* layout = StartDialog(this, texts, "installMessageDialog");
  auto* text = new QLabel(
      QString::fromStdString(WithFileName(texts.Text(text_control), file_name.toStdString())),
      this);
  text->setObjectName("messageText");
  text->setWordWrap(true);
  layout->addWidget(text);
  layout->addWidget(MakeDialogButtons(
      texts, with_cancel ? QDialogButtonBox::Ok | QDialogButtonBox::Cancel : QDialogButtonBox::Ok,
      this));
  setMinimumWidth(360);
}

}  // namespace kv
