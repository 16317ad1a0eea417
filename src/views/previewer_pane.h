#ifndef KORVALE_VIEWS_PREVIEWER_PANE_H_
#define KORVALE_VIEWS_PREVIEWER_PANE_H_

// Stand-in for the previewer: the selected image's name, size and depth as
// text, until the preview with its options arrives.

#include <QLabel>

namespace kv {

class CImage;

class PreviewerPane : public QLabel {
 public:
  explicit PreviewerPane(QWidget* parent = nullptr);
  void ShowImage(const CImage* image);
  void SetCalibrating(bool calibrating);
  QSize sizeHint() const override;
  // Left edge of the calibration dialog, in the main window's client area.
  int CalibrationDialogX() const { return x() + 10; }

 private:
  void UpdateText();

  const CImage* image_ = nullptr;
  bool calibrating_ = false;
};

}  // namespace kv

#endif  // KORVALE_VIEWS_PREVIEWER_PANE_H_
