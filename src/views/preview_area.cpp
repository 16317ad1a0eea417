#include "views/preview_area.h"

#include <qdrawutil.h>

#include <QPainter>
#include <exception>

#include "bitmap/conversion_front.h"
#include "map/c_image.h"

namespace kv {

namespace {

QImage DecodeBitmap(const CImage* image) {
  if (image == nullptr || image->bitmap().bytes.empty()) return {};
  try {
    const std::vector<std::uint8_t> bmp = RenderPalmBitmapAsBmp(image->bitmap().bytes);
    QImage decoded;
    decoded.loadFromData(bmp.data(), static_cast<int>(bmp.size()), "BMP");
    return decoded;
  } catch (const std::exception&) {
    // A bitmap that cannot be drawn leaves the area empty; the document
    // reports damaged maps when it reads them.
    return {};
  }
}

}  // namespace

PreviewArea::PreviewArea(QWidget* parent) : QWidget(parent) {
  setObjectName("previewArea");
  setFixedSize(kPreviewAreaWidth + 2 * kBorder, kPreviewAreaHeight + 2 * kBorder);
}

void PreviewArea::ShowImage(const CImage* image) {
  bitmap_ = DecodeBitmap(image);
  placement_ =
      bitmap_.isNull() ? PreviewPlacement{} : PlacePreview(bitmap_.width(), bitmap_.height());
  update();
}

void PreviewArea::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  qDrawShadePanel(&painter, rect(), palette(), true, kBorder);
  const QRect inside = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
  painter.fillRect(inside, palette().button());
  if (placement_.zoom == 0) return;
  // A bitmap wider or taller than a tile stays inside the border.
  painter.setClipRect(inside);
  const QRect drawn(inside.x() + placement_.x, inside.y() + placement_.y, placement_.width,
                    placement_.height);
  if (placement_.zoom == 1) {
    painter.drawImage(drawn.topLeft(), bitmap_);
  } else {
    painter.drawImage(drawn, bitmap_);  // stretched by whole pixels, unsmoothed
  }
  // The centre cross, raised.
  const int middle_y = drawn.y() + drawn.height() / 2;
  const int middle_x = drawn.x() + drawn.width() / 2;
  qDrawShadeLine(&painter, drawn.left(), middle_y, drawn.right(), middle_y, palette(), false, 1);
  qDrawShadeLine(&painter, middle_x, drawn.top(), middle_x, drawn.bottom(), palette(), false, 1);
}

}  // namespace kv
