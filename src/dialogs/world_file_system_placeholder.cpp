#include "dialogs/world_file_system_placeholder.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/dialog_ids.h"

namespace kv {

WorldFileSystemPlaceholder::WorldFileSystemPlaceholder(const DialogTexts& texts, QWidget* parent)
    : QDialog(parent) {
  setObjectName("worldFileSystem");
  setWindowTitle(QString::fromStdString(texts.caption));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QString::fromStdString(texts.Text(kOkButton)));
  buttons->button(QDialogButtonBox::Cancel)
      ->setText(QString::fromStdString(texts.Text(kCancelButton)));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QString::fromStdString(texts.Text(kWorldFileSystemLabel))));
  layout->addWidget(buttons);
}

}  // namespace kv
