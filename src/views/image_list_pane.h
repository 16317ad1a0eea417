#ifndef KORVALE_VIEWS_IMAGE_LIST_PANE_H_
#define KORVALE_VIEWS_IMAGE_LIST_PANE_H_

// Stand-in for the image list view: the document's entries by name, in list
// order, until the sortable list arrives.

#include <QListWidget>

namespace kv {

class ImageListModel;

class ImageListPane : public QListWidget {
 public:
  explicit ImageListPane(QWidget* parent = nullptr);
  void ShowList(const ImageListModel& list);
};

}  // namespace kv

#endif  // KORVALE_VIEWS_IMAGE_LIST_PANE_H_
