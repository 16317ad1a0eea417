#include "dialogs/conversion_options_dialog.h"

#include <QFontMetrics>
#include <QFormLayout>
#include <QLabel>

#include "base/exceptions.h"
#include "dialogs/dialog_buttons.h"
#include "dialogs/dialog_ids.h"
#include "document/map_size_text.h"
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
                                                 ImportSizeEstimator* estimator, QWidget* parent)
    : QDialog(parent),
      strings_(strings),
      estimator_(estimator),
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
  if (estimator_ != nullptr) AddEstimateRows(layout);
  layout->addRow(MakeDialogButtons(texts, QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this));
  setMinimumWidth(340);
  if (estimator_ != nullptr) Estimate();
}

ConversionOptionsDialog::~ConversionOptionsDialog() {
  if (worker_ == nullptr) return;
  estimator_->Cancel();
  worker_->wait();
  delete worker_;
}

void ConversionOptionsDialog::AddEstimateRows(QFormLayout* layout) {
  tiles_ = new QLabel(this);
  images_ = new QLabel(this);
  size_ = new QLabel(this);
  tiles_->setObjectName("tiles");
  images_->setObjectName("images");
  size_->setObjectName("mapSize");
  // Wide enough from the start for the warning of a map far too big: the
  // dialog does not grow once shown.
  MapSizeEstimate widest;
  widest.images = 99999;
  widest.over_limit = true;
  QFont bold = images_->font();
  bold.setBold(true);
  images_->setMinimumWidth(
      QFontMetrics(bold).horizontalAdvance(Text(FormatMapSize(strings_, widest).images)));
  layout->addRow(Text(strings_.Get(kMapTilesLabelId)), tiles_);
  layout->addRow(Text(strings_.Get(kMapImagesLabelId)), images_);
  layout->addRow(Text(strings_.Get(kMapSizeLabelId)), size_);
  const auto changed = [this]() { Estimate(); };
  connect(scale_, &QComboBox::currentIndexChanged, this, changed);
  connect(depth_, &QComboBox::currentIndexChanged, this, changed);
  connect(compress_, &QCheckBox::toggled, this, changed);
}

// One worker at a time: a change while it runs cancels it, and the
// estimate starts again with the latest options once it has stopped.
void ConversionOptionsDialog::Estimate() {
  if (worker_ != nullptr) {
    again_ = true;
    estimator_->Cancel();
    return;
  }
  again_ = false;
  ConversionSettings settings;
  std::string name;
  AcceptConversionOptions(fields(), &name, &settings);
  const QString waiting = Text(strings_.Get(kEstimatingTextId));
  for (QLabel* label : {tiles_, images_, size_}) label->setText(waiting);
  images_->setStyleSheet(QString());
  estimate_.reset();
  worker_ = QThread::create([this, settings]() {
    try {
      estimate_ = estimator_->Estimate(settings);
    } catch (...) {
      // Cancelled, or the source does not read: the import itself says
      // why when it opens the source.
      estimate_.reset();
    }
  });
  connect(worker_, &QThread::finished, this, &ConversionOptionsDialog::EstimateFinished);
  worker_->start();
}

void ConversionOptionsDialog::EstimateFinished() {
  worker_->deleteLater();
  worker_ = nullptr;
  if (again_) {
    Estimate();
    return;
  }
  ShowEstimate();
}

void ConversionOptionsDialog::ShowEstimate() {
  if (!estimate_) {
    const QString none = Text(strings_.Get(kNotEstimatedTextId));
    for (QLabel* label : {tiles_, images_, size_}) label->setText(none);
    return;
  }
  const MapSizeTexts texts = FormatMapSize(strings_, *estimate_);
  tiles_->setText(Text(texts.tiles));
  images_->setText(Text(texts.images));
  size_->setText(Text(texts.size));
  // Too many images fails the import: that must catch the eye.
  images_->setStyleSheet(estimate_->over_limit ? "color: #c00000; font-weight: bold;" : "");
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
