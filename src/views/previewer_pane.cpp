#include "views/previewer_pane.h"

#include <QDateTime>
#include <QFocusEvent>
#include <algorithm>

#include "document/command_ids.h"
#include "document/document_texts.h"
#include "document/image_list_model.h"
#include "document/list_totals_text.h"
#include "document/pane_texts.h"
#include "map/c_image.h"
#include "views/focus_previous.h"
#include "views/shown_date.h"

namespace kv {

namespace {

// The panel's geometry, in pixels; h is the font's text height.
constexpr int kPreferredWidth = 2 * kPreviewAreaWidth + 72;
constexpr int kButtonLeft = 8;
constexpr int kButtonTextRoom = 20;
constexpr int kAreaGap = 26;  // buttons to preview area
constexpr int kTop = 18;
constexpr int kLabelGap = 18;  // preview area to the labels
constexpr int kLabelWidth = kPreviewAreaWidth + 18;
constexpr int kDepthLabelExtra = 100;
constexpr int kCompressionTextRoom = 20;

// A label keeps at least the width it was placed with and grows to its
// text: a longer word of another language must not be cut off.
void FitToText(QLabel* label, int least_width) {
  label->resize(std::max(least_width, label->sizeHint().width()), label->height());
}

}  // namespace

PreviewerPane::PreviewerPane(const StringTable& strings, const ConversionSettings& settings,
                             QWidget* parent)
    : QFrame(parent),
      strings_(strings),
      settings_(settings),
      view_button_(new QRadioButton(this)),
      calibrate_button_(new QRadioButton(this)),
      area_(new PreviewArea(this)),
      name_edit_(new QLineEdit(this)),
      date_(new QLabel(this)),
      size_(new QLabel(this)),
      pixels_(new QLabel(this)),
      depth_(new QLabel(this)),
      compression_(new QLabel(this)) {
  setObjectName("previewer");
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
  view_button_->setObjectName("viewModeButton");
  calibrate_button_->setObjectName("calibrateModeButton");
  name_edit_->setObjectName("imageNameEdit");
  date_->setObjectName("dateLabel");
  size_->setObjectName("sizeLabel");
  pixels_->setObjectName("pixelSizeLabel");
  depth_->setObjectName("colourDepthLabel");
  compression_->setObjectName("compressionLabel");

  view_button_->setText(Text(kViewModeTextId));
  calibrate_button_->setText(Text(kCalibrateModeTextId));
  view_button_->setChecked(true);
  name_edit_->setMaxLength(static_cast<int>(kMaxImageNameLength));
  name_edit_->installEventFilter(this);
  view_button_->installEventFilter(this);
  calibrate_button_->installEventFilter(this);
  PlaceControls();

  connect(view_button_, &QRadioButton::clicked, this,
          [this]() { SendCommand(kCmdCloseCalibration); });
  connect(calibrate_button_, &QRadioButton::clicked, this,
          [this]() { SendCommand(kCmdOpenCalibration); });
  connect(name_edit_, &QLineEdit::textEdited, this,
          [this](const QString& text) { NameEdited(text); });
  UpdateTexts();
}

QString PreviewerPane::Text(std::uint32_t id) const {
  return QString::fromStdString(DocumentText(strings_, id));
}

void PreviewerPane::PlaceControls() {
  const QFontMetrics metrics = fontMetrics();
  const int h = metrics.height();
  panel_height_ = kPreviewAreaHeight + 2 * h + 36;
  setFixedHeight(panel_height_);

  // The style's indicator and spacing come with the hint.
  const int button_width =
      std::max({metrics.horizontalAdvance(view_button_->text()) + kButtonTextRoom,
                metrics.horizontalAdvance(calibrate_button_->text()) + kButtonTextRoom,
                view_button_->sizeHint().width(), calibrate_button_->sizeHint().width()});
  view_button_->setGeometry(kButtonLeft, kTop, button_width, 2 * h);
  calibrate_button_->setGeometry(kButtonLeft, kTop + 2 * h, button_width, 2 * h);

  const int area_x = kButtonLeft + button_width + kAreaGap;
  area_->move(area_x, kTop);

  const int labels_x = area_x + area_->width() + kLabelGap;
  const int edit_height = h * 3 / 2;
  name_edit_->setGeometry(labels_x, kTop, kLabelWidth,
                          std::max(edit_height, name_edit_->minimumSizeHint().height()));
  const int pitch = h + h / 2;
  int y = name_edit_->geometry().bottom() + 1 + h / 2;
  for (QLabel* label : {date_, size_, pixels_}) {
    label->setGeometry(labels_x, y, kLabelWidth, h);
    y += pitch;
  }
  depth_->setGeometry(labels_x, y, kLabelWidth + kDepthLabelExtra, h);
  y += pitch;
  compression_->setGeometry(
      labels_x, y, metrics.horizontalAdvance(Text(kCompressedTextId)) + kCompressionTextRoom, h);
}

QSize PreviewerPane::sizeHint() const { return {kPreferredWidth, panel_height_}; }

int PreviewerPane::CalibrationDialogX() const {
  const QWidget* client = window();
  const QPoint right_edge(view_button_->width(), 0);
  return view_button_->mapTo(client, right_edge).x() + 10;
}

void PreviewerPane::ShowImage(CImage* image) {
  if (image != name_editor_.edited()) {
    NameLeft();
    // Typing goes on renaming the image now shown.
    if (name_edit_->hasFocus()) name_editor_.Begin(image);
  }
  image_ = image;
  area_->ShowImage(image);
  UpdateTexts();
}

void PreviewerPane::ShowList(const ImageListModel* list) {
  if (name_editor_.edited() != nullptr &&
      (list == nullptr || list->Find(name_editor_.edited()) < 0)) {
    name_editor_.Forget();
  }
  if (list == nullptr && image_ != nullptr) ShowImage(nullptr);
  entries_ = list != nullptr ? list->count() : 0;
  total_bytes_ = list != nullptr ? list->TotalBytes() : 0;
  UpdateTexts();
}

void PreviewerPane::SetCalibrating(bool calibrating) {
  (calibrating ? calibrate_button_ : view_button_)->setChecked(true);
}

void PreviewerPane::UpdateTexts() {
  const bool shown = image_ != nullptr;
  for (QWidget* control :
       std::initializer_list<QWidget*>{name_edit_, date_, size_, pixels_, depth_, compression_}) {
    control->setEnabled(shown);
  }
  if (!shown) {
    name_edit_->clear();
    date_->setText(Text(kDateLabelId));
    size_->setText(Text(kSizeLabelId));
    pixels_->setText(Text(kPixelSizeLabelId));
    depth_->setText(Text(kColourDepthLabelId));
    compression_->clear();  // it has no label of its own
    return;
  }
  const QString name = QString::fromStdString(image_->name());
  // Rewriting the same text would move the cursor while the user types.
  if (name_edit_->text() != name) name_edit_->setText(name);
  const std::int64_t created = ShownCreationTime(*image_, QDateTime::currentSecsSinceEpoch());
  date_->setText(Text(kDateLabelId) + ' ' + ShownDateText(strings_, created));
  size_->setText(QString::fromStdString(PreviewerSizeText(strings_, entries_, total_bytes_)));
  pixels_->setText(QString::fromStdString(PixelSizeLabelText(strings_, *image_)));
  depth_->setText(QString::fromStdString(DepthLabelText(strings_, *image_)));
  compression_->setText(
      QString::fromStdString(CompressionLabelText(strings_, settings_.compressBitmaps)));
  for (QLabel* label : {date_, size_, pixels_, compression_}) FitToText(label, kLabelWidth);
  FitToText(depth_, kLabelWidth + kDepthLabelExtra);
}

bool PreviewerPane::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && IsPlainTab(*static_cast<QKeyEvent*>(event))) {
    // Tab steps back to the control before, within the panel.
    FocusPreviousControl(static_cast<QWidget*>(watched), this);
    return true;
  }
  if (watched == name_edit_) {
    if (event->type() == QEvent::FocusIn) name_editor_.Begin(image_);
    if (event->type() == QEvent::FocusOut) NameLeft();
  }
  return QFrame::eventFilter(watched, event);
}

void PreviewerPane::NameEdited(const QString& text) {
  CImage* renamed = name_editor_.TextChanged(image_, text.toStdString());
  if (renamed != nullptr && rename_handler_) rename_handler_(*renamed);
}

void PreviewerPane::NameLeft() {
  CImage* restored = name_editor_.End();
  if (restored == nullptr) return;
  if (restored == image_) name_edit_->setText(QString::fromStdString(restored->name()));
  if (rename_handler_) rename_handler_(*restored);
}

void PreviewerPane::SendCommand(int command) {
  if (command_handler_) command_handler_(command);
}

}  // namespace kv
