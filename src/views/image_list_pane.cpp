#include "views/image_list_pane.h"

#include "document/image_list_model.h"

namespace kv {

ImageListPane::ImageListPane(QWidget* parent) : QListWidget(parent) { setObjectName("imageList"); }

void ImageListPane::ShowList(const ImageListModel& list) {
  clear();
  for (std::size_t i = 0; i < list.count(); ++i) {
    const CImage* image = list.ImageAt(static_cast<std::ptrdiff_t>(i));
    addItem(QString::fromStdString(image->name()));
  }
  if (list.selected_index() >= 0) setCurrentRow(static_cast<int>(list.selected_index()));
}

}  // namespace kv
