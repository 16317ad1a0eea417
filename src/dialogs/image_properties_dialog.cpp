#include "dialogs/image_properties_dialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "dialogs/dialog_buttons.h"

namespace kv {

ImagePropertiesDialog::ImagePropertiesDialog(const DialogTexts& texts,
                                             const std::vector<PropertyRow>& rows, QWidget* parent)
    : QDialog(parent) {
  setObjectName("imageProperties");
  setWindowTitle(QString::fromStdString(texts.caption));
  auto* form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignLeft);
  for (const PropertyRow& row : rows) {
    auto* value = new QLabel(QString::fromStdString(row.value), this);
    value->setObjectName(QString("value%1").arg(row.label));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    value->setWordWrap(true);
    form->addRow(QString::fromStdString(texts.Text(row.label)), value);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addStretch(1);
  layout->addWidget(MakeDialogButtons(texts, QDialogButtonBox::Ok, this));
  setMinimumWidth(380);
}

}  // namespace kv
