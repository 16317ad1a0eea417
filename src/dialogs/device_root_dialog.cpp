#include "dialogs/device_root_dialog.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/dialog_buttons.h"

namespace kv {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

DeviceRootDialog::DeviceRootDialog(const DialogTexts& texts, const DeviceRootFinder& finder,
                                   QWidget* parent)
    : QDialog(parent),
      texts_(texts),
      finder_(finder),
      folder_(new QComboBox(this)),
      status_(new QLabel(this)) {
  setObjectName("deviceRoot");
  setWindowTitle(Text(texts.caption));
  folder_->setObjectName("deviceFolder");
  folder_->setEditable(true);
  folder_->setInsertPolicy(QComboBox::NoInsert);
  folder_->addItem(QString());
  for (const std::filesystem::path& medium : finder.Media()) {
    folder_->addItem(QString::fromStdString(medium.string()));
  }
  folder_->setEditText(Text(finder.chosen().value_or(std::string())));
  folder_->lineEdit()->setPlaceholderText(Text(texts.Text(kDeviceRootAutomaticHint)));
  folder_->setMinimumContentsLength(32);
  connect(folder_, &QComboBox::editTextChanged, this, [this]() { ShowStatus(); });

  auto* label = new QLabel(Text(texts.Text(kDeviceRootFolderLabel)), this);
  label->setBuddy(folder_);
  auto* browse = new QPushButton(Text(texts.Text(kDeviceRootBrowseButton)), this);
  browse->setObjectName("browse");
  connect(browse, &QPushButton::clicked, this, [this]() { Browse(); });
  status_->setObjectName("status");
  status_->setWordWrap(true);
  status_->setMinimumHeight(status_->fontMetrics().lineSpacing() * 3);

  auto* row = new QHBoxLayout;
  row->addWidget(folder_, 1);
  row->addWidget(browse);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addLayout(row);
  layout->addWidget(status_);
  layout->addStretch(1);
  layout->addWidget(
      MakeDialogButtons(texts, QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this));
  setMinimumWidth(460);
  ShowStatus();
}

std::optional<std::string> DeviceRootDialog::folder() const {
  const QString text = folder_->currentText().trimmed();
  if (text.isEmpty()) return std::nullopt;
  return text.toStdString();
}

void DeviceRootDialog::SetFolder(const std::string& folder) { folder_->setEditText(Text(folder)); }

void DeviceRootDialog::Browse() {
  const QString start = folder_->currentText().trimmed();
  const QString chosen =
      QFileDialog::getExistingDirectory(this, Text(texts_.Text(kDeviceRootBrowseTitle)), start);
  if (!chosen.isEmpty()) folder_->setEditText(chosen);
}

void DeviceRootDialog::ShowStatus() {
  const std::optional<std::string> chosen = folder();
  const FoundDeviceRoot found = finder_.FindIfChosen(chosen);
  QString text;
  if (found.origin != DeviceRootOrigin::kNone) {
    text = Text(texts_.Text(kDeviceRootConnected)).replace("%s", Text(found.root.string()));
  } else if (chosen) {
    text = Text(texts_.Text(kDeviceRootNotTheDevice)).replace("%s", Text(*chosen));
  } else {
    text = Text(texts_.Text(kDeviceRootNoneFound));
  }
  status_->setText(text);
}

}  // namespace kv
