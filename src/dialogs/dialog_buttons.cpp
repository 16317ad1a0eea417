#include "dialogs/dialog_buttons.h"

#include <QPushButton>

#include "dialogs/dialog_ids.h"

namespace kv {

QDialogButtonBox* MakeDialogButtons(const DialogTexts& texts,
                                    QDialogButtonBox::StandardButtons buttons, QDialog* dialog) {
  auto* box = new QDialogButtonBox(buttons, dialog);
  box->button(QDialogButtonBox::Ok)->setText(QString::fromStdString(texts.Text(kOkButton)));
  if (QPushButton* cancel = box->button(QDialogButtonBox::Cancel)) {
    cancel->setText(QString::fromStdString(texts.Text(kCancelButton)));
  }
  QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return box;
}

}  // namespace kv
