#include "views/previewer_pane.h"

#include "map/c_image.h"

namespace kv {

namespace {

constexpr int kPreferredWidth = 200;
constexpr int kPreferredHeight = 240;

}  // namespace

PreviewerPane::PreviewerPane(QWidget* parent) : QLabel(parent) {
  setObjectName("previewer");
  setAlignment(Qt::AlignTop | Qt::AlignLeft);
  setWordWrap(true);
  setMargin(8);
  setFrameShape(QFrame::StyledPanel);
  setMinimumWidth(kPreferredWidth);
  UpdateText();
}

QSize PreviewerPane::sizeHint() const { return {kPreferredWidth, kPreferredHeight}; }

void PreviewerPane::ShowImage(const CImage* image) {
  image_ = image;
  UpdateText();
}

void PreviewerPane::SetCalibrating(bool calibrating) {
  calibrating_ = calibrating;
  UpdateText();
}

void PreviewerPane::UpdateText() {
  if (image_ == nullptr) {
    setText(QString());
    return;
  }
  const BitmapRecord& bitmap = image_->bitmap();
  // Numbers only: the words come with the real previewer's language texts.
  setText(QStringLiteral("<b>%1</b><br>%2 × %3 × %4<br>%5")
              .arg(QString::fromStdString(image_->name()).toHtmlEscaped())
              .arg(bitmap.width)
              .arg(bitmap.height)
              .arg(bitmap.depth)
              .arg(bitmap.bytes.size()));
  setEnabled(!calibrating_);
}

}  // namespace kv
