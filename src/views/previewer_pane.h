#ifndef KORVALE_VIEWS_PREVIEWER_PANE_H_
#define KORVALE_VIEWS_PREVIEWER_PANE_H_

// The panel across the top of the main window: the selected image as one
// handheld tile, its name for editing, its date, the map's size and entry
// count, its pixel size, colour depth and whether compression is on, and
// the two buttons that switch between viewing and calibrating.

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <cstdint>
#include <functional>

#include "base/string_table.h"
#include "bitmap/conversion_context.h"
#include "document/image_name_editor.h"
#include "views/preview_area.h"

namespace kv {

class CImage;
class ImageListModel;

class PreviewerPane : public QFrame {
 public:
  // Menu command identifiers the mode buttons send.
  using CommandHandler = std::function<void(int command)>;
  // An image the user renamed (or whose emptied name came back).
  using RenameHandler = std::function<void(CImage& image)>;

  // `settings` say whether compression is on; both must outlive the pane.
  PreviewerPane(const StringTable& strings, const ConversionSettings& settings,
                QWidget* parent = nullptr);

  // Null shows the labels alone, disabled.
  void ShowImage(CImage* image);
  // The list's entry count and total size, after any change to it; null
  // (no document) forgets the list.
  void ShowList(const ImageListModel* list);
  void SetCalibrating(bool calibrating);

  void SetCommandHandler(CommandHandler handler) { command_handler_ = std::move(handler); }
  void SetRenameHandler(RenameHandler handler) { rename_handler_ = std::move(handler); }

  QSize sizeHint() const override;
  // Left edge of the calibration dialog, in the main window's client area:
  // just right of the view mode button.
  int CalibrationDialogX() const;

  QRadioButton* view_button() const { return view_button_; }
  QRadioButton* calibrate_button() const { return calibrate_button_; }
  PreviewArea* preview_area() const { return area_; }
  QLineEdit* name_edit() const { return name_edit_; }
  QLabel* date_label() const { return date_; }
  QLabel* size_label() const { return size_; }
  QLabel* pixel_size_label() const { return pixels_; }
  QLabel* depth_label() const { return depth_; }
  QLabel* compression_label() const { return compression_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PlaceControls();
  void UpdateTexts();
  void NameEdited(const QString& text);
  void NameLeft();
  void SendCommand(int command);
  QString Text(std::uint32_t id) const;

  const StringTable& strings_;
  const ConversionSettings& settings_;
  QRadioButton* view_button_;
  QRadioButton* calibrate_button_;
  PreviewArea* area_;
  QLineEdit* name_edit_;
  QLabel* date_;
  QLabel* size_;
  QLabel* pixels_;
  QLabel* depth_;
  QLabel* compression_;
  int panel_height_ = 0;

  CImage* image_ = nullptr;
  std::size_t entries_ = 0;
  std::uint64_t total_bytes_ = 0;
  ImageNameEditor name_editor_;
  CommandHandler command_handler_;
  RenameHandler rename_handler_;
};

}  // namespace kv

#endif  // KORVALE_VIEWS_PREVIEWER_PANE_H_
