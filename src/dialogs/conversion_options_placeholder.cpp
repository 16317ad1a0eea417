#include "dialogs/conversion_options_placeholder.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

#include "dialogs/dialog_buttons.h"
#include "dialogs/dialog_ids.h"

namespace kv {

namespace {

// The map's name field of the handheld holds 31 bytes.
constexpr int kMapNameLimit = 31;

}  // namespace

ConversionOptionsPlaceholder::ConversionOptionsPlaceholder(const DialogTexts& texts,
                                                           const std::string& map_name,
                                                           QWidget* parent)
    : QDialog(parent), name_(new QLineEdit(QString::fromStdString(map_name), this)) {
  setObjectName("conversionOptions");
  setWindowTitle(QString::fromStdString(texts.caption));
  name_->setMaxLength(kMapNameLimit);
  auto* buttons = MakeDialogButtons(texts, QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QFormLayout(this);
  layout->addRow(QString::fromStdString(texts.Text(kOptionsMapNameLabel)), name_);
  layout->addRow(buttons);
}

std::string ConversionOptionsPlaceholder::map_name() const { return name_->text().toStdString(); }

}  // namespace kv
