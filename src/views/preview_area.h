#ifndef KORVALE_VIEWS_PREVIEW_AREA_H_
#define KORVALE_VIEWS_PREVIEW_AREA_H_

// One map tile as the handheld shows it: an image's stored bitmap, enlarged
// by a whole number when it is small, centred, with a cross marking its
// centre, inside a sunken border.

#include <QImage>
#include <QWidget>

#include "document/preview_placement.h"

namespace kv {

class CImage;

class PreviewArea : public QWidget {
 public:
  static constexpr int kBorder = 2;

  explicit PreviewArea(QWidget* parent = nullptr);

  // Null, or an image without a bitmap, draws nothing.
  void ShowImage(const CImage* image);

  // Where the bitmap is drawn inside the border; zoom 0 when nothing is.
  const PreviewPlacement& placement() const { return placement_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage bitmap_;
  PreviewPlacement placement_;
};

}  // namespace kv

#endif  // KORVALE_VIEWS_PREVIEW_AREA_H_
