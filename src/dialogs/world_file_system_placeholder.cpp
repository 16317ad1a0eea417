#include "dialogs/world_file_system_placeholder.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/dialog_buttons.h"
#include "dialogs/dialog_ids.h"

namespace kv {

WorldFileSystemPlaceholder::WorldFileSystemPlaceholder(const DialogTexts& texts, QWidget* parent)
    : QDialog(parent) {
  setObjectName("worldFileSystem");
  setWindowTitle(QString::fromStdString(texts.caption));
  auto* buttons = MakeDialogButtons(texts, QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QString::fromStdString(texts.Text(kWorldFileSystemLabel))));
  layout->addWidget(buttons);
}

}  // namespace kv
