#ifndef KORVALE_VIEWS_IMAGE_VIEW_PANE_H_
#define KORVALE_VIEWS_IMAGE_VIEW_PANE_H_

// Stand-in for the image view: the current image's stored bitmap, zoomed,
// until the tiled view with calibration points arrives.

#include <QImage>
#include <QLabel>
#include <QScrollArea>

namespace kv {

class CImage;

class ImageViewPane : public QScrollArea {
 public:
  explicit ImageViewPane(QWidget* parent = nullptr);
  // Null shows nothing.
  void ShowImage(const CImage* image);
  // Percent; 0 fits the image into the pane.
  void SetZoom(int percent);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdatePixmap();

  QLabel* picture_;
  QImage image_;
  int zoom_ = 0;
};

}  // namespace kv

#endif  // KORVALE_VIEWS_IMAGE_VIEW_PANE_H_
