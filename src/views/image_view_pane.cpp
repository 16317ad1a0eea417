#include "views/image_view_pane.h"

#include <QPixmap>
#include <exception>

#include "bitmap/conversion_front.h"
#include "map/c_image.h"

namespace kv {

ImageViewPane::ImageViewPane(QWidget* parent) : QScrollArea(parent), picture_(new QLabel) {
  setObjectName("imageView");
  picture_->setAlignment(Qt::AlignCenter);
  setWidget(picture_);
  setWidgetResizable(true);
  setAlignment(Qt::AlignCenter);
  setBackgroundRole(QPalette::Dark);
}

void ImageViewPane::ShowImage(const CImage* image) {
  image_ = QImage();
  if (image != nullptr && !image->bitmap().bytes.empty()) {
    try {
      const std::vector<std::uint8_t> bmp = RenderPalmBitmapAsBmp(image->bitmap().bytes);
      image_.loadFromData(bmp.data(), static_cast<int>(bmp.size()), "BMP");
    } catch (const std::exception&) {
      // A bitmap that cannot be drawn leaves the pane empty; the document
      // reports damaged maps when it reads them.
      image_ = QImage();
    }
  }
  UpdatePixmap();
}

void ImageViewPane::HighlightPoint(int /*pixel_x*/, int /*pixel_y*/, int index,
                                   bool /*make_visible*/) {
  highlighted_ = index;
  update();
}

void ImageViewPane::SetZoom(int percent) {
  zoom_ = percent;
  UpdatePixmap();
}

void ImageViewPane::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  if (zoom_ == 0) UpdatePixmap();
}

void ImageViewPane::UpdatePixmap() {
  if (image_.isNull()) {
    picture_->clear();
    return;
  }
  QImage shown;
  if (zoom_ == 0) {
    shown = image_.scaled(viewport()->size(), Qt::KeepAspectRatio, Qt::FastTransformation);
  } else {
    shown =
        image_.scaled(image_.size() * zoom_ / 100, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  }
  picture_->setPixmap(QPixmap::fromImage(shown));
}

}  // namespace kv
