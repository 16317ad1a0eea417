#include "dialogs/conversion_options_dialog.h"

#include <QFormLayout>
#include <QLabel>

#include "dialogs/dialog_buttons.h"
#include "dialogs/dialog_ids.h"
#include "map/map_layout.h"

namespace kv {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

void AddLabelledRow(QFormLayout* layout, const QString& label, QWidget* field) {
  auto* text = new QLabel(label);
  text->setBuddy(field);
  layout->addRow(text, field);
}

}  // namespace

ConversionOptionsDialog::ConversionOptionsDialog(const DialogTexts& texts,
                                                 const StringTable& strings,
                                                 const ConversionOptionsFields& fields,
                                                 QWidget* parent)
    : QDialog(parent),
      name_(new QLineEdit(Text(fields.map_name), this)),
      scale_(new QComboBox(this)),
      depth_(new QComboBox(this)),
      compress_(new QCheckBox(Text(texts.Text(kOptionsCompressCheck)), this)) {
  setObjectName("conversionOptions");
  setWindowTitle(Text(texts.caption));
  name_->setObjectName("mapName");
  name_->setMaxLength(static_cast<int>(kMaxImageNameLength));
  scale_->setObjectName("scale");
  for (std::string_view scale : ScaleListTexts()) scale_->addItem(Text(std::string(scale)));
  scale_->setCurrentIndex(fields.scale_entry);
  depth_->setObjectName("depth");
  for (const DepthListEntry& entry : DepthListEntries()) {
    depth_->addItem(Text(strings.Get(entry.name_id)));
  }
  depth_->setCurrentIndex(fields.depth_entry);
  compress_->setObjectName("compress");
  compress_->setChecked(fields.compress);

  auto* layout = new QFormLayout(this);
  layout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  AddLabelledRow(layout, Text(texts.Text(kOptionsMapNameLabel)), name_);
  AddLabelledRow(layout, Text(texts.Text(kOptionsScaleLabel)), scale_);
  AddLabelledRow(layout, Text(texts.Text(kOptionsDepthLabel)), depth_);
  layout->addRow(compress_);
  layout->addRow(MakeDialogButtons(texts, QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this));
  setMinimumWidth(340);
}

ConversionOptionsFields ConversionOptionsDialog::fields() const {
  ConversionOptionsFields fields;
  fields.map_name = name_->text().toStdString();
  fields.scale_entry = scale_->currentIndex();
  fields.depth_entry = depth_->currentIndex();
  fields.compress = compress_->isChecked();
  return fields;
}

}  // namespace kv
